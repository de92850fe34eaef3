#include "framework/db/DatabaseError.h"
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
