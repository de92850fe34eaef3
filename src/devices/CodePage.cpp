#include "devices/CodePage.h"

#include "core/Text.h"

#include <QHash>

namespace kvo {

namespace {

// Bytes 0x80..0xFF of CP850 as Unicode.
const char16_t Cp850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};
// Bytes 0x80..0xFF of CP860 as Unicode.
const char16_t Cp860[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E3, 0x00E0, 0x00C1, 0x00E7,
    0x00EA, 0x00CA, 0x00E8, 0x00CD, 0x00D4, 0x00EC, 0x00C3, 0x00C2,
    0x00C9, 0x00C0, 0x00C8, 0x00F4, 0x00F5, 0x00F2, 0x00DA, 0x00F9,
    0x00CC, 0x00D5, 0x00DC, 0x00A2, 0x00A3, 0x00D9, 0x20A7, 0x00D3,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00D2, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

const char16_t* table(CodePage page) {
    switch (page) {
    case CodePage::Cp850: return Cp850;
    case CodePage::Cp860: return Cp860;
    default: return nullptr;
    }
}

const QHash<char16_t, char>& reverse(CodePage page) {
    static const auto build = [](const char16_t* t) {
        QHash<char16_t, char> h;
        for (int i = 0; i < 128; ++i)
            h.insert(t[i], static_cast<char>(0x80 + i));
        return h;
    };
    static const QHash<char16_t, char> r850 = build(Cp850), r860 = build(Cp860);
    return page == CodePage::Cp850 ? r850 : r860;
}

// One character in the page, or 0 when the page lacks it.
char encodeOne(char16_t c, CodePage page) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (page == CodePage::Latin1)
        return c <= 0xFF ? static_cast<char>(c) : 0;
    if (page == CodePage::Ascii)
        return 0;
    return reverse(page).value(c, 0);
}

} // namespace

bool codePageForModel(const QString& model, CodePage& out) {
    const QString m = model.trimmed().toUpper();
    if (m == u"EPSON")
        out = CodePage::Cp860;
    else if (m == u"DARUMA" || m == u"ELGIN" || m == u"BEMATECH")
        out = CodePage::Cp850;
    else if (m == u"GENERICO")
        out = CodePage::Ascii;
    else
        return false;
    return true;
}

bool codePageByName(const QString& name, CodePage& out) {
    const QString n = name.trimmed().toUpper();
    if (n == u"CP850")
        out = CodePage::Cp850;
    else if (n == u"CP860")
        out = CodePage::Cp860;
    else if (n == u"ISO-8859-1" || n == u"LATIN1")
        out = CodePage::Latin1;
    else if (n == u"ASCII")
        out = CodePage::Ascii;
    else
        return false;
    return true;
}

QString codePageName(CodePage page) {
    switch (page) {
    case CodePage::Cp850: return QStringLiteral("CP850");
    case CodePage::Cp860: return QStringLiteral("CP860");
    case CodePage::Latin1: return QStringLiteral("ISO-8859-1");
    case CodePage::Ascii: return QStringLiteral("ASCII");
    }
    return {};
}

QByteArray encodeForPrinter(const QString& text, CodePage page) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        char b = encodeOne(ch.unicode(), page);
        if (b == 0 && ch.unicode() != 0) {
            const QString plain = RemoverAcentos(QString(ch));
            b = plain.size() == 1 && plain[0].unicode() < 0x80 ? static_cast<char>(plain[0].unicode()) : '?';
        }
        bytes += b;
    }
    return bytes;
}

QString decodeFromPrinter(const QByteArray& bytes, CodePage page) {
    QString text;
    text.reserve(bytes.size());
    const char16_t* t = table(page);
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80 || page == CodePage::Latin1)
            text += QChar(u);
        else if (t)
            text += QChar(t[u - 0x80]);
        else
            text += u'?';
    }
    return text;
}

} // namespace kvo
