// Renders the order screen and the restaurant parameter screen on the demo
// shop's database at 1366x768 (offscreen) for people to look at:
//   kvo_restaurant_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS
// Posts two items on table 4 first when it has no open order.
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
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
    QApplication::processEvents();
    if (!tela.grab().save(arquivo))
        throw std::runtime_error("não foi possível gravar " + arquivo.toStdString());
    std::printf("%s\n", qPrintable(arquivo));
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
        setProgramFolder(QString::fromLocal8Bit(argv[1]));
        const QString saida = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(saida);
        Database db(ConnectionSettings::fromProgramFolder());
        db.open();
        Module module;
        TdmAcesso::gerarInstance().usarConexao(db);
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        TdmConfiguracao::gerarInstance().registrarChaves();
        if (!TdmCaixaAbertura::gerarInstance().caixaAberto())
            TdmCaixaAbertura::gerarInstance().abrir(QDate::currentDate(), Currency(), QStringLiteral("Administrador"));
        TdmResPedido& dm = TdmResPedido::gerarInstance();
        const int mesa = 4;
        if (dm.pedidoAberto(mesa) <= 0) {
            dm.abrirMesa(mesa);
            for (const auto& [codigo, qtde] : {std::pair{"1001", 2}, std::pair{"2001", 3}}) {
                const auto produto = db.scalar(QStringLiteral("select first 1 PRO_CODPESQ_1 from PRODUTO where "
                                                              "coalesce(PRO_PERSONALIZADO, 'N') <> 'S' and PRO_PRECO01 > 0 "
                                                              "and PRO_CODPESQ_1 >= :C order by PRO_CODPESQ_1"),
                                               {{QStringLiteral("C"), QString::fromLatin1(codigo)}});
                dm.cdsResPedidoItem().append();
                dm.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(produto);
                dm.cdsResPedidoItem().field(QStringLiteral("PEDI_QTDE")).setValue(qtde);
                dm.cdsResPedidoItem().post();
            }
            dm.ResPedido_CalculaTotal();
            dm.gravarPedido();
        }
        TfrmResPedido pedido(dm);
        pedido.carregar(QStringLiteral("TransItem"), mesa, 0);
        salvar(pedido, QDir(saida).filePath(QStringLiteral("restaurante-pedido.png")));
        pedido.hide();
        const auto par = abrirParRestaurante(db);
        TfrmParRestaurante parametro(*par);
        salvar(parametro, QDir(saida).filePath(QStringLiteral("restaurante-parametros.png")));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
