#pragma once

#include <QMenuBar>
#include <QPointer>
#include <QWidget>


namespace kvo {

// Applies the logged-in user's rights to a main menu and its button bar
// (TwbtSeguranca). A button sits on a panel named "pnl" + the name of the menu
// entry it mirrors, and follows that entry.
class TwbtSeguranca {
public:
    void SetMenu(QMenuBar* menu) { m_menu = menu; }
    void SetBotoes(QWidget* painel) { m_botoes = painel; }
    // Hides what the user may not use; registers every named entry so the
    // rights screen can list it.
    void MenuExecute();

private:
    QPointer<QMenuBar> m_menu;
    QPointer<QWidget> m_botoes;
};

} // namespace kvo
