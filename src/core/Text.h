#pragma once

#include <QByteArray>
#include <QString>

// Fixed-width text helpers for receipt printing and the like.
namespace kvo {

// Pad or cut to exactly `width` characters. PadL right-aligns (fills on the
// left), PadR left-aligns, PadC centres (the extra fill goes to the right).
// A longer text keeps its first `width` characters.
QString PadL(const QString& text, int width, QChar fill = u' ');
QString PadR(const QString& text, int width, QChar fill = u' ');
QString PadC(const QString& text, int width, QChar fill = u' ');
// A field for fixed-width printing: left-justified (PadR) or right (PadL).
QString Formatar(const QString& text, int width, bool leftJustify = true, QChar fill = u' ');

// Accented letters become plain ones ("Ação" -> "Acao"); ª and º become a and o.
QString RemoverAcentos(const QString& text);
// Only the digits of the text ("12.345.678/0001-90" -> "12345678000190").
QString OnlyNumber(const QString& text);

// MD5 of the bytes as 32 lower-case hexadecimal digits.
QString md5Hex(const QByteArray& bytes);
// MD5 of the text's UTF-8 bytes.
QString MD5FromString(const QString& text);

} // namespace kvo
