#pragma once

#include <QMetaType>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace kvo {

__extension__ using Int128 = __int128; // exact intermediates of products and quotients

// Money and quantities: a signed 64-bit integer scaled by 10 000, exact in
// storage (NUMERIC(18,4)) and in arithmetic. Products and quotients are brought
// back to four decimals with halves to the even neighbour.
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    constexpr Currency(int units) : m_raw(std::int64_t(units) * Scale) {}
    constexpr Currency(long long units) : m_raw(std::int64_t(units) * Scale) {}

    static constexpr Currency fromRaw(std::int64_t raw) {
        Currency c;
        c.m_raw = raw;
        return c;
    }
    // Parses "1234.5", "-0.00005" (dot as decimal separator, as databases and
    // NF-e XML write it); more than four decimals are rounded half to even.
    static std::optional<Currency> parse(QStringView text);
    // Same as parse, but an invalid text throws std::invalid_argument.
    static Currency fromString(QStringView text);
    // The exact quotient num/den brought to four decimals, halves to even.
    static Currency round4(Int128 numerator, Int128 denominator);

    constexpr std::int64_t raw() const { return m_raw; }
    constexpr bool isZero() const { return m_raw == 0; }
    // Whole units, truncated towards zero.
    constexpr std::int64_t trunc() const { return m_raw / Scale; }
    double toDouble() const { return double(m_raw) / Scale; } // display and charts only

    // "1234.5000": plain, dot separator, always four decimals (SQL literals).
    QString toString() const;
    // Like toString, with `decimals` places (0..4) rounded half to even.
    QString toString(int decimals) const;

    Currency roundTo2Even() const;         // ties to even: amounts written to the NF-e
    Currency roundUp2() const;             // next cent upwards unless already exact
    Currency roundHalfUp(int decimals) const; // ties away from zero (display rounding)

    constexpr Currency operator-() const { return fromRaw(-m_raw); }
    constexpr Currency operator+(Currency o) const { return fromRaw(m_raw + o.m_raw); }
    constexpr Currency operator-(Currency o) const { return fromRaw(m_raw - o.m_raw); }
    Currency operator*(Currency o) const;
    Currency operator/(Currency o) const; // throws std::domain_error on division by zero
    Currency& operator+=(Currency o) { m_raw += o.m_raw; return *this; }
    Currency& operator-=(Currency o) { m_raw -= o.m_raw; return *this; }
    Currency& operator*=(Currency o) { return *this = *this * o; }
    Currency& operator/=(Currency o) { return *this = *this / o; }

    constexpr auto operator<=>(const Currency&) const = default;
    constexpr bool operator==(const Currency&) const = default;

private:
    std::int64_t m_raw = 0;
};

Currency abs(Currency c);

} // namespace kvo

Q_DECLARE_METATYPE(kvo::Currency)
