#include "framework/db/DatabaseError.h"

namespace kvo {

DatabaseError::DatabaseError(const QString& message, const QString& sql, Kind kind)
    : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql), m_kind(kind) {}

DatabaseError::Kind DatabaseError::classify(const QString& nativeCode, const QString& text) {
    const int sqlcode = nativeCode.toInt();
    const QString t = text.toLower();
    if (sqlcode == -530 || t.contains(QLatin1String("foreign key")))
        return Kind::ForeignKey;
    if (sqlcode == -803 || t.contains(QLatin1String("unique key")) || t.contains(QLatin1String("primary key")) ||
        t.contains(QLatin1String("attempt to store duplicate value")))
        return Kind::UniqueKey;
    if (sqlcode == -913 || t.contains(QLatin1String("lock conflict")) || t.contains(QLatin1String("deadlock")) ||
        t.contains(QLatin1String("update conflicts with concurrent update")))
        return Kind::LockConflict;
    if (t.contains(QLatin1String("connection shutdown")) || t.contains(QLatin1String("connection lost")) ||
        t.contains(QLatin1String("error reading data from the connection")) ||
        t.contains(QLatin1String("error writing data to the connection")) || t.contains(QLatin1String("network")) ||
        t.contains(QLatin1String("unable to complete network request")) || t.contains(QLatin1String("connection rejected")) ||
        t.contains(QLatin1String("database shutdown")) || t.contains(QLatin1String("invalid database handle")) ||
        t.contains(QLatin1String("killed by database administrator")))
        return Kind::ConnectionLost;
    return Kind::Other;
}

QString DatabaseError::details() const {
    return m_sql.isEmpty() ? m_message : m_message + QStringLiteral("\nSQL: ") + m_sql;
}

} // namespace kvo
