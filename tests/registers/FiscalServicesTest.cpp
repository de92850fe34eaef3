#include "devices/FiscalPrinter.h"
#include "framework/ui/UserInterface.h"
#include "registers/DECF.h"
#include "registers/DPreVenda.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }

class FiscalServices : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME) values (1, 'Consumidor')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_ST_TRIB, PRO_ALIQ_IMP) "
                                     "values (1, '10', 'CAFE', 'T', '18')"));
        t->executeSQL(QStringLiteral("insert into PREVENDA (CODPREVENDA, CODPESSOA, PREV_STATUS, PREV_DESCONTO, PREV_ACRESCIMO) "
                                     "values (5, 1, 'ABERTO', 1, 0.5)"));
        const char* itens[] = {"(1, 5, 1, '10', 2, 0, 4.5, 9, 1, 'N')", "(2, 5, 1, '10', 1, 0, 4.5, 4.5, 2, 'S')",
                               "(3, 5, 1, '10', 3, 0.3, 4.5, 13.2, 3, 'N')"};
        for (const char* i : itens)
            t->executeSQL(QStringLiteral("insert into PREVENDA_ITEM (CODPREVENDAITEM, CODPREVENDA, CODPRODUTO, CODPESQ, PREVI_QTDE, "
                                         "PREVI_DESCONTO, PREVI_VLRUNIT, PREVI_TOTAL, PREVI_ITEM, PREVI_CANCELADO) values ") +
                          QString::fromLatin1(i));
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
};
} // namespace

TEST_F(FiscalServices, PreSaleLoadsTotalsAndCancelsOnce) {
    TdmPreVenda pv(t.db());
    pv.CarregarPreVenda(5);
    ASSERT_EQ(pv.itens().recordCount(), 3);
    EXPECT_EQ(pv.itens().field(QStringLiteral("PRO_DESCRICAO")).asString(), u"CAFE");
    pv.calculaTotal();
    EXPECT_EQ(pv.cabecalho().field(QStringLiteral("PREV_TOTALPROD")).asCurrency(), c("22.2")); // cancelled item left out
    EXPECT_EQ(pv.cabecalho().field(QStringLiteral("PREV_TOTAL")).asCurrency(), c("21.7"));
    pv.cabecalho().applyUpdates(0);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PREV_TOTAL from PREVENDA where CODPREVENDA = 5")), c("21.7"));

    pv.cancelaPreVenda(5);
    EXPECT_EQ(t->scalar(QStringLiteral("select PREV_STATUS from PREVENDA where CODPREVENDA = 5")).toString(), u"CANCELADO");
    EXPECT_THROW(pv.cancelaPreVenda(5), Abort); // already cancelled: nothing happens twice
    pv.CarregarPreVenda(0);
    EXPECT_TRUE(pv.cabecalho().isEmpty());

    TdmDav dav(t.db());
    t->executeSQL(QStringLiteral("insert into DAV (CODDAV, DAV_STATUS) values (3, 'ABERTO')"));
    dav.cancelaDav(3);
    EXPECT_EQ(t->scalar(QStringLiteral("select DAV_STATUS from DAV where CODDAV = 3")).toString(), u"FINALIZADO");
}

TEST_F(FiscalServices, FiscalPrinterFollowsTheSaleParameters) {
    const QString pasta = test::scratchFolder() + QStringLiteral("/ecf-") +
                          QString::number(QDateTime::currentMSecsSinceEpoch());
    {
        TdmECF semEcf(t.db(), pasta);
        EXPECT_FALSE(semEcf.Ativo());
        EXPECT_THROW(semEcf.ecf(), Abort);
        EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Impressora (ECF) não disponível!")));
    }
    EXPECT_EQ(t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_ECF = 'S'")), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select PARV_ECF from PAR_VENDA where CODPARVENDA = 1")).toString(), u"S");
    QString coo;
    {
        TdmECF ecf(t.db(), pasta);
        ASSERT_TRUE(ecf.Ativo()) << ecf.motivoInativo().toStdString();
        ecf.ecf().RelatorioGerencial({QStringLiteral("CONFERENCIA DE MESA"), QStringLiteral("MESA 1")}, 1, 1);
        coo = ecf.ecf().NumCupom();
    }
    TdmECF denovo(t.db(), pasta); // the printer's memory is kept between sessions
    EXPECT_EQ(denovo.ecf().NumCupom(), coo);
    EXPECT_FALSE(QDir(pasta + QStringLiteral("/impressao")).entryList(QDir::Files).isEmpty());

    TdmPreVenda pv(t.db());
    pv.CarregarPreVenda(5);
    TdmPAF paf;
    const QString md5 = paf.md5Registro(pv.cabecalho());
    EXPECT_EQ(md5.size(), 32);
    EXPECT_EQ(md5, paf.md5Registro(pv.cabecalho()));
    pv.cabecalho().edit();
    pv.cabecalho().field(QStringLiteral("PREV_COO")).setValue(12);
    EXPECT_NE(paf.md5Registro(pv.cabecalho()), md5);
}
