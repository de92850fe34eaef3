// The Simples text form as the issuer drives it, through the port the NF-e
// life cycle asks.
#include "invoice/ui/UObsAdd.h"

#include "../../support/ScriptedUi.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kvo;
using namespace kvo::test;

namespace {

// Does what the user does once the form is up and active; the last key
// must close it.
class AoMostrar {
public:
    explicit AoMostrar(std::function<void(QWidget*)> acao) : m_acao(std::move(acao)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* tela = QApplication::activeModalWidget();
            if (m_feito || !tela || tela->objectName() != u"frmObsAdd" || !tela->isActiveWindow())
                return;
            m_feito = true;
            m_acao(tela);
            if (tela->isVisible()) { // the last key should have closed it
                ADD_FAILURE() << "the form was left open";
                tela->close();
            }
        });
        m_timer.start();
    }
    bool feito() const { return m_feito; }

private:
    std::function<void(QWidget*)> m_acao;
    QTimer m_timer;
    bool m_feito = false;
};

class ObsAdd : public ::testing::Test {
protected:
    std::optional<ObservacaoSimples> escolher(int pre, std::function<void(QWidget*)> acao) {
        AoMostrar roteiro(std::move(acao));
        auto r = escolhaObservacaoSimples().escolher(pre);
        EXPECT_TRUE(roteiro.feito());
        return r;
    }
    static void tecla(QWidget* tela, Qt::Key k) { QTest::keyClick(tela->focusWidget(), k); }
    static void digitar(QWidget* tela, const QString& s) { QTest::keyClicks(tela->focusWidget(), s); }
    static QListWidget* lista(QWidget* tela) {
        return tela->findChild<QListWidget*>(QStringLiteral("rgOpcoes"));
    }
    static QString atual(QWidget* tela) {
        QListWidgetItem* i = lista(tela)->currentItem();
        return i && i->isSelected() ? i->text().left(2) : QString();
    }

    ScriptedUi ui;
    TelaObservacaoSimples tela; // the program's form, installed as the program does
};

TEST_F(ObsAdd, KeyboardOnlyWalkChoosesTypesAndConfirmsWithEnter) {
    QString titulo, inicio, foco, aposSetas, aposNumero, aposEnterNoValor;
    const auto r = escolher(2, [&](QWidget* t) {
        titulo = t->windowTitle();
        inicio = atual(t);
        foco = t->focusWidget()->objectName();
        for (int i = 0; i < 3; ++i) // 3, 4, then the seventh listed fifth
            tecla(t, Qt::Key_Down);
        aposSetas = atual(t);
        // The number (here on the keypad) picks the option wherever it is listed.
        QTest::keyClick(t->focusWidget(), Qt::Key_6, Qt::KeypadModifier);
        aposNumero = atual(t);
        tecla(t, Qt::Key_Tab);
        digitar(t, QStringLiteral("1.234,56"));
        tecla(t, Qt::Key_Return); // Enter in the value moves on, not confirms
        aposEnterNoValor = t->focusWidget()->objectName();
        digitar(t, QStringLiteral("2,5"));
        tecla(t, Qt::Key_Return); // confirms with the rate still being typed
    });
    EXPECT_EQ(titulo, u"Observação Adicional do Simples");
    EXPECT_EQ(inicio, u"2.");
    EXPECT_EQ(foco, u"rgOpcoes");
    EXPECT_EQ(aposSetas, u"7.");
    EXPECT_EQ(aposNumero, u"6.");
    EXPECT_EQ(aposEnterNoValor, u"edtAliquota");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->opcao, 6);
    EXPECT_EQ(r->valor, u"1.234,56");
    EXPECT_EQ(r->aliquota, u"2,5");
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ObsAdd, EscClosesWithoutChoosingWhateverWasTyped) {
    const auto r = escolher(1, [&](QWidget* t) {
        tecla(t, Qt::Key_4);
        tecla(t, Qt::Key_Tab);
        digitar(t, QStringLiteral("10"));
        tecla(t, Qt::Key_Escape);
    });
    EXPECT_FALSE(r.has_value());

    // Closing the window is the same.
    EXPECT_FALSE(escolher(3, [&](QWidget* t) { t->close(); }).has_value());
}

TEST_F(ObsAdd, ConfiguredOptionIsPreselectedAndEnterTakesIt) {
    for (int pre : {1, 2, 3}) {
        QString inicio, foco;
        const auto r = escolher(pre, [&](QWidget* t) {
            inicio = atual(t);
            foco = t->focusWidget()->objectName();
            tecla(t, Qt::Key_Return);
        });
        EXPECT_EQ(inicio, QString::number(pre) + u'.');
        EXPECT_EQ(foco, u"rgOpcoes");
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->opcao, pre);
        EXPECT_TRUE(r->valor.isEmpty());
        EXPECT_TRUE(r->aliquota.isEmpty());
    }
}

TEST_F(ObsAdd, SevenOptionsInScreenOrderWithTheirNumbers) {
    QStringList inicios;
    QString seis;
    const auto r = escolher(1, [&](QWidget* t) {
        for (int i = 0; i < lista(t)->count(); ++i)
            inicios << lista(t)->item(i)->text().left(2);
        seis = lista(t)->item(6)->text();
        tecla(t, Qt::Key_End); // the last listed is 6
        tecla(t, Qt::Key_F2);  // refused: its boxes are empty
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !ui.messages().isEmpty(); }, 1000)); // F2 clicks as the mouse would
        tecla(t, Qt::Key_Escape);
    });
    EXPECT_EQ(inicios, QStringList({"1.", "2.", "3.", "4.", "7.", "5.", "6."}));
    EXPECT_EQ(seis, u"6. PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ XX,XX; CORRESPONDENTE À "
                    u"ALÍQUOTA DE XX.XX    %, NOS TERMOS DO ART. 23 DA LC 123/2006");
    EXPECT_EQ(ui.lastMessage(), u"Informe o valor e a alíquota do crédito de ICMS!");
    EXPECT_FALSE(r.has_value());
}

TEST_F(ObsAdd, OptionSixRefusesABlankOrNonNumericCreditAndStaysOpen) {
    bool abertaVazia = false, abertaLetras = false;
    QString focoAposRecusa;
    QStringList recusas;
    const auto r = escolher(2, [&](QWidget* t) {
        tecla(t, Qt::Key_6);
        tecla(t, Qt::Key_Tab);
        digitar(t, QStringLiteral("15,00"));
        tecla(t, Qt::Key_Tab);
        tecla(t, Qt::Key_Return); // no rate
        abertaVazia = t->isVisible();
        recusas << ui.lastMessage();
        digitar(t, QStringLiteral("dois"));
        tecla(t, Qt::Key_F2);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return ui.messages().size() == 2; }, 1000)); // F2 clicks as the mouse would
        abertaLetras = t->isVisible();
        recusas << ui.lastMessage();
        focoAposRecusa = t->focusWidget()->objectName();
        for (int i = 0; i < 4; ++i) // erase "dois"
            tecla(t, Qt::Key_Backspace);
        digitar(t, QStringLiteral("3.5"));
        tecla(t, Qt::Key_Return);
    });
    EXPECT_TRUE(abertaVazia);
    EXPECT_TRUE(abertaLetras);
    EXPECT_EQ(recusas, QStringList({"Informe o valor e a alíquota do crédito de ICMS!",
                                    "Informe o valor e a alíquota do crédito de ICMS!"}));
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(focoAposRecusa, u"edtAliquota");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->opcao, 6);
    EXPECT_EQ(r->valor, u"15,00");
    EXPECT_EQ(r->aliquota, u"3.5");
}

TEST_F(ObsAdd, OtherOptionsTakeTheirAmountsFromTheConfigurationAndAcceptEmptyBoxes) {
    for (Qt::Key k : {Qt::Key_1, Qt::Key_4, Qt::Key_5, Qt::Key_7}) {
        const auto r = escolher(3, [&](QWidget* t) {
            tecla(t, k);
            tecla(t, Qt::Key_Return);
        });
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->opcao, k - Qt::Key_0);
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

} // namespace
