#pragma once

#include <QWidget>

class QLabel;

namespace kvo {

// The start-up status window (frmStatus): a title and a message.
class TfrmStatus : public QWidget {
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget* parent = nullptr);
    // Sets both labels, shows the window in front, paints it at once and
    // pauses 50 ms so the text can be read.
    void mostrar(const QString& titulo, const QString& mensagem);
    // Every message shown, in order.
    const QStringList& historico() const { return m_historico; }

Q_SIGNALS:
    void mensagemMostrada(const QString& mensagem);

private:
    QLabel* m_titulo;
    QLabel* m_mensagem;
    QStringList m_historico;
};

} // namespace kvo
