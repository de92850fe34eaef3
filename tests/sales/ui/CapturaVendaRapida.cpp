// Renders the quick-sale screen closing a demo table, with two payments
// typed, at 1024x768 (offscreen) for people to look at:
//   kvo_sales_capturas PASTA_DO_PROGRAMA PASTA_DAS_IMAGENS
// Posts three items on table 5 first when it has no open order.
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/DResPedido.h"
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
        const int mesa = 5;
        if (dm.pedidoAberto(mesa) <= 0) {
            dm.abrirMesa(mesa);
            for (const auto& [codigo, qtde] : {std::pair{"1001", 2}, std::pair{"2001", 3}, std::pair{"3001", 1}}) {
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
        QApplication::processEvents();
        const QString arquivo = QDir(saida).filePath(QStringLiteral("venda-rapida-fechamento.png"));
        if (!tela.grab().save(arquivo))
            throw std::runtime_error("não foi possível gravar " + arquivo.toStdString());
        std::printf("%s\n", qPrintable(arquivo));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
