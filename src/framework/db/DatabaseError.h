#pragma once

#include <QString>

#include <stdexcept>

namespace kvo {

// A failure of the database or the data layer. `what()` is the message meant
// for people (Portuguese where we phrase it, else the database's own text);
// `sql()` names the statement that failed, for the log and for diagnosis.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message, const QString& sql = {});
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    // Message and statement together, for logs and the command line.
    QString details() const;

private:
    QString m_message;
    QString m_sql;
};

// Another terminal changed or deleted a row between our reading and our apply.
class ConcurrentChangeError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

} // namespace kvo
