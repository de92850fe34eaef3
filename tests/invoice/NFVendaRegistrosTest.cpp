// The invoice records: creation, parameters, defaults, header reactions,
// service lines, correction letters and the read-only helpers.
#include "NFVendaFixture.h"

#include "core/Clock.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DConfiguracao.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class NFVendaRegistros : public NFVendaFixture {};

QString cfgLinha(Database& db, const char* chave) {
    return db
        .scalar(QStringLiteral("select CFG_GRUPO || '|' || CFG_TIPO || '|' || coalesce(CFG_VALOR, '') || '|' || "
                               "CFG_DESCRICAO from CONFIGURACAO where CFG_CHAVE = :K"),
                {{QStringLiteral("K"), QString::fromLatin1(chave)}})
        .toString();
}
} // namespace

TEST_F(NFVendaRegistros, CreationRegistersTheParametersAsStoredAndStartsWithPriceType01) {
    EXPECT_EQ(cfgLinha(t.db(), "NF.BAIXA.ESTQ"), QString());
    EXPECT_EQ(dm().UltimoTipoPreco(), u"01");
    EXPECT_EQ(cfgLinha(t.db(), "NF.BAIXA.ESTQ"), u"NF VENDA|FLO|S|BAIXAR ESTOQUE NA NOTA FISCAL");
    EXPECT_EQ(cfgLinha(t.db(), "NFE4.PAG.TOTAL"),
              QStringLiteral("NF VENDA - VALOR PADRÃO|INT|N|ENVIAR PAGAMENTO SEMPRE COM O TOTAL DA NOTA"));
    EXPECT_EQ(cfgLinha(t.db(), "NF.CFOP.PAD"), u"NF VENDA|TXT||CFOP PADRÃO DA NF DE VENDA");
    EXPECT_EQ(cfgLinha(t.db(), "NFV.TP.FRETE"), QStringLiteral("NF VENDA|TXT|FOB|FRETE PADRÃO DA NF DE VENDA (CIF/FOB)"));
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from CONFIGURACAO where CFG_GRUPO starting with 'NF VENDA'")).toInt(),
              36);
    // The start-up registration (and `kvo config`) knows them without the data module.
    int nf = 0;
    for (const ChaveConfiguracao& k : chavesRegistradas())
        nf += qstrcmp(k.chave, "NFE4.IPI.CALC") == 0 || qstrcmp(k.chave, "NF.CSOSN") == 0;
    EXPECT_EQ(nf, 2);
}

TEST_F(NFVendaRegistros, NewInvoiceDefaultsInOrder) {
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    config("NFV_CODFORMA", "2");
    config("NF.AUT.OBS", "Obrigado pela preferência");
    sql(QStringLiteral("update PARAMETRO_NF set PARN_SELO_FISCAL = '77'"));
    dm().novaNFVenda();
    EXPECT_EQ(cab().state(), RecordSet::State::Insert);
    EXPECT_EQ(texto(cab(), "CODFORMAPAGAMENTO"), u"2");
    EXPECT_EQ(texto(cab(), "NFV_TIPO"), u"S");
    EXPECT_EQ(cab().field(QStringLiteral("NFV_DTEMISSAO")).asDate(), QDate(2026, 12, 6));
    EXPECT_EQ(texto(cab(), "NFV_STATUS"), u"Aberta");
    EXPECT_EQ(texto(cab(), "NFV_SELO_FISCAL"), u"77");
    EXPECT_EQ(texto(cab(), "NFV_GER_FINANCEIRO"), u"S");
    EXPECT_EQ(texto(cab(), "NFV_TP_FRETE"), u"FOB");
    EXPECT_TRUE(valor(cab(), "NFV_TOTAL_NOTA").isZero());
    EXPECT_FALSE(cab().field(QStringLiteral("NFV_ICMS_SUBST")).isNull());
    EXPECT_EQ(texto(cab(), "NFV_FINALIDADE_EMISSAO"), u"1");
    EXPECT_EQ(texto(cab(), "NFV_BAIXA_ESTOQUE"), u"S");
    EXPECT_EQ(texto(cab(), "NFV_ENTREGUE"), u"N");
    EXPECT_EQ(texto(cab(), "NFV_OBS"), QStringLiteral("Obrigado pela preferência"));
    EXPECT_EQ(texto(cab(), "CODPARGERAL"), u"1");
    EXPECT_EQ(texto(cab(), "NFV_NAOZERARICMS"), u"N");
    // No default series nor CFOP: both empty and number 0 until typed.
    EXPECT_TRUE(cab().field(QStringLiteral("CODSERIE")).isNull());
    EXPECT_TRUE(cab().field(QStringLiteral("CODCFOP")).isNull());
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 0);
    const qint64 cnf = cab().field(QStringLiteral("NFV_CNF")).asInteger();
    EXPECT_EQ(cnf, t->scalar(QStringLiteral("select gen_id(GEN_NFVENDA_CNF, 0) from rdb$database")).toLongLong() + 1);
    cab().cancel();
    dm().novaNFVenda();
    EXPECT_EQ(cab().field(QStringLiteral("NFV_CNF")).asInteger(), cnf + 1);
    Clock::reset();
}

TEST_F(NFVendaRegistros, DefaultSeriesTakesItsNumberAndTheDefaultCfopOverridesTheParameter) {
    config("NF.CFOP.PAD", "6102");
    sql(QStringLiteral("update PARAMETRO_NF set PARN_SERIE_PADRAO = 'F', PARN_CFOP_PADRAO = '5102'"));
    dm().novaNFVenda();
    EXPECT_EQ(texto(cab(), "CODSERIE"), u"F");
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 40);
    EXPECT_EQ(texto(cab(), "SER_TIPO"), QStringLiteral("Formulário"));
    EXPECT_EQ(texto(cab(), "CODCFOP"), u"5102");
    EXPECT_EQ(texto(cab(), "CFOP_DESCRICAO"), u"Venda");
}

TEST_F(NFVendaRegistros, CustomerCarrierAndSellerFillTheirColumns) {
    dm().novaNFVenda();
    cabecalho("CODPESSOA", QStringLiteral("1"));
    EXPECT_EQ(texto(cab(), "PES_NOME"), u"Cliente SP");
    EXPECT_EQ(texto(cab(), "PES_UF"), u"SP");
    EXPECT_EQ(texto(cab(), "CODTRANSPORTADORA"), u"4"); // the customer's own carrier
    EXPECT_EQ(texto(cab(), "TRA_RAZAO_SOCIAL"), u"TRANSPORTES LTDA");
    cabecalho("CODTRANSPORTADORA", QString());
    EXPECT_TRUE(cab().field(QStringLiteral("TRA_NOME")).isNull());
    cabecalho("CODVENDEDOR", QStringLiteral("1"));
    EXPECT_EQ(texto(cab(), "VEN_NOME"), u"Carlos");
    cabecalho("CODPESSOA", QString());
    EXPECT_TRUE(cab().field(QStringLiteral("PES_NOME")).isNull());
    EXPECT_TRUE(cab().field(QStringLiteral("PES_UF")).isNull());
    cabecalho("CODPESSOA", QStringLiteral("99"));
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Pessoa não encontrada!"));
}

TEST_F(NFVendaRegistros, CfopCheckComparesTheCustomerStateWithTheCompany) {
    dm().novaNFVenda();
    cabecalho("CODPESSOA", QStringLiteral("1"));
    EXPECT_THROW(cabecalho("CODCFOP", QStringLiteral("6102")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Esse Cfop (6102) só aceita pessoas de fora do estado"));
    EXPECT_TRUE(cab().field(QStringLiteral("CODCFOP")).isNull()); // the refused value does not stay
    cabecalho("CODCFOP", QStringLiteral("5102"));
    EXPECT_THROW(cabecalho("CODPESSOA", QStringLiteral("2")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Esse Cfop (5102) só aceita pessoas de dentro do estado"));
    EXPECT_EQ(texto(cab(), "CODPESSOA"), u"1");
    cabecalho("CODPESSOA", QStringLiteral("3")); // no state: any CFOP
    cabecalho("CODCFOP", QStringLiteral("6102"));
    EXPECT_EQ(texto(cab(), "CODCFOP"), u"6102");
    // An incoming CFOP marks the other box of the printed form.
    cabecalho("CODCFOP", QStringLiteral("1202"));
    EXPECT_EQ(texto(cab(), "NFV_TIPO"), u"E");
    EXPECT_EQ(cab().field(QStringLiteral("tipo_x")).asString(), u" ");
    EXPECT_EQ(cab().field(QStringLiteral("tipo_x_entrada")).asString(), u"X");
}

TEST_F(NFVendaRegistros, ChangingTheCfopAsksWhetherItemsFollow) {
    novaNotaSP();
    itemManual("1", "10", "18");
    dm().gravarItem();
    itemManual("2", "10", "18");
    dm().gravarItem();
    ui.answerYes();
    cabecalho("CODCFOP", QStringLiteral("5405"));
    for (item().first(); !item().eof(); item().next())
        EXPECT_EQ(texto(item(), "CODCFOP"), u"5405");
    EXPECT_EQ(ui.questions().last(), QStringLiteral("Deseja alterar o CFOP dos itens?"));
    ui.answerNo(); // the items keep theirs, and the check still runs
    EXPECT_THROW(cabecalho("CODCFOP", QStringLiteral("6102")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Esse Cfop (6102) só aceita pessoas de fora do estado"));
    for (item().first(); !item().eof(); item().next())
        EXPECT_EQ(texto(item(), "CODCFOP"), u"5405");
    EXPECT_TRUE(ui.allAnswered());
}

TEST_F(NFVendaRegistros, SeriesActsOnlyWhileInsertingAndRenumbersTheItems) {
    dm().novaNFVenda();
    EXPECT_THROW(cabecalho("CODSERIE", QStringLiteral("  ")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Você precisa informa uma Série para essa nota fiscal"));
    cabecalho("CODSERIE", QStringLiteral("1"));
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 1);
    cabecalho("CODPESSOA", QStringLiteral("1"));
    cabecalho("CODCFOP", QStringLiteral("5102"));
    itemManual("1", "10", "18");
    dm().gravarItem();
    cabecalho("CODSERIE", QStringLiteral("F"));
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 40);
    EXPECT_EQ(item().field(QStringLiteral("CODNFVENDA")).asInteger(), 40);
    EXPECT_EQ(texto(item(), "CODSERIE"), u"F");
    const auto gravada = dm().gravarNFVenda();
    ASSERT_TRUE(dm().abrirNFVenda(gravada.numero, gravada.serie));
    dm().editarNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1")); // not inserting: nothing else changes
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA")).asInteger(), 40);
    EXPECT_EQ(texto(item(), "CODSERIE"), u"F");
    cab().cancel();
    dm().novaNFVenda();
    EXPECT_THROW(cabecalho("CODSERIE", QStringLiteral("ZZ")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Série ZZ não cadastrada!"));
}

TEST_F(NFVendaRegistros, ServiceLinesAndCorrectionLetters) {
    novaNotaSP();
    dm().novoServico();
    EXPECT_EQ(valor(serv(), "NFVS_QTDE"), Currency(1));
    EXPECT_EQ(texto(serv(), "NFVS_UNIDADE"), u"UND");
    dm().setValorCampo(serv(), QStringLiteral("NFVS_QTDE"), QStringLiteral("3"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_VLR_UNITARIO"), QStringLiteral("33,3333"));
    EXPECT_EQ(valor(serv(), "NFVS_TOTAL"), c("99.9999"));
    dm().gravarServico();
    EXPECT_GT(serv().field(QStringLiteral("CODNFVENDASERVICO")).asInteger(), 0);
    const auto gravada = dm().gravarNFVenda();
    dm().abrirNFVenda(gravada.numero, gravada.serie);
    ASSERT_EQ(serv().recordCount(), 1);

    dm().novaCCE();
    EXPECT_EQ(dm().cdsNFVendaCCE().field(QStringLiteral("NFVC_SEQUENCIAL")).asInteger(), 1);
    dm().setValorCampo(dm().cdsNFVendaCCE(), QStringLiteral("NFVC_CORRECAO"), QStringLiteral("Correção do endereço"));
    dm().gravarCCE();
    dm().cdsNFVendaCCE().applyUpdates(0);
    dm().novaCCE();
    dm().gravarCCE();
    dm().cdsNFVendaCCE().applyUpdates(0);
    dm().novaCCE();
    EXPECT_EQ(dm().cdsNFVendaCCE().field(QStringLiteral("NFVC_SEQUENCIAL")).asInteger(), 3);
    dm().cdsNFVendaCCE().cancel();
}

TEST_F(NFVendaRegistros, OpeningAnInvoiceReadsItsChildrenAndCalculatedFields) {
    novaNotaSP();
    cabecalho("CODFORMAPAGAMENTO", QStringLiteral("1"));
    for (const char* qtde : {"1", "2", "3"}) {
        itemManual(qtde, "10", "18");
        dm().gravarItem();
    }
    const auto gravada = dm().gravarNFVenda();
    dm().fecharNFVenda();
    EXPECT_FALSE(item().active());
    ASSERT_TRUE(dm().abrirNFVenda(gravada.numero, QStringLiteral("1")));
    ASSERT_EQ(item().recordCount(), 3);
    qint64 anterior = 0;
    for (item().first(); !item().eof(); item().next()) {
        EXPECT_GT(item().field(QStringLiteral("CODNFVENDAITEM")).asInteger(), anterior);
        anterior = item().field(QStringLiteral("CODNFVENDAITEM")).asInteger();
    }
    EXPECT_EQ(texto(cab(), "SERIE_COD_1"), QStringLiteral("Série: 1"));
    EXPECT_EQ(cab().field(QStringLiteral("CODNFVENDA_2")).asInteger(), gravada.numero);
    EXPECT_EQ(texto(cab(), "CNPJ_Empresa"), u"11222333000181");
    EXPECT_EQ(texto(cab(), "RazaoSocial_Empresa"), u"LOJA TESTE LTDA");
    EXPECT_EQ(texto(cab(), "Selo_AA"), u"AA");
    EXPECT_EQ(texto(cab(), "PES_NOME_RAZAO"), u" (Cliente SP)");
    EXPECT_TRUE(texto(cab(), "auxNF").isEmpty());
    dm().editarNFVenda();
    cabecalho("CODNFCOMPRA_DEV", QStringLiteral("8"));
    EXPECT_EQ(texto(cab(), "auxNF"), u"8");
    cabecalho("CODNFVENDA_DEV", QStringLiteral("7"));
    EXPECT_EQ(texto(cab(), "auxNF"), u"7");
    cab().cancel();
    EXPECT_FALSE(dm().abrirNFVenda(999, QStringLiteral("1")));
    EXPECT_TRUE(item().active());
    EXPECT_TRUE(item().isEmpty());
    // A screen opening the header itself gets the children too.
    cab().close();
    EXPECT_FALSE(item().active());
    EXPECT_FALSE(serv().active());
    cab().setParam(QStringLiteral("CODNFVENDA"), gravada.numero);
    cab().setParam(QStringLiteral("CODSERIE"), QStringLiteral("1"));
    cab().open();
    EXPECT_EQ(item().recordCount(), 3);
    EXPECT_TRUE(dm().cdsNFVendaCCE().active());
}

TEST_F(NFVendaRegistros, ReadOnlyHelpers) {
    novaNotaSP();
    const auto gravada = dm().gravarNFVenda();
    dm().abrirNFVenda(gravada.numero, gravada.serie);
    sql(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (1, 'Dinheiro', '01')"));
    for (int n = 1; n <= 2; ++n)
        sql(QStringLiteral("insert into CONTAS (CODCONTA, CODPESSOA, CON_NUMDOC, CON_PARCELA, CON_DTVENC, CON_VLRPARCELA, "
                           "CON_VLRTOTAL, CON_SALDO, CODNFVENDA, CODSERIE, CODMOEDA) values (%1, 1, 'NF1', '%1', "
                           "'2026-12-%2', 50, 100, 50, %3, '1', 1)")
                .arg(n)
                .arg(10 + n)
                .arg(gravada.numero));
    auto parcelas = dm().parcelas();
    EXPECT_EQ(parcelas->recordCount(), 2);
    auto meios = dm().meiosDePagamento();
    ASSERT_EQ(meios->recordCount(), 1);
    EXPECT_EQ(meios->field(QStringLiteral("VALOR")).asCurrency(), Currency(100));
    EXPECT_EQ(meios->field(QStringLiteral("MOE_NFE_PAG")).asString(), u"01");

    sql(QStringLiteral("insert into PEDECF (CODPEDECF, CODPESSOA, PECF_STATUS, PECF_TOTAL) values (1, 1, 'FINALIZADO', 12)"));
    sql(QStringLiteral("insert into PEDECF (CODPEDECF, CODPESSOA, PECF_STATUS) values (2, 1, 'ABERTO')"));
    EXPECT_TRUE(dm().pesquisaPedidoECF().Localizar(1, false));
    EXPECT_FALSE(dm().pesquisaPedidoECF().Localizar(2, false)); // only finished orders
    EXPECT_TRUE(dm().pesquisaNFVenda().Localizar(gravada.numero, false));
    EXPECT_FALSE(dm().pesquisaNFVenda().Localizar(999));
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Registro não foi encontrado"));
}
