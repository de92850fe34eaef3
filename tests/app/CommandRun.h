#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kvo::test {

// What a command of the `kvo` program printed and returned, run in-process.
struct CommandRun {
    int code = -1;
    QString out, err;
};

template <class Command>
CommandRun runCommand(Command command, const QStringList& args) {
    CommandRun r;
    QTextStream out(&r.out), err(&r.err);
    r.code = command(args, out, err);
    return r;
}

} // namespace kvo::test
