#pragma once

#include "framework/db/Database.h"
#include "framework/db/Field.h"

#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

namespace kvo {

class RecordSet;

// Read access to one row without moving the cursor (filters, grid colours).
class RowView {
public:
    QVariant value(const QString& fieldName) const;
    QVariant value(int fieldIndex) const;

private:
    friend class RecordSet;
    RowView(const RecordSet& rs, const QVector<QVariant>& values) : m_rs(rs), m_values(values) {}
    const RecordSet& m_rs;
    const QVector<QVariant>& m_values;
};

struct ApplyError {
    quint64 bookmark = 0;
    QString message;
    QString sql;
};

// Rows fetched by one select into memory, edited there and applied back to
// the base table in one transaction. See ARCHITECTURE.md for the model.
class RecordSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class UpdateStatus { Unmodified, Modified, Inserted, Deleted };
    using Bookmark = quint64;
    using Hook = std::function<void(RecordSet&)>;

    explicit RecordSet(Database& db, QObject* parent = nullptr);
    explicit RecordSet(QObject* parent = nullptr); // in memory only
    ~RecordSet() override;

    // --- definition
    Field& addField(const QString& name, FieldType type, int size = 0, FieldKind kind = FieldKind::Data);
    Field& field(const QString& name) const; // throws DatabaseError when unknown
    Field* findField(const QString& name) const;
    Field& field(int index) const { return *m_fields.at(size_t(index)); }
    int fieldCount() const { return int(m_fields.size()); }
    void setCommandText(const QString& sql) { m_commandText = sql; }
    const QString& commandText() const { return m_commandText; }
    void setParam(const QString& name, const QVariant& value) { m_params.insert(name, value); }
    QVariant param(const QString& name) const { return m_params.value(name); }
    void clearParams() { m_params.clear(); }
    void setUpdateTable(const QString& table) { m_updateTable = table; m_baseColumns.clear(); }
    const QString& updateTable() const { return m_updateTable; }
    void setKeyFields(const QStringList& keys) { m_keyFields = keys; }
    QStringList keyFields() const { return m_keyFields; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool isReadOnly() const { return m_readOnly; }
    Database* database() const { return m_db; }

    // --- life
    void open();          // runs the select (or starts empty, in memory)
    void close();
    void refresh();       // re-runs the select, keeping the current key when it can
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // --- navigation
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_view.empty(); }
    int recordCount() const { return int(m_view.size()); }
    int recNo() const { return m_cursor + 1; } // 1-based; 0 when empty
    void setRecNo(int recNo);
    bool locate(const QStringList& fieldNames, const QVariantList& values, bool caseInsensitive = false,
                bool partialKey = false);
    bool locate(const QString& fieldName, const QVariant& value) {
        return locate(QStringList{fieldName}, QVariantList{value});
    }
    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark bookmark);

    // --- editing
    void edit();
    void append();
    void insert() { append(); }
    void post();
    void cancel();
    void remove(); // Delete
    void checkBrowseMode(); // posts a pending edit

    // --- display suspension
    void disableControls() { ++m_controlsDisabled; }
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

    // --- ordering and filters
    void setIndexFieldNames(const QString& names); // "CAMPO1;CAMPO2"
    QString indexFieldNames() const { return m_indexFields.join(u';'); }
    void setFilter(std::function<bool(const RowView&)> predicate);
    void clearFilter() { setFilter({}); }

    // --- hooks
    Hook onNewRecord, beforePost, afterPost, beforeDelete, afterDelete, onCalcFields, afterScroll;

    // --- change log
    UpdateStatus updateStatus() const;
    int changeCount() const;
    bool hasPendingUpdates() const { return changeCount() > 0; }
    // Writes pending rows in one transaction. More than maxErrors failures
    // (negative: no limit) roll everything back and raise the first one;
    // a row changed meanwhile by another terminal is one such failure.
    int applyUpdates(int maxErrors = 0);
    const QList<ApplyError>& lastApplyErrors() const { return m_applyErrors; }
    void cancelUpdates();

    // --- row access for views and adapters (no cursor movement)
    QVariant valueAt(int row, int fieldIndex) const;
    RowView rowAt(int row) const;
    UpdateStatus updateStatusAt(int row) const;

    // Used by Field.
    QVariant currentValue(int index) const;
    QVariant originalValue(int index) const;
    void writeField(Field& field, const QVariant& value, bool runHooks);

Q_SIGNALS:
    void reset();              // contents changed wholesale
    void rowChanged(int row);  // one row's values changed
    void currentChanged(int row);
    void stateChanged();

private:
    struct Row;
    friend class RowView;
    friend class RecordSetApplier;

    // What an apply inside a caller's transaction changed in memory, to put
    // back if that transaction rolls back.
    struct AppliedUndo {
        struct Saved {
            Bookmark id;
            QVector<QVariant> original;
            UpdateStatus status;
        };
        std::vector<Saved> rows;
        std::vector<std::unique_ptr<Row>> deleted;
    };
    void restoreApplied(AppliedUndo& undo);

    void defineFieldsFrom(const class QSqlRecord& record);
    void load();
    void calculate(Row& row);
    void rebuildView(const Row* keep);
    void moveTo(int index);
    void requireBrowse(const char* operation) const;
    void requireActive() const;
    void checkRequired() const;
    void notifyReset();
    void notifyCurrent();
    QVector<QVariant>& writableValues();
    bool matchesFilter(const Row& row) const;
    bool lessThan(const Row& a, const Row& b) const;
    static int compareValues(const QVariant& a, const QVariant& b);
    Row* currentRow() const;

    Database* m_db = nullptr;
    std::vector<std::unique_ptr<Field>> m_fields;
    QString m_commandText;
    SqlParams m_params;
    QString m_updateTable;
    QStringList m_keyFields;
    QStringList m_baseColumns; // columns of the update table, read on first apply
    bool m_readOnly = false;
    bool m_fieldsFromQuery = false;

    std::vector<std::unique_ptr<Row>> m_rows;    // live rows (including inserted)
    std::vector<std::unique_ptr<Row>> m_deleted; // deleted, waiting for apply
    std::vector<Row*> m_view;                    // filtered and ordered
    int m_cursor = -1;
    bool m_eof = true, m_bof = true;
    State m_state = State::Inactive;
    QVector<QVariant> m_buffer; // edit/insert buffer
    int m_insertAt = -1;
    Row* m_calcRow = nullptr;   // row being calculated
    Bookmark m_nextId = 1;
    int m_controlsDisabled = 0;
    QStringList m_indexFields;
    std::function<bool(const RowView&)> m_filter;
    QList<ApplyError> m_applyErrors;
};

// Suspends the display of a record set for a scope and puts the cursor back
// on the row it was on.
class DisableControls {
public:
    explicit DisableControls(RecordSet& rs) : m_rs(rs), m_bookmark(rs.bookmark()) { m_rs.disableControls(); }
    ~DisableControls() {
        if (m_rs.active() && m_rs.state() == RecordSet::State::Browse)
            m_rs.gotoBookmark(m_bookmark);
        m_rs.enableControls();
    }
    DisableControls(const DisableControls&) = delete;
    DisableControls& operator=(const DisableControls&) = delete;

private:
    RecordSet& m_rs;
    RecordSet::Bookmark m_bookmark;
};

// The columns `columns` (comma separated, or "*") of the rows of `table` whose
// `keyColumn` equals `keyValue`; key and value both "1" select every row.
std::unique_ptr<RecordSet> MontarDataSet(Database& db, const QString& table, const QString& keyColumn,
                                         const QVariant& keyValue, const QString& columns = QStringLiteral("*"),
                                         const QString& orderBy = {});

// The rows of `select` with its parameters, open for editing and written back
// to `updateTable` by `keyField` (child rows shown with joined columns).
std::unique_ptr<RecordSet> openEditable(Database& db, const QString& select, const SqlParams& params,
                                        const QString& updateTable, const QString& keyField);

} // namespace kvo
