#pragma once

#include "framework/db/ConnectionSettings.h"

#include <QString>

namespace kvo {

class Database;

// Preparing a shop's database without the screens (the kvo command, the
// demo start-up and the setup scripts use these).
namespace setup {

// The program folder's connection file; when there is none, writes
// "KVOGestao.ini" for an embedded database "dados/KVOGESTAO.FDB" inside it.
// Returns the settings read back from the file.
ConnectionSettings ensureConnectionFile(const QString& folder);

// Creates the configured database (embedded: also its folder) with its
// version table and no migration applied. An embedded file is built under
// creatingFile() and renamed when complete, so a creation stopped half-way
// never leaves a file that neither opens nor can be created again. Throws
// DatabaseError when it already exists.
void createDatabase(const ConnectionSettings& settings);
// "<file>.criando": where an embedded database is built before it is named.
QString creatingFile(const ConnectionSettings& settings);

// True when the embedded file exists (a server database is taken to exist).
bool databaseExists(const ConnectionSettings& settings);

// Moves every generator "GEN_<TABLE>" of a table with a single integer key up
// to the highest key in use, so rows written with explicit keys (demo data,
// imports from another system) are never handed out again.
void alinharGeradores(Database& db);

// Runs the demo data scripts (idempotent: rows are keyed), then aligns the
// generators with the keys they wrote.
void loadDemoData(Database& db, const QString& folder = QStringLiteral(":/kvo/demo"));

} // namespace setup
} // namespace kvo
