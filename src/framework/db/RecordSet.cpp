#include "framework/db/RecordSet.h"

#include "framework/db/RecordSetRow.h"
#include "framework/db/SqlText.h"

#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>

namespace kvo {

QVariant RowView::value(int fieldIndex) const { return m_values.value(fieldIndex); }

QVariant RowView::value(const QString& fieldName) const { return m_values.value(m_rs.field(fieldName).index()); }

RecordSet::RecordSet(Database& db, QObject* parent) : QObject(parent), m_db(&db) {}

RecordSet::RecordSet(QObject* parent) : QObject(parent) {}

RecordSet::~RecordSet() = default;

// ---------------------------------------------------------------- definition

Field& RecordSet::addField(const QString& name, FieldType type, int size, FieldKind kind) {
    if (active())
        throw DatabaseError(QStringLiteral("Não é possível definir campos com o conjunto de dados aberto (%1).").arg(name));
    if (findField(name))
        throw DatabaseError(QStringLiteral("Campo duplicado: %1").arg(name));
    m_fields.push_back(std::make_unique<Field>(*this, int(m_fields.size()), name.toUpper(), type, size, kind));
    m_fieldsFromQuery = false;
    return *m_fields.back();
}

Field* RecordSet::findField(const QString& name) const {
    for (const auto& f : m_fields)
        if (f->name().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field& RecordSet::field(const QString& name) const {
    if (Field* f = findField(name))
        return *f;
    throw DatabaseError(QStringLiteral("Campo não encontrado: %1").arg(name), m_commandText);
}

namespace {
FieldType typeOf(const QSqlField& f) {
    switch (f.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Currency;
    case QMetaType::QDate:
        return FieldType::Date;
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QTime:
        return FieldType::Time;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    default:
        return f.length() > 32765 || f.length() <= 0 ? FieldType::Memo : FieldType::String;
    }
}
} // namespace

void RecordSet::defineFieldsFrom(const QSqlRecord& record) {
    m_fields.clear();
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        const FieldType type = typeOf(f);
        // Firebird reports text lengths in bytes of the connection's character set.
        const int porCaractere = m_db ? m_db->bytesPerCharacter() : 4;
        const int size = type == FieldType::String ? std::max(1, int(f.length()) / porCaractere) : 0;
        // Two columns of one name ("select trim(a), trim(b)") become NAME and NAME_1.
        QString name = f.name().toUpper();
        for (int n = 1; findField(name); ++n)
            name = f.name().toUpper() + QStringLiteral("_%1").arg(n);
        m_fields.push_back(std::make_unique<Field>(*this, i, name, type, size, FieldKind::Data));
    }
    m_fieldsFromQuery = true;
}

// ---------------------------------------------------------------- life

void RecordSet::open() {
    if (active())
        return;
    m_rows.clear();
    m_deleted.clear();
    m_applyErrors.clear();
    if (m_db && !m_commandText.isEmpty())
        load();
    else if (m_fields.empty())
        throw DatabaseError(QStringLiteral("Conjunto de dados sem campos nem consulta."));
    m_state = State::Browse;
    rebuildView(nullptr);
    moveTo(m_view.empty() ? -1 : 0);
    notifyReset();
    Q_EMIT stateChanged();
}

void RecordSet::load() {
    QSqlQuery q = m_db->exec(m_commandText, m_params);
    const QSqlRecord record = m_db->columnsOf(q);
    if (m_fields.empty() || m_fieldsFromQuery)
        defineFieldsFrom(record);
    // Map each non-calculated field to its column of the select.
    std::vector<std::pair<int, int>> columns; // field index, column
    for (const auto& f : m_fields) {
        if (f->kind() == FieldKind::Calculated)
            continue;
        // Fields made from this select are its columns in order; fields defined
        // by the caller are found by name.
        const int column = m_fieldsFromQuery && f->index() < record.count() ? f->index() : record.indexOf(f->name());
        if (column < 0)
            throw DatabaseError(QStringLiteral("Campo %1 não encontrado na consulta").arg(f->name()), m_commandText);
        columns.emplace_back(f->index(), column);
    }
    const int n = fieldCount();
    while (q.next()) {
        auto row = std::make_unique<Row>();
        row->id = m_nextId++;
        row->values.resize(n);
        for (const auto& [index, column] : columns) {
            const QVariant raw = Database::fromDriver(record.field(column), q.value(column));
            row->values[index] = raw.isNull() ? QVariant() : m_fields[size_t(index)]->coerce(raw);
        }
        calculate(*row);
        row->original = row->values;
        m_rows.push_back(std::move(row));
    }
}

void RecordSet::close() {
    if (!active())
        return;
    m_state = State::Inactive;
    m_rows.clear();
    m_deleted.clear();
    m_view.clear();
    m_buffer.clear();
    m_cursor = -1;
    m_eof = m_bof = true;
    notifyReset();
    Q_EMIT stateChanged();
}

void RecordSet::refresh() {
    checkBrowseMode();
    QVariantList key;
    if (!isEmpty())
        for (const QString& k : m_keyFields)
            key << field(k).value();
    close();
    open();
    if (!key.isEmpty() && key.size() == m_keyFields.size())
        locate(m_keyFields, key);
}

void RecordSet::calculate(Row& row) {
    if (!onCalcFields)
        return;
    Row* previous = m_calcRow;
    m_calcRow = &row;
    try {
        onCalcFields(*this);
    } catch (...) {
        m_calcRow = previous;
        throw;
    }
    m_calcRow = previous;
}

// ---------------------------------------------------------------- navigation

void RecordSet::moveTo(int index) {
    const int count = int(m_view.size());
    if (count == 0) {
        m_cursor = -1;
        m_eof = m_bof = true;
    } else {
        m_cursor = std::clamp(index, 0, count - 1);
    }
    notifyCurrent();
    if (afterScroll && !m_view.empty())
        afterScroll(*this);
}

void RecordSet::requireActive() const {
    if (!active())
        throw DatabaseError(QStringLiteral("O conjunto de dados está fechado."), m_commandText);
}

void RecordSet::first() {
    requireActive();
    checkBrowseMode();
    moveTo(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void RecordSet::last() {
    requireActive();
    checkBrowseMode();
    moveTo(int(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void RecordSet::next() {
    requireActive();
    checkBrowseMode();
    m_bof = false;
    if (m_cursor + 1 >= int(m_view.size())) {
        m_eof = true;
        return;
    }
    moveTo(m_cursor + 1);
    m_eof = false;
}

void RecordSet::prior() {
    requireActive();
    checkBrowseMode();
    m_eof = false;
    if (m_cursor <= 0) {
        m_bof = true;
        return;
    }
    moveTo(m_cursor - 1);
    m_bof = false;
}

void RecordSet::setRecNo(int recNo) {
    requireActive();
    checkBrowseMode();
    moveTo(recNo - 1);
    m_eof = m_bof = m_view.empty();
}

bool RecordSet::locate(const QStringList& fieldNames, const QVariantList& values, bool caseInsensitive,
                       bool partialKey) {
    requireActive();
    checkBrowseMode();
    std::vector<std::pair<int, QVariant>> wanted;
    for (int i = 0; i < fieldNames.size(); ++i) {
        const Field& f = field(fieldNames[i]);
        QVariant v = values.value(i);
        wanted.emplace_back(f.index(), partialKey && f.type() == FieldType::String ? v : f.coerce(v));
    }
    for (size_t r = 0; r < m_view.size(); ++r) {
        const auto& rowValues = m_view[r]->values;
        const bool match = std::all_of(wanted.begin(), wanted.end(), [&](const auto& w) {
            const QVariant& have = rowValues[w.first];
            if (have.metaType().id() == QMetaType::QString) {
                const QString a = have.toString(), b = w.second.toString();
                const auto cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
                return partialKey ? a.startsWith(b, cs) : a.compare(b, cs) == 0;
            }
            return compareValues(have, w.second) == 0 && have.isNull() == w.second.isNull();
        });
        if (match) {
            moveTo(int(r));
            m_eof = m_bof = false;
            return true;
        }
    }
    return false;
}

RecordSet::Bookmark RecordSet::bookmark() const {
    const Row* row = currentRow();
    return row ? row->id : 0;
}

bool RecordSet::gotoBookmark(Bookmark bookmark) {
    if (!active() || bookmark == 0)
        return false;
    checkBrowseMode();
    for (size_t r = 0; r < m_view.size(); ++r)
        if (m_view[r]->id == bookmark) {
            moveTo(int(r));
            m_eof = m_bof = false;
            return true;
        }
    return false;
}

RecordSet::Row* RecordSet::currentRow() const {
    return m_cursor >= 0 && m_cursor < int(m_view.size()) ? m_view[size_t(m_cursor)] : nullptr;
}

// ---------------------------------------------------------------- values

QVariant RecordSet::currentValue(int index) const {
    if (m_calcRow)
        return m_calcRow->values.value(index);
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(index);
    const Row* row = currentRow();
    return row ? row->values.value(index) : QVariant();
}

QVariant RecordSet::originalValue(int index) const {
    if (m_state == State::Insert)
        return {};
    const Row* row = m_calcRow ? m_calcRow : currentRow();
    return row ? row->original.value(index) : QVariant();
}

QVector<QVariant>& RecordSet::writableValues() {
    if (m_calcRow)
        return m_calcRow->values;
    if (m_state != State::Edit && m_state != State::Insert)
        throw DatabaseError(QStringLiteral("O registro não está em edição (%1).").arg(m_updateTable));
    return m_buffer;
}

void RecordSet::writeField(Field& f, const QVariant& value, bool runHooks) {
    if (m_calcRow && f.kind() != FieldKind::Calculated)
        throw DatabaseError(QStringLiteral("O cálculo de campos só pode gravar campos calculados (%1).").arg(f.name()));
    if (runHooks && f.readOnly())
        throw DatabaseError(QStringLiteral("O campo %1 não pode ser alterado.").arg(f.displayLabel()));
    QVector<QVariant>& values = writableValues();
    const QVariant previous = values[f.index()];
    values[f.index()] = value;
    if (!runHooks || m_calcRow)
        return;
    if (f.onValidate) {
        try {
            f.onValidate(f);
        } catch (...) {
            writableValues()[f.index()] = previous; // the refused value never stays
            throw;
        }
    }
    if (f.onChange)
        f.onChange(f);
    if (onCalcFields && f.kind() != FieldKind::Calculated) {
        Row scratch;
        scratch.values = m_buffer;
        calculate(scratch);
        for (const auto& other : m_fields)
            if (other->kind() == FieldKind::Calculated)
                m_buffer[other->index()] = scratch.values[other->index()];
    }
}

QVariant RecordSet::valueAt(int row, int fieldIndex) const {
    if (row == m_cursor && (m_state == State::Edit))
        return m_buffer.value(fieldIndex);
    return row >= 0 && row < int(m_view.size()) ? m_view[size_t(row)]->values.value(fieldIndex) : QVariant();
}

RowView RecordSet::rowAt(int row) const { return RowView(*this, m_view.at(size_t(row))->values); }

RecordSet::UpdateStatus RecordSet::updateStatusAt(int row) const { return m_view.at(size_t(row))->status; }

RecordSet::UpdateStatus RecordSet::updateStatus() const {
    const Row* row = currentRow();
    return row ? row->status : UpdateStatus::Unmodified;
}

int RecordSet::changeCount() const {
    int n = int(m_deleted.size());
    for (const auto& row : m_rows)
        if (row->status != UpdateStatus::Unmodified)
            ++n;
    return n;
}

// ---------------------------------------------------------------- editing

void RecordSet::requireBrowse(const char* operation) const {
    requireActive();
    if (m_readOnly)
        throw DatabaseError(QStringLiteral("Conjunto de dados somente leitura: não é possível %1.")
                                .arg(QString::fromUtf8(operation)),
                            m_commandText);
}

void RecordSet::edit() {
    requireBrowse("editar");
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    Row* row = currentRow();
    if (!row) {
        append();
        return;
    }
    m_buffer = row->values;
    m_state = State::Edit;
    Q_EMIT stateChanged();
}

void RecordSet::append() {
    requireBrowse("incluir");
    checkBrowseMode();
    m_buffer = QVector<QVariant>(fieldCount());
    m_insertAt = m_cursor;
    m_state = State::Insert;
    Q_EMIT stateChanged();
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            cancel();
            throw;
        }
    }
}

void RecordSet::checkRequired() const {
    for (const auto& f : m_fields)
        if (f->required() && f->kind() != FieldKind::Calculated && f->isNull())
            throw DatabaseError(QStringLiteral("O campo %1 deve ser informado.").arg(f->displayLabel()));
}

void RecordSet::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (beforePost)
        beforePost(*this);
    checkRequired();
    Row* posted = nullptr;
    bool orderChanged = !m_indexFields.isEmpty() || m_filter;
    if (m_state == State::Edit) {
        posted = currentRow();
        if (posted->values != m_buffer) {
            if (orderChanged) {
                orderChanged = false;
                for (const QString& name : m_indexFields)
                    orderChanged |= posted->values[field(name).index()] != m_buffer[field(name).index()];
                orderChanged |= bool(m_filter);
            }
            posted->values = m_buffer;
            if (posted->status == UpdateStatus::Unmodified)
                posted->status = UpdateStatus::Modified;
        } else {
            orderChanged = false;
        }
    } else {
        auto row = std::make_unique<Row>();
        row->id = m_nextId++;
        row->values = m_buffer;
        row->original = QVector<QVariant>(fieldCount());
        row->status = UpdateStatus::Inserted;
        posted = row.get();
        m_rows.push_back(std::move(row));
        orderChanged = true;
    }
    calculate(*posted);
    m_state = State::Browse;
    m_buffer.clear();
    if (orderChanged) {
        rebuildView(posted);
        notifyReset();
    } else {
        Q_EMIT rowChanged(m_cursor);
    }
    Q_EMIT stateChanged();
    if (afterPost)
        afterPost(*this);
}

void RecordSet::cancel() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    if (m_cursor >= 0)
        Q_EMIT rowChanged(m_cursor);
    Q_EMIT stateChanged();
}

void RecordSet::checkBrowseMode() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void RecordSet::remove() {
    requireBrowse("excluir");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    checkBrowseMode();
    Row* row = currentRow();
    if (!row)
        throw DatabaseError(QStringLiteral("Nenhum registro para excluir."));
    if (beforeDelete)
        beforeDelete(*this);
    auto it = std::find_if(m_rows.begin(), m_rows.end(), [&](const auto& r) { return r.get() == row; });
    if (row->status != UpdateStatus::Inserted) {
        row->status = UpdateStatus::Deleted;
        row->values = row->original; // a deleted row goes away as it was read
        m_deleted.push_back(std::move(*it));
    }
    m_rows.erase(it);
    m_view.erase(m_view.begin() + m_cursor);
    const int at = m_cursor;
    notifyReset();
    moveTo(at);
    m_eof = m_view.empty() || at >= int(m_view.size());
    if (afterDelete)
        afterDelete(*this);
}

void RecordSet::cancelUpdates() {
    cancel();
    std::erase_if(m_rows, [](const auto& r) { return r->status == UpdateStatus::Inserted; });
    for (auto& row : m_deleted)
        m_rows.push_back(std::move(row));
    m_deleted.clear();
    for (auto& row : m_rows) {
        row->values = row->original;
        row->status = UpdateStatus::Unmodified;
        calculate(*row);
    }
    std::sort(m_rows.begin(), m_rows.end(), [](const auto& a, const auto& b) { return a->id < b->id; });
    rebuildView(nullptr);
    moveTo(0);
    notifyReset();
}

// ---------------------------------------------------------------- view

void RecordSet::enableControls() {
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0) {
        Q_EMIT reset();
        Q_EMIT currentChanged(m_cursor);
    }
}

void RecordSet::notifyReset() {
    if (!controlsDisabled())
        Q_EMIT reset();
}

void RecordSet::notifyCurrent() {
    if (!controlsDisabled())
        Q_EMIT currentChanged(m_cursor);
}

void RecordSet::setIndexFieldNames(const QString& names) {
    QStringList list;
    for (const QString& name : names.split(u';', Qt::SkipEmptyParts))
        list << field(name.trimmed()).name();
    m_indexFields = list;
    if (active()) {
        checkBrowseMode();
        const Row* keep = currentRow();
        rebuildView(keep);
        notifyReset();
    }
}

void RecordSet::setFilter(std::function<bool(const RowView&)> predicate) {
    m_filter = std::move(predicate);
    if (active()) {
        checkBrowseMode();
        const Row* keep = currentRow();
        rebuildView(keep);
        notifyReset();
    }
}

bool RecordSet::matchesFilter(const Row& row) const { return !m_filter || m_filter(RowView(*this, row.values)); }

int RecordSet::compareValues(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.metaType() == QMetaType::fromType<Currency>() && b.metaType() == QMetaType::fromType<Currency>()) {
        const auto x = a.value<Currency>(), y = b.value<Currency>();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    const auto order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Less)
        return -1;
    if (order == QPartialOrdering::Greater)
        return 1;
    if (order == QPartialOrdering::Equivalent)
        return 0;
    return a.toString().compare(b.toString());
}

bool RecordSet::lessThan(const Row& a, const Row& b) const {
    for (const QString& name : m_indexFields) {
        const int i = field(name).index();
        const int c = compareValues(a.values[i], b.values[i]);
        if (c != 0)
            return c < 0;
    }
    return false;
}

void RecordSet::rebuildView(const Row* keep) {
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (const auto& row : m_rows)
        if (matchesFilter(*row))
            m_view.push_back(row.get());
    if (!m_indexFields.isEmpty())
        std::stable_sort(m_view.begin(), m_view.end(), [this](const Row* a, const Row* b) { return lessThan(*a, *b); });
    int at = m_view.empty() ? -1 : 0;
    if (keep) {
        const auto it = std::find(m_view.begin(), m_view.end(), keep);
        at = it != m_view.end() ? int(it - m_view.begin()) : std::min(m_cursor, int(m_view.size()) - 1);
    }
    m_cursor = at;
    m_eof = m_bof = m_view.empty();
}

// ---------------------------------------------------------------- MontarDataSet

std::unique_ptr<RecordSet> MontarDataSet(Database& db, const QString& table, const QString& keyColumn,
                                         const QVariant& keyValue, const QString& columns, const QString& orderBy) {
    QStringList cols;
    if (columns.trimmed() == QLatin1String("*"))
        cols << QStringLiteral("*");
    else
        for (const QString& c : columns.split(u',', Qt::SkipEmptyParts))
            cols << sqlIdentifier(c.trimmed());
    QString sql = QStringLiteral("select %1 from %2").arg(cols.join(QStringLiteral(", ")), sqlIdentifier(table));
    SqlParams params;
    const bool all = keyColumn == QLatin1String("1") && keyValue.toString() == QLatin1String("1");
    if (!all) {
        sql += QStringLiteral(" where %1 = :KEYVALUE").arg(sqlIdentifier(keyColumn));
        params.insert(QStringLiteral("KEYVALUE"), keyValue);
    }
    if (!orderBy.isEmpty())
        sql += QStringLiteral(" order by ") + sqlIdentifier(orderBy);
    auto rs = std::make_unique<RecordSet>(db);
    rs->setCommandText(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        rs->setParam(it.key(), it.value());
    rs->setUpdateTable(sqlIdentifier(table));
    rs->open();
    return rs;
}

std::unique_ptr<RecordSet> openEditable(Database& db, const QString& select, const SqlParams& params,
                                        const QString& updateTable, const QString& keyField) {
    auto rs = std::make_unique<RecordSet>(db);
    rs->setCommandText(select);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        rs->setParam(it.key(), it.value());
    rs->setUpdateTable(sqlIdentifier(updateTable));
    rs->setKeyFields({keyField});
    rs->open();
    return rs;
}

} // namespace kvo
