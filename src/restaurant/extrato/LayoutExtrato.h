#pragma once

#include "core/Currency.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace kvo {

class TdmResPedidoImpressao;

// The settings a bill is built with (the choices dialog edits them).
struct AjustesExtrato {
    Currency desconto;
    int pessoas = 1;
    int couverts = 0;
    Currency servico;         // service percent; for a delivery, the delivery fee
    Currency servicoOriginal; // as read from the order, for the choices to put back
    Currency pago;
};

struct LinhaExtrato {
    qint64 codProduto = 0;
    QString codPesquisa, descricao, obs;
    Currency vlrUnit, qtde, total;
};

// The customer printed on a tab, card, delivery or counter bill.
struct ClienteExtrato {
    QString nome, telefone, celularDdd, celular, endereco, numero, complemento, bairro, cidade, uf;
    QString referencia, contato;
};

struct FormaPagamentoExtrato {
    QString descricao;
    Currency total, troco;
};

// Everything one bill prints, read before its text is built.
struct DadosExtrato {
    AjustesExtrato ajustes;
    int mesa = 0;
    qint64 pedido = 0;
    QDateTime abertura, agora;
    bool impresso = false, cancelado = false, entrega = false, balcao = false;
    int numeroBalcao = 0;
    QList<LinhaExtrato> linhas;
    QStringList garcons;
    bool clienteMesa = false;  // a tab of 1000 or more (without balances)
    bool cartaoConsumo = false; // "REST.SALDO": the card row exists
    QString cartaoEan;
    Currency cartaoSaldo;
    ClienteExtrato cliente;
    QList<FormaPagamentoExtrato> formasPagamento; // delivery
    // company and restaurant parameters
    QString fantasia, telefone, cnpj, ie, im, endereco, bairro, cidade, uf;
    bool mostrarInscricao = false, somenteDuracao = false, codigoPesquisa = false;
    Currency valorCouvert;
    // configuration and files of the program folder
    bool saldo = false, codPedido = false, comprovanteTaxa = false, corte = false;
    int linhasFinais = 1;
    QString produtoEntrega;
    QString fonte = QString(QChar(18)); // the font-code line of the generic layout
    int extensao = 5;
    QStringList finalExtrato;
    int larguraDaruma = 48;
};

// The amounts of a bill.
struct TotaisExtrato {
    Currency consumo, taxaEntregaProdutos, servico, couvert, total, porPessoa;
};
TotaisExtrato calcularTotais(const DadosExtrato& d);

// The quantity-price-total part of an item line: "2 x 3,50" right-aligned in
// 11 and the total in 9; a longer one keeps quantity and price whole in the
// 20 columns; when even that does not fit, the quantity in 10 and the total
// in 10.
QString getQtdeVlrTotal(Currency qtde, Currency vlrUnit, Currency total);
// "###,##0.000" without a trailing ",000".
QString quantidadeExtrato(Currency qtde);
// The tab's or the consumption card's customer lines of a table's bill
// (both layouts), after a line of `igual`.
void clienteDaMesa(QStringList& l, const DadosExtrato& d, const QString& igual);
// A text in lines of `largura`, whole: the first `primeira` characters, then
// the rest in further lines (none when it fits).
QStringList quebrar(const QString& texto, int primeira, int largura);

// Every line of "finalextrato.txt" in the program folder; none without it.
QStringList linhasFinalExtrato();
// The fixed credit line at the foot of bills and receipts.
QString creditoExtrato();

// The generic 40-column layout (plus the width extension).
QStringList montarExtratoGenerico(const DadosExtrato& d);
// The layout of the Daruma DR700 receipt printer, with the control
// sequences of the model configured for the tickets.
QStringList montarExtratoDaruma(const DadosExtrato& d, const TdmResPedidoImpressao& impressora);

} // namespace kvo
