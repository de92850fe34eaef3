#include "framework/ui/USenha.h"

#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

QString TfrmSenha::chamaSenha(const QString& prompt) { return SenhaBox(prompt).value_or(QString()); }

bool TfrmSenha::autorizarDesconto() {
    const auto usuario = InputBox(QStringLiteral("Autorização"), QStringLiteral("Usuário supervisor:"));
    if (!usuario || usuario->trimmed().isEmpty())
        return false;
    const auto senha = SenhaBox(QStringLiteral("Senha do supervisor:"));
    if (!senha)
        return false;
    if (TdmSeguranca::gerarInstance().autorizarSupervisor(*usuario, *senha))
        return true;
    Alerta(QStringLiteral("Usuário sem permissão ou senha inválida."));
    return false;
}

bool TfrmSenha::autorizarSenhaParametro(const QString& chave, const QString& prompt) {
    const QString guardada = TdmConfiguracao::gerarInstance().getStr(chave);
    if (guardada.isEmpty())
        return true;
    const auto digitada = SenhaBox(prompt);
    return digitada && *digitada == guardada;
}

} // namespace kvo
