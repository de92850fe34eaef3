#pragma once

// Driving register screens in tests: typing into bound boxes and answering
// the modal record screen a search screen opens.
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

namespace kvo::test {

template <class W>
W* filho(QWidget* tela, const char* nome) {
    return tela->findChild<W*>(QString::fromLatin1(nome));
}

// Types into the edit box as a user does: the value is written on leaving it.
inline void digitar(QWidget* tela, const char* nome, const QString& texto) {
    auto* edit = filho<QLineEdit>(tela, nome);
    if (!edit)
        throw std::runtime_error(std::string("no edit box ") + nome);
    edit->setText(texto);
    Q_EMIT edit->editingFinished();
}

// Chooses the entry whose text is `texto` in a bound list.
inline void escolher(QWidget* tela, const char* nome, const QString& texto) {
    auto* box = filho<QComboBox>(tela, nome);
    const int i = box->findText(texto);
    if (i < 0)
        throw std::runtime_error(std::string("no entry in ") + nome);
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

// Runs `acao` on the modal screen named `nome` once it shows; true when it did.
class QuandoAbrir {
public:
    QuandoAbrir(const QString& nome, std::function<void(QWidget*)> acao) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, nome, acao] {
            QWidget* tela = QApplication::activeModalWidget();
            if (!tela || tela->objectName() != nome)
                return;
            m_timer.stop();
            m_abriu = true;
            try {
                acao(tela);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "screen " << nome.toStdString() << ": " << e.what();
            }
            // A failed step must not leave the test waiting on a modal screen.
            if (tela->isVisible())
                if (auto* dialogo = qobject_cast<QDialog*>(tela))
                    dialogo->done(QDialog::Rejected);
        });
        m_timer.start();
    }
    bool abriu() const { return m_abriu; }

private:
    QTimer m_timer;
    bool m_abriu = false;
};

// A register screen test: a template database, the module's shared
// instances on it, and scripted answers to the user's dialogs.
class TelaCadastroTeste : public ::testing::Test {
protected:
    TelaCadastroTeste() { TdmAcesso::gerarInstance().usarConexao(t.db()); }
    // Presses OK; the message it raised, or blank when it wrote.
    QString clicarOk(QWidget* tela) {
        ui.clear();
        filho<QPushButton>(tela, "btnOk")->click();
        return ui.lastMessage();
    }
    TestDatabase t;
    Module module;
    ScriptedUi ui;
};

} // namespace kvo::test
