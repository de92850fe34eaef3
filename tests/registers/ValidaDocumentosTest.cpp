#include "registers/ValidaDocumentos.h"

#include <gtest/gtest.h>

using namespace kvo::documentos;

TEST(ValidaDocumentos, CpfAndCnpjCheckDigits) {
    EXPECT_TRUE(cpfValido(QStringLiteral("123.456.789-09")));
    EXPECT_TRUE(cpfValido(QStringLiteral("52998224725")));
    EXPECT_FALSE(cpfValido(QStringLiteral("123.456.789-08")));   // second digit wrong
    EXPECT_FALSE(cpfValido(QStringLiteral("123.456.789-19")));   // first digit wrong
    EXPECT_FALSE(cpfValido(QStringLiteral("111.111.111-11")));   // passes the arithmetic, not a CPF
    EXPECT_FALSE(cpfValido(QStringLiteral("1234567890")));
    EXPECT_TRUE(cnpjValido(QStringLiteral("11.222.333/0001-81")));
    EXPECT_TRUE(cnpjValido(QStringLiteral("11444777000161")));
    EXPECT_FALSE(cnpjValido(QStringLiteral("11.222.333/0001-82")));
    EXPECT_FALSE(cnpjValido(QStringLiteral("11.222.333/0001-91")));
    EXPECT_FALSE(cnpjValido(QStringLiteral("00000000000000")));
    EXPECT_FALSE(cnpjValido(QStringLiteral("123.456.789-09"))); // a CPF is not a CNPJ

    EXPECT_EQ(formatarCpfCnpj(QStringLiteral("52998224725")), u"529.982.247-25");
    EXPECT_EQ(formatarCpfCnpj(QStringLiteral("11444777000161")), u"11.444.777/0001-61");
    EXPECT_EQ(formatarCpfCnpj(QStringLiteral("12345")), u"12345");
}

TEST(ValidaDocumentos, StatesRegistrationsAndBarcodes) {
    for (const char* uf : {"AC", "DF", "SP", "TO", "RS"})
        EXPECT_TRUE(ufValida(QString::fromLatin1(uf))) << uf;
    for (const char* uf : {"", "XX", "sp", "EX", "SPP"})
        EXPECT_FALSE(ufValida(QString::fromLatin1(uf))) << uf;

    EXPECT_TRUE(ieValida(QStringLiteral("ISENTO")));
    EXPECT_TRUE(ieValida(QStringLiteral("isento")));
    EXPECT_TRUE(ieValida(QStringLiteral("244.123.456.119")));
    EXPECT_FALSE(ieValida(QStringLiteral("24412A")));
    EXPECT_FALSE(ieValida(QStringLiteral("1")));
    EXPECT_FALSE(ieValida(QStringLiteral("123456789012345")));

    EXPECT_TRUE(codigoBarrasValido(QStringLiteral("4006381333931")));
    EXPECT_TRUE(codigoBarrasValido(QStringLiteral("7891000315507")));
    EXPECT_TRUE(codigoBarrasValido(QStringLiteral("73513537")));
    EXPECT_FALSE(codigoBarrasValido(QStringLiteral("4006381333932")));
    EXPECT_FALSE(codigoBarrasValido(QStringLiteral("400638133393")));
    EXPECT_FALSE(codigoBarrasValido(QStringLiteral("40063813339A1")));
}
