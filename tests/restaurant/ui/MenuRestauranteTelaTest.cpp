// The restaurant map driven by keys and clicks, the scripted user answering.
#include "../PedidoFixture.h"

#include "devices/Digest.h"
#include "devices/EmulatedFiscalPrinter.h"
#include "devices/RecordingTarget.h"
#include "framework/db/RecordSetModel.h"
#include "framework/services/DSeguranca.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/ScreenRegistry.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestaurante.h"
#include "restaurant/ui/UMenuRestauranteHost.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kvo;
using namespace kvo::test;

namespace {

// A button's mnemonic clicks it a moment later (animated).
bool esperar(const std::function<bool()>& feito) {
    for (int i = 0; i < 100 && !feito(); ++i)
        QTest::qWait(10);
    return feito();
}

template <class W>
W* filho(QWidget* tela, const QString& nome) {
    W* w = tela->findChild<W*>(nome);
    EXPECT_NE(w, nullptr) << nome.toStdString();
    return w;
}

class TelaMapa : public PedidoFixture {
protected:
    void SetUp() override {
        PedidoFixture::SetUp();
        pedido(); // the restaurant keys, as the map's first opening registers them
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        TdmSeguranca& seg = TdmSeguranca::gerarInstance();
        seg.criarGrupo(QStringLiteral("Caixa"));
        seg.criarUsuario(QStringLiteral("gerente"), QStringLiteral("4321"), QStringLiteral("Caixa"), true);
        registrarTelasMenuRestaurante();
        telasRestaurante().escolhaPedido = [this](const QString& modo, int mesa) {
            chamadas << qMakePair(modo, mesa);
            timerDuranteAcao = mapa()->timer()->isActive();
            return retorno;
        };
    }
    void TearDown() override {
        delete mapa(); // screens outlive a test's module and database otherwise
        telasRestaurante() = {};
        chamadaExterna() = {};
        PedidoFixture::TearDown();
    }

    TfrmMenuRestaurante* mapa() { return menuRestauranteAberto(); }
    TfrmMenuRestaurante* abrir(const QString& nome = QStringLiteral("TfrmMenuRestaurante")) {
        EXPECT_TRUE(ScreenRegistry::abrir(nome));
        TfrmMenuRestaurante* m = mapa();
        EXPECT_TRUE(m && QTest::qWaitForWindowExposed(m));
        return m;
    }
    QTableWidget* grade() { return filho<QTableWidget>(mapa(), QStringLiteral("grdMapa")); }
    QTableView* itens() { return filho<QTableView>(mapa(), QStringLiteral("dbgItensInf")); }
    QString rotulo(const char* nome) { return filho<QLabel>(mapa(), QString::fromLatin1(nome))->text(); }

    void clicarMesa(int mesa) {
        QTableWidget* g = grade();
        for (int r = 0; r < g->rowCount(); ++r)
            for (int c = 0; c < g->columnCount(); ++c)
                if (g->item(r, c) && g->item(r, c)->data(Qt::UserRole).toInt() == mesa) {
                    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualItemRect(g->item(r, c)).center());
                    return;
                }
        ADD_FAILURE() << "mesa " << mesa << " fora do mapa";
    }
    // The grid row whose description and status are these.
    int linha(const QString& descricao, const QString& status = QStringLiteral("NORMAL")) {
        QAbstractItemModel* m = itens()->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            const QString texto = m->index(r, 1).data().toString();
            if (texto == descricao && statusDaLinha(r) == status)
                return r;
        }
        return -1;
    }
    QString statusDaLinha(int r) {
        auto* modelo = static_cast<RecordSetModel*>(itens()->model());
        return modelo->recordSet().rowAt(r).value(QStringLiteral("PEDI_STATUS")).toString();
    }
    void clicarItem(int r) {
        ASSERT_GE(r, 0);
        QTableView* v = itens();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(r, 1)).center());
    }
    void clicarCancelar() {
        QTest::mouseClick(filho<QPushButton>(mapa(), QStringLiteral("btnCancelarItemInf")), Qt::LeftButton);
    }
    void responderSupervisor() {
        ui.answerYes(); // 'Confirma "Cancelar" este registro?'
        ui.answerInput(QStringLiteral("gerente"));
        ui.answerInput(QStringLiteral("4321"));
    }
    QString itensNoBanco(int produto) {
        return texto(QStringLiteral("select list(cast(PEDI_QTDE as integer) || ':' || PEDI_STATUS, ' ') from "
                                    "(select PEDI_QTDE, PEDI_STATUS from RES_PEDIDO_ITEM where CODPRODUTO = %1 "
                                    "order by CODPEDIDOITEM)")
                         .arg(produto));
    }
    QStringList erros() const {
        QStringList out;
        for (const auto& m : ui.messages())
            if (m.kind == MessageKind::Error)
                out << m.text;
        return out;
    }

    QList<QPair<QString, int>> chamadas;
    int retorno = 0;
    bool timerDuranteAcao = true;
};

} // namespace

TEST_F(TelaMapa, OneInstanceShownWithItsRefreshFocusAndCaptions) {
    lancar(2, {{QStringLiteral("1001"), Currency(1)}});
    TfrmMenuRestaurante* m = abrir();
    EXPECT_EQ(abrir(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF")), m); // brought to the front, not a second one
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"btnAcao1");
    EXPECT_EQ(filho<QPushButton>(m, QStringLiteral("btnAcao5"))->text(), u"  &5 - MENU FISCAL");
    EXPECT_TRUE(m->timer()->isActive());
    EXPECT_EQ(m->timer()->interval(), 40000);
    EXPECT_EQ(rotulo("lblLivre"), u"Livre (3)");
    EXPECT_EQ(rotulo("lblAtendimento"), u"Atendimento (1)");
    EXPECT_EQ(rotulo("lblExtrato"), u"Extrato");
    EXPECT_EQ(rotulo("lblMesaInf"), u"MESA=>001"); // the first cell when nothing was selected
    EXPECT_FALSE(filho<QLabel>(m, QStringLiteral("lblAvisoImpressao"))->isVisible());

    clicarMesa(2);
    EXPECT_EQ(rotulo("lblMesaInf"), u"MESA=>002");
    EXPECT_EQ(rotulo("lblTotProdutosInf"), u"24,90");
    EXPECT_EQ(rotulo("lblTotPedidoInf"), u"24,90"); // table 2 charges no service
    EXPECT_EQ(itens()->model()->rowCount(), 1);
}

TEST_F(TelaMapa, CancellingOneOfThreeUnitsLeavesTwoAndACancelledLineOfOne) {
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    clicarMesa(1);
    clicarItem(linha(QStringLiteral("X-BURGUER")));
    responderSupervisor();
    ui.answerInput(QStringLiteral("1"));
    clicarCancelar();
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_TRUE(erros().isEmpty()) << erros().join(u'|').toStdString();
    EXPECT_EQ(ui.questions().value(0), u"Confirma \"Cancelar\" este registro?");
    EXPECT_EQ(itensNoBanco(1), u"2:NORMAL 1:CANCELADO");
    EXPECT_EQ(texto(QStringLiteral("select PEDI_CAN_USUARIO from RES_PEDIDO_ITEM where PEDI_STATUS = 'CANCELADO'")),
              u"Administrador");
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(11));
    // The grid and the totals show it: 2 x 24,90 + 6,50 and 10 % service.
    EXPECT_EQ(itens()->model()->rowCount(), 3);
    EXPECT_EQ(rotulo("lblTotProdutosInf"), u"56,30");
    EXPECT_EQ(rotulo("lblTotPedidoInf"), u"61,93");
    EXPECT_EQ(QApplication::focusWidget(), grade());
}

TEST_F(TelaMapa, AQuantityThatIsNotOneOfTheItemsIsRefused) {
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    for (const char* digitado : {"4", "0", "abc", "-1"}) {
        clicarMesa(1);
        clicarItem(linha(QStringLiteral("X-BURGUER")));
        ui.clear();
        responderSupervisor();
        ui.answerInput(QString::fromLatin1(digitado));
        clicarCancelar();
        EXPECT_EQ(erros(), QStringList{QStringLiteral("Quantidade invalida!")}) << digitado;
        EXPECT_TRUE(ui.allAnswered()) << digitado;
    }
    EXPECT_EQ(itensNoBanco(1), u"3:NORMAL");
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(10));
}

// The map is up to 40 s old: an item another terminal cancelled meanwhile is
// refused before anything is asked, and the grid shows it as it is now.
TEST_F(TelaMapa, AnItemCancelledOnAnotherTerminalIsAlreadyCancelled) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    clicarMesa(1);
    clicarItem(linha(QStringLiteral("X-BURGUER")));
    auto conexao = t.connectAgain();
    TdmResPedido outro(*conexao);
    outro.CarregarResVenda(codpedido);
    outro.cdsResPedido().edit();
    outro.cdsResPedidoItem().locate(QStringLiteral("CODPRODUTO"), 1);
    const int item = int(outro.cdsResPedidoItem().field(QStringLiteral("CODPEDIDOITEM")).asInteger());
    outro.gravarPedido(QStringList{outro.cancelarItem(item, Currency(3), {})});

    clicarCancelar();
    EXPECT_EQ(erros(), QStringList{QStringLiteral("Item já CANCELADO!")});
    EXPECT_TRUE(ui.questions().isEmpty());
    EXPECT_EQ(itensNoBanco(1), u"3:CANCELADO");
    EXPECT_GE(linha(QStringLiteral("X-BURGUER"), QStringLiteral("CANCELADO")), 0);
    clicarItem(linha(QStringLiteral("X-BURGUER"), QStringLiteral("CANCELADO")));
    EXPECT_FALSE(filho<QPushButton>(mapa(), QStringLiteral("btnCancelarItemInf"))->isEnabled());
}

TEST_F(TelaMapa, TheWholeOfTheLastItemCancelsTheTableBeforeAnyReasonIsAsked) {
    cfg().setValor(QStringLiteral("REST.MOT.CAN"), QStringLiteral("S"));
    lancar(2, {{QStringLiteral("2001"), Currency(2)}});
    abrir();
    clicarMesa(2);
    clicarItem(0);
    responderSupervisor();
    ui.answerInput(QStringLiteral("2"));
    clicarCancelar();
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(chamadas, (QList<QPair<QString, int>>{{QStringLiteral("CancelamentoTotal"), 2}}));
    EXPECT_EQ(itensNoBanco(2), u"2:NORMAL"); // the order choice screen does the rest
}

TEST_F(TelaMapa, TheReasonIsRequiredWhenAskedForAndTheSupervisorOnlyWhenSet) {
    cfg().setValor(QStringLiteral("REST.MOT.CAN"), QStringLiteral("S"));
    cfg().setValor(QStringLiteral("REST.SNH.CAN"), QStringLiteral("N"));
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    clicarMesa(1);
    clicarItem(linha(QStringLiteral("X-BURGUER")));
    ui.answerYes();
    ui.answerInput(QStringLiteral("3"));
    ui.answerInput(QStringLiteral("  "));
    clicarCancelar();
    EXPECT_EQ(erros(), QStringList{QStringLiteral("Você precisa informar o motivo do cancelamento!")});
    EXPECT_EQ(itensNoBanco(1), u"3:NORMAL");

    clicarItem(linha(QStringLiteral("X-BURGUER")));
    ui.answerYes();
    ui.answerInput(QStringLiteral("3"));
    ui.answerInput(QStringLiteral("cliente desistiu"));
    clicarCancelar();
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(itensNoBanco(1), u"3:CANCELADO");
    EXPECT_EQ(texto(QStringLiteral("select PEDI_CAN_MOTIVO from RES_PEDIDO_ITEM where CODPRODUTO = 1")),
              u"cliente desistiu");
}

TEST_F(TelaMapa, AnotherTerminalsPostingAfterTheMapWasReadIsKept) {
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    clicarMesa(1);
    clicarItem(linha(QStringLiteral("X-BURGUER")));
    auto conexao = t.connectAgain();
    TdmResPedido outro(*conexao);
    lancar(1, {{QStringLiteral("3001"), Currency(2)}}, &outro);
    responderSupervisor();
    ui.answerInput(QStringLiteral("1"));
    clicarCancelar();
    EXPECT_TRUE(erros().isEmpty()) << erros().join(u'|').toStdString();
    EXPECT_EQ(itensNoBanco(1), u"2:NORMAL 1:CANCELADO");
    EXPECT_EQ(itensNoBanco(3), u"2:NORMAL");
    // 2 x 24,90 + 6,50 + 2 x 11,47
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO where CODCONTROLE = 1")),
              Currency::fromString(u"79.24"));
}

TEST_F(TelaMapa, HidingCancelledItemsInOnePlacementHidesThemInTheOther) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}, {QStringLiteral("2001"), Currency(1)}});
    t->executeSQL(QStringLiteral("update RES_PEDIDO_ITEM set PEDI_STATUS = 'CANCELADO' where CODPRODUTO = 2 and "
                                 "CODPEDIDO = %1").arg(codpedido));
    TfrmMenuRestaurante* m = abrir();
    EXPECT_TRUE(filho<QWidget>(m, QStringLiteral("pnlItensInf"))->isVisible());
    EXPECT_FALSE(filho<QWidget>(m, QStringLiteral("pnlItensDir"))->isVisible());
    clicarMesa(1);
    EXPECT_EQ(itens()->model()->rowCount(), 2);
    auto* inf = filho<QCheckBox>(m, QStringLiteral("chkOcultarInf"));
    auto* dir = filho<QCheckBox>(m, QStringLiteral("chkOcultarDir"));
    QTest::mouseClick(inf, Qt::LeftButton, {}, QPoint(8, inf->height() / 2));
    EXPECT_TRUE(inf->isChecked());
    EXPECT_TRUE(dir->isChecked());
    EXPECT_EQ(itens()->model()->rowCount(), 1);
    QTest::mouseClick(inf, Qt::LeftButton, {}, QPoint(8, inf->height() / 2));
    EXPECT_FALSE(dir->isChecked());
    EXPECT_EQ(itens()->model()->rowCount(), 2);

    // The other placement, on the right, from the setting.
    cfg().setValor(QStringLiteral("REST.IT.INF"), QStringLiteral("N"));
    TfrmMenuRestaurante direita;
    direita.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&direita));
    EXPECT_FALSE(filho<QWidget>(&direita, QStringLiteral("pnlItensInf"))->isVisible());
    EXPECT_TRUE(filho<QWidget>(&direita, QStringLiteral("pnlItensDir"))->isVisible());
    auto* dir2 = filho<QCheckBox>(&direita, QStringLiteral("chkOcultarDir"));
    QTest::mouseClick(dir2, Qt::LeftButton, {}, QPoint(8, dir2->height() / 2));
    EXPECT_TRUE(filho<QCheckBox>(&direita, QStringLiteral("chkOcultarInf"))->isChecked());
}

TEST_F(TelaMapa, PagesTurnByClicksAndResizingRefitsTheMap) {
    t->executeSQL(QStringLiteral("delete from RES_CONTROLE"));
    for (int mesa = 1; mesa <= 60; ++mesa)
        t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (%1)").arg(mesa));
    TfrmMenuRestaurante* m = abrir();
    m->resize(900, 560);
    QTest::qWait(20);
    const int porPagina = m->mapa().tamanhoPagina();
    ASSERT_LT(porPagina, 60);
    EXPECT_TRUE(rotulo("lblPagina").startsWith(u"(01/"));
    auto* proxima = filho<QToolButton>(m, QStringLiteral("imgProxima"));
    auto* anterior = filho<QToolButton>(m, QStringLiteral("imgAnterior"));
    EXPECT_FALSE(anterior->isVisible());
    QTest::mouseClick(proxima, Qt::LeftButton);
    EXPECT_TRUE(rotulo("lblPagina").startsWith(u"(02/"));
    EXPECT_TRUE(anterior->isVisible());
    EXPECT_EQ(grade()->item(0, 0)->data(Qt::UserRole).toInt(), porPagina + 1);
    QTest::mouseClick(anterior, Qt::LeftButton);
    EXPECT_EQ(grade()->item(0, 0)->data(Qt::UserRole).toInt(), 1);

    const int colunas = m->mapa().colunas();
    m->resize(m->width() + 400, m->height());
    QTest::qWait(20);
    EXPECT_GT(m->mapa().colunas(), colunas);
    EXPECT_EQ(grade()->columnCount(), m->mapa().colunas());
    EXPECT_TRUE(rotulo("lblPagina").startsWith(u"(01/"));
}

TEST_F(TelaMapa, ActionKeysFollowTheRightsAndTheTimerStopsDuringAnAction) {
    TdmSeguranca& seg = TdmSeguranca::gerarInstance();
    const int garcons = seg.criarGrupo(QStringLiteral("Garçons"));
    const std::pair<const char*, bool> direitos[] = {
        {"mni_mov_lancozinha", true}, {"ransfernciadeItemLanamento1", true}, {"mni_mov_fechamento", false}};
    for (const auto& [menu, pode] : direitos) {
        seg.registrarMenu(QString::fromLatin1(menu), QString::fromLatin1(menu));
        seg.concederAcesso(QStringLiteral("Garçons"), QString::fromLatin1(menu), pode);
    }
    TdmAcesso::gerarInstance().setUsuario({2, QStringLiteral("garcom"), garcons, false});
    TfrmMenuRestaurante* m = abrir();
    EXPECT_TRUE(filho<QWidget>(m, QStringLiteral("pnlmni_mov_lancozinha"))->isVisible());
    EXPECT_FALSE(filho<QWidget>(m, QStringLiteral("pnlmni_mov_fechamento"))->isVisible());
    EXPECT_FALSE(filho<QWidget>(m, QStringLiteral("pnlmniMovBalcao"))->isVisible());
    clicarMesa(3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_4); // not his: nothing happens
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_8);
    EXPECT_TRUE(ui.messages().isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_7, Qt::AltModifier);
    esperar([&] { return chamadas.size() == 2; });
    EXPECT_EQ(chamadas, (QList<QPair<QString, int>>{{QString(), 3}, {QStringLiteral("TransItem"), 3}}));
    EXPECT_FALSE(timerDuranteAcao);
    EXPECT_TRUE(m->timer()->isActive());
}

TEST_F(TelaMapa, CounterSaleGoesThroughTheHostsQuickSaleEntry) {
    TfrmMenuRestaurante* m = abrir();
    QTest::keyClick(m, Qt::Key_8);
    EXPECT_EQ(erros(), QStringList{QStringLiteral("A tela \"frmMenuCorePDV\" não está disponível nesta versão.")});

    // The host's sale menu, with its quick-sale button on its panel.
    QWidget pdv;
    pdv.setObjectName(QStringLiteral("frmMenuCorePDV"));
    auto* painel = new QWidget(&pdv);
    painel->setObjectName(QStringLiteral("pnlmni_mov_VendaRapida"));
    auto* botao = new QPushButton(QStringLiteral("Venda Rápida"), painel);
    QList<int> lidos;
    QObject::connect(botao, &QPushButton::clicked, [&] {
        const ParametrosVendaRapida& p = TdmAcesso::gerarInstance().parametrosVendaRapida();
        lidos << p.primeiro << p.segundo << p.terceiro;
    });
    m->activateWindow();
    ui.clear();
    QTest::keyClick(m, Qt::Key_8);
    QTest::keyClick(m, Qt::Key_4);
    EXPECT_EQ(lidos, (QList<int>{-1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TdmAcesso::gerarInstance().parametrosVendaRapida(), ParametrosVendaRapida{}); // cleared afterwards
    // No fiscal printer in this terminal: told, and the sale still opens.
    EXPECT_EQ(ui.lastMessage(), u"Impressora (ECF) não disponível!");
}

TEST_F(TelaMapa, WithoutAnOpenCashRegisterPostingDoesNotStart) {
    TdmCaixaAbertura& caixa = TdmCaixaAbertura::gerarInstance();
    caixa.fechar(Currency());
    caixa.abrirInterativo = [] { return false; };
    TfrmMenuRestaurante* m = abrir();
    ui.answerYes(); // opens it... but the opening screen is given up
    QTest::keyClick(m, Qt::Key_1);
    caixa.abrirInterativo = {};
    EXPECT_TRUE(chamadas.isEmpty());
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Não há caixa aberto. Deseja abrir o caixa agora?")});
}

TEST_F(TelaMapa, TheCheckPrintsOnTheCallersFiscalPrinterAndTheMapShowsIt) {
    lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    QTemporaryDir pasta;
    auto papel = std::make_shared<RecordingTarget>();
    EmulatedFiscalPrinter ecf(pasta.path(), papel, 3);
    ecf.Ativar();
    Digest ead;
    chamadaExterna().ecf = &ecf;
    chamadaExterna().assinador = &ead;
    TfrmMenuRestaurante* m = abrir(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"));
    EXPECT_EQ(rotulo("lblExtrato"), u"Extrato");
    retorno = 1;
    QTest::keyClick(m, Qt::Key_3);
    EXPECT_TRUE(erros().isEmpty()) << erros().join(u'|').toStdString();
    EXPECT_EQ(chamadas, (QList<QPair<QString, int>>{{QStringLiteral("Extrato"), 1}}));
    ASSERT_EQ(papel->documents.size(), 1);
    EXPECT_TRUE(papel->text(0).contains(u"CONFERENCIA DE MESA"));
    EXPECT_EQ(texto(QStringLiteral("select PED_IMPRESSO || PED_NUMECF from RES_PEDIDO where CODCONTROLE = 1")), u"S3");
    EXPECT_EQ(rotulo("lblExtrato"), u"Extrato (1)");
}

TEST_F(TelaMapa, StationsWithTicketsWaitingOverAMinuteAreShown) {
    t->executeSQL(QStringLiteral("insert into RES_IMPRESSAO (CODRESIMPRESSAO, IMP_CENTRALIZADOR, IMP_TITULO, IMP_DATA) "
                                 "values (1, 'COZINHA', 'MESA 1', dateadd(-2 minute to current_timestamp))"));
    t->executeSQL(QStringLiteral("insert into RES_IMPRESSAO (CODRESIMPRESSAO, IMP_CENTRALIZADOR, IMP_TITULO) "
                                 "values (2, 'BAR', 'MESA 2')")); // just now: not late
    TfrmMenuRestaurante* m = abrir();
    auto* aviso = filho<QLabel>(m, QStringLiteral("lblAvisoImpressao"));
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_TRUE(aviso->text().contains(u"COZINHA"));
    EXPECT_FALSE(aviso->text().contains(u"BAR"));
}

TEST_F(TelaMapa, KeyboardOnlyWalk) {
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    lancar(2, {{QStringLiteral("2001"), Currency(1)}});
    TfrmMenuRestaurante* m = abrir();
    auto tecla = [](Qt::Key k, Qt::KeyboardModifiers mod = {}) { QTest::keyClick(QApplication::focusWidget(), k, mod); };
    tecla(Qt::Key_Return); // "&1 - Lançamento" has the focus: posting on the selected table
    tecla(Qt::Key_Backtab); // back to the map
    ASSERT_EQ(QApplication::focusWidget(), grade());
    tecla(Qt::Key_Right);
    EXPECT_EQ(rotulo("lblMesaInf"), u"MESA=>002");
    tecla(Qt::Key_Return); // Enter on a table posts on it
    EXPECT_EQ(chamadas, (QList<QPair<QString, int>>{{QString(), 1}, {QString(), 2}}));
    tecla(Qt::Key_Left);
    EXPECT_EQ(rotulo("lblMesaInf"), u"MESA=>001");
    // To the items and down to the X-BURGUER, then Alt+C cancels one unit.
    for (int i = 0; i < 20 && QApplication::focusWidget() != itens(); ++i)
        tecla(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), itens());
    const int alvo = linha(QStringLiteral("X-BURGUER"));
    for (int i = 0; i < alvo; ++i)
        tecla(Qt::Key_Down);
    responderSupervisor();
    ui.answerInput(QStringLiteral("1"));
    tecla(Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(esperar([&] { return ui.allAnswered(); }));
    EXPECT_EQ(itensNoBanco(1), u"2:NORMAL 1:CANCELADO");
    tecla(Qt::Key_Escape);
    EXPECT_FALSE(m->isVisible());
}
