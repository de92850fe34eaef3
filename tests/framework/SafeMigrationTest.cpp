// Schema updates that survive a program stopped half-way: the state a crash
// leaves (copy, mark, half-applied script) is built by hand here; the real
// kills are in the command's tests.
#include "framework/db/DatabaseSetup.h"
#include "framework/db/SafeMigration.h"
#include "framework/db/ServerBackup.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

class SafeMigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int n = 0;
        base = test::scratchFolder() + QStringLiteral("/safe-%1").arg(++n);
        QDir().mkpath(base + QStringLiteral("/v2"));
        QDir().mkpath(base + QStringLiteral("/v3"));
        for (const QString& v : {QStringLiteral("v2"), QStringLiteral("v3")}) {
            write(v + QStringLiteral("/0001_a.sql"), "create table A (ID integer not null primary key, T varchar(10));\ncommit;\n"
                                                     "insert into A (ID, T) values (1, 'um');\n");
            write(v + QStringLiteral("/0002_b.sql"), "create table B (ID integer not null primary key);\n");
        }
        write(QStringLiteral("v3/0003_c.sql"), "alter table A add X integer;\ncommit;\nupdate A set X = 7;\n");
    }
    void write(const QString& name, const char* text) {
        QFile f(base + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString folder(const char* v) const { return base + u'/' + QLatin1String(v); }
    ConnectionSettings embedded(const QString& name) const {
        ConnectionSettings s;
        s.path = base + u'/' + name;
        return s;
    }
    static QStringList leftovers(const ConnectionSettings& s) {
        QStringList found;
        const QStringList possible{SafeMigration::markFile(s), SafeMigration::backupFile(s), setup::creatingFile(s),
                                   s.path + QStringLiteral(".tmp"), SafeMigration::backupFile(s) + QStringLiteral(".tmp")};
        for (const QString& f : possible)
            if (QFile::exists(f))
                found << f;
        return found;
    }
    QString base;
};

} // namespace

TEST_F(SafeMigrationTest, AnUpdateStoppedHalfWayIsUndoneAndAppliedAgainAtTheNextStart) {
    const ConnectionSettings s = embedded(QStringLiteral("loja.fdb"));
    setup::createDatabase(s);
    SchemaUpdateReport r = SafeMigration(s, folder("v2")).run();
    EXPECT_EQ(r.version, 2);
    EXPECT_EQ(r.applied, 2);
    EXPECT_TRUE(r.avisos.isEmpty());
    EXPECT_TRUE(leftovers(s).isEmpty()) << leftovers(s).join(u' ').toStdString();

    // What a power cut during 0003 leaves: the copy, the mark, and the first
    // part of the script committed with rows the shop typed meanwhile lost.
    copyFileDurably(s.path, SafeMigration::backupFile(s));
    {
        QFile mark(SafeMigration::markFile(s));
        ASSERT_TRUE(mark.open(QIODevice::WriteOnly));
    }
    {
        Database db(s);
        db.open();
        db.executeSQL(QStringLiteral("alter table A add X integer"));
    }

    r = SafeMigration(s, folder("v3")).run();
    ASSERT_EQ(r.avisos.size(), 1);
    EXPECT_TRUE(r.avisos[0].startsWith(QStringLiteral("A atualização anterior do banco de dados foi interrompida")));
    EXPECT_EQ(r.version, 3);
    EXPECT_EQ(r.applied, 1);
    {
        Database db(s);
        db.open();
        EXPECT_EQ(db.scalar(QStringLiteral("select X from A where ID = 1")).toInt(), 7);
    }
    EXPECT_TRUE(leftovers(s).isEmpty()) << leftovers(s).join(u' ').toStdString();

    // Stopped after its last script but before the mark went: undone and done
    // again, and no copy stays behind.
    copyFileDurably(s.path, SafeMigration::backupFile(s));
    {
        QFile mark(SafeMigration::markFile(s));
        ASSERT_TRUE(mark.open(QIODevice::WriteOnly));
    }
    r = SafeMigration(s, folder("v3")).run();
    EXPECT_EQ(r.avisos.size(), 1);
    EXPECT_EQ(r.version, 3);
    EXPECT_TRUE(leftovers(s).isEmpty()) << leftovers(s).join(u' ').toStdString();
}

TEST_F(SafeMigrationTest, AFailingScriptLeavesTheDatabaseAsItWasBeforeIt) {
    const ConnectionSettings s = embedded(QStringLiteral("falha.fdb"));
    setup::createDatabase(s);
    SafeMigration(s, folder("v2")).run();
    write(QStringLiteral("v3/0003_c.sql"), "alter table A add X integer;\ncommit;\nupdate TABELA_QUE_NAO_EXISTE set X = 1;\n");
    EXPECT_THROW(SafeMigration(s, folder("v3")).run(), DatabaseError);
    EXPECT_TRUE(leftovers(s).isEmpty()) << leftovers(s).join(u' ').toStdString();
    Database db(s);
    db.open();
    EXPECT_TRUE(db.scalar(QStringLiteral("select 1 from RDB$RELATION_FIELDS where RDB$RELATION_NAME = 'A' "
                                         "and RDB$FIELD_NAME = 'X'"))
                    .isNull()); // the committed first part went with the copy
    EXPECT_EQ(db.scalar(QStringLiteral("select max(VERSION) from KVO_SCHEMA_VERSION")).toInt(), 2);
}

TEST_F(SafeMigrationTest, ACreationStoppedHalfWayIsDoneAgainAndANewerDatabaseIsRefusedUntouched) {
    const ConnectionSettings s = embedded(QStringLiteral("dados/nova.fdb"));
    QDir().mkpath(base + QStringLiteral("/dados"));
    write(QStringLiteral("dados/nova.fdb.criando"), "metade de um arquivo");
    SchemaUpdateReport r = SafeMigration(s, folder("v3")).run();
    EXPECT_EQ(r.version, 3);
    ASSERT_EQ(r.avisos.size(), 1);
    EXPECT_TRUE(r.avisos[0].contains(QStringLiteral("criação do banco de dados"))) << r.avisos[0].toStdString();
    EXPECT_TRUE(leftovers(s).isEmpty()) << leftovers(s).join(u' ').toStdString();
    EXPECT_THROW(setup::createDatabase(s), DatabaseError); // it exists now

    try {
        SafeMigration(s, folder("v2")).run();
        ADD_FAILURE() << "a database newer than the program was accepted";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("mais nova"))) << e.message().toStdString();
    }
    EXPECT_TRUE(leftovers(s).isEmpty());
}

TEST_F(SafeMigrationTest, OnAServerOneTerminalUpdatesAloneAndAnInterruptedUpdateIsRestored) {
    if (!test::testServer())
        GTEST_SKIP() << "KVO_TEST_SERVER not set: run through scripts/test";
    const QString file = base + QStringLiteral("/servidor.fdb");
    const ConnectionSettings s = test::serverSettings(file);
    setup::createDatabase(s);
    EXPECT_EQ(SafeMigration(s, folder("v2")).run().version, 2);

    // Another terminal is connected: nobody updates, and it is said why.
    auto other = std::make_unique<Database>(s);
    other->open();
    try {
        SafeMigration(s, folder("v3")).run();
        ADD_FAILURE() << "updated with another terminal connected";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("em uso em outros terminais"))) << e.message().toStdString();
    }
    EXPECT_EQ(other->scalar(QStringLiteral("select max(VERSION) from KVO_SCHEMA_VERSION")).toInt(), 2);

    // A mark naming a live connection: an update under way elsewhere.
    const qint64 vivo = other->scalar(QStringLiteral("select current_connection from RDB$DATABASE")).toLongLong();
    other->executeSQL(QStringLiteral("insert into KVO_SCHEMA_VERSION (VERSION, NAME) values (0, :N)"),
                      {{QStringLiteral("N"), QStringLiteral("atualizando;%1;x.fbk").arg(vivo)}});
    try {
        SafeMigration(s, folder("v3")).run();
        ADD_FAILURE() << "a live update was not respected";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("sendo atualizado por outro terminal"))) << e.message().toStdString();
    }
    other->executeSQL(QStringLiteral("delete from KVO_SCHEMA_VERSION where VERSION = 0"));

    // What a terminal killed during 0003 leaves: the server's copy, the mark
    // naming a connection that is gone, the first part of the script.
    const QString copy = SafeMigration::backupFile(s);
    servidor::backup(s, copy);
    other->executeSQL(QStringLiteral("insert into KVO_SCHEMA_VERSION (VERSION, NAME) values (0, :N)"),
                      {{QStringLiteral("N"), QStringLiteral("atualizando;%1;%2").arg(vivo + 100000).arg(copy)}});
    other->executeSQL(QStringLiteral("alter table A add X integer"));
    other.reset();

    const SchemaUpdateReport r = SafeMigration(s, folder("v3")).run();
    EXPECT_EQ(r.avisos.size(), 1);
    EXPECT_EQ(r.version, 3);
    Database db(s);
    db.open();
    EXPECT_EQ(db.scalar(QStringLiteral("select X from A where ID = 1")).toInt(), 7);
    EXPECT_TRUE(db.scalar(QStringLiteral("select NAME from KVO_SCHEMA_VERSION where VERSION = 0")).isNull());
}
