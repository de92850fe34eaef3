#include "framework/db/RecordSet.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;
using Status = RecordSet::UpdateStatus;

namespace {

class ApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("create table GRUPO (CODGRUPO integer not null primary key, GRU_NOME varchar(30))"));
        t->executeSQL(QStringLiteral("create table ITEM (CODITEM integer not null primary key, CODGRUPO integer, "
                                     "ITE_NOME varchar(40), ITE_PRECO numeric(18,4), ITE_OBS blob sub_type text)"));
        t->executeSQL(QStringLiteral("insert into GRUPO values (1, 'BEBIDAS')"));
        for (int i = 1; i <= 3; ++i)
            t->executeSQL(QStringLiteral("insert into ITEM (CODITEM, CODGRUPO, ITE_NOME, ITE_PRECO) values (%1, 1, 'ITEM %1', %1.5)").arg(i));
    }
    std::unique_ptr<RecordSet> openItems(Database& db) {
        auto rs = std::make_unique<RecordSet>(db);
        rs->setCommandText(QStringLiteral("select i.*, g.GRU_NOME from ITEM i left join GRUPO g on g.CODGRUPO = i.CODGRUPO "
                                          "order by i.CODITEM"));
        rs->setUpdateTable(QStringLiteral("ITEM"));
        rs->open();
        return rs;
    }
    QString nameInDb(int id) {
        return t->scalar(QStringLiteral("select ITE_NOME from ITEM where CODITEM = :ID"), {{QStringLiteral("ID"), id}}).toString();
    }
    test::TestDatabase t;
};

} // namespace

TEST_F(ApplyTest, StatusMarksRowsUntilApplyWritesThemInOneGo) {
    auto rs = openItems(t.db());
    rs->first();
    rs->edit();
    rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("O'Brien"));
    rs->field(QStringLiteral("GRU_NOME")).setValue(QStringLiteral("joined, never written"));
    rs->post();
    EXPECT_EQ(rs->updateStatus(), Status::Modified);
    rs->next();
    rs->remove();
    rs->append();
    rs->field(QStringLiteral("CODITEM")).setValue(10);
    rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("NOVO"));
    rs->field(QStringLiteral("ITE_PRECO")).setValue(QStringLiteral("0,35"));
    rs->field(QStringLiteral("ITE_OBS")).setValue(QStringLiteral("sem gelo"));
    rs->post();
    EXPECT_EQ(rs->updateStatus(), Status::Inserted);
    EXPECT_EQ(rs->changeCount(), 3);
    EXPECT_EQ(nameInDb(1), u"ITEM 1"); // nothing written before apply

    EXPECT_EQ(rs->applyUpdates(0), 0);
    EXPECT_EQ(rs->changeCount(), 0);
    EXPECT_EQ(rs->updateStatus(), Status::Unmodified);
    EXPECT_EQ(nameInDb(1), u"O'Brien");
    EXPECT_TRUE(nameInDb(2).isEmpty());
    EXPECT_EQ(nameInDb(10), u"NOVO");
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select ITE_PRECO from ITEM where CODITEM = 10")).toString(), u"0.3500");
    EXPECT_EQ(t->scalar(QStringLiteral("select ITE_OBS from ITEM where CODITEM = 10")).toString(), u"sem gelo");
    EXPECT_EQ(t->scalar(QStringLiteral("select GRU_NOME from GRUPO")).toString(), u"BEBIDAS");

    rs->refresh();
    EXPECT_EQ(rs->recordCount(), 3);
}

TEST_F(ApplyTest, AFailedApplyWritesNothingAndKeepsThePendingRows) {
    auto rs = openItems(t.db());
    rs->first();
    rs->edit();
    rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("MUDOU"));
    rs->post();
    rs->append();
    rs->field(QStringLiteral("CODITEM")).setValue(3); // duplicate key
    rs->post();
    EXPECT_THROW(rs->applyUpdates(0), DatabaseError);
    EXPECT_EQ(nameInDb(1), u"ITEM 1"); // rolled back with the failing insert
    EXPECT_EQ(rs->changeCount(), 2);

    // With room for one error the good row goes in and the bad one waits.
    EXPECT_EQ(rs->applyUpdates(1), 1);
    EXPECT_EQ(nameInDb(1), u"MUDOU");
    EXPECT_EQ(rs->changeCount(), 1);
    ASSERT_EQ(rs->lastApplyErrors().size(), 1);
    EXPECT_FALSE(rs->lastApplyErrors().first().sql.isEmpty());
}

TEST_F(ApplyTest, RowsAppliedInsideATransactionThatRollsBackArePendingAgain) {
    // A master and its children saved together: the second apply fails, so
    // the first one's rows were never written and must be written on retry.
    auto itens = openItems(t.db());
    itens->first();
    itens->edit();
    itens->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("MUDOU"));
    itens->post();
    itens->last();
    itens->remove();
    auto grupos = MontarDataSet(t.db(), QStringLiteral("GRUPO"), QStringLiteral("1"), 1);
    grupos->setKeyFields({QStringLiteral("CODGRUPO")});
    grupos->append();
    grupos->field(QStringLiteral("CODGRUPO")).setValue(1); // duplicate key
    grupos->post();
    try {
        Transaction tx(t.db());
        itens->applyUpdates(0);
        EXPECT_EQ(itens->changeCount(), 0);
        grupos->applyUpdates(0);
        tx.commit();
        FAIL();
    } catch (const DatabaseError&) {
    }
    EXPECT_EQ(nameInDb(1), u"ITEM 1");
    EXPECT_EQ(itens->changeCount(), 2); // the edit and the delete wait again

    grupos->cancelUpdates();
    {
        Transaction tx(t.db());
        itens->applyUpdates(0);
        tx.commit();
    }
    EXPECT_EQ(nameInDb(1), u"MUDOU");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from ITEM")).toInt(), 2);
    EXPECT_EQ(itens->changeCount(), 0);
}

TEST_F(ApplyTest, AnotherTerminalsChangeIsReportedNotOverwritten) {
    auto other = t.connectAgain(); // a second terminal
    auto mine = openItems(t.db());
    auto theirs = openItems(*other);

    theirs->first();
    theirs->edit();
    theirs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("DELES"));
    theirs->post();
    theirs->applyUpdates(0);

    mine->first();
    mine->edit();
    mine->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("MEU"));
    mine->post();
    try {
        mine->applyUpdates(0);
        FAIL() << "the stale row was written";
    } catch (const ConcurrentChangeError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("alterado por outro terminal"))) << e.what();
    }
    EXPECT_EQ(nameInDb(1), u"DELES");
    EXPECT_EQ(mine->updateStatus(), Status::Modified); // still pending: nothing lost silently

    // A change to another column of the same row does not conflict.
    mine->cancelUpdates();
    mine->refresh();
    mine->first();
    mine->edit();
    mine->field(QStringLiteral("ITE_PRECO")).setValue(7);
    mine->post();
    EXPECT_EQ(mine->applyUpdates(0), 0);

    // A row deleted meanwhile.
    theirs->refresh();
    theirs->last();
    theirs->remove();
    theirs->applyUpdates(0);
    mine->last();
    mine->edit();
    mine->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("X"));
    mine->post();
    EXPECT_THROW(mine->applyUpdates(0), ConcurrentChangeError);
}

// A row locked by a save that committed after this terminal began is a lock
// conflict (worth saving again), told apart from a row found changed.
TEST_F(ApplyTest, ALockConflictKeepsItsKindAndARowFoundChangedDoesNot) {
    auto outro = t.connectAgain();
    {
        Transaction lendo(*outro); // began before the other save
        auto rs = openItems(*outro);
        t->executeSQL(QStringLiteral("update ITEM set ITE_PRECO = 9 where CODITEM = 1"));
        rs->first();
        rs->edit();
        rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("OUTRO NOME"));
        rs->post();
        try {
            rs->applyUpdates(0);
            FAIL() << "a locked row was written";
        } catch (const ConcurrentChangeError& e) {
            EXPECT_EQ(e.kind(), DatabaseError::Kind::LockConflict) << e.what();
            EXPECT_TRUE(e.message().startsWith(u"Este registro foi alterado por outro terminal")) << e.what();
        }
    }
    auto rs = openItems(*outro);
    t->executeSQL(QStringLiteral("update ITEM set ITE_NOME = 'MUDOU' where CODITEM = 1"));
    rs->first();
    rs->edit();
    rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("OUTRO NOME"));
    rs->post();
    try {
        rs->applyUpdates(0);
        FAIL() << "a row changed elsewhere was overwritten";
    } catch (const ConcurrentChangeError& e) {
        EXPECT_NE(e.kind(), DatabaseError::Kind::LockConflict) << e.what();
    }
    EXPECT_EQ(nameInDb(1), u"MUDOU");
}

// A refused row keeps the kind of its failure (a key already taken, here).
TEST_F(ApplyTest, ARefusedRowKeepsTheKindOfItsFailure) {
    auto rs = openItems(t.db());
    rs->append();
    rs->field(QStringLiteral("CODITEM")).setValue(1); // taken
    rs->field(QStringLiteral("ITE_NOME")).setValue(QStringLiteral("REPETIDO"));
    rs->post();
    try {
        rs->applyUpdates(0);
        FAIL() << "a taken key was written";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DatabaseError::Kind::UniqueKey) << e.what();
    }
    EXPECT_EQ(rs->updateStatus(), Status::Inserted); // still pending
}
