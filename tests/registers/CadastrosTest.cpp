#include "registers/DCadastros.h"
#include "registers/DPessoa.h"
#include "registers/Kvolibgeral.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class Cadastros : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("insert into CFOP values ('6102', 'Venda fora do estado', 'Venda', 'S', 'S')"));
        t->executeSQL(QStringLiteral("insert into SERIE (CODSERIE, SER_DESCRICAO, SER_TIPO, SER_SERIE_NFE) values ('1', 'NF-e', 'NF-e', '001')"));
        t->executeSQL(QStringLiteral("insert into SERIE (CODSERIE, SER_DESCRICAO, SER_TIPO) values ('F', 'Formulário', 'Formulário')"));
        t->executeSQL(QStringLiteral("insert into VENDEDOR (CODVENDEDOR, VEN_NOME) values (3, 'Carlos')"));
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
};
} // namespace

TEST_F(Cadastros, CfopSellerAndSeriesAsInvoicesUseThem) {
    TdmCfop cfop(t.db());
    ASSERT_TRUE(cfop.pesquisa().Localizar(QStringLiteral("6102")));
    RecordSet& c = *cfop.pesquisa().encontrado();
    EXPECT_EQ(c.field(0).asString(), u"Venda fora do estado");
    EXPECT_EQ(c.field(1).asString(), u"S");
    EXPECT_EQ(c.field(2).asString(), u"Venda");
    EXPECT_EQ(c.field(4).asString(), u"S"); // the invoice's own type
    EXPECT_FALSE(cfop.pesquisa().Localizar(QStringLiteral("5102")));
    EXPECT_EQ(ui.lastMessage(), u"CFOP não encontrado!");

    TdmVendedor vendedores(t.db());
    ASSERT_TRUE(vendedores.pesquisa().Localizar(3));
    EXPECT_EQ(vendedores.pesquisa().encontrado()->field(0).asString(), u"Carlos");

    TdmSerie series(t.db());
    EXPECT_EQ(series.serieNFe(QStringLiteral("1")), u"001");
    EXPECT_TRUE(series.ehNFe(QStringLiteral("1")));
    EXPECT_FALSE(series.ehNFe(QStringLiteral("F")));
    EXPECT_TRUE(series.serieNFe(QStringLiteral("F")).isEmpty());
}

// Both selects rename columns for the invoice; typing in their searches must still filter.
TEST_F(Cadastros, SearchesWhoseSelectRenamesColumnsFilterOnTheColumns) {
    t->executeSQL(QStringLiteral("insert into CFOP values ('1202', 'Devolução de venda', 'Devolução', 'E', 'N')"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_RAZAO_SOCIAL, PES_CIDADE) "
                                 "values (20, 'Rápido Sul', 'RAPIDO SUL TRANSPORTES LTDA', 'Curitiba')"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CIDADE) values (21, 'Ana', 'Lapa')"));
    TdmCfop cfop(t.db());
    auto rs = cfop.pesquisa().pesquisar(QStringLiteral("devolu"));
    ASSERT_EQ(rs->recordCount(), 1) << rs->commandText().toStdString();
    EXPECT_EQ(rs->field(QStringLiteral("CODCFOP")).asString(), u"1202");

    TdmPessoa pessoas(t.db());
    rs = pessoas.pesquisaTransportadora().pesquisar(QStringLiteral("transportes"));
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field(QStringLiteral("TRA_NOME")).asString(), u"Rápido Sul");
    EXPECT_EQ(pessoas.pesquisaTransportadora().pesquisar(QStringLiteral("lapa"))->recordCount(), 1); // TRA_CIDADE
    EXPECT_EQ(pessoas.pesquisaTransportadora().pesquisar(QStringLiteral("' or '1'='1"))->recordCount(), 0);
}

TEST_F(Cadastros, FiscalSealAdvancesOnceEvenWithTwoTerminals) {
    TdmParametro par(t.db());
    EXPECT_TRUE(par.seloFiscalAtual().isEmpty());
    EXPECT_TRUE(par.avancarSeloFiscal(QString()));
    EXPECT_EQ(par.seloFiscalAtual(), u"1");
    auto other = t.connectAgain();
    TdmParametro outro(*other);
    EXPECT_TRUE(outro.avancarSeloFiscal(QStringLiteral("1")));
    EXPECT_FALSE(par.avancarSeloFiscal(QStringLiteral("1"))); // someone got there first
    EXPECT_EQ(par.seloFiscalAtual(), u"2");
    t->executeSQL(QStringLiteral("update PARAMETRO_NF set PARN_SERIE_PADRAO = '1', PARN_CFOP_PADRAO = '5102'"));
    EXPECT_EQ(par.seriePadrao(), u"1");
    EXPECT_EQ(par.cfopPadrao(), u"5102");

    t->executeSQL(QStringLiteral("insert into PAR_NFVENDA_IMPRESSAO (CODPARNI, PARNI_TABELA, PARNI_CAMPO, PARNI_COLUNA, "
                                 "PARNI_LINHA, PARNI_TAMANHO) values (1, 'cdsNFVenda', 'PES_NOME', 5, 12, 40)"));
    RecordSet& layout = par.layoutImpressao();
    ASSERT_TRUE(layout.locate({QStringLiteral("PARNI_TABELA"), QStringLiteral("PARNI_CAMPO")},
                              {QStringLiteral("cdsNFVenda"), QStringLiteral("PES_NOME")}));
    EXPECT_EQ(layout.field(QStringLiteral("PARNI_LINHA")).asInteger(), 12);
}

TEST(RegistroTexto, TheSameRowAlwaysGivesTheSameText) {
    RecordSet rs;
    rs.addField(QStringLiteral("CODPREVENDA"), FieldType::Integer);
    rs.addField(QStringLiteral("PREV_STATUS"), FieldType::String, 10);
    rs.addField(QStringLiteral("PREV_TOTAL"), FieldType::Currency);
    rs.addField(QStringLiteral("PREV_DATA"), FieldType::DateTime);
    rs.addField(QStringLiteral("PREV_COO"), FieldType::Integer);
    rs.addField(QStringLiteral("TELA"), FieldType::String, 10, FieldKind::Calculated);
    rs.open();
    rs.append();
    rs.field(QStringLiteral("CODPREVENDA")).setValue(7);
    rs.field(QStringLiteral("PREV_STATUS")).setValue(QStringLiteral("ABERTO  "));
    rs.field(QStringLiteral("PREV_TOTAL")).setValue(QStringLiteral("1234,5"));
    rs.field(QStringLiteral("PREV_DATA")).setValue(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 0)));
    rs.post();
    EXPECT_EQ(RegistroTextoDataSet(rs),
              u"CODPREVENDA=7|PREV_STATUS=ABERTO|PREV_TOTAL=1234.5000|PREV_DATA=2026-12-06 09:05:00|PREV_COO=");
}
