#include "framework/db/RecordSet.h"
#include "framework/db/SqlText.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;
using kvo::test::TestDatabase;

namespace {
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.db().executeSQL(QStringLiteral("create table CLIENTE (ID integer not null primary key, NOME varchar(60), "
                                         "SALDO numeric(18,4), NASC date)"));
        t.db().executeSQL(QStringLiteral("create generator GEN_CLIENTE"));
    }
    TestDatabase t;
};
} // namespace

TEST_F(DatabaseTest, HostileTextStaysAHarmlessString) {
    const QStringList texts = {QStringLiteral("O'Brien"), QStringLiteral("' or '1'='1"),
                               QStringLiteral("x'); delete from CLIENTE; --"), QStringLiteral("João ç ã")};
    int id = 0;
    for (const QString& text : texts) {
        ++id;
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID, NOME) values (%1, %2)").arg(id).arg(quotedStr(text)));
        ++id;
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID, NOME) values (:ID, :NOME)"),
                      {{QStringLiteral("ID"), id}, {QStringLiteral("NOME"), text}});
    }
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE")).toInt(), 8);
    for (const QString& text : texts) {
        // Looked up by the text itself: a condition built from it matches only that row.
        EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE where NOME = ") + quotedStr(text)).toInt(), 2)
            << text.toStdString();
        EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE where NOME = :N"), {{QStringLiteral("N"), text}})
                      .toInt(),
                  2);
    }
    auto rs = t->query(QStringLiteral("select NOME from CLIENTE order by ID"));
    EXPECT_EQ(rs->field(QStringLiteral("NOME")).asString(), u"O'Brien");
}

TEST_F(DatabaseTest, ErrorsCarryTheDatabaseMessageAndTheStatement) {
    const QString sql = QStringLiteral("insert into NAO_EXISTE values (1)");
    try {
        t->executeSQL(sql);
        FAIL() << "no error raised";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NAO_EXISTE"))) << e.message().toStdString();
        EXPECT_EQ(e.sql(), sql);
    }
    EXPECT_THROW(t->executeSQL(QStringLiteral("insert into CLIENTE (ID) values (1)")); t->executeSQL(QStringLiteral("insert into CLIENTE (ID) values (1)")), DatabaseError);
}

// The driver reports text lengths in bytes of the connection's character set
// (Qt 6's driver always connects in UTF8, whatever the connection file asks),
// while a legacy database may keep its text in a one-byte set: a VARCHAR(60)
// takes 60 characters, accents included, in either kind of column.
TEST_F(DatabaseTest, TextFieldsHoldTheirDeclaredCharactersWhateverTheCharacterSet) {
    t->executeSQL(QStringLiteral("create table LEGADO (ID integer not null primary key, "
                                 "NOME varchar(60) character set WIN1252, CIDADE varchar(60) character set ISO8859_1)"));
    const QString texto = QString(QStringLiteral("Ação é")).repeated(10); // 60 characters with accents
    ASSERT_EQ(texto.size(), 60);
    int id = 0;
    for (const char* charset : {"UTF8", "WIN1252"}) {
        ConnectionSettings settings = t->settings();
        settings.charset = QString::fromLatin1(charset);
        Database db(settings);
        db.open();
        for (const QString& tabela : {QStringLiteral("CLIENTE"), QStringLiteral("LEGADO")}) {
            RecordSet rs(db);
            rs.setCommandText(QStringLiteral("select ID, NOME from ") + tabela);
            rs.setUpdateTable(tabela);
            rs.setKeyFields({QStringLiteral("ID")});
            rs.open();
            EXPECT_EQ(rs.field(QStringLiteral("NOME")).size(), 60) << charset << " " << tabela.toStdString();
            rs.append();
            rs.field(QStringLiteral("ID")).setValue(++id);
            rs.field(QStringLiteral("NOME")).setValue(texto);
            rs.post();
            EXPECT_EQ(rs.field(QStringLiteral("NOME")).asString(), texto) << charset; // nothing cut
            rs.applyUpdates(0);
            // ...and stored as those characters, as every other terminal reads them.
            EXPECT_EQ(t->scalar(QStringLiteral("select NOME from %1 where ID = :I").arg(tabela), {{QStringLiteral("I"), id}})
                          .toString(),
                      texto)
                << charset << " " << tabela.toStdString();
        }
    }
}

// Exact up to 2^39 (about 549 billion): the driver carries scaled numerics
// through a double, whose step there is still below half a ten-thousandth.
TEST_F(DatabaseTest, MoneyRoundTripsExactly) {
    const QStringList amounts = {QStringLiteral("0.0001"), QStringLiteral("-57.3500"), QStringLiteral("123456789012.3456"),
                                 QStringLiteral("0.1000"), QStringLiteral("549755813887.9999")};
    for (int i = 0; i < amounts.size(); ++i)
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID, SALDO) values (:ID, :S)"),
                      {{QStringLiteral("ID"), i}, {QStringLiteral("S"), QVariant::fromValue(Currency::fromString(amounts[i]))}});
    auto rs = t->query(QStringLiteral("select ID, SALDO from CLIENTE order by ID"));
    for (int i = 0; i < amounts.size(); ++i, rs->next())
        EXPECT_EQ(rs->field(QStringLiteral("SALDO")).asCurrency().toString(), amounts[i]);
    EXPECT_EQ(rs->field(QStringLiteral("SALDO")).type(), FieldType::Currency);
}

// Column descriptions are kept per statement text: a second open must see
// the same types, and a schema change made here must show at once.
TEST_F(DatabaseTest, ColumnsFollowTheSchemaAcrossRepeatedOpens) {
    t->executeSQL(QStringLiteral("insert into CLIENTE (ID, SALDO) values (1, 2.5)"));
    const QString sql = QStringLiteral("select * from CLIENTE");
    for (int vez = 0; vez < 2; ++vez) {
        auto rs = t->query(sql);
        ASSERT_EQ(rs->fieldCount(), 4);
        EXPECT_EQ(rs->field(QStringLiteral("SALDO")).type(), FieldType::Currency);
        EXPECT_EQ(rs->field(QStringLiteral("SALDO")).asCurrency().toString(), QStringLiteral("2.5000"));
        EXPECT_EQ(rs->field(QStringLiteral("NOME")).size(), 60);
    }
    t->executeSQL(QStringLiteral("-- a script's comment\nalter table CLIENTE add LIMITE numeric(15,2)"));
    t->executeSQL(QStringLiteral("/* another */ alter table CLIENTE alter NOME type varchar(80)"));
    auto rs = t->query(sql);
    ASSERT_EQ(rs->fieldCount(), 5);
    EXPECT_EQ(rs->field(QStringLiteral("LIMITE")).type(), FieldType::Currency);
    EXPECT_EQ(rs->field(QStringLiteral("NOME")).size(), 80);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select SALDO from CLIENTE")), Currency::fromString(QStringLiteral("2.5")));
}

TEST_F(DatabaseTest, GeneratorsAndTransactions) {
    const qint64 a = t->getGeneretor(QStringLiteral("GEN_CLIENTE"));
    EXPECT_EQ(t->getGeneretor(QStringLiteral("gen_cliente")), a + 1);
    EXPECT_THROW(t->getGeneretor(QStringLiteral("GEN_CLIENTE, 1) from rdb$database --")), DatabaseError);
    {
        Transaction tx(t.db());
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID) values (1)"));
    } // not committed: rolled back
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE")).toInt(), 0);
    {
        Transaction outer(t.db());
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID) values (2)"));
        { Transaction inner(t.db()); } // an inner scope gave up...
        EXPECT_THROW(outer.commit(), DatabaseError); // ...so the outer cannot commit half of it
    }
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE")).toInt(), 0);
    {
        Transaction tx(t.db());
        t->executeSQL(QStringLiteral("insert into CLIENTE (ID) values (3)"));
        tx.commit();
    }
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CLIENTE")).toInt(), 1);
}

TEST(ConnectionSettings, TargetsAndFiles) {
    auto s = ConnectionSettings::fromTarget(QStringLiteral("servidor/3051:/dados/kvo.fdb"));
    EXPECT_EQ(s.host, u"servidor");
    EXPECT_EQ(s.port, 3051);
    EXPECT_EQ(s.path, u"/dados/kvo.fdb");
    s = ConnectionSettings::fromTarget(QStringLiteral("10.0.0.5:C:\\KVO\\KVO.FDB"));
    EXPECT_EQ(s.host, u"10.0.0.5");
    EXPECT_EQ(s.path, u"C:\\KVO\\KVO.FDB");
    s = ConnectionSettings::fromTarget(QStringLiteral("C:\\KVO\\KVO.FDB"));
    EXPECT_TRUE(s.isEmbedded());

    const QString folder = kvo::test::scratchFolder() + QStringLiteral("/conn");
    QDir().mkpath(folder);
    EXPECT_FALSE(ConnectionSettings::findConnectionFile(folder));
    EXPECT_THROW(ConnectionSettings::readFile(folder + QStringLiteral("/KVOGestao.ini")), DatabaseError);
    ConnectionSettings w;
    w.path = QStringLiteral("dados/KVO.FDB");
    w.writeFile(folder + QStringLiteral("/database.ini"));
    const auto found = ConnectionSettings::findConnectionFile(folder);
    ASSERT_TRUE(found);
    const auto r = ConnectionSettings::readFile(*found);
    EXPECT_EQ(r.path, folder + QStringLiteral("/dados/KVO.FDB")); // relative to the file
    EXPECT_TRUE(r.isEmbedded());
}

TEST(DatabaseCreate, RefusesToOverwriteAndReportsMissingFiles) {
    ConnectionSettings s;
    s.path = kvo::test::copyOfTemplate();
    EXPECT_THROW(Database::create(s), DatabaseError);
    s.path = kvo::test::scratchFolder() + QStringLiteral("/nao/existe.fdb");
    Database db(s);
    try {
        db.open();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Banco de dados não encontrado"))) << e.what();
    }
}
