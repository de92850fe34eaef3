#include "nfe/CertificadoA1.h"

#include "core/Text.h"

#include <QFile>
#include <QTimeZone>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace kvo::nfe {

void CertificadoA1::KeyFree::operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
void CertificadoA1::CertFree::operator()(X509* c) const { X509_free(c); }

namespace {

QDateTime fromAsn1(const ASN1_TIME* t)
{
    struct tm tm {};
    if (ASN1_TIME_to_tm(t, &tm) != 1)
        return {};
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                     QTime(tm.tm_hour, tm.tm_min, tm.tm_sec), QTimeZone::utc());
}

QString commonName(X509* cert)
{
    X509_NAME* name = X509_get_subject_name(cert);
    const int i = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (i < 0)
        return {};
    unsigned char* utf8 = nullptr;
    const int len = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, i)));
    if (len < 0)
        return {};
    const QString cn = QString::fromUtf8(reinterpret_cast<const char*>(utf8), len);
    OPENSSL_free(utf8);
    return cn;
}

// ICP-Brasil puts the company's CNPJ in an otherName of the subject
// alternative name with OID 2.16.76.1.3.3.
QString cnpjFromAltName(X509* cert)
{
    auto* names = static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(cert, NID_subject_alt_name, nullptr, nullptr));
    if (!names)
        return {};
    QString found;
    ASN1_OBJECT* oid = OBJ_txt2obj("2.16.76.1.3.3", 1);
    for (int i = 0; i < sk_GENERAL_NAME_num(names) && found.isEmpty(); ++i) {
        GENERAL_NAME* gn = sk_GENERAL_NAME_value(names, i);
        if (gn->type != GEN_OTHERNAME || OBJ_cmp(gn->d.otherName->type_id, oid) != 0)
            continue;
        const ASN1_TYPE* value = gn->d.otherName->value;
        if (value->type == V_ASN1_UTF8STRING || value->type == V_ASN1_OCTET_STRING
            || value->type == V_ASN1_PRINTABLESTRING || value->type == V_ASN1_IA5STRING) {
            const ASN1_STRING* s = value->value.asn1_string;
            found = OnlyNumber(QString::fromLatin1(reinterpret_cast<const char*>(ASN1_STRING_get0_data(s)),
                                                   ASN1_STRING_length(s)));
        }
    }
    ASN1_OBJECT_free(oid);
    GENERAL_NAMES_free(names);
    return found;
}

} // namespace

CertificadoA1 CertificadoA1::carregar(const QString& arquivoPfx, const QString& senha)
{
    QFile file(arquivoPfx);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Arquivo do certificado não encontrado: " + arquivoPfx.toStdString());
    return carregar(file.readAll(), senha);
}

CertificadoA1 CertificadoA1::carregar(const QByteArray& pfx, const QString& senha)
{
    BIO* bio = BIO_new_mem_buf(pfx.constData(), int(pfx.size()));
    PKCS12* p12 = d2i_PKCS12_bio(bio, nullptr);
    BIO_free(bio);
    if (!p12)
        throw std::runtime_error("O arquivo não é um certificado A1 (PKCS#12) válido.");
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    STACK_OF(X509)* chain = nullptr;
    const QByteArray pass = senha.toUtf8();
    const int ok = PKCS12_parse(p12, pass.constData(), &key, &cert, &chain);
    PKCS12_free(p12);
    sk_X509_pop_free(chain, X509_free);
    if (ok != 1 || !key || !cert) {
        EVP_PKEY_free(key);
        X509_free(cert);
        throw std::runtime_error("Senha do certificado inválida ou certificado sem chave privada.");
    }
    CertificadoA1 c;
    c.m_key.reset(key, KeyFree());
    c.m_cert.reset(cert, CertFree());
    return c;
}

QString CertificadoA1::subject() const
{
    BIO* bio = BIO_new(BIO_s_mem());
    X509_NAME_print_ex(bio, X509_get_subject_name(m_cert.get()), 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char* data = nullptr;
    const long len = BIO_get_mem_data(bio, &data);
    const QString text = QString::fromUtf8(data, len);
    BIO_free(bio);
    return text;
}

QString CertificadoA1::nomeTitular() const
{
    const QString cn = commonName(m_cert.get());
    const qsizetype colon = cn.lastIndexOf(u':');
    return colon > 0 ? cn.left(colon) : cn;
}

QString CertificadoA1::cnpj() const
{
    const QString fromAlt = cnpjFromAltName(m_cert.get());
    if (!fromAlt.isEmpty())
        return fromAlt;
    const QString cn = commonName(m_cert.get());
    const qsizetype colon = cn.lastIndexOf(u':');
    return colon > 0 ? OnlyNumber(cn.mid(colon + 1)) : QString();
}

QDateTime CertificadoA1::validoDe() const { return fromAsn1(X509_get0_notBefore(m_cert.get())); }
QDateTime CertificadoA1::validoAte() const { return fromAsn1(X509_get0_notAfter(m_cert.get())); }

QByteArray CertificadoA1::certificadoDer() const
{
    unsigned char* der = nullptr;
    const int len = i2d_X509(m_cert.get(), &der);
    QByteArray out(reinterpret_cast<const char*>(der), len);
    OPENSSL_free(der);
    return out;
}

} // namespace kvo::nfe
