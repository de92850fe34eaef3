#pragma once

#include <QList>
#include <QString>

namespace kvo {

class Database;

// One statement of an SQL script, or a "commit" point.
struct ScriptStatement {
    QString sql;
    int line = 0;        // where it starts in the script, 1-based
    bool commit = false; // "commit;" in the script
};

// Splits a Firebird SQL script into statements: ";" ends a statement until
// "set term" changes the terminator (PSQL bodies of procedures and triggers
// hold ";" of their own); comments and quoted texts are respected; isql
// settings ("set autoddl", "set sql dialect", ...) are skipped.
QList<ScriptStatement> splitScript(const QString& script);

// Runs a script's statements on the database inside the current transaction
// (the caller's), committing and reopening at its "commit" points. Errors name
// the script and line.
void runScript(Database& db, const QString& script, const QString& scriptName);

} // namespace kvo
