#pragma once

#include <QMap>
#include <QSet>
#include <QStringList>

namespace kvo {

// The arguments of one verb, parsed by what they are rather than by where
// they stand: "--name VALUE" or "--name=VALUE" for the options that take a
// value, "--name" for switches, anything else positional ("--" ends the
// options, so a positional value may itself start with "--").
struct CommandLine {
    QStringList positional;
    QMap<QString, QString> values;
    QSet<QString> switches;
    QString error; // empty when the arguments fit

    static CommandLine parse(const QStringList& args, const QSet<QString>& withValue = {},
                             const QSet<QString>& switchNames = {}) {
        CommandLine c;
        bool optionsEnded = false;
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (optionsEnded || !a.startsWith(QLatin1String("--")) || a.size() == 2) {
                if (!optionsEnded && a == QLatin1String("--"))
                    optionsEnded = true;
                else
                    c.positional << a;
                continue;
            }
            const qsizetype eq = a.indexOf(u'=');
            const QString name = a.mid(2, eq < 0 ? -1 : eq - 2);
            if (withValue.contains(name)) {
                if (eq >= 0)
                    c.values[name] = a.mid(eq + 1);
                else if (i + 1 < args.size())
                    c.values[name] = args[++i];
                else
                    c.error = QStringLiteral("a opção --%1 precisa de um valor").arg(name);
            } else if (switchNames.contains(name) && eq < 0) {
                c.switches << name;
            } else {
                c.error = QStringLiteral("opção desconhecida: %1").arg(a);
            }
            if (!c.error.isEmpty())
                break;
        }
        return c;
    }
};

} // namespace kvo
