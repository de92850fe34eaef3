// Pictures of the touch map on a 1024x768 display with the demo shop, for
// scripts/screenshots-restaurante-touch (skipped unless it sets the folders).
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/ScreenRegistry.h"
#include "restaurant/DResPedido.h"
#include "restaurant/ui/UMenuRestauranteTouch.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// The window as a 1024x768 display shows it: its size and place are the
// screen's (height less 210, width less 20, 45 above the middle).
bool guardar(QWidget* tela, const QString& arquivo) {
    QTest::qWait(50);
    const QPixmap janela = tela->grab();
    QPixmap tela1024(1024, 768);
    tela1024.fill(QColor(0x3a, 0x4a, 0x5a));
    QPainter p(&tela1024);
    p.drawPixmap((1024 - janela.width()) / 2, std::max(0, (768 - janela.height()) / 2 - 45), janela);
    p.end();
    EXPECT_EQ(janela.size(), QSize(1004, 558));
    return tela1024.save(arquivo);
}

void toque(QWidget* tela, const QString& nome) {
    auto* b = tela->findChild<QPushButton*>(nome);
    ASSERT_NE(b, nullptr) << nome.toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
}
void teclado(QWidget* tela, const QString& digitos) {
    for (QChar c : digitos)
        toque(tela, QStringLiteral("btnTecla") + c);
}
void tocarCampo(QWidget* tela, const char* nome) {
    QTest::mouseClick(tela->findChild<QLineEdit*>(QString::fromLatin1(nome)), Qt::LeftButton);
}

} // namespace

TEST(CapturaTouch, DemoShopAt1024x768) {
    const QString home = qEnvironmentVariable("KVO_CAPTURA_HOME");
    const QString saida = qEnvironmentVariable("KVO_CAPTURA_DIR");
    if (home.isEmpty() || saida.isEmpty())
        GTEST_SKIP() << "only for scripts/screenshots-restaurante-touch";
    setProgramFolder(home);
    Module module;
    test::ScriptedUi ui;
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    acesso.conectarBaseDeDados(QDir(home).filePath(QStringLiteral("KVOGestao.ini")));
    acesso.setUsuario({1, QStringLiteral("Administrador"), 1, true});
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    cfg.registrarChaves();
    cfg.setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    TdmCaixaAbertura& caixa = TdmCaixaAbertura::gerarInstance();
    if (!caixa.caixaAberto())
        caixa.abrir(QDate::currentDate(), Currency(), QStringLiteral("Administrador"));
    // A few tables in use, as in an evening.
    TdmResPedido& p = TdmResPedido::gerarInstance();
    for (int mesa : {2, 5, 8}) {
        p.abrirMesa(mesa);
        p.cdsResPedidoItem().append();
        p.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(QStringLiteral("2002"));
        p.cdsResPedidoItem().post();
        p.ResPedido_CalculaTotal();
        p.gravarPedido();
    }
    p.FecharResVenda();

    registrarTelasMenuRestauranteTouch();
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmMenuRestauranteTouch")));
    TfrmMenuRestauranteTouch* tela = menuRestauranteTouchAberto();
    ASSERT_NE(tela, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tela));
    tela->resize(1004, 558);
    QDir().mkpath(saida);
    tocarCampo(tela, "edtMesa");
    teclado(tela, QStringLiteral("5"));
    EXPECT_TRUE(guardar(tela, QDir(saida).filePath(QStringLiteral("touch-0-mesa.png"))));
    toque(tela, QStringLiteral("btnLancar"));
    teclado(tela, QStringLiteral("1"));
    tocarCampo(tela, "edtSenha");
    teclado(tela, QStringLiteral("1111"));
    EXPECT_TRUE(guardar(tela, QDir(saida).filePath(QStringLiteral("touch-1-garcon.png"))));
    toque(tela, QStringLiteral("btnLancar"));
    for (const char* codigo : {"1003", "2001"}) {
        teclado(tela, QString::fromLatin1(codigo));
        toque(tela, QStringLiteral("btnAdItem"));
    }
    teclado(tela, QStringLiteral("2002"));
    tocarCampo(tela, "getQtde");
    EXPECT_EQ(tela->lancamento().estado(), LancamentoTouch::Estado::Lancando);
    EXPECT_TRUE(guardar(tela, QDir(saida).filePath(QStringLiteral("touch-2-lancamento.png"))));
    for (const auto& m : ui.messages())
        ADD_FAILURE() << m.text.toStdString();
    tela->lancamento().encerrar();
    delete tela;
}
