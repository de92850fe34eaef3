#include "framework/db/Field.h"

#include "core/Format.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/RecordSet.h"

namespace kvo {

Field::Field(RecordSet& owner, int index, QString name, FieldType type, int size, FieldKind kind)
    : m_owner(owner), m_index(index), m_name(std::move(name)), m_type(type), m_size(size), m_kind(kind) {}

QVariant Field::value() const { return m_owner.currentValue(m_index); }

QVariant Field::oldValue() const { return m_owner.originalValue(m_index); }

bool Field::isNull() const {
    const QVariant v = value();
    return v.isNull() || (m_type == FieldType::String && v.toString().isEmpty());
}

QString Field::asString() const { return textOf(value()); }

qint64 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull())
        return 0;
    if (v.metaType() == QMetaType::fromType<Currency>())
        return v.value<Currency>().trunc();
    return coerce(v).toLongLong();
}

Currency Field::asCurrency() const {
    const QVariant v = value();
    if (v.isNull())
        return Currency();
    if (v.metaType() == QMetaType::fromType<Currency>())
        return v.value<Currency>();
    if (v.metaType().id() == QMetaType::LongLong || v.metaType().id() == QMetaType::Int)
        return Currency(v.toLongLong());
    const auto parsed = Currency::parse(v.toString());
    return parsed ? *parsed : RemChrStrToCurr(v.toString());
}

QDate Field::asDate() const {
    const QVariant v = value();
    return v.metaType().id() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

QDateTime Field::asDateTime() const {
    const QVariant v = value();
    if (v.metaType().id() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

QString currencyToPlainText(Currency value) {
    QString text = value.toString();
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text.replace(u'.', u',');
}

QString Field::textOf(const QVariant& v) const {
    if (v.isNull())
        return {};
    switch (m_type) {
    case FieldType::Currency:
        return currencyToPlainText(v.value<Currency>());
    case FieldType::Date:
        return formatDateTime(u"dd/mm/yyyy", v.toDate());
    case FieldType::DateTime:
        return formatDateTime(u"dd/mm/yyyy hh:nn:ss", v.toDateTime());
    case FieldType::Time:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return v.toString();
    }
}

QString Field::displayTextOf(const QVariant& v) const {
    if (v.isNull())
        return {};
    if (m_type == FieldType::Currency)
        return formatFloat(m_displayFormat.isEmpty() ? u",0.00" : QStringView(m_displayFormat), v.value<Currency>());
    if (!m_displayFormat.isEmpty() && m_type == FieldType::Integer)
        return formatFloat(m_displayFormat, v.toLongLong());
    if (!m_displayFormat.isEmpty() && (m_type == FieldType::Date || m_type == FieldType::DateTime))
        return formatDateTime(m_displayFormat, v.metaType().id() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0))
                                                                                      : v.toDateTime());
    return textOf(v);
}

QVariant Field::coerce(const QVariant& v) const {
    if (v.isNull() || !v.isValid())
        return QVariant();
    const bool isText = v.metaType().id() == QMetaType::QString;
    if (isText && m_type != FieldType::String && m_type != FieldType::Memo && v.toString().trimmed().isEmpty())
        return QVariant();
    auto refuse = [&] {
        return DatabaseError(QStringLiteral("\"%1\" não é um valor válido para o campo %2.")
                                 .arg(v.toString(), displayLabel()));
    };
    switch (m_type) {
    case FieldType::String: {
        QString s = v.metaType() == QMetaType::fromType<Currency>() ? textOf(v) : v.toString();
        if (m_size > 0 && s.size() > m_size)
            s.truncate(m_size);
        return s;
    }
    case FieldType::Memo:
        return v.toString();
    case FieldType::Integer: {
        if (v.metaType() == QMetaType::fromType<Currency>())
            return qlonglong(v.value<Currency>().trunc());
        bool ok = false;
        const qlonglong n = isText ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
        if (!ok)
            throw refuse();
        return n;
    }
    case FieldType::Currency: {
        if (v.metaType() == QMetaType::fromType<Currency>())
            return v;
        const int id = v.metaType().id();
        if (id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::UInt)
            return QVariant::fromValue(Currency(v.toLongLong()));
        if (id == QMetaType::Double) // legacy callers; 6 places keeps the half-even step exact
            return QVariant::fromValue(Currency::fromString(QString::number(v.toDouble(), 'f', 6)));
        const QString s = v.toString().trimmed();
        if (auto c = Currency::parse(s))
            return QVariant::fromValue(*c);
        if (s.contains(u'e', Qt::CaseInsensitive)) { // the driver's shortest form of a double, e.g. "1e-04"
            bool ok = false;
            const double d = s.toDouble(&ok);
            if (ok)
                return QVariant::fromValue(Currency::fromString(QString::number(d, 'f', 4)));
        }
        if (s.contains(u',')) // typed in pt-BR: "1.234,50"
            return QVariant::fromValue(RemChrStrToCurr(s));
        throw refuse();
    }
    case FieldType::Date: {
        if (v.metaType().id() == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QDate d = isText ? QDate::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy")) : v.toDate();
        if (!d.isValid())
            throw refuse();
        return d;
    }
    case FieldType::DateTime: {
        if (v.metaType().id() == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0));
        QDateTime t = isText ? QDateTime::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                             : v.toDateTime();
        if (!t.isValid() && isText)
            t = QDateTime(QDate::fromString(v.toString().trimmed(), QStringLiteral("dd/MM/yyyy")), QTime(0, 0));
        if (!t.isValid())
            throw refuse();
        return t;
    }
    case FieldType::Time: {
        const QTime t = isText ? QTime::fromString(v.toString().trimmed(), QStringLiteral("HH:mm:ss")) : v.toTime();
        if (!t.isValid())
            throw refuse();
        return t;
    }
    case FieldType::Blob:
        return v.toByteArray();
    }
    return v;
}

void Field::setValue(const QVariant& value) { m_owner.writeField(*this, coerce(value), true); }

void Field::setValueSilently(const QVariant& value) { m_owner.writeField(*this, coerce(value), false); }

} // namespace kvo
