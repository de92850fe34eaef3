#pragma once

#include <QDirIterator>
#include <QFile>
#include <QStringList>

namespace kvo::test {

// The production tickets the stations' manager folders under `pasta`
// received (what is still being written in a temp folder does not count).
inline QStringList ticketsRecebidos(const QString& pasta) {
    QStringList out;
    QDirIterator it(pasta, {QStringLiteral("PED_*.ped")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.fileName().contains(QStringLiteral("/temp/")) && f.open(QIODevice::ReadOnly))
            out << QString::fromUtf8(f.readAll());
    }
    return out;
}

} // namespace kvo::test
