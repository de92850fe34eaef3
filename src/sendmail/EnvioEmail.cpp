#include "sendmail/EnvioEmail.h"

#include "sendmail/ClienteSmtp.h"
#include "sendmail/ConfiguracaoSmtp.h"
#include "sendmail/MensagemMime.h"
#include "sendmail/PedidoEmail.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace kvo::sendmail {

namespace {

QString citar(QString t)
{
    t.replace(u'\r', u' ').replace(u'\n', u' ').replace(u'"', QLatin1String("\\\""));
    return u'"' + t + u'"';
}

void registrar(const QString& arquivoLog, const QString& linha)
{
    const QString completa = QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + linha;
    std::fprintf(stderr, "%s\n", completa.toLocal8Bit().constData());
    if (arquivoLog.isEmpty())
        return;
    QDir().mkpath(QFileInfo(arquivoLog).absolutePath());
    QFile f(arquivoLog);
    if (f.open(QIODevice::Append | QIODevice::Text))
        f.write(completa.toUtf8() + '\n');
    else
        std::fprintf(stderr, "Não foi possível escrever no log %s\n", arquivoLog.toLocal8Bit().constData());
}

QString aleatorio()
{
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

} // namespace

int executarEnvio(const QStringList& argumentos, const QString& arquivoConfiguracao)
{
    PedidoEmail pedido;
    try {
        pedido = lerLinhaDeComando(argumentos);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    QString arquivoLog = QFileInfo(arquivoConfiguracao).absoluteDir().filePath(QStringLiteral("KVOSendMail.log"));
    QStringList nomes;
    for (const QString& a : pedido.anexos)
        nomes << QFileInfo(a).fileName();
    const QString sobre = QStringLiteral("para=%1 assunto=%2 anexos=%3")
                              .arg(pedido.destinatarios.join(u','), citar(pedido.assunto), nomes.join(u','));
    try {
        const ConfiguracaoSmtp conf = lerConfiguracao(arquivoConfiguracao);
        arquivoLog = conf.arquivoLog;
        Mensagem m;
        m.remetente = conf.remetente;
        m.nomeRemetente = conf.nomeRemetente;
        m.para = pedido.destinatarios;
        m.assunto = pedido.assunto;
        m.corpo = pedido.corpo;
        m.html = pedido.html;
        m.messageId = QStringLiteral("<%1.%2@%3>")
                          .arg(QDateTime::currentMSecsSinceEpoch())
                          .arg(aleatorio(), conf.remetente.section(u'@', 1));
        for (const QString& caminho : pedido.anexos) {
            QFile f(caminho);
            if (!f.open(QIODevice::ReadOnly))
                throw std::runtime_error(QStringLiteral("Anexo não encontrado: %1").arg(caminho).toStdString());
            m.anexos.append({QFileInfo(caminho).fileName(), f.readAll()});
        }
        const QByteArray fronteira = "=_kvo_" + aleatorio().toLatin1() + aleatorio().toLatin1();
        ClienteSmtp cliente(conf);
        const QString resposta = cliente.enviar(conf.remetente, pedido.destinatarios, montarMensagem(m, fronteira));
        registrar(arquivoLog, QStringLiteral("ENVIADO %1 servidor=%2:%3 id=%4 resposta=%5")
                                  .arg(sobre, conf.servidor)
                                  .arg(conf.porta)
                                  .arg(m.messageId, citar(resposta)));
        return 0;
    } catch (const std::exception& e) {
        const QString motivo = QString::fromUtf8(e.what());
        registrar(arquivoLog, QStringLiteral("FALHA %1 erro=%2").arg(sobre, citar(motivo)));
        std::fprintf(stderr, "E-mail não enviado: %s\n", motivo.toLocal8Bit().constData());
        return 1;
    }
}

} // namespace kvo::sendmail
