#pragma once

#include <QList>
#include <QString>

namespace kvo {

// One column of a select list: its expression and the alias given to it
// ("PES_NOME as TRA_NOME": expression "PES_NOME", alias "TRA_NOME").
struct SelectColumn {
    QString expression;
    QString alias; // empty when the column has none
};

// The columns of "select ... from ...", in order. Commas inside parentheses
// or quotes do not split; "first", "skip" and "distinct" are not columns.
// Empty when the text has no select list.
QList<SelectColumn> selectColumns(const QString& select);

// What a condition must name for a column shown as `name`: its expression when
// `name` is an alias of the select (an alias cannot be used in "where"),
// otherwise `name` itself.
QString columnExpression(const QString& select, const QString& name);

} // namespace kvo
