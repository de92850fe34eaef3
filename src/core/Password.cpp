#include "core/Password.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace kvo {

namespace {
constexpr int kIterations = 20000;
}

QString PasswordHash::hashWith(const QString& password, const QString& salt) {
    const QByteArray pw = password.toUtf8();
    const QByteArray s = QByteArray::fromHex(salt.toLatin1());
    unsigned char out[32];
    if (PKCS5_PBKDF2_HMAC(pw.constData(), int(pw.size()), reinterpret_cast<const unsigned char*>(s.constData()),
                          int(s.size()), kIterations, EVP_sha256(), sizeof out, out) != 1)
        throw std::runtime_error("OpenSSL PKCS5_PBKDF2_HMAC failed");
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(out), sizeof out).toHex());
}

PasswordHash PasswordHash::make(const QString& password) {
    unsigned char salt[16];
    if (RAND_bytes(salt, sizeof salt) != 1)
        throw std::runtime_error("OpenSSL RAND_bytes failed");
    PasswordHash p;
    p.salt = QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(salt), sizeof salt).toHex());
    p.hash = hashWith(password, p.salt);
    return p;
}

bool PasswordHash::matches(const QString& password, const QString& salt, const QString& hash) {
    if (salt.isEmpty() || hash.isEmpty())
        return false;
    const QByteArray a = hashWith(password, salt).toLatin1();
    const QByteArray b = hash.toLatin1();
    return a.size() == b.size() && CRYPTO_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
}

} // namespace kvo
