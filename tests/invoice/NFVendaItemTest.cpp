// Item entry: defaults, the product lookup, units, price types, discounts and
// the delivery check.
#include "NFVendaFixture.h"

#include "registers/DProduto.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class NFVendaItem : public NFVendaFixture {
protected:
    void SetUp() override { novaNotaSP(); }
    void produto(const char* codigo) {
        dm().novoItem();
        noItem("CODPESQUISA", QString::fromLatin1(codigo));
    }
};
} // namespace

TEST_F(NFVendaItem, DefaultsOfANewItem) {
    config("NFVI_ALIQ_IPI", "5");
    config("NFVI_PIS_CST", "01");
    dm().novoItem();
    EXPECT_EQ(item().field(QStringLiteral("CODNFVENDA")).asInteger(), 1);
    EXPECT_EQ(texto(item(), "CODSERIE"), u"1");
    EXPECT_EQ(valor(item(), "NFVI_QTDE"), Currency(1));
    EXPECT_EQ(valor(item(), "NFVI_ALIQ_IPI"), Currency(5));
    EXPECT_EQ(texto(item(), "NFVI_CATEGORIA"), u"Produto");
    EXPECT_EQ(texto(item(), "CODCFOP"), u"5102");
    EXPECT_EQ(texto(item(), "CFOP_DESCRICAO"), u"Venda");
    EXPECT_EQ(texto(item(), "NFVI_MOD_BC"), u"3");
    EXPECT_EQ(texto(item(), "NFVI_ALTERAR_IPI"), u"N");
    EXPECT_EQ(texto(item(), "NFVI_TIPOPRECO"), u"01");
    EXPECT_EQ(texto(item(), "NFVI_CSOSN"), u"101");
    EXPECT_EQ(texto(item(), "NFVI_PIS_CST"), u"01");
    EXPECT_TRUE(valor(item(), "NFVI_ICMSSTRET").isZero());
    EXPECT_FALSE(item().field(QStringLiteral("NFVI_ICMSSTRET")).isNull());
}

// The IPI CST column is required: an empty parameter must not blank it.
TEST_F(NFVendaItem, IpiCstKeepsTheStepFiveValueWhenTheParameterIsEmpty) {
    dm().novoItem();
    EXPECT_EQ(texto(item(), "NFVI_CST_IPI"), u"01");
    item().cancel();
    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("2"));
    dm().novoItem();
    EXPECT_EQ(texto(item(), "NFVI_CST_IPI"), u"99");
    item().cancel();
    config("NFVI_CST_IPI", "50");
    dm().novoItem();
    EXPECT_EQ(texto(item(), "NFVI_CST_IPI"), u"50");
}

TEST_F(NFVendaItem, LookupBySearchCodeFillsTheProduct) {
    produto("1001");
    EXPECT_EQ(texto(item(), "PRO_DESCRICAO"), u"PARAFUSO");
    EXPECT_EQ(item().field(QStringLiteral("CODPRODUTO")).asInteger(), 10);
    EXPECT_EQ(valor(item(), "NFVI_VLR_UNITARIO"), Currency(2));
    EXPECT_EQ(valor(item(), "NFVI_ALIQ_ICMS"), Currency(18));
    EXPECT_EQ(valor(item(), "NFVI_CUSTO_PRODUTO"), c("0.8"));
    EXPECT_EQ(texto(item(), "NFVI_CSOSN"), u"102");
    EXPECT_EQ(item().field(QStringLiteral("CODPRODUTOUNIDADE_NFVI")).asInteger(), 101); // base unit
    EXPECT_EQ(texto(item(), "PRO_CST"), u"260");
    EXPECT_EQ(texto(item(), "NFVI_CST"), u"060"); // NFE.CST.PROD defaults to "S": origin written as 0
    EXPECT_EQ(dm().unidades().recordCount(), 2);
    EXPECT_EQ(texto(item(), "CODCFOP"), u"5102"); // the product has no CFOP of its own
    item().cancel();
    produto("2002");
    EXPECT_EQ(texto(item(), "CODCFOP"), u"5405");
    EXPECT_EQ(texto(item(), "NFVI_CST"), u"000"); // no CST on the product: "000"
    item().cancel();
    config("NFE.CST.PROD", "N");
    produto("1001");
    EXPECT_EQ(texto(item(), "NFVI_CST"), u"000");
}

// An unknown code stops after clearing: the CST query would run on an empty code.
TEST_F(NFVendaItem, UnknownSearchCodeStopsAfterClearing) {
    produto("1001");
    noItem("NFVI_QTDE_UND", QStringLiteral("2"));
    noItem("CODPESQUISA", QStringLiteral("9999"));
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Produto não encontrado!"));
    EXPECT_TRUE(item().field(QStringLiteral("CODPRODUTO")).isNull());
    EXPECT_TRUE(item().field(QStringLiteral("NFVI_VLR_UNITARIO")).isNull());
    EXPECT_TRUE(item().field(QStringLiteral("NFVI_QTDE_UND")).isNull());
    EXPECT_EQ(texto(item(), "NFVI_CST"), u"060"); // untouched by the lookup that found nothing
    noItem("CODPESQUISA", QString());
    EXPECT_TRUE(item().field(QStringLiteral("PRO_DESCRICAO")).isNull());
}

TEST_F(NFVendaItem, RateTableByTaxpayerAndState) {
    config("PRO.FORA.DENT", "S");
    struct Caso {
        const char* cliente;
        const char* cfop;
        const char* aliq;
        const char* reducao;
    } casos[] = {{"1", "5102", "18", "0"}, {"5", "6102", "12", "10"}, {"4", "5102", "17", "20"}, {"2", "6102", "7", "30"}};
    for (const Caso& caso : casos) {
        cabecalho("CODPESSOA", QStringLiteral("3")); // no state: lets the CFOP change first
        cabecalho("CODCFOP", QString::fromLatin1(caso.cfop));
        cabecalho("CODPESSOA", QString::fromLatin1(caso.cliente));
        produto("1001");
        EXPECT_EQ(valor(item(), "NFVI_ALIQ_ICMS"), c(caso.aliq)) << caso.cliente;
        EXPECT_EQ(valor(item(), "NFVI_PER_REDUC"), c(caso.reducao)) << caso.cliente;
        item().cancel();
    }
}

TEST_F(NFVendaItem, ChosenUnitConvertsQuantityAndPrice) {
    produto("1001");
    noItem("CODPRODUTOUNIDADE_NFVI", QStringLiteral("102")); // a box of 12
    EXPECT_EQ(valor(item(), "NFVI_VLR_UND"), Currency(24));
    noItem("NFVI_QTDE_UND", QStringLiteral("3"));
    EXPECT_EQ(valor(item(), "NFVI_QTDE"), Currency(36));
    noItem("NFVI_VLR_UND", QStringLiteral("24,00"));
    EXPECT_EQ(valor(item(), "NFVI_VLR_UNITARIO"), c("2.0000"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(72));
    noItem("NFVI_VLR_UND", QStringLiteral("10"));
    EXPECT_EQ(valor(item(), "NFVI_VLR_UNITARIO"), c("0.8333")); // 10 / 12 to four decimals
    // A unit the product does not have: the values stay as they were.
    noItem("CODPRODUTOUNIDADE_NFVI", QStringLiteral("555"));
    noItem("NFVI_QTDE_UND", QStringLiteral("5"));
    EXPECT_EQ(valor(item(), "NFVI_QTDE"), Currency(36));
    EXPECT_THROW(noItem("NFVI_QTDE_UND", QStringLiteral("abc")), DatabaseError);
    EXPECT_EQ(valor(item(), "NFVI_QTDE_UND"), Currency(5));
}

TEST_F(NFVendaItem, ServiceItemKeepsQuantitiesOneToOne) {
    dm().novoItem();
    noItem("NFVI_CATEGORIA", QStringLiteral("Serviço"));
    noItem("CODSERVICO", QStringLiteral("1"));
    noItem("NFVI_CATEGORIA", QStringLiteral("Serviço")); // the unit list follows the category
    EXPECT_EQ(dm().unidades().recordCount(), 1);
    noItem("NFVI_QTDE_UND", QStringLiteral("2,5"));
    EXPECT_EQ(valor(item(), "NFVI_QTDE"), c("2.5"));
    noItem("NFVI_VLR_UNITARIO", QStringLiteral("40"));
    noItem("CODPRODUTOUNIDADE_NFVI", QStringLiteral("0"));
    EXPECT_EQ(valor(item(), "NFVI_VLR_UND"), Currency(40));
    noItem("CODSERVICO", QStringLiteral("0"));
    EXPECT_TRUE(item().field(QStringLiteral("SER_DESCRICAO")).isNull());
}

TEST_F(NFVendaItem, PriceTypeTakesThePriceListAndIsRememberedForTheNextItem) {
    produto("1001");
    noItem("NFVI_TIPOPRECO", QStringLiteral("03"));
    EXPECT_EQ(valor(item(), "NFVI_VLR_UND"), c("1.5"));
    EXPECT_EQ(valor(item(), "NFVI_VLR_UNITARIO"), c("1.5"));
    EXPECT_EQ(TdmProduto::gerarInstance().pesquisa().fieldKey(), u"PRO_CODPESQ_1"); // key put back
    noItem("NFVI_QTDE_UND", QStringLiteral("1"));
    dm().gravarItem();
    EXPECT_EQ(dm().UltimoTipoPreco(), u"03");
    dm().novoItem();
    EXPECT_EQ(texto(item(), "NFVI_TIPOPRECO"), u"03");
    item().cancel();
    cab().cancel();
    dm().novaNFVenda();
    EXPECT_EQ(dm().UltimoTipoPreco(), u"01");
}

TEST_F(NFVendaItem, ReductionOfTheIcmsBase) {
    itemManual("3", "10", "18");
    EXPECT_EQ(valor(item(), "NFVI_ICMS_BASE"), Currency(30));
    EXPECT_EQ(valor(item(), "NFVI_PIS_BC"), Currency(30));
    noItem("NFVI_PER_REDUC", QStringLiteral("33,33"));
    EXPECT_EQ(valor(item(), "NFVI_ICMS_BASE"), c("20.001"));
    EXPECT_EQ(valor(item(), "NFVI_ICMS"), c("3.6002")); // 20.001 x 18 % = 3.60018
    noItem("NFVI_PER_REDUC", QStringLiteral("100"));
    EXPECT_TRUE(valor(item(), "NFVI_ICMS_BASE").isZero());
    noItem("NFVI_PER_REDUC", QStringLiteral("0"));
    EXPECT_EQ(valor(item(), "NFVI_ICMS_BASE"), Currency(30));
}

TEST_F(NFVendaItem, DiscountValueAndPercentExcludeEachOther) {
    itemManual("3", "10", "18");
    noItem("NFVI_PERDESC", QStringLiteral("10"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), Currency(3));
    noItem("NFVI_VLRDESC", QStringLiteral("2"));
    EXPECT_TRUE(valor(item(), "NFVI_PERDESC").isZero());
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), Currency(2));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency(28));
    noItem("NFVI_PERDESC", QStringLiteral("5"));
    EXPECT_TRUE(valor(item(), "NFVI_VLRDESC").isZero());
    EXPECT_EQ(valor(item(), "NFVI_TOTAL_DESCONTO"), c("1.5"));
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("28.5"));
}

TEST_F(NFVendaItem, NewDeliveryCannotExceedWhatIsLeft) {
    itemManual("10", "1", "0");
    noItem("NFVI_QTDE_ENTREGUE", QStringLiteral("4"));
    noItem("QtdeNovaEntregue", QStringLiteral("6")); // equal is accepted
    EXPECT_EQ(valor(item(), "QtdeNovaEntregue"), Currency(6));
    EXPECT_THROW(noItem("QtdeNovaEntregue", QStringLiteral("6.0001")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Quantidade maior que a disponivel!"));
    EXPECT_EQ(valor(item(), "QtdeNovaEntregue"), Currency(6));
}

TEST_F(NFVendaItem, TenderItemClearedAndCheckedForTheCustomer) {
    config("LIC.VER.NFV", "S");
    sql(QStringLiteral("insert into LICITACAO_CONTRATO (CODLICITACAOCONTRATO, CODPESSOA) values (1, 1)"));
    sql(QStringLiteral("insert into LICITACAO_CONTRATO_ITEM (CODLICITACAOCONTRATOITEM, CODLICITACAOCONTRATO, CODPRODUTO, "
                       "LICCI_QTDE_LIMITE, LICCI_QTDE_FAT, LICCI_PROCESSO) values (1, 1, 10, 100, 10, 'P-1')"));
    produto("1001"); // runs the tender query without failing
    noItem("CODLICITACAOCONTRATOITEM", QStringLiteral("1"));
    item().field(QStringLiteral("LICCI_PROCESSO")).setValue(QStringLiteral("P-1"));
    noItem("CODLICITACAOCONTRATOITEM", QStringLiteral("0"));
    EXPECT_TRUE(item().field(QStringLiteral("LICCI_PROCESSO")).isNull());
}
