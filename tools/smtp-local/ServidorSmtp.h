#pragma once

#include "CertificadosServidor.h"

#include <QHash>
#include <QSslConfiguration>
#include <QTcpServer>

class QSslSocket;

namespace kvo::smtplocal {

struct OpcoesSmtp {
    QString pasta;            // where the .eml files go
    QString usuario, senha;   // empty user: no AUTH required
    bool tlsImplicito = false; // TLS from the first byte (else STARTTLS is offered)
};

// An SMTP receiver on loopback: EHLO, STARTTLS, AUTH PLAIN/LOGIN (only over
// TLS), MAIL, RCPT, DATA, RSET, NOOP, QUIT. Each accepted message is written
// to the folder as "<yyyyMMdd-HHmmss-zzz>-<n>.eml" (the data as received,
// dot-stuffing undone) and logged on stdout.
class ServidorSmtp : public QTcpServer {
    Q_OBJECT
public:
    ServidorSmtp(const autoridade::CertificadosServidor& certificados, OpcoesSmtp opcoes, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descritor) override;

private:
    struct Sessao {
        bool autenticado = false;
        bool emDados = false;
        QByteArray aguardando; // "LOGIN-USUARIO", "LOGIN-SENHA" while AUTH LOGIN runs
        QByteArray usuario;
        QString remetente;
        QStringList destinatarios;
        QByteArray dados;
    };
    void ler(QSslSocket* s);
    void linha(QSslSocket* s, Sessao& sessao, const QByteArray& l);
    void gravar(Sessao& sessao);
    bool credenciais(const QByteArray& usuario, const QByteArray& senha) const;

    QSslConfiguration m_conf;
    OpcoesSmtp m_opcoes;
    QHash<QSslSocket*, Sessao> m_sessoes;
    int m_contador = 0;
};

} // namespace kvo::smtplocal
