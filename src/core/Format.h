#pragma once

#include "core/Currency.h"

#include <QDateTime>
#include <QString>

// pt-BR number and date formatting with the masks the system uses, whatever
// the machine's locale: "." groups thousands and "," separates decimals.
namespace kvo {

// Number masks: ",0.00", "###,##0.00", "###,##0.000", "0000", "00000" ...
// ("0" a required digit, "#" an optional one, "," anywhere before the point
// turns on thousands grouping, "." the decimal point, other text is literal,
// "text" in quotes is literal). Rounds half away from zero, as the
// host's display routines do.
QString formatFloat(QStringView mask, Currency value);
QString formatFloat(QStringView mask, qint64 value);

// printf-like "%8.3n", "%9.2n", "%8.2n": grouped number with the given
// decimals, right-aligned in the given width (never cut).
QString formatN(QStringView pattern, Currency value);

// Date/time patterns: "dd/mm/yyyy hh:nn:ss", "yyyymmdd_hhnnss", "yymmddnn",
// "hh:mm:ss" (mm after hh means minutes). d, dd, m, mm, yy, yyyy, h, hh,
// n, nn, s, ss, zzz; "/" and ":" are the pt-BR separators; "text" is literal.
QString formatDateTime(QStringView pattern, const QDateTime& value);
QString formatDateTime(QStringView pattern, const QDate& value);

// SQL literals in the form the Firebird dialect accepts: '06.12.2026' and
// '06.12.2026 14:05:09'; amounts with "." as decimal separator.
QString sqlDate(const QDate& date);
QString sqlTimestamp(const QDateTime& value);
QString sqlTime(const QTime& value);
QString sqlNumber(Currency value);

// A typed or formatted amount ("1.234,50", "R$ 10,5", "-3") as Currency;
// anything that is not a digit, the decimal comma or a leading minus is
// ignored. Empty or digitless text reads as zero.
Currency RemChrStrToCurr(QStringView text);

} // namespace kvo
