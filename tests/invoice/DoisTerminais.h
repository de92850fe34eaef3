#pragma once

#include "support/TestDatabase.h"

#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

namespace kvo::test {

// Two terminals on the test server saving invoices in series "1" at once:
// the program folder both use and what the series held before.
struct DoisTerminais {
    ConnectionSettings ajustes;
    QString home;
    QProcessEnvironment env;
    int seqAntes = 0;

    // A fresh server database with the shop's registers; `preparar` runs on
    // it before the series counter is read.
    static DoisTerminais preparar(const QString& nomePasta, const std::function<void(Database&)>& preparar = {});
    // Runs the program twice at once with these arguments and returns the
    // lines both wrote; an exit other than 0 fails the test.
    QStringList rodar(const QString& programa, const QStringList& argumentos, int msEspera) const;
    // 200 distinct numbers in the lines and in series "1", and SER_SEQ
    // advanced by 200.
    void conferirDuzentas(const QStringList& linhas) const;
};

} // namespace kvo::test
