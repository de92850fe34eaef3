#pragma once

#include "framework/ui/URepMenuPrincipal.h"

namespace kvo {

class TfrmStatus;

// The module's main menu (frmMenuCoreGestao) and its entry point.
class TfrmMenuCoreGestao : public TrepMenuPrincipal_MainMenu {
    Q_OBJECT
public:
    explicit TfrmMenuCoreGestao(QWidget* parent = nullptr);

    // Start-up: the host services in their fixed order behind the status
    // window, then the login, then the main menu. Returns the menu, or
    // nullptr when the login was refused (the application then ends).
    static TfrmMenuCoreGestao* gerarInstance();
    // The connection file: "KVOGestao.ini" of the program folder when it
    // exists, else that folder's "database.ini" (even if missing).
    static QString arquivoConexao();

    void MenuRestaurante1Click();

protected:
    void FormShow() override;

private:
    static void iniciarServicos(TfrmStatus& status);
    void verificarmenu();
};

} // namespace kvo
