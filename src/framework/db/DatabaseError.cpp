#include "framework/db/DatabaseError.h"

namespace kvo {

DatabaseError::DatabaseError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql) {}

QString DatabaseError::details() const {
    return m_sql.isEmpty() ? m_message : m_message + QStringLiteral("\nSQL: ") + m_sql;
}

} // namespace kvo
