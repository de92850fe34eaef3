#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Text forms of the layout's simple types.
namespace kvo::nfe::fmt {

// Amount with exactly `decimals` places, "." separator (TDec_1302 and the like).
QString dec(Currency value, int decimals);
// Rates (TDec_0302a04): two places when exact at two, else four.
QString rate(Currency value);
// Unit prices (TDec_1110v): ten places.
QString price(Currency value);
// "2026-12-06T10:50:04-03:00": local time with its UTC offset (TDateTimeUTC).
QString dateTime(const QDateTime& value);
// "2026-12-06" (TData).
QString date(const QDate& value);
// Text as TString allows it: no control characters, nothing beyond Latin-1,
// no blanks at either end, runs of blanks made single.
QString text(const QString& value);

// Parsers for the reader.
QDateTime parseDateTime(const QString& text);
QDate parseDate(const QString& text);
Currency parseAmount(const QString& text); // empty reads as zero

} // namespace kvo::nfe::fmt
