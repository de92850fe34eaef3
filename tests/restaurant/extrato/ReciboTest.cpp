// The receipt of a paid instalment. How the golden file was written: see
// ExtratoMesaTest.cpp.
#include "ExtratoFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class Recibo : public ExtratoFixture {
protected:
    void baixa(int chave, const QString& nome, const char* valor) {
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CPFCNPJ) values (:c, :n, "
                                     "'123.456.789-09')"),
                      {{QStringLiteral("c"), chave}, {QStringLiteral("n"), nome}});
        t->executeSQL(QStringLiteral("insert into CONTAS (CODCONTA, CODPESSOA, CON_NUMDOC, CON_PARCELA, "
                                     "CON_NUMDOC_BOLETO, CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, CON_SALDO) values "
                                     "(%1, %1, 'NF-1234', '2', 'CARNE-77', '06.12.2026', %2, %2, 0)")
                          .arg(chave)
                          .arg(QString::fromLatin1(valor)));
        t->executeSQL(QStringLiteral("insert into CONTAS_BAIXAS (CODCONTABAIXA, CODCONTA, COBX_DTPAG, COBX_VLRPAGO) "
                                     "values (%1, %1, '06.12.2026', %2)")
                          .arg(chave)
                          .arg(QString::fromLatin1(valor)));
    }
};

TEST_F(Recibo, ReceiptOfAPaidInstalmentEqualsItsGoldenFile) {
    baixa(31, QStringLiteral("MARIA DA SILVA"), "1234.56");
    arquivo("finalextrato.txt", "OBRIGADO!\n");
    rel->reciboContaBaixa(31);
    ASSERT_EQ(preview.mostrados.size(), 1);
    EXPECT_TRUE(igualAoGolden(preview.mostrados[0], "recibo.txt"));
    EXPECT_FALSE(preview.alteracaoOferecida[0]);
}

// Mended: the name beyond 120 characters and the amount in words beyond 117
// were cut; now they go on in lines of 40.
TEST_F(Recibo, LongNameAndAmountGoOnInLinesOf40) {
    const QString nome = QString(40, u'A') + QString(40, u'B') + QString(15, u'C');
    baixa(32, nome, "777777.77");
    const QStringList l = rel->textoRecibo(32);
    qsizetype i = l.indexOf(QStringLiteral("=> ") + QString(40, u'A'));
    ASSERT_GE(i, 0);
    EXPECT_EQ(l.value(i + 1), QString(40, u'B'));
    EXPECT_EQ(l.value(i + 2), QString(15, u'C'));
    EXPECT_EQ(l.value(i + 3), u"CPF: 123.456.789-09");

    i = l.indexOf(QStringLiteral("A IMPORTANCIA DE:"));
    ASSERT_GE(i, 0);
    QString valor = l.value(i + 1).mid(3);
    for (qsizetype n = i + 2; !l.value(n).startsWith(QLatin1String("DATA DO PAGAMENTO")); ++n) {
        EXPECT_LE(l.value(n).size(), 40);
        valor += l.value(n);
    }
    EXPECT_EQ(valor, QStringLiteral("R$  777.777,77 (setecentos e setenta e sete mil setecentos e setenta e sete reais "
                                    "e setenta e sete centavos)"));
}

TEST_F(Recibo, UnknownPaymentGivesEmptyTextsAndZero) {
    const QStringList l = rel->textoRecibo(999);
    EXPECT_TRUE(l.contains(QStringLiteral("=> ")));
    EXPECT_TRUE(l.contains(QStringLiteral("=> R$  0,00 (zero reais)")));
    EXPECT_TRUE(l.contains(QStringLiteral("NUM.DOC:  - PARCELA: ")));
}

} // namespace
