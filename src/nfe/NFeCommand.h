#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo::nfe {

// `kvo nfe ...`: validate FILE [--schemas DIR]; sign FILE --pfx P --senha S
// [--out OUT]; danfe FILE --pdf OUT [--cancelada] [--protocolo TEXT];
// chave --uf UF --data YYYY-MM-DD --cnpj CNPJ --serie N --numero N [--cnf N]
// [--tpemis N] [--modelo N]; cert FILE --senha S; status; consultar CHAVE;
// inutilizar --serie N --inicio N --fim N [--ano A] [--modelo 55|65]
// [--justificativa T] [--cnpj C] (these three read nfe.ini or --config FILE).
// Returns the exit code: 0 done, 1 failed, 2 wrong usage.
int runNfeCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kvo::nfe
