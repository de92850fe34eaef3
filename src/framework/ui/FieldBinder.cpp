#include "framework/ui/FieldBinder.h"

#include "framework/ui/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kvo {

FieldBinder::FieldBinder(RecordSet& rs, QObject* parent) : QObject(parent), m_rs(rs) {
    connect(&m_rs, &RecordSet::reset, this, &FieldBinder::refresh);
    connect(&m_rs, &RecordSet::currentChanged, this, &FieldBinder::refresh);
    connect(&m_rs, &RecordSet::stateChanged, this, &FieldBinder::refresh);
    connect(&m_rs, &RecordSet::rowChanged, this, &FieldBinder::refresh);
}

void FieldBinder::refresh() {
    if (m_refreshing || m_rs.controlsDisabled())
        return;
    m_refreshing = true;
    for (const Binding& b : m_bindings)
        b.show();
    m_refreshing = false;
}

bool FieldBinder::confirmar(QWidget* focus) {
    for (const Binding& b : m_bindings)
        if (focus && b.write && (b.widget == focus || b.widget->isAncestorOf(focus)))
            return b.write();
    return true;
}

bool FieldBinder::write(const QString& fieldName, const QVariant& value) {
    if (m_refreshing || !m_rs.active())
        return false;
    try {
        Field& f = m_rs.field(fieldName);
        if (f.textOf(f.coerce(value)) == f.asString() && m_rs.state() == RecordSet::State::Browse)
            return true; // nothing typed: do not put the row in edit
        m_rs.edit();
        f.setValue(value);
        refresh(); // hooks may have changed other fields
        return true;
    } catch (const Abort&) {
        // already shown to the user
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
    refresh();
    return false;
}

void FieldBinder::bind(QLineEdit* edit, const QString& fieldName) {
    Field& f = m_rs.field(fieldName);
    if (f.size() > 0)
        edit->setMaxLength(f.size());
    edit->setReadOnly(f.readOnly() || f.kind() == FieldKind::Calculated || m_rs.isReadOnly());
    auto gravar = [this, edit, fieldName] { return write(fieldName, edit->text()); };
    m_bindings.push_back({edit,
                          [this, edit, fieldName] {
                              Field& field = m_rs.field(fieldName);
                              edit->setText(edit->hasFocus() ? field.asString() : field.displayText());
                          },
                          gravar});
    connect(edit, &QLineEdit::editingFinished, this, gravar);
    refresh();
}

void FieldBinder::bind(QCheckBox* box, const QString& fieldName, const QString& on, const QString& off) {
    m_bindings.push_back({box, [this, box, fieldName, on] { box->setChecked(m_rs.field(fieldName).asString() == on); }, {}});
    connect(box, &QCheckBox::toggled, this, [this, fieldName, on, off](bool checked) { write(fieldName, checked ? on : off); });
    refresh();
}

void FieldBinder::bind(QComboBox* box, const QString& fieldName) {
    m_bindings.push_back({box, [this, box, fieldName] {
                              const QString value = m_rs.field(fieldName).asString();
                              int at = -1;
                              for (int i = 0; i < box->count() && at < 0; ++i)
                                  if (box->itemData(i).isValid() ? box->itemData(i).toString() == value
                                                                 : box->itemText(i) == value)
                                      at = i;
                              box->setCurrentIndex(at);
                          },
                          {}});
    connect(box, &QComboBox::activated, this, [this, box, fieldName](int index) {
        const QVariant data = box->itemData(index);
        write(fieldName, data.isValid() ? data : QVariant(box->itemText(index)));
    });
    refresh();
}

void FieldBinder::bind(QDateEdit* edit, const QString& fieldName) {
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    // A date box always holds some date: its minimum stands for "no date" and
    // shows blank, so passing through an empty field leaves it empty.
    edit->setSpecialValueText(QStringLiteral(" "));
    auto gravar = [this, edit, fieldName] {
        return write(fieldName, edit->date() == edit->minimumDate() ? QVariant() : QVariant(edit->date()));
    };
    m_bindings.push_back({edit,
                          [this, edit, fieldName] {
                              const QDate d = m_rs.field(fieldName).asDate();
                              edit->setDate(d.isValid() ? d : edit->minimumDate());
                          },
                          gravar});
    connect(edit, &QDateEdit::editingFinished, this, gravar);
    edit->installEventFilter(this);
    refresh();
}

void FieldBinder::bind(QPlainTextEdit* edit, const QString& fieldName) {
    m_bindings.push_back({edit, [this, edit, fieldName] {
                              const QString text = m_rs.field(fieldName).asString();
                              if (edit->toPlainText() != text)
                                  edit->setPlainText(text);
                          },
                          {}});
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, fieldName] {
        if (!m_refreshing && edit->toPlainText() != m_rs.field(fieldName).asString())
            write(fieldName, edit->toPlainText());
    });
    refresh();
}

// An empty date box (showing its blank special value) swallows Tab: Qt keeps
// it for moving between date sections that are not there. Pass it on.
bool FieldBinder::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QDateEdit*>(watched);
    if (!edit || event->type() != QEvent::KeyPress || edit->date() != edit->minimumDate())
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QObject::eventFilter(watched, event);
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    QWidget* w = edit;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    } while (w != edit && !(w->window() == edit->window() && w->isVisible() && w->isEnabled() &&
                            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()));
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace kvo
