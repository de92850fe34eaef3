#include "core/Currency.h"

#include <gtest/gtest.h>

using kvo::Currency;

namespace {
Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }
} // namespace

TEST(Currency, PercentagesRoundUpToTheNextCent) {
    EXPECT_EQ((c("57.35") * c("10") / c("100")).roundUp2(), c("5.74"));
    EXPECT_EQ((c("100.00") * c("10") / c("100")).roundUp2(), c("10.00"));
    EXPECT_EQ(c("5.7301").roundUp2(), c("5.74"));
    EXPECT_EQ(c("-5.735").roundUp2(), c("-5.73")); // upwards means towards +infinity
}

TEST(Currency, FourDecimalRoundingIsHalfToEven) {
    EXPECT_EQ(c("2.00005"), c("2.0000"));
    EXPECT_EQ(c("2.00015"), c("2.0002"));
    EXPECT_EQ(c("-2.00015"), c("-2.0002"));
    EXPECT_EQ(c("2.000051"), c("2.0001")); // above the half goes up
    // A product with more than four decimals: 0.0001 * 0.5 = 0.00005 -> 0.0000
    EXPECT_EQ(c("0.0001") * c("0.5"), Currency());
    EXPECT_EQ(c("0.0003") * c("0.5"), c("0.0002"));
    EXPECT_EQ(c("10") / c("3"), c("3.3333"));
    EXPECT_EQ(c("-20") / c("3"), c("-6.6667"));
}

TEST(Currency, TwoDecimalRoundingForNfeIsHalfToEven) {
    EXPECT_EQ(c("3.335").roundTo2Even(), c("3.34"));
    EXPECT_EQ(c("3.325").roundTo2Even(), c("3.32"));
    EXPECT_EQ(c("3.3251").roundTo2Even(), c("3.33"));
    EXPECT_EQ(c("-3.335").roundTo2Even(), c("-3.34"));
}

TEST(Currency, ParsingAndPrinting) {
    EXPECT_EQ(c("1234.5").toString(), QStringLiteral("1234.5000"));
    EXPECT_EQ(c("-0.5").toString(2), QStringLiteral("-0.50"));
    EXPECT_EQ(c("0.125").toString(2), QStringLiteral("0.12"));
    EXPECT_EQ(c("+7").raw(), 70000);
    EXPECT_FALSE(Currency::parse(u"1,5"));
    EXPECT_FALSE(Currency::parse(u"1.2.3"));
    EXPECT_FALSE(Currency::parse(u""));
    EXPECT_FALSE(Currency::parse(u"99999999999999999999999"));
    EXPECT_THROW(Currency::fromString(u"abc"), std::invalid_argument);
    EXPECT_THROW(c("1") / Currency(), std::domain_error);
}

TEST(Currency, LargeAmountsKeepEveryCent) {
    // 900 billion with cents survives a multiply by one and a sum.
    const Currency big = c("900000000000.37");
    EXPECT_EQ((big * c("1")).toString(2), QStringLiteral("900000000000.37"));
    EXPECT_EQ((big + c("0.01")).toString(2), QStringLiteral("900000000000.38"));
}
