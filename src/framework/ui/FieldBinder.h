#pragma once

#include "framework/db/RecordSet.h"

#include <QObject>

#include <functional>
#include <vector>

class QWidget;
class QLineEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QPlainTextEdit;

namespace kvo {

// Keeps edit boxes, check boxes, lists and date boxes in step with the fields
// of a record set's current row, and writes what the user types back through
// the field (so its validation and change hooks run). A refused value is
// shown to the user and the box goes back to the field's value.
class FieldBinder : public QObject {
    Q_OBJECT
public:
    explicit FieldBinder(RecordSet& rs, QObject* parent = nullptr);

    void bind(QLineEdit* edit, const QString& fieldName);
    // A flag field: checked writes `on`, unchecked writes `off`.
    void bind(QCheckBox* box, const QString& fieldName, const QString& on = QStringLiteral("S"),
              const QString& off = QStringLiteral("N"));
    // Items carry the stored value as their data (or their text when none).
    void bind(QComboBox* box, const QString& fieldName);
    void bind(QDateEdit* edit, const QString& fieldName);
    void bind(QPlainTextEdit* edit, const QString& fieldName);

    // Shows the current row in every bound widget.
    void refresh();
    // Writes what is typed in the bound box holding `focus` (a box writes on
    // leaving it, and a shortcut does not leave it). False when the field
    // refused the value (the user was told).
    bool confirmar(QWidget* focus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QWidget* widget;
        std::function<void()> show;
        std::function<bool()> write; // for boxes that write on leaving
    };
    // Writes through the field, with the record set put in edit first.
    bool write(const QString& fieldName, const QVariant& value);

    RecordSet& m_rs;
    std::vector<Binding> m_bindings;
    bool m_refreshing = false;
};

} // namespace kvo
