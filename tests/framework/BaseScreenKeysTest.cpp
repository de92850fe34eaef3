// The base screen driven by real keys: where Enter moves on, where it keeps
// its own meaning, and failures inside its handlers.
#include "framework/db/DatabaseError.h"
#include "framework/ui/URepPadrao.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

class Tela : public TrepPadraoBotoes {
public:
    Tela() {
        nome = caixa("edtNome");
        busca = caixa("edtBusca");
        enterProprio(busca);
        connect(busca, &QLineEdit::returnPressed, this, [this] { ++buscas; });
        obs = new QPlainTextEdit(this);
        obs->setObjectName(QStringLiteral("memObs"));
        corpo()->addWidget(obs);
        ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { cliques << QStringLiteral("ok"); });
        ok->setDefault(true);
        cancelar = adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"),
                                  [this] { cliques << QStringLiteral("cancelar"); });
        falhar = adicionarBotao(QStringLiteral("btnFalhar"), QStringLiteral("&Falhar"), [] {
            throw DatabaseError(QStringLiteral("Sem conexão com o banco de dados."), QStringLiteral("select 1"));
        });
    }
    QLineEdit* caixa(const char* objeto) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(objeto));
        corpo()->addWidget(e);
        return e;
    }
    bool falharAoMostrar = false;
    QLineEdit* nome;
    QLineEdit* busca;
    QPlainTextEdit* obs;
    QPushButton* ok;
    QPushButton* cancelar;
    QPushButton* falhar;
    int buscas = 0;
    QStringList cliques;

protected:
    void showEvent(QShowEvent* e) override {
        TrepPadraoBotoes::showEvent(e);
        if (falharAoMostrar)
            throw DatabaseError(QStringLiteral("Tabela PESSOA não encontrada."), QStringLiteral("select * from PESSOA"));
    }
};

void mostrar(QWidget& tela) {
    tela.show();
    tela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
}

} // namespace

TEST(BaseScreenKeys, EnterMovesOnOnlyWhereItHasNoMeaningOfItsOwn) {
    test::ScriptedUi ui;
    Tela tela;
    mostrar(tela);
    tela.nome->setFocus();
    QTest::keyClicks(tela.nome, QStringLiteral("Maria"));
    QTest::keyClick(tela.nome, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), tela.busca); // a plain box: on to the next field
    EXPECT_TRUE(tela.cliques.isEmpty());                // and never the default button

    QTest::keyClicks(tela.busca, QStringLiteral("Lapa"));
    QTest::keyClick(tela.busca, Qt::Key_Return);
    EXPECT_EQ(tela.buscas, 1); // a search box searches
    EXPECT_EQ(QApplication::focusWidget(), tela.busca);
    EXPECT_TRUE(tela.cliques.isEmpty());

    tela.obs->setFocus();
    QTest::keyClicks(tela.obs, QStringLiteral("linha 1"));
    QTest::keyClick(tela.obs, Qt::Key_Return);
    QTest::keyClicks(tela.obs, QStringLiteral("linha 2"));
    EXPECT_EQ(tela.obs->toPlainText(), u"linha 1\nlinha 2"); // multi-line text keeps its lines
    EXPECT_TRUE(tela.cliques.isEmpty());

    // Enter on a button presses that button, not the default one.
    tela.cancelar->setFocus();
    QTest::keyClick(tela.cancelar, Qt::Key_Return);
    EXPECT_EQ(tela.cliques, QStringList{QStringLiteral("cancelar")});
    tela.ok->setFocus();
    QTest::keyClick(tela.ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(tela.cliques, QStringList({QStringLiteral("cancelar"), QStringLiteral("ok")}));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST(BaseScreenKeys, AFailureInAHandlerIsToldNotThrownIntoQt) {
    test::ScriptedUi ui;
    Tela tela;
    mostrar(tela);
    QTest::mouseClick(tela.falhar, Qt::LeftButton);
    EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados."); // the message, not the statement
    tela.falhar->setFocus();
    ui.clear();
    QTest::keyClick(tela.falhar, Qt::Key_Return);
    EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados.");
    tela.hide();

    ui.clear();
    tela.falharAoMostrar = true;
    tela.show(); // the screen's own show handler fails
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().kind, MessageKind::Error);
    EXPECT_EQ(ui.lastMessage(), u"Tabela PESSOA não encontrada.");
}
