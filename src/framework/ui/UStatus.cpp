#include "framework/ui/UStatus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>

namespace kvo {

TfrmStatus::TfrmStatus(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmStatus"));
    m_titulo = new QLabel(this);
    m_titulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont f = m_titulo->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    m_titulo->setFont(f);
    m_mensagem = new QLabel(this);
    m_mensagem->setObjectName(QStringLiteral("lblMensagem"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_titulo, 0, Qt::AlignCenter);
    layout->addWidget(m_mensagem, 0, Qt::AlignCenter);
    setFixedSize(380, 110);
}

void TfrmStatus::mostrar(const QString& titulo, const QString& mensagem) {
    m_titulo->setText(titulo);
    m_mensagem->setText(mensagem);
    show();
    raise();
    repaint();
    m_historico << mensagem;
    Q_EMIT mensagemMostrada(mensagem);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 50) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        QThread::msleep(5);
    }
}

} // namespace kvo
