#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

// "kvo db create|migrate|version|demo" on the database of the program folder.
// Returns the process exit code; errors are written to `err` in Portuguese.
int runDbCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kvo
