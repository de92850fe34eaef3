#include "devices/FolderDropTarget.h"

#include "core/Clock.h"
#include "core/Format.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kvo {

FolderDropTarget::FolderDropTarget(const QString& folder, const QString& prefix, const QString& extension,
                                   FileText text)
    : m_folder(folder), m_prefix(prefix), m_extension(extension), m_text(text) {}

QString FolderDropTarget::print(const ReceiptDocument& document) {
    const QDir dir(m_folder);
    const QString tempFolder = dir.filePath(QStringLiteral("temp"));
    if (!QDir().mkpath(tempFolder))
        throw PrintError(QStringLiteral("Não foi possível criar a pasta %1").arg(tempFolder));

    const QString stem = m_prefix + formatDateTime(u"yyyymmdd_hhnnss", Clock::now());
    // A unique temporary name: several terminals may drop into the same folder.
    QTemporaryFile temp(QDir(tempFolder).filePath(stem + QStringLiteral("_XXXXXX") + m_extension));
    const QByteArray bytes =
        m_text == FileText::Utf8 ? utf8TextBytes(document.lines) : receiptBytes(document.lines);
    if (!temp.open() || temp.write(bytes) != bytes.size() || !temp.flush())
        throw PrintError(QStringLiteral("Não foi possível imprimir em %1").arg(tempFolder));
    temp.close();

    // A name taken meanwhile, by this or another terminal, is skipped.
    for (int n = 1; n <= 1000; ++n) {
        const QString suffix = n == 1 ? QString() : QStringLiteral("_%1").arg(n);
        const QString name = stem + suffix + m_extension;
        const QString final = dir.filePath(name);
        if (QFile::exists(final))
            continue;
        if (moveNoReplace(temp.fileName(), final)) {
            temp.setAutoRemove(false);
            return final;
        }
    }
    throw PrintError(QStringLiteral("Não foi possível imprimir em %1").arg(m_folder));
}

bool moveNoReplace(const QString& from, const QString& to) {
    const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
    // QFile::rename checks and then renames: two processes may both pass the
    // check and the second rename replaces the first file.
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a hard link also fails when the name exists.
    if (::link(f.constData(), t.constData()) != 0)
        return false;
    ::unlink(f.constData());
    return true;
}

} // namespace kvo
