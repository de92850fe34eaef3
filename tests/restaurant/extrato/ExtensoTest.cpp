// Amounts in Portuguese words for the receipts.
#include "restaurant/extrato/Extenso.h"

#include <gtest/gtest.h>

using kvo::Currency;
using kvo::valorPorExtenso;

namespace {

QString extenso(const char* valor) { return valorPorExtenso(Currency::fromString(QString::fromLatin1(valor))); }

TEST(Extenso, UnitsCentsAndTheirSingulars) {
    EXPECT_EQ(extenso("0"), u"zero reais");
    EXPECT_EQ(extenso("0.01"), u"um centavo");
    EXPECT_EQ(extenso("1"), u"um real");
    EXPECT_EQ(extenso("1.01"), u"um real e um centavo");
    EXPECT_EQ(extenso("2.5"), u"dois reais e cinquenta centavos");
    EXPECT_EQ(extenso("17.99"), u"dezessete reais e noventa e nove centavos");
    EXPECT_EQ(extenso("0.005"), u"zero reais"); // half a cent rounds to the even cent
}

TEST(Extenso, HundredsAndThousandsJoinAsPortugueseDoes) {
    EXPECT_EQ(extenso("100"), u"cem reais");
    EXPECT_EQ(extenso("101"), u"cento e um reais");
    EXPECT_EQ(extenso("115"), u"cento e quinze reais");
    EXPECT_EQ(extenso("1000"), u"mil reais");
    EXPECT_EQ(extenso("1001"), u"mil e um reais");
    EXPECT_EQ(extenso("1100"), u"mil e cem reais");
    EXPECT_EQ(extenso("1234.56"), u"mil duzentos e trinta e quatro reais e cinquenta e seis centavos");
    EXPECT_EQ(extenso("21000"), u"vinte e um mil reais");
    EXPECT_EQ(extenso("999999.99"),
              u"novecentos e noventa e nove mil novecentos e noventa e nove reais e noventa e nove centavos");
}

TEST(Extenso, MillionsTakeDeBeforeReais) {
    EXPECT_EQ(extenso("1000000"), u"um milhão de reais");
    EXPECT_EQ(extenso("2500000"), u"dois milhões e quinhentos mil reais");
    EXPECT_EQ(extenso("1000010"), u"um milhão e dez reais");
    EXPECT_EQ(extenso("3000000000"), u"três bilhões de reais");
    EXPECT_EQ(extenso("-3"), u"menos três reais");
}

} // namespace
