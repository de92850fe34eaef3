#include "framework/db/DatabaseSetup.h"

#include "framework/db/Database.h"
#include "framework/db/ScriptRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kvo::setup {

ConnectionSettings ensureConnectionFile(const QString& folder) {
    if (const auto existing = ConnectionSettings::findConnectionFile(folder))
        return ConnectionSettings::readFile(*existing);
    if (!QDir().mkpath(folder))
        throw DatabaseError(QStringLiteral("Não foi possível criar a pasta do programa %1").arg(folder));
    ConnectionSettings s;
    s.path = QStringLiteral("dados/KVOGESTAO.FDB");
    const QString file = QDir(folder).absoluteFilePath(QStringLiteral("KVOGestao.ini"));
    s.writeFile(file);
    return ConnectionSettings::readFile(file);
}

bool databaseExists(const ConnectionSettings& settings) {
    return !settings.isEmbedded() || QFileInfo::exists(settings.path);
}

void createDatabase(const ConnectionSettings& settings) {
    if (settings.isEmbedded()) {
        const QString dir = QFileInfo(settings.path).absolutePath();
        if (!QDir().mkpath(dir))
            throw DatabaseError(QStringLiteral("Não foi possível criar a pasta %1").arg(dir));
    }
    Database::create(settings);
}

void loadDemoData(Database& db, const QString& folder) {
    const QDir dir(folder);
    Transaction tx(db);
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        QFile file(dir.absoluteFilePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw DatabaseError(QStringLiteral("Não foi possível ler %1").arg(file.fileName()));
        runScript(db, QString::fromUtf8(file.readAll()), name);
    }
    tx.commit();
}

} // namespace kvo::setup
