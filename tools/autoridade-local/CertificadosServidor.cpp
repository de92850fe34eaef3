#include "CertificadosServidor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace kvo::autoridade {

namespace {

using Chave = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Cert = std::unique_ptr<X509, decltype(&X509_free)>;

void falhar(const char* oque) { throw std::runtime_error(std::string("Certificados do servidor: ") + oque); }

Chave novaChave()
{
    Chave k(EVP_RSA_gen(2048), &EVP_PKEY_free);
    if (!k)
        falhar("falha ao gerar a chave");
    return k;
}

void extensao(X509* cert, X509* emissor, int nid, const char* valor)
{
    X509V3_CTX ctx;
    X509V3_set_ctx(&ctx, emissor, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, valor);
    if (!ext || !X509_add_ext(cert, ext, -1))
        falhar("extensão inválida");
    X509_EXTENSION_free(ext);
}

Cert novoCertificado(EVP_PKEY* chave, const char* cn, X509* emissor, EVP_PKEY* chaveEmissor, long serial, bool ca)
{
    Cert c(X509_new(), &X509_free);
    X509_set_version(c.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(c.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(c.get()), 3650L * 24 * 3600);
    X509_set_pubkey(c.get(), chave);
    X509_NAME* nome = X509_get_subject_name(c.get());
    X509_NAME_add_entry_by_txt(nome, "C", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("BR"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(nome, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("KVO Autoridade Local"), -1,
                               -1, 0);
    X509_NAME_add_entry_by_txt(nome, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(cn), -1, -1, 0);
    X509* raiz = emissor ? emissor : c.get();
    X509_set_issuer_name(c.get(), X509_get_subject_name(raiz));
    if (ca) {
        extensao(c.get(), raiz, NID_basic_constraints, "critical,CA:TRUE");
        extensao(c.get(), raiz, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        extensao(c.get(), raiz, NID_basic_constraints, "CA:FALSE");
        extensao(c.get(), raiz, NID_key_usage, "critical,digitalSignature,keyEncipherment");
        extensao(c.get(), raiz, NID_ext_key_usage, "serverAuth");
        extensao(c.get(), raiz, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    }
    if (!X509_sign(c.get(), chaveEmissor ? chaveEmissor : chave, EVP_sha256()))
        falhar("falha ao assinar o certificado");
    return c;
}

template <typename F>
void gravarPem(const QString& caminho, F escrever)
{
    BIO* bio = BIO_new(BIO_s_mem());
    if (!escrever(bio))
        falhar("falha ao escrever PEM");
    char* dados = nullptr;
    const long n = BIO_get_mem_data(bio, &dados);
    QSaveFile f(caminho);
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(dados, n) == n && f.commit();
    BIO_free(bio);
    if (!ok)
        throw std::runtime_error("Não foi possível gravar " + caminho.toStdString());
}

void gravarCert(const QString& caminho, X509* c)
{
    gravarPem(caminho, [c](BIO* b) { return PEM_write_bio_X509(b, c) == 1; });
}

void gravarChave(const QString& caminho, EVP_PKEY* k)
{
    gravarPem(caminho, [k](BIO* b) { return PEM_write_bio_PrivateKey(b, k, nullptr, nullptr, 0, nullptr, nullptr) == 1; });
    QFile::setPermissions(caminho, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

CertificadosServidor garantirCertificados(const QString& pasta)
{
    const QDir d(pasta);
    CertificadosServidor c{d.filePath(QStringLiteral("ca.pem")), d.filePath(QStringLiteral("servidor.pem")),
                           d.filePath(QStringLiteral("servidor-chave.pem"))};
    if (QFileInfo::exists(c.ca) && QFileInfo::exists(c.certificado) && QFileInfo::exists(c.chave))
        return c;
    QDir().mkpath(pasta);
    Chave chaveCa = novaChave();
    Cert ca = novoCertificado(chaveCa.get(), "KVO AUTORIDADE LOCAL - AC DE TESTES", nullptr, nullptr, 1, true);
    Chave chaveServidor = novaChave();
    Cert servidor = novoCertificado(chaveServidor.get(), "127.0.0.1", ca.get(), chaveCa.get(), 2, false);
    gravarChave(d.filePath(QStringLiteral("ca-chave.pem")), chaveCa.get());
    gravarChave(c.chave, chaveServidor.get());
    gravarCert(c.certificado, servidor.get());
    gravarCert(c.ca, ca.get()); // last: its presence marks the set complete
    return c;
}

} // namespace kvo::autoridade
