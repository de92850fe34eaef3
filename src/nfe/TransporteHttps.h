#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

#include <memory>
#include <stdexcept>

class QSslSocket;

namespace kvo::nfe {

class CertificadoA1;

// A failure to talk to the authority. `podeTerChegado` is true once the
// request was (even partly) written: the authority may have acted on it, so
// the outcome is unknown, not failed.
class ErroComunicacao : public std::runtime_error {
public:
    ErroComunicacao(const QString& mensagem, bool podeTerChegado)
        : std::runtime_error(mensagem.toStdString()), m_podeTerChegado(podeTerChegado) {}
    bool podeTerChegado() const { return m_podeTerChegado; }

private:
    bool m_podeTerChegado;
};

struct RespostaHttp {
    int status = 0;
    QByteArray corpo;
    bool conexaoReutilizada = false; // sent over a connection kept from an earlier request
};

// One HTTPS POST at a time over TLS 1.2 or later with a client certificate,
// the server checked against the given CA bundle only. Blocking, with a
// time-out on connecting and on the whole answer.
// The connection is kept between requests (HTTP/1.1 keep-alive) while the
// server keeps it open: a handshake per request costs more than the request.
// A kept connection found closed is replaced before the request is written;
// a request is never written twice.
class TransporteHttps {
public:
    TransporteHttps(const CertificadoA1& cliente, const QString& arquivoCA);
    ~TransporteHttps();
    TransporteHttps(const TransporteHttps&) = delete;
    TransporteHttps& operator=(const TransporteHttps&) = delete;

    int timeoutConexaoMs = 10000;
    int timeoutRespostaMs = 30000;

    RespostaHttp post(const QString& url, const QByteArray& contentType, const QByteArray& corpo);
    // Closes the kept connection, if any.
    void fechar();

private:
    bool conexaoViva(const QString& destino);
    void conectar(const QString& host, quint16 porta);

    QSslCertificate m_certificado;
    QSslKey m_chave;
    QList<QSslCertificate> m_cas;
    std::unique_ptr<QSslSocket> m_socket;
    QString m_destino; // "host:port" of m_socket
};

} // namespace kvo::nfe
