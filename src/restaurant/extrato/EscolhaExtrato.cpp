// The bill's choices: the dialog over the settings, its OK, the service toggle.
#include "restaurant/extrato/RExtrato.h"

#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

namespace {
QString g_senha; // the last password typed in the choices dialog, kept while the program runs
} // namespace

void TrelExtrato::chamaEscolha() {
    if (m_mostrarEscolha) {
        auto par = m_db.query(QStringLiteral("select first 1 PARR_VLR_COVERT from PAR_RESTAURANTE order by "
                                             "CODPARRESTAURANTE"));
        const Currency couvert = par->isEmpty() ? Currency() : par->field(QStringLiteral("PARR_VLR_COVERT")).asCurrency();
        ValoresEscolha v{m_ajustes.desconto, m_ajustes.couverts, m_ajustes.pessoas, m_ajustes.servico};
        if (!escolhaExtrato().escolher(v, couvert > Currency()))
            v.desconto = Currency();
        m_ajustes.desconto = v.desconto;
        m_ajustes.couverts = v.couverts;
        m_ajustes.pessoas = v.pessoas;
        m_ajustes.servico = v.servico;
        return;
    }
    if (m_removerServico) {
        if (TfrmSenha::autorizarDesconto()) {
            m_ajustes.servico = Currency();
            Informacao(QStringLiteral("Taxa de serviço REMOVIDA com sucesso!"));
        } else {
            m_ajustes.servico = m_servicoPadrao;
        }
    } else {
        m_ajustes.servico = m_servicoPadrao;
        Informacao(QStringLiteral("Taxa de serviço INCLUÍDA com sucesso!"));
    }
}

void TrelExtrato::validarEscolha(Currency desconto) {
    if (desconto < Currency())
        Error(QStringLiteral("O desconto não pode ser negativo."));
    if (desconto.isZero())
        return;
    g_senha = TfrmSenha::chamaSenha(QStringLiteral("Senha do desconto:")).trimmed();
    if (g_senha.isEmpty())
        Error(QStringLiteral("Informe uma senha!"));
    const QString guardada = TdmAcesso::gerarInstance()
                                 .sqlCon()
                                 .scalar(QStringLiteral("select first 1 PARV_SENHA_DESCONTO from PAR_VENDA"))
                                 .toString()
                                 .trimmed();
    // An empty stored password asks for no check.
    if (!guardada.isEmpty() && g_senha != guardada)
        Error(QStringLiteral("Senha Inválida!"));
}

QString TrelExtrato::senha() { return g_senha; }

} // namespace kvo
