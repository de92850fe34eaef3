#include "nfe/ConfiguracoesArquivo.h"

#include "core/Paths.h"
#include "core/Text.h"
#include "nfe/NFeComponent.h"
#include "nfe/SoapNFe.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <stdexcept>

namespace kvo::nfe {

namespace {

QString caminho(const QDir& base, const QString& valor)
{
    return valor.isEmpty() ? QString() : QDir::cleanPath(base.absoluteFilePath(valor));
}

} // namespace

QString arquivoConfiguracaoPadrao() { return QDir(programFolder()).filePath(QStringLiteral("nfe.ini")); }

void carregarConfiguracoes(NFeComponent& c, const QString& arquivo)
{
    if (!QFileInfo::exists(arquivo))
        throw std::runtime_error("Arquivo de configuração da NF-e não encontrado: " + arquivo.toStdString());
    const QDir base = QFileInfo(arquivo).absoluteDir();
    QSettings ini(arquivo, QSettings::IniFormat);
    ConfiguracoesNFe& conf = c.Configuracoes;
    conf.arquivoPfx = caminho(base, ini.value(QStringLiteral("certificado/arquivo")).toString());
    conf.senhaPfx = ini.value(QStringLiteral("certificado/senha")).toString();
    conf.tpAmb = ini.value(QStringLiteral("nfe/ambiente"), 2).toInt();
    conf.pastaSchemas = caminho(base, ini.value(QStringLiteral("nfe/schemas")).toString());
    conf.WebServices.uf = ini.value(QStringLiteral("nfe/uf")).toString().toUpper();
    conf.WebServices.arquivoCA = caminho(base, ini.value(QStringLiteral("webservices/ca")).toString());
    conf.WebServices.urlBase = ini.value(QStringLiteral("webservices/url")).toString();
    conf.WebServices.timeoutMs = int(ini.value(QStringLiteral("webservices/timeout"), 30).toDouble() * 1000);
    conf.WebServices.timeoutConexaoMs = int(ini.value(QStringLiteral("webservices/timeoutConexao"), 10).toDouble() * 1000);
    using soap::Servico;
    for (Servico s : {Servico::Autorizacao, Servico::RetAutorizacao, Servico::ConsultaProtocolo, Servico::StatusServico,
                      Servico::RecepcaoEvento, Servico::Inutilizacao}) {
        const QString url = ini.value(QStringLiteral("webservices/") + soap::nome(s)).toString();
        if (!url.isEmpty())
            conf.WebServices.urls.insert(soap::nome(s), url);
        const QString nfce = ini.value(QStringLiteral("webservicesNFCe/") + soap::nome(s)).toString();
        if (!nfce.isEmpty())
            conf.WebServices.urlsNFCe.insert(soap::nome(s), nfce);
    }
    conf.WebServices.urlBaseNFCe = ini.value(QStringLiteral("webservices/urlNFCe")).toString();
    c.DANFE.pastaPDF = caminho(base, ini.value(QStringLiteral("danfe/pasta")).toString());
    c.DANFE.impressora = ini.value(QStringLiteral("danfe/impressora")).toString();
    c.DANFE.imprimirEmArquivo = ini.value(QStringLiteral("danfe/arquivo")).toString().trimmed().toUpper() == u"S";
    c.recarregarCertificado();
}

QString cnpjConfigurado(NFeComponent& c, const QString& arquivo)
{
    QSettings ini(arquivo, QSettings::IniFormat);
    const QString cnpj = OnlyNumber(ini.value(QStringLiteral("nfe/cnpj")).toString());
    return cnpj.isEmpty() ? c.certificado().cnpj() : cnpj;
}

} // namespace kvo::nfe
