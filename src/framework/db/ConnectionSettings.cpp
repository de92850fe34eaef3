#include "framework/db/ConnectionSettings.h"

#include "core/Paths.h"
#include "framework/db/DatabaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kvo {

ConnectionSettings ConnectionSettings::fromTarget(const QString& target) {
    ConnectionSettings s;
    const QString t = target.trimmed();
    const qsizetype colon = t.indexOf(u':');
    // "C:\..." or "c:/..." is a drive, not a host named "C".
    const bool drive = colon == 1 && t.size() > 2 && (t[2] == u'\\' || t[2] == u'/');
    if (colon > 0 && !drive) {
        QString hostPart = t.left(colon);
        s.path = t.mid(colon + 1);
        const qsizetype slash = hostPart.indexOf(u'/');
        if (slash >= 0) {
            s.port = hostPart.mid(slash + 1).toInt();
            hostPart = hostPart.left(slash);
        }
        s.host = hostPart;
    } else {
        s.path = t;
    }
    return s;
}

QString ConnectionSettings::target() const {
    if (isEmbedded())
        return path;
    return host + (port ? u'/' + QString::number(port) : QString()) + u':' + path;
}

ConnectionSettings ConnectionSettings::readFile(const QString& fileName) {
    if (!QFileInfo::exists(fileName))
        throw DatabaseError(QStringLiteral("Arquivo de conexão não encontrado: %1").arg(fileName));
    QSettings ini(fileName, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Database"));
    const QString target = ini.value(QStringLiteral("Database")).toString();
    if (target.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("O arquivo de conexão %1 não informa o banco de dados "
                                           "(seção [Database], chave Database).").arg(fileName));
    ConnectionSettings s = fromTarget(target);
    s.user = ini.value(QStringLiteral("User"), s.user).toString();
    s.password = ini.value(QStringLiteral("Password")).toString();
    s.charset = ini.value(QStringLiteral("Charset"), s.charset).toString();
    if (s.isEmbedded()) {
        const bool windowsStyle = s.path.contains(u'\\') || (s.path.size() > 1 && s.path[1] == u':');
        if (windowsStyle)
            s.path = localPath(s.path);
        else if (QFileInfo(s.path).isRelative())
            s.path = QFileInfo(fileName).absoluteDir().absoluteFilePath(s.path);
    }
    return s;
}

void ConnectionSettings::writeFile(const QString& fileName) const {
    QSettings ini(fileName, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Database"));
    ini.setValue(QStringLiteral("Database"), target());
    ini.setValue(QStringLiteral("User"), user);
    ini.setValue(QStringLiteral("Password"), password);
    ini.setValue(QStringLiteral("Charset"), charset);
    ini.endGroup();
    ini.sync();
    if (ini.status() != QSettings::NoError)
        throw DatabaseError(QStringLiteral("Não foi possível gravar o arquivo de conexão %1").arg(fileName));
}

std::optional<QString> ConnectionSettings::findConnectionFile(const QString& folder) {
    for (const char* name : {"KVOGestao.ini", "database.ini"}) {
        const QString candidate = QDir(folder).absoluteFilePath(QString::fromLatin1(name));
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return std::nullopt;
}

ConnectionSettings ConnectionSettings::fromProgramFolder() {
    const QString folder = programFolder();
    const auto file = findConnectionFile(folder);
    if (!file)
        throw DatabaseError(QStringLiteral("Arquivo de conexão não encontrado: KVOGestao.ini ou database.ini em %1")
                                .arg(folder));
    return readFile(*file);
}

} // namespace kvo
