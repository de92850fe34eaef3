// Billing an invoice: stock and payment checks, the referenced invoice and
// purchase, the receivables, the stamp and the posting, all or nothing; and
// the search's cancel, reopen and delete steps.
#include "NFVendaFaturamentoFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {

// --- stock and payment checks

using NFVendaFaturamentoChecagens = NFVendaFaturamento;

TEST_F(NFVendaFaturamentoChecagens, StockShortageBlocksOnlyWhenTheShopForbidsIt) {
    sql(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 4 where CODPRODUTO = 10"));
    const int n = notaSalva("5");
    config("NF.FAT.S/EST", "N");
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Há produtos sem Estoque. Esta função não está autorizada.");
    EXPECT_TRUE(ui.questions().isEmpty()); // before the confirmation
    EXPECT_EQ(status(n), u"Aberta");

    config("NF.FAT.S/EST", "S");
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(status(n), u"Faturada");
    EXPECT_EQ(estoque(), c("-1"));
}

TEST_F(NFVendaFaturamentoChecagens, ReservationOfTheOrderItemCoversTheShortfall) {
    sql(QStringLiteral(
        "update PRODUTO set PRO_ESTQ_ATUAL = 5, PRO_ESTQ_RESERVADO = 3 where CODPRODUTO = 10"));
    sql(QStringLiteral("insert into PRODUTO_RESERVA (CODPRODUTORESERVA, CODPRODUTO, PROR_QTDE, "
                       "CODPEDVENDAITEM) values (1, 10, 3, 77)"));
    const int oito = notaSalva("8"), nove = notaSalva("9");
    sql(QStringLiteral("update NFVENDA_ITEM set CODPEDVENDAITEM = 77"));
    config("NF.FAT.S/EST", "N");
    EXPECT_TRUE(dm().temProdutoSemEstoque(nove, QStringLiteral("1"), QStringLiteral("S"), true));
    EXPECT_FALSE(dm().temProdutoSemEstoque(oito, QStringLiteral("1"), QStringLiteral("S"), true));
    sql(QStringLiteral(
        "update PRODUTO_RESERVA set CODPEDVENDAITEM = 78")); // another order item's reservation
    EXPECT_TRUE(dm().temProdutoSemEstoque(oito, QStringLiteral("1"), QStringLiteral("S"), true));
    sql(QStringLiteral("update PRODUTO_RESERVA set CODPEDVENDAITEM = 77"));

    // Billing takes the reservation first and the free stock for the rest.
    ui.answerYes();
    EXPECT_TRUE(faturar(oito));
    EXPECT_EQ(estoque(), Currency());
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_RESERVADO from PRODUTO where CODPRODUTO = 10")),
              Currency());
    EXPECT_EQ(dinheiro(QStringLiteral("select PROR_QTDE from PRODUTO_RESERVA")), Currency());
    EXPECT_THROW(faturar(nove), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Há produtos sem Estoque. Esta função não está autorizada.");

    // Reopening gives both back.
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Reabrir(oito, QStringLiteral("1")));
    EXPECT_EQ(estoque(), c("5"));
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_RESERVADO from PRODUTO where CODPRODUTO = 10")),
              c("3"));
    EXPECT_EQ(dinheiro(QStringLiteral("select PROR_QTDE from PRODUTO_RESERVA")), c("3"));
}

TEST_F(NFVendaFaturamentoChecagens, EntryTypesSkipTheStockCheck) {
    sql(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 0"));
    const int n = notaSalva("5");
    EXPECT_TRUE(dm().temProdutoSemEstoque(n, QStringLiteral("1"), QStringLiteral("S"), true));
    EXPECT_FALSE(dm().temProdutoSemEstoque(n, QStringLiteral("1"), QStringLiteral("E"), true));
    EXPECT_FALSE(dm().temProdutoSemEstoque(n, QStringLiteral("1"), QStringLiteral("1"), true));
    config("NF.FAT.S/EST", "N");
    ui.answerYes();
    EXPECT_TRUE(faturar(n, QStringLiteral("E")));
}

TEST_F(NFVendaFaturamentoChecagens, PaymentMethod99IsRefusedLikeNone) {
    const int n = notaSalva();
    for (const char* forma : {"0", "99", "null"}) {
        sql(QStringLiteral("update NFVENDA set CODFORMAPAGAMENTO = %1").arg(QLatin1String(forma)));
        ui.clear();
        EXPECT_THROW(faturar(n), Abort) << forma;
        EXPECT_EQ(ui.lastMessage(), u"Sem forma de pagamento!!") << forma;
        EXPECT_TRUE(ui.questions().isEmpty());
    }
    EXPECT_EQ(status(n), u"Aberta");
    EXPECT_TRUE(escolha.pedidos.empty());
}

// --- posting

using NFVendaFaturamentoPostagem = NFVendaFaturamento;

TEST_F(NFVendaFaturamentoPostagem, BillingWritesReceivablesStampStatusAndStockOnce) {
    const int n = notaSalva("5");
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(ui.questions(), QList<QString>{QStringLiteral("Confirma Faturar essa Nota Fiscal?")});
    ASSERT_EQ(escolha.pedidos.size(), 1u);
    EXPECT_EQ(escolha.pedidos[0].total, c("10"));
    EXPECT_EQ(escolha.pedidos[0].doc.codigo, n);
    EXPECT_EQ(escolha.pedidos[0].doc.serie, u"1");
    EXPECT_EQ(escolha.pedidos[0].doc.codformapagamento, 1);
    EXPECT_EQ(ui.lastMessage(), u"Faturada com sucesso!");
    EXPECT_EQ(texto(cab(), "NFV_STATUS"), u"Faturada"); // the open invoice shows what was stored
    const auto nota =
        t->query(QStringLiteral("select NFV_DATA_FATURAMENTO, NFV_USUARIO_FATURAMENTO, CODCAIXAABERTURA "
                                "from NFVENDA where CODNFVENDA = %1")
                     .arg(n));
    EXPECT_EQ(nota->field(0).asDate(), QDate(2026, 11, 30)); // the cash register's business date
    EXPECT_EQ(nota->field(1).asString(), u"caixa");
    EXPECT_EQ(nota->field(2).asInteger(), 5);
    EXPECT_EQ(dinheiro(QStringLiteral("select sum(CON_VLRPARCELA) from CONTAS where CODNFVENDA = %1").arg(n)),
              c("10"));
    EXPECT_EQ(estoque(), c("95"));

    ui.answerYes();
    EXPECT_FALSE(faturar(n)); // already billed: the procedure refuses, nothing moves twice
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Erro ao faturar a NF. Erro: ")))
        << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.lastMessage().contains(QStringLiteral("não está Aberta")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(estoque(), c("95"));
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CODNFVENDA = %1").arg(n)), 1);
}

TEST_F(NFVendaFaturamentoPostagem, NoStockMovementWhenTheInvoiceDoesNotAskForIt) {
    const int n = notaSalva("5");
    sql(QStringLiteral("update NFVENDA set NFV_BAIXA_ESTOQUE = 'N'"));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(estoque(), c("100"));
}

TEST_F(NFVendaFaturamentoPostagem, DecliningOrGivingUpTheInstalmentsChangesNothing) {
    const int n = notaSalva();
    ui.answerNo();
    EXPECT_FALSE(faturar(n));
    EXPECT_TRUE(escolha.pedidos.empty());
    escolha.desistir = true;
    ui.answerYes();
    EXPECT_FALSE(faturar(n));
    EXPECT_EQ(escolha.pedidos.size(), 1u);
    EXPECT_EQ(status(n), u"Aberta");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS")), 0);
    EXPECT_EQ(estoque(), c("100"));
}

TEST_F(NFVendaFaturamentoPostagem, CfopWithoutReceivablesPostsWithoutTheInstalments) {
    const int n = notaSalva();
    sql(QStringLiteral("update CFOP set CFOP_GERAFINANCEIRO = 'N' where CODCFOP = '5102'"));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_TRUE(escolha.pedidos.empty());
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS")), 0);
    EXPECT_EQ(status(n), u"Faturada");
}

TEST_F(NFVendaFaturamentoPostagem, AnUnsavedInvoiceIsSavedBeforeItsReceivablesAreChosen) {
    novaNotaSP();
    dm().novoItem();
    noItem("CODPESQUISA", QStringLiteral("1001"));
    noItem("NFVI_QTDE_UND", QStringLiteral("3"));
    dm().gravarItem();
    cabecalho("CODFORMAPAGAMENTO", QStringLiteral("1"));
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Faturar());
    ASSERT_EQ(escolha.pedidos.size(), 1u);
    EXPECT_GT(escolha.pedidos[0].doc.codigo, 0);
    EXPECT_EQ(status(escolha.pedidos[0].doc.codigo), u"Faturada");
}

// --- the referenced sales invoice

using NFVendaFaturamentoReferenciada = NFVendaFaturamento;

TEST_F(NFVendaFaturamentoReferenciada, APaidReferencedInvoiceBlocks) {
    const int n = notaSalva("50"); // 100.00
    receber(900, "1", "90", "0");
    receber(900, "1", "10", "10");
    sql(QStringLiteral("update NFVENDA set CODNFVENDA_DEV = 900, CODSERIE_DEV = '1' where CODNFVENDA = %1")
            .arg(n));
    ui.answerYes();
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(),
              u"A Nf. Ref. tem o financeiro com baixa!! Você precisa excluir essa baixa para depois de "
              u"refazer o financeiro, você baixar!");
    EXPECT_EQ(status(n), u"Aberta");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CON_STATUS = 'ABERTA'")), 2);
}

TEST_F(NFVendaFaturamentoReferenciada, LargerReferencedReceivablesOfferTheDifferenceAndStay) {
    const int n = notaSalva("50");
    receber(900, "1", "120", "0");
    sql(QStringLiteral("update NFVENDA set CODNFVENDA_DEV = 900, CODSERIE_DEV = '1' where CODNFVENDA = %1")
            .arg(n));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_TRUE(temMensagem(
        QStringLiteral("A Nf. Ref. tem um valor maior e por isso precisa ser refeito o financeiro com "
                       "essa diferença!\nPor favor refaça o financeiro na proxima tela!")));
    ASSERT_EQ(escolha.pedidos.size(), 2u);
    EXPECT_EQ(escolha.pedidos[0].total, c("20"));
    EXPECT_EQ(escolha.pedidos[0].doc.codigo, 900);
    EXPECT_EQ(escolha.pedidos[0].doc.serie, u"1");
    EXPECT_EQ(escolha.pedidos[1].total, c("100"));
    EXPECT_EQ(contar(QStringLiteral(
                  "select count(*) from CONTAS where CODNFVENDA = 900 and CON_STATUS = 'ABERTA'")),
              2);
    EXPECT_EQ(dinheiro(QStringLiteral("select sum(CON_VLRPARCELA) from CONTAS where CODNFVENDA = 900")),
              c("140"));
    EXPECT_EQ(status(n), u"Faturada");
}

TEST_F(NFVendaFaturamentoReferenciada, EqualReferencedReceivablesAreWrittenOff) {
    const int n = notaSalva("50");
    receber(900, "1", "60", "0");
    receber(900, "1", "40", "0");
    receber(900, "1", "55", "55", "EXCLUÍDA"); // written off by a reopening: no longer counts
    receber(900, "F", "77", "0"); // same number, another series: not the referenced invoice's
    sql(QStringLiteral("update NFVENDA set CODNFVENDA_DEV = 900, CODSERIE_DEV = '1' where CODNFVENDA = %1")
            .arg(n));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(contar(QStringLiteral(
                  "select count(*) from CONTAS where CODNFVENDA = 900 and CON_STATUS = 'EXCLUÍDA'")),
              3);
    EXPECT_EQ(
        contar(QStringLiteral("select count(*) from CONTAS where CODSERIE = 'F' and CON_STATUS = 'ABERTA'")),
        1);
    EXPECT_EQ(escolha.pedidos.size(), 1u);
}

TEST_F(NFVendaFaturamentoReferenciada, SmallerReferencedReceivablesOrGivingUpRefuse) {
    const int n = notaSalva("50");
    receber(900, "1", "99.99", "0");
    sql(QStringLiteral("update NFVENDA set CODNFVENDA_DEV = 900, CODSERIE_DEV = '1' where CODNFVENDA = %1")
            .arg(n));
    ui.answerYes();
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(),
              u"A NF-e tem o valor maior que NF. Ref. e por isso não é possivel fazer essa operação!");

    sql(QStringLiteral("update CONTAS set CON_VLRPARCELA = 130"));
    escolha.desistir = true;
    ui.answerYes();
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(), u"A Nf. Ref. precisa ser refaturada!");
    EXPECT_EQ(status(n), u"Aberta");

    // A replacement ("2") leaves the referenced invoice alone.
    escolha.desistir = false;
    sql(QStringLiteral("update NFVENDA set NFV_FINALIDADE_EMISSAO = '2' where CODNFVENDA = %1").arg(n));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(contar(QStringLiteral(
                  "select count(*) from CONTAS where CODNFVENDA = 900 and CON_STATUS = 'ABERTA'")),
              1);
}

// --- the referenced purchase

class NFVendaFaturamentoCompra : public NFVendaFaturamento {
protected:
    // Purchase 3 from supplier 4: `total`, payables of 100 + 50, 30 of them paid through bank 7.
    int notaDevolvendo(const char* total) {
        sql(QStringLiteral(
                "insert into NFCOMPRA (CODNFCOMPRA, CODPESSOA, NFC_NRNOTA, NFC_DATA_EMI, NFC_TOTAL_NOTA, "
                "CODFORMAPAGAMENTO) values (3, 4, '5501', '2026-11-02', %1, 2)")
                .arg(QLatin1String(total)));
        const QString conta =
            QStringLiteral("insert into CONTAS (CODCONTA, CON_TIPO, CODPESSOA, CON_ORIGEM, CON_CODORIGEM, "
                           "CODNFCOMPRA, CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, CON_SALDO, CON_VLRPAGO) "
                           "values (%1, 'P', 1, 'NFCOMPRA', 3, 3, '2026-12-02', %2, 150, %3, %4)");
        sql(conta.arg(1001).arg(100).arg(70).arg(30));
        sql(conta.arg(1002).arg(50).arg(50).arg(0));
        sql(QStringLiteral(
            "insert into CONTAS_BAIXAS (CODCONTABAIXA, CODCONTA, CODBANCO, COBX_DTPAG, COBX_VLRPAGO) "
            "values (1, 1001, 7, '2026-11-10', 30)"));
        const int n = notaSalva("50"); // 100.00
        sql(QStringLiteral("update NFVENDA set CODNFCOMPRA_DEV = 3 where CODNFVENDA = %1").arg(n));
        return n;
    }
};

TEST_F(NFVendaFaturamentoCompra, PaidAmountBecomesACreditAndTheRemainderIsBilledAgain) {
    const int n = notaDevolvendo("150");
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_TRUE(
        temMensagem(QStringLiteral("O Financeiro da \"NF. Compra\" precisa ser refeito antes de faturar a "
                                   "\"NF-e\".\nVlr. Adiantamento = 30,00")));
    const auto credito = t->query(
        QStringLiteral("select CODPESSOA, NTC_TIPO, NTC_VALOR, CODBANCO, NTC_USUARIO from NOTA_CREDITO"));
    ASSERT_EQ(credito->recordCount(), 1);
    EXPECT_EQ(credito->field(0).asInteger(), 1);
    EXPECT_EQ(credito->field(1).asString(), u"PAG");
    EXPECT_EQ(credito->field(2).asCurrency(), c("30"));
    EXPECT_EQ(credito->field(3).asInteger(), 7);
    EXPECT_EQ(credito->field(4).asString(), u"caixa");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS_BAIXAS")), 0);
    EXPECT_EQ(contar(QStringLiteral(
                  "select count(*) from CONTAS where CODCONTA in (1001, 1002) and CON_STATUS = 'EXCLUÍDA'")),
              2);
    ASSERT_EQ(escolha.pedidos.size(), 2u);
    const DocumentoContas& compra = escolha.pedidos[0].doc;
    EXPECT_EQ(escolha.pedidos[0].total, c("50"));
    EXPECT_EQ(compra.origem, u"NFCOMPRA");
    EXPECT_EQ(compra.tipo, u'P');
    EXPECT_EQ(compra.codpessoa, 4);
    EXPECT_EQ(compra.numero, u"5501");
    EXPECT_EQ(compra.emissao, QDate(2026, 11, 2));
    EXPECT_EQ(dinheiro(QStringLiteral(
                  "select sum(CON_VLRPARCELA) from CONTAS where CODNFCOMPRA = 3 and CON_STATUS = 'ABERTA' "
                  "and CON_TIPO = 'P'")),
              c("50"));

    // Reopened and billed again: what was paid became a credit once.
    ui.answerYes();
    ASSERT_TRUE(dm().NFVENDA_Reabrir(n, QStringLiteral("1")));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(contar(QStringLiteral("select count(*) from NOTA_CREDITO")), 1);
    EXPECT_TRUE(temMensagem(QStringLiteral("O Financeiro da \"NF. Compra\" precisa ser refeito antes de faturar a "
                                           "\"NF-e\".\nVlr. Adiantamento = 0,00")));
}

// Giving up the purchase's new instalments stops before anything is written:
// no credit, the settlements and payables as they were.
TEST_F(NFVendaFaturamentoCompra, GivingUpThePurchaseInstalmentsLeavesItAsItWas) {
    const int n = notaDevolvendo("150");
    escolha.desistir = true;
    ui.answerYes();
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(), u"A nota de compra precisa ser refaturada, antes de continuar!");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from NOTA_CREDITO")), 0);
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS_BAIXAS")), 1);
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CON_STATUS = 'ABERTA'")), 2);
    EXPECT_EQ(status(n), u"Aberta");
}

TEST_F(NFVendaFaturamentoCompra, ExactReturnZeroesThePurchaseAndALargerOneIsRefused) {
    const int n = notaDevolvendo("100");
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_TRUE(temMensagem(QStringLiteral("O Financeiro da \"NF. Compra\" apos a devolução ficou zerado!\n"
                                           "Vlr. Adiantamento = 30,00")));
    EXPECT_EQ(escolha.pedidos.size(), 1u); // only the invoice's own

    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Reabrir(n, QStringLiteral("1")));
    sql(QStringLiteral("update NFCOMPRA set NFC_TOTAL_NOTA = 99.99"));
    ui.answerYes();
    EXPECT_THROW(faturar(n), Abort);
    EXPECT_EQ(ui.lastMessage(),
              u"A NF-e tem o valor maior que nota de compra e por isso não é possivel fazer essa operação!");
}

// --- failure at any statement of a billing leaves everything as it was

struct Falha {
    const char* nome;
    const char* gatilho; // table and event of the trigger that fails
    const char* quando;  // its condition
};

void PrintTo(const Falha& falha, std::ostream* os) {
    *os << falha.nome;
}

class NFVendaFaturamentoFalha : public NFVendaFaturamentoCompra, public ::testing::WithParamInterface<Falha> {
protected:
    // Everything a billing may touch, as text.
    QString retrato() {
        QStringList partes;
        for (const char* sel :
             {"select list(CODNFVENDA || CODSERIE || NFV_STATUS || coalesce(NFV_DATA_FATURAMENTO, '') || "
              "coalesce(NFV_USUARIO_FATURAMENTO, '') || coalesce(CODCAIXAABERTURA, ''), '|') from NFVENDA",
              "select list(CODCONTA || CON_TIPO || CON_STATUS || CON_VLRPARCELA || CON_VLRPAGO, '|') from "
              "(select * from CONTAS order by CODCONTA)",
              "select list(CODCONTABAIXA || CODCONTA, '|') from CONTAS_BAIXAS",
              "select count(*) from NOTA_CREDITO", "select count(*) from ESTOQUE_MOVIMENTO",
              "select list(PRO_ESTQ_ATUAL, '|') from PRODUTO"})
            partes << t->scalar(QString::fromLatin1(sel)).toString();
        return partes.join(u'\n');
    }
};

TEST_P(NFVendaFaturamentoFalha, NothingChangesAndTheInvoiceStaysOpen) {
    const Falha& falha = GetParam();
    const int n = notaDevolvendo("150");
    receber(900, "1", "100", "0"); // the referenced invoice, written off on billing
    sql(QStringLiteral("update NFVENDA set CODNFVENDA_DEV = 900, CODSERIE_DEV = '1' where CODNFVENDA = %1")
            .arg(n));
    sql(QStringLiteral("create exception E_FALHA_TESTE 'falha injetada'"));
    sql(QStringLiteral("create trigger TRG_FALHA_TESTE for %1 position 99 as begin if (%2) then exception "
                       "E_FALHA_TESTE; end")
            .arg(QLatin1String(falha.gatilho), QString::fromUtf8(falha.quando)));
    const QString antes = retrato();

    ui.answerYes();
    EXPECT_FALSE(faturar(n));
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Erro ao faturar a NF. Erro: ")))
        << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.lastMessage().contains(QStringLiteral("falha injetada")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(retrato(), antes);
    EXPECT_EQ(status(n), u"Aberta");

    // Once the database stops failing, the same billing goes through.
    sql(QStringLiteral("drop trigger TRG_FALHA_TESTE"));
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_NE(retrato(), antes);
}

INSTANTIATE_TEST_SUITE_P(
    CadaComando, NFVendaFaturamentoFalha,
    ::testing::Values(Falha{"ReferenciadaExcluida", "CONTAS before update", "new.CODNFVENDA = 900"},
                      Falha{"Credito", "NOTA_CREDITO before insert", "1 = 1"},
                      Falha{"BaixasDaCompra", "CONTAS_BAIXAS before delete", "1 = 1"},
                      Falha{"ContasDaCompraExcluidas", "CONTAS before update", "new.CODNFCOMPRA = 3"},
                      Falha{"RestoDaCompra", "CONTAS before insert", "new.CON_TIPO = 'P'"},
                      Falha{"ContasDaNota", "CONTAS before insert", "new.CON_ORIGEM = 'NFVENDA'"},
                      Falha{"Carimbo", "NFVENDA before update", "new.NFV_USUARIO_FATURAMENTO is not null"},
                      Falha{"Situacao", "NFVENDA before update", "new.NFV_STATUS = 'Faturada'"},
                      Falha{"Estoque", "ESTOQUE_MOVIMENTO after insert", "1 = 1"}),
    [](const ::testing::TestParamInfo<Falha>& i) { return std::string(i.param.nome); });

} // namespace
