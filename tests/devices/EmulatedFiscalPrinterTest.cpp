#include "PrinterFixture.h"

#include <QFile>

using namespace kvo;

using EmulatedFiscalPrinterTest = PrinterFixture;

TEST_F(EmulatedFiscalPrinterTest, CooGrowsByOnePerDocumentAndCerPerReportKind) {
    ecf->programarRelatorioGerencial(2, QStringLiteral("FECHAMENTO"));
    EXPECT_EQ(ecf->NumCupom(), u"000000");
    EXPECT_EQ(ecf->NumECF(), u"007");

    ecf->RelatorioGerencial({QStringLiteral("mesa 1")}, 1, 1);
    EXPECT_EQ(ecf->NumCupom(), u"000001");
    ecf->RelatorioGerencial({QStringLiteral("mesa 2")}, 1, 1);
    ecf->RelatorioGerencial({QStringLiteral("fechamento")}, 1, 2);
    EXPECT_EQ(ecf->NumCupom(), u"000003");

    // A coupon takes its COO when it opens; cancelling it ends the same document.
    ecf->AbreCupom({}, {}, {});
    EXPECT_EQ(ecf->NumCupom(), u"000004");
    vender(QStringLiteral("00001"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("3.00"));
    ecf->CancelaCupom();
    EXPECT_EQ(ecf->NumCupom(), u"000004");

    // Two copies are two reports.
    ecf->RelatorioGerencial({QStringLiteral("x")}, 2, 2);
    EXPECT_EQ(ecf->NumCupom(), u"000006");

    ecf->CarregaRelatoriosGerenciais();
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("01"))->contador, 2);
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("02"))->contador, 3);
    EXPECT_EQ(ecf->estado().gnf, 5);
    ASSERT_EQ(paper->documents.size(), 6);
    EXPECT_TRUE(paper->text(2).contains(u"COO: 000003")) << qPrintable(paper->text(2));
    EXPECT_TRUE(paper->text(2).contains(u"CER: 0001"));
    EXPECT_TRUE(paper->text(5).contains(u"COO: 000006"));
    EXPECT_TRUE(paper->text(5).contains(u"CER: 0003"));
}

TEST_F(EmulatedFiscalPrinterTest, ReportKindIsFoundByItsNumberInTheListLastLoaded) {
    EXPECT_FALSE(ecf->AchaRGIndice(QStringLiteral("01"))) << "nothing loaded yet";
    ecf->CarregaRelatoriosGerenciais();
    for (const char* id : {"01", "1", " 01 "})
        EXPECT_EQ(ecf->AchaRGIndice(QLatin1String(id))->descricao, u"CONFERENCIA DE MESA") << id;
    for (const char* id : {"02", "abc", ""})
        EXPECT_FALSE(ecf->AchaRGIndice(QLatin1String(id))) << id;

    // The counter read before printing stays what it was until the list is loaded again.
    ecf->RelatorioGerencial({QStringLiteral("conferencia")}, 1, 1);
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("01"))->contador, 0);
    ecf->CarregaRelatoriosGerenciais();
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("01"))->contador, 1);
}

TEST_F(EmulatedFiscalPrinterTest, CancelledCouponIsRecordedAndPrintedWithItsItems) {
    ecf->TestaPodeAbrirCupom();
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("00012"), QStringLiteral("PIZZA CALABRESA"), QStringLiteral("T18"), 2, cur("35.50"),
           cur("1.00"));
    vender(QStringLiteral("00007"), QStringLiteral("REFRIGERANTE LATA"), QStringLiteral("F"), 3, cur("5.00"));
    const QString coo = ecf->NumCupom();
    ecf->CancelaCupom();

    const FiscalPrinterState& s = ecf->estado();
    EXPECT_FALSE(s.cupom);
    EXPECT_EQ(s.cancelamentos, 1);
    ASSERT_TRUE(s.ultimoCancelado);
    EXPECT_EQ(s.ultimoCancelado->coo, coo.toInt());
    EXPECT_EQ(s.ultimoCancelado->total, cur("85.00"));
    ASSERT_EQ(paper->documents.size(), 1);
    const QString text = paper->text(0);
    for (const char* expected :
         {"001 00012 PIZZA CALABRESA", "002 00007 REFRIGERANTE LATA", "CUPOM FISCAL CANCELADO", "85,00"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << qPrintable(text);
    ecf->TestaPodeAbrirCupom(); // closed again
}

TEST_F(EmulatedFiscalPrinterTest, CountersAndTheOpenCouponSurviveARestart) {
    ecf->programarRelatorioGerencial(3, QStringLiteral("PRE-VENDA"));
    ecf->RelatorioGerencial({QStringLiteral("a")}, 1, 1);
    ecf->RelatorioGerencial({QStringLiteral("b")}, 1, 3);
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("00001"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("3.00"));
    ecf->CancelaCupom();
    ecf->AbreCupom(QStringLiteral("12345678909"), {}, {});
    vender(QStringLiteral("00002"), QStringLiteral("CAFE"), QStringLiteral("T18"), 2, cur("4.50"));

    religar();

    EXPECT_EQ(ecf->NumCupom(), u"000004");
    EXPECT_EQ(ecf->NumECF(), u"007");
    ecf->CarregaRelatoriosGerenciais();
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("1"))->contador, 1);
    EXPECT_EQ(ecf->AchaRGIndice(QStringLiteral("3"))->contador, 1);
    EXPECT_EQ(ecf->estado().gnf, 2);
    EXPECT_EQ(ecf->estado().cancelamentos, 1);
    ASSERT_TRUE(ecf->estado().ultimoCancelado);
    EXPECT_EQ(ecf->estado().ultimoCancelado->coo, 3);

    // The coupon left open before the restart is still open, with its item.
    EXPECT_EQ(erro([&] { ecf->TestaPodeAbrirCupom(); }), u"Cupom fiscal já está aberto.");
    ecf->CancelaCupom();
    EXPECT_TRUE(paper->documents.last().lines.join(u'\n').contains(u"001 00002 CAFE"));
    EXPECT_EQ(ecf->estado().cancelamentos, 2);

    ecf->RelatorioGerencial({QStringLiteral("c")}, 1, 3);
    EXPECT_EQ(ecf->NumCupom(), u"000005");
}

TEST_F(EmulatedFiscalPrinterTest, ItemAmountsAreCutToCentsWithDiscountsAndSurcharges) {
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("1"), QStringLiteral("QUEIJO KG"), QStringLiteral("T07"), cur("0.333"),
           cur("9.99"));
    ecf->VendeItem(QStringLiteral("2"), QStringLiteral("QUEIJO KG"), QStringLiteral("T07"), cur("0.333"),
                   cur("9.99"), 10, QStringLiteral("KG"), QStringLiteral("%"), QStringLiteral("D"), -1);
    ecf->VendeItem(QStringLiteral("3"), QStringLiteral("TAXA"), QStringLiteral("N"), 1, cur("2.00"),
                   cur("0.50"), QStringLiteral("UN"), QStringLiteral("$"), QStringLiteral("A"), -1);

    const QList<CupomFiscalItem>& itens = ecf->estado().cupom->itens;
    ASSERT_EQ(itens.size(), 3);
    EXPECT_EQ(itens[0].total(), cur("3.32")); // 3.32667 cut, not rounded
    EXPECT_EQ(itens[1].ajuste, cur("-0.33")); // 10 % of 3.32
    EXPECT_EQ(itens[1].total(), cur("2.99"));
    EXPECT_EQ(itens[2].total(), cur("2.50"));
    EXPECT_EQ(ecf->estado().cupom->total(), cur("8.81"));
    EXPECT_EQ(itens[2].numero, 3);
}

TEST_F(EmulatedFiscalPrinterTest, IsBusyOnlyWhileAnsweringACommand) {
    bool busyWhilePrinting = false;
    paper->onPrint = [&] { busyWhilePrinting = ecf->ocupada(); };
    ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1);
    EXPECT_TRUE(busyWhilePrinting);
    EXPECT_FALSE(ecf->ocupada());

    ecf->setDesligada(true);
    EXPECT_THROW(ecf->NumCupom(), FiscalPrinterError);
    EXPECT_FALSE(ecf->ocupada()) << "a refused command must not leave the printer busy";
}

// A coupon of two items closed with a surcharge, cash with change and card.
TEST_F(EmulatedFiscalPrinterTest, ClosedCouponMovesItsCountersAndTotals) {
    ecf->RelatorioGerencial({QStringLiteral("conferencia")}, 1, 1);
    ecf->AbreCupom({}, {}, {});
    EXPECT_EQ(ecf->NumCupom(), u"000002");
    EXPECT_EQ(ecf->NumCCF(), u"000001");
    vender(QStringLiteral("1001"), QStringLiteral("X-BURGUER"), QStringLiteral("T18"), 2, cur("24.90"));
    vender(QStringLiteral("2001"), QStringLiteral("REFRIGERANTE"), QStringLiteral("F"), 1, cur("6.50"));
    ecf->SubTotalizaCupom(cur("5.63"));
    ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), cur("50.00"));
    ecf->EfetuaPagamento(QStringLiteral("Cartão de crédito"), cur("20.00"));
    ecf->FechaCupom({QStringLiteral("Mesa 0001")});

    const FiscalPrinterState& s = ecf->estado();
    EXPECT_FALSE(s.cupom);
    EXPECT_EQ(s.coo, 2);
    EXPECT_EQ(s.ccf, 1);
    EXPECT_EQ(s.grandeTotal, cur("61.93"));
    EXPECT_EQ(s.totalPagamento(QStringLiteral("Dinheiro")), cur("50.00"));
    EXPECT_EQ(s.totalPagamento(QStringLiteral("Cartão de crédito")), cur("20.00"));
    EXPECT_EQ(s.totalTroco, cur("8.07"));
    ASSERT_EQ(paper->documents.size(), 2);
    const QString t = paper->text(1);
    for (const char* expected : {"COO: 000002", "CCF: 000001", "001 1001 X-BURGUER", "SUBTOTAL R$", "56,30",
                                 "ACRESCIMO R$", "5,63", "TOTAL R$", "61,93", "Dinheiro", "TROCO R$", "8,07",
                                 "Mesa 0001"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(expected))) << expected << "\n" << qPrintable(t);

    // The next coupon: both counters go on; a discount lowers the grand total it adds.
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("3001"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("10.00"));
    ecf->SubTotalizaCupom(cur("-1.00"));
    ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), cur("9.00"));
    ecf->FechaCupom({});
    EXPECT_EQ(ecf->NumCupom(), u"000003");
    EXPECT_EQ(ecf->NumCCF(), u"000002");
    EXPECT_EQ(ecf->estado().grandeTotal, cur("70.93"));
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("Dinheiro")), cur("59.00"));
}

TEST_F(EmulatedFiscalPrinterTest, CouponStepsComeInTheirOrderAndPaymentsMustCoverTheTotal) {
    EXPECT_EQ(erro([&] { ecf->SubTotalizaCupom(0); }), u"Não há cupom fiscal aberto.");
    ecf->AbreCupom({}, {}, {});
    EXPECT_EQ(erro([&] { ecf->SubTotalizaCupom(0); }), u"Cupom fiscal sem itens.");
    EXPECT_EQ(erro([&] { ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), 5); }), u"Cupom fiscal não subtotalizado.");
    EXPECT_EQ(erro([&] { ecf->FechaCupom({}); }), u"Cupom fiscal não subtotalizado.");
    vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 2, cur("5.00"));
    EXPECT_EQ(erro([&] { ecf->SubTotalizaCupom(cur("-10.00")); }), u"Desconto maior ou igual ao valor do cupom.");
    ecf->SubTotalizaCupom(0);
    EXPECT_EQ(erro([&] { vender(QStringLiteral("2"), QStringLiteral("CAFE"), QStringLiteral("F"), 1, 3); }),
              u"Cupom fiscal já subtotalizado.");
    EXPECT_EQ(erro([&] { ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), 0); }), u"Valor de pagamento inválido.");
    EXPECT_EQ(erro([&] { ecf->EfetuaPagamento(QStringLiteral(" "), 5); }), u"Forma de pagamento não informada.");
    ecf->EfetuaPagamento(QStringLiteral("PIX"), cur("4.00"));
    EXPECT_EQ(erro([&] { ecf->FechaCupom({}); }), u"Pagamento insuficiente: faltam R$ 6,00.");
    EXPECT_TRUE(ecf->estado().cupom) << "still open after the refusal";
    EXPECT_TRUE(paper->documents.isEmpty());
    ecf->EfetuaPagamento(QStringLiteral("PIX"), cur("6.00"));
    ecf->FechaCupom({});
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("PIX")), cur("10.00"));
    EXPECT_EQ(ecf->estado().totalTroco, Currency());
}

TEST_F(EmulatedFiscalPrinterTest, CancellingAPaidCouponCountsItsTotalWithTheAdjustment) {
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("10.00"));
    ecf->SubTotalizaCupom(cur("1.00"));
    ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), cur("11.00"));
    ecf->CancelaCupom();
    const FiscalPrinterState& s = ecf->estado();
    EXPECT_EQ(s.cancelamentos, 1);
    EXPECT_EQ(s.totalCancelado, cur("11.00"));
    EXPECT_EQ(s.grandeTotal, Currency());
    EXPECT_EQ(s.totalPagamento(QStringLiteral("Dinheiro")), Currency());
    EXPECT_EQ(s.ccf, 1) << "a cancelled coupon keeps its number";
    EXPECT_TRUE(paper->text(0).contains(u"Valor cancelado R$                         11,00")) << qPrintable(paper->text(0));
}

TEST_F(EmulatedFiscalPrinterTest, NewCountersSurviveARestartAndOldStateFilesStillOpen) {
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("10.00"));
    ecf->SubTotalizaCupom(0);
    ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), cur("20.00"));
    ecf->FechaCupom({});
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("2"), QStringLiteral("CAFE"), QStringLiteral("F"), 1, cur("4.00"));
    ecf->SubTotalizaCupom(cur("-0.50"));
    ecf->EfetuaPagamento(QStringLiteral("PIX"), cur("1.00"));

    religar();
    const FiscalPrinterState& s = ecf->estado();
    EXPECT_EQ(s.ccf, 2);
    EXPECT_EQ(s.grandeTotal, cur("10.00"));
    EXPECT_EQ(s.totalTroco, cur("10.00"));
    EXPECT_EQ(s.totalPagamento(QStringLiteral("Dinheiro")), cur("20.00"));
    ASSERT_TRUE(s.cupom);
    EXPECT_EQ(s.cupom->ccf, 2);
    EXPECT_EQ(s.cupom->total(), cur("3.50"));
    ecf->EfetuaPagamento(QStringLiteral("PIX"), cur("2.50")); // goes on where it stopped
    ecf->FechaCupom({});
    EXPECT_EQ(ecf->estado().grandeTotal, cur("13.50"));

    // A file from before these counters: read, and they start at zero.
    const QString file = ecf->arquivoEstado();
    ecf.reset();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(R"({"numeroEcf": 4, "coo": 9, "gnf": 3, "cancelamentos": 1,
                "relatoriosGerenciais": [{"indice": 1, "descricao": "CONFERENCIA DE MESA", "cer": 3}],
                "cupomAberto": {"coo": 9, "abertura": "2026-12-06T20:00:00", "itens": []}})");
    f.close();
    EmulatedFiscalPrinter antiga(folder.path(), paper);
    EXPECT_EQ(antiga.estado().coo, 9);
    EXPECT_EQ(antiga.estado().ccf, 0);
    EXPECT_EQ(antiga.estado().grandeTotal, Currency());
    ASSERT_TRUE(antiga.estado().cupom);
    EXPECT_FALSE(antiga.estado().cupom->subtotalizado);
}

TEST_F(EmulatedFiscalPrinterTest, XReadingTakesADocumentNumberAndIsRefusedWithACouponOpen) {
    ecf->LeituraX();
    EXPECT_EQ(ecf->estado().coo, 1);
    EXPECT_EQ(ecf->estado().gnf, 1);
    EXPECT_TRUE(paper->text(0).contains(u"LEITURA X"));
    ecf->AbreCupom({}, {}, {});
    EXPECT_EQ(erro([&] { ecf->LeituraX(); }), u"Não é possível emitir a Leitura X com cupom fiscal aberto.");
}
