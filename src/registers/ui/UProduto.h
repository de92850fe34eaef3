#pragma once

#include "framework/ui/URepPadraoPesquisa.h"
#include "registers/ui/UProdutoEstrutura.h"

#include <memory>

class QComboBox;

namespace kvo {

// The product register: tabs "Geral", "Preços", "Tributação" and
// "Estoque e produção". Stock is read-only here: it moves by documents.
class TfrmProduto : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmProduto(RecordSet& produto, QWidget* parent = nullptr);

    // The product's row in edit, or a new one (code 0), active, national origin.
    static std::unique_ptr<RecordSet> registroProduto(Database& db, int codproduto);

    TProdutoEstrutura& estrutura() const { return *m_estrutura; }

protected:
    void ValidaDados() override;
    // The product with its units and composition, in one transaction.
    void gravar() override;

private:
    void carregarSubgrupos();

    QComboBox* m_subgrupo = nullptr;
    TProdutoEstrutura* m_estrutura = nullptr;
};

// The products' search screen, opened by the main menu as "TfrmProduto".
class TfrmProduto_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    explicit TfrmProduto_Pesq(QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;
};

} // namespace kvo
