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

TEST(Migrator, SubgroupsKeepTheirCodesWhenTheyMoveToTheTouchScreensTable) {
    // A shop's database as it stood before the move.
    const QString antes = kvo::test::scratchFolder() + QStringLiteral("/migracoes-ate-9");
    QDir().mkpath(antes);
    for (const QFileInfo& f : QDir(QStringLiteral(":/kvo/migrations")).entryInfoList({QStringLiteral("*.sql")})) {
        if (f.fileName().left(4).toInt() <= 9) {
            ASSERT_TRUE(QFile::copy(f.filePath(), antes + u'/' + f.fileName()));
        }
    }
    ConnectionSettings s;
    s.path = kvo::test::scratchFolder() + QStringLiteral("/loja-antiga.fdb");
    Database::create(s);
    Database db(s);
    db.open();
    Migrator(db, antes).migrate();
    db.executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (1, 'Pizzas')"));
    db.executeSQL(QStringLiteral("insert into PRODUTO_SUBGRUPO (CODPRODUTOSUBGRUPO, CODPRODUTOGRUPO, PROS_DESCRICAO, PROS_ORDEM) "
                                 "values (7, 1, 'Doces', 2)"));
    db.executeSQL(QStringLiteral("alter sequence GEN_PRODUTO_SUBGRUPO restart with 7"));
    db.executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, CODPRODUTOGRUPO, "
                                 "CODPRODUTOSUBGRUPO) values (1, 'BAN', 'Pizza de banana', 1, 7)"));
    db.executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (2, 'COMBO', 'Combo')"));
    db.executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (1, 2, 1, 1)"));

    ASSERT_EQ(Migrator(db).migrate(), Migrator(db).latestVersion() - 9);
    EXPECT_EQ(db.scalar(QStringLiteral("select CODPRODUTOGRUPOSUBGRP from PRODUTO where CODPRODUTO = 1")).toInt(), 7);
    EXPECT_EQ(db.scalar(QStringLiteral("select PROGS_DESCRICAO || '/' || PROGS_ORDEM from PRODUTO_GRUPO_SUBGRP")).toString(),
              u"Doces/2");
    EXPECT_EQ(db.getGeneretor(QStringLiteral("GEN_PRODUTO_GRUPO_SUBGRP")), 8);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'PRODUTO_SUBGRUPO'")).toInt(),
              0);
    // The composition flag was set for what existed and follows what changes.
    EXPECT_EQ(db.scalar(QStringLiteral("select list(PRO_COMPOSTO) from (select PRO_COMPOSTO from PRODUTO order by CODPRODUTO)")).toString(), u"N,S");
    db.executeSQL(QStringLiteral("delete from PRODUTO_COMPOSICAO"));
    EXPECT_EQ(db.scalar(QStringLiteral("select PRO_COMPOSTO from PRODUTO where CODPRODUTO = 2")).toString(), u"N");
    db.executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (2, 1, 2, 1)"));
    EXPECT_EQ(db.scalar(QStringLiteral("select PRO_COMPOSTO from PRODUTO where CODPRODUTO = 1")).toString(), u"S");
}
