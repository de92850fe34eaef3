#include "framework/db/DatabaseSetup.h"

#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/db/RecordSet.h"
#include "framework/db/SafeMigration.h"
#include "framework/db/ScriptRunner.h"
#include "framework/db/SqlText.h"

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

QString creatingFile(const ConnectionSettings& settings) { return settings.path + QStringLiteral(".criando"); }

void createDatabase(const ConnectionSettings& settings) {
    if (!settings.isEmbedded()) {
        Database::create(settings);
        Database db(settings);
        db.open();
        Migrator(db).ensureVersionTable();
        return;
    }
    if (QFileInfo::exists(settings.path))
        throw DatabaseError(QStringLiteral("O banco de dados já existe: %1").arg(settings.path));
    const QString dir = QFileInfo(settings.path).absolutePath();
    if (!QDir().mkpath(dir))
        throw DatabaseError(QStringLiteral("Não foi possível criar a pasta %1").arg(dir));
    ConnectionSettings building = settings;
    building.path = creatingFile(settings);
    QFile::remove(building.path); // what a stopped creation left
    Database::create(building);
    {
        Database db(building);
        db.open();
        Migrator(db).ensureVersionTable();
    }
    moveFileDurably(building.path, settings.path);
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
    alinharGeradores(db);
    tx.commit();
}

void alinharGeradores(Database& db) {
    const auto chaves = db.query(QStringLiteral(
        "select trim(g.RDB$GENERATOR_NAME) as GERADOR, trim(rc.RDB$RELATION_NAME) as TABELA, "
        "trim(min(s.RDB$FIELD_NAME)) as CHAVE "
        "from RDB$GENERATORS g "
        "join RDB$RELATION_CONSTRAINTS rc on rc.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' "
        " and 'GEN_' || trim(rc.RDB$RELATION_NAME) = trim(g.RDB$GENERATOR_NAME) "
        "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = rc.RDB$INDEX_NAME "
        "join RDB$RELATION_FIELDS rf on rf.RDB$RELATION_NAME = rc.RDB$RELATION_NAME and rf.RDB$FIELD_NAME = s.RDB$FIELD_NAME "
        "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "where coalesce(g.RDB$SYSTEM_FLAG, 0) = 0 and f.RDB$FIELD_TYPE in (7, 8, 16) and coalesce(f.RDB$FIELD_SCALE, 0) = 0 "
        "group by 1, 2 having count(*) = 1"));
    for (chaves->first(); !chaves->eof(); chaves->next()) {
        const QString gerador = sqlIdentifier(chaves->field(QStringLiteral("GERADOR")).asString());
        const QString tabela = sqlIdentifier(chaves->field(QStringLiteral("TABELA")).asString());
        const QString chave = sqlIdentifier(chaves->field(QStringLiteral("CHAVE")).asString());
        // gen_id with the difference: generators live outside transactions, and
        // one that is already ahead stays where it is.
        db.scalar(QStringLiteral("select gen_id(%1, maxvalue(0, coalesce((select max(%2) from %3), 0) - gen_id(%1, 0))) "
                                 "from RDB$DATABASE")
                      .arg(gerador, chave, tabela));
    }
}

} // namespace kvo::setup
