#include "sendmail/ConfiguracaoSmtp.h"

#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <stdexcept>

namespace kvo::sendmail {

QString arquivoConfiguracaoPadrao() { return QDir(programFolder()).filePath(QStringLiteral("KVOSendMail.ini")); }

ConfiguracaoSmtp lerConfiguracao(const QString& arquivo)
{
    const auto falhar = [&arquivo](const QString& motivo) {
        throw std::runtime_error(QStringLiteral("%1 (%2)").arg(motivo, arquivo).toStdString());
    };
    if (!QFileInfo::exists(arquivo))
        falhar(QStringLiteral("Arquivo de configuração do e-mail não encontrado"));
    const QDir base = QFileInfo(arquivo).absoluteDir();
    QSettings ini(arquivo, QSettings::IniFormat);
    ConfiguracaoSmtp c;
    c.servidor = ini.value(QStringLiteral("smtp/servidor")).toString().trimmed();
    const QString seg = ini.value(QStringLiteral("smtp/seguranca"), QStringLiteral("starttls")).toString().trimmed().toLower();
    if (seg == u"starttls")
        c.seguranca = Seguranca::StartTls;
    else if (seg == u"tls" || seg == u"ssl")
        c.seguranca = Seguranca::Tls;
    else
        falhar(QStringLiteral("Segurança \"%1\" desconhecida: use starttls ou tls").arg(seg));
    c.porta = ini.value(QStringLiteral("smtp/porta"), c.seguranca == Seguranca::Tls ? 465 : 587).toInt();
    c.usuario = ini.value(QStringLiteral("smtp/usuario")).toString();
    c.senha = ini.value(QStringLiteral("smtp/senha")).toString();
    c.remetente = ini.value(QStringLiteral("smtp/remetente"), c.usuario).toString().trimmed();
    c.nomeRemetente = ini.value(QStringLiteral("smtp/nomeRemetente")).toString();
    const QString ca = ini.value(QStringLiteral("smtp/ca")).toString();
    c.arquivoCA = ca.isEmpty() ? QString() : QDir::cleanPath(base.absoluteFilePath(ca));
    c.timeoutMs = int(ini.value(QStringLiteral("smtp/timeout"), 30).toDouble() * 1000);
    const QString log = ini.value(QStringLiteral("smtp/log"), QStringLiteral("KVOSendMail.log")).toString();
    c.arquivoLog = QDir::cleanPath(base.absoluteFilePath(log));
    if (c.servidor.isEmpty())
        falhar(QStringLiteral("Servidor SMTP não configurado"));
    if (c.remetente.isEmpty() || !c.remetente.contains(u'@'))
        falhar(QStringLiteral("Remetente do e-mail não configurado"));
    if (c.porta <= 0 || c.porta > 65535)
        falhar(QStringLiteral("Porta SMTP inválida: %1").arg(c.porta));
    return c;
}

} // namespace kvo::sendmail
