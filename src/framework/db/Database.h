#pragma once

#include "framework/db/ConnectionSettings.h"
#include "framework/db/DatabaseError.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QSqlField>
#include <QSqlQuery>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

namespace kvo {

class RecordSet;

// Named parameters of a statement (":NAME" in the SQL, "NAME" in the map).
using SqlParams = QVariantMap;

// One connection to a Firebird database, embedded or through a server.
// Every failure raises DatabaseError carrying the database's message and
// the statement.
class Database {
public:
    explicit Database(ConnectionSettings settings);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Creates an empty database file (UTF8, dialect 3) where the settings
    // point; fails when it already exists.
    static void create(const ConnectionSettings& settings);

    void open();
    void close();
    bool isOpen() const;
    const ConnectionSettings& settings() const { return m_settings; }
    // Bytes a character takes in the connection's character set: the driver
    // reports text lengths in them (4 for UTF8, 1 for WIN1252 or ISO8859_1).
    int bytesPerCharacter() const { return m_bytesPerCharacter; }
    QSqlDatabase handle() const { return m_db; }

    // Executes one statement; when it returns the statement has taken effect
    // (inside the current transaction, if one is open). Returns rows affected.
    int executeSQL(const QString& sql, const SqlParams& params = {});
    // Runs a statement and hands back the live query (forward-only).
    QSqlQuery exec(const QString& sql, const SqlParams& params = {});
    // First column of the first row, or a null QVariant when there is none.
    QVariant scalar(const QString& sql, const SqlParams& params = {});
    // A read-only record set with every row of the select.
    std::unique_ptr<RecordSet> query(const QString& sql, const SqlParams& params = {});

    // Next value of the named generator (sequence); never repeats, whatever
    // other terminals do.
    qint64 getGeneretor(const QString& name, qint64 increment = 1);

    bool inTransaction() const { return m_transactionDepth > 0; }
    // Inside a transaction: `undo` runs if the outermost one ends in a
    // rollback, so in-memory state that took the work as written goes back;
    // it is dropped when the work is committed. Outside: nothing to do.
    void onRollback(std::function<void()> undo);
    // Inside a transaction: commits what was done so far and goes on in a
    // fresh transaction (scripts' "commit" points). Outside: nothing to do.
    void commitAndContinue();

    // The columns of an executed select. The driver asks the catalogue once per
    // scaled numeric column each time it is asked; the answer is kept per
    // statement text until the schema changes through this connection.
    QSqlRecord columnsOf(const QSqlQuery& q);

    // Value conversions between our types and what the driver takes/gives.
    static QVariant toDriverValue(const QVariant& value);
    static QVariant fromDriver(const QSqlField& field, const QVariant& value);

private:
    friend class Transaction;
    void begin();
    void commit();
    void rollback();

    ConnectionSettings m_settings;
    QString m_connectionName;
    QSqlDatabase m_db;
    int m_bytesPerCharacter = 4;
    QHash<QString, QSqlRecord> m_columns;
    void runUndo() noexcept;

    int m_transactionDepth = 0;
    bool m_rollbackOnly = false;
    std::vector<std::function<void()>> m_undo;
};

// A database transaction that rolls back unless committed. Opening one while
// another is active joins it: only the outermost commits or rolls back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

private:
    Database& m_db;
    bool m_done = false;
};

} // namespace kvo
