// Renders the quick-sale screen closing a demo table, with two payments
// typed, at 1024x768 (offscreen) for people to look at:
//   kvo_sales_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS
// Posts three items on table 5 first when it has no open order.
#include "../../restaurant/ui/TerminalDemo.h"

#include "sales/ui/UVendaRapida.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

using namespace kvo;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: kvo_sales_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS\n");
        return 2;
    }
    try {
        const QString saida = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(saida);
        test::TerminalDemo terminal(QString::fromLocal8Bit(argv[1]));
        const int mesa = 5;
        terminal.lancarMesa(mesa, {{"1001", 2}, {"2001", 3}, {"3001", 1}});
        TfrmVendaRapida tela({0, 0, 0});
        tela.resize(1024, 768);
        tela.show();
        QApplication::processEvents();
        // As the cashier types it: the table, a card part, then cash with change.
        QTest::keyClicks(QApplication::focusWidget(), QString::number(mesa));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("30"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("150"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        test::TerminalDemo::salvar(tela, QDir(saida).filePath(QStringLiteral("venda-rapida-fechamento.png")));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
