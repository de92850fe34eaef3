#pragma once

#include "framework/db/ConnectionSettings.h"

#include <QString>

namespace kvo::servidor {

// Backup and restore of a database on a Firebird server through the server's
// own services (the backup file lives on the server, beside the database, as
// the server sees its paths). Both wait until the server has finished and
// raise DatabaseError with the server's last lines when it failed.
void backup(const ConnectionSettings& settings, const QString& backupFile);
// Replaces the database with the backup; needs no connection to it.
void restore(const ConnectionSettings& settings, const QString& backupFile);

} // namespace kvo::servidor
