// A posting terminal for the exactly-once run: drops numbered tickets in
// turn into manager folders (as the posting rule writes them) and into the
// central queue (through STP_REST_IMPRESSAO).
// postador --prefixo A --quantidade N --intervalo MS [--pasta DIR]... [--banco INI --centralizador C]...
#include "devices/FolderDropTarget.h"
#include "framework/db/Database.h"

#include <QCoreApplication>
#include <QThread>

#include <iostream>

using namespace kvo;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    QString prefixo, banco;
    int quantidade = 0, intervalo = 0;
    QStringList pastas, centralizadores;
    for (qsizetype i = 1; i + 1 < a.size(); i += 2) {
        if (a[i] == u"--prefixo") prefixo = a[i + 1];
        else if (a[i] == u"--quantidade") quantidade = a[i + 1].toInt();
        else if (a[i] == u"--intervalo") intervalo = a[i + 1].toInt();
        else if (a[i] == u"--pasta") pastas << a[i + 1];
        else if (a[i] == u"--banco") banco = a[i + 1];
        else if (a[i] == u"--centralizador") centralizadores << a[i + 1];
    }
    std::unique_ptr<Database> db;
    if (!centralizadores.isEmpty()) {
        db = std::make_unique<Database>(ConnectionSettings::readFile(banco));
        db->open();
    }
    const qsizetype destinos = pastas.size() + centralizadores.size();
    try {
        for (int n = 1; n <= quantidade; ++n) {
            const qsizetype d = n % destinos;
            const QString id = QStringLiteral("%1-%2").arg(prefixo).arg(n, 4, 10, QLatin1Char('0'));
            const QStringList linhas{QStringLiteral("\x1b@"), QStringLiteral("MESA %1").arg(n % 20 + 1),
                                     QStringLiteral("TICKET ") + id, QStringLiteral("PÃO DE QUEIJO"),
                                     QStringLiteral("FRANGO À PARMEGIANA")};
            if (d < pastas.size()) {
                FolderDropTarget(pastas[d], QStringLiteral("PED_"), QStringLiteral(".ped"), FileText::Utf8)
                    .print(ReceiptDocument{QString(), linhas, 0});
            } else {
                db->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_IMPRESSAO(:U, :C, :T, :M, :TI)"),
                               {{QStringLiteral("U"), QStringLiteral("postador")},
                                {QStringLiteral("C"), centralizadores[d - pastas.size()]},
                                {QStringLiteral("T"), QString::fromUtf8(utf8TextBytes(linhas))},
                                {QStringLiteral("M"), n % 20 + 1},
                                {QStringLiteral("TI"), id}});
            }
            std::cout << id.toStdString() << std::endl;
            QThread::msleep(static_cast<unsigned long>(intervalo));
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
    return 0;
}
