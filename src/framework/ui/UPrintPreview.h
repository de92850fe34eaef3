#pragma once

#include <QStringList>

#include <QDialog>

#include <functional>

class QPlainTextEdit;

namespace kvo {

// Preview of a receipt-printer text: print it on its target (a folder, a
// device or file path), ask to change the choices (the caller shows its
// options again), or close.
class TfrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrintPreview(QWidget* parent = nullptr);

    void iniciar(const QString& titulo, const QString& destino);
    // Prints through the caller instead of the destination (a bill goes to
    // the restaurant's bill target); it throws when it cannot.
    void setImpressao(std::function<void(const QStringList&)> imprimir) { m_imprimir = std::move(imprimir); }
    // Offers the button that asks to change the choices (on by default).
    void setPermiteAlterar(bool permite);
    void addLine(const QString& linha) { m_linhas << linha; }
    const QStringList& linhas() const { return m_linhas; }
    // The lines as the screen shows them: the printer's control sequences
    // (ESC and the byte after it, other control characters) left out.
    QString textoTela() const;
    // Shows the preview (modal) and returns whether it printed.
    bool mostrar();
    bool imprimiu() const { return m_imprimiu; }
    bool alterarEscolhas() const { return m_alterar; }

    void btnImprimirClick();
    void btnAlterarClick();

private:
    QString m_titulo, m_destino;
    QStringList m_linhas;
    QPlainTextEdit* m_visual;
    QWidget* m_btnAlterar = nullptr;
    std::function<void(const QStringList&)> m_imprimir;
    bool m_imprimiu = false;
    bool m_alterar = false;
};

} // namespace kvo
