#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Building SQL as text safely. Every value that comes from a user, a file or
// another row goes through one of these (or is bound as a parameter).
namespace kvo {

// 'O''Brien': the text in single quotes with embedded quotes doubled.
QString quotedStr(const QString& text);
// A value as an SQL literal: NULL, plain numbers, quoted texts, Firebird
// date literals with "." as separator, amounts with "." as decimal point.
QString sqlLiteral(const QVariant& value);
// An identifier (table, column, generator) checked to be a plain upper-case
// name; anything else throws DatabaseError, so names from data cannot inject.
QString sqlIdentifier(const QString& name);

} // namespace kvo
