#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

#include <stdexcept>

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
};

// One HTTPS POST at a time over TLS 1.2 or later with a client certificate,
// the server checked against the given CA bundle only. Blocking, with a
// time-out on connecting and on the whole answer.
class TransporteHttps {
public:
    TransporteHttps(const CertificadoA1& cliente, const QString& arquivoCA);

    int timeoutConexaoMs = 10000;
    int timeoutRespostaMs = 30000;

    RespostaHttp post(const QString& url, const QByteArray& contentType, const QByteArray& corpo) const;

private:
    QSslCertificate m_certificado;
    QList<QSslCertificate> m_cadeia;
    QSslKey m_chave;
    QList<QSslCertificate> m_cas;
};

} // namespace kvo::nfe
