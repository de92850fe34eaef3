#pragma once

#include "core/Currency.h"
#include "framework/ui/Pesquisa.h"

#include <memory>
#include <optional>

#include <QList>
#include <QPair>

namespace kvo {

// The product register (dmProduto): searches by search code and by key,
// stock checks and movements, the approximate tax burden of the NCM.
class TdmProduto {
public:
    static TdmProduto& gerarInstance();
    TdmProduto();
    explicit TdmProduto(Database& db);

    // Keyed on PRO_CODPESQ_1: PRO_DESCRICAO, CODPRODUTO, PRO_PRECO01,
    // PRO_ALT_PRECO, PRO_IMP_COZINHA, PRO_ESTQ_ATUAL, PRO_IMP_BAR, PRO_IMP_PIZZA,
    // PRO_IMP_CHURRASQUEIRA, PRO_CODPESQ_1, then PRO_PRECO02..PRO_PRECO14.
    TwbtPesquisa& pesquisa() { return m_pesquisa; }
    // Keyed on PRO_CODPESQ_1, the twelve columns an invoice item takes: ICMS
    // rate, brand, ICMS regime, list type, price 01, NCM, reserved stock,
    // current stock, cost, purchase price, CSOSN, CEST.
    TwbtPesquisa& pesquisaDetalhe() { return m_detalhe; }
    // Keyed on CODPRODUTO: PRO_CODPESQ_1, CODPRODUTO, PRO_DESCRICAO, PRO_PRECO01.
    TwbtPesquisa& pesquisaCodigo() { return m_codigo; }

    // With `controlar`, false (after telling the user) when the free stock
    // (current less reserved) does not cover the quantity; checked only when
    // the company controls stock (PARG_CONTROLA_ESTOQUE) and the product may
    // not be sold without stock (PRO_NPERM_SEMESTOQ).
    bool validaEstoque(int codproduto, Currency quantidade, bool controlar = true);
    // One statement recording a stock movement (kind 1 entry, 2 exit) that
    // also moves the product's stock; blank when there is nothing to move.
    QString sqlMovimentarEstoqueNormal(int codproduto, Currency quantidade, int tipo, const QString& origem,
                                       int documento);
    // Approximate total tax percentage of the product's NCM (imported goods
    // use the imported rate); zero when the NCM is not in the table.
    Currency retornarAliqNCM(int codproduto);

    // How many sale prices each product carries and whether the product
    // register may change them once the product exists.
    struct TabelaPrecos {
        int quantidade = 1;
        bool somenteLeitura = false;
    };
    // Re-reads the price settings of the sale parameters (called after they
    // are saved); the product screens show that many prices from then on.
    void visualizarPrecos();
    const TabelaPrecos& tabelaPrecos();
    // "PRO_PRECO01".."PRO_PRECO14".
    static QString campoPreco(int n);

    // The product's units and its composition (with the component's search
    // code and description), ready to edit; a new product has none.
    std::unique_ptr<RecordSet> unidades(int codproduto);
    std::unique_ptr<RecordSet> composicao(int codproduto);
    // Refuse (Error) what would break conversions or stock: a unit without a
    // symbol or with a quantity not above zero, a repeated symbol, other than
    // one main unit of quantity 1; a component that is the product itself, is
    // repeated, has no quantity, or already contains the product.
    void validarUnidades(RecordSet& unidades);
    void validarComposicao(int codproduto, RecordSet& composicao);

    // The option groups of a personalised product (with the group's name),
    // ready to edit; PROP_TIPO says how a chosen option is valued.
    std::unique_ptr<RecordSet> personalizacao(int codproduto);
    // Refuses a row without a group or with a repeated one, quantities below
    // zero or a minimum above the maximum, a type other than "01".."06", and
    // a value that the type needs but is missing or not a percentage.
    void validarPersonalizacao(RecordSet& personalizacao);
    // The option types, as the screens offer them.
    static QList<QPair<QString, QString>> tiposPersonalizacao();

    // Asks for a product by its search code; nothing when the user gives up.
    // An unknown code is refused with "Produto não encontrado!".
    struct ProdutoEscolhido {
        qint64 codigo = 0;
        QString codpesq, descricao;
    };
    std::optional<ProdutoEscolhido> pedirProduto(const QString& titulo);

private:
    Database& m_db;
    int m_empresa = 1; // the company whose stock-control flag counts
    TwbtPesquisa m_pesquisa, m_detalhe, m_codigo;
    std::optional<TabelaPrecos> m_precos;
};

} // namespace kvo
