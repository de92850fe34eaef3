// Terminals sharing one database through a Firebird server on loopback
// (started by scripts/test; skipped when no server was started).
#include "framework/db/RecordSet.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "support/TestDatabase.h"

#include <QFile>

#include <set>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

class MultiTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::testServer())
            GTEST_SKIP() << "KVO_TEST_SERVER not set: run through scripts/test";
        path = test::copyOfTemplate();
        a = std::make_unique<Database>(test::serverSettings(path));
        b = std::make_unique<Database>(test::serverSettings(path));
        a->open();
        b->open();
        a->executeSQL(QStringLiteral("create table MESA (CODMESA integer not null primary key, MES_STATUS varchar(10), "
                                     "MES_TOTAL numeric(18,4))"));
        a->executeSQL(QStringLiteral("create generator GEN_MESA"));
        a->executeSQL(QStringLiteral("insert into MESA values (1, 'LIVRE', 0)"));
    }
    void TearDown() override {
        a.reset();
        b.reset();
        if (!path.isEmpty())
            QFile::remove(path);
    }
    std::unique_ptr<RecordSet> mesas(Database& db) {
        auto rs = std::make_unique<RecordSet>(db);
        rs->setCommandText(QStringLiteral("select * from MESA"));
        rs->setUpdateTable(QStringLiteral("MESA"));
        rs->open();
        return rs;
    }
    QString path;
    std::unique_ptr<Database> a, b;
};

} // namespace

TEST_F(MultiTerminal, SecondApplyOnTheSameRowIsRefusedAndTheFirstSurvives) {
    EXPECT_FALSE(a->settings().isEmbedded());
    auto first = mesas(*a);
    auto second = mesas(*b);
    first->edit();
    first->field(QStringLiteral("MES_STATUS")).setValue(QStringLiteral("EM USO"));
    first->post();
    second->edit();
    second->field(QStringLiteral("MES_STATUS")).setValue(QStringLiteral("RESERVADA"));
    second->post();

    EXPECT_EQ(first->applyUpdates(0), 0);
    try {
        second->applyUpdates(0);
        FAIL() << "second terminal overwrote the first";
    } catch (const ConcurrentChangeError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Este registro foi alterado por outro terminal"))) << e.what();
    }
    EXPECT_EQ(b->scalar(QStringLiteral("select MES_STATUS from MESA")).toString(), u"EM USO");
}

TEST_F(MultiTerminal, ARowReadWhileAnotherTerminalWasSavingIsStale) {
    Transaction saving(*a); // terminal A is in the middle of its own save
    a->executeSQL(QStringLiteral("update MESA set MES_TOTAL = 10 where CODMESA = 1"));
    auto second = mesas(*b); // B still sees the committed total, 0
    EXPECT_TRUE(second->field(QStringLiteral("MES_TOTAL")).asCurrency().isZero());
    saving.commit();
    second->edit();
    second->field(QStringLiteral("MES_TOTAL")).setValue(20);
    second->post();
    EXPECT_THROW(second->applyUpdates(0), ConcurrentChangeError);
    EXPECT_EQ(test::scalarMoney(*b, QStringLiteral("select MES_TOTAL from MESA")), Currency(10));
}

TEST_F(MultiTerminal, GeneratorValuesNeverRepeatAcrossTerminals) {
    std::set<qint64> seen;
    for (int i = 0; i < 200; ++i) {
        Database& db = i % 3 == 0 ? *b : *a;
        Transaction tx(db); // even inside transactions that roll back
        EXPECT_TRUE(seen.insert(db.getGeneretor(QStringLiteral("GEN_MESA"))).second);
    }
    EXPECT_EQ(seen.size(), 200u);
}

// The database decides: B had checked and seen no open cash register when A's opening was written.
TEST_F(MultiTerminal, TwoTerminalsOpeningTheCashRegisterAtOnceOpenItOnce) {
    TdmCaixaAbertura caixaA(*a), caixaB(*b);
    const QDate hoje(2026, 12, 6);
    int codigo = 0;
    {
        Transaction abrindo(*b);
        EXPECT_FALSE(caixaB.caixaAberto().has_value());
        codigo = caixaA.abrir(hoje, Currency(), QStringLiteral("ana"));
        EXPECT_GT(codigo, 0);
        try {
            caixaB.abrir(hoje, Currency(), QStringLiteral("bia"));
            FAIL() << "both terminals opened the cash register";
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Já existe um caixa aberto"))) << e.message().toStdString();
        }
    }
    EXPECT_EQ(b->scalar(QStringLiteral("select count(*) from CAIXA_ABERTURA where CXA_STATUS = 'ABERTO'")).toInt(), 1);
    EXPECT_EQ(caixaB.verificarCaixaAberto(false), codigo);
    try {
        caixaB.abrir(hoje, Currency(), QStringLiteral("bia"));
        FAIL() << "opened twice";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), u"Já existe um caixa aberto (06/12/2026, aberto por ana).");
    }
    // Once closed, the next opening is free again.
    caixaA.fechar(Currency());
    EXPECT_GT(caixaB.abrir(hoje.addDays(1), Currency(), QStringLiteral("bia")), codigo);
    EXPECT_EQ(caixaA.getDataAbertura(false), hoje.addDays(1));
}

// Two terminals starting at once both register their configuration keys: the
// one that finds the key added meanwhile by the other must not fail.
TEST_F(MultiTerminal, TwoTerminalsRegisteringTheSameKeyAtOnceBothStart) {
    Transaction tx(*b);
    b->scalar(QStringLiteral("select count(*) from CONFIGURACAO")); // b's snapshot starts here
    TdmConfiguracao(*a).verificaConfiguracao(QStringLiteral("Geral"), QStringLiteral("X.NOVA"), QStringLiteral("TXT"),
                                             QStringLiteral("A"), QStringLiteral("chave nova"));
    EXPECT_NO_THROW(TdmConfiguracao(*b).verificaConfiguracao(QStringLiteral("Geral"), QStringLiteral("X.NOVA"),
                                                             QStringLiteral("TXT"), QStringLiteral("B"),
                                                             QStringLiteral("chave nova")));
    tx.commit();
    EXPECT_EQ(a->scalar(QStringLiteral("select CFG_VALOR from CONFIGURACAO where CFG_CHAVE = 'X.NOVA'")).toString(),
              QStringLiteral("A"));
}
