#include "core/Clock.h"
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

// The digest of a row is the MD5 of its text with the digest column empty, so
// it can be checked against the row as the database holds it.
static std::string digestGuardadoConfere(Database& db, const QString& tabela, const QString& chave, int codigo,
                                     const QString& colunaDigest) {
    const QString onde = QStringLiteral(" where %1 = %2").arg(chave).arg(codigo);
    const QString guardado = db.scalar(QStringLiteral("select %1 from %2").arg(colunaDigest, tabela) + onde).toString();
    db.executeSQL(QStringLiteral("update %1 set %2 = null").arg(tabela, colunaDigest) + onde);
    auto linha = db.query(QStringLiteral("select * from ") + tabela + onde);
    const QString conferido = TdmPAF().md5Registro(*linha);
    return guardado == conferido ? std::string() : QString(guardado + QStringLiteral(" <> ") + conferido).toStdString();
}

TEST_F(FiscalServices, CancellingStampsTheDigestOfTheCancelledRow) {
    t->executeSQL(QStringLiteral("update PREVENDA set PREV_MD5 = 'digest do pre-venda ainda aberto'"));
    t->executeSQL(QStringLiteral("insert into DAV (CODDAV, CODPESSOA, DAV_STATUS, DAV_TOTAL, DAV_MD5) "
                                 "values (3, 1, 'ABERTO', 10, 'digest do dav ainda aberto')"));
    TdmPreVenda pv(t.db());
    pv.cancelaPreVenda(5);
    EXPECT_EQ(t->scalar(QStringLiteral("select PREV_STATUS from PREVENDA where CODPREVENDA = 5")).toString(), u"CANCELADO");
    EXPECT_EQ(digestGuardadoConfere(t.db(), QStringLiteral("PREVENDA"), QStringLiteral("CODPREVENDA"), 5,
                                    QStringLiteral("PREV_MD5")),
              "");

    TdmDav dav(t.db());
    dav.cancelaDav(3);
    EXPECT_EQ(t->scalar(QStringLiteral("select DAV_STATUS from DAV where CODDAV = 3")).toString(), u"FINALIZADO");
    EXPECT_EQ(digestGuardadoConfere(t.db(), QStringLiteral("DAV"), QStringLiteral("CODDAV"), 3, QStringLiteral("DAV_MD5")),
              "");
}

TEST_F(FiscalServices, NewDocumentsAndItemsTakeKeysNumbersAndTheirMoment) {
    FixedClock relogio(QDateTime(QDate(2026, 12, 6), QTime(10, 30)));
    t->executeSQL(QStringLiteral("update PRODUTO set PRO_LOCALIZACAO = 'A-3' where CODPRODUTO = 1"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_UNIDADE (CODPRODUTOUNIDADE, CODPRODUTO, PROU_SIGLA, PROU_QTDE, "
                                 "PROU_PRINCIPAL) values (40, 1, 'KG', 1, 'S')"));
    t->executeSQL(QStringLiteral("set generator GEN_DAV to 70"));
    TdmDav dav(t.db());
    dav.CarregarDav(0);
    dav.cabecalho().append();
    EXPECT_EQ(dav.cabecalho().field(QStringLiteral("CODDAV")).asInteger(), 71);
    EXPECT_EQ(dav.cabecalho().field(QStringLiteral("DAV_STATUS")).asString(), u"ABERTO");
    dav.cabecalho().field(QStringLiteral("CODPESSOA")).setValue(1);
    dav.cabecalho().post();
    dav.cabecalho().applyUpdates(0);
    for (int i = 0; i < 2; ++i) {
        dav.itens().append();
        dav.itens().field(QStringLiteral("CODPRODUTO")).setValue(1);
        dav.itens().post();
    }
    EXPECT_EQ(dav.itens().applyUpdates(0), 0); // no failures
    auto itens = t->query(QStringLiteral("select CODDAV, DAVI_ITEM, DAVI_DT_CAD, CODDAVITEM from DAV_ITEM order by DAVI_ITEM"));
    ASSERT_EQ(itens->recordCount(), 2);
    EXPECT_EQ(itens->field(0).asInteger(), 71);
    EXPECT_EQ(itens->field(1).asInteger(), 1);
    EXPECT_EQ(itens->field(2).asDateTime(), QDateTime(QDate(2026, 12, 6), QTime(10, 30)));
    const qint64 primeiraChave = itens->field(3).asInteger();
    itens->next();
    EXPECT_EQ(itens->field(1).asInteger(), 2);
    EXPECT_NE(itens->field(3).asInteger(), primeiraChave);

    dav.CarregarDav(71); // what the screens and the A5 print show of each item and of the customer
    EXPECT_EQ(dav.cabecalho().field(QStringLiteral("PES_NOME")).asString(), u"Consumidor");
    EXPECT_EQ(dav.itens().field(QStringLiteral("PRO_LOCALIZACAO")).asString(), u"A-3");
    EXPECT_EQ(dav.itens().field(QStringLiteral("PROU_SIGLA")).asString(), u"KG");
    EXPECT_EQ(dav.itens().field(QStringLiteral("PRO_ALIQ_IMP")).asString(), u"18");
}
