#include "core/Format.h"

#include <QRegularExpression>

namespace kvo {

namespace {

struct NumberMask {
    QString prefix, suffix;
    int minInt = 0;   // number of '0' before the point
    int minDec = 0;   // '0' after the point
    int maxDec = 0;   // '0' and '#' after the point
    bool grouping = false;
};

NumberMask parseMask(QStringView mask) {
    // Only the first section (positive numbers) is used; negatives get "-".
    const qsizetype semi = mask.indexOf(u';');
    if (semi >= 0)
        mask = mask.left(semi);
    NumberMask m;
    bool inDigits = false, afterPoint = false, done = false;
    QString* literal = &m.prefix;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        QChar c = mask[i];
        if (c == u'"' || c == u'\'') {
            qsizetype end = mask.indexOf(c, i + 1);
            if (end < 0)
                end = mask.size();
            *literal += mask.mid(i + 1, end - i - 1);
            i = end;
            continue;
        }
        const bool placeholder = c == u'0' || c == u'#' || (!done && (c == u',' || c == u'.'));
        if (placeholder && !done) {
            inDigits = true;
            if (c == u'.')
                afterPoint = true;
            else if (c == u',')
                m.grouping = true;
            else if (afterPoint) {
                ++m.maxDec;
                if (c == u'0')
                    m.minDec = m.maxDec;
            } else if (c == u'0') {
                ++m.minInt;
            }
            continue;
        }
        if (inDigits) {
            done = true;
            literal = &m.suffix;
        }
        *literal += c;
    }
    return m;
}

QString groupThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u'.';
        out += digits[i];
    }
    return out;
}

// Formats |raw| (4-decimal fixed point) with the mask's digits.
QString formatRaw(const NumberMask& m, Currency value) {
    const Currency rounded = value.roundHalfUp(m.maxDec);
    std::int64_t raw = rounded.raw();
    const bool negative = raw < 0;
    if (negative)
        raw = -raw;
    QString intDigits = QString::number(raw / Currency::Scale);
    QString decDigits = QStringLiteral("%1").arg(raw % Currency::Scale, 4, 10, QChar(u'0')).left(m.maxDec);
    while (decDigits.size() > m.minDec && decDigits.endsWith(u'0'))
        decDigits.chop(1);
    if (intDigits == QLatin1String("0") && m.minInt == 0)
        intDigits.clear();
    while (intDigits.size() < m.minInt)
        intDigits.prepend(u'0');
    if (m.grouping)
        intDigits = groupThousands(intDigits);
    QString number = intDigits;
    if (!decDigits.isEmpty())
        number += u',' + decDigits;
    if (number.isEmpty())
        number = QStringLiteral("0");
    const bool showMinus = negative && rounded.raw() != 0;
    return m.prefix + (showMinus ? QStringLiteral("-") : QString()) + number + m.suffix;
}

} // namespace

QString formatFloat(QStringView mask, Currency value) { return formatRaw(parseMask(mask), value); }

QString formatFloat(QStringView mask, qint64 value) { return formatFloat(mask, Currency(static_cast<long long>(value))); }

QString formatN(QStringView pattern, Currency value) {
    static const QRegularExpression re(QStringLiteral("^%(-?)(\\d*)(?:\\.(\\d+))?n$"));
    const auto match = re.match(pattern.toString());
    if (!match.hasMatch())
        return formatFloat(u",0.00", value);
    const int width = match.captured(2).toInt();
    const int decimals = match.captured(3).isEmpty() ? 2 : match.captured(3).toInt();
    NumberMask m;
    m.grouping = true;
    m.minInt = 1;
    m.minDec = m.maxDec = std::min(decimals, 4);
    const QString text = formatRaw(m, value);
    return match.captured(1).isEmpty() ? text.rightJustified(width, u' ') : text.leftJustified(width, u' ');
}

QString formatDateTime(QStringView pattern, const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool lastWasHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c)
            ++run;
        auto num = [](int v, int width) { return QStringLiteral("%1").arg(v, width, 10, QChar(u'0')); };
        switch (c.unicode()) {
        case 'd':
            out += run >= 2 ? num(d.day(), 2) : QString::number(d.day());
            break;
        case 'm':
            if (lastWasHour)
                out += run >= 2 ? num(t.minute(), 2) : QString::number(t.minute());
            else
                out += run >= 2 ? num(d.month(), 2) : QString::number(d.month());
            break;
        case 'y':
            out += run >= 3 ? num(d.year(), 4) : num(d.year() % 100, 2);
            break;
        case 'h':
            out += run >= 2 ? num(t.hour(), 2) : QString::number(t.hour());
            break;
        case 'n':
            out += run >= 2 ? num(t.minute(), 2) : QString::number(t.minute());
            break;
        case 's':
            out += run >= 2 ? num(t.second(), 2) : QString::number(t.second());
            break;
        case 'z':
            out += run >= 3 ? num(t.msec(), 3) : QString::number(t.msec());
            break;
        case '"':
        case '\'': {
            qsizetype end = pattern.indexOf(pattern[i], i + 1);
            if (end < 0)
                end = pattern.size();
            out += pattern.mid(i + 1, end - i - 1);
            run = end - i + 1;
            break;
        }
        default:
            out += pattern.mid(i, run);
        }
        if (c.isLetter())
            lastWasHour = c == u'h';
        i += run;
    }
    return out;
}

QString formatDateTime(QStringView pattern, const QDate& value) {
    return formatDateTime(pattern, QDateTime(value, QTime(0, 0)));
}

QString sqlDate(const QDate& date) { return u'\'' + formatDateTime(u"dd.mm.yyyy", date) + u'\''; }

QString sqlTimestamp(const QDateTime& value) {
    return u'\'' + formatDateTime(u"dd.mm.yyyy hh:nn:ss", value) + u'\'';
}

QString sqlTime(const QTime& value) {
    return u'\'' + formatDateTime(u"hh:nn:ss", QDateTime(QDate(2000, 1, 1), value)) + u'\'';
}

QString sqlNumber(Currency value) { return value.toString(); }

Currency RemChrStrToCurr(QStringView text) {
    QString plain;
    bool negative = false;
    for (QChar c : text) {
        if (c.isDigit())
            plain += c;
        else if (c == u',')
            plain += u'.';
        else if (c == u'-' && plain.isEmpty())
            negative = true;
    }
    // Only the last comma is the decimal separator.
    const qsizetype last = plain.lastIndexOf(u'.');
    if (last >= 0)
        plain = plain.left(last).remove(u'.') + plain.mid(last);
    auto value = Currency::parse(plain);
    if (!value)
        return Currency();
    return negative ? -*value : *value;
}

} // namespace kvo
