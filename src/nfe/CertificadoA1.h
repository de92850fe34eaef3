#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>

using EVP_PKEY = struct evp_pkey_st;
using X509 = struct x509_st;

namespace kvo::nfe {

// An A1 certificate: the PKCS#12 file with the private key and the holder's
// certificate, as the shop receives it from its certification authority.
class CertificadoA1 {
public:
    // Throws std::runtime_error (Portuguese text) when the file cannot be read,
    // the password is wrong or the file holds no key and certificate.
    static CertificadoA1 carregar(const QString& arquivoPfx, const QString& senha);
    static CertificadoA1 carregar(const QByteArray& pfx, const QString& senha);

    QString subject() const;    // "CN=...,O=..." one line
    QString nomeTitular() const; // CN without a trailing ":CNPJ"
    QString cnpj() const;       // from the ICP-Brasil field 2.16.76.1.3.3, else from the CN
    QDateTime validoDe() const;
    QDateTime validoAte() const;
    bool vencido(const QDateTime& agora) const { return agora > validoAte() || agora < validoDe(); }
    QByteArray certificadoDer() const;

    EVP_PKEY* chavePrivada() const { return m_key.get(); }
    X509* certificado() const { return m_cert.get(); }

private:
    struct KeyFree { void operator()(EVP_PKEY* k) const; };
    struct CertFree { void operator()(X509* c) const; };
    std::shared_ptr<EVP_PKEY> m_key;
    std::shared_ptr<X509> m_cert;
};

} // namespace kvo::nfe
