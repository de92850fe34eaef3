#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

// "kvo config list|get|set" and "kvo user add|passwd" on the database of the
// program folder. Return the process exit code.
int runConfigCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int runUserCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kvo
