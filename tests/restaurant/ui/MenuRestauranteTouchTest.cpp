// The touch restaurant map driven by touches on its keypad and buttons and by
// keys, the scripted user answering: the four states, the refusals with the
// focus left on their field, the printed-bill guard, saving with its tickets,
// cancelling, leaving each state, and the touch-sale hand-off.
#include "PedidoTelaFixture.h"

#include "devices/Digest.h"
#include "devices/EmulatedFiscalPrinter.h"
#include "devices/RecordingTarget.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/ScreenRegistry.h"
#include "registers/DProduto.h"
#include "framework/ui/Pesquisa.h"
#include "restaurant/ui/PainelMapaMesas.h"
#include "restaurant/ui/UMenuRestauranteTouch.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>

using namespace kvo;
using namespace kvo::test;

namespace {

using Estado = LancamentoTouch::Estado;

class Touch : public PedidoTela {
protected:
    void SetUp() override {
        PedidoTela::SetUp();
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("N"));
        registrarTelasMenuRestauranteTouch();
    }
    void TearDown() override {
        delete menuRestauranteTouchAberto();
        chamadaExterna() = {};
        PedidoTela::TearDown();
    }

    TfrmMenuRestauranteTouch* abrir(const QString& nome = QStringLiteral("TfrmMenuRestauranteTouch")) {
        EXPECT_TRUE(ScreenRegistry::abrir(nome));
        TfrmMenuRestauranteTouch* m = menuRestauranteTouchAberto();
        EXPECT_TRUE(m && QTest::qWaitForWindowExposed(m));
        tela = m;
        return m;
    }
    template <class W = QWidget>
    W* w(const char* nome) {
        W* achado = tela->findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(achado, nullptr) << nome;
        return achado;
    }
    QLineEdit* campo(const char* nome) { return w<QLineEdit>(nome); }
    void toque(const char* nome) { QTest::mouseClick(w<QPushButton>(nome), Qt::LeftButton); }
    // Digits on the keypad, into the field that has the focus.
    void teclado(const QString& digitos) {
        for (QChar c : digitos)
            toque(c == u',' ? "btnTeclaVirgula" : qPrintable(QStringLiteral("btnTecla") + c));
    }
    void tocarCampo(const char* nome) { QTest::mouseClick(campo(nome), Qt::LeftButton); }
    void tecla(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    void digitarTeclas(const QString& texto, Qt::Key depois = Qt::Key_Return) {
        QTest::keyClicks(QApplication::focusWidget(), texto);
        tecla(depois);
    }
    Estado estado() { return tela->lancamento().estado(); }
    QString focado() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
    // Table, then (with waiters) waiter and password, all on the keypad.
    void abrirMesa(int mesa, const QString& garcon = {}, const QString& senha = {}) {
        tocarCampo("edtMesa");
        teclado(QString::number(mesa));
        toque("btnLancar");
        if (garcon.isEmpty() && senha.isEmpty())
            return;
        tocarCampo("edtGarcon");
        teclado(garcon);
        tocarCampo("edtSenha");
        teclado(senha);
        toque("btnLancar");
    }
    void adicionar(const QString& codigo, const QString& qtde = QStringLiteral("1")) {
        tocarCampo("getCodigoPesqProduto");
        teclado(codigo);
        tocarCampo("getQtde");
        toque("btnLimpar");
        QTest::keyClick(campo("getQtde"), Qt::Key_Backspace); // the "1" it starts with
        teclado(qtde);
        toque("btnAdItem");
    }
    int linhas() { return w<QTableView>("dbgItens")->model()->rowCount(); }
    int itensNoBanco(const char* extra = "") {
        return t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM where 1 = 1 %1").arg(QString::fromLatin1(extra)))
            .toInt();
    }
    QStringList avisos() const {
        QStringList out;
        for (const auto& m : ui.messages())
            out << m.text;
        return out;
    }

    TfrmMenuRestauranteTouch* tela = nullptr;
};

TEST_F(Touch, TableWaiterAndTwoItemsOnTheKeypadThenF4PrintsEachStationsTicket) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    abrir();
    EXPECT_EQ(tela->windowTitle(), u"Menu Restaurante");
    EXPECT_EQ(focado(), u"edtMesa");
    EXPECT_EQ(w<QLabel>("lblLivre")->text(), u"Livre (4)");
    teclado(QStringLiteral("1"));
    toque("btnLancar");
    EXPECT_EQ(estado(), Estado::Garcon);
    EXPECT_EQ(focado(), u"edtGarcon");
    teclado(QStringLiteral("1"));
    tocarCampo("edtSenha");
    teclado(QStringLiteral("11"));
    toque("btnLancar");
    ASSERT_EQ(estado(), Estado::Lancando);
    EXPECT_TRUE(w("pnlLancamento")->isVisible());
    EXPECT_EQ(focado(), u"getCodigoPesqProduto");
    EXPECT_EQ(campo("getQtde")->text(), u"1");

    teclado(QStringLiteral("1001"));
    tocarCampo("getQtde");
    EXPECT_EQ(campo("edtDescricao")->text(), u"X-BURGUER"); // looked up on leaving the code
    QTest::keyClick(campo("getQtde"), Qt::Key_Backspace);
    teclado(QStringLiteral("2"));
    EXPECT_EQ(campo("edtTotalItem")->text(), u"49,80");
    toque("btnAdItem");
    adicionar(QStringLiteral("2001"), QStringLiteral("3"));
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'|').toStdString();
    EXPECT_EQ(linhas(), 2);
    EXPECT_EQ(w<QLabel>("auxTotalAcrescimo")->text(), u"76,23"); // 49,80 + 19,50 and 10 % service
    EXPECT_EQ(itensNoBanco(), 0); // nothing before the save
    EXPECT_FALSE(w<QPushButton>("btnFechamento")->isEnabled()); // unsaved: the other actions wait
    EXPECT_TRUE(tickets().isEmpty());

    toque("btnSalvar");
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_TRUE(w("pnlMapa")->isVisible());
    EXPECT_EQ(itens(1, "and i.CODGARCON = 1"), 2);
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(8));
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 2")), Currency(97));
    const QStringList impressos = tickets();
    ASSERT_EQ(impressos.size(), 2); // the kitchen's and the bar's
    EXPECT_EQ(impressos.filter(QStringLiteral("X-BURGUER")).size(), 1);
    EXPECT_EQ(impressos.filter(QStringLiteral("REFRIGERANTE")).size(), 1);
    EXPECT_EQ(w<QLabel>("lblAtendimento")->text(), u"Atendimento (1)"); // the map shows the table served
    EXPECT_TRUE(campo("edtMesa")->text().isEmpty());
    EXPECT_TRUE(campo("edtGarcon")->text().isEmpty());
    EXPECT_EQ(focado(), u"edtMesa");
}

TEST_F(Touch, TableAndWaiterRefusalsKeepTheFocusOnTheirField) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    cfg().setValor(QStringLiteral("RES.ESC.PESSOA"), QStringLiteral("S"));
    abrir();
    const std::tuple<const char*, const char*, const char*> mesas[] = {
        {"1000", "Só pode lançar em Mesa/Comanda que teve a entrada lançada!", "edtMesa"},
        {"", "Selecione uma mesa!", "edtMesa"},
        {"9", "Mesa (9) não está correta, tente novamente", "edtMesa"}, // cancelled
        {"77", "Mesa (77) não está correta, tente novamente", "edtMesa"},
    };
    for (const auto& [mesa, mensagem, foco] : mesas) {
        SCOPED_TRACE(mesa);
        ui.clear();
        tocarCampo("edtMesa");
        campo("edtMesa")->clear();
        teclado(QString::fromLatin1(mesa));
        toque("btnLancar");
        EXPECT_EQ(avisos(), QStringList{QString::fromUtf8(mensagem)});
        EXPECT_EQ(estado(), Estado::Mesa);
        EXPECT_EQ(focado(), QString::fromLatin1(foco));
    }
    campo("edtMesa")->clear();
    abrirMesa(2);
    ASSERT_EQ(estado(), Estado::Garcon);
    const std::tuple<const char*, const char*, const char*, const char*> garcons[] = {
        {"", "11", "Informe o código do Garçon", "edtGarcon"},
        {"1", "", "Informe a senha", "edtSenha"},
        {"1", "22", "Garçon/Senha não está correta, tente novamente", "edtGarcon"},
    };
    for (const auto& [garcon, senha, mensagem, foco] : garcons) {
        SCOPED_TRACE(mensagem);
        ui.clear();
        campo("edtGarcon")->clear();
        campo("edtSenha")->clear();
        tocarCampo("edtGarcon");
        teclado(QString::fromLatin1(garcon));
        tocarCampo("edtSenha");
        teclado(QString::fromLatin1(senha));
        toque("btnLancar");
        EXPECT_EQ(avisos(), QStringList{QString::fromUtf8(mensagem)});
        EXPECT_EQ(estado(), Estado::Garcon);
        EXPECT_EQ(focado(), QString::fromLatin1(foco));
    }
}

TEST_F(Touch, TheItemChecksComeInOrderAndLeaveTheOrderAsItWas) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) values "
                                 "(4, '4001', 'CORTESIA', 0)"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, "
                                 "PRO_PERSONALIZADO) values (5, '5001', 'PIZZA MEIA A MEIA', 60, 'S')"));
    abrir();
    abrirMesa(1); // no waiters: straight to the posting
    ASSERT_EQ(estado(), Estado::Lancando);
    struct Caso {
        const char* codigo;
        const char* qtde; // typed after clearing the field
        const char* mensagem;
        const char* foco;
    };
    const Caso casos[] = {
        {"", "1", "Por favor verifique o \"Código do Produto\"", "getCodigoPesqProduto"},
        {"0", "1", "Por favor verifique o \"Código do Produto\"", "getCodigoPesqProduto"},
        {"555", "1", "Por favor verifique o \"Código do Produto\"", "getCodigoPesqProduto"}, // no such product
        {"1001", "", "Por favor verifique a \"Quantidade\"", "getQtde"},
        {"1001", "0", "Por favor verifique a \"Quantidade\"", "getQtde"},
        {"4001", "2", "Por favor verique o \"Total do Produto\"", "getQtde"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensagem + std::string(" ") + c.codigo);
        ui.clear();
        campo("getCodigoPesqProduto")->clear();
        adicionar(QString::fromLatin1(c.codigo), QString::fromLatin1(c.qtde));
        EXPECT_EQ(avisos(), QStringList{QString::fromUtf8(c.mensagem)});
        EXPECT_EQ(focado(), QString::fromLatin1(c.foco));
        EXPECT_EQ(linhas(), 0);
        EXPECT_FALSE(tela->lancamento().alterado());
    }
    // Its options cannot be chosen here: refused, not posted without them.
    ui.clear();
    campo("getCodigoPesqProduto")->clear();
    adicionar(QStringLiteral("5001"));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("O produto \"PIZZA MEIA A MEIA\" é vendido com opções")));
    EXPECT_EQ(linhas(), 0);
    // Beyond the free stock: the stock check says why, nothing is added.
    t->executeSQL(QStringLiteral("update PAR_GERAL set PARG_CONTROLA_ESTOQUE = 'S'"));
    t->executeSQL(QStringLiteral("update PRODUTO set PRO_NPERM_SEMESTOQ = 'S' where CODPRODUTO = 3"));
    ui.clear();
    campo("getCodigoPesqProduto")->clear();
    adicionar(QStringLiteral("3001"), QStringLiteral("6"));
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(linhas(), 0);
    campo("getCodigoPesqProduto")->clear();
    adicionar(QStringLiteral("3001"), QStringLiteral("5"));
    EXPECT_EQ(linhas(), 1);
}

TEST_F(Touch, APrintedBillNeedsTheSupervisorOnlyWhenTheSettingAsks) {
    struct Caso {
        const char* reabre;
        QStringList senha; // user and password typed for the supervisor
        int linhas;
        const char* impresso; // after saving, or as it was
        QStringList mensagens;
    };
    const Caso casos[] = {
        {"S", {QStringLiteral("gerente"), QStringLiteral("9999")}, 2, "N", {QStringLiteral("Aviso: Extrato já impresso!")}},
        {"S",
         {QStringLiteral("gerente"), QStringLiteral("0000")},
         1,
         "S",
         {QStringLiteral("Aviso: Extrato já impresso!"), QStringLiteral("Não é possível realizar o Lançamento.")}},
        {"N", {}, 2, "S", {QStringLiteral("Aviso: Extrato já impresso!")}},
    };
    const int codpedido = lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    abrir();
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.reabre) + " " + c.senha.join(u'/').toStdString());
        t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_IMPRESSO = 'S' where CODPEDIDO = %1").arg(codpedido));
        cfg().setValor(QStringLiteral("REST.SEN.REA"), QString::fromLatin1(c.reabre));
        ui.clear();
        abrirMesa(1);
        for (const QString& r : c.senha)
            ui.answerInput(r);
        adicionar(QStringLiteral("1001"));
        EXPECT_TRUE(ui.allAnswered());
        QStringList mensagens = avisos();
        mensagens.removeAll(QStringLiteral("Usuário sem permissão ou senha inválida.")); // the password screen's
        EXPECT_EQ(mensagens, c.mensagens);
        EXPECT_EQ(linhas(), c.linhas);
        if (tela->lancamento().alterado())
            toque("btnSalvar");
        else
            toque("btnSair");
        EXPECT_EQ(estado(), Estado::Mesa);
        EXPECT_EQ(texto(QStringLiteral("select PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = %1").arg(codpedido)),
                  QString::fromLatin1(c.impresso));
        t->executeSQL(QStringLiteral("delete from RES_PEDIDO_ITEM where CODPEDIDO = %1 and CODPRODUTO = 1").arg(codpedido));
    }
}

TEST_F(Touch, SavingAnOrderWithoutItemsIsRefused) {
    abrir();
    abrirMesa(3);
    toque("btnSalvar");
    EXPECT_EQ(avisos(), QStringList{QStringLiteral("Você precisa ter algum pelo menos 1 lançamento!")});
    EXPECT_EQ(estado(), Estado::Lancando);
    toque("btnSair"); // nothing typed: no question, and no order is left behind
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 0);
    EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 3")), u"LIVRE");
}

TEST_F(Touch, SairAsksByStateAndDroppingAPostingLeavesNothing) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    abrir();
    abrirMesa(3);
    ASSERT_EQ(estado(), Estado::Garcon);
    toque("btnSair"); // waiter step: back to the table, no question
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_TRUE(ui.questions().isEmpty());

    campo("edtMesa")->clear();
    abrirMesa(3, QStringLiteral("2"), QStringLiteral("22"));
    ASSERT_EQ(estado(), Estado::Lancando);
    adicionar(QStringLiteral("1001"));
    ui.answerNo();
    toque("btnSair");
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Confirma desistir dessa venda?")});
    EXPECT_EQ(estado(), Estado::Lancando);
    EXPECT_EQ(linhas(), 1);
    ui.answerYes();
    toque("btnSair");
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_EQ(itensNoBanco(), 0);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 0);
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(10));

    ui.clear();
    ui.answerNo();
    toque("btnSair");
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Confirma sair da tela?")});
    EXPECT_TRUE(tela->isVisible());
    ui.answerYes();
    toque("btnSair");
    EXPECT_FALSE(tela->isVisible());
}

TEST_F(Touch, CancellingTakesTheWholeItemAndGivingUpReloadsTheOrder) {
    lancar(1, {{QStringLiteral("1001"), Currency(3)}, {QStringLiteral("2001"), Currency(1)}});
    abrir();
    abrirMesa(1);
    ASSERT_EQ(linhas(), 2);
    toque("btnCancelamento");
    EXPECT_EQ(estado(), Estado::Cancelando);
    EXPECT_EQ(focado(), u"dbgItens");
    auto* grade = w<QTableView>("dbgItens");
    const int x = grade->model()->index(0, 1).data().toString() == QLatin1String("X-BURGUER") ? 0 : 1;
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(grade->model()->index(x, 1)).center());
    ui.answerYes();
    tecla(Qt::Key_Return); // Enter on the item
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Confirma \"Cancelar\" esse registro?")});
    EXPECT_EQ(grade->model()->index(x, 4).data().toString(), u"CANCELADO");
    EXPECT_EQ(itensNoBanco("and PEDI_STATUS = 'CANCELADO'"), 0); // not before the save

    ui.answerYes();
    toque("btnSair"); // gives the cancellation up: the order as saved
    EXPECT_EQ(ui.questions().value(1), u"Confirma desistir dos cancelamentos?");
    EXPECT_EQ(estado(), Estado::Lancando);
    EXPECT_FALSE(tela->lancamento().alterado());
    EXPECT_EQ(grade->model()->index(x, 4).data().toString(), u"NORMAL");

    toque("btnCancelamento");
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, grade->visualRect(grade->model()->index(x, 1)).center());
    ui.answerYes();
    toque("btnLancar"); // the keypad's confirmation does it too
    toque("btnSalvar");
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_EQ(texto(QStringLiteral("select list(cast(PEDI_QTDE as integer) || ':' || PEDI_STATUS) from RES_PEDIDO_ITEM "
                                   "where CODPRODUTO = 1")),
              u"3:CANCELADO"); // whole, never part of it
    // The posting above moved no stock; the cancellation gives the three back.
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(13));
    ASSERT_EQ(tickets().size(), 1); // the kitchen learns of it
    EXPECT_TRUE(tickets().first().contains(QStringLiteral("CANCELAD")));
}

TEST_F(Touch, ACardCodeOfFourteenDigitsBecomesItsTab) {
    abrir();
    teclado(QStringLiteral("2000000010013"));
    EXPECT_EQ(campo("edtMesa")->text(), u"2000000010013");
    teclado(QStringLiteral("6"));
    EXPECT_EQ(campo("edtMesa")->text(), u"1000");
    QTest::keyClicks(campo("edtMesa"), QStringLiteral("x")); // digits only
    EXPECT_EQ(campo("edtMesa")->text(), u"1000");
}

TEST_F(Touch, WithoutWaitersItemsCarryTheOrdersWaiterOrTheOneChosen) {
    pedido().setGarconPredefinido(2);
    lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    pedido().setGarconPredefinido(0);
    abrir();
    EXPECT_FALSE(campo("edtGarcon")->isVisible());
    abrirMesa(1);
    ASSERT_EQ(estado(), Estado::Lancando);
    EXPECT_FALSE(w("cbxGarcon")->isVisible()); // the order has its waiter
    adicionar(QStringLiteral("1001"));
    toque("btnSalvar");
    EXPECT_EQ(itens(1, "and i.CODPRODUTO = 1 and i.CODGARCON = 2"), 1);

    abrirMesa(3); // a new order has none yet: the waiter is chosen
    auto* escolha = w<QComboBox>("cbxGarcon");
    ASSERT_TRUE(escolha->isVisible());
    EXPECT_EQ(escolha->findText(QStringLiteral("MOTOBOY")), -1);
    escolha->setCurrentIndex(escolha->findText(QStringLiteral("JOAO")));
    adicionar(QStringLiteral("1001"));
    toque("btnSalvar");
    EXPECT_EQ(itens(3, "and i.CODGARCON = 1"), 1);
}

TEST_F(Touch, KeyboardOnlyWalk) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    abrir();
    digitarTeclas(QStringLiteral("2"));
    EXPECT_EQ(focado(), u"edtGarcon");
    digitarTeclas(QStringLiteral("1"));
    EXPECT_EQ(focado(), u"edtSenha");
    digitarTeclas(QStringLiteral("11"));
    ASSERT_EQ(estado(), Estado::Lancando);
    digitarTeclas(QStringLiteral("1001"));
    EXPECT_EQ(focado(), u"getQtde");
    tecla(Qt::Key_Backspace);
    digitarTeclas(QStringLiteral("2")); // Enter on the quantity adds the item
    EXPECT_EQ(linhas(), 1);
    EXPECT_EQ(focado(), u"getCodigoPesqProduto");
    digitarTeclas(QStringLiteral("2001"));
    tecla(Qt::Key_Return);
    EXPECT_EQ(linhas(), 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3001"));
    tecla(Qt::Key_Escape); // first the field
    EXPECT_TRUE(campo("getCodigoPesqProduto")->text().isEmpty());
    EXPECT_EQ(estado(), Estado::Lancando);
    tecla(Qt::Key_F4);
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_EQ(itens(2, "and i.CODGARCON = 1"), 2);
    EXPECT_EQ(itens(2, "and i.PEDI_QTDE = 2"), 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    tecla(Qt::Key_Escape);
    EXPECT_TRUE(campo("edtMesa")->text().isEmpty());
    EXPECT_TRUE(ui.questions().isEmpty());
    ui.answerYes();
    tecla(Qt::Key_Escape); // then the screen
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Confirma sair da tela?")});
    EXPECT_FALSE(tela->isVisible());
}

// F3 shows the price to the waiters only where the shop wants it; the
// search chosen fills the panel.
TEST_F(Touch, F3SearchShowsThePriceOnlyWhenTheShopSaysSo) {
    abrir();
    digitarTeclas(QStringLiteral("2"));
    ASSERT_EQ(estado(), Estado::Lancando);
    QList<QStringList> ocultas;
    const auto antes = TwbtPesquisa::dialogo;
    TwbtPesquisa::dialogo = [&](TwbtPesquisa& p, const QString&) {
        ocultas << p.colunasOcultas();
        return QVariant(QStringLiteral("2001"));
    };
    for (const char* valor : {"N", "S"}) {
        cfg().setValor(QStringLiteral("PRO.VLR.SERV"), QString::fromLatin1(valor));
        tecla(Qt::Key_F3);
    }
    TwbtPesquisa::dialogo = antes;
    EXPECT_EQ(ocultas, (QList<QStringList>{{QStringLiteral("PRO_PRECO01")}, {}}));
    EXPECT_TRUE(TdmProduto::gerarInstance().pesquisa().colunasOcultas().isEmpty()) << "the shared search is put back";
    EXPECT_EQ(campo("edtDescricao")->text(), u"REFRIGERANTE");
    EXPECT_EQ(focado(), u"getQtde");
}

TEST_F(Touch, TheTouchSaleTakesThePostingWhenItsEntryIsFilled) {
    cfg().setValor(QStringLiteral("RST.LAN.TOUCH"), QStringLiteral("S"));
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    QList<QPair<int, int>> chamadas;
    telasRestaurante().vendaTouch = [&](int mesa, int garcon) {
        chamadas << qMakePair(mesa, garcon);
        // The sale screen left an empty order behind: the check afterwards drops it.
        TdmResPedido outro(t.db());
        outro.abrirMesa(mesa);
        outro.gravarPedido();
    };
    abrir();
    abrirMesa(3, QStringLiteral("2"), QStringLiteral("22"));
    EXPECT_EQ(chamadas, (QList<QPair<int, int>>{{3, 2}}));
    EXPECT_EQ(estado(), Estado::Mesa);
    EXPECT_EQ(tela->lancamento().pedido().garconPredefinido(), 0);
    EXPECT_TRUE(campo("edtGarcon")->text().isEmpty());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 0);

    telasRestaurante().vendaTouch = {}; // not there yet: this screen's own panel
    abrirMesa(3, QStringLiteral("2"), QStringLiteral("22"));
    EXPECT_EQ(estado(), Estado::Lancando);
    EXPECT_EQ(chamadas.size(), 1);
}

TEST_F(Touch, TheCheckNeedsATableWithMovementAndPrintsOnTheCallersPrinter) {
    lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    abrir();
    toque("btnExtrato"); // no printer in this terminal, and no table
    EXPECT_EQ(avisos(), (QStringList{QStringLiteral("Impressora (ECF) não disponível!")}));
    delete tela;

    QTemporaryDir pasta;
    auto papel = std::make_shared<RecordingTarget>();
    EmulatedFiscalPrinter ecf(pasta.path(), papel, 3);
    ecf.Ativar();
    Digest ead;
    chamadaExterna().ecf = &ecf;
    chamadaExterna().assinador = &ead;
    abrir(QStringLiteral("TfrmMenuRestauranteTouch.ChamaTelaECF"));
    for (const auto& [mesa, mensagem] : {std::pair{"", "Selecione uma mesa!"}, {"3", "Nenhuma movimentação nessa mesa!"}}) {
        ui.clear();
        campo("edtMesa")->setText(QString::fromLatin1(mesa));
        tecla(Qt::Key_F2);
        EXPECT_EQ(avisos(), QStringList{QString::fromUtf8(mensagem)});
    }
    EXPECT_TRUE(papel->documents.isEmpty());
    ui.clear();
    campo("edtMesa")->setText(QStringLiteral("1"));
    tecla(Qt::Key_F2);
    EXPECT_TRUE(avisos().isEmpty()) << avisos().join(u'|').toStdString();
    ASSERT_EQ(papel->documents.size(), 1);
    EXPECT_EQ(texto(QStringLiteral("select PED_IMPRESSO from RES_PEDIDO where CODCONTROLE = 1")), u"S");
    EXPECT_EQ(w<QLabel>("lblExtrato")->text(), u"Extrato (1)");
}

TEST_F(Touch, ActionsFollowTheRightsAndTheSettingsShapeTheFields) {
    TdmSeguranca& seg = TdmSeguranca::gerarInstance();
    const int garcons = seg.criarGrupo(QStringLiteral("Garçons"));
    for (const auto& [menu, pode] : {std::pair{"mni_mov_lancozinha", true}, {"mni_mov_fechamento", false}}) {
        seg.registrarMenu(QString::fromLatin1(menu), QString::fromLatin1(menu));
        seg.concederAcesso(QStringLiteral("Garçons"), QString::fromLatin1(menu), pode);
    }
    TdmAcesso::gerarInstance().setUsuario({2, QStringLiteral("garcom"), garcons, false});
    cfg().setValor(QStringLiteral("REST.SALDO"), QStringLiteral("S"));
    cfg().setValor(QStringLiteral("PDV.ORD.QTDE"), QStringLiteral("S"));
    abrir();
    EXPECT_TRUE(w("btnLancar")->isVisible());
    for (const char* escondido : {"btnFechamento", "btnBalcao", "btnDelivery", "btnExtrato", "btnTransferencia",
                                  "btnTransItem"})
        EXPECT_FALSE(w(escondido)->isVisible()) << escondido;
    EXPECT_TRUE(w("btnFechamentoParcial")->isVisible());
    tecla(Qt::Key_F6); // not his: nothing happens
    tecla(Qt::Key_F8);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(w<QLabel>("lblMesa")->text(), u"Cartão de Consumo");
    abrirMesa(1);
    EXPECT_EQ(focado(), u"getQtde"); // the quantity comes first
    digitarTeclas(QStringLiteral("3"));
    EXPECT_EQ(focado(), u"getCodigoPesqProduto");
}

TEST_F(Touch, EveryTouchTargetIsFingerSizedAndTheScreenFitsA1024x768Display) {
    abrir();
    EXPECT_LE(tela->minimumSizeHint().height(), 768 - 210); // the map
    EXPECT_LE(tela->minimumSizeHint().width(), 1024 - 20);
    abrirMesa(1);
    tela->resize(1024 - 20, 768 - 210);
    QTest::qWait(20);
    EXPECT_LE(tela->minimumSizeHint().height(), 768 - 210); // the posting panel
    EXPECT_LE(tela->minimumSizeHint().width(), 1024 - 20);
    const QRect area = tela->rect();
    for (QPushButton* b : tela->findChildren<QPushButton*>()) {
        if (!b->isVisibleTo(tela))
            continue;
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_GE(b->height(), 48);
        EXPECT_GE(b->width(), 48);
        EXPECT_TRUE(area.contains(QRect(b->mapTo(tela, QPoint(0, 0)), b->size())));
    }
    for (const char* nome : {"getCodigoPesqProduto", "getQtde", "edtMesa"})
        EXPECT_GE(w(nome)->height(), 48) << nome;
}

} // namespace
