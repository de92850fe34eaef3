#include "framework/db/Migrator.h"

#include "framework/db/Database.h"
#include "framework/db/ScriptRunner.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace kvo {

Migrator::Migrator(Database& db, QString folder) : m_db(db), m_folder(std::move(folder)) {}

QList<Migration> Migrator::available() const {
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)_.+\\.sql$"), QRegularExpression::CaseInsensitiveOption);
    QList<Migration> list;
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        const auto m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        list << Migration{m.captured(1).toInt(), name, dir.absoluteFilePath(name)};
    }
    std::sort(list.begin(), list.end(), [](const Migration& a, const Migration& b) { return a.version < b.version; });
    for (int i = 1; i < list.size(); ++i)
        if (list[i].version == list[i - 1].version)
            throw DatabaseError(QStringLiteral("Duas migrações com o número %1: %2 e %3")
                                    .arg(list[i].version).arg(list[i - 1].name, list[i].name));
    return list;
}

int Migrator::latestVersion() const {
    const auto list = available();
    return list.isEmpty() ? 0 : list.last().version;
}

void Migrator::ensureVersionTable() {
    const QVariant exists = m_db.scalar(QStringLiteral(
        "select 1 from rdb$relations where rdb$relation_name = 'KVO_SCHEMA_VERSION'"));
    if (!exists.isNull())
        return;
    m_db.executeSQL(QStringLiteral("create table KVO_SCHEMA_VERSION ("
                                   " VERSION integer not null primary key,"
                                   " NAME varchar(200) not null,"
                                   " APPLIED_AT timestamp default current_timestamp not null)"));
}

int Migrator::currentVersion() {
    const QVariant exists = m_db.scalar(QStringLiteral(
        "select 1 from rdb$relations where rdb$relation_name = 'KVO_SCHEMA_VERSION'"));
    if (exists.isNull())
        return 0;
    return m_db.scalar(QStringLiteral("select coalesce(max(VERSION), 0) from KVO_SCHEMA_VERSION")).toInt();
}

QList<Migration> Migrator::pending() {
    const int current = currentVersion();
    QList<Migration> list;
    for (const Migration& m : available())
        if (m.version > current)
            list << m;
    return list;
}

int Migrator::migrate(const std::function<void(const Migration&)>& progress) {
    const int current = currentVersion();
    const int latest = latestVersion();
    if (current > latest)
        throw DatabaseError(QStringLiteral("O banco de dados está na versão %1, mais nova que a versão %2 que este "
                                           "programa conhece. Atualize o programa antes de usar este banco.")
                                .arg(current).arg(latest));
    ensureVersionTable();
    int applied = 0;
    for (const Migration& m : pending()) {
        if (progress)
            progress(m);
        QFile file(m.fileName);
        if (!file.open(QIODevice::ReadOnly))
            throw DatabaseError(QStringLiteral("Não foi possível ler a migração %1").arg(m.fileName));
        const QString script = QString::fromUtf8(file.readAll());
        Transaction tx(m_db);
        runScript(m_db, script, m.name);
        m_db.executeSQL(QStringLiteral("insert into KVO_SCHEMA_VERSION (VERSION, NAME) values (:V, :N)"),
                        {{QStringLiteral("V"), m.version}, {QStringLiteral("N"), m.name}});
        tx.commit();
        ++applied;
    }
    return applied;
}

} // namespace kvo
