#include "../VendaRapidaFixture.h"
#include "../../restaurant/ui/Roteiro.h"

#include "core/Paths.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/ScreenRegistry.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestauranteHost.h"
#include "sales/DVendaRapida.h"
#include "sales/ui/UMenuCorePDV.h"
#include "sales/ui/UVendaRapida.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kvo;
using namespace kvo::test;

namespace {

class TelaVendaRapida : public VendaRapidaFixture {
protected:
    void SetUp() override {
        VendaRapidaFixture::SetUp();
        registrarTelasVendaRapida();
        TfrmVendaRapida::usarECF(ecf.get());
    }
    void TearDown() override {
        if (QWidget* w = tela())
            delete w;
        TfrmVendaRapida::usarECF(nullptr);
        setProgramFolder(QString());
        VendaRapidaFixture::TearDown();
    }

    static QWidget* tela() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmVendaRapida" && w->isVisible())
                return w;
        return nullptr;
    }
    QWidget* abertaPeloRestaurante(int modo) {
        chamaTelaVendaRapida(modo, 0, 0);
        QWidget* w = tela();
        EXPECT_TRUE(w && QTest::qWaitForWindowExposed(w));
        return w;
    }
    template <class W> W* filho(const char* nome) {
        W* w = tela() ? tela()->findChild<W*>(QLatin1String(nome)) : nullptr;
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QString rotulo(const char* nome) { return filho<QLabel>(nome)->text(); }
    QWidget* foco() { return QApplication::focusWidget(); }
    void digitar(const QString& texto) { QTest::keyClicks(foco(), texto); }
    void tecla(Qt::Key k) { QTest::keyClick(foco(), k); }
    QStringList erros() const {
        QStringList out;
        for (const auto& m : ui.messages())
            if (m.kind == MessageKind::Error)
                out << m.text;
        return out;
    }
    QTemporaryDir home;
    QString statusPedido(int pedido) {
        return texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido));
    }
};

} // namespace

// Closing a table as the cashier does from the map, keyboard only.
TEST_F(TelaVendaRapida, TableIsClosedWithCashAndChangeByKeysOnly) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(2)}, {QStringLiteral("2001"), Currency(1)}});
    t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_ACRESCIMO = 10 where CODPEDIDO = %1").arg(pedido));
    QWidget* w = abertaPeloRestaurante(0);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), u"Venda Rápida");
    EXPECT_EQ(rotulo("lblTitulo"), u"Fechamento de Mesa");
    EXPECT_EQ(TdmAcesso::gerarInstance().parametrosVendaRapida(), ParametrosVendaRapida{}) << "cleared by the caller";
    EXPECT_EQ(foco()->objectName(), u"edtMesa");

    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(filho<QTableWidget>("gridItens")->rowCount(), 2);
    EXPECT_EQ(rotulo("lblTitulo"), u"Fechamento de Mesa 001");
    EXPECT_EQ(rotulo("lblConsumo"), u"56,30");
    EXPECT_EQ(rotulo("lblServico"), u"5,63");
    EXPECT_EQ(rotulo("lblTotal"), u"61,93");
    ASSERT_EQ(foco()->objectName(), u"edtValor");
    EXPECT_EQ(static_cast<QLineEdit*>(foco())->text(), u"61,93") << "proposes what is left";

    digitar(QStringLiteral("100"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(rotulo("lblFalta"), u"0,00");
    EXPECT_EQ(rotulo("lblTroco"), u"38,07");
    EXPECT_EQ(filho<QTableWidget>("gridPagamentos")->item(0, 0)->text(), u"Dinheiro");

    tecla(Qt::Key_F10);
    EXPECT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(ui.lastMessage(), u"Cupom fiscal 000001 emitido. Troco: R$ 38,07");
    EXPECT_EQ(tela(), nullptr) << "closed after the coupon";
    EXPECT_EQ(statusPedido(pedido), u"FECHADO");
    EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 1")), u"LIVRE");
    EXPECT_EQ(ecf->estado().totalTroco, cur("38.07"));
}

// The main menu's "Venda Balcão": items by code and quantity, then paid.
TEST_F(TelaVendaRapida, CounterSaleByKeysOnlyMovesTheStock) {
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmVendaRapida")));
    ASSERT_TRUE(tela() && QTest::qWaitForWindowExposed(tela()));
    EXPECT_EQ(rotulo("lblTitulo"), u"Venda Balcão");
    ASSERT_EQ(foco()->objectName(), u"edtProduto");
    digitar(QStringLiteral("1001"));
    tecla(Qt::Key_Return);
    ASSERT_EQ(foco()->objectName(), u"edtQuantidade");
    digitar(QStringLiteral("2")); // over the proposed 1
    tecla(Qt::Key_Return);
    digitar(QStringLiteral("2001"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return); // one
    EXPECT_EQ(filho<QTableWidget>("gridItens")->rowCount(), 2);
    EXPECT_EQ(rotulo("lblTotal"), u"56,30");
    EXPECT_EQ(foco()->objectName(), u"edtProduto");

    tecla(Qt::Key_F5); // the first currency type: cash
    ASSERT_EQ(foco()->objectName(), u"edtValor");
    digitar(QStringLiteral("60"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_F10);
    EXPECT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(estoque(1), Currency(8));
    EXPECT_EQ(estoque(2), Currency(99));
    ASSERT_NE(tela(), nullptr) << "stays for the next sale";
    EXPECT_EQ(filho<QTableWidget>("gridItens")->rowCount(), 0);
    EXPECT_EQ(foco()->objectName(), u"edtProduto");
}

TEST_F(TelaVendaRapida, CardCannotPayMoreThanWhatIsLeftAndDelRemovesAPayment) {
    lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_F6); // the second type: credit card
    digitar(QStringLiteral("100"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(erros(), QStringList{QStringLiteral(
                           "Troco somente em dinheiro: o valor em Cartão de crédito não pode passar de R$ 27,39.")});
    EXPECT_EQ(filho<QTableWidget>("gridPagamentos")->rowCount(), 0);

    tecla(Qt::Key_F7); // PIX, part of it
    digitar(QStringLiteral("10"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(rotulo("lblFalta"), u"17,39");
    tecla(Qt::Key_Delete); // the proposed value is still untouched: the payment goes
    EXPECT_EQ(filho<QTableWidget>("gridPagamentos")->rowCount(), 0);
    EXPECT_EQ(rotulo("lblFalta"), u"27,39");
}

// The customer asks for the bill at the cashier: F4 prints it before paying.
TEST_F(TelaVendaRapida, F4PrintsTheBillBeforeThePaymentsAndNotAfter) {
    setProgramFolder(home.path()); // the bill's printer folder
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_F4);
    EXPECT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(texto(QStringLiteral("select PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"S");
    EXPECT_EQ(rotulo("lblTotal"), u"27,39") << "the table read again after the bill";
    ASSERT_EQ(foco()->objectName(), u"edtValor");

    tecla(Qt::Key_Return); // pays what is left
    tecla(Qt::Key_F4);
    EXPECT_EQ(erros(), QStringList{QStringLiteral("Remova os pagamentos antes de imprimir a conta: ela pode mudar o "
                                                  "desconto, o serviço e o couvert.")});
    EXPECT_EQ(filho<QTableWidget>("gridPagamentos")->rowCount(), 1) << "the payment stays";
}

TEST_F(TelaVendaRapida, TheMapsTableIsProposedAndTypingReplacesIt) {
    lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    lancar(2, {{QStringLiteral("3001"), Currency(2)}});
    telasRestaurante().mesaSelecionada = [] { return 2; };
    abertaPeloRestaurante(0);
    EXPECT_EQ(filho<QLineEdit>("edtMesa")->text(), u"2");
    tecla(Qt::Key_Return);
    EXPECT_EQ(rotulo("lblTitulo"), u"Fechamento de Mesa 002");
    delete tela();
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(rotulo("lblTitulo"), u"Fechamento de Mesa 001");
    telasRestaurante() = {};
}

TEST_F(TelaVendaRapida, EscAfterAPaymentAsksBeforeGivingUp) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    digitar(QStringLiteral("5"));
    tecla(Qt::Key_Return);
    ui.answerNo();
    tecla(Qt::Key_Escape);
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Desistir da venda? Os pagamentos informados serão descartados.")});
    ASSERT_NE(tela(), nullptr);
    ui.answerYes();
    tecla(Qt::Key_Escape);
    EXPECT_EQ(tela(), nullptr);
    EXPECT_EQ(statusPedido(pedido), u"ABERTO");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from PEDECF")), 0);
    EXPECT_TRUE(ui.allAnswered());
}

// The waiter at the touch map: currency buttons and the finish button by touch.
TEST_F(TelaVendaRapida, TouchesPayAndFinishOnLargeButtons) {
    const int pedido = lancar(2, {{QStringLiteral("3001"), Currency(2)}});
    QWidget* w = abertaPeloRestaurante(0);
    w->resize(1024, 768);
    digitar(QStringLiteral("2"));
    tecla(Qt::Key_Return);
    for (QPushButton* b : w->findChildren<QPushButton*>())
        EXPECT_GE(b->height(), 48) << b->objectName().toStdString();
    QTest::mouseClick(filho<QPushButton>("btnMoeda3"), Qt::LeftButton); // PIX
    tecla(Qt::Key_Return); // the proposed amount
    QTest::mouseClick(filho<QPushButton>("btnFinalizar"), Qt::LeftButton);
    EXPECT_TRUE(erros().isEmpty()) << qPrintable(erros().join(u'\n'));
    EXPECT_EQ(statusPedido(pedido), u"FECHADO");
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("PIX")), cur("22.94"));
}

TEST_F(TelaVendaRapida, WithoutAFiscalPrinterNothingIsClosed) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    TfrmVendaRapida::usarECF(nullptr); // and this terminal's sale does not use one
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("1"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
    tecla(Qt::Key_F10);
    EXPECT_EQ(erros(), QStringList{QStringLiteral("Impressora (ECF) não disponível!")});
    EXPECT_EQ(statusPedido(pedido), u"ABERTO");
    EXPECT_NE(tela(), nullptr);
}

TEST_F(TelaVendaRapida, UnknownTableAndDeliveryModeAreRefused) {
    abertaPeloRestaurante(0);
    digitar(QStringLiteral("7"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(erros(), QStringList{QStringLiteral("Nenhuma movimentação nessa mesa!")});
    EXPECT_EQ(foco()->objectName(), u"edtMesa");
    delete tela();
    ui.clear();
    chamaTelaVendaRapida(55, 0, 0); // a delivery customer
    QTest::qWait(20);
    EXPECT_EQ(ui.lastMessage(), u"Venda de delivery ainda não disponível nesta versão.");
    EXPECT_EQ(tela(), nullptr);
}

// The restaurant's "MENU FISCAL" reaches the counter menu's fiscal panel.
TEST_F(TelaVendaRapida, FiscalMenuPrintsTheXReading) {
    chamadaExterna().ecf = ecf.get();
    Roteiro roteiro({{QStringLiteral("frmMenuFiscal"),
                      [](QWidget* w) {
                          QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnLeituraX")), Qt::LeftButton);
                          QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnFechar")), Qt::LeftButton);
                      }}});
    chamaMenuFiscal();
    chamadaExterna() = {};
    EXPECT_EQ(roteiro.feitos(), 1);
    EXPECT_EQ(ui.lastMessage(), u"Leitura X emitida.");
    ASSERT_EQ(papel->documents.size(), 1);
    EXPECT_TRUE(papel->text(0).contains(u"LEITURA X"));
}
