#pragma once

// Driving the invoice search as a user does: the shown window, mouse clicks on
// its buttons, keys to the focused widget; the scripted user interface
// answers the questions.
#include "invoice/pesq/UNFVenda_Pesq.h"
#include "invoice/ui/TelasNFVenda.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kvo::test {

// The search over a fixture (the invoice registers, or the NF-e life cycle's).
template <class Base>
class NaPesquisa : public Base {
protected:
    ~NaPesquisa() override { telasNFVenda() = {}; }

    TfrmNFVenda_Pesq& abrir() {
        m_tela = std::make_unique<TfrmNFVenda_Pesq>();
        m_tela->show();
        m_tela->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_tela.get()));
        return *m_tela;
    }
    TfrmNFVenda_Pesq& tela() { return *m_tela; }
    template <class W = QAbstractButton>
    W* w(const char* nome) {
        W* x = m_tela->findChild<W*>(QString::fromLatin1(nome));
        if (!x)
            ADD_FAILURE() << "no widget " << nome;
        return x;
    }
    QTableView* grade() { return w<QTableView>("dbgPesquisa"); }
    void clicar(const char* nome) {
        this->ui.clear();
        QTest::mouseClick(w(nome), Qt::LeftButton);
    }
    void tecla(int key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mod);
    }
    // A button's shortcut or mnemonic: it presses the button as a click
    // does, released a moment later.
    void atalho(int key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        tecla(key, mod);
        QTest::qWait(200);
    }
    // "Listar todos" ticked by a click: every invoice the filter lets through.
    void listarTodos() {
        auto* todos = w<QCheckBox>("chkListarTodos");
        if (!todos->isChecked())
            QTest::mouseClick(todos, Qt::LeftButton);
    }
    // The invoices listed, in grid order, as "number/series".
    QStringList listadas() {
        QStringList r;
        auto* m = grade()->model();
        for (int i = 0; i < m->rowCount(); ++i)
            r << m->index(i, 0).data().toString() + u'/' + m->index(i, 1).data().toString();
        return r;
    }
    // Moves the grid's current row with the arrow keys to the invoice.
    void irPara(int numero, const QString& serie = QStringLiteral("1")) {
        grade()->setFocus();
        const QString alvo = QString::number(numero) + u'/' + serie;
        const int destino = int(listadas().indexOf(alvo));
        ASSERT_GE(destino, 0) << alvo.toStdString() << " not listed";
        ASSERT_GE(grade()->currentIndex().row(), 0) << "no current row";
        while (grade()->currentIndex().row() < destino)
            tecla(Qt::Key_Down);
        while (grade()->currentIndex().row() > destino)
            tecla(Qt::Key_Up);
        ASSERT_EQ(m_tela->registros().field(QStringLiteral("CODNFVENDA")).asInteger(), numero);
    }
    bool habilitado(const char* nome) { return w(nome)->isEnabled(); }

private:
    std::unique_ptr<TfrmNFVenda_Pesq> m_tela;
};

} // namespace kvo::test
