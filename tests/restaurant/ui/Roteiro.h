#pragma once

#include <QApplication>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace kvo::test {

// Acts on each modal screen as it shows, in order: (name, what the user does).
class Roteiro {
public:
    using Passo = std::pair<QString, std::function<void(QWidget*)>>;
    explicit Roteiro(QList<Passo> passos) : m_passos(std::move(passos)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* tela = QApplication::activeModalWidget();
            if (qEnvironmentVariableIsSet("KVO_TESTE_ROTEIRO") && tela)
                qWarning("roteiro: %s ativa=%d passo=%d", qPrintable(tela->objectName()), int(tela->isActiveWindow()),
                         int(m_feitos));
            if (!tela || tela == m_ultima || m_feitos >= m_passos.size() ||
                tela->objectName() != m_passos[m_feitos].first || !tela->isActiveWindow())
                return;
            m_ultima = tela;
            m_passos[m_feitos++].second(tela);
        });
        m_timer.start();
    }
    qsizetype feitos() const { return m_feitos; }

private:
    QList<Passo> m_passos;
    QTimer m_timer;
    QWidget* m_ultima = nullptr;
    qsizetype m_feitos = 0;
};

template <class W>
W* filho(QWidget* tela, const char* nome) {
    return tela->findChild<W*>(QString::fromLatin1(nome));
}

} // namespace kvo::test
