#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/ULogin.h"
#include "framework/ui/UStatus.h"
#include "shell/EntradasModulo.h"
#include "shell/UMenuCoreGestao.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// A program folder with a connection file for a fresh database and users.
class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::scratchFolder() + QStringLiteral("/shell-") +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir().mkpath(home);
        setProgramFolder(home);
        ConnectionSettings s;
        s.path = test::copyOfTemplate();
        s.writeFile(home + QStringLiteral("/KVOGestao.ini"));
        Database db(s);
        db.open();
        TdmSeguranca seg(db);
        seg.criarGrupo(QStringLiteral("Garçons"));
        seg.criarUsuario(QStringLiteral("Administrador"), QStringLiteral("admin"), {}, true);
        seg.criarUsuario(QStringLiteral("garcom"), QStringLiteral("1234"), QStringLiteral("Garçons"));
        seg.registrarMenu(QStringLiteral("MenuRestaurante1"), QStringLiteral("Menu Restaurante"));
        seg.registrarMenu(QStringLiteral("mni_mov_dav"), QStringLiteral("DAV"));
        seg.concederAcesso(QStringLiteral("Garçons"), QStringLiteral("MenuRestaurante1"));
        seg.concederAcesso(QStringLiteral("Garçons"), QStringLiteral("mni_mov_dav"), false);
    }
    void TearDown() override { setProgramFolder(QString()); }

    // Answers the login dialog once it is up (start-up runs events before it).
    static void loginAs(const QString& user, const QString& password, bool cancel = false) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=] {
            auto* dialog = qobject_cast<TfrmLogin*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            timer->deleteLater();
            if (cancel) {
                dialog->findChild<QPushButton*>(QStringLiteral("btnCancelar"))->click();
                return;
            }
            dialog->findChild<QComboBox*>(QStringLiteral("edtUsuario"))->setCurrentText(user);
            dialog->findChild<QLineEdit*>(QStringLiteral("edtSenha"))->setText(password);
            dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
        });
        timer->start();
    }
    static QStringList visibleEntries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    static void save(QWidget& w, const char* name) {
        QDir().mkpath(QStringLiteral(KVO_SCREENSHOT_DIR));
        w.grab().save(QStringLiteral(KVO_SCREENSHOT_DIR "/") + QString::fromLatin1(name));
    }

    QString home;
    Module module;
    test::ScriptedUi ui;
};

} // namespace

TEST_F(Shell, StartUpShowsItsStepsInOrderThenTheMenu) {
    loginAs(QStringLiteral("Administrador"), QStringLiteral("admin"));
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    ASSERT_NE(menu, nullptr);
    const QStringList expected = {
        QStringLiteral("Carregando modulos..."),       QStringLiteral("Acessando base de dados..."),
        QStringLiteral("Abrindo configurações..."),    QStringLiteral("Abrindo configuração segurança..."),
        QStringLiteral("Verificando abertura de caixa..."), QStringLiteral("Abrindo pessoa..."),
        QStringLiteral("Abrindo produto..."),          QStringLiteral("Abrindo configurações do PAFECF..."),
        QStringLiteral("Abrindo DAV..."),              QStringLiteral("Abrindo Pré-Venda...")};
    TfrmStatus* status = module.find<TfrmStatus>();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->historico(), expected);
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(TdmAcesso::gerarInstance().usuario().nome, u"Administrador");
    EXPECT_EQ(menu->objectName(), u"frmMenuCoreGestao");
}

TEST_F(Shell, ARefusedLoginEndsTheApplication) {
    loginAs({}, {}, true);
    EXPECT_EQ(TfrmMenuCoreGestao::gerarInstance(), nullptr);
}

TEST_F(Shell, ConnectionFileRule) {
    QFile::copy(home + QStringLiteral("/KVOGestao.ini"), home + QStringLiteral("/database.ini"));
    EXPECT_EQ(TfrmMenuCoreGestao::arquivoConexao(), home + QStringLiteral("/KVOGestao.ini"));
    QFile::remove(home + QStringLiteral("/KVOGestao.ini"));
    EXPECT_EQ(TfrmMenuCoreGestao::arquivoConexao(), home + QStringLiteral("/database.ini"));
    QFile::remove(home + QStringLiteral("/database.ini"));
    // With neither, the path of "database.ini" is still what start-up passes on, and it fails there.
    EXPECT_EQ(TfrmMenuCoreGestao::arquivoConexao(), home + QStringLiteral("/database.ini"));
    try {
        TfrmMenuCoreGestao::gerarInstance();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(home + QStringLiteral("/database.ini"))) << e.what();
    }
}

TEST_F(Shell, MainMenuEntriesButtonsAndRights) {
    QFile(home + QStringLiteral("/Ammyy.exe")).open(QIODevice::WriteOnly);
    loginAs(QStringLiteral("Administrador"), QStringLiteral("admin"));
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    ASSERT_NE(menu, nullptr);
    menu->show();
    EXPECT_EQ(visibleEntries(menu->mmiMovimentacao()),
              QStringList({QStringLiteral("DAV"), QStringLiteral("Pré-Venda"), QStringLiteral("Nota Fiscal (NF-e)"),
                           QStringLiteral("-"), QStringLiteral("Menu Restaurante"), QStringLiteral("Venda Balcão")}));
    EXPECT_TRUE(menu->entrada(QStringLiteral("mniMovBalcao"))->isEnabled()); // the quick sale is linked in
    QStringList buttons;
    for (QToolButton* b : menu->pnlBotoes()->findChildren<QToolButton*>())
        buttons << b->parentWidget()->objectName() + u'=' + b->text();
    EXPECT_EQ(buttons, QStringList({QStringLiteral("pnlmni_cad_Pessoa=Pessoas"), QStringLiteral("pnlmni_mov_dav=DAV"),
                                    QStringLiteral("pnlmni_mov_prevenda=Pré-Venda"),
                                    QStringLiteral("pnlNotaFiscaldeSada1=Nota (NF-e)"),
                                    QStringLiteral("pnlmni_cad_prod_Produto=Produtos")}));
    EXPECT_TRUE(menu->entrada(QStringLiteral("mni_sis_SuporteRemoto"))->isVisible()); // Ammyy.exe is there
    EXPECT_FALSE(menu->entrada(QStringLiteral("mni_sis_AtualizarVersao"))->isVisible()); // always hidden
    EXPECT_FALSE(menu->entrada(QStringLiteral("mni_mov_dav"))->isEnabled()); // its screen is not linked in
    // Every register the menu offers has its screen.
    std::function<void(QMenu*)> conferir = [&](QMenu* grupo) {
        for (QAction* a : grupo->actions()) {
            if (a->menu()) {
                conferir(a->menu());
            } else if (!a->isSeparator()) {
                EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
            }
        }
    };
    conferir(menu->mmiCadastro());
    EXPECT_GE(menu->mmiCadastro()->findChildren<QAction*>().size(), 12);
    save(*menu, "menu-principal.png");
}

TEST_F(Shell, AGroupWithoutARightSeesNeitherEntryNorButton) {
    loginAs(QStringLiteral("garcom"), QStringLiteral("1234"));
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    ASSERT_NE(menu, nullptr);
    menu->show();
    EXPECT_FALSE(menu->entrada(QStringLiteral("mni_mov_dav"))->isVisible());
    EXPECT_FALSE(menu->pnlBotoes()->findChild<QWidget*>(QStringLiteral("pnlmni_mov_dav"))->isVisible());
    EXPECT_TRUE(menu->entrada(QStringLiteral("MenuRestaurante1"))->isVisible());
    EXPECT_FALSE(menu->entrada(QStringLiteral("mni_sis_SuporteRemoto"))->isVisible()); // no Ammyy.exe
    EXPECT_FALSE(menu->entrada(QStringLiteral("mni_sis_par_parConfiguracao"))->isVisible());
    EXPECT_FALSE(menu->mmiCadastro()->menuAction()->isVisible()); // nothing left in it for this group
}

TEST_F(Shell, RestaurantEntryChoosesTouchOrClassic) {
    QStringList opened;
    ScreenRegistry::registrar(QStringLiteral("TfrmMenuRestaurante"), [&] { opened << QStringLiteral("classic"); });
    ScreenRegistry::registrar(QStringLiteral("TfrmMenuRestauranteTouch"), [&] { opened << QStringLiteral("touch"); });
    loginAs(QStringLiteral("Administrador"), QStringLiteral("admin"));
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    ASSERT_NE(menu, nullptr);
    QAction* entry = menu->entrada(QStringLiteral("MenuRestaurante1"));
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger(); // unset: classic
    auto& cfg = TdmConfiguracao::gerarInstance();
    cfg.verificaConfiguracao(QStringLiteral("Restaurante"), QStringLiteral("REST.TOUCH"), QStringLiteral("TXT"),
                             QStringLiteral("N"), {});
    cfg.setValor(QStringLiteral("REST.TOUCH"), QStringLiteral("s")); // only "S" means touch
    entry->trigger();
    cfg.setValor(QStringLiteral("REST.TOUCH"), QStringLiteral("S"));
    entry->trigger();
    EXPECT_EQ(opened, QStringList({QStringLiteral("classic"), QStringLiteral("classic"), QStringLiteral("touch")}));
    ScreenRegistry::remover(QStringLiteral("TfrmMenuRestaurante"));
    ScreenRegistry::remover(QStringLiteral("TfrmMenuRestauranteTouch"));
}

TEST_F(Shell, LoginScreenRefusesAWrongPassword) {
    TdmAcesso::gerarInstance().conectarBaseDeDados(home + QStringLiteral("/KVOGestao.ini"));
    TfrmLogin login;
    login.show();
    login.findChild<QComboBox*>(QStringLiteral("edtUsuario"))->setCurrentText(QStringLiteral("garcom"));
    login.findChild<QLineEdit*>(QStringLiteral("edtSenha"))->setText(QStringLiteral("errada"));
    login.btnOkClick();
    EXPECT_EQ(login.result(), 0);
    EXPECT_TRUE(login.isVisible());
    EXPECT_TRUE(login.findChild<QLineEdit*>(QStringLiteral("edtSenha"))->text().isEmpty());
    save(login, "login.png");
}

TEST_F(Shell, StatusWindowIsHiddenBeforeAStartUpErrorIsShown) {
    // The connection file names a database that is not there: start-up stops at its second step.
    ConnectionSettings s;
    s.path = home + QStringLiteral("/dados/NAOEXISTE.FDB");
    s.writeFile(home + QStringLiteral("/KVOGestao.ini"));
    QList<bool> statusVisivel;
    ui.onMessage = [&](const test::ScriptedUi::Message&) {
        TfrmStatus* status = module.find<TfrmStatus>();
        statusVisivel << (status && status->isVisible());
    };
    try {
        TfrmMenuCoreGestao::gerarInstance();
        FAIL() << "start-up went on without its database";
    } catch (const DatabaseError& e) { // what the module entry does with it: the error dialog
        TfrmStatus* status = module.find<TfrmStatus>();
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(status->historico().last(), u"Acessando base de dados...");
        userInterface().showMessage(MessageKind::Error, e.message());
    }
    ASSERT_EQ(statusVisivel.size(), 1);
    EXPECT_FALSE(statusVisivel.first()) << "the always-on-top status window covers the error dialog";
}

TEST_F(Shell, ADatabaseFailureWhileLoggingInIsToldAndTheUserMayTryAgain) {
    bool tentou = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* login = qobject_cast<TfrmLogin*>(QApplication::activeModalWidget());
        if (!login || tentou)
            return;
        tentou = true;
        Database& db = TdmAcesso::gerarInstance().sqlCon();
        db.close(); // the server went away while the login was up
        auto* usuario = login->findChild<QComboBox*>(QStringLiteral("edtUsuario"));
        auto* senha = login->findChild<QLineEdit*>(QStringLiteral("edtSenha"));
        QTest::keyClicks(usuario->lineEdit(), QStringLiteral("Administrador"));
        QTest::keyClick(usuario->lineEdit(), Qt::Key_Tab);
        QTest::keyClicks(senha, QStringLiteral("admin"));
        QTest::keyClick(senha, Qt::Key_Return); // "Entrar" is the default button
        EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados.");
        EXPECT_TRUE(login->isVisible());
        db.open(); // back: the same screen logs in
        QTest::keyClick(senha, Qt::Key_Return);
    });
    timer.start();
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    EXPECT_TRUE(tentou);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TdmAcesso::gerarInstance().usuario().nome, u"Administrador");
}

TEST_F(Shell, ADatabaseFailureInTheMenuIsToldNotThrown) {
    loginAs(QStringLiteral("Administrador"), QStringLiteral("admin"));
    TfrmMenuCoreGestao* menu = TfrmMenuCoreGestao::gerarInstance();
    ASSERT_NE(menu, nullptr);
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    db.close();
    ui.clear();
    menu->show(); // the rights are read while it shows
    EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados.");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    db.open();
    menu->hide();
    ui.clear();
    menu->show();
    EXPECT_TRUE(ui.messages().isEmpty());

    // A button whose screen cannot read its rows.
    db.close();
    ui.clear();
    QTest::mouseClick(menu->findChild<QToolButton*>(QStringLiteral("btnmni_cad_Pessoa")), Qt::LeftButton);
    EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados.");
    db.open();
}

TEST(ModuleLibrary, ExportsTheEntriesTheHostAndOtherProgramsCall) {
    QLibrary library(QStringLiteral(KVO_MODULE_PATH));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    for (const char* entry : {"TfrmMenuCoreGestao_gerarInstance", "kvoCoreGestao_finalizar", "ChamarTela",
                              "TfrmParVenda_ChamaParametro", "TfrmParRestaurante_ChamaParametro", "TfrmNFVenda_Pesq_ChamaTela",
                              "TfrmResPedido_chamatela", "TfrmMenuRestaurante_ChamaTelaECF",
                              "TfrmMenuRestauranteTouch_ChamaTelaECF"})
        EXPECT_NE(library.resolve(entry), nullptr) << entry;
    // Nothing else leaks out of the module: its internals are hidden.
    EXPECT_EQ(library.resolve("_ZN3kvo8Currency6round4Enn"), nullptr);
    // The merge screen is not part of this build yet: the caller's user is told so.
    QString aviso;
    QTimer::singleShot(20, [&] {
        if (auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            aviso = caixa->text();
            caixa->accept();
        }
    });
    using Chamar = bool (*)(Database*, Database*, RecordSet*, RecordSet*, RecordSet*, FiscalPrinter*, void*, Digest*);
    const auto chamar = reinterpret_cast<Chamar>(library.resolve("ChamarTela"));
    ASSERT_NE(chamar, nullptr);
    EXPECT_FALSE(chamar(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(aviso, u"A tela \"TfrmPreVendaMesclar.ChamarTela\" não está disponível nesta versão.");
    reinterpret_cast<void (*)()>(library.resolve("kvoCoreGestao_finalizar"))();
}

TEST(ModuleEntries, KeepWhatTheCallerHandsOverForTheScreen) {
    test::ScriptedUi ui;
    ChamadaExterna recebida;
    ScreenRegistry::registrar(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"), [&] { recebida = chamadaExterna(); });
    auto* ecf = reinterpret_cast<FiscalPrinter*>(0x10);
    auto* assinador = reinterpret_cast<Digest*>(0x20);
    ChamadaExterna chamada;
    chamada.ecf = ecf;
    chamada.assinador = assinador;
    EXPECT_TRUE(entradas::abrirTelaCom(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"), chamada));
    EXPECT_EQ(recebida.ecf, ecf);
    EXPECT_EQ(recebida.assinador, assinador);
    ScreenRegistry::remover(QStringLiteral("TfrmMenuRestaurante.ChamaTelaECF"));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST(ModuleEntries, AFailureInsideAnEntryBecomesTheErrorDialog) {
    test::ScriptedUi ui;
    ScreenRegistry::registrar(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"), [] {
        throw DatabaseError(QStringLiteral("Sem conexão com o banco de dados."), QStringLiteral("select 1 from NFVENDA"));
    });
    bool resultado = true;
    EXPECT_NO_THROW(resultado = entradas::abrirTela(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela")));
    EXPECT_FALSE(resultado);
    EXPECT_EQ(ui.lastMessage(), u"Sem conexão com o banco de dados.");
    ScreenRegistry::registrar(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"), [] { Error(QStringLiteral("Recusado.")); });
    EXPECT_FALSE(entradas::abrirTela(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela")));
    ScreenRegistry::remover(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"));
    EXPECT_FALSE(entradas::abrirTela(QStringLiteral("TfrmNFVenda_Pesq.ChamaTela")));
    EXPECT_EQ(ui.lastMessage(), u"A tela \"TfrmNFVenda_Pesq.ChamaTela\" não está disponível nesta versão.");
}
