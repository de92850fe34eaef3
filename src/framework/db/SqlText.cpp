#include "framework/db/SqlText.h"

#include "core/Format.h"
#include "framework/db/DatabaseError.h"

#include <QDateTime>
#include <QRegularExpression>

namespace kvo {

QString quotedStr(const QString& text) {
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

QString sqlLiteral(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return QStringLiteral("NULL");
    if (value.metaType() == QMetaType::fromType<Currency>())
        return value.value<Currency>().toString();
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate:
        return sqlDate(value.toDate());
    case QMetaType::QDateTime:
        return sqlTimestamp(value.toDateTime());
    case QMetaType::QTime:
        return sqlTime(value.toTime());
    case QMetaType::Double:
        throw DatabaseError(QStringLiteral("Valor de ponto flutuante não pode ser gravado como texto SQL; use Currency"));
    default:
        return quotedStr(value.toString());
    }
}

QString sqlIdentifier(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]{0,62}$"));
    if (!plain.match(name).hasMatch())
        throw DatabaseError(QStringLiteral("Nome inválido para objeto do banco de dados: \"%1\"").arg(name));
    return name.toUpper();
}

} // namespace kvo
