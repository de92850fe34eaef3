#include "PrinterFixture.h"

#include <QFile>

using namespace kvo;

using FiscalPrinterFaultsTest = PrinterFixture;

TEST_F(FiscalPrinterFaultsTest, PrinterOffOrInactiveRefusesEveryCommandAndChangesNothing) {
    ecf->RelatorioGerencial({QStringLiteral("a")}, 1, 1);
    ecf->setDesligada(true);
    const QString off = QStringLiteral("Impressora fiscal desligada ou sem comunicação.");
    EXPECT_EQ(erro([&] { ecf->NumCupom(); }), off);
    EXPECT_EQ(erro([&] { ecf->NumECF(); }), off);
    EXPECT_EQ(erro([&] { ecf->CarregaRelatoriosGerenciais(); }), off);
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("b")}, 1, 1); }), off);
    EXPECT_EQ(erro([&] { ecf->TestaPodeAbrirCupom(); }), off);
    EXPECT_EQ(erro([&] { ecf->AbreCupom({}, {}, {}); }), off);
    ecf->Desativar();
    EXPECT_EQ(erro([&] { ecf->Ativar(); }), off);
    EXPECT_FALSE(ecf->Ativo());

    ecf->setDesligada(false);
    EXPECT_EQ(erro([&] { ecf->NumCupom(); }), u"Impressora fiscal não está ativa.");
    ecf->Ativar();
    EXPECT_EQ(ecf->NumCupom(), u"000001");
    EXPECT_EQ(paper->documents.size(), 1);
}

TEST_F(FiscalPrinterFaultsTest, PaperOutStopsPrintingButCountersCanStillBeRead) {
    ecf->AbreCupom({}, {}, {});
    vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, cur("3.00"));
    ecf->setSemPapel(true);
    const QString noPaper = QStringLiteral("Impressora fiscal sem papel.");
    EXPECT_EQ(erro([&] { vender(QStringLiteral("2"), QStringLiteral("SUCO"), QStringLiteral("F"), 1, 4); }),
              noPaper);
    EXPECT_EQ(erro([&] { ecf->CancelaCupom(); }), noPaper);
    EXPECT_EQ(ecf->NumCupom(), u"000001");
    EXPECT_TRUE(ecf->estado().cupom) << "the coupon stays open until it can be cancelled";
    EXPECT_EQ(ecf->estado().cupom->itens.size(), 1);

    ecf->setSemPapel(false);
    ecf->CancelaCupom();
    ecf->setSemPapel(true);
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1); }), noPaper);
    EXPECT_EQ(erro([&] { ecf->AbreCupom({}, {}, {}); }), noPaper);
    EXPECT_EQ(ecf->NumCupom(), u"000001");
    EXPECT_EQ(paper->documents.size(), 1);
}

TEST_F(FiscalPrinterFaultsTest, ChosenErrorHitsOnlyTheNextCommand) {
    ecf->falharProximoComando(QStringLiteral("Erro 42: tampa aberta"));
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1); }), u"Erro 42: tampa aberta");
    EXPECT_EQ(ecf->NumCupom(), u"000000");
    ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1);
    EXPECT_EQ(ecf->NumCupom(), u"000001");
}

TEST_F(FiscalPrinterFaultsTest, DocumentThatDoesNotComeOutLeavesTheCountersAsTheyWere) {
    paper->onPrint = [] { throw PrintError(QStringLiteral("Não foi possível imprimir em /dev/lp0")); };
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1); }),
              u"Falha de impressão na impressora fiscal: Não foi possível imprimir em /dev/lp0");
    ecf->AbreCupom({}, {}, {});
    EXPECT_THROW(ecf->CancelaCupom(), FiscalPrinterError);
    EXPECT_TRUE(ecf->estado().cupom);

    paper->onPrint = nullptr;
    religar();
    EXPECT_EQ(ecf->NumCupom(), u"000001") << "only the coupon's opening took a COO";
    EXPECT_EQ(ecf->estado().gnf, 0);
    EXPECT_EQ(ecf->estado().cancelamentos, 0);
}

TEST_F(FiscalPrinterFaultsTest, RefusesWhatAFiscalPrinterRefuses) {
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 5); }),
              u"Relatório gerencial 05 não programado na impressora.");
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 0, 1); }),
              u"Número de cópias inválido: 0.");
    EXPECT_EQ(erro([&] { vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, 3); }),
              u"Não há cupom fiscal aberto.");
    EXPECT_EQ(erro([&] { ecf->CancelaCupom(); }), u"Não há cupom fiscal aberto para cancelar.");
    EXPECT_EQ(erro([&] { ecf->programarRelatorioGerencial(1, QStringLiteral("OUTRO")); }),
              u"Relatório gerencial 01 já programado.");

    ecf->AbreCupom({}, {}, {});
    EXPECT_EQ(erro([&] { ecf->AbreCupom({}, {}, {}); }), u"Cupom fiscal já está aberto.");
    EXPECT_EQ(erro([&] { ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1); }),
              u"Não é possível emitir relatório gerencial com cupom fiscal aberto.");
    EXPECT_EQ(erro([&] { vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("T"), 1, 3); }),
              u"Alíquota inválida: T");
    EXPECT_EQ(erro([&] { vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 0, 3); }),
              u"Quantidade inválida.");
    EXPECT_EQ(
        erro([&] { vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, 3, 3); }),
        u"Desconto maior ou igual ao valor do item.");
    EXPECT_EQ(erro([&] { vender(QStringLiteral("1"), QStringLiteral(" "), QStringLiteral("F"), 1, 3); }),
              u"Descrição do item não informada.");
    EXPECT_EQ(erro([&] {
                  ecf->VendeItem(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, 3, 0,
                                 QStringLiteral("UN"), QStringLiteral("#"), QStringLiteral("D"), -1);
              }),
              u"Tipo de desconto ou acréscimo inválido: #");
    EXPECT_TRUE(ecf->estado().cupom->itens.isEmpty());
    // Rates as the pre-sale hands them over: "T" and the rate code, or the letter alone.
    for (const char* rate : {"T18", "T01", "F", "I", "N", "S05"})
        vender(QStringLiteral("1"), QStringLiteral("AGUA"), QLatin1String(rate), 1, 3);
    EXPECT_EQ(ecf->estado().cupom->itens.size(), 6);
}

TEST_F(FiscalPrinterFaultsTest, DamagedStateFileIsRefusedRatherThanStartingTheCountersAgain) {
    ecf->RelatorioGerencial({QStringLiteral("x")}, 1, 1);
    const QString file = ecf->arquivoEstado();
    ecf.reset();
    for (const QByteArray& content :
         {QByteArray("{ \"coo\": "), QByteArray(R"({"numeroEcf": 1, "gnf": 0})")}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        try {
            EmulatedFiscalPrinter damaged(folder.path(), paper);
            FAIL() << "accepted " << content.constData();
        } catch (const FiscalPrinterError& e) {
            EXPECT_TRUE(e.message().startsWith(u"Arquivo de estado da impressora fiscal danificado"))
                << e.what();
        }
    }
}

// The closing command failing leaves the coupon open and the counters where
// they were, so the caller can cancel it.
TEST_F(FiscalPrinterFaultsTest, FailedClosingLeavesTheCouponOpenAndTheTotalsUntouched) {
    for (int caso = 0; caso < 2; ++caso) {
        ecf->AbreCupom({}, {}, {});
        vender(QStringLiteral("1"), QStringLiteral("AGUA"), QStringLiteral("F"), 1, 10);
        ecf->SubTotalizaCupom(0);
        ecf->EfetuaPagamento(QStringLiteral("Dinheiro"), 10);
        if (caso == 0)
            ecf->falharProximoComando(QStringLiteral("Erro de comunicação."));
        else
            ecf->setSemPapel(true);
        const QString esperado = caso == 0 ? QStringLiteral("Erro de comunicação.")
                                           : QStringLiteral("Impressora fiscal sem papel.");
        EXPECT_EQ(erro([&] { ecf->FechaCupom({}); }), esperado);
        ecf->setSemPapel(false);
        EXPECT_TRUE(ecf->estado().cupom) << caso;
        EXPECT_EQ(ecf->estado().grandeTotal, Currency()) << caso;
        EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("Dinheiro")), Currency()) << caso;
        ecf->CancelaCupom();
    }
    EXPECT_EQ(ecf->estado().cancelamentos, 2);
    EXPECT_EQ(ecf->estado().ccf, 2);
}
