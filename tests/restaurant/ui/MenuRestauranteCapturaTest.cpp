// Pictures of the restaurant map on a copy of the demo shop, for
// scripts/screenshots-restaurante-mapa (skipped unless it sets the folders).
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/ScreenRegistry.h"
#include "restaurant/DResPedido.h"
#include "restaurant/ui/UMenuRestaurante.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QPixmap>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// Posts the first products of the demo on a table, as the order screen does.
int lancar(int mesa, const QStringList& codigos) {
    TdmResPedido& p = TdmResPedido::gerarInstance();
    p.abrirMesa(mesa);
    for (const QString& codigo : codigos) {
        p.cdsResPedidoItem().append();
        p.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(codigo);
        p.cdsResPedidoItem().field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(Currency(2)));
        p.cdsResPedidoItem().post();
    }
    p.ResPedido_CalculaTotal();
    p.gravarPedido();
    return int(p.cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
}

bool guardar(QWidget* tela, const QString& arquivo) {
    QTest::qWait(50);
    const QPixmap foto = tela->grab();
    return !foto.isNull() && foto.width() >= 1366 && foto.save(arquivo);
}

} // namespace

TEST(CapturaMapa, DemoShopAt1366x768) {
    const QString home = qEnvironmentVariable("KVO_CAPTURA_HOME");
    const QString saida = qEnvironmentVariable("KVO_CAPTURA_DIR");
    if (home.isEmpty() || saida.isEmpty())
        GTEST_SKIP() << "only for scripts/screenshots-restaurante-mapa";
    setProgramFolder(home);
    Module module;
    test::ScriptedUi ui;
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    acesso.conectarBaseDeDados(QDir(home).filePath(QStringLiteral("KVOGestao.ini")));
    acesso.setUsuario({1, QStringLiteral("Administrador"), 1, true});
    TdmConfiguracao::gerarInstance().registrarChaves();
    TdmCaixaAbertura& caixa = TdmCaixaAbertura::gerarInstance();
    if (!caixa.caixaAberto())
        caixa.abrir(QDate::currentDate(), Currency(), QStringLiteral("Administrador"));

    Database& db = acesso.sqlCon();
    QStringList codigos;
    const auto produtos = db.query(QStringLiteral("select first 5 PRO_CODPESQ_1 from PRODUTO where "
                                                  "coalesce(PRO_PERSONALIZADO, 'N') <> 'S' order by CODPRODUTO"));
    for (produtos->first(); !produtos->eof(); produtos->next())
        codigos << produtos->field(0).asString();
    ASSERT_FALSE(codigos.isEmpty());
    const int mesa2 = lancar(2, codigos);
    lancar(3, codigos.mid(0, 2));
    const int mesa5 = lancar(5, codigos.mid(1, 3));
    const int mesa8 = lancar(8, codigos.mid(2, 1));
    lancar(13, codigos.mid(0, 1));
    db.executeSQL(QStringLiteral("update RES_PEDIDO set PED_IMPRESSO = 'S' where CODPEDIDO = %1").arg(mesa5));
    db.executeSQL(QStringLiteral("update RES_PEDIDO set PED_DT_ULT_MOV = dateadd(-45 minute to current_timestamp) "
                                 "where CODPEDIDO = %1").arg(mesa8));
    TdmResPedido& p = TdmResPedido::gerarInstance(); // one unit of the first item cancelled on table 2
    p.CarregarResVenda(mesa2);
    p.cdsResPedido().edit();
    p.cdsResPedidoItem().first();
    p.gravarPedido(QStringList{p.cancelarItem(int(p.cdsResPedidoItem().field(QStringLiteral("CODPEDIDOITEM")).asInteger()),
                                              Currency(1), QStringLiteral("cliente desistiu"))});
    p.FecharResVenda();

    registrarTelasMenuRestaurante();
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmMenuRestaurante")));
    TfrmMenuRestaurante* mapa = menuRestauranteAberto();
    ASSERT_NE(mapa, nullptr);
    mapa->resize(1366, 768);
    QTest::qWait(50);
    auto* grade = mapa->findChild<QTableWidget*>(QStringLiteral("grdMapa"));
    grade->setCurrentCell(0, 1); // table 2
    grade->setFocus();
    QDir().mkpath(saida);
    EXPECT_TRUE(guardar(mapa, QDir(saida).filePath(QStringLiteral("mapa-itens-embaixo.png"))));

    TdmConfiguracao::gerarInstance().setValor(QStringLiteral("REST.IT.INF"), QStringLiteral("N"));
    {
        TfrmMenuRestaurante direita;
        direita.show();
        direita.resize(1366, 768);
        QTest::qWait(50);
        auto* g = direita.findChild<QTableWidget*>(QStringLiteral("grdMapa"));
        g->setCurrentCell(0, 4); // table 5, bill printed
        EXPECT_TRUE(guardar(&direita, QDir(saida).filePath(QStringLiteral("mapa-itens-direita.png"))));
    }
    TdmConfiguracao::gerarInstance().setValor(QStringLiteral("REST.IT.INF"), QStringLiteral("S"));
    delete mapa;
}
