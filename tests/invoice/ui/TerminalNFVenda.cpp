// One terminal saving new invoices through the invoice screen, as a user
// does with the keyboard (customer, CFOP, F2), on the database of a program
// folder: `kvo_nfvenda_terminal PASTA VEZES` prints "NUMERO SERIE" per invoice.
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/UNFVenda.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QTextStream>

#include <cstdio>

using namespace kvo;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: kvo_nfvenda_terminal PASTA VEZES\n");
        return 2;
    }
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    const int vezes = QString::fromLatin1(argv[2]).toInt();
    test::ScriptedUi ui; // a question would fail loudly: none is expected
    Module module;
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        TdmAcesso::gerarInstance().conectarBaseDeDados(pasta + QStringLiteral("/KVOGestao.ini"));
        for (int i = 0; i < vezes; ++i) {
            TfrmNFVenda tela;
            tela.novaNota();
            tela.show();
            tela.activateWindow();
            if (!QTest::qWaitForWindowActive(&tela))
                throw std::runtime_error("a tela não ficou ativa");
            for (const char* texto : {"1", "5102"}) {
                QTest::keyClicks(tela.focusWidget(), QString::fromLatin1(texto));
                QTest::keyClick(tela.focusWidget(), Qt::Key_Return);
            }
            QTest::keyClick(tela.focusWidget(), Qt::Key_F2);
            for (int espera = 0; espera < 100 && tela.isVisible(); ++espera)
                QTest::qWait(20); // the OK button clicks itself a moment after its key
            if (tela.isVisible()) {
                err << "não gravou: " << ui.lastMessage() << Qt::endl;
                return 1;
            }
            const RecordSet& c = TdmNFVenda::gerarInstance().cdsNFVenda();
            out << c.field(QStringLiteral("CODNFVENDA")).asInteger() << ' '
                << c.field(QStringLiteral("CODSERIE")).asString().trimmed() << Qt::endl;
        }
    } catch (const std::exception& e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
