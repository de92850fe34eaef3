#pragma once

#include <QWidget>

namespace kvo {

// On-screen keyboard for touch terminals: its keys type into whatever has
// the focus, and it never takes the focus itself.
class TfrmTecladoVirtual : public QWidget {
    Q_OBJECT
public:
    explicit TfrmTecladoVirtual(QWidget* parent = nullptr);
    // Sends one key to the focused widget (text for printable keys).
    static void enviarTecla(int key, const QString& texto);
};

} // namespace kvo
