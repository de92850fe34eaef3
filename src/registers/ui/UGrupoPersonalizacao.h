#pragma once

#include "framework/ui/URepPadraoPesquisa.h"

#include <memory>

namespace kvo {

// A personalisation group (flavours, extras...) and the products that are its
// options.
class TfrmGrupoPersonalizacao : public TrepPadraoCadastroDetalhe {
    Q_OBJECT
public:
    TfrmGrupoPersonalizacao(RecordSet& grupo, RecordSet& itens, QWidget* parent = nullptr);

    // The group's row in edit (or a new one for 0) and its options.
    static std::unique_ptr<RecordSet> registroGrupo(Database& db, int codigo);
    static std::unique_ptr<RecordSet> itensGrupo(Database& db, int codigo);

protected:
    void ValidaDados() override;
    void ChamaFrmFilho(TrepPadraoPesquisa::Modo modo) override;
};

class TfrmGrupoPersonalizacao_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmGrupoPersonalizacao_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
