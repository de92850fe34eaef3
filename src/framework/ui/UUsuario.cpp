#include "framework/ui/UUsuario.h"

#include "core/Password.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace kvo {

TfrmUsuario::TfrmUsuario(RecordSet& usuario, QWidget* parent) : TrepPadraoCadastro(usuario, parent) {
    setObjectName(QStringLiteral("frmUsuario"));
    setWindowTitle(QStringLiteral("Usuário"));
    adicionarCampo(QStringLiteral("&Nome:"), QStringLiteral("SEGU_NOME"));
    auto* grupo = new QComboBox(this);
    grupo->setObjectName(QStringLiteral("cbxGrupo"));
    Libgeral::carregarComboBox(grupo, *usuario.database(), QStringLiteral("SEG_USU_GRUPO"), QStringLiteral("CODSEGUSUGRUPO"),
                               QStringLiteral("SEGG_NOME"));
    campos()->addRow(QStringLiteral("&Grupo:"), grupo);
    binder().bind(grupo, QStringLiteral("CODSEGUSUGRUPO"));
    auto* ativo = new QCheckBox(QStringLiteral("&Ativo"), this);
    ativo->setObjectName(QStringLiteral("chkAtivo"));
    binder().bind(ativo, QStringLiteral("SEGU_ATIVO"));
    auto* supervisor = new QCheckBox(QStringLiteral("&Supervisor (autoriza descontos e cancelamentos)"), this);
    supervisor->setObjectName(QStringLiteral("chkSupervisor"));
    binder().bind(supervisor, QStringLiteral("SEGU_SUPERVISOR"));
    campos()->addRow(QString(), ativo);
    campos()->addRow(QString(), supervisor);
    m_senha = new QLineEdit(this);
    m_senha->setObjectName(QStringLiteral("edtSenha"));
    m_senha->setEchoMode(QLineEdit::Password);
    m_confirmacao = new QLineEdit(this);
    m_confirmacao->setObjectName(QStringLiteral("edtConfirmacao"));
    m_confirmacao->setEchoMode(QLineEdit::Password);
    campos()->addRow(QStringLiteral("Nova s&enha:"), m_senha);
    campos()->addRow(QStringLiteral("&Confirme a senha:"), m_confirmacao);
    SetGeneretor(QStringLiteral("GEN_SEG_USUARIO"));
}

void TfrmUsuario::ValidaDados() {
    RecordSet& rs = registro();
    const QString nome = rs.field(QStringLiteral("SEGU_NOME")).asString().trimmed();
    if (nome.isEmpty())
        Error(QStringLiteral("Informe o nome do usuário."));
    // Logins ignore case, so names must differ by more than case.
    const QVariant outro = rs.database()->scalar(
        QStringLiteral("select first 1 1 from SEG_USUARIO where upper(SEGU_NOME) = upper(:N) and CODSEGUSUARIO <> :C"),
        {{QStringLiteral("N"), nome}, {QStringLiteral("C"), rs.field(QStringLiteral("CODSEGUSUARIO")).asInteger()}});
    if (!outro.isNull())
        Error(QStringLiteral("Já existe um usuário chamado %1.").arg(nome));
    const bool novo = rs.state() == RecordSet::State::Insert;
    if (novo && m_senha->text().isEmpty())
        Error(QStringLiteral("Informe a senha do novo usuário."));
    if (m_senha->text() != m_confirmacao->text())
        Error(QStringLiteral("A confirmação não confere com a senha."));
    if (!m_senha->text().isEmpty()) {
        const PasswordHash hash = PasswordHash::make(m_senha->text());
        rs.field(QStringLiteral("SEGU_SENHA")).setValueSilently(hash.hash);
        rs.field(QStringLiteral("SEGU_SALT")).setValueSilently(hash.salt);
    }
}

bool abrirUsuario(int codigo, TrepPadraoPesquisa::Modo modo, QWidget* parent) {
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    auto rs = MontarDataSet(db, QStringLiteral("SEG_USUARIO"), QStringLiteral("CODSEGUSUARIO"), codigo);
    rs->setKeyFields({QStringLiteral("CODSEGUSUARIO")});
    if (modo == TrepPadraoPesquisa::Modo::Incluir) {
        rs->append();
        rs->field(QStringLiteral("SEGU_ATIVO")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("SEGU_SUPERVISOR")).setValue(QStringLiteral("N"));
    } else {
        rs->edit();
    }
    TfrmUsuario tela(*rs, parent);
    if (modo == TrepPadraoPesquisa::Modo::Visualizar)
        tela.DeixarReadOnLyWin();
    return tela.exec() == QDialog::Accepted && modo != TrepPadraoPesquisa::Modo::Visualizar;
}

TfrmUsuario_Pesq::TfrmUsuario_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select u.CODSEGUSUARIO, u.SEGU_NOME, g.SEGG_NOME, u.SEGU_ATIVO, u.SEGU_SUPERVISOR "
                                        "from SEG_USUARIO u left join SEG_USU_GRUPO g on g.CODSEGUSUGRUPO = u.CODSEGUSUGRUPO"),
                         parent) {
    setObjectName(QStringLiteral("frmUsuario_Pesq"));
    setWindowTitle(QStringLiteral("Usuários"));
    adicionarTipoPesquisa(QStringLiteral("Nome"), QStringLiteral("u.SEGU_NOME"));
    adicionarTipoPesquisa(QStringLiteral("Grupo"), QStringLiteral("g.SEGG_NOME"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("u.CODSEGUSUARIO"));
    setOrdem(QStringLiteral("u.SEGU_NOME"));
}

bool TfrmUsuario_Pesq::abrirCadastro(Modo modo) {
    const int codigo = modo == Modo::Incluir ? 0 : int(registros().field(QStringLiteral("CODSEGUSUARIO")).asInteger());
    return abrirUsuario(codigo, modo, this);
}

void TfrmUsuario_Pesq::excluirRegistro() {
    const QString nome = registros().field(QStringLiteral("SEGU_NOME")).asString();
    if (nome == QLatin1String("Administrador"))
        Error(QStringLiteral("O usuário Administrador não pode ser excluído."));
    // Users stay for the history of what they did; they are only deactivated.
    TdmAcesso::gerarInstance().sqlCon().executeSQL(
        QStringLiteral("update SEG_USUARIO set SEGU_ATIVO = 'N' where CODSEGUSUARIO = :C"),
        {{QStringLiteral("C"), registros().field(QStringLiteral("CODSEGUSUARIO")).value()}});
}

} // namespace kvo
