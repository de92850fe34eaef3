#pragma once

#include "framework/db/RecordSet.h"

#include <QAbstractTableModel>
#include <QColor>

#include <optional>

namespace kvo {

// Shows a record set in a Qt grid: one row per visible row, one column per
// listed field, values in the fields' display formats, row colours by rule.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowColour = std::function<std::optional<QColor>(const RowView&)>;

    explicit RecordSetModel(RecordSet& rs, QStringList fieldNames = {}, QObject* parent = nullptr);

    void setColumns(const QStringList& fieldNames);
    void setRowBackground(RowColour rule) { m_background = std::move(rule); }
    void setRowForeground(RowColour rule) { m_foreground = std::move(rule); }
    Field& fieldAt(int column) const;
    RecordSet& recordSet() const { return m_rs; }
    // Message of the last refused edit (validation or conversion).
    const QString& lastError() const { return m_lastError; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edits go through the record set: the current row moves there, enters
    // edit and the field's hooks run; a refusal returns false.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // An edit the field refused, with its message, so the grid can tell the user.
    void editRefused(const QString& message);

private:
    RecordSet& m_rs;
    QList<int> m_columns; // field indexes
    RowColour m_background, m_foreground;
    QString m_lastError;
};

} // namespace kvo
