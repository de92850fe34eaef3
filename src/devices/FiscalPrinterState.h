#pragma once

#include "core/Currency.h"
#include "devices/FiscalPrinter.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>

#include <optional>

namespace kvo {

struct CupomFiscalItem {
    int numero = 0;
    QString codigo, descricao, aliquota, unidade;
    Currency quantidade, valorUnitario;
    Currency ajuste; // below zero a discount, above a surcharge

    // quantidade × valorUnitario cut (not rounded) to cents, as the printer does.
    Currency bruto() const;
    Currency total() const { return bruto() + ajuste; }
};

struct PagamentoCupom {
    QString forma;
    Currency valor;
};

struct CupomFiscal {
    int coo = 0;
    int ccf = 0;
    QDateTime abertura;
    QString cpfCnpj, nome, endereco;
    QList<CupomFiscalItem> itens;
    bool subtotalizado = false;
    Currency acrescimoDesconto; // on the subtotal: below zero a discount
    QList<PagamentoCupom> pagamentos;

    Currency subtotal() const; // the items
    Currency total() const { return subtotal() + acrescimoDesconto; }
    Currency pago() const;
    Currency troco() const { return pago() > total() ? pago() - total() : Currency(); }
};

struct CupomCancelado {
    int coo = 0;
    Currency total;
    QDateTime momento;
};

// Everything the emulated printer must remember across restarts: its number,
// the counters, the programmed report kinds and the coupon in progress.
struct FiscalPrinterState {
    int numeroEcf = 1;
    int coo = 0;           // operation counter: one per document
    int gnf = 0;           // general non-fiscal operation counter
    int cancelamentos = 0; // fiscal coupons cancelled
    int ccf = 0;           // fiscal coupon counter: one per coupon opened
    Currency grandeTotal;  // GT: every coupon closed, never reset
    Currency totalCancelado;
    Currency totalTroco;   // change given back, out of the payment totals
    QList<PagamentoCupom> totaisPagamento; // amounts received per payment form, in first-use order
    QList<RelatorioGerencialInfo> relatorios;
    std::optional<CupomFiscal> cupom; // the open coupon
    std::optional<CupomCancelado> ultimoCancelado;

    RelatorioGerencialInfo* relatorio(int indice);
    Currency totalPagamento(const QString& forma) const;
    void somarPagamento(const QString& forma, Currency valor);

    QJsonObject toJson() const;
    // Throws FiscalPrinterError naming what is wrong. Counters a file written
    // before they existed lacks start at zero.
    static FiscalPrinterState fromJson(const QJsonObject& json);

    // None when the file does not exist; throws when it cannot be read or is
    // damaged, so that counters are never silently started again.
    static std::optional<FiscalPrinterState> load(const QString& file);
    // Replaces the file atomically; throws FiscalPrinterError.
    void save(const QString& file) const;
};

} // namespace kvo
