#include "ServidorHttps.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>

#include <stdexcept>

namespace kvo::autoridade {

using nfe::soap::Servico;

namespace {

const char* const Buffer = "kvoBuffer";
const char* const Ocupado = "kvoOcupado"; // a request is being answered
const char* const Fechar = "kvoFechar";   // the client asked to close after the answer
const int OciosoMs = 60000;

QByteArray falhaSoap(const QString& motivo)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap12:Envelope "
           "xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\"><soap12:Body><soap12:Fault><soap12:Code>"
           "<soap12:Value>soap12:Sender</soap12:Value></soap12:Code><soap12:Reason><soap12:Text xml:lang=\"pt-BR\">"
        + motivo.toHtmlEscaped().toUtf8() + "</soap12:Text></soap12:Reason></soap12:Fault></soap12:Body></soap12:Envelope>";
}

// The CNPJ an A1 certificate carries at the end of its CN ("NAME:CNPJ").
QString cnpjDoCliente(const QSslSocket* s)
{
    const QString cn = s->peerCertificate().subjectInfo(QSslCertificate::CommonName).value(0);
    const qsizetype dp = cn.lastIndexOf(u':');
    return dp < 0 ? QString() : cn.mid(dp + 1).trimmed();
}

} // namespace

ServidorHttps::ServidorHttps(Autoridade& autoridade, const CertificadosServidor& certificados,
                             const QStringList& casClientes, QString pasta, QObject* parent)
    : QTcpServer(parent), m_autoridade(autoridade), m_pasta(std::move(pasta))
{
    QFile chave(certificados.chave);
    if (!chave.open(QIODevice::ReadOnly))
        throw std::runtime_error("Chave do servidor ilegível: " + certificados.chave.toStdString());
    m_conf = QSslConfiguration::defaultConfiguration();
    m_conf.setProtocol(QSsl::TlsV1_2OrLater);
    m_conf.setLocalCertificateChain(QSslCertificate::fromPath(certificados.certificado));
    m_conf.setPrivateKey(QSslKey(chave.readAll(), QSsl::Rsa));
    QList<QSslCertificate> cas;
    for (const QString& ca : casClientes)
        cas += QSslCertificate::fromPath(ca);
    if (cas.isEmpty())
        throw std::runtime_error("Nenhuma CA de clientes informada");
    m_conf.setCaCertificates(cas);
    m_conf.setPeerVerifyMode(QSslSocket::VerifyPeer); // no client certificate, no service
}

void ServidorHttps::incomingConnection(qintptr descritor)
{
    auto* s = new QSslSocket(this);
    if (!s->setSocketDescriptor(descritor)) {
        delete s;
        return;
    }
    s->setSslConfiguration(m_conf);
    connect(s, &QSslSocket::disconnected, s, &QObject::deleteLater);
    connect(s, &QSslSocket::errorOccurred, s, [s](QAbstractSocket::SocketError) { s->abort(); s->deleteLater(); });
    connect(s, &QSslSocket::sslErrors, s, [s](const QList<QSslError>&) { s->abort(); s->deleteLater(); });
    connect(s, &QSslSocket::readyRead, this, [this, s] { ler(s); });
    // A connection idle for a minute (no request, or none after the last answer) is dropped.
    auto* ocioso = new QTimer(s);
    ocioso->setObjectName(QStringLiteral("ocioso"));
    ocioso->setSingleShot(true);
    connect(ocioso, &QTimer::timeout, s, [s] { s->abort(); s->deleteLater(); });
    ocioso->start(OciosoMs);
    s->startServerEncryption();
}

void ServidorHttps::ler(QSslSocket* s)
{
    s->setProperty(Buffer, QByteArray(s->property(Buffer).toByteArray() + s->readAll()));
    if (!s->property(Ocupado).toBool())
        proximoPedido(s);
}

// Takes the next complete request out of the buffer; one at a time, in order.
void ServidorHttps::proximoPedido(QSslSocket* s)
{
    const QByteArray buffer = s->property(Buffer).toByteArray();
    const qsizetype fim = buffer.indexOf("\r\n\r\n");
    if (fim < 0)
        return;
    const QString cabecalho = QString::fromLatin1(buffer.left(fim + 2));
    static const QRegularExpression tamanho(QStringLiteral("(?i)\r\ncontent-length:\\s*(\\d+)"));
    static const QRegularExpression fechar(QStringLiteral("(?i)\r\nconnection:[^\r]*close"));
    const auto m = tamanho.match(cabecalho);
    const qsizetype esperado = m.hasMatch() ? m.captured(1).toLongLong() : 0;
    if (buffer.size() - fim - 4 < esperado)
        return;
    s->setProperty(Buffer, buffer.mid(fim + 4 + esperado));
    s->setProperty(Ocupado, true);
    s->setProperty(Fechar, fechar.match(cabecalho).hasMatch() || cabecalho.contains(QStringLiteral(" HTTP/1.0\r\n")));
    if (auto* ocioso = s->findChild<QTimer*>(QStringLiteral("ocioso")))
        ocioso->stop();
    atender(s, buffer.mid(fim + 4, esperado));
}

void ServidorHttps::atender(QSslSocket* s, const QByteArray& corpo)
{
    QString ns;
    QByteArray mensagem;
    Servico servico{};
    try {
        mensagem = nfe::soap::conteudo(corpo, &ns);
    } catch (const std::exception& e) {
        registrar(QStringLiteral("?"), {});
        responder(s, 500, falhaSoap(QString::fromUtf8(e.what())));
        return;
    }
    if (!nfe::soap::servicoDoNamespace(ns, &servico)) {
        registrar(ns, {});
        responder(s, 500, falhaSoap(QStringLiteral("Serviço desconhecido: %1").arg(ns)));
        return;
    }
    const QString nome = nfe::soap::nome(servico);
    const Injecao inj = proximaInjecao(m_pasta, nome);
    if (inj.acao == Injecao::Acao::DerrubarAntes) {
        registrar(nome + QStringLiteral(" derrubada-antes"), {});
        s->abort();
        s->deleteLater();
        return;
    }
    QByteArray resposta;
    try {
        resposta = inj.acao == Injecao::Acao::Responder ? m_autoridade.responderCom(servico, inj.cStat, inj.xMotivo)
                                                         : m_autoridade.processar(servico, mensagem, inj, cnpjDoCliente(s));
    } catch (const std::exception& e) {
        registrar(nome + QStringLiteral(" erro"), {});
        responder(s, 500, falhaSoap(QString::fromUtf8(e.what())));
        return;
    }
    registrar(inj.acao == Injecao::Acao::Derrubar ? nome + QStringLiteral(" derrubada") : nome, resposta);
    if (inj.acao == Injecao::Acao::Derrubar) {
        // Processed, but the answer is lost on the way.
        s->abort();
        s->deleteLater();
        return;
    }
    const QByteArray envelope = nfe::soap::envelopeResposta(servico, resposta);
    const bool fechar = inj.fechar;
    if (inj.atrasoMs > 0)
        QTimer::singleShot(inj.atrasoMs, s, [this, s, envelope, fechar] { responder(s, 200, envelope, fechar); });
    else
        responder(s, 200, envelope, fechar);
}

void ServidorHttps::responder(QSslSocket* s, int status, const QByteArray& corpo, bool fecharSemAviso)
{
    const QByteArray texto = status == 200 ? "OK" : "Internal Server Error";
    const bool fechar = s->property(Fechar).toBool();
    s->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + texto
             + "\r\nContent-Type: application/soap+xml; charset=utf-8\r\nContent-Length: "
             + QByteArray::number(corpo.size()) + (fechar ? "\r\nConnection: close" : "\r\nConnection: keep-alive")
             + "\r\n\r\n" + corpo);
    if (fechar || fecharSemAviso) {
        s->disconnectFromHost();
        return;
    }
    s->setProperty(Ocupado, false);
    if (auto* ocioso = s->findChild<QTimer*>(QStringLiteral("ocioso")))
        ocioso->start(OciosoMs);
    // A request that came in meanwhile is answered next.
    QTimer::singleShot(0, s, [this, s] { proximoPedido(s); });
}

void ServidorHttps::registrar(const QString& servico, const QByteArray& resposta)
{
    static const QRegularExpression cStat(QStringLiteral("<cStat>(\\d+)</cStat>"));
    QStringList codigos;
    for (auto it = cStat.globalMatch(QString::fromUtf8(resposta)); it.hasNext();)
        codigos << it.next().captured(1);
    QFile log(QDir(m_pasta).filePath(QStringLiteral("requisicoes.log")));
    if (log.open(QIODevice::Append)) {
        log.write((servico + u' ' + codigos.join(u',') + u'\n').toUtf8());
    }
}

} // namespace kvo::autoridade
