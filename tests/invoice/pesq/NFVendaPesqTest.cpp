// The invoice search as a user drives it: rows and filters, the enabled
// states of the selected row, and billing, cancelling, reopening, deleting,
// printing and the screens it opens.
#include "../NFVendaFaturamentoFixture.h"
#include "PesquisaNFVendaTela.h"

#include "core/Paths.h"
#include "framework/ui/ScreenRegistry.h"
#include "invoice/pesq/TelasNFVendaPesq.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace kvo;
using namespace kvo::test;

namespace {

class PesquisaNFVenda : public NaPesquisa<NFVendaFaturamento> {
protected:
    int faturada(const char* qtde = "5") {
        const int n = notaSalva(qtde);
        ui.answerYes();
        EXPECT_TRUE(faturar(n));
        ui.clear();
        return n;
    }
    // A billed invoice of the printed-form series "F".
    int faturadaFormulario() {
        dm().novaNFVenda();
        cabecalho("CODSERIE", QStringLiteral("F"));
        cabecalho("CODPESSOA", QStringLiteral("1"));
        cabecalho("CODCFOP", QStringLiteral("5102"));
        dm().novoItem();
        noItem("CODPESQUISA", QStringLiteral("1001"));
        noItem("NFVI_QTDE_UND", QStringLiteral("1"));
        dm().gravarItem();
        const int n = dm().gravarNFVenda().numero;
        sql(QStringLiteral("update NFVENDA set CODFORMAPAGAMENTO = 1 where CODNFVENDA = %1 and CODSERIE = 'F'").arg(n));
        dm().fecharNFVenda();
        ui.answerYes();
        EXPECT_TRUE(dm().NFVENDA_Faturar_Pergunta(n, QStringLiteral("F"), QStringLiteral("S"), true));
        ui.clear();
        return n;
    }
    void situacao(int n, const char* status) {
        sql(QStringLiteral("update NFVENDA set NFV_STATUS = '%1' where CODNFVENDA = %2")
                .arg(QString::fromUtf8(status))
                .arg(n));
    }
    void emiteNFe() {
        sql(QStringLiteral("update PAR_GERAL set PARG_EMITE_NFE = 'S'"));
        TdmAcesso::gerarInstance().recarregarEmpresa();
    }
    QString statusNaGrade(int n, const QString& serie = QStringLiteral("1")) {
        const int linha = int(listadas().indexOf(QString::number(n) + u'/' + serie));
        return linha < 0 ? QString() : grade()->model()->index(linha, 2).data().toString();
    }
    QStringList perguntas() const { return ui.questions(); }
};

// --- rows and filters

TEST_F(PesquisaNFVenda, DeletedInvoicesAreMarkedAndHiddenWhenAsked) {
    const int aberta = notaSalva(), excluida = notaSalva();
    situacao(excluida, "Excluída");
    abrir();
    listarTodos();
    const QString a = QStringLiteral("%1/1").arg(aberta), x = QStringLiteral("%1/1").arg(excluida);
    ASSERT_TRUE(listadas().contains(a) && listadas().contains(x)) << listadas().join(u' ').toStdString();
    auto fundo = [&](const QString& nota) {
        return grade()->model()->index(int(listadas().indexOf(nota)), 5).data(Qt::BackgroundRole).value<QColor>();
    };
    EXPECT_EQ(fundo(x), TfrmNFVenda_Pesq::corExcluida());
    EXPECT_NE(fundo(a), TfrmNFVenda_Pesq::corExcluida());
    EXPECT_EQ(statusNaGrade(excluida), u"Excluída");

    clicar("chkOcultarExcluidas");
    EXPECT_TRUE(listadas().contains(a));
    EXPECT_FALSE(listadas().contains(x));
    clicar("chkOcultarExcluidas");
    EXPECT_TRUE(listadas().contains(x));
}

TEST_F(PesquisaNFVenda, InactiveSeriesTheCompanyAndTypedTextFilterTheRows) {
    const int um = notaSalva(), outraEmpresa = notaSalva();
    const int form = faturadaFormulario();
    sql(QStringLiteral("update SERIE set SER_ATIVO = 'N' where CODSERIE = 'F'"));
    abrir();
    listarTodos();
    EXPECT_FALSE(listadas().contains(QStringLiteral("%1/F").arg(form))); // hidden from the start
    clicar("chkOcultarSeriesInativas");
    EXPECT_TRUE(listadas().contains(QStringLiteral("%1/F").arg(form)));

    // Several companies: only the current one's invoices, the code bound.
    config("MULTI.EMPRESA", "S");
    sql(QStringLiteral("update NFVENDA set CODPARGERAL = 1"));
    sql(QStringLiteral("update NFVENDA set CODPARGERAL = 2 where CODNFVENDA = %1").arg(outraEmpresa));
    clicar("chkOcultarExcluidas"); // any box rebuilds the filter
    EXPECT_TRUE(listadas().contains(QStringLiteral("%1/1").arg(um)));
    EXPECT_FALSE(listadas().contains(QStringLiteral("%1/1").arg(outraEmpresa)));

    // A typed text is a value, never SQL.
    clicar("chkListarTodos");
    auto* busca = w<QLineEdit>("edtPesquisa");
    busca->setFocus();
    QTest::keyClicks(busca, QStringLiteral("1' or '1'='1"));
    ui.clear();
    tecla(Qt::Key_Return);
    EXPECT_TRUE(listadas().isEmpty()) << listadas().join(u' ').toStdString();
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.lastMessage().toStdString();
}

// --- enabled states

TEST_F(PesquisaNFVenda, EnabledStatesFollowTheSelectedRow) {
    config("NF.CARNE", "S");
    const int aberta = notaSalva(), faturadaN = faturada(), cancelada = faturada(), excluida = notaSalva();
    situacao(cancelada, "Cancelada");
    situacao(excluida, "Excluída");
    abrir();
    EXPECT_TRUE(w("btnCarne")->isVisibleTo(&tela()));
    listarTodos();
    const char* botoes[] = {"btnAlterar", "btnExcluir",  "btnFaturar",       "btnReabrir",
                            "btnImprimir", "btnCancelar", "btnCartaCorrecao", "btnCarne"};
    struct Caso {
        int nota;
        const char* status;
        bool esperado[8];
    };
    const Caso casos[] = {{aberta, "Aberta", {true, true, true, false, false, false, false, false}},
                          {faturadaN, "Faturada", {false, false, false, true, true, true, true, true}},
                          {cancelada, "Cancelada", {false, false, false, true, true, false, false, false}},
                          {excluida, "Excluída", {false, false, false, false, false, false, false, false}}};
    // Twice round, so each state is recomputed from another row's.
    for (int volta = 0; volta < 2; ++volta)
        for (const Caso& c : casos) {
            irPara(c.nota);
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(habilitado(botoes[i]), c.esperado[i]) << c.status << " " << botoes[i];
            for (const char* sempre : {"btnVisualizar", "btnEmail", "btnCanhoto", "btnInutilizar"})
                EXPECT_TRUE(habilitado(sempre)) << c.status << " " << sempre;
        }

    // No row: nothing that needs one.
    auto* busca = w<QLineEdit>("edtPesquisa");
    clicar("chkListarTodos");
    busca->setFocus();
    QTest::keyClicks(busca, QStringLiteral("nada disso"));
    tecla(Qt::Key_Return);
    ASSERT_TRUE(listadas().isEmpty());
    for (const char* b : botoes)
        EXPECT_FALSE(habilitado(b)) << b;
}

TEST_F(PesquisaNFVenda, PrintCaptionByTheSeriesTypeAndOptionalButtons) {
    const int nfe = faturada(), form = faturadaFormulario();
    {
        abrir();
        listarTodos();
        irPara(nfe);
        EXPECT_EQ(w("btnImprimir")->text(), u"Im&primir"); // a company without NF-e
        EXPECT_FALSE(w("btnCarne")->isVisibleTo(&tela()));
        for (const char* b : {"btnXML", "btnDANFE", "btnXMLCons"})
            EXPECT_FALSE(w(b)->isVisibleTo(&tela())) << b;
    }
    emiteNFe();
    QTemporaryDir home;
    setProgramFolder(home.path());
    QFile marca(home.filePath(QStringLiteral("gambinfe.txt")));
    ASSERT_TRUE(marca.open(QIODevice::WriteOnly));
    marca.close();
    abrir();
    listarTodos();
    irPara(nfe);
    EXPECT_EQ(w("btnImprimir")->text(), u"    F10  || NF-e");
    irPara(form, QStringLiteral("F"));
    EXPECT_EQ(w("btnImprimir")->text(), u"    F10  || Impressão");
    for (const char* b : {"btnXML", "btnDANFE", "btnXMLCons"})
        EXPECT_TRUE(w(b)->isVisibleTo(&tela())) << b;
    setProgramFolder(QString());
}

// --- deletion

TEST_F(PesquisaNFVenda, DeletingABilledInvoiceIsRefusedBeforeThePassword) {
    const int n = notaSalva();
    abrir();
    listarTodos();
    irPara(n);
    ASSERT_TRUE(habilitado("btnExcluir"));
    situacao(n, "Faturada"); // billed at another terminal meanwhile
    clicar("btnExcluir");
    EXPECT_EQ(ui.lastMessage(), u"Esta Nota Fiscal não pode ser excluída.");
    EXPECT_TRUE(perguntas().isEmpty()) << perguntas().join(u'|').toStdString();
    EXPECT_EQ(status(n), u"Faturada");
}

TEST_F(PesquisaNFVenda, DeletingAnOpenInvoiceAsksOnceThenThePassword) {
    const int n = notaSalva();
    abrir();
    listarTodos();
    struct Caso {
        const char* senha;
        const char* mensagem;
    };
    for (const Caso& c : {Caso{"", "Por favor digite uma senha!!"}, Caso{"errada", "Senha inválida !"}}) {
        irPara(n);
        ui.answerYes();
        ui.answerInput(QString::fromUtf8(c.senha));
        clicar("btnExcluir");
        EXPECT_EQ(ui.lastMessage(), QString::fromUtf8(c.mensagem));
        EXPECT_EQ(status(n), u"Aberta");
    }
    irPara(n);
    ui.answerYes();
    ui.answerInput(QStringLiteral("segredo"));
    clicar("btnExcluir");
    EXPECT_EQ(perguntas(), (QStringList{QStringLiteral("Confirma Excluir esta Nota Fiscal?"),
                                        QStringLiteral("Senha de exclusão:")}));
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Nota Fiscal (Cód. %1 - Série 1) excluída com sucesso!").arg(n));
    EXPECT_EQ(status(n), u"Excluída");
    EXPECT_EQ(statusNaGrade(n), u"Excluída"); // listed again
    EXPECT_TRUE(ui.allAnswered());
}

// --- billing, cancelling, reopening

TEST_F(PesquisaNFVenda, BillingByItsKeyPassesTheInvoicesOwnType) {
    config("NF.FAT.S/EST", "N");
    sql(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 0"));
    const int venda = notaSalva(), entrada = notaSalva();
    sql(QStringLiteral("update NFVENDA set NFV_TIPO = 'E' where CODNFVENDA = %1").arg(entrada));
    abrir();
    listarTodos();
    irPara(venda); // series "1": taken for the type, it would skip the stock check
    ui.clear();
    atalho(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(ui.lastMessage(), u"Há produtos sem Estoque. Esta função não está autorizada.");
    EXPECT_EQ(status(venda), u"Aberta");

    irPara(entrada); // an entry brings stock in: no check
    ui.clear();
    ui.answerYes();
    atalho(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(perguntas(), QStringList{QStringLiteral("Confirma Faturar essa Nota Fiscal?")});
    EXPECT_EQ(status(entrada), u"Faturada");
    EXPECT_EQ(statusNaGrade(entrada), u"Faturada");
}

TEST_F(PesquisaNFVenda, CancellingRunsTheProcedureAndAnNFeNeedsItsProtocol) {
    const int n = faturada();
    abrir();
    listarTodos();
    irPara(n);
    ui.answerNo();
    clicar("btnCancelar");
    EXPECT_EQ(status(n), u"Faturada");
    ui.answerYes();
    clicar("btnCancelar");
    EXPECT_EQ(ui.lastMessage(), u"Cancelado com sucesso!");
    EXPECT_EQ(status(n), u"Cancelada");
    EXPECT_EQ(statusNaGrade(n), u"Cancelada");

    emiteNFe();
    const int semProtocolo = faturada();
    clicar("chkListarTodos");
    clicar("chkListarTodos");
    irPara(semProtocolo);
    ui.answerYes();
    clicar("btnCancelar");
    EXPECT_EQ(ui.lastMessage(), u"Não é possivel cancelar essa NF-e, ela não tem o número do protocolo de envio!!");
    EXPECT_EQ(status(semProtocolo), u"Faturada");
}

TEST_F(PesquisaNFVenda, AnNFeWithProtocolIsNotReopenedAPrintedFormOneIs) {
    emiteNFe();
    const int nfe = faturada(), form = faturadaFormulario();
    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = '135260000000001' where CODSERIE = '1'"));
    abrir();
    listarTodos();
    irPara(nfe);
    clicar("btnReabrir");
    EXPECT_EQ(ui.lastMessage(), u"Não é possivel reabrir uma nota que já tem protocolo de entrega NF-e!");
    EXPECT_TRUE(perguntas().isEmpty());
    EXPECT_EQ(status(nfe), u"Faturada");

    irPara(form, QStringLiteral("F"));
    ui.answerYes();
    clicar("btnReabrir");
    EXPECT_EQ(perguntas(), QStringList{QStringLiteral("Confirma \"Reabrir\" essa Nota Fiscal?")});
    EXPECT_EQ(ui.lastMessage(), u"Reaberta com sucesso!");
    EXPECT_EQ(t->scalar(QStringLiteral("select NFV_STATUS from NFVENDA where CODSERIE = 'F'")).toString(), u"Aberta");
    EXPECT_EQ(statusNaGrade(form, QStringLiteral("F")), u"Aberta");
}

// --- printing, mailing and the screens the search opens

TEST_F(PesquisaNFVenda, PrintAndMailFollowWhetherTheCompanyIssuesNFe) {
    QList<int> impressas;
    telasNFVenda().imprimirFormulario = [&](int n, const QString& s) {
        EXPECT_EQ(s, u"1");
        impressas << n;
    };
    const int aberta = notaSalva(), n = faturada();
    abrir();
    listarTodos();
    irPara(aberta);
    atalho(Qt::Key_F10); // disabled for an open invoice
    irPara(n);
    atalho(Qt::Key_F10);
    EXPECT_EQ(impressas, QList<int>{n});
    clicar("btnEmail");
    EXPECT_EQ(ui.lastMessage(), u"Não é uma NF-e!");

    emiteNFe(); // without the issuer's city code
    sql(QStringLiteral("update PAR_GERAL set PARG_COD_MUNICIPIO = null"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    ui.clear();
    atalho(Qt::Key_F10);
    EXPECT_EQ(ui.lastMessage(), u"Cód. da Cidade não preenchido no Parâmetro Geral.");
    clicar("btnEmail");
    EXPECT_EQ(ui.lastMessage(), u"Cód. da Cidade não preenchido no Parâmetro Geral.");
    EXPECT_EQ(impressas.size(), 1);
}

// A printed-form invoice of an NF-e company prints on its form, never as an NF-e.
TEST_F(PesquisaNFVenda, AnNFeCompanyPrintsAPrintedFormSeriesOnItsForm) {
    QList<QPair<int, QString>> impressas;
    telasNFVenda().imprimirFormulario = [&](int n, const QString& s) { impressas << qMakePair(n, s); };
    emiteNFe();
    const int form = faturadaFormulario();
    abrir();
    listarTodos();
    irPara(form, QStringLiteral("F"));
    EXPECT_EQ(w("btnImprimir")->text(), u"    F10  || Impressão");
    atalho(Qt::Key_F10);
    EXPECT_EQ(impressas, (QList<QPair<int, QString>>{{form, QStringLiteral("F")}})) << ui.lastMessage().toStdString();
}

TEST_F(PesquisaNFVenda, InvoiceScreenStubAndNewInvoiceOpenForTheRow) {
    struct Aberta {
        int numero;
        QString serie;
        bool editar;
    };
    QList<Aberta> notas, canhotos;
    int novas = 0;
    telasNFVenda().abrirNota = [&](int n, const QString& s, bool e) {
        notas << Aberta{n, s, e};
        return true;
    };
    telasNFVenda().canhoto = [&](int n, const QString& s, bool e) { canhotos << Aberta{n, s, e}; };
    telasNFVenda().novaNota = [&] {
        ++novas;
        return false;
    };
    const int aberta = notaSalva(), n = faturada();
    abrir();
    listarTodos();
    irPara(aberta);
    tecla(Qt::Key_Return); // Enter on the row
    irPara(n);
    tecla(Qt::Key_Return); // a billed one is only shown
    clicar("btnCanhoto");
    atalho(Qt::Key_F2);
    ASSERT_EQ(notas.size(), 2);
    EXPECT_TRUE(notas[0].numero == aberta && notas[0].serie == u"1" && notas[0].editar);
    EXPECT_TRUE(notas[1].numero == n && !notas[1].editar);
    ASSERT_EQ(canhotos.size(), 1);
    EXPECT_TRUE(canhotos[0].numero == n && canhotos[0].editar);
    EXPECT_EQ(novas, 1);
}

// --- the whole path by keys, from the registered entry

TEST_F(PesquisaNFVenda, KeyboardOnlyWalkBillsAnInvoice) {
    const int primeira = notaSalva(), segunda = notaSalva();
    registrarTelasNFVendaPesq();
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela")));
    QWidget* janela = QApplication::activeWindow();
    for (QWidget* topo : QApplication::topLevelWidgets())
        if (topo->objectName() == u"frmNFVenda_Pesq" && topo->isVisible())
            janela = topo;
    ASSERT_TRUE(janela && janela->objectName() == u"frmNFVenda_Pesq");
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela));
    auto* pesquisa = static_cast<TfrmNFVenda_Pesq*>(janela);

    atalho(Qt::Key_L, Qt::AltModifier); // "Listar todos"
    tecla(Qt::Key_Tab); // to the grid
    auto* grade = janela->findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
    ASSERT_EQ(QApplication::focusWidget(), grade);
    ASSERT_EQ(grade->model()->rowCount(), 2);
    EXPECT_EQ(pesquisa->registros().field(QStringLiteral("CODNFVENDA")).asInteger(), segunda); // newest first
    tecla(Qt::Key_Down);
    EXPECT_EQ(pesquisa->registros().field(QStringLiteral("CODNFVENDA")).asInteger(), primeira);
    ui.answerYes();
    atalho(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(status(primeira), u"Faturada");
    EXPECT_EQ(status(segunda), u"Aberta");
    // Listed again with the billed invoice still selected: F10 prints it.
    EXPECT_EQ(pesquisa->registros().field(QStringLiteral("CODNFVENDA")).asInteger(), primeira);
    EXPECT_EQ(grade->currentIndex().row(), 1);
    EXPECT_TRUE(janela->findChild<QAbstractButton*>(QStringLiteral("btnImprimir"))->isEnabled());
    EXPECT_TRUE(ui.allAnswered());
    tecla(Qt::Key_Escape);
    EXPECT_FALSE(janela->isVisible());
    ScreenRegistry::remover(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"));
    ScreenRegistry::remover(QStringLiteral("TfrmConsultaNFVendaDevolucao"));
}

} // namespace
