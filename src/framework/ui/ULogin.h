#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QLabel;

namespace kvo {

// The login (frmLogin). A correct user and password become the logged-in
// user of the data-access service.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget* parent = nullptr);
    // Shows the login; false when the user gives up.
    static bool chamaLogin(bool obrigatorio);

    void btnOkClick();

private:
    QComboBox* m_usuario;
    QLineEdit* m_senha;
    QLabel* m_mensagem;
    int m_tentativas = 0;
};

} // namespace kvo
