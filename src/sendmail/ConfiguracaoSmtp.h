#pragma once

#include <QString>

namespace kvo::sendmail {

// How the mail server is reached: STARTTLS on a plain port (587) or TLS from
// the first byte (465). Sending without TLS is not offered: the password and
// the customer's documents would travel in clear.
enum class Seguranca { StartTls, Tls };

struct ConfiguracaoSmtp {
    QString servidor;
    int porta = 587;
    Seguranca seguranca = Seguranca::StartTls;
    QString usuario, senha;      // no user: no AUTH
    QString remetente, nomeRemetente;
    QString arquivoCA;           // extra CA bundle (PEM) besides the system's
    int timeoutMs = 30000;
    QString arquivoLog;          // one line per message
};

// "KVOSendMail.ini" in the program folder.
QString arquivoConfiguracaoPadrao();
// Throws std::runtime_error (Portuguese, naming the file) when the file is
// missing or lacks the server or the sender, or names an unknown security.
ConfiguracaoSmtp lerConfiguracao(const QString& arquivo);

} // namespace kvo::sendmail
