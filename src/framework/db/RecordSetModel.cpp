#include "framework/db/RecordSetModel.h"

#include <QBrush>

namespace kvo {

RecordSetModel::RecordSetModel(RecordSet& rs, QStringList fieldNames, QObject* parent)
    : QAbstractTableModel(parent), m_rs(rs) {
    setColumns(fieldNames);
    connect(&m_rs, &RecordSet::reset, this, [this] {
        beginResetModel();
        if (m_columns.isEmpty())
            setColumns({});
        endResetModel();
    });
    connect(&m_rs, &RecordSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

void RecordSetModel::setColumns(const QStringList& fieldNames) {
    beginResetModel();
    m_columns.clear();
    if (fieldNames.isEmpty())
        for (int i = 0; i < m_rs.fieldCount(); ++i)
            m_columns << i;
    else
        for (const QString& name : fieldNames)
            m_columns << m_rs.field(name).index();
    endResetModel();
}

Field& RecordSetModel::fieldAt(int column) const { return m_rs.field(m_columns.at(column)); }

int RecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rs.active() ? 0 : m_rs.recordCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Field& f = fieldAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return f.displayTextOf(m_rs.valueAt(index.row(), f.index()));
    case Qt::EditRole:
        return f.textOf(m_rs.valueAt(index.row(), f.index()));
    case Qt::TextAlignmentRole:
        if (f.type() == FieldType::Currency || f.type() == FieldType::Integer)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        const RowColour& rule = role == Qt::BackgroundRole ? m_background : m_foreground;
        if (!rule)
            return {};
        if (auto colour = rule(m_rs.rowAt(index.row())))
            return QBrush(*colour);
        return {};
    }
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && section < columnCount())
        return fieldAt(section).displayLabel();
    return section + 1;
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f;
    const Field& field = fieldAt(index.column());
    if (!m_rs.isReadOnly() && !field.readOnly() && field.kind() != FieldKind::Calculated)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid())
        return false;
    try {
        if (m_rs.recNo() != index.row() + 1)
            m_rs.setRecNo(index.row() + 1);
        m_rs.edit();
        fieldAt(index.column()).setValue(value);
        m_lastError.clear();
        Q_EMIT dataChanged(index, index);
        return true;
    } catch (const std::exception& e) {
        m_lastError = QString::fromStdString(e.what());
        Q_EMIT editRefused(m_lastError);
        return false;
    }
}

} // namespace kvo
