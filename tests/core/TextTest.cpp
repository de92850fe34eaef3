#include "core/Text.h"

#include <gtest/gtest.h>

TEST(Text, PaddingCutsOrFillsToTheWidth) {
    EXPECT_EQ(kvo::PadL(QStringLiteral("12"), 5, u'0'), u"00012");
    EXPECT_EQ(kvo::PadR(QStringLiteral("ab"), 4), u"ab  ");
    EXPECT_EQ(kvo::PadC(QStringLiteral("ab"), 5, u'*'), u"*ab**");
    EXPECT_EQ(kvo::PadR(QStringLiteral("abcdef"), 3), u"abc");
    EXPECT_EQ(kvo::PadL(QStringLiteral("abcdef"), 3), u"abc");
    EXPECT_EQ(kvo::PadC(QStringLiteral("x"), 0), u"");
    EXPECT_EQ(kvo::Formatar(QStringLiteral("ab"), 4, false), u"  ab");
    EXPECT_EQ(kvo::Formatar(QStringLiteral("ab"), 4, true, u'.'), u"ab..");
}

TEST(Text, AccentsAndDigits) {
    EXPECT_EQ(kvo::RemoverAcentos(QStringLiteral("Ação São João Pé Órgão Ü ª º")), u"Acao Sao Joao Pe Orgao U a o");
    EXPECT_EQ(kvo::OnlyNumber(QStringLiteral("12.345.678/0001-90")), u"12345678000190");
}

TEST(Text, Md5IsThirtyTwoHexDigits) {
    EXPECT_EQ(kvo::MD5FromString(QString()), u"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(kvo::MD5FromString(QStringLiteral("abc")), u"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(kvo::MD5FromString(QStringLiteral("ação")).size(), 32);
}
