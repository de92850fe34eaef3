// Writing a record set's pending rows back to its base table.
#include "framework/db/RecordSetRow.h"
#include "framework/db/SqlText.h"

#include <QPointer>

namespace kvo {

namespace {

const QString kChangedElsewhere = QStringLiteral(
    "Este registro foi alterado por outro terminal depois de ser lido. "
    "Suas alterações não foram gravadas: recarregue os dados e refaça a alteração.");
const QString kDeletedElsewhere = QStringLiteral(
    "Este registro foi excluído ou alterado por outro terminal depois de ser lido. "
    "Recarregue os dados.");

bool isLockConflict(const DatabaseError& e) {
    const QString m = e.message();
    return m.contains(QLatin1String("concurrent update"), Qt::CaseInsensitive) ||
           m.contains(QLatin1String("deadlock"), Qt::CaseInsensitive) ||
           m.contains(QLatin1String("lock conflict"), Qt::CaseInsensitive);
}

bool comparable(const Field& f) { return f.type() != FieldType::Memo && f.type() != FieldType::Blob; }

} // namespace

// Builds and runs the statements of one apply; friend of RecordSet.
class RecordSetApplier {
public:
    explicit RecordSetApplier(RecordSet& rs) : m_rs(rs), m_db(*rs.m_db) {}

    // Columns of the base table that are written back.
    void resolveColumns() {
        if (!m_rs.m_baseColumns.isEmpty())
            return;
        const QString table = sqlIdentifier(m_rs.m_updateTable);
        auto q = m_db.exec(QStringLiteral("select trim(rdb$field_name) from rdb$relation_fields "
                                          "where rdb$relation_name = :T"),
                           {{QStringLiteral("T"), table}});
        while (q.next())
            m_rs.m_baseColumns << q.value(0).toString();
        if (m_rs.m_baseColumns.isEmpty())
            throw DatabaseError(QStringLiteral("Tabela de atualização não encontrada: %1").arg(table));
        if (m_rs.m_keyFields.isEmpty()) {
            auto k = m_db.exec(QStringLiteral(
                                   "select trim(s.rdb$field_name) from rdb$relation_constraints c "
                                   "join rdb$index_segments s on s.rdb$index_name = c.rdb$index_name "
                                   "where c.rdb$relation_name = :T and c.rdb$constraint_type = 'PRIMARY KEY' "
                                   "order by s.rdb$field_position"),
                               {{QStringLiteral("T"), table}});
            while (k.next())
                m_rs.m_keyFields << k.value(0).toString();
        }
        if (m_rs.m_keyFields.isEmpty())
            throw DatabaseError(QStringLiteral("A tabela %1 não tem chave para gravar alterações.").arg(table));
    }

    bool writable(const Field& f) const {
        return f.kind() == FieldKind::Data && m_rs.m_baseColumns.contains(f.name());
    }

    void keyCondition(const RecordSet::Row& row, QString& where, SqlParams& params) const {
        for (const QString& k : m_rs.m_keyFields) {
            const Field& f = m_rs.field(k);
            const QString p = QStringLiteral("K_") + QString::number(f.index());
            where += (where.isEmpty() ? QString() : QStringLiteral(" and ")) + f.name() + QStringLiteral(" = :") + p;
            params.insert(p, row.original.value(f.index()));
        }
    }

    QString insert(const RecordSet::Row& row) {
        QStringList columns, values;
        SqlParams params;
        for (const auto& f : m_rs.m_fields) {
            if (!writable(*f) || row.values[f->index()].isNull())
                continue;
            const QString p = QStringLiteral("V_") + QString::number(f->index());
            columns << f->name();
            values << u':' + p;
            params.insert(p, row.values[f->index()]);
        }
        const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(m_rs.m_updateTable, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
        m_db.executeSQL(sql, params);
        return sql;
    }

    // Updates only the changed columns, and only if they still hold what we
    // read: otherwise another terminal got there first.
    void update(const RecordSet::Row& row) {
        QStringList sets;
        QString where;
        SqlParams params;
        keyCondition(row, where, params);
        for (const auto& f : m_rs.m_fields) {
            const int i = f->index();
            if (!writable(*f) || row.values[i] == row.original[i])
                continue;
            const QString p = QStringLiteral("V_") + QString::number(i);
            sets << f->name() + QStringLiteral(" = :") + p;
            params.insert(p, row.values[i]);
            if (!comparable(*f))
                continue;
            if (row.original[i].isNull()) {
                where += QStringLiteral(" and %1 is null").arg(f->name());
            } else {
                const QString o = QStringLiteral("O_") + QString::number(i);
                where += QStringLiteral(" and %1 = :%2").arg(f->name(), o);
                params.insert(o, row.original[i]);
            }
        }
        if (sets.isEmpty())
            return;
        const QString sql =
            QStringLiteral("update %1 set %2 where %3").arg(m_rs.m_updateTable, sets.join(QStringLiteral(", ")), where);
        if (m_db.executeSQL(sql, params) == 0)
            throw ConcurrentChangeError(kChangedElsewhere, sql);
    }

    void remove(const RecordSet::Row& row) {
        QString where;
        SqlParams params;
        keyCondition(row, where, params);
        const QString sql = QStringLiteral("delete from %1 where %2").arg(m_rs.m_updateTable, where);
        if (m_db.executeSQL(sql, params) == 0)
            throw ConcurrentChangeError(kDeletedElsewhere, sql);
    }

    RecordSet& m_rs;
    Database& m_db;
};

int RecordSet::applyUpdates(int maxErrors) {
    requireActive();
    checkBrowseMode();
    m_applyErrors.clear();
    if (changeCount() == 0)
        return 0;
    if (!m_db || m_updateTable.isEmpty())
        throw DatabaseError(QStringLiteral("Conjunto de dados sem tabela de atualização."), m_commandText);
    RecordSetApplier applier(*this);
    applier.resolveColumns();

    std::vector<Row*> applied;
    std::vector<Row*> appliedDeletes;
    Transaction tx(*m_db);
    auto attempt = [&](Row& row, auto&& action) {
        try {
            action(row);
            return true;
        } catch (const DatabaseError& e) {
            ApplyError error{row.id, e.message(), e.sql()};
            if (isLockConflict(e))
                error.message = kChangedElsewhere;
            m_applyErrors << error;
            if (maxErrors >= 0 && m_applyErrors.size() > maxErrors) {
                tx.rollback();
                // A lock conflict keeps its kind: the caller may try the whole save again,
                // whereas rows found changed would only be found changed again.
                if (isLockConflict(e))
                    throw ConcurrentChangeError(error.message, error.sql, DatabaseError::Kind::LockConflict);
                if (dynamic_cast<const ConcurrentChangeError*>(&e))
                    throw ConcurrentChangeError(error.message, error.sql);
                throw DatabaseError(error.message, error.sql, e.kind());
            }
            return false;
        }
    };
    for (auto& row : m_deleted)
        if (attempt(*row, [&](Row& r) { applier.remove(r); }))
            appliedDeletes.push_back(row.get());
    for (auto& row : m_rows) {
        if (row->status == UpdateStatus::Inserted && attempt(*row, [&](Row& r) { applier.insert(r); }))
            applied.push_back(row.get());
        else if (row->status == UpdateStatus::Modified && attempt(*row, [&](Row& r) { applier.update(r); }))
            applied.push_back(row.get());
    }
    tx.commit();

    // Inside a caller's transaction the rows are written only when it commits:
    // if it rolls back, they become pending again, so a retry writes them.
    auto desfazer = std::make_shared<AppliedUndo>();
    for (Row* row : applied) {
        desfazer->rows.push_back({row->id, row->original, row->status});
        row->original = row->values;
        row->status = UpdateStatus::Unmodified;
    }
    for (auto it = m_deleted.begin(); it != m_deleted.end();) {
        if (std::find(appliedDeletes.begin(), appliedDeletes.end(), it->get()) != appliedDeletes.end()) {
            desfazer->deleted.push_back(std::move(*it));
            it = m_deleted.erase(it);
        } else {
            ++it;
        }
    }
    if (m_db->inTransaction())
        m_db->onRollback([self = QPointer<RecordSet>(this), desfazer] {
            if (self)
                self->restoreApplied(*desfazer);
        });
    notifyReset();
    return int(m_applyErrors.size());
}

void RecordSet::restoreApplied(AppliedUndo& undo) {
    for (const auto& saved : undo.rows)
        for (auto& row : m_rows)
            if (row->id == saved.id) {
                row->original = saved.original;
                row->status = saved.status;
            }
    for (auto& row : undo.deleted)
        m_deleted.push_back(std::move(row));
    undo.deleted.clear();
    notifyReset();
}

} // namespace kvo
