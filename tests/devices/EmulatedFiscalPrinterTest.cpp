#include "PrinterFixture.h"

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
