#include "nfe/TransporteHttps.h"

#include "nfe/CertificadoA1.h"

#include <QDeadlineTimer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUrl>

#include <openssl/bio.h>
#include <openssl/pem.h>

namespace kvo::nfe {

namespace {

QByteArray chavePem(EVP_PKEY* key)
{
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    const long len = BIO_get_mem_data(bio, &data);
    QByteArray pem(data, int(len));
    BIO_free(bio);
    return pem;
}

QString segundos(int ms) { return QString::number(ms / 1000.0, 'f', 1).replace(u'.', u',') + QStringLiteral(" s"); }

// The usual socket failures in the user's language; others as Qt words them.
QString motivoDoErro(QAbstractSocket::SocketError erro, int timeoutMs, const QString& textoQt)
{
    switch (erro) {
    case QAbstractSocket::ConnectionRefusedError: return QStringLiteral("conexão recusada");
    case QAbstractSocket::HostNotFoundError: return QStringLiteral("servidor não encontrado");
    case QAbstractSocket::SocketTimeoutError: return QStringLiteral("tempo esgotado (%1)").arg(segundos(timeoutMs));
    case QAbstractSocket::RemoteHostClosedError: return QStringLiteral("conexão encerrada pelo servidor");
    case QAbstractSocket::NetworkError: return QStringLiteral("falha de rede");
    case QAbstractSocket::SslHandshakeFailedError:
        return QStringLiteral("falha na negociação TLS (%1)").arg(textoQt);
    default: break;
    }
    return textoQt;
}

// Reads "HTTP/1.1 200 OK" + headers + body (Content-Length, chunked or until close).
class LeitorResposta {
public:
    // True when the answer is complete.
    bool alimentar(const QByteArray& dados, bool fechado)
    {
        m_buffer += dados;
        if (m_fimCabecalho < 0) {
            m_fimCabecalho = m_buffer.indexOf("\r\n\r\n");
            if (m_fimCabecalho < 0)
                return false;
            lerCabecalho(m_buffer.left(m_fimCabecalho));
            m_fimCabecalho += 4;
        }
        const QByteArray corpo = m_buffer.mid(m_fimCabecalho);
        if (m_chunked)
            return decodificarChunked(corpo);
        if (m_tamanho >= 0) {
            if (corpo.size() < m_tamanho)
                return false;
            resposta.corpo = corpo.left(m_tamanho);
            return true;
        }
        resposta.corpo = corpo;
        return fechado;
    }
    RespostaHttp resposta;
    bool fecharDepois = false;

private:
    void lerCabecalho(const QByteArray& cabecalho)
    {
        const QList<QByteArray> linhas = cabecalho.split('\n');
        const QList<QByteArray> status = linhas.value(0).trimmed().split(' ');
        resposta.status = status.value(1).toInt();
        for (const QByteArray& linha : linhas.mid(1)) {
            const qsizetype dp = linha.indexOf(':');
            const QByteArray nome = linha.left(dp).trimmed().toLower();
            const QByteArray valor = linha.mid(dp + 1).trimmed();
            if (nome == "content-length")
                m_tamanho = valor.toLongLong();
            else if (nome == "transfer-encoding" && valor.toLower().contains("chunked"))
                m_chunked = true;
            else if (nome == "connection" && valor.toLower().contains("close"))
                fecharDepois = true;
        }
        // HTTP/1.0 closes unless told otherwise; an answer read to the end of the stream leaves nothing open.
        if (linhas.value(0).startsWith("HTTP/1.0") || (!m_chunked && m_tamanho < 0))
            fecharDepois = true;
    }
    bool decodificarChunked(const QByteArray& corpo)
    {
        QByteArray saida;
        qsizetype pos = 0;
        while (true) {
            const qsizetype fimLinha = corpo.indexOf("\r\n", pos);
            if (fimLinha < 0)
                return false;
            bool ok = false;
            const qsizetype tamanho = corpo.mid(pos, fimLinha - pos).split(';').value(0).trimmed().toLongLong(&ok, 16);
            if (!ok)
                throw ErroComunicacao(QStringLiteral("Resposta HTTP inválida do servidor"), true);
            if (tamanho == 0) {
                resposta.corpo = saida;
                return true;
            }
            if (corpo.size() < fimLinha + 2 + tamanho + 2)
                return false;
            saida += corpo.mid(fimLinha + 2, tamanho);
            pos = fimLinha + 2 + tamanho + 2;
        }
    }

    QByteArray m_buffer;
    qsizetype m_fimCabecalho = -1;
    qsizetype m_tamanho = -1;
    bool m_chunked = false;
};

} // namespace

TransporteHttps::TransporteHttps(const CertificadoA1& cliente, const QString& arquivoCA)
    : m_certificado(cliente.certificadoDer(), QSsl::Der), m_chave(chavePem(cliente.chavePrivada()), QSsl::Rsa)
{
    if (m_chave.isNull())
        throw std::runtime_error("Chave do certificado digital não suportada para a conexão segura.");
    if (arquivoCA.isEmpty())
        throw std::runtime_error("Arquivo de autoridades certificadoras (CA) do webservice não configurado.");
    m_cas = QSslCertificate::fromPath(arquivoCA, QSsl::Pem);
    if (m_cas.isEmpty())
        throw std::runtime_error("Nenhum certificado de CA encontrado em " + arquivoCA.toStdString());
}

TransporteHttps::~TransporteHttps() { fechar(); }

void TransporteHttps::fechar()
{
    if (m_socket)
        m_socket->abort();
    m_socket.reset();
    m_destino.clear();
}

// A kept connection is usable only when it goes to the same server, is still
// open and has nothing unread (an answer nobody asked for means it is out of step).
bool TransporteHttps::conexaoViva(const QString& destino)
{
    if (!m_socket || m_destino != destino)
        return false;
    if (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->isEncrypted())
        m_socket->waitForReadyRead(0); // takes in a close the server sent while idle
    return m_socket->state() == QAbstractSocket::ConnectedState && m_socket->isEncrypted()
        && m_socket->bytesAvailable() == 0;
}

void TransporteHttps::conectar(const QString& host, quint16 porta)
{
    fechar();
    auto socket = std::make_unique<QSslSocket>();
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setProtocol(QSsl::TlsV1_2OrLater);
    conf.setCaCertificates(m_cas);
    conf.setLocalCertificate(m_certificado);
    conf.setPrivateKey(m_chave);
    conf.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket->setSslConfiguration(conf);

    socket->connectToHostEncrypted(host, porta);
    if (!socket->waitForEncrypted(timeoutConexaoMs)) {
        const QList<QSslError> erros = socket->sslHandshakeErrors();
        const QString motivo = !erros.isEmpty()
            ? QStringLiteral("certificado do servidor não aceito (%1)").arg(erros.first().errorString())
            : motivoDoErro(socket->error(), timeoutConexaoMs, socket->errorString());
        throw ErroComunicacao(QStringLiteral("Falha ao conectar com o webservice %1: %2").arg(host, motivo), false);
    }
    m_socket = std::move(socket);
    m_destino = host + u':' + QString::number(porta);
}

RespostaHttp TransporteHttps::post(const QString& url, const QByteArray& contentType, const QByteArray& corpo)
{
    const QUrl u(url);
    if (!u.isValid() || u.scheme() != u"https" || u.host().isEmpty())
        throw ErroComunicacao(QStringLiteral("Endereço de webservice inválido: %1").arg(url), false);
    const quint16 porta = quint16(u.port(443));

    // Nothing of this request has been written before this point: a kept
    // connection the server has closed is simply replaced.
    const bool reutilizada = conexaoViva(u.host() + u':' + QString::number(porta));
    if (!reutilizada)
        conectar(u.host(), porta);
    QSslSocket& socket = *m_socket;

    QByteArray caminho = u.path(QUrl::FullyEncoded).toLatin1();
    if (caminho.isEmpty())
        caminho = "/";
    if (u.hasQuery())
        caminho += '?' + u.query(QUrl::FullyEncoded).toLatin1();
    const QByteArray pedido = "POST " + caminho + " HTTP/1.1\r\nHost: " + u.host().toLatin1() + ':'
        + QByteArray::number(porta) + "\r\nContent-Type: " + contentType
        + "\r\nContent-Length: " + QByteArray::number(corpo.size()) + "\r\nConnection: keep-alive\r\n\r\n" + corpo;

    // From here on the authority may have received the request: whatever
    // fails is reported as "may have arrived" and never sent again here.
    LeitorResposta leitor;
    try {
        const QDeadlineTimer prazo(timeoutRespostaMs);
        socket.write(pedido);
        while (true) {
            if (socket.bytesToWrite() > 0)
                socket.waitForBytesWritten(int(qMax<qint64>(1, prazo.remainingTime())));
            const bool chegou =
                socket.bytesAvailable() > 0 || socket.waitForReadyRead(int(qMax<qint64>(1, prazo.remainingTime())));
            const bool fechado = socket.state() != QAbstractSocket::ConnectedState;
            if (leitor.alimentar(socket.readAll(), fechado && !chegou))
                break;
            if (fechado && !chegou && socket.bytesAvailable() == 0) {
                throw ErroComunicacao(
                    QStringLiteral("A conexão com o webservice foi encerrada sem resposta completa."), true);
            }
            if (!chegou && prazo.hasExpired()) {
                throw ErroComunicacao(QStringLiteral("Tempo esgotado aguardando a resposta do webservice (%1).")
                                          .arg(segundos(timeoutRespostaMs)),
                                      true);
            }
        }
    } catch (...) {
        fechar(); // out of step with the server: the next request starts afresh
        throw;
    }
    if (leitor.fecharDepois || socket.state() != QAbstractSocket::ConnectedState)
        fechar();
    leitor.resposta.conexaoReutilizada = reutilizada;
    if (leitor.resposta.status >= 400 && leitor.resposta.status != 500) {
        fechar();
        throw ErroComunicacao(QStringLiteral("O webservice respondeu HTTP %1.").arg(leitor.resposta.status), true);
    }
    return leitor.resposta;
}

} // namespace kvo::nfe
