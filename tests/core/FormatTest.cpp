#include "core/Format.h"

#include <gtest/gtest.h>

using kvo::Currency;
using kvo::formatFloat;

namespace {
Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }
} // namespace

TEST(FormatFloat, MoneyMasksUseBrazilianSeparators) {
    EXPECT_EQ(formatFloat(u",0.00", c("1234.5")), u"1.234,50");
    EXPECT_EQ(formatFloat(u",0.00", c("-0.5")), u"-0,50");
    EXPECT_EQ(formatFloat(u",0.00", c("0")), u"0,00");
    EXPECT_EQ(formatFloat(u",0.00", c("1234567.891")), u"1.234.567,89");
    EXPECT_EQ(formatFloat(u"###,##0.00", c("999.995")), u"1.000,00"); // display rounds half up
    EXPECT_EQ(formatFloat(u"###,##0.000", c("12.3456")), u"12,346");
    EXPECT_EQ(formatFloat(u"###,##0.00", c("-0.001")), u"0,00"); // no "-0,00"
    EXPECT_EQ(formatFloat(u"R$ ,0.00", c("5")), u"R$ 5,00");
    EXPECT_EQ(formatFloat(u"0.##", c("2.5")), u"2,5");
}

TEST(FormatFloat, ZeroPaddedIntegers) {
    EXPECT_EQ(formatFloat(u"0000", qint64(7)), u"0007");
    EXPECT_EQ(formatFloat(u"00000", qint64(123)), u"00123");
    EXPECT_EQ(formatFloat(u"000", qint64(4567)), u"4567");
    EXPECT_EQ(formatFloat(u"00", qint64(3)), u"03");
}

TEST(FormatN, WidthAndDecimals) {
    EXPECT_EQ(kvo::formatN(u"%8.3n", c("1.5")), u"   1,500");
    EXPECT_EQ(kvo::formatN(u"%9.2n", c("1234.5")), u" 1.234,50");
    EXPECT_EQ(kvo::formatN(u"%8.2n", c("12345678")), u"12.345.678,00"); // never cut
}

TEST(FormatDateTime, PatternsOfTheSystem) {
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 4));
    EXPECT_EQ(kvo::formatDateTime(u"dd/mm/yyyy hh:nn:ss", t), u"07/03/2026 09:05:04");
    EXPECT_EQ(kvo::formatDateTime(u"yyyymmdd_hhnnss", t), u"20260307_090504");
    EXPECT_EQ(kvo::formatDateTime(u"yymmddnn", t), u"26030705");
    EXPECT_EQ(kvo::formatDateTime(u"hh:mm:ss", t), u"09:05:04"); // mm after hh = minutes
    EXPECT_EQ(kvo::sqlDate(t.date()), u"'07.03.2026'");
    EXPECT_EQ(kvo::sqlTimestamp(t), u"'07.03.2026 09:05:04'");
    EXPECT_EQ(kvo::sqlNumber(c("-12.5")), u"-12.5000");
}

TEST(RemChrStrToCurr, TypedAmounts) {
    EXPECT_EQ(kvo::RemChrStrToCurr(u"1.234,50"), c("1234.50"));
    EXPECT_EQ(kvo::RemChrStrToCurr(u"R$ 10,5"), c("10.5"));
    EXPECT_EQ(kvo::RemChrStrToCurr(u"-3"), c("-3"));
    EXPECT_EQ(kvo::RemChrStrToCurr(u"0,12345"), c("0.1234")); // half to even at the 5th decimal
    EXPECT_EQ(kvo::RemChrStrToCurr(u""), Currency());
    EXPECT_EQ(kvo::RemChrStrToCurr(u"abc"), Currency());
}
