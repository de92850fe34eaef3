// Renders the order screen and the restaurant parameter screen on the demo
// shop's database at 1366x768 (offscreen) for people to look at:
//   kvo_restaurant_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS
// Posts two items on table 4 first when it has no open order.
#include "TerminalDemo.h"

#include "framework/ui/UserInterface.h"
#include "restaurant/ParametroRestaurante.h"
#include "restaurant/ui/UParRestaurante.h"
#include "restaurant/ui/UResPedido.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

using namespace kvo;

namespace {
void salvar(QWidget& tela, const QString& arquivo) {
    tela.resize(1366, 768);
    tela.show();
    test::TerminalDemo::salvar(tela, arquivo);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: kvo_restaurant_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS\n");
        return 2;
    }
    try {
        const QString saida = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(saida);
        test::TerminalDemo terminal(QString::fromLocal8Bit(argv[1]));
        const int mesa = 4;
        terminal.lancarMesa(mesa, {{"1001", 2}, {"2001", 3}});
        TdmResPedido& dm = TdmResPedido::gerarInstance();
        TfrmResPedido pedido(dm);
        pedido.carregar(QStringLiteral("TransItem"), mesa, 0);
        salvar(pedido, QDir(saida).filePath(QStringLiteral("restaurante-pedido.png")));
        pedido.hide();
        const auto par = abrirParRestaurante(terminal.db());
        TfrmParRestaurante parametro(*par);
        salvar(parametro, QDir(saida).filePath(QStringLiteral("restaurante-parametros.png")));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
