#include "core/Text.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace kvo {

QString PadL(const QString& text, int width, QChar fill) {
    if (width <= 0)
        return {};
    return text.size() >= width ? text.left(width) : QString(width - text.size(), fill) + text;
}

QString PadR(const QString& text, int width, QChar fill) {
    if (width <= 0)
        return {};
    return text.size() >= width ? text.left(width) : text + QString(width - text.size(), fill);
}

QString PadC(const QString& text, int width, QChar fill) {
    if (width <= 0)
        return {};
    if (text.size() >= width)
        return text.left(width);
    const qsizetype left = (width - text.size()) / 2;
    return QString(left, fill) + text + QString(width - text.size() - left, fill);
}

QString Formatar(const QString& text, int width, bool leftJustify, QChar fill) {
    return leftJustify ? PadR(text, width, fill) : PadL(text, width, fill);
}

QString RemoverAcentos(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            out += c;
            continue;
        }
        if (c == u'ª') {
            out += u'a';
            continue;
        }
        if (c == u'º' || c == u'°') {
            out += u'o';
            continue;
        }
        const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
        for (QChar d : decomposed)
            if (d.category() != QChar::Mark_NonSpacing)
                out += d;
    }
    return out;
}

QString OnlyNumber(const QString& text) {
    QString out;
    for (QChar c : text)
        if (c >= u'0' && c <= u'9')
            out += c;
    return out;
}

QString md5Hex(const QByteArray& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), size_t(bytes.size()), digest, &length, EVP_md5(), nullptr) != 1)
        throw std::runtime_error("OpenSSL EVP_Digest(MD5) failed");
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex());
}

QString MD5FromString(const QString& text) { return md5Hex(text.toUtf8()); }

} // namespace kvo
