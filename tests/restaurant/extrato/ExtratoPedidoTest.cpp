// The bill of a sale order: delivery and counter. How the golden files were
// written: see ExtratoMesaTest.cpp.
#include "ExtratoFixture.h"

#include "core/Text.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class ExtratoPedido : public ExtratoFixture {
protected:
    void SetUp() override {
        ExtratoFixture::SetUp();
        t->executeSQL(QStringLiteral(
            "insert into PESSOA (CODPESSOA, PES_NOME, PES_TELEFONE, PES_ENDERECO, PES_ENDERECO_NUMERO, "
            "PES_ENDERECO_COMPLEMENTO, PES_BAIRRO, PES_CIDADE, PES_UF, PES_PONTO_REFERENCIA) values (6, 'JOAO PEREIRA', "
            "'5555-6666', 'AVENIDA DOUTOR ENEAS DE CARVALHO AGUIAR ESQUINA COM A RUA TEODORO SAMPAIO PROXIMO AO METRO "
            "CLINICAS', '45', 'APTO 12', 'VILA NOVA', 'SAO PAULO', 'SP', 'PORTAO AZUL AO LADO DA PADARIA DO SEU MANUEL, "
            "TOCAR A CAMPAINHA DUAS VEZES')"));
        t->executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO) values (91, 'DINHEIRO')"));
        t->executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO) values (92, 'CARTAO')"));
    }
    void venda(int codigo, const char* pessoa, const char* contato, const char* taxa) {
        t->executeSQL(QStringLiteral("insert into PEDVENDA (CODPEDVENDA, CODPESSOA, PEDV_TIPO, PEDV_DATA_ENTRADA, "
                                     "PEDV_ACRE_VLR, PEDV_CONTATO) values (%1, %2, 'Delivery', '06.12.2026', %3, %4)")
                          .arg(codigo)
                          .arg(QString::fromLatin1(pessoa), QString::fromLatin1(taxa),
                               contato ? QStringLiteral("'%1'").arg(QString::fromLatin1(contato)) : QStringLiteral("null")));
    }
    void itemVenda(int chave, int codigo, int produto, const char* qtde, const char* unit, const char* obs = nullptr) {
        t->executeSQL(QStringLiteral("insert into PEDVENDA_ITEM (CODPEDVENDAITEM, CODPEDVENDA, CODPRODUTO, PEDI_QTDE, "
                                     "PEDI_VLRUNIT, PEDI_OBS) values (%1, %2, %3, %4, %5, %6)")
                          .arg(chave)
                          .arg(codigo)
                          .arg(produto)
                          .arg(QString::fromLatin1(qtde), QString::fromLatin1(unit),
                               obs ? QStringLiteral("'%1'").arg(QString::fromLatin1(obs)) : QStringLiteral("null")));
    }
};

TEST_F(ExtratoPedido, DeliveryWithFeeAndPaymentFormsEqualsItsGoldenFile) {
    venda(500, "6", nullptr, "8");
    itemVenda(1, 500, 10, "1", "45.9", "sem cebola");
    itemVenda(2, 500, 12, "1", "3.5");
    itemVenda(3, 500, 12, "1", "3.5");
    t->executeSQL(QStringLiteral("insert into PEDVENDA_FECHAMENTO (CODPEDVENDAFECHAMENTO, CODPEDVENDA, CODMOEDA, PEDF_VLR, "
                                 "PEDF_TROCO) values (1, 500, 91, 50, 10)"));
    t->executeSQL(QStringLiteral("insert into PEDVENDA_FECHAMENTO (CODPEDVENDAFECHAMENTO, CODPEDVENDA, CODMOEDA, PEDF_VLR, "
                                 "PEDF_TROCO) values (2, 500, 92, 10.9, 0)"));
    rel->extratoPedido(500, true, false, 0);
    ASSERT_EQ(preview.mostrados.size(), 1);
    EXPECT_TRUE(igualAoGolden(preview.mostrados[0], "entrega.txt"));
    EXPECT_FALSE(preview.alteracaoOferecida[0]); // only restaurant bills change their choices
}

TEST_F(ExtratoPedido, DeliveryWithoutPaymentLeavesARuleToWriteOn) {
    venda(502, "6", nullptr, "0");
    itemVenda(1, 502, 11, "1", "18");
    rel->extratoPedido(502, true, false, 0);
    const QStringList& l = preview.mostrados.value(0);
    const qsizetype total = l.indexOf(PadR(QStringLiteral("TOTAL A PAGAR"), 25) + QString(10, u' ') + PadL(QStringLiteral("18,00"), 10));
    ASSERT_GE(total, 0);
    EXPECT_EQ(l.value(total + 1), QString(35, u' ') + QString(10, u'-'));
    EXPECT_EQ(l.value(total + 2), QString());
}

TEST_F(ExtratoPedido, CounterOrderEqualsItsGoldenFileAndChangesNothing) {
    venda(501, "null", "MARCOS", "0");
    itemVenda(1, 501, 12, "0.5", "3.5");
    itemVenda(2, 501, 11, "1", "18");
    rel->extratoPedido(501, false, true, 7);
    EXPECT_TRUE(igualAoGolden(preview.mostrados.value(0), "balcao.txt"));
    EXPECT_EQ(texto(QStringLiteral("select count(*) from RES_PEDIDO")), u"0");
}

TEST_F(ExtratoPedido, CounterPrintsTheTicketsLinesWhenTheShopSaysSo) {
    set("PDV.IMP.BAL", QStringLiteral("S"));
    venda(503, "null", "ANA", "0");
    itemVenda(1, 503, 11, "1", "18");
    impressao->linhasExtrato() = {QStringLiteral("BALCAO 003"), QStringLiteral("1 CAIPIRINHA")};
    rel->extratoPedido(503, false, true, 3);
    EXPECT_EQ(preview.mostrados.value(0), (QStringList{QStringLiteral("BALCAO 003"), QStringLiteral("1 CAIPIRINHA")}));
}

} // namespace
