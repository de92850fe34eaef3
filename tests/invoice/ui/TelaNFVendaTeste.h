#pragma once

// Driving the invoice screens as a user: keys to the focused control of the
// shown window, modal child screens answered as they open.
#include "../NFVendaFaturamentoFixture.h"
#include "../../registers/ui/TelaTeste.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace kvo::test {

// The control that has the keyboard in `janela`'s window.
inline QWidget* comFoco(QWidget* janela) {
    QWidget* w = janela->window()->focusWidget();
    return w ? w : janela->window();
}
inline QString nomeDoFoco(QWidget* janela) { return comFoco(janela)->objectName(); }
// Keys, focus changes and shortcuts only reach the active window; the
// offscreen platform has no window manager to activate a screen just opened.
inline void ativar(QWidget* janela) {
    QWidget* w = janela->window();
    if (QApplication::activeWindow() != w) {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }
}
inline void tecla(QWidget* janela, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    ativar(janela);
    QTest::keyClick(comFoco(janela), k, m);
}
// A key that presses a button through its shortcut: the button clicks itself
// a moment later, as it does for a user.
inline void atalho(QWidget* janela, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    tecla(janela, k, m);
    QTest::qWait(150);
}
// Types into the focused box (replacing what it holds, as a user selecting it first would).
inline void teclar(QWidget* janela, const QString& texto) {
    ativar(janela);
    QWidget* w = comFoco(janela);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->selectAll();
    QTest::keyClicks(w, texto);
}
inline void mostrar(QWidget* tela) {
    tela->show();
    tela->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(tela));
}
inline QString textoDe(QWidget* tela, const char* nome) { return filho<QLineEdit>(tela, nome)->text(); }

// A shop with the invoice registers, payment methods, a "Talão" series and
// the parameters' default series "1"; product 1001 is sold by the unit.
class TelaNFVendaTeste : public NFVendaFaturamento {
protected:
    TelaNFVendaTeste() {
        sql(QStringLiteral("update PRODUTO set CODPRODUTOUNIDADE = 101 where CODPRODUTO = 10"));
        sql(QStringLiteral("insert into SERIE (CODSERIE, SER_DESCRICAO, SER_SEQ, SER_TIPO) values ('T', 'Talao', 7, 'Talão')"));
        sql(QStringLiteral("update PARAMETRO_NF set PARN_SERIE_PADRAO = '1'"));
    }
    int serSeq(const char* serie) {
        return t->scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = :S"), {{QStringLiteral("S"), QString::fromLatin1(serie)}})
            .toInt();
    }
    int notas(const char* serie) {
        return t->scalar(QStringLiteral("select count(*) from NFVENDA where CODSERIE = :S"), {{QStringLiteral("S"), QString::fromLatin1(serie)}})
            .toInt();
    }
};

} // namespace kvo::test
