// The invoice screen driven by keys: a new invoice from end to end, the
// numbering, the "Talão" grid, the referenced documents and the billing
// asked when another module opened the screen.
#include "TelaNFVendaTeste.h"

#include "framework/ui/Pesquisa.h"
#include "invoice/ui/RegistroTelasNFVenda.h"
#include "invoice/ui/TelasNFVenda.h"
#include "invoice/ui/UNFVenda.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>

using namespace kvo;
using namespace kvo::test;

namespace {

class NFVendaTela : public TelaNFVendaTeste {
protected:
    // Customer and CFOP typed, each confirmed with Enter.
    void clienteECfop(QWidget* tela, const QString& cliente = QStringLiteral("1"), const QString& cfop = QStringLiteral("5102")) {
        ASSERT_EQ(nomeDoFoco(tela), u"edtCODPESSOA");
        teclar(tela, cliente);
        tecla(tela, Qt::Key_Return);
        ASSERT_EQ(nomeDoFoco(tela), u"edtCODCFOP");
        teclar(tela, cfop);
        tecla(tela, Qt::Key_Return);
    }
    // Alt+S reaches the series list; each Down takes the next series.
    void proximaSerie(QWidget* tela, int vezes = 1) {
        tecla(tela, Qt::Key_S, Qt::AltModifier);
        ASSERT_EQ(nomeDoFoco(tela), u"cbxCODSERIE");
        for (int i = 0; i < vezes; ++i)
            tecla(tela, Qt::Key_Down);
    }
    // Pressing F2: blank when the screen saved and closed, else the message shown.
    QString salvar(TfrmNFVenda& tela) {
        ui.clear();
        atalho(&tela, Qt::Key_F2);
        return tela.isVisible() ? ui.lastMessage() : QString();
    }
};

TEST_F(NFVendaTela, KeyboardOnlyNewInvoiceWithAnItemIsSavedWithTheSeriesNumber) {
    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    EXPECT_EQ(tela.windowTitle(), u"Movimentação: Nota Fiscal de Saída");
    EXPECT_EQ(textoDe(&tela, "edtCODNFVENDA"), u"1");
    EXPECT_TRUE(filho<QLineEdit>(&tela, "edtCODNFVENDA")->isReadOnly());
    EXPECT_TRUE(filho<QComboBox>(&tela, "cbxCODSERIE")->isEnabled());
    clienteECfop(&tela);
    EXPECT_EQ(textoDe(&tela, "edtPES_NOME"), u"Cliente SP");
    EXPECT_EQ(textoDe(&tela, "edtCFOP_DESCRICAO"), u"Venda");
    EXPECT_EQ(textoDe(&tela, "edtTRA_NOME"), u"Transportes"); // the customer's carrier

    QString tituloItem, focoItem;
    QuandoAbrir item(QStringLiteral("frmNFVendaItem"), [&](QWidget* j) {
        tituloItem = j->windowTitle();
        focoItem = nomeDoFoco(j);
        teclar(j, QStringLiteral("1001"));
        tecla(j, Qt::Key_Return);
        EXPECT_EQ(nomeDoFoco(j), u"edtNFVI_QTDE_UND");
        teclar(j, QStringLiteral("3")); // still being typed when F2 confirms
        atalho(j, Qt::Key_F2);
    });
    atalho(&tela, Qt::Key_Insert);
    EXPECT_TRUE(item.abriu());
    EXPECT_EQ(tituloItem, u"Movimentação: Nota Fiscal de Venda Item");
    EXPECT_EQ(focoItem, u"edtCODPESQUISA");
    EXPECT_EQ(filho<QTableView>(&tela, "dbgFilhos")->model()->rowCount(), 1);
    EXPECT_EQ(textoDe(&tela, "edtNFV_TOTAL_NOTA"), u"6,00"); // totals follow the new line

    EXPECT_EQ(salvar(tela), QString());
    auto nota = t->query(QStringLiteral("select CODPESSOA, CODCFOP, NFV_TOTAL_NOTA from NFVENDA where CODNFVENDA = 1 and CODSERIE = '1'"));
    ASSERT_EQ(nota->recordCount(), 1);
    EXPECT_EQ(nota->field(QStringLiteral("CODPESSOA")).asInteger(), 1);
    EXPECT_EQ(nota->field(QStringLiteral("CODCFOP")).asString().trimmed(), u"5102");
    EXPECT_EQ(nota->field(QStringLiteral("NFV_TOTAL_NOTA")).asCurrency(), c("6"));
    EXPECT_EQ(scalarMoney(t.db(), QStringLiteral("select NFVI_QTDE from NFVENDA_ITEM where CODNFVENDA = 1")), c("3"));
    EXPECT_EQ(serSeq("1"), 2); // advanced once for the one invoice
}

TEST_F(NFVendaTela, TheNextInvoiceTakesTheNextNumberAndEscapeDropsEverything) {
    for (int esperado : {1, 2}) {
        TfrmNFVenda tela;
        tela.novaNota();
        mostrar(&tela);
        EXPECT_EQ(textoDe(&tela, "edtCODNFVENDA"), QString::number(esperado));
        clienteECfop(&tela);
        EXPECT_EQ(salvar(tela), QString());
    }
    EXPECT_EQ(notas("1"), 2);
    EXPECT_EQ(serSeq("1"), 3);

    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    clienteECfop(&tela);
    tecla(&tela, Qt::Key_Escape);
    EXPECT_FALSE(tela.isVisible());
    EXPECT_EQ(notas("1"), 2);
    EXPECT_EQ(serSeq("1"), 3);
}

TEST_F(NFVendaTela, DuplicateNumberIsRefusedInItsSeriesAndAcceptedInAnother) {
    {
        TfrmNFVenda primeira;
        primeira.novaNota();
        mostrar(&primeira);
        clienteECfop(&primeira);
        ASSERT_EQ(salvar(primeira), QString());
    }
    sql(QStringLiteral("update SERIE set SER_SEQ = 1 where CODSERIE = '1'")); // the counter put back by hand
    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    clienteECfop(&tela);
    EXPECT_EQ(salvar(tela), u"Numero da Nota fiscal já cadastrada");
    EXPECT_EQ(nomeDoFoco(&tela), u"cbxCODSERIE");
    EXPECT_EQ(serSeq("1"), 1);
    tecla(&tela, Qt::Key_Down); // series "F", numbered from 40
    EXPECT_EQ(textoDe(&tela, "edtCODNFVENDA"), u"40");
    EXPECT_EQ(salvar(tela), QString());
    EXPECT_EQ(notas("1"), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select CODPESSOA from NFVENDA where CODNFVENDA = 40 and CODSERIE = 'F'")).toInt(), 1);
}

// Another terminal saved the number shown meanwhile: this save takes the
// next one and tells the user, instead of refusing the invoice.
TEST_F(NFVendaTela, ANumberTakenMeanwhileByAnotherTerminalGivesTheNext) {
    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    ASSERT_EQ(textoDe(&tela, "edtCODNFVENDA"), u"1");
    clienteECfop(&tela);
    {
        auto outro = t.connectAgain();
        outro->executeSQL(QStringLiteral("update SERIE set SER_SEQ = SER_SEQ + 1 where CODSERIE = '1'"));
        outro->executeSQL(QStringLiteral(
            "insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_TIPO, NFV_DTEMISSAO, NFV_STATUS, "
            "NFV_GER_FINANCEIRO, NFV_ENTREGUE, NFV_FINALIDADE_EMISSAO) values (1, '1', 2, '5102', 'S', current_date, "
            "'Aberta', 'S', 'N', '1')"));
    }
    EXPECT_EQ(salvar(tela), QString());
    EXPECT_TRUE(ui.messages().size() == 1 &&
                ui.lastMessage() == u"A nota fiscal foi gravada com o número 2: o número 1 já foi usado por outro terminal.")
        << ui.lastMessage().toStdString();
    EXPECT_EQ(t->scalar(QStringLiteral("select CODPESSOA from NFVENDA where CODNFVENDA = 2 and CODSERIE = '1'")).toInt(), 1);
    EXPECT_EQ(serSeq("1"), 3);
}

TEST_F(NFVendaTela, ATalaoSeriesListsServiceLinesAndItsTotalsFollowThem) {
    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    auto* grade = filho<QTableView>(&tela, "dbgFilhos");
    EXPECT_FALSE(tela.mostraServicos());
    proximaSerie(&tela, 2); // "1" -> "F" -> "T"
    EXPECT_TRUE(tela.mostraServicos());
    EXPECT_EQ(grade->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Descrição");
    EXPECT_EQ(textoDe(&tela, "edtCODNFVENDA"), u"7");
    tecla(&tela, Qt::Key_L, Qt::AltModifier); // "C&liente:"
    clienteECfop(&tela);

    bool abriu = false;
    QuandoAbrir servico(QStringLiteral("frmNFVendaServico"), [&](QWidget* j) {
        abriu = true;
        EXPECT_EQ(nomeDoFoco(j), u"edtNFVS_DESCRICAO");
        teclar(j, QStringLiteral("Manutencao"));
        tecla(j, Qt::Key_Return);
        tecla(j, Qt::Key_Return); // unit "UND" kept
        teclar(j, QStringLiteral("2"));
        tecla(j, Qt::Key_Return);
        teclar(j, QStringLiteral("35,50"));
        atalho(j, Qt::Key_F2);
    });
    atalho(&tela, Qt::Key_Insert);
    EXPECT_TRUE(abriu);
    EXPECT_EQ(grade->model()->rowCount(), 1);
    EXPECT_EQ(textoDe(&tela, "edtNFV_TOTAL_NOTA"), u"71,00");

    // Deleting the line takes its total away.
    grade->setFocus();
    grade->selectRow(0);
    ui.answerYes();
    QTest::mouseClick(filho<QPushButton>(&tela, "btnExcluirFilho"), Qt::LeftButton);
    EXPECT_EQ(grade->model()->rowCount(), 0);
    EXPECT_EQ(textoDe(&tela, "edtNFV_TOTAL_NOTA"), u"0,00");
}

TEST_F(NFVendaTela, ReferencedDocumentsAreRefusedInTheirOrder) {
    sql(QStringLiteral("insert into NFCOMPRA (CODNFCOMPRA, CODPESSOA, NFC_NRNOTA, NFC_TOTAL_NOTA) values (9, 1, '555', 10)"));
    sql(QStringLiteral("insert into PEDECF (CODPEDECF, CODPESSOA, PECF_STATUS) values (3, 1, 'FINALIZADO')"));
    const int anterior = notaSalva("1");
    QVariant escolhido;
    TwbtPesquisa::dialogo = [&](TwbtPesquisa&, const QString&) { return escolhido; };
    auto clicar = [&](QWidget* tela, const char* botao) {
        ui.clear();
        QTest::mouseClick(filho<QPushButton>(tela, botao), Qt::LeftButton);
        return ui.lastMessage();
    };

    TfrmNFVenda tela;
    tela.novaNota();
    mostrar(&tela);
    EXPECT_EQ(clicar(&tela, "btnRefNFe"), u"Você precisa escolher uma pessoa primeiro!");
    EXPECT_EQ(clicar(&tela, "btnNFCompra"), u"Você precisa escolher uma pessoa primeiro!");
    tecla(&tela, Qt::Key_L, Qt::AltModifier);
    clienteECfop(&tela);
    escolhido = 9;
    EXPECT_EQ(clicar(&tela, "btnNFCompra"), QString());
    EXPECT_EQ(textoDe(&tela, "edtauxNF"), u"9");
    EXPECT_EQ(clicar(&tela, "btnRefNFe"), u"Já foi colocado uma nota de compra de referência!");
    escolhido = 3;
    EXPECT_EQ(clicar(&tela, "btnRefECF"), QString());
    EXPECT_EQ(clicar(&tela, "btnRefECF"), u"Já foi colocado um \"Pedido de ECF\" de referência!");
    tecla(&tela, Qt::Key_Escape);

    // Editing the earlier invoice: itself refused, another one of the customer taken.
    TfrmNFVenda edicao;
    ASSERT_TRUE(edicao.abrirNota(anterior, QStringLiteral("1"), true));
    mostrar(&edicao);
    EXPECT_FALSE(filho<QComboBox>(&edicao, "cbxCODSERIE")->isEnabled());
    escolhido = anterior;
    EXPECT_EQ(clicar(&edicao, "btnRefNFe"), u"Você não pode escolher a mesma nota!");
    tecla(&edicao, Qt::Key_Escape);
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("F"));
    cabecalho("CODPESSOA", QStringLiteral("1"));
    cabecalho("CODCFOP", QStringLiteral("5102"));
    const int outra = dm().gravarNFVenda().numero;
    ASSERT_TRUE(edicao.abrirNota(anterior, QStringLiteral("1"), true));
    mostrar(&edicao);
    escolhido = outra;
    EXPECT_EQ(clicar(&edicao, "btnRefNFe"), QString());
    EXPECT_EQ(clicar(&edicao, "btnNFCompra"), u"Já foi colocado uma NF-e de referência!");
    EXPECT_EQ(salvar(edicao), QString());
    auto ref = t->query(QStringLiteral("select CODNFVENDA_DEV, CODSERIE_DEV from NFVENDA where CODNFVENDA = :N and CODSERIE = '1'"),
                        {{QStringLiteral("N"), anterior}});
    EXPECT_EQ(ref->field(0).asInteger(), outra);
    EXPECT_EQ(ref->field(1).asString().trimmed(), u"F");
    TwbtPesquisa::dialogo = nullptr;
}

TEST_F(NFVendaTela, OpenedByAnotherModuleTheSaveBillsOrIsRefused) {
    EscolhaRoteirizada parcelas;
    bool faturou = true;
    QuandoAbrir naoFatura(QStringLiteral("frmNFVenda"), [&](QWidget* j) {
        tecla(j, Qt::Key_O, Qt::AltModifier); // "F&orma Pgto.:"
        EXPECT_EQ(nomeDoFoco(j), u"cbxCODFORMAPAGAMENTO");
        tecla(j, Qt::Key_Down);
        tecla(j, Qt::Key_L, Qt::AltModifier);
        teclar(j, QStringLiteral("1"));
        tecla(j, Qt::Key_Return);
        teclar(j, QStringLiteral("5102"));
        tecla(j, Qt::Key_Return);
        QuandoAbrir item(QStringLiteral("frmNFVendaItem"), [&](QWidget* i) {
            teclar(i, QStringLiteral("1001"));
            tecla(i, Qt::Key_Return);
            teclar(i, QStringLiteral("5"));
            atalho(i, Qt::Key_F2);
        });
        atalho(j, Qt::Key_Insert);
        EXPECT_TRUE(item.abriu());
        ui.answerNo(); // "Confirma Faturar essa Nota Fiscal?"
        ui.clear();
        atalho(j, Qt::Key_F2);
        EXPECT_EQ(ui.lastMessage(), u"Você precisa Faturar essa nota Fiscal");
        EXPECT_TRUE(j->isVisible());
        ui.answerYes();
        atalho(j, Qt::Key_F2);
        EXPECT_FALSE(j->isVisible());
    });
    faturou = TfrmNFVenda::ChamaForm(12);
    EXPECT_TRUE(naoFatura.abriu());
    EXPECT_TRUE(faturou);
    EXPECT_EQ(ui.questions().count(QStringLiteral("Confirma Faturar essa Nota Fiscal?")), 2);
    EXPECT_EQ(t->scalar(QStringLiteral("select NFV_STATUS from NFVENDA")).toString().trimmed(), u"Faturada");
    EXPECT_EQ(serSeq("1"), 2);

    // Opened from the menu (no code): saved without billing.
    QuandoAbrir semFaturar(QStringLiteral("frmNFVenda"), [&](QWidget* j) {
        teclar(j, QStringLiteral("1"));
        tecla(j, Qt::Key_Return);
        teclar(j, QStringLiteral("5102"));
        atalho(j, Qt::Key_F2);
    });
    EXPECT_FALSE(TfrmNFVenda::ChamaForm(0));
    EXPECT_EQ(t->scalar(QStringLiteral("select NFV_STATUS from NFVENDA where CODNFVENDA = 2")).toString().trimmed(), u"Aberta");
    EXPECT_EQ(ui.questions().count(QStringLiteral("Confirma Faturar essa Nota Fiscal?")), 2);
}

// A series or number handed over by another screen never becomes SQL text.
TEST_F(NFVendaTela, EntriesFindNothingForASeriesWithQuotes) {
    notaSalva("1");
    registrarTelasNFVenda();
    const QString malicia = QStringLiteral("1' or '1'='1");
    for (const auto& abrir : std::vector<std::function<void()>>{
             [&] { telasNFVenda().abrirNota(1, malicia, true); }, [&] { telasNFVenda().cartaCorrecao(1, malicia); },
             [&] { telasNFVenda().canhoto(1, malicia, true); }}) {
        ui.clear();
        tratarEvento(abrir);
        EXPECT_EQ(ui.lastMessage(), u"Nota Fiscal (Cód. 1 - Série 1' or '1'='1) não encontrada.");
    }
    EXPECT_EQ(notas("1"), 1);
}

} // namespace
