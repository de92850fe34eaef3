#pragma once

#include "core/Currency.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kvo {

class Database;
class FiscalPrinter;
class TdmConfiguracao;
class TdmProduto;

struct ItemVendaRapida {
    qint64 codProduto = 0;
    QString codPesquisa, descricao, aliquota, unidade = QStringLiteral("UN");
    Currency qtde, vlrUnit, total;
    bool operator==(const ItemVendaRapida&) const = default;
};

// A currency type (MOEDA) the sale may be paid in; cash is NF-e code "01".
struct MoedaVendaRapida {
    int codigo = 0;
    QString descricao;
    bool dinheiro = false;
};

struct PagamentoVendaRapida {
    MoedaVendaRapida moeda;
    Currency valor;
};

// "total" is what is left to pay: consumption, service and cover less the
// discount and what was already paid (as the bill computes it).
struct TotaisVendaRapida {
    Currency consumo, servico, couvert, desconto, jaPago, total;
    bool servicoAParte = false; // "REST.COMP.TX": the service has a receipt of its own, out of the total
};

struct CupomEmitido {
    int codPedEcf = 0, numEcf = 0, coo = 0, ccf = 0;
    Currency total, troco;
};

// The quick sale (dmVendaRapida): closing a restaurant table (mode 0) or a
// counter sale (mode -1) on a fiscal coupon, paid in one or more currency
// types with change only from cash.
class TdmVendaRapida {
public:
    // On the data-access connection and configuration.
    TdmVendaRapida();
    TdmVendaRapida(Database& db, TdmConfiguracao& cfg);
    ~TdmVendaRapida();

    // A new counter sale without items or payments.
    void novaVendaBalcao();
    // The table's open order, its "NORMAL" items and the bill's amounts.
    // Error "Nenhuma movimentação nessa mesa!" when the table has none.
    void carregarMesa(int mesa);

    bool fechandoMesa() const { return m_pedido > 0; }
    int mesa() const { return m_mesa; }
    qint64 pedido() const { return m_pedido; }
    const QList<ItemVendaRapida>& itens() const { return m_itens; }

    // A counter-sale item by search code; false when the product module
    // refused the stock (the user was told). Error for an unknown code or a
    // quantity not above zero.
    bool adicionarItem(const QString& codPesquisa, Currency qtde);

    TotaisVendaRapida totais() const;
    // The currency types, cash first.
    QList<MoedaVendaRapida> moedas() const;

    // Error when the value is not above zero, nothing is left to pay, or a
    // payment other than cash goes beyond what is left (change only in cash).
    void adicionarPagamento(int codMoeda, Currency valor);
    void removerPagamento(int indice);
    const QList<PagamentoVendaRapida>& pagamentos() const { return m_pagamentos; }
    Currency pago() const;
    Currency falta() const;
    Currency troco() const;

    // Prints the coupon and writes the closed sale in one transaction: the
    // order is claimed first (another terminal closing it stops here), its
    // items are read again and must be what was shown. A printer failure
    // cancels the coupon and writes nothing. Error with the reason.
    CupomEmitido fechar(FiscalPrinter& ecf);

    // How long a claim waits for another terminal's lock (default 5 s).
    void setEsperaTravamento(int ms) { m_esperaMs = ms; }

private:
    struct Pagamentos;
    void limpar();
    QList<ItemVendaRapida> lerItensMesa(qint64 pedido);
    void reivindicarPedido();
    void gravar(FiscalPrinter& ecf, CupomEmitido& cupom);
    MoedaVendaRapida moeda(int codigo) const;

    Database& m_db;
    TdmConfiguracao& m_cfg;
    std::unique_ptr<TdmProduto> m_produto;
    int m_mesa = 0;
    qint64 m_pedido = 0;
    QList<ItemVendaRapida> m_itens;
    TotaisVendaRapida m_totais;
    QList<PagamentoVendaRapida> m_anteriores; // RES_PEDIDO_CONTA splits, printed on the coupon
    QList<PagamentoVendaRapida> m_pagamentos;
    mutable std::optional<QList<MoedaVendaRapida>> m_moedas; // read once: every payment looks its type up
    int m_esperaMs = 5000;
    bool m_cupomIniciado = false;
};

} // namespace kvo
