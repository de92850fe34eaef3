// A whole evening at the demo restaurant, from the screens: three tables
// posted on the touch map, an item and a table transferred, a table check and
// a bill printed, two tables closed with cash and card, an item cancelled on
// the third; at the end stock, orders, coupons and the fiscal printer's
// counters must tell the same story.
#include "../restaurant/TicketsRecebidos.h"
#include "../restaurant/ui/Roteiro.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "devices/Digest.h"
#include "devices/EmulatedFiscalPrinter.h"
#include "devices/RecordingTarget.h"
#include "framework/db/DatabaseSetup.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/ScreenRegistry.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestauranteTouch.h"
#include "restaurant/ui/UResPedido.h"
#include "sales/ui/UMenuCorePDV.h"
#include "sales/ui/UVendaRapida.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::test;

namespace {

class NoiteRestaurante : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(19, 0)));
        setup::loadDemoData(t.db());
        if (qEnvironmentVariableIsSet("KVO_TESTE_MENSAGENS"))
            ui.onMessage = [](const ScriptedUi::Message& m) { qWarning("mensagem: %s", qPrintable(m.text)); };
        TdmAcesso::gerarInstance().usarConexao(t.db());
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        setProgramFolder(home.path()); // the stations' folders and the bills land here
        TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
        cfg.registrarChaves();
        cfg.setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S")); // the waiters identify themselves
        TdmSeguranca seg(t.db());
        seg.criarGrupo(QStringLiteral("Caixa"));
        seg.criarUsuario(QStringLiteral("gerente"), QStringLiteral("4321"), QStringLiteral("Caixa"), true);
        TdmCaixaAbertura::gerarInstance().abrir(QDate(2026, 12, 6), Currency(), QStringLiteral("caixa"));
        ecf = std::make_unique<EmulatedFiscalPrinter>(pastaEcf.path(), papel);
        ecf->Ativar();
        ecf->CarregaRelatoriosGerenciais();
        chamadaExterna().ecf = ecf.get();
        chamadaExterna().assinador = &assinador;
        TfrmVendaRapida::usarECF(ecf.get());
        registrarTelasPedido();
        registrarTelasMenuRestauranteTouch();
        registrarTelasVendaRapida();
        for (const char* p : {"1003", "2001", "2002", "2003", "3001", "4001"})
            estoqueInicial[QString::fromLatin1(p)] = estoque(QString::fromLatin1(p));
    }
    void TearDown() override {
        delete menuRestauranteTouchAberto();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmMenuCorePDV")
                delete w;
        TfrmVendaRapida::usarECF(nullptr);
        chamadaExterna() = {};
        telasRestaurante() = {};
        setProgramFolder(QString());
        Clock::reset();
    }

    // --- the touch map, by touches
    template <class W = QWidget>
    W* w(const char* nome) {
        W* achado = mapa->findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(achado, nullptr) << nome;
        return achado;
    }
    // Back on the map after a screen it opened closed, as the waiter's finger does.
    void voltarAoMapa() {
        mapa->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(mapa));
    }
    void toque(const char* nome) { QTest::mouseClick(w<QPushButton>(nome), Qt::LeftButton); }
    void tocarCampo(const char* nome) { QTest::mouseClick(w<QLineEdit>(nome), Qt::LeftButton); }
    void teclado(const QString& digitos) {
        for (QChar c : digitos)
            toque(qPrintable(QStringLiteral("btnTecla") + c));
    }
    void tecla(Qt::Key k) {
        QWidget* alvo = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(alvo, nullptr) << "no window to type in";
        QTest::keyClick(alvo, k);
    }
    void abrirMesa(int mesa, const QString& garcon, const QString& senha) {
        tocarCampo("edtMesa");
        toque("btnLimpar"); // what an earlier action left there
        teclado(QString::number(mesa));
        toque("btnLancar");
        tocarCampo("edtGarcon");
        teclado(garcon);
        tocarCampo("edtSenha");
        teclado(senha);
        toque("btnLancar");
        ASSERT_EQ(mapa->lancamento().estado(), LancamentoTouch::Estado::Lancando) << mesa;
    }
    void adicionar(const QString& codigo, const QString& qtde) {
        tocarCampo("getCodigoPesqProduto");
        teclado(codigo);
        tocarCampo("getQtde");
        toque("btnLimpar");
        QTest::keyClick(w<QLineEdit>("getQtde"), Qt::Key_Backspace);
        teclado(qtde);
        toque("btnAdItem");
    }
    void lancarMesa(int mesa, const QString& garcon, const QString& senha, const QList<QPair<QString, QString>>& itens) {
        abrirMesa(mesa, garcon, senha);
        for (const auto& [codigo, qtde] : itens)
            adicionar(codigo, qtde);
        toque("btnSalvar");
        EXPECT_EQ(mapa->lancamento().estado(), LancamentoTouch::Estado::Mesa) << mesa;
    }

    // --- the closing screen, by keys
    QWidget* fechamento() {
        for (QWidget* tela : QApplication::topLevelWidgets())
            if (tela->objectName() == u"frmVendaRapida" && tela->isVisible())
                return tela;
        return nullptr;
    }
    void digitar(const QString& texto, Qt::Key depois = Qt::Key_Return) {
        QWidget* alvo = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(alvo, nullptr) << "no window to type in";
        QTest::keyClicks(alvo, texto);
        tecla(depois);
    }

    // --- what the evening left behind
    QString texto(const QString& sql) { return t->scalar(sql).toString(); }
    int numero(const QString& sql) { return t->scalar(sql).toInt(); }
    Currency dinheiro(const QString& sql) { return scalarMoney(t.db(), sql); }
    Currency estoque(const QString& codigo) {
        return dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where PRO_CODPESQ_1 = '%1'").arg(codigo));
    }
    QStringList tickets() const { return ticketsRecebidos(home.path()); }
    QStringList erros() const {
        QStringList out;
        for (const auto& m : ui.messages())
            if (m.kind == MessageKind::Error || m.kind == MessageKind::Warning)
                out << m.text;
        return out;
    }
    static Currency cur(const char* v) { return Currency::fromString(QString::fromLatin1(v)); }

    TestDatabase t;
    Module module;
    ScriptedUi ui;
    QTemporaryDir home, pastaEcf;
    std::shared_ptr<RecordingTarget> papel = std::make_shared<RecordingTarget>();
    std::unique_ptr<EmulatedFiscalPrinter> ecf;
    Digest assinador;
    TfrmMenuRestauranteTouch* mapa = nullptr;
    QHash<QString, Currency> estoqueInicial;
};

TEST_F(NoiteRestaurante, ThreeTablesFromPostingToCouponAgreeAtTheEnd) {
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmMenuRestauranteTouch.ChamaTelaECF")));
    mapa = menuRestauranteTouchAberto();
    ASSERT_TRUE(mapa && QTest::qWaitForWindowExposed(mapa));

    // 19:00 - three tables, each ticket at its station.
    lancarMesa(1, QStringLiteral("1"), QStringLiteral("1111"), {{QStringLiteral("2002"), QStringLiteral("2")},
                                                                 {QStringLiteral("1003"), QStringLiteral("1")}});
    lancarMesa(2, QStringLiteral("2"), QStringLiteral("2222"), {{QStringLiteral("2001"), QStringLiteral("3")},
                                                                 {QStringLiteral("3001"), QStringLiteral("1")}});
    lancarMesa(3, QStringLiteral("1"), QStringLiteral("1111"), {{QStringLiteral("2003"), QStringLiteral("2")},
                                                                 {QStringLiteral("4001"), QStringLiteral("1")}});
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(w<QLabel>("lblAtendimento")->text(), u"Atendimento (3)");
    const QStringList impressos = tickets();
    for (const char* produto : {"CERVEJA LONG NECK", "PORCAO DE BATATA", "REFRIGERANTE LATA", "PIZZA MUSSARELA",
                                "AGUA MINERAL", "PICANHA"})
        EXPECT_EQ(impressos.filter(QString::fromLatin1(produto)).size(), 1) << produto;

    // 20:00 - one soft drink of table 2 goes to table 1.
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(20, 0)));
    ui.answerInput(QStringLiteral("1")); // destination
    ui.answerInput(QStringLiteral("1")); // quantity
    {
        Roteiro roteiro({{QStringLiteral("frmResPedido_Escolha"),
                          [](QWidget* escolha) { // the waiter of table 2, then the table
                              QTest::keyClicks(escolha->focusWidget(), QStringLiteral("2"));
                              QTest::keyClick(escolha->focusWidget(), Qt::Key_Return);
                              QTest::keyClicks(escolha->focusWidget(), QStringLiteral("2222"));
                              QTest::keyClick(escolha->focusWidget(), Qt::Key_Return);
                              auto* mesa = filho<QLineEdit>(escolha, "edtMesa");
                              QTest::mouseClick(mesa, Qt::LeftButton);
                              QTest::keyClick(mesa, Qt::Key_A, Qt::ControlModifier);
                              QTest::keyClicks(mesa, QStringLiteral("2"));
                              QTest::keyClick(mesa, Qt::Key_F2);
                          }},
                         {QStringLiteral("frmResPedido"), [](QWidget* pedido) {
                              auto* grade = filho<QTableView>(pedido, "dbgItens");
                              const int linha = grade->model()->match(grade->model()->index(0, 0), Qt::DisplayRole,
                                                                      QStringLiteral("2001"))
                                                    .value(0)
                                                    .row();
                              QTest::mouseClick(grade->viewport(), Qt::LeftButton, {},
                                                grade->visualRect(grade->model()->index(linha, 2)).center());
                              QTest::mouseClick(filho<QPushButton>(pedido, "btnTransferir"), Qt::LeftButton);
                              QTest::qWait(200);
                              QTest::keyClick(pedido->focusWidget() ? pedido->focusWidget() : pedido, Qt::Key_Escape);
                          }},
                         {QStringLiteral("frmResPedido_Escolha"), [](QWidget* escolha) {
                              QTest::qWait(200);
                              QTest::keyClick(escolha->focusWidget() ? escolha->focusWidget() : escolha, Qt::Key_Escape);
                          }}});
        toque("btnTransItem");
    }
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(numero(QStringLiteral("select count(*) from RES_TRANSFERENCIA")), 1);

    // ... and table 3 moves to table 5.
    {
        Roteiro roteiro({{QStringLiteral("frmResTransferencia"), [](QWidget* transferencia) {
                              QTest::keyClicks(transferencia->focusWidget(), QStringLiteral("3"));
                              QTest::keyClick(transferencia->focusWidget(), Qt::Key_Return);
                              QTest::keyClicks(transferencia->focusWidget(), QStringLiteral("5"));
                              QTest::keyClick(transferencia->focusWidget(), Qt::Key_F2);
                          }}});
        toque("btnTransferencia");
        EXPECT_EQ(roteiro.feitos(), 1);
    }
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));

    // 21:00 - table 1 asks for its check on the fiscal printer, then pays cash.
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(21, 0)));
    voltarAoMapa();
    tocarCampo("edtMesa");
    teclado(QStringLiteral("1"));
    tecla(Qt::Key_F2);
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    const int cooConferencia = ecf->estado().coo;
    tecla(Qt::Key_F6);
    ASSERT_NE(fechamento(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(fechamento()));
    digitar(QStringLiteral("1"));
    EXPECT_EQ(fechamento()->findChild<QLabel*>(QStringLiteral("lblTotal"))->text(), u"57,50");
    digitar(QStringLiteral("60")); // cash, the first type
    tecla(Qt::Key_F10);
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(fechamento(), nullptr);

    // Table 2 asks for the bill at the cashier and pays by credit card.
    voltarAoMapa();
    auto* grade = w<QTableWidget>("grdMapa");
    const auto mesa2 = grade->findItems(QStringLiteral("002"), Qt::MatchExactly);
    ASSERT_EQ(mesa2.size(), 1);
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualItemRect(mesa2.first()).center());
    tecla(Qt::Key_F6);
    ASSERT_NE(fechamento(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(fechamento()));
    tecla(Qt::Key_Return); // the table touched on the map
    tecla(Qt::Key_F4); // the bill
    EXPECT_EQ(fechamento()->findChild<QLabel*>(QStringLiteral("lblTotal"))->text(), u"72,90");
    tecla(Qt::Key_F6); // the second type: credit card, for what is left
    tecla(Qt::Key_Return);
    tecla(Qt::Key_F10);
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));

    // 22:00 - the water of table 5 (once table 3) is cancelled.
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(22, 0)));
    voltarAoMapa();
    abrirMesa(5, QStringLiteral("1"), QStringLiteral("1111"));
    tecla(Qt::Key_F9);
    auto* itens = w<QTableView>("dbgItens");
    const int agua =
        itens->model()->match(itens->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("2003")).value(0).row();
    itens->setCurrentIndex(itens->model()->index(agua, 0));
    ui.answerYes(); // 'Confirma "Cancelar" esse registro?'
    ui.answerInput(QStringLiteral("gerente")); // the supervisor (REST.SNH.CAN)
    ui.answerInput(QStringLiteral("4321"));
    QTest::keyClick(itens, Qt::Key_Return);
    toque("btnSalvar");
    ASSERT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(tickets().filter(QStringLiteral("AGUA MINERAL")).size(), 2) << "the posting and its cancellation";

    // Orders and tables.
    EXPECT_EQ(texto(QStringLiteral("select list(CODCONTROLE || ':' || PED_STATUS, ' ') from (select CODCONTROLE, "
                                   "PED_STATUS from RES_PEDIDO order by CODCONTROLE)")),
              u"1:FECHADO 2:FECHADO 5:ABERTO");
    EXPECT_EQ(numero(QStringLiteral("select count(*) from RES_PEDIDO where PED_STATUS = 'FECHADO' and "
                                    "PED_DATA_FINAL is not null")),
              2);
    EXPECT_EQ(texto(QStringLiteral("select list(CODCONTROLE, ' ') from (select CODCONTROLE from RES_CONTROLE where "
                                   "CON_STATUS = 'EM USO' order by 1)")),
              u"5");
    EXPECT_EQ(texto(QStringLiteral("select list(i.CODPESQUISA || ':' || i.PEDI_STATUS, ' ') from (select "
                                   "i.CODPESQUISA, i.PEDI_STATUS from RES_PEDIDO_ITEM i join RES_PEDIDO p on "
                                   "p.CODPEDIDO = i.CODPEDIDO where p.CODCONTROLE = 5 order by 1) i")),
              u"2003:CANCELADO 4001:NORMAL");
    EXPECT_EQ(numero(QStringLiteral("select PED_COO from RES_PEDIDO where CODCONTROLE = 1")), cooConferencia);

    // Stock: what was posted left, what was cancelled came back; closing moved nothing.
    const std::pair<const char*, int> saidas[] = {{"2002", 2}, {"1003", 1}, {"2001", 3},
                                                  {"3001", 1}, {"2003", 0}, {"4001", 1}};
    for (const auto& [codigo, qtde] : saidas)
        EXPECT_EQ(estoque(QString::fromLatin1(codigo)), estoqueInicial[QString::fromLatin1(codigo)] - Currency(qtde))
            << codigo;

    // Coupons against the printer: a check and two coupons; the grand total and
    // the payment totals are the two sales.
    EXPECT_EQ(texto(QStringLiteral("select list(PECF_STATUS || ':' || PECF_COO || ':' || PECF_CCF || ':' || "
                                   "cast(PECF_TOTAL as numeric(18,2)), ' ') from (select * from PEDECF order by "
                                   "CODPEDECF)")),
              QStringLiteral("FINALIZADO:%1:1:57.50 FINALIZADO:%2:2:72.90").arg(cooConferencia + 1).arg(cooConferencia + 2));
    const FiscalPrinterState& e = ecf->estado();
    EXPECT_EQ(e.coo, cooConferencia + 2);
    EXPECT_EQ(e.ccf, 2);
    EXPECT_EQ(e.grandeTotal, cur("130.40"));
    EXPECT_EQ(e.totalPagamento(QStringLiteral("Dinheiro")) - e.totalTroco, cur("57.50"));
    EXPECT_EQ(e.totalTroco, cur("2.50"));
    EXPECT_EQ(e.totalPagamento(QStringLiteral("Cartão de crédito")), cur("72.90"));
    EXPECT_EQ(dinheiro(QStringLiteral("select sum(PECFP_VALOR) - sum(PECFP_TROCO) from PEDECF_PAGAMENTO")),
              cur("130.40"));
    EXPECT_FALSE(e.cupom.has_value()) << "no coupon left open";
    int relatorios = 0;
    for (const RelatorioGerencialInfo& r : e.relatorios)
        relatorios += r.contador;
    EXPECT_EQ(relatorios, 1) << "the table check";
    // The check keeps the report counter as read just before it printed.
    EXPECT_EQ(numero(QStringLiteral("select PED_CER from RES_PEDIDO where CODCONTROLE = 1")) + 1, relatorios);
}

} // namespace
