#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

class QComboBox;
class QLineEdit;

namespace kvo {

// A user: name, group, active and supervisor flags, and a new password
// (typed twice; stored only as a salted hash).
class TfrmUsuario : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmUsuario(RecordSet& usuario, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;

private:
    QLineEdit* m_senha;
    QLineEdit* m_confirmacao;
};

// The users' search screen.
class TfrmUsuario_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmUsuario_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

// A user group with its rights: every menu entry and whether the group may use it.
class TfrmUsuarioGrupo_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmUsuarioGrupo_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

// Opens a user record (0: a new one) in the mode; true when written.
bool abrirUsuario(int codigo, TrepPadraoPesquisa::Modo modo, QWidget* parent = nullptr);

} // namespace kvo
