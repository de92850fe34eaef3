#include "framework/db/RecordSet.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

namespace {

Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }

// An invoice-like item list, in memory.
class MemoryRecordSet : public ::testing::Test {
protected:
    void SetUp() override {
        rs.addField(QStringLiteral("ID"), FieldType::Integer);
        rs.addField(QStringLiteral("PRODUTO"), FieldType::String, 10).setRequired(true).setDisplayLabel(QStringLiteral("Produto"));
        rs.addField(QStringLiteral("QTDE"), FieldType::Currency);
        rs.addField(QStringLiteral("UNIT"), FieldType::Currency);
        rs.addField(QStringLiteral("TOTAL"), FieldType::Currency, 0, FieldKind::Calculated);
        rs.onCalcFields = [](RecordSet& r) {
            r.field(QStringLiteral("TOTAL")).setValue(QVariant::fromValue(r.field(QStringLiteral("QTDE")).asCurrency() *
                                                                          r.field(QStringLiteral("UNIT")).asCurrency()));
        };
        rs.open();
        add(3, "CAFE", "2", "4.50");
        add(1, "PAO", "10", "0.75");
        add(2, "AGUA", "1", "3");
    }
    void add(int id, const char* produto, const char* qtde, const char* unit) {
        rs.append();
        rs.field(QStringLiteral("ID")).setValue(id);
        rs.field(QStringLiteral("PRODUTO")).setValue(QString::fromLatin1(produto));
        rs.field(QStringLiteral("QTDE")).setValue(QString::fromLatin1(qtde));
        rs.field(QStringLiteral("UNIT")).setValue(QString::fromLatin1(unit));
        rs.post();
    }
    QString produto() const { return rs.field(QStringLiteral("PRODUTO")).asString(); }
    RecordSet rs;
};

} // namespace

TEST_F(MemoryRecordSet, NavigationLocateAndBookmarks) {
    EXPECT_EQ(rs.recordCount(), 3);
    rs.first();
    EXPECT_EQ(produto(), u"CAFE");
    EXPECT_FALSE(rs.eof());
    QStringList seen;
    for (rs.first(); !rs.eof(); rs.next())
        seen << produto();
    EXPECT_EQ(seen, QStringList({QStringLiteral("CAFE"), QStringLiteral("PAO"), QStringLiteral("AGUA")}));
    EXPECT_EQ(produto(), u"AGUA"); // next() past the end stays on the last row

    EXPECT_TRUE(rs.locate(QStringLiteral("ID"), 1));
    EXPECT_EQ(produto(), u"PAO");
    const auto mark = rs.bookmark();
    EXPECT_FALSE(rs.locate(QStringLiteral("ID"), 99));
    EXPECT_EQ(produto(), u"PAO"); // a failed locate does not move
    EXPECT_TRUE(rs.locate({QStringLiteral("PRODUTO")}, {QStringLiteral("ag")}, true, true));
    EXPECT_EQ(produto(), u"AGUA");
    EXPECT_TRUE(rs.gotoBookmark(mark));
    EXPECT_EQ(produto(), u"PAO");
    {
        DisableControls guard(rs);
        rs.first();
        EXPECT_EQ(produto(), u"CAFE");
    }
    EXPECT_EQ(produto(), u"PAO"); // the guard put the cursor back
}

TEST_F(MemoryRecordSet, OrderingFiltersAndCalculatedFields) {
    rs.setIndexFieldNames(QStringLiteral("PRODUTO"));
    rs.first();
    EXPECT_EQ(produto(), u"AGUA");
    rs.setIndexFieldNames(QStringLiteral("UNIT"));
    rs.last();
    EXPECT_EQ(produto(), u"CAFE");
    rs.setFilter([](const RowView& row) { return row.value(QStringLiteral("TOTAL")).value<Currency>() > Currency(5); });
    EXPECT_EQ(rs.recordCount(), 2);
    rs.clearFilter();
    EXPECT_EQ(rs.recordCount(), 3);

    ASSERT_TRUE(rs.locate(QStringLiteral("ID"), 3));
    EXPECT_EQ(rs.field(QStringLiteral("TOTAL")).asCurrency(), c("9"));
    rs.edit();
    rs.field(QStringLiteral("QTDE")).setValue(QStringLiteral("3"));
    EXPECT_EQ(rs.field(QStringLiteral("TOTAL")).asCurrency(), c("13.5")); // recalculated while editing
    rs.post();
    EXPECT_EQ(rs.field(QStringLiteral("TOTAL")).displayText(), u"13,50");
}

TEST_F(MemoryRecordSet, RefusedValuesKeepTheOldOneAndTheEditState) {
    test::ScriptedUi ui;
    QStringList changes;
    Field& qtde = rs.field(QStringLiteral("QTDE"));
    qtde.onValidate = [](Field& f) {
        if (f.asCurrency() <= Currency())
            Error(QStringLiteral("Quantidade deve ser maior que zero!"));
    };
    qtde.onChange = [&](Field& f) { changes << f.asString(); };
    rs.first();
    rs.edit();
    EXPECT_THROW(qtde.setValue(QStringLiteral("0")), Abort);
    EXPECT_EQ(qtde.asCurrency(), c("2"));
    EXPECT_EQ(rs.state(), RecordSet::State::Edit);
    EXPECT_EQ(ui.lastMessage(), u"Quantidade deve ser maior que zero!");
    EXPECT_TRUE(changes.isEmpty());

    qtde.setValue(QStringLiteral("5"));
    EXPECT_EQ(changes, QStringList{QStringLiteral("5")});
    qtde.setValueSilently(QVariant::fromValue(Currency())); // no validation, no reaction
    EXPECT_TRUE(qtde.asCurrency().isZero());
    EXPECT_EQ(changes.size(), 1);
    rs.cancel();
    EXPECT_EQ(qtde.asCurrency(), c("2"));

    EXPECT_THROW(rs.field(QStringLiteral("ID")).setValue(7), DatabaseError); // not in edit
    rs.edit();
    EXPECT_THROW(rs.field(QStringLiteral("ID")).setValue(QStringLiteral("abc")), DatabaseError);
    EXPECT_EQ(rs.field(QStringLiteral("ID")).asInteger(), 3);
}

TEST_F(MemoryRecordSet, NewRecordHookRequiredFieldsAndDeletes) {
    rs.onNewRecord = [](RecordSet& r) { r.field(QStringLiteral("QTDE")).setValue(1); };
    rs.append();
    EXPECT_EQ(rs.field(QStringLiteral("QTDE")).asCurrency(), c("1"));
    try {
        rs.post();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), u"O campo Produto deve ser informado.");
    }
    EXPECT_EQ(rs.state(), RecordSet::State::Insert);
    rs.field(QStringLiteral("PRODUTO")).setValue(QStringLiteral("REFRIGERANTE LATA")); // cut to the size
    rs.post();
    EXPECT_EQ(produto(), u"REFRIGERAN");
    EXPECT_EQ(rs.recordCount(), 4);

    rs.beforeDelete = [](RecordSet& r) {
        if (r.field(QStringLiteral("PRODUTO")).asString() == QStringLiteral("PAO"))
            throw DatabaseError(QStringLiteral("Item já enviado para a cozinha"));
    };
    ASSERT_TRUE(rs.locate(QStringLiteral("ID"), 1));
    EXPECT_THROW(rs.remove(), DatabaseError);
    EXPECT_EQ(rs.recordCount(), 4);
    ASSERT_TRUE(rs.locate(QStringLiteral("ID"), 2));
    rs.remove();
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_FALSE(rs.locate(QStringLiteral("ID"), 2));
}

TEST(RecordSetQuery, FieldsParametersAndMontarDataSet) {
    test::TestDatabase t;
    t->executeSQL(QStringLiteral("insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_UF) values (1, 'A', 'SP')"));
    t->executeSQL(QStringLiteral("insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_UF) values (2, 'B', 'RJ')"));
    RecordSet rs(t.db());
    rs.setCommandText(QStringLiteral("select CODEMPRESA, PARG_EMPRESA from PAR_GERAL where PARG_UF = :UF"));
    rs.setParam(QStringLiteral("UF"), QStringLiteral("RJ"));
    rs.open();
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("PARG_EMPRESA")).asString(), u"B");
    EXPECT_EQ(rs.field(QStringLiteral("CODEMPRESA")).type(), FieldType::Integer);
    EXPECT_EQ(rs.field(QStringLiteral("PARG_EMPRESA")).size(), 100);
    EXPECT_THROW(rs.field(QStringLiteral("NAO_HA")), DatabaseError);

    auto all = MontarDataSet(t.db(), QStringLiteral("PAR_GERAL"), QStringLiteral("1"), QStringLiteral("1"),
                             QStringLiteral("CODEMPRESA, PARG_UF"), QStringLiteral("CODEMPRESA"));
    EXPECT_EQ(all->recordCount(), 2);
    EXPECT_EQ(all->fieldCount(), 2);
    auto one = MontarDataSet(t.db(), QStringLiteral("PAR_GERAL"), QStringLiteral("PARG_EMPRESA"), QStringLiteral("A' or '1'='1"));
    EXPECT_EQ(one->recordCount(), 0); // the value is a value, not SQL
    EXPECT_THROW(MontarDataSet(t.db(), QStringLiteral("PAR_GERAL; drop table X"), QStringLiteral("A"), 1), DatabaseError);
}

TEST(RecordSetQuery, ColumnsOfTheSameNameKeepTheirOwnValues) {
    test::TestDatabase t;
    auto rs = t->query(QStringLiteral("select trim(' a '), trim(' b '), 'c' as X, 'd' as X from RDB$DATABASE"));
    ASSERT_EQ(rs->fieldCount(), 4);
    EXPECT_EQ(rs->field(1).asString(), u"b");
    EXPECT_EQ(rs->field(3).asString(), u"d");
    EXPECT_EQ(rs->field(QStringLiteral("X_1")).asString(), u"d"); // the second of a name is told apart
    rs->refresh();
    EXPECT_EQ(rs->field(1).asString(), u"b");
}
