#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

// True for the `kvo restaurante` actions of the ticket module.
bool ehComandoRestauranteImpressao(const QString& acao);

// "conferencia MESA": the table check on the configured fiscal printer, then
// the stamped values; "ticket-teste ESTACAO": a test ticket to the station's
// target (COZINHA, BAR, PIZZARIA, CHURRASQUEIRA). `args` starts at the action.
// 0 when done, 1 when refused or failed (message on `err`), 2 for bad usage.
int runRestauranteImpressaoCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kvo
