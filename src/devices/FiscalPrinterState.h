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

struct CupomFiscal {
    int coo = 0;
    QDateTime abertura;
    QString cpfCnpj, nome, endereco;
    QList<CupomFiscalItem> itens;

    Currency total() const;
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
    QList<RelatorioGerencialInfo> relatorios;
    std::optional<CupomFiscal> cupom; // the open coupon
    std::optional<CupomCancelado> ultimoCancelado;

    RelatorioGerencialInfo* relatorio(int indice);

    QJsonObject toJson() const;
    // Throws FiscalPrinterError naming what is wrong.
    static FiscalPrinterState fromJson(const QJsonObject& json);

    // None when the file does not exist; throws when it cannot be read or is
    // damaged, so that counters are never silently started again.
    static std::optional<FiscalPrinterState> load(const QString& file);
    // Replaces the file atomically; throws FiscalPrinterError.
    void save(const QString& file) const;
};

} // namespace kvo
