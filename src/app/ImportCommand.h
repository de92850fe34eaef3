#pragma once

#include <QStringList>
#include <QTextStream>

namespace kvo {

class Database;

// "kvo import products|persons FILE.csv": UTF-8, ";" separated, a header
// line naming the columns. Either every row goes in or none does; bad rows
// are reported with their line number.
int runImportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

struct ResultadoImportacao {
    int importados = 0;
    QStringList erros; // "linha N: motivo"
};
ResultadoImportacao importarCsv(Database& db, const QString& tipo, const QString& arquivo);

} // namespace kvo
