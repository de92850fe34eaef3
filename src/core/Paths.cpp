#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace kvo {

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    const QString env = qEnvironmentVariable("KVO_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void setProgramFolder(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString localPath(const QString& storedPath) {
    QString p = storedPath.trimmed();
    if (p.isEmpty())
        return p;
    const bool trailingSlash = p.endsWith(u'\\') || p.endsWith(u'/');
    p.replace(u'\\', u'/');
    QString result;
    if (p.size() >= 2 && p[1] == u':' && p[0].isLetter()) {
        result = programFolder() + QStringLiteral("/drive_") + p[0].toLower() + u'/' + p.mid(2);
    } else if (p.startsWith(u'/') && storedPath.trimmed().startsWith(u'\\')) {
        result = programFolder() + p; // "\evento": relative to the program folder
    } else if (QDir::isAbsolutePath(p)) {
        result = p;
    } else {
        result = programFolder() + u'/' + p;
    }
    result = QDir::cleanPath(result);
    if (trailingSlash)
        result += u'/';
    return result;
}

} // namespace kvo
