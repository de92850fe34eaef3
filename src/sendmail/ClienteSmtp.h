#pragma once

#include "sendmail/ConfiguracaoSmtp.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

class QSslSocket;

namespace kvo::sendmail {

// One SMTP session over TLS (STARTTLS or from the start), blocking with the
// configured time-out per step; the server's certificate is checked against
// the system's CAs and the configured bundle. Every failure throws
// std::runtime_error in Portuguese with the server's own answer.
class ClienteSmtp {
public:
    explicit ClienteSmtp(ConfiguracaoSmtp configuracao);
    ~ClienteSmtp();

    // MAIL FROM, RCPT TO for each recipient and DATA with the message (its
    // lines starting with "." are doubled). Returns the server's last answer.
    QString enviar(const QString& remetente, const QStringList& destinatarios, const QByteArray& mensagem);

private:
    void conectar();
    void ehlo();
    void autenticar();
    // Sends a command (nullptr: only reads) and reads the whole answer;
    // throws unless its code is one of `esperados`.
    QString comando(const QByteArray& linha, std::initializer_list<int> esperados, const char* oQue);
    void escrever(const QByteArray& dados);

    ConfiguracaoSmtp m_conf;
    std::unique_ptr<QSslSocket> m_socket;
    QStringList m_extensoes;
};

// The message's lines that start with "." get a second one (RFC 5321 4.5.2),
// and the text always ends with CR LF.
QByteArray pontilhar(const QByteArray& mensagem);

} // namespace kvo::sendmail
