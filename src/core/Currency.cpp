#include "core/Currency.h"

#include <stdexcept>

namespace kvo {

namespace {

// Rounds num/den to an integer, halves to the even neighbour.
Int128 divideHalfEven(Int128 num, Int128 den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    Int128 q = num / den;
    Int128 r = num % den;
    if (r == 0)
        return q;
    const bool negative = num < 0;
    Int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > den || (twice == den && (q % 2 != 0)))
        q += negative ? -1 : 1;
    return q;
}

Int128 pow10(int n) {
    Int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

Currency Currency::round4(Int128 numerator, Int128 denominator) {
    if (denominator == 0)
        throw std::domain_error("Currency: division by zero");
    Int128 q = divideHalfEven(numerator, denominator);
    if (q > INT64_MAX || q < INT64_MIN)
        throw std::overflow_error("Currency: value out of range");
    return fromRaw(std::int64_t(q));
}

std::optional<Currency> Currency::parse(QStringView text) {
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (t.front() == u'-' || t.front() == u'+') {
        negative = t.front() == u'-';
        t = t.mid(1);
    }
    Int128 digits = 0;
    int decimals = 0;
    bool seenPoint = false, seenDigit = false;
    for (QChar ch : t) {
        if (ch == u'.') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
        } else if (ch.isDigit()) {
            seenDigit = true;
            if (digits > (Int128(1) << 100))
                return std::nullopt;
            digits = digits * 10 + ch.digitValue();
            if (seenPoint)
                ++decimals;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit || decimals > 30)
        return std::nullopt;
    if (negative)
        digits = -digits;
    try {
        if (decimals <= 4)
            return round4(digits * pow10(4 - decimals), 1);
        return round4(digits, pow10(decimals - 4));
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

Currency Currency::fromString(QStringView text) {
    auto c = parse(text);
    if (!c)
        throw std::invalid_argument("Currency: not a number: " + text.toString().toStdString());
    return *c;
}

QString Currency::toString() const { return toString(4); }

QString Currency::toString(int decimals) const {
    decimals = std::clamp(decimals, 0, 4);
    const Int128 unit = pow10(4 - decimals);
    Int128 v = divideHalfEven(m_raw, unit);
    const bool negative = v < 0;
    if (negative)
        v = -v;
    const Int128 div = pow10(decimals);
    QString intPart = QString::number(qulonglong(v / div));
    QString result = negative ? QStringLiteral("-") + intPart : intPart;
    if (decimals > 0)
        result += u'.' + QStringLiteral("%1").arg(qulonglong(v % div), decimals, 10, QChar(u'0'));
    return result;
}

Currency Currency::roundTo2Even() const { return round4(divideHalfEven(m_raw, 100) * 100, 1); }

Currency Currency::roundUp2() const {
    std::int64_t q = m_raw / 100;
    if (m_raw % 100 > 0)
        ++q; // towards +infinity
    return fromRaw(q * 100);
}

Currency Currency::roundHalfUp(int decimals) const {
    decimals = std::clamp(decimals, 0, 4);
    const std::int64_t unit = std::int64_t(pow10(4 - decimals));
    std::int64_t a = m_raw < 0 ? -m_raw : m_raw;
    std::int64_t q = (a + unit / 2) / unit * unit;
    return fromRaw(m_raw < 0 ? -q : q);
}

Currency Currency::operator*(Currency o) const { return round4(Int128(m_raw) * o.m_raw, Scale); }

Currency Currency::operator/(Currency o) const { return round4(Int128(m_raw) * Scale, o.m_raw); }

Currency abs(Currency c) { return c < Currency() ? -c : c; }

} // namespace kvo
