#include "framework/ui/ULogin.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DSeguranca.h"
#include "framework/ui/UserInterface.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvo {

TfrmLogin::TfrmLogin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("KVO Gestão - Login"));
    auto* titulo = new QLabel(QStringLiteral("Acesso ao sistema"), this);
    QFont f = titulo->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    titulo->setFont(f);

    m_usuario = new QComboBox(this);
    m_usuario->setObjectName(QStringLiteral("edtUsuario"));
    m_usuario->setEditable(true);
    m_usuario->addItems(TdmSeguranca::gerarInstance().usuarios());
    m_usuario->setCurrentIndex(-1);
    m_senha = new QLineEdit(this);
    m_senha->setObjectName(QStringLiteral("edtSenha"));
    m_senha->setEchoMode(QLineEdit::Password);
    m_mensagem = new QLabel(this);
    m_mensagem->setObjectName(QStringLiteral("lblMensagem"));
    m_mensagem->setStyleSheet(QStringLiteral("color: #b00020"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Usuário:"), m_usuario);
    form->addRow(QStringLiteral("&Senha:"), m_senha);
    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(QStringLiteral("&Entrar"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton* cancelar = botoes->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancelar->setObjectName(QStringLiteral("btnCancelar"));
    // Logging in reads the users: a failure is told, and the user may try again.
    connect(ok, &QPushButton::clicked, this, [this] { tratarEvento([this] { btnOkClick(); }); });
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titulo);
    layout->addLayout(form);
    layout->addWidget(m_mensagem);
    layout->addWidget(botoes);
    setMinimumWidth(360);
    m_usuario->setFocus();
}

void TfrmLogin::btnOkClick() {
    const auto usuario = TdmSeguranca::gerarInstance().autenticar(m_usuario->currentText(), m_senha->text());
    if (!usuario) {
        ++m_tentativas;
        m_mensagem->setText(QStringLiteral("Usuário ou senha inválidos."));
        m_senha->clear();
        m_senha->setFocus();
        if (m_tentativas >= 5) // keep guessing slow on a shared terminal
            reject();
        return;
    }
    TdmAcesso::gerarInstance().setUsuario(*usuario);
    accept();
}

bool TfrmLogin::chamaLogin(bool) {
    TfrmLogin login;
    return login.exec() == QDialog::Accepted;
}

} // namespace kvo
