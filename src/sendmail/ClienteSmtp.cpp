#include "sendmail/ClienteSmtp.h"

#include <QHostInfo>
#include <QSslConfiguration>
#include <QSslSocket>

#include <stdexcept>

namespace kvo::sendmail {

namespace {

[[noreturn]] void falhar(const QString& motivo) { throw std::runtime_error(motivo.toStdString()); }

} // namespace

QByteArray pontilhar(const QByteArray& mensagem)
{
    QByteArray saida;
    saida.reserve(mensagem.size() + mensagem.size() / 100 + 2);
    bool inicioDeLinha = true;
    for (char c : mensagem) {
        if (inicioDeLinha && c == '.')
            saida += '.';
        saida += c;
        inicioDeLinha = c == '\n';
    }
    if (!saida.endsWith("\r\n"))
        saida += "\r\n";
    return saida;
}

ClienteSmtp::ClienteSmtp(ConfiguracaoSmtp configuracao) : m_conf(std::move(configuracao)) {}
ClienteSmtp::~ClienteSmtp() = default;

void ClienteSmtp::escrever(const QByteArray& dados)
{
    m_socket->write(dados);
    while (m_socket->bytesToWrite() > 0)
        if (!m_socket->waitForBytesWritten(m_conf.timeoutMs))
            falhar(QStringLiteral("Falha ao enviar ao servidor SMTP %1:%2: %3")
                       .arg(m_conf.servidor)
                       .arg(m_conf.porta)
                       .arg(m_socket->errorString()));
}

QString ClienteSmtp::comando(const QByteArray& linha, std::initializer_list<int> esperados, const char* oQue)
{
    if (!linha.isNull())
        escrever(linha + "\r\n");
    QStringList linhas;
    for (;;) {
        while (!m_socket->canReadLine())
            if (!m_socket->waitForReadyRead(m_conf.timeoutMs))
                falhar(QStringLiteral("O servidor SMTP %1:%2 não respondeu (%3): %4")
                           .arg(m_conf.servidor)
                           .arg(m_conf.porta)
                           .arg(QString::fromLatin1(oQue), m_socket->errorString()));
        const QString l = QString::fromUtf8(m_socket->readLine()).trimmed();
        linhas << l;
        if (l.size() < 4 || l.at(3) != u'-')
            break;
    }
    const int codigo = linhas.last().left(3).toInt();
    for (int e : esperados)
        if (codigo == e)
            return linhas.join(u'\n');
    falhar(QStringLiteral("O servidor SMTP recusou %1: %2").arg(QString::fromLatin1(oQue), linhas.join(u' ')));
}

void ClienteSmtp::conectar()
{
    m_socket = std::make_unique<QSslSocket>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    if (!m_conf.arquivoCA.isEmpty()) {
        const QList<QSslCertificate> cas = QSslCertificate::fromPath(m_conf.arquivoCA, QSsl::Pem);
        if (cas.isEmpty())
            falhar(QStringLiteral("Certificado da autoridade não encontrado: %1").arg(m_conf.arquivoCA));
        tls.addCaCertificates(cas);
    }
    m_socket->setSslConfiguration(tls);
    if (m_conf.seguranca == Seguranca::Tls)
        m_socket->connectToHostEncrypted(m_conf.servidor, quint16(m_conf.porta));
    else
        m_socket->connectToHost(m_conf.servidor, quint16(m_conf.porta));
    if (!m_socket->waitForConnected(m_conf.timeoutMs))
        falhar(QStringLiteral("Não foi possível conectar ao servidor SMTP %1:%2: %3")
                   .arg(m_conf.servidor)
                   .arg(m_conf.porta)
                   .arg(m_socket->errorString()));
    if (m_conf.seguranca == Seguranca::Tls && !m_socket->waitForEncrypted(m_conf.timeoutMs))
        falhar(QStringLiteral("Falha no TLS com o servidor SMTP %1:%2: %3")
                   .arg(m_conf.servidor)
                   .arg(m_conf.porta)
                   .arg(m_socket->errorString()));
    comando(QByteArray(), {220}, "a conexão");
    ehlo();
    if (m_conf.seguranca == Seguranca::StartTls) {
        if (!m_extensoes.contains(QStringLiteral("STARTTLS")))
            falhar(QStringLiteral("O servidor SMTP %1:%2 não oferece STARTTLS; o e-mail não foi enviado sem criptografia.")
                       .arg(m_conf.servidor)
                       .arg(m_conf.porta));
        comando("STARTTLS", {220}, "o STARTTLS");
        m_socket->startClientEncryption();
        if (!m_socket->waitForEncrypted(m_conf.timeoutMs))
            falhar(QStringLiteral("Falha no TLS com o servidor SMTP %1:%2: %3")
                       .arg(m_conf.servidor)
                       .arg(m_conf.porta)
                       .arg(m_socket->errorString()));
        ehlo(); // the capabilities before TLS no longer hold
    }
}

void ClienteSmtp::ehlo()
{
    QString nome = QHostInfo::localHostName();
    if (nome.isEmpty())
        nome = QStringLiteral("localhost");
    const QString resposta = comando("EHLO " + nome.toLatin1(), {250}, "o EHLO");
    m_extensoes.clear();
    for (const QString& l : resposta.split(u'\n'))
        m_extensoes << l.mid(4).section(u' ', 0, 0).toUpper();
    for (const QString& l : resposta.split(u'\n'))
        if (l.mid(4).toUpper().startsWith(QLatin1String("AUTH ")))
            m_extensoes << l.mid(4).toUpper();
}

void ClienteSmtp::autenticar()
{
    if (m_conf.usuario.isEmpty())
        return;
    bool plain = false, login = false;
    for (const QString& e : m_extensoes)
        if (e.startsWith(QLatin1String("AUTH "))) {
            plain = plain || e.split(u' ').contains(QStringLiteral("PLAIN"));
            login = login || e.split(u' ').contains(QStringLiteral("LOGIN"));
        }
    const QByteArray usuario = m_conf.usuario.toUtf8(), senha = m_conf.senha.toUtf8();
    if (plain) {
        comando("AUTH PLAIN " + QByteArray(QByteArray(1, '\0') + usuario + QByteArray(1, '\0') + senha).toBase64(), {235},
                "o usuário e a senha");
    } else if (login) {
        comando("AUTH LOGIN", {334}, "o login");
        comando(usuario.toBase64(), {334}, "o usuário");
        comando(senha.toBase64(), {235}, "o usuário e a senha");
    } else {
        falhar(QStringLiteral("O servidor SMTP %1:%2 não aceita autenticação PLAIN nem LOGIN.")
                   .arg(m_conf.servidor)
                   .arg(m_conf.porta));
    }
}

QString ClienteSmtp::enviar(const QString& remetente, const QStringList& destinatarios, const QByteArray& mensagem)
{
    conectar();
    autenticar();
    comando("MAIL FROM:<" + remetente.toUtf8() + ">", {250}, "o remetente");
    for (const QString& d : destinatarios)
        comando("RCPT TO:<" + d.toUtf8() + ">", {250, 251}, QStringLiteral("o destinatário %1").arg(d).toUtf8().constData());
    comando("DATA", {354}, "o início da mensagem");
    escrever(pontilhar(mensagem));
    const QString aceita = comando(".", {250}, "a mensagem");
    try {
        comando("QUIT", {221}, "o encerramento");
    } catch (const std::exception&) {
        // The message was accepted; a rude goodbye changes nothing.
    }
    m_socket->disconnectFromHost();
    return aceita;
}

} // namespace kvo::sendmail
