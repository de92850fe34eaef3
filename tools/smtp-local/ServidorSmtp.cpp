#include "ServidorSmtp.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSslKey>
#include <QSslSocket>
#include <QTextStream>
#include <QTimer>

#include <stdexcept>

namespace kvo::smtplocal {

namespace {

void responder(QSslSocket* s, const QByteArray& texto) { s->write(texto + "\r\n"); }

// The n-th word of an SMTP line (words split at blanks).
QByteArray palavra(const QByteArray& l, int n) { return l.simplified().split(' ').value(n); }

QByteArray enderecoEntreSinais(const QByteArray& parametro)
{
    const qsizetype a = parametro.indexOf('<'), b = parametro.lastIndexOf('>');
    return a >= 0 && b > a ? parametro.mid(a + 1, b - a - 1).trimmed() : parametro.trimmed();
}

} // namespace

ServidorSmtp::ServidorSmtp(const autoridade::CertificadosServidor& certificados, OpcoesSmtp opcoes, QObject* parent)
    : QTcpServer(parent), m_opcoes(std::move(opcoes))
{
    QFile chave(certificados.chave);
    if (!chave.open(QIODevice::ReadOnly))
        throw std::runtime_error("Chave do servidor ilegível: " + certificados.chave.toStdString());
    m_conf = QSslConfiguration::defaultConfiguration();
    m_conf.setProtocol(QSsl::TlsV1_2OrLater);
    m_conf.setLocalCertificateChain(QSslCertificate::fromPath(certificados.certificado));
    m_conf.setPrivateKey(QSslKey(chave.readAll(), QSsl::Rsa));
    m_conf.setPeerVerifyMode(QSslSocket::VerifyNone); // mail clients bring no certificate
    QDir().mkpath(m_opcoes.pasta);
}

void ServidorSmtp::incomingConnection(qintptr descritor)
{
    auto* s = new QSslSocket(this);
    if (!s->setSocketDescriptor(descritor)) {
        delete s;
        return;
    }
    s->setSslConfiguration(m_conf);
    m_sessoes.insert(s, {});
    connect(s, &QSslSocket::disconnected, this, [this, s] {
        m_sessoes.remove(s);
        s->deleteLater();
    });
    connect(s, &QSslSocket::sslErrors, s, [s](const QList<QSslError>&) { s->abort(); });
    connect(s, &QSslSocket::readyRead, this, [this, s] { ler(s); });
    // A client that goes quiet is dropped.
    QTimer::singleShot(120000, s, [s] { s->abort(); });
    if (m_opcoes.tlsImplicito) {
        connect(s, &QSslSocket::encrypted, s, [s] { responder(s, "220 kvo-smtp-local ESMTP pronto"); });
        s->startServerEncryption();
    } else {
        responder(s, "220 kvo-smtp-local ESMTP pronto");
    }
}

void ServidorSmtp::ler(QSslSocket* s)
{
    auto it = m_sessoes.find(s);
    if (it == m_sessoes.end())
        return;
    while (s->canReadLine()) {
        QByteArray l = s->readLine();
        if (l.endsWith("\r\n"))
            l.chop(2);
        else if (l.endsWith('\n'))
            l.chop(1);
        linha(s, *it, l);
        it = m_sessoes.find(s);
        if (it == m_sessoes.end() || s->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

bool ServidorSmtp::credenciais(const QByteArray& usuario, const QByteArray& senha) const
{
    return usuario == m_opcoes.usuario.toUtf8() && senha == m_opcoes.senha.toUtf8();
}

void ServidorSmtp::linha(QSslSocket* s, Sessao& sessao, const QByteArray& l)
{
    if (sessao.emDados) {
        if (l == ".") {
            sessao.emDados = false;
            gravar(sessao);
            responder(s, "250 2.0.0 Mensagem aceita");
            return;
        }
        sessao.dados += (l.startsWith('.') ? l.mid(1) : l) + "\r\n";
        return;
    }
    if (sessao.aguardando == "LOGIN-USUARIO") {
        sessao.usuario = QByteArray::fromBase64(l);
        sessao.aguardando = "LOGIN-SENHA";
        responder(s, "334 UGFzc3dvcmQ6");
        return;
    }
    if (sessao.aguardando == "LOGIN-SENHA") {
        sessao.aguardando.clear();
        sessao.autenticado = credenciais(sessao.usuario, QByteArray::fromBase64(l));
        responder(s, sessao.autenticado ? "235 2.7.0 Autenticado" : "535 5.7.8 Usuario ou senha invalidos");
        return;
    }
    const QByteArray verbo = palavra(l, 0).toUpper();
    const QByteArray resto = l.mid(verbo.size()).trimmed();
    const bool exigeAuth = !m_opcoes.usuario.isEmpty();
    if (verbo == "EHLO" || verbo == "HELO") {
        sessao = Sessao{};
        if (verbo == "HELO") {
            responder(s, "250 kvo-smtp-local");
            return;
        }
        responder(s, "250-kvo-smtp-local");
        if (!s->isEncrypted())
            responder(s, "250-STARTTLS");
        else
            responder(s, "250-AUTH PLAIN LOGIN");
        responder(s, "250 8BITMIME");
    } else if (verbo == "STARTTLS") {
        if (s->isEncrypted()) {
            responder(s, "503 5.5.1 TLS ja ativo");
            return;
        }
        responder(s, "220 2.0.0 Pronto para o TLS");
        s->flush();
        sessao = Sessao{};
        s->startServerEncryption();
    } else if (verbo == "AUTH") {
        if (!s->isEncrypted()) {
            responder(s, "538 5.7.11 Autenticacao somente com TLS");
            return;
        }
        const QByteArray mecanismo = palavra(resto, 0).toUpper();
        if (mecanismo == "PLAIN") {
            const QList<QByteArray> partes = QByteArray::fromBase64(palavra(resto, 1)).split('\0');
            sessao.autenticado = partes.size() == 3 && credenciais(partes[1], partes[2]);
            responder(s, sessao.autenticado ? "235 2.7.0 Autenticado" : "535 5.7.8 Usuario ou senha invalidos");
        } else if (mecanismo == "LOGIN") {
            sessao.aguardando = "LOGIN-USUARIO";
            responder(s, "334 VXNlcm5hbWU6");
        } else {
            responder(s, "504 5.5.4 Mecanismo nao suportado");
        }
    } else if (verbo == "MAIL") {
        if (exigeAuth && !sessao.autenticado) {
            responder(s, "530 5.7.0 Autenticacao exigida");
            return;
        }
        sessao.remetente = QString::fromUtf8(enderecoEntreSinais(resto.mid(resto.indexOf(':') + 1)));
        sessao.destinatarios.clear();
        responder(s, "250 2.1.0 Ok");
    } else if (verbo == "RCPT") {
        if (sessao.remetente.isEmpty()) {
            responder(s, "503 5.5.1 MAIL primeiro");
            return;
        }
        sessao.destinatarios << QString::fromUtf8(enderecoEntreSinais(resto.mid(resto.indexOf(':') + 1)));
        responder(s, "250 2.1.5 Ok");
    } else if (verbo == "DATA") {
        if (sessao.destinatarios.isEmpty()) {
            responder(s, "503 5.5.1 RCPT primeiro");
            return;
        }
        sessao.emDados = true;
        sessao.dados.clear();
        responder(s, "354 Termine com <CRLF>.<CRLF>");
    } else if (verbo == "RSET") {
        sessao.remetente.clear();
        sessao.destinatarios.clear();
        responder(s, "250 2.0.0 Ok");
    } else if (verbo == "NOOP") {
        responder(s, "250 2.0.0 Ok");
    } else if (verbo == "QUIT") {
        responder(s, "221 2.0.0 Ate logo");
        s->disconnectFromHost();
    } else {
        responder(s, "502 5.5.2 Comando desconhecido");
    }
}

void ServidorSmtp::gravar(Sessao& sessao)
{
    const QString nome = QStringLiteral("%1-%2.eml")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
                             .arg(++m_contador);
    const QString caminho = QDir(m_opcoes.pasta).filePath(nome);
    // The envelope goes first, as a delivery agent would record it.
    QByteArray conteudo = "X-Envelope-From: <" + sessao.remetente.toUtf8() + ">\r\n";
    for (const QString& d : sessao.destinatarios)
        conteudo += "X-Envelope-To: <" + d.toUtf8() + ">\r\n";
    conteudo += sessao.dados;
    QSaveFile f(caminho);
    QTextStream out(stdout);
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size() || !f.commit()) {
        out << "FALHA ao gravar " << caminho << Qt::endl;
        return;
    }
    out << "RECEBIDA " << nome << " de=" << sessao.remetente << " para=" << sessao.destinatarios.join(u',')
        << " bytes=" << sessao.dados.size() << Qt::endl;
    sessao.remetente.clear();
    sessao.destinatarios.clear();
    sessao.dados.clear();
}

} // namespace kvo::smtplocal
