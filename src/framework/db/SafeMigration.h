#pragma once

#include "framework/db/ConnectionSettings.h"
#include "framework/db/Migrator.h"

#include <QStringList>

#include <functional>

namespace kvo {

struct SchemaUpdateReport {
    int applied = 0;
    int version = 0;
    QStringList avisos; // what the user must be told (an interrupted update undone, ...)
};

// Brings a database to the newest schema so that a program stopped at any
// moment (killed, power cut) never leaves it unusable: before the first
// pending migration a copy is kept and the update is marked as under way; a
// start that still finds the mark puts the copy back and migrates again.
//  - embedded: the copy is "<file>.antes-da-atualizacao" and the mark the file
//    "<file>.atualizando", both beside the database;
//  - server: the copy is a backup through the server's services
//    ("<path>.antes-da-atualizacao.fbk", on the server) and the mark the row
//    of version 0 in KVO_SCHEMA_VERSION, naming the connection that updates.
//    Only one terminal updates, and only with no other connected: the others
//    are told to try again, so a restore never discards another's work.
class SafeMigration {
public:
    explicit SafeMigration(ConnectionSettings settings, QString folder = QStringLiteral(":/kvo/migrations"));

    SchemaUpdateReport run(const std::function<void(const Migration&)>& progress = {});

    static QString backupFile(const ConnectionSettings& s);
    static QString markFile(const ConnectionSettings& s); // embedded only

private:
    SchemaUpdateReport runEmbedded(const std::function<void(const Migration&)>& progress);
    SchemaUpdateReport runOnServer(const std::function<void(const Migration&)>& progress);

    ConnectionSettings m_settings;
    QString m_folder;
};

// Copies a file so that the destination is either the old one or a complete
// copy, whatever moment the program stops (temporary file, fsync, rename).
void copyFileDurably(const QString& from, const QString& to);
// Renames a closed file once its contents are on disk.
void moveFileDurably(const QString& from, const QString& to);

} // namespace kvo
