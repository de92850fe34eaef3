#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace kvo {

class Database;

struct Migration {
    int version = 0;
    QString name;     // file name, e.g. "0001_parametros_gerais.sql"
    QString fileName; // where to read it from (a resource or a folder)
};

// Brings a database's schema up to date with the numbered scripts of a folder
// ("NNNN_description.sql"). Each applied script is recorded in
// KVO_SCHEMA_VERSION, so running again changes nothing.
class Migrator {
public:
    explicit Migrator(Database& db, QString folder = QStringLiteral(":/kvo/migrations"));

    QList<Migration> available() const;
    int latestVersion() const;
    int currentVersion(); // 0 for a database no script has touched
    QList<Migration> pending();
    // Applies what is pending, each script in its own transaction. Refuses a
    // database newer than this program knows. Returns how many were applied.
    int migrate(const std::function<void(const Migration&)>& progress = {});
    // Creates KVO_SCHEMA_VERSION when the database has none.
    void ensureVersionTable();

private:

    Database& m_db;
    QString m_folder;
};

} // namespace kvo
