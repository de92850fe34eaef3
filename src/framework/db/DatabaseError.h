#pragma once

#include <QString>

#include <stdexcept>

namespace kvo {

// A failure of the database or the data layer. `what()` is the message meant
// for people (Portuguese where we phrase it, else the database's own text);
// `sql()` names the statement that failed, for the log and for diagnosis.
class DatabaseError : public std::runtime_error {
public:
    // What the database refused, for callers that answer each differently.
    enum class Kind {
        Other,
        ForeignKey,     // a row other rows still reference, or a reference to none
        UniqueKey,      // a primary key or unique constraint already taken
        LockConflict,   // another terminal holds or changed the row meanwhile
        ConnectionLost, // the connection to the database is gone
    };
    explicit DatabaseError(const QString& message, const QString& sql = {}, Kind kind = Kind::Other);
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    Kind kind() const { return m_kind; }
    // Message and statement together, for logs and the command line.
    QString details() const;

    // The kind of a failure reported by the Firebird client: its SQLCODE (the
    // driver's native error code) and its message.
    static Kind classify(const QString& nativeCode, const QString& text);

private:
    QString m_message;
    QString m_sql;
    Kind m_kind = Kind::Other;
};

// Another terminal changed or deleted a row between our reading and our apply.
class ConcurrentChangeError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

} // namespace kvo
