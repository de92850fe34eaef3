#include "framework/db/DatabaseSetup.h"
#include "framework/db/Migrator.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
void writeFile(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}
} // namespace

TEST(Migrator, TheShippedMigrationsApplyOnceAndRecordTheirVersion) {
    kvo::test::TestDatabase t; // migrated template
    Migrator m(t.db());
    EXPECT_GE(m.latestVersion(), 1);
    EXPECT_EQ(m.currentVersion(), m.latestVersion());
    EXPECT_TRUE(m.pending().isEmpty());
    EXPECT_EQ(m.migrate(), 0); // a second run changes nothing
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from KVO_SCHEMA_VERSION")).toInt(), m.available().size());
}

TEST(Migrator, FailedScriptLeavesNoVersionAndNewerDatabasesAreRefused) {
    kvo::test::TestDatabase t;
    const QString folder = kvo::test::scratchFolder() + QStringLiteral("/mig-") + QFileInfo(t.path()).baseName();
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/0001_a.sql"), QStringLiteral("create table MA (X integer);\ncommit;\ninsert into MA values (1);"));
    writeFile(folder + QStringLiteral("/0002_b.sql"), QStringLiteral("insert into MA values (2);\ninsert into NAO_EXISTE values (1);"));
    Migrator m(t.db(), folder);
    t->executeSQL(QStringLiteral("delete from KVO_SCHEMA_VERSION")); // start from this folder's history

    try {
        m.migrate();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("0002_b.sql, linha 2:"))) << e.what();
    }
    EXPECT_EQ(m.currentVersion(), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from MA")).toInt(), 1); // 0002's insert rolled back

    writeFile(folder + QStringLiteral("/0002_b.sql"), QStringLiteral("insert into MA values (2);"));
    EXPECT_EQ(m.migrate(), 1);
    EXPECT_EQ(m.currentVersion(), 2);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from MA")).toInt(), 2);

    t->executeSQL(QStringLiteral("insert into KVO_SCHEMA_VERSION (VERSION, NAME) values (9, 'futuro.sql')"));
    try {
        m.migrate();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("versão 9"))) << e.what();
    }
}

TEST(DatabaseSetup, GeneratorsAreMovedPastKeysWrittenByHandAndNeverBack) {
    test::TestDatabase t;
    t->executeSQL(QStringLiteral("insert into MARCA (CODMARCA, MAR_DESCRICAO) values (40, 'Da casa')"));
    t->executeSQL(QStringLiteral("alter sequence GEN_VENDEDOR restart with 90"));
    setup::alinharGeradores(t.db());
    EXPECT_EQ(t->scalar(QStringLiteral("select gen_id(GEN_MARCA, 0) from RDB$DATABASE")).toLongLong(), 40);
    EXPECT_EQ(t->scalar(QStringLiteral("select gen_id(GEN_VENDEDOR, 0) from RDB$DATABASE")).toLongLong(), 90);
    EXPECT_EQ(t->getGeneretor(QStringLiteral("GEN_MARCA")), 41); // the next new row does not collide
}
