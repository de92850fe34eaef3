#pragma once

#include "core/Currency.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <functional>

namespace kvo {

class RecordSet;

enum class FieldType { String, Integer, Currency, Date, DateTime, Time, Memo, Blob };

// Data: a column of the base table, written back on apply.
// Joined: read from another table by the select; never written back.
// Calculated: computed per row by the record set's calculation hook.
enum class FieldKind { Data, Joined, Calculated };

// One column of a record set. Reading and writing act on the current row
// (or on the edit buffer while the record set is in edit or insert).
class Field {
public:
    Field(RecordSet& owner, int index, QString name, FieldType type, int size, FieldKind kind);

    const QString& name() const { return m_name; }
    FieldType type() const { return m_type; }
    FieldKind kind() const { return m_kind; }
    int size() const { return m_size; }
    int index() const { return m_index; }
    bool required() const { return m_required; }
    bool readOnly() const { return m_readOnly; }
    const QString& displayFormat() const { return m_displayFormat; }
    QString displayLabel() const { return m_displayLabel.isEmpty() ? m_name : m_displayLabel; }
    RecordSet& recordSet() const { return m_owner; }

    Field& setRequired(bool on) { m_required = on; return *this; }
    Field& setReadOnly(bool on) { m_readOnly = on; return *this; }
    Field& setKind(FieldKind kind) { m_kind = kind; return *this; }
    Field& setDisplayFormat(const QString& mask) { m_displayFormat = mask; return *this; }
    Field& setDisplayLabel(const QString& label) { m_displayLabel = label; return *this; }

    // Refuses a new value by throwing (the old value stays). Runs with the
    // new value already readable through the field, as its handlers expect.
    std::function<void(Field&)> onValidate;
    // Runs after a value was accepted.
    std::function<void(Field&)> onChange;

    QVariant value() const;
    QVariant oldValue() const; // as read from the database (null for new rows)
    bool isNull() const;
    QString asString() const;
    qint64 asInteger() const;
    Currency asCurrency() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    QString displayText() const { return displayTextOf(value()); }
    // A value as the field shows it in a grid or edit box (display format).
    QString displayTextOf(const QVariant& value) const;

    // Writes with validation and the change hook.
    void setValue(const QVariant& value);
    // Writes "without running its own reaction": no validation, no change hook.
    void setValueSilently(const QVariant& value);
    void clear() { setValue(QVariant()); }

    // The value converted to this field's type; throws DatabaseError when it
    // cannot be (e.g. "abc" for an integer).
    QVariant coerce(const QVariant& value) const;
    // Text of a value as this field shows it.
    QString textOf(const QVariant& value) const;

private:
    RecordSet& m_owner;
    int m_index;
    QString m_name;
    FieldType m_type;
    int m_size;
    FieldKind m_kind;
    bool m_required = false;
    bool m_readOnly = false;
    QString m_displayFormat;
    QString m_displayLabel;
};

// Numbers in the FloatToStr style: shortest decimals, decimal comma.
QString currencyToPlainText(Currency value);

} // namespace kvo
