#include "nfe/NFeFormat.h"

#include <QTimeZone>

namespace kvo::nfe::fmt {

QString dec(Currency value, int decimals)
{
    return value.toString(decimals);
}

QString rate(Currency value)
{
    return value.roundTo2Even() == value ? value.toString(2) : value.toString(4);
}

QString price(Currency value)
{
    return value.toString(4) + QStringLiteral("000000");
}

QString dateTime(const QDateTime& value)
{
    const int offset = value.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return value.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

QString date(const QDate& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd"));
}

QString text(const QString& value)
{
    QString out;
    out.reserve(value.size());
    bool blank = false;
    for (QChar c : value) {
        if (c.isSpace() || c.unicode() < 0x20) {
            blank = !out.isEmpty();
            continue;
        }
        if (c.unicode() > 0xFF)
            continue;
        if (blank)
            out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

QDateTime parseDateTime(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

QDate parseDate(const QString& text)
{
    return QDate::fromString(text, Qt::ISODate);
}

Currency parseAmount(const QString& text)
{
    if (text.isEmpty())
        return {};
    return Currency::fromString(text);
}

} // namespace kvo::nfe::fmt
