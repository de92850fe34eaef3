#include "framework/db/SafeMigration.h"

#include "framework/db/Database.h"
#include "framework/db/DatabaseSetup.h"
#include "framework/db/ServerBackup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kvo {

namespace {

const QString restauradoAviso = QStringLiteral(
    "A atualização anterior do banco de dados foi interrompida antes de terminar (programa fechado ou falta de "
    "energia). O banco foi restaurado da cópia feita antes dela e a atualização foi feita de novo.");

void syncFolderOf(const QString& file) {
    const int fd = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void writeDurably(QFile& out, const QByteArray& data) {
    if (out.write(data) != data.size())
        throw DatabaseError(QStringLiteral("Não foi possível gravar %1: %2").arg(out.fileName(), out.errorString()));
}

void replaceDurably(const QString& temporary, const QString& target) {
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
        throw DatabaseError(QStringLiteral("Não foi possível substituir %1 por %2").arg(target, temporary));
    syncFolderOf(target);
}

void writeTextDurably(const QString& target, const QString& text) {
    const QString temporary = target + QStringLiteral(".tmp");
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DatabaseError(QStringLiteral("Não foi possível gravar %1: %2").arg(temporary, out.errorString()));
    writeDurably(out, text.toUtf8());
    out.flush();
    ::fsync(out.handle());
    out.close();
    replaceDurably(temporary, target);
}

// Other connections to the database than this one (system ones aside). Only
// a user who sees every connection (SYSDBA, the owner) counts them all.
int otherConnections(Database& db) {
    return db.scalar(QStringLiteral("select count(*) from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> current_connection "
                                    "and coalesce(MON$SYSTEM_FLAG, 0) = 0"))
        .toInt();
}

void requireExclusive(Database& db) {
    if (const int others = otherConnections(db))
        throw DatabaseError(QStringLiteral("O banco de dados precisa ser atualizado e está em uso em outros terminais "
                                           "(%1 conexão(ões)). Feche o programa nos outros terminais e tente de novo.")
                                .arg(others));
}

const QString outroTerminalAtualizando =
    QStringLiteral("O banco de dados está sendo atualizado por outro terminal. Tente de novo em alguns instantes.");

} // namespace

void copyFileDurably(const QString& from, const QString& to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível ler %1: %2").arg(from, in.errorString()));
    const QString temporary = to + QStringLiteral(".tmp");
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DatabaseError(QStringLiteral("Não foi possível gravar %1: %2").arg(temporary, out.errorString()));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(4 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw DatabaseError(QStringLiteral("Não foi possível ler %1: %2").arg(from, in.errorString()));
        writeDurably(out, chunk);
    }
    out.flush();
    if (::fsync(out.handle()) != 0)
        throw DatabaseError(QStringLiteral("Não foi possível gravar %1 no disco").arg(temporary));
    out.close();
    replaceDurably(temporary, to);
}

void moveFileDurably(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0)
        throw DatabaseError(QStringLiteral("Não foi possível gravar %1 no disco").arg(from));
    file.close();
    replaceDurably(from, to);
}

SafeMigration::SafeMigration(ConnectionSettings settings, QString folder)
    : m_settings(std::move(settings)), m_folder(std::move(folder)) {}

QString SafeMigration::backupFile(const ConnectionSettings& s) {
    return s.path + (s.isEmbedded() ? QStringLiteral(".antes-da-atualizacao") : QStringLiteral(".antes-da-atualizacao.fbk"));
}

QString SafeMigration::markFile(const ConnectionSettings& s) { return s.path + QStringLiteral(".atualizando"); }

SchemaUpdateReport SafeMigration::run(const std::function<void(const Migration&)>& progress) {
    return m_settings.isEmbedded() ? runEmbedded(progress) : runOnServer(progress);
}

SchemaUpdateReport SafeMigration::runEmbedded(const std::function<void(const Migration&)>& progress) {
    SchemaUpdateReport report;
    const QString file = m_settings.path, mark = markFile(m_settings), copy = backupFile(m_settings);
    if (!QFileInfo::exists(file) && QFileInfo::exists(setup::creatingFile(m_settings))) {
        setup::createDatabase(m_settings);
        report.avisos << QStringLiteral("A criação do banco de dados %1 foi interrompida antes de terminar e foi feita "
                                        "de novo.").arg(file);
    }
    if (QFileInfo::exists(mark)) {
        if (!QFileInfo::exists(copy))
            throw DatabaseError(QStringLiteral("A atualização do banco de dados %1 foi interrompida e a cópia feita antes "
                                               "dela (%2) não existe mais. Restaure uma cópia de segurança.")
                                    .arg(file, copy));
        copyFileDurably(copy, file);
        QFile::remove(mark);
        syncFolderOf(mark);
        QFile::remove(copy);
        report.avisos << restauradoAviso;
    }

    Database db(m_settings);
    db.open();
    Migrator migrator(db, m_folder);
    const int from = migrator.currentVersion();
    if (migrator.pending().isEmpty()) {
        migrator.migrate(); // refuses a database newer than this program
        report.version = from;
        return report;
    }
    db.close();

    copyFileDurably(file, copy);
    writeTextDurably(mark, QStringLiteral("atualização da versão %1 para %2 iniciada em %3\n")
                               .arg(from)
                               .arg(migrator.latestVersion())
                               .arg(QDateTime::currentDateTime().toString(Qt::ISODate)));
    db.open();
    try {
        report.applied = migrator.migrate(progress);
        report.version = migrator.currentVersion();
        db.close();
    } catch (...) {
        // A script that failed may have committed its first parts: put the
        // copy back now rather than at the next start.
        db.close();
        copyFileDurably(copy, file);
        QFile::remove(mark);
        QFile::remove(copy);
        throw;
    }
    QFile::remove(mark);
    syncFolderOf(mark);
    QFile::remove(copy);
    return report;
}

SchemaUpdateReport SafeMigration::runOnServer(const std::function<void(const Migration&)>& progress) {
    SchemaUpdateReport report;
    Database db(m_settings);
    db.open();
    Migrator migrator(db, m_folder);
    migrator.ensureVersionTable();

    const QString marca = db.scalar(QStringLiteral("select NAME from KVO_SCHEMA_VERSION where VERSION = 0")).toString();
    if (!marca.isEmpty()) {
        // "atualizando;<connection>;<backup file>"
        const QStringList parts = marca.split(u';');
        const QVariant alive = db.scalar(QStringLiteral("select 1 from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :ID"),
                                         {{QStringLiteral("ID"), parts.value(1).toLongLong()}});
        if (!alive.isNull())
            throw DatabaseError(outroTerminalAtualizando);
        requireExclusive(db);
        db.close();
        servidor::restore(m_settings, parts.value(2));
        report.avisos << restauradoAviso;
        db.open();
    }

    if (migrator.pending().isEmpty()) {
        migrator.migrate();
        report.version = migrator.currentVersion();
        return report;
    }
    requireExclusive(db);
    const QString copy = backupFile(m_settings);
    servidor::backup(m_settings, copy);
    const qint64 connection = db.scalar(QStringLiteral("select current_connection from RDB$DATABASE")).toLongLong();
    const QString text = QStringLiteral("atualizando;%1;%2").arg(connection).arg(copy);
    if (text.size() > 200)
        throw DatabaseError(QStringLiteral("Caminho do banco de dados longo demais para a atualização: %1").arg(copy));
    db.executeSQL(QStringLiteral("insert into KVO_SCHEMA_VERSION (VERSION, NAME) values (0, :N)"),
                  {{QStringLiteral("N"), text}});
    // A terminal that connected between the check and the mark would work on
    // a database that may be restored: give up instead.
    if (otherConnections(db)) {
        db.executeSQL(QStringLiteral("delete from KVO_SCHEMA_VERSION where VERSION = 0"));
        requireExclusive(db);
    }
    try {
        report.applied = migrator.migrate(progress);
    } catch (...) {
        db.close();
        servidor::restore(m_settings, copy); // the restored database has no mark
        throw;
    }
    report.version = migrator.currentVersion();
    db.executeSQL(QStringLiteral("delete from KVO_SCHEMA_VERSION where VERSION = 0"));
    return report;
}

} // namespace kvo
