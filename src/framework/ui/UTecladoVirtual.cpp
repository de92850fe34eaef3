#include "framework/ui/UTecladoVirtual.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QToolButton>

namespace kvo {

TfrmTecladoVirtual::TfrmTecladoVirtual(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("frmTecladoVirtual"));
    setWindowTitle(QStringLiteral("Teclado"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* grid = new QGridLayout(this);
    const QStringList linhas = {QStringLiteral("1234567890"), QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKLÇ"),
                                QStringLiteral("ZXCVBNM,.-")};
    auto tecla = [&](const QString& rotulo, int key, const QString& texto, int row, int col, int span) {
        auto* b = new QToolButton(this);
        b->setText(rotulo);
        b->setObjectName(QStringLiteral("tecla_") + (texto.isEmpty() ? rotulo : texto));
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumSize(48 * span, 48);
        connect(b, &QToolButton::clicked, this, [key, texto] { enviarTecla(key, texto); });
        grid->addWidget(b, row, col, 1, span);
    };
    for (int r = 0; r < linhas.size(); ++r)
        for (int c = 0; c < linhas[r].size(); ++c) {
            const QString ch = linhas[r].mid(c, 1);
            tecla(ch, 0, ch, r, c, 1);
        }
    tecla(QStringLiteral("Espaço"), Qt::Key_Space, QStringLiteral(" "), 4, 0, 6);
    tecla(QStringLiteral("⌫"), Qt::Key_Backspace, {}, 4, 6, 2);
    tecla(QStringLiteral("Enter"), Qt::Key_Return, QStringLiteral("\r"), 4, 8, 2);
}

void TfrmTecladoVirtual::enviarTecla(int key, const QString& texto) {
    QWidget* alvo = QApplication::focusWidget();
    if (!alvo)
        return;
    const int k = key ? key : (texto.isEmpty() ? 0 : int(texto.at(0).toUpper().unicode()));
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, texto);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, texto);
    QApplication::sendEvent(alvo, &press);
    QApplication::sendEvent(alvo, &release);
}

} // namespace kvo
