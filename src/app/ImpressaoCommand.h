#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

// "kvo impressao pendentes": the tickets not printed yet (station, table,
// title, age, last error) of the folders in impressao.ini and of the central
// queue; "kvo impressao reimprimir ID": one ticket printed again with the
// reprint mark (a queue number or a file name). `args` starts at the action.
// 0 when done, 1 when refused or failed, 2 for bad usage.
int runImpressaoCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kvo
