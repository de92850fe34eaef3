#pragma once

#include <QMainWindow>

class QMenu;
class QMenuBar;
class QHBoxLayout;
class QLabel;

namespace kvo {

// The host's main-menu window: logo, button bar (pnlBotoes), status bar and
// the main menu (mmPrincipal) with the movement and system groups and the
// host's own entries. Entries open their screens through the screen
// registry; an entry whose screen is not there is disabled.
class TrepMenuPrincipal_MainMenu : public QMainWindow {
    Q_OBJECT
public:
    explicit TrepMenuPrincipal_MainMenu(QWidget* parent = nullptr);

    QMenuBar* mmPrincipal() const { return m_menu; }
    QMenu* mmiMovimentacao() const { return m_movimentacao; }
    QMenu* mmiCadastro() const { return m_cadastro; }
    QMenu* mmiSistema() const { return m_sistema; }
    QWidget* pnlBotoes() const { return m_botoes; }
    QAction* entrada(const QString& nome) const;

    // A menu entry that opens the named screen (or runs `acao`).
    QAction* adicionarEntrada(QMenu* grupo, const QString& nome, const QString& titulo, const QString& tela);
    QAction* adicionarEntrada(QMenu* grupo, const QString& nome, const QString& titulo, std::function<void()> acao);
    // A bar button on panel "pnl" + entry, mirroring that entry.
    void adicionarBotao(const QString& entradaNome, const QString& titulo);

    // Hides groups left without a visible entry and separators that would
    // lead, trail or double up.
    static void VerificarMenuItensNegados(QMenuBar* menu);

protected:
    // Showing the menu reads rights and the company: a failure there is told
    // to the user, never thrown into Qt.
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Base show handling: the status bar with the user and the company.
    virtual void FormShow();

private:
    QMenuBar* m_menu;
    QMenu* m_movimentacao;
    QMenu* m_cadastro;
    QMenu* m_sistema;
    QWidget* m_botoes;
    QHBoxLayout* m_botoesLayout;
};

} // namespace kvo
