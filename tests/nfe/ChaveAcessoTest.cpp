#include "nfe/ChaveAcesso.h"

#include <gtest/gtest.h>

using namespace kvo::nfe;

TEST(ChaveAcesso, CheckDigitOfKnownKeys)
{
    // The national manual's example key and keys worked out by hand, including
    // remainders 0 and 1 (both give digit 0).
    EXPECT_EQ(Modulo11(QStringLiteral("5206043300991100250655012000000780026730161")), 5);
    EXPECT_EQ(Modulo11(QStringLiteral("3526121122233300018155001000000123100000123")), 8);
    EXPECT_EQ(Modulo11(QStringLiteral("3526121122233300018155001000000123100000001")), 0);
    EXPECT_EQ(Modulo11(QStringLiteral("3526121122233300018155001000000123100000007")), 0);
    EXPECT_EQ(Modulo11(QStringLiteral("2912120000000000000055999999999999999999999")), 9);
}

TEST(ChaveAcesso, BuildsTheKeyFromItsParts)
{
    EXPECT_EQ(GerarChaveAcesso(35, QDate(2026, 12, 6), QStringLiteral("11.222.333/0001-81"), 1, 1231, 1, 123),
              QStringLiteral("NFe35261211222333000181550010000012311000001230"));
    EXPECT_EQ(GerarChaveAcesso(52, QDate(2006, 4, 1), QStringLiteral("33009911002506"), 12, 780, 0, 26730161),
              QStringLiteral("NFe52060433009911002506550120000007800267301615"));
    // Series 0, the first number and a one-digit cNF are zero-filled: always 44 digits.
    const QString key = GerarChaveAcesso(11, QDate(2030, 1, 31), QStringLiteral("191"), 0, 1, 9, 1, 65);
    EXPECT_EQ(key.size(), 47);
    EXPECT_EQ(key, QStringLiteral("NFe11300100000000000191650000000000019000000019"));
}

TEST(ChaveAcesso, RejectsPartsThatDoNotFit)
{
    const QDate d(2026, 12, 6);
    const QString cnpj = QStringLiteral("11222333000181");
    EXPECT_THROW(GerarChaveAcesso(35, d, cnpj, 1000, 1, 1, 1), std::invalid_argument);
    EXPECT_THROW(GerarChaveAcesso(35, d, cnpj, 1, 1000000000, 1, 1), std::invalid_argument);
    EXPECT_THROW(GerarChaveAcesso(35, d, cnpj, 1, 1, 1, 100000000), std::invalid_argument);
    EXPECT_THROW(GerarChaveAcesso(35, d, QStringLiteral("112223330001810"), 1, 1, 1, 1), std::invalid_argument);
    EXPECT_THROW(GerarChaveAcesso(35, QDate(), cnpj, 1, 1, 1, 1), std::invalid_argument);
}

TEST(ChaveAcesso, ValidationCatchesAnyChangedDigit)
{
    const QString key = QStringLiteral("35261211222333000181550010000012311000001230");
    EXPECT_TRUE(ChaveValida(key));
    EXPECT_TRUE(ChaveValida(QStringLiteral("NFe") + key));
    for (int i = 0; i < 44; ++i) {
        QString changed = key;
        changed[i] = QChar(u'0' + (key.at(i).digitValue() + 1) % 10);
        EXPECT_FALSE(ChaveValida(changed)) << i;
    }
    EXPECT_FALSE(ChaveValida(key.left(43)));
    EXPECT_FALSE(ChaveValida(key.left(43) + u'x'));
}

TEST(ChaveAcesso, StateCodes)
{
    EXPECT_EQ(UFparaCodigo(QStringLiteral("SP")), 35);
    EXPECT_EQ(UFparaCodigo(QStringLiteral(" ba")), 29);
    EXPECT_EQ(UFparaCodigo(QStringLiteral("DF")), 53);
    EXPECT_EQ(UFparaCodigo(QStringLiteral("EX")), 0);
    EXPECT_EQ(CodigoParaUF(43), QStringLiteral("RS"));
    EXPECT_EQ(TpEmisToStr(9), QStringLiteral("9"));
    EXPECT_EQ(OnlyNumber(QStringLiteral("NFe3526-12")), QStringLiteral("352612"));
}
