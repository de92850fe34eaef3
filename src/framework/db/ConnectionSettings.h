#pragma once

#include <QString>

#include <optional>

namespace kvo {

// Where and how to connect. The connection file is an INI file:
//   [Database]
//   Database=C:\KVO\dados\KVO.FDB      (embedded: a path only)
//   Database=servidor:/dados/kvo.fdb   (server: host:path or host/port:path)
//   User=SYSDBA
//   Password=masterkey
//   Charset=UTF8
struct ConnectionSettings {
    QString host;     // empty: embedded engine inside this process
    int port = 0;     // 0: the server's default port
    QString path;     // database file (as the server sees it)
    QString user = QStringLiteral("SYSDBA");
    QString password;
    QString charset = QStringLiteral("UTF8");

    bool isEmbedded() const { return host.isEmpty(); }
    // "host/port:path", "host:path" or a plain path (Windows drive paths
    // such as "C:\x.fdb" are paths, not hosts).
    static ConnectionSettings fromTarget(const QString& target);
    QString target() const;

    // Reads a connection file; throws DatabaseError when it is missing or
    // names no database. Relative embedded paths are relative to the file.
    static ConnectionSettings readFile(const QString& fileName);
    void writeFile(const QString& fileName) const;
    // "KVOGestao.ini", else "database.ini", in the folder.
    static std::optional<QString> findConnectionFile(const QString& folder);
    // The connection file of the program folder, read; throws DatabaseError
    // naming the folder when there is none.
    static ConnectionSettings fromProgramFolder();
};

} // namespace kvo
