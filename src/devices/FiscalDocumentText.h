#pragma once

#include "devices/FiscalPrinterState.h"

#include <QStringList>

// The fixed-width text of the documents the emulated fiscal printer issues.
namespace kvo::fiscaltext {

constexpr int Largura = 48; // columns of the fiscal printer's paper

// Lines longer than the paper wrap onto the next line, as the printer does.
QStringList quebrarLinhas(const QStringList& linhas);

// One management report; `state` already holds its COO and GNF, `tipo` its CER.
QStringList relatorioGerencial(const FiscalPrinterState& state, const RelatorioGerencialInfo& tipo,
                               const QStringList& linhas, const QDateTime& momento);

// The closed coupon: items, subtotal, surcharge or discount, total, the
// payments, the change ("TROCO") and the message lines.
QStringList cupomFiscal(int numeroEcf, const CupomFiscal& cupom, const QDateTime& momento,
                        const QStringList& mensagem);

// The X reading of `state`, which already holds its COO and GNF.
QStringList leituraX(const FiscalPrinterState& state, const QDateTime& momento);

// The open coupon `cupom` with its items, ended by its cancellation.
QStringList cupomCancelado(int numeroEcf, const CupomFiscal& cupom, const QDateTime& momento);

} // namespace kvo::fiscaltext
