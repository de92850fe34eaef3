// The invoice arithmetic: item total, discount and taxes, service lines and
// header totals, with their rounding.
#include "NFVendaFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class NFVendaTotais : public NFVendaFixture {
protected:
    void SetUp() override { novaNotaSP(); }
    void item3a10(const char* aliqIpi = "10") {
        itemManual("3", "10", "18");
        noItem("NFVI_ALIQ_IPI", QString::fromLatin1(aliqIpi));
    }
};
} // namespace

TEST_F(NFVendaTotais, PercentDiscountLeavesTheIcmsOnTheGrossBase) {
    item3a10();
    noItem("NFVI_PERDESC", QStringLiteral("10"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), Currency(3));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(27));
    EXPECT_EQ(valor(item(), "NFVI_IPI"), Currency(3)); // on 30.00, before the discount
    EXPECT_EQ(valor(item(), "NFVI_ICMS"), c("5.40"));
}

TEST_F(NFVendaTotais, ValueDiscountReducesTheIcms) {
    item3a10();
    noItem("NFVI_VLRDESC", QStringLiteral("3"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(27));
    EXPECT_EQ(valor(item(), "NFVI_ICMS"), c("4.86"));
    EXPECT_EQ(valor(item(), "NFVI_IPI"), Currency(3));
}

TEST_F(NFVendaTotais, IcmsIsNeverNegative) {
    item3a10();
    noItem("NFVI_VLRDESC", QStringLiteral("45"));
    EXPECT_TRUE(valor(item(), "NFVI_ICMS").isZero());
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(-15));
}

TEST_F(NFVendaTotais, TypedIpiStaysWhenQuantityOrPriceChange) {
    item3a10();
    noItem("NFVI_ALTERAR_IPI", QStringLiteral("S"));
    noItem("NFVI_IPI", QStringLiteral("1,23"));
    noItem("NFVI_QTDE", QStringLiteral("5"));
    noItem("NFVI_VLR_UNITARIO", QStringLiteral("11"));
    EXPECT_EQ(valor(item(), "NFVI_IPI"), c("1.23"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(55));
}

TEST_F(NFVendaTotais, PisAndCofinsOnTheirBases) {
    item3a10();
    noItem("NFVI_PIS_PER", QStringLiteral("1,65"));
    noItem("NFVI_COFINS_PER", QStringLiteral("7,6"));
    EXPECT_EQ(valor(item(), "NFVI_PIS_VLR"), c("0.495"));
    EXPECT_EQ(valor(item(), "NFVI_COFINS_VLR"), c("2.28"));
    noItem("NFVI_PIS_BC", QStringLiteral("20"));
    EXPECT_EQ(valor(item(), "NFVI_PIS_VLR"), c("0.33"));
}

// Products and quotients are rounded once, halves to the even neighbour.
TEST_F(NFVendaTotais, HalvesAtTheFifthDecimalGoToEven) {
    itemManual("1", "0.0001", "0");
    noItem("NFVI_QTDE", QStringLiteral("0.5"));     // 0.00005 -> 0.0000
    EXPECT_TRUE(valor(item(), "NFVI_TOTAL").isZero());
    noItem("NFVI_QTDE", QStringLiteral("1.5"));     // 0.00015 -> 0.0002
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("0.0002"));
    noItem("NFVI_VLR_UNITARIO", QStringLiteral("0.0003")); // 0.00045 -> 0.0004
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("0.0004"));
    // The percent discount rounds quantity x price x percent once: 3 x 0.0005 x 10 % = 0.00015 -> 0.0002.
    noItem("NFVI_QTDE", QStringLiteral("3"));
    noItem("NFVI_VLR_UNITARIO", QStringLiteral("0.0005"));
    noItem("NFVI_PERDESC", QStringLiteral("10"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), c("0.0002"));
    // ICMS: 0.0025 x 18 % = 0.00045 -> 0.0004 (a half rounded up would give 0.0005).
    noItem("NFVI_QTDE", QStringLiteral("1"));
    noItem("NFVI_VLR_UNITARIO", QStringLiteral("0.0025"));
    noItem("NFVI_ALIQ_ICMS", QStringLiteral("18"));
    EXPECT_EQ(valor(item(), "NFVI_ICMS"), c("0.0004"));
}

TEST_F(NFVendaTotais, HeaderSumsItemsAndFreightByType) {
    item3a10();
    dm().gravarItem();
    itemManual("2", "5", "0");
    noItem("NFVI_SUBST_BC", QStringLiteral("10.001"));
    noItem("NFVI_SUBST_VLR", QStringLiteral("1.2301"));
    dm().gravarItem();
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_PRODUTOS"), Currency(40));
    EXPECT_EQ(valor(cab(), "NFV_ICMS_BASE"), Currency(30)); // the item without ICMS adds no base
    EXPECT_EQ(valor(cab(), "NFV_ICMS"), c("5.4"));
    EXPECT_EQ(valor(cab(), "NFV_IPI"), Currency(3));
    EXPECT_EQ(valor(cab(), "NFV_ICMS_SUBST_BASE"), c("10.01")); // rounded up to the cent
    EXPECT_EQ(valor(cab(), "NFV_ICMS_SUBST"), c("1.24"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), c("44.24"));
    cabecalho("NFV_FRETE", QStringLiteral("10"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), c("54.24")); // FOB: the customer pays the freight in the invoice
    cabecalho("NFV_TP_FRETE", QStringLiteral("CIF"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), c("44.24"));
    cabecalho("NFV_ACRESCIMO", QStringLiteral("1"));
    cabecalho("NFV_DESCVLR", QStringLiteral("0,5"));
    cabecalho("NFV_IR_PERC", QStringLiteral("1,5"));
    EXPECT_EQ(valor(cab(), "NFV_IR_VLR"), c("0.6"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), c("44.14"));
    cabecalho("NFV_ISS_ALIQ", QStringLiteral("5"));
    EXPECT_EQ(valor(cab(), "NFV_ISS"), Currency(2)); // ISS on the items total T
}

TEST_F(NFVendaTotais, UserIcmsBaseTakesTheRateOfTheLastItemWithIcms) {
    cabecalho("NFV_ALTERAR_BASE_ICMS", QStringLiteral("S"));
    itemManual("1", "100", "12");
    dm().gravarItem();
    itemManual("1", "100", "18");
    dm().gravarItem();
    itemManual("1", "100", "0"); // no ICMS: does not count as the last
    dm().gravarItem();
    cabecalho("NFV_ICMS_BASE", QStringLiteral("50"));
    cabecalho("NFV_FRETE", QStringLiteral("0")); // any total-recomputing field
    EXPECT_EQ(valor(cab(), "NFV_ICMS_BASE"), Currency(50));
    EXPECT_EQ(valor(cab(), "NFV_ICMS"), Currency(9)); // 50 x 18 %
}

TEST_F(NFVendaTotais, OnlyServiceLinesMakeTheTotalAndTheIss) {
    cabecalho("NFV_ISS_ALIQ", QStringLiteral("5"));
    dm().novoServico();
    dm().setValorCampo(serv(), QStringLiteral("NFVS_QTDE"), QStringLiteral("2"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_VLR_UNITARIO"), QStringLiteral("50"));
    dm().gravarServico();
    EXPECT_EQ(valor(cab(), "NFV_ISS_BASE"), Currency(100));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_PRODUTOS"), Currency(100));
    EXPECT_EQ(valor(cab(), "NFV_ISS"), Currency(5));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_NOTA"), Currency(100));
}

// Deleting the last item must not leave its IPI or ICMS in the header.
TEST_F(NFVendaTotais, NoItemsLeftMeansNoItemSums) {
    cabecalho("NFV_ALTERAR_BASE_ICMS", QStringLiteral("S"));
    cabecalho("NFV_ICMS_BASE", QStringLiteral("30"));
    item3a10();
    dm().gravarItem();
    EXPECT_EQ(valor(cab(), "NFV_IPI"), Currency(3));
    EXPECT_EQ(valor(cab(), "NFV_ICMS"), c("5.4"));
    dm().excluirItem();
    EXPECT_TRUE(valor(cab(), "NFV_IPI").isZero());
    EXPECT_TRUE(valor(cab(), "NFV_ICMS").isZero());
    EXPECT_TRUE(valor(cab(), "NFV_TOTAL_NOTA").isZero());
}

TEST_F(NFVendaTotais, HeaderWaitsWhileAnItemIsBeingEditedAndKeepsTheCurrentLine) {
    for (int n = 0; n < 3; ++n) {
        itemManual("1", "10", "0");
        dm().gravarItem();
    }
    item().setRecNo(2);
    const auto linha = item().bookmark();
    dm().editarItem();
    noItem("NFVI_QTDE", QStringLiteral("5"));
    cabecalho("NFV_FRETE", QStringLiteral("1"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_PRODUTOS"), Currency(30)); // unchanged while the item is open
    dm().gravarItem();
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_PRODUTOS"), Currency(70));
    EXPECT_EQ(item().bookmark(), linha);
}

// "The last item that has ICMS" is the one with the highest key, whatever
// order the rows were stored in.
TEST_F(NFVendaTotais, ItemsAreReadInKeyOrder) {
    cab().cancel();
    sql(QStringLiteral("insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_DTEMISSAO, NFV_ALTERAR_BASE_ICMS, "
                       "NFV_ICMS_BASE) values (9, '1', 1, '5102', current_date, 'S', 100)"));
    // Stored out of key order.
    const char* itens[] = {"(30, 9, '1', '01', 12, 1.2)", "(10, 9, '1', '01', 0, 0)", "(20, 9, '1', '01', 18, 1.8)"};
    for (const char* i : itens)
        sql(QStringLiteral("insert into NFVENDA_ITEM (CODNFVENDAITEM, CODNFVENDA, CODSERIE, NFVI_CST_IPI, NFVI_ALIQ_ICMS, "
                           "NFVI_ICMS) values ") + QString::fromLatin1(i));
    ASSERT_TRUE(dm().abrirNFVenda(9, QStringLiteral("1")));
    EXPECT_EQ(item().field(QStringLiteral("CODNFVENDAITEM")).asInteger(), 10);
    dm().editarNFVenda();
    cabecalho("NFV_FRETE", QStringLiteral("0"));
    EXPECT_EQ(valor(cab(), "NFV_ICMS"), Currency(12)); // 100 x 12 % of item 30
    cab().cancel();
}
