#include "framework/db/DatabaseError.h"
#include "framework/db/SelectList.h"
#include "framework/db/SqlText.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace kvo;

TEST(SqlText, QuotesDoubleEmbeddedQuotes) {
    EXPECT_EQ(quotedStr(QStringLiteral("O'Brien")), u"'O''Brien'");
    EXPECT_EQ(quotedStr(QStringLiteral("' or '1'='1")), u"''' or ''1''=''1'");
    EXPECT_EQ(quotedStr(QString()), u"''");
}

TEST(SqlText, LiteralsInTheFirebirdForms) {
    EXPECT_EQ(sqlLiteral(QVariant()), u"NULL");
    EXPECT_EQ(sqlLiteral(42), u"42");
    EXPECT_EQ(sqlLiteral(QVariant::fromValue(Currency::fromString(u"-1234.5"))), u"-1234.5000");
    EXPECT_EQ(sqlLiteral(QDate(2026, 12, 6)), u"'06.12.2026'");
    EXPECT_EQ(sqlLiteral(QDateTime(QDate(2026, 12, 6), QTime(8, 9, 10))), u"'06.12.2026 08:09:10'");
    EXPECT_EQ(sqlLiteral(QStringLiteral("a'b")), u"'a''b'");
    EXPECT_THROW(sqlLiteral(1.5), DatabaseError); // money never travels as double
}

TEST(SqlText, IdentifiersCannotCarryStatements) {
    EXPECT_EQ(sqlIdentifier(QStringLiteral("gen_res_pedido")), u"GEN_RES_PEDIDO");
    EXPECT_THROW(sqlIdentifier(QStringLiteral("GEN_X, 1) from rdb$database; drop table X --")), DatabaseError);
    EXPECT_THROW(sqlIdentifier(QStringLiteral("")), DatabaseError);
    EXPECT_THROW(sqlIdentifier(QStringLiteral("1ABC")), DatabaseError);
}

TEST(SelectList, ColumnsWithTheirAliasesInOrder) {
    const auto c = selectColumns(QStringLiteral(
        "select first 10 skip 2 PES_NOME as TRA_NOME, p.CODPESSOA, coalesce(a, 'x, y') NOME_2, "
        "case when A = 1 then 'S' else 'N' end, B || ' ' || C as \"Junto\", cast(D as varchar(10)) from PESSOA p "
        "where exists (select 1 from X)"));
    ASSERT_EQ(c.size(), 6);
    EXPECT_EQ(c[0].expression, u"PES_NOME");
    EXPECT_EQ(c[0].alias, u"TRA_NOME");
    EXPECT_EQ(c[1].expression, u"p.CODPESSOA");
    EXPECT_TRUE(c[1].alias.isEmpty());
    EXPECT_EQ(c[2].expression, u"coalesce(a, 'x, y')"); // the comma in quotes does not split
    EXPECT_EQ(c[2].alias, u"NOME_2");
    EXPECT_EQ(c[3].expression, u"case when A = 1 then 'S' else 'N' end"); // "end" is no alias
    EXPECT_TRUE(c[3].alias.isEmpty());
    EXPECT_EQ(c[4].expression, u"B || ' ' || C");
    EXPECT_EQ(c[5].expression, u"cast(D as varchar(10))");
    EXPECT_TRUE(c[5].alias.isEmpty());

    const QString sql = QStringLiteral("select distinct CFOP_TIPO as NFV_TIPO, CODCFOP from CFOP");
    EXPECT_EQ(columnExpression(sql, QStringLiteral("nfv_tipo")), u"CFOP_TIPO");
    EXPECT_EQ(columnExpression(sql, QStringLiteral("CODCFOP")), u"CODCFOP");
    EXPECT_TRUE(selectColumns(QStringLiteral("update X set A = 1")).isEmpty());
}
