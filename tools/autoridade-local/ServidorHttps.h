#pragma once

#include "Autoridade.h"
#include "CertificadosServidor.h"

#include <QSslConfiguration>
#include <QTcpServer>

class QSslSocket;

namespace kvo::autoridade {

// HTTPS on loopback that requires a client certificate from the trusted CAs,
// reads SOAP 1.2 POSTs one after another on a connection (HTTP/1.1
// keep-alive, closed after an idle minute or on "Connection: close") and
// answers each through Autoridade, applying the injected misbehaviour. Every request is logged in
// "requisicoes.log" of the state folder ("<service> <answer cStat>").
class ServidorHttps : public QTcpServer {
    Q_OBJECT
public:
    ServidorHttps(Autoridade& autoridade, const CertificadosServidor& certificados, const QStringList& casClientes,
                  QString pasta, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descritor) override;

private:
    void ler(QSslSocket* s);
    void proximoPedido(QSslSocket* s);
    void atender(QSslSocket* s, const QByteArray& corpo);
    void responder(QSslSocket* s, int status, const QByteArray& corpo, bool fecharSemAviso = false);
    void registrar(const QString& servico, const QByteArray& resposta);

    Autoridade& m_autoridade;
    QSslConfiguration m_conf;
    QString m_pasta;
};

} // namespace kvo::autoridade
