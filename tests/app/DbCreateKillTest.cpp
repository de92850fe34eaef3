// "kvo db create" killed at moments spread over its run, as a power cut
// would stop it: the next start (what scripts/run does) always ends at the
// newest schema, the same schema an uninterrupted creation gives.
#include "CommandRun.h"
#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/db/RecordSet.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// The embedded engine keeps shared state (locks, trace) in its lock folder;
// a process killed while holding it would stall every other process of the
// test run that shares the folder. Each home gets its own, as each shop's
// machine has; a power cut stops every process of a machine at once.
QProcessEnvironment ownLockFolder(const QString& home) {
    QDir().mkpath(home + QStringLiteral("/firebird-lock"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD_LOCK"), home + QStringLiteral("/firebird-lock"));
    return env;
}

test::CommandRun kvoCommand(const QString& home, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(ownLockFolder(home));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(KVO_COMMAND), QStringList{QStringLiteral("--home"), home} + args);
    test::CommandRun r;
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

// The start of scripts/run: migrate a database that opens, else create it.
test::CommandRun nextStart(const QString& home) {
    if (QFile::exists(home + QStringLiteral("/KVOGestao.ini")) &&
        kvoCommand(home, {QStringLiteral("db"), QStringLiteral("version")}).code == 0)
        return kvoCommand(home, {QStringLiteral("db"), QStringLiteral("migrate")});
    return kvoCommand(home, {QStringLiteral("db"), QStringLiteral("create")});
}

// Tables with their columns, procedures, triggers and named indexes.
QStringList schemaOf(const QString& home) {
    ConnectionSettings s;
    s.path = home + QStringLiteral("/dados/KVOGESTAO.FDB");
    Database db(s);
    db.open();
    QStringList items;
    auto rs = db.query(QStringLiteral(
        "select trim(RDB$RELATION_NAME) || '.' || trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS "
        "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 union all "
        "select 'P:' || trim(RDB$PROCEDURE_NAME) from RDB$PROCEDURES where coalesce(RDB$SYSTEM_FLAG, 0) = 0 union all "
        "select 'T:' || trim(RDB$TRIGGER_NAME) from RDB$TRIGGERS where coalesce(RDB$SYSTEM_FLAG, 0) = 0 union all "
        "select 'I:' || trim(RDB$INDEX_NAME) from RDB$INDICES where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
        "and RDB$INDEX_NAME not starting with 'RDB$' order by 1"));
    for (rs->first(); !rs->eof(); rs->next())
        items << rs->field(0).asString();
    return items;
}

} // namespace

TEST(DbCreateKill, ACreationKilledAtAnyMomentIsFinishedByTheNextStart) {
    const QString root = test::scratchFolder() + QStringLiteral("/kill");
    const QString reference = root + QStringLiteral("/inteiro");
    QElapsedTimer clock;
    clock.start();
    const test::CommandRun whole = kvoCommand(reference, {QStringLiteral("db"), QStringLiteral("create")});
    const qint64 duration = clock.elapsed();
    ASSERT_EQ(whole.code, 0) << whole.out.toStdString();
    const QStringList expected = schemaOf(reference);
    ASSERT_GT(expected.size(), 100);
    Database unopened{ConnectionSettings{}};
    const QString newest = QStringLiteral("versão do esquema: %1").arg(Migrator(unopened).latestVersion());

    int killed = 0;
    for (int i = 0; i < 20; ++i) {
        const QString home = root + QStringLiteral("/morto-%1").arg(i);
        QProcess p;
        p.setProcessEnvironment(ownLockFolder(home));
        p.start(QStringLiteral(KVO_COMMAND), {QStringLiteral("--home"), home, QStringLiteral("db"), QStringLiteral("create")});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(duration * (i + 1) / 21));
        if (p.state() == QProcess::Running) {
            p.kill(); // SIGKILL: nothing of the program runs after it
            ++killed;
        }
        p.waitForFinished();

        const test::CommandRun next = nextStart(home);
        ASSERT_EQ(next.code, 0) << "killed after " << duration * (i + 1) / 21 << " ms: " << next.out.toStdString();
        const test::CommandRun version = kvoCommand(home, {QStringLiteral("db"), QStringLiteral("version")});
        EXPECT_TRUE(version.out.contains(newest)) << i << ": " << version.out.toStdString();
        EXPECT_EQ(schemaOf(home), expected) << "killed after " << duration * (i + 1) / 21 << " ms";
        const QStringList left = QDir(home + QStringLiteral("/dados")).entryList(QDir::Files);
        EXPECT_EQ(left, QStringList{QStringLiteral("KVOGESTAO.FDB")}) << left.join(u' ').toStdString();
    }
    // Most kills fall inside the run (fewer when the machine got faster since
    // the reference run was timed).
    EXPECT_GE(killed, 8) << "the kills should fall inside the run (" << duration << " ms)";
}
