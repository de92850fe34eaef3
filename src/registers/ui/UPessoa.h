#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

#include <memory>

class QTabWidget;

namespace kvo {

// The person register (TfrmPessoa): name and type on top, then the tabs
// "Dados gerais", "Endereço" and "Contato". The quick registration of the
// delivery reception shows only the address and contact tabs
// (formaSimplificada) and adds its own checks to ValidaDados.
class TfrmPessoa : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmPessoa(RecordSet& pessoa, QWidget* parent = nullptr);

    // Registers a new person; the new CODPESSOA, or 0 when cancelled.
    static int NovoRegistro(QWidget* parent = nullptr);
    // Edits a person; true when written.
    static bool AlterarRegistro(int codpessoa, QWidget* parent = nullptr);
    // The person's row in edit, or a new one (code 0) with the defaults a
    // shop expects: natural person, active customer, final consumer, Brazil.
    static std::unique_ptr<RecordSet> registroPessoa(Database& db, int codpessoa);

    void formaSimplificada();
    QTabWidget* abas() const { return m_abas; }

protected:
    void ValidaDados() override;

private:
    QTabWidget* m_abas;
};

// The persons' search screen, opened by the main menu as "TfrmPessoa".
class TfrmPessoa_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmPessoa_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
