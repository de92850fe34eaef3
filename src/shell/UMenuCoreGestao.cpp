#include "shell/UMenuCoreGestao.h"

#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/Seguranca.h"
#include "framework/ui/TelasHost.h"
#include "framework/ui/ULogin.h"
#include "framework/ui/UStatus.h"
#include "framework/ui/UserInterface.h"
#include "invoice/ui/RegistroTelasNFVenda.h"
#include "invoice/relatorio/ui/TelasNFVendaRelatorio.h"
#include "registers/DECF.h"
#include "invoice/pesq/TelasNFVendaPesq.h"
#include "registers/ui/TelasCadastros.h"
#include "registers/DPessoa.h"
#include "registers/DPreVenda.h"
#include "registers/DProduto.h"
#include "restaurant/ui/UMenuRestaurante.h"
#include "restaurant/ui/UMenuRestauranteTouch.h"
#include "restaurant/ui/UResPedido.h"
#include "sales/ui/UMenuCorePDV.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace kvo {

namespace {

// Holds the menu window in the module so it lives as long as the services.
struct MenuHolder {
    std::unique_ptr<TfrmMenuCoreGestao> menu;
};

// While start-up runs, the status window stays on top of everything and would
// cover a dialog: any message hides it first, and leaving start-up (also by
// a failure, whose message the caller shows) hides it too.
class PortaDaPartida : public UserInterface {
public:
    explicit PortaDaPartida(TfrmStatus& status) : m_status(status), m_porta(userInterface()) { setUserInterface(this); }
    ~PortaDaPartida() override {
        m_status.hide();
        setUserInterface(&m_porta);
    }
    void showMessage(MessageKind kind, const QString& message) override {
        m_status.hide();
        m_porta.showMessage(kind, message);
    }
    bool ask(const QString& message, bool defaultYes) override {
        m_status.hide();
        return m_porta.ask(message, defaultYes);
    }
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                 bool password) override {
        m_status.hide();
        return m_porta.input(caption, prompt, initial, password);
    }
    std::optional<QString> chooseFile(const QString& caption, const QString& filter, bool forSaving) override {
        m_status.hide();
        return m_porta.chooseFile(caption, filter, forSaving);
    }

private:
    TfrmStatus& m_status;
    UserInterface& m_porta;
};

} // namespace

TfrmMenuCoreGestao::TfrmMenuCoreGestao(QWidget* parent) : TrepMenuPrincipal_MainMenu(parent) {
    setObjectName(QStringLiteral("frmMenuCoreGestao"));
    QMenu* mov = mmiMovimentacao();
    adicionarEntrada(mov, QStringLiteral("mni_mov_dav"), QStringLiteral("DAV"), QStringLiteral("TfrmDav_Pesq.ChamaTela"));
    adicionarEntrada(mov, QStringLiteral("mni_mov_prevenda"), QStringLiteral("Pré-Venda"),
                     QStringLiteral("TfrmPreVenda_Pesq.ChamaTela"));
    adicionarEntrada(mov, QStringLiteral("NotaFiscaldeSada1"), QStringLiteral("Nota Fiscal (NF-e)"),
                     QStringLiteral("TfrmNFVenda_Pesq.ChamaTela"));
    mov->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction* restaurante = adicionarEntrada(mov, QStringLiteral("MenuRestaurante1"), QStringLiteral("Menu Restaurante"),
                                            [this] { MenuRestaurante1Click(); });
    restaurante->setEnabled(ScreenRegistry::existe(QStringLiteral("TfrmMenuRestauranteTouch")) ||
                            ScreenRegistry::existe(QStringLiteral("TfrmMenuRestaurante")));
    adicionarEntrada(mov, QStringLiteral("mniMovBalcao"), QStringLiteral("Venda Balcão"),
                     QStringLiteral("TfrmVendaRapida"));
    adicionarBotao(QStringLiteral("mni_mov_dav"), QStringLiteral("DAV"));
    adicionarBotao(QStringLiteral("mni_mov_prevenda"), QStringLiteral("Pré-Venda"));
    adicionarBotao(QStringLiteral("NotaFiscaldeSada1"), QStringLiteral("Nota (NF-e)"));
    adicionarBotao(QStringLiteral("mni_cad_prod_Produto"), QStringLiteral("Produtos"));
}

void TfrmMenuCoreGestao::MenuRestaurante1Click() {
    const bool touch = TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.TOUCH")) == QLatin1String("S");
    ScreenRegistry::abrir(touch ? QStringLiteral("TfrmMenuRestauranteTouch") : QStringLiteral("TfrmMenuRestaurante"));
}

void TfrmMenuCoreGestao::FormShow() {
    TrepMenuPrincipal_MainMenu::FormShow();
    verificarmenu();
}

void TfrmMenuCoreGestao::verificarmenu() {
    TwbtSeguranca seguranca;
    seguranca.SetBotoes(pnlBotoes());
    seguranca.SetMenu(mmPrincipal());
    seguranca.MenuExecute();
    if (QAction* suporte = entrada(QStringLiteral("mni_sis_SuporteRemoto"));
        suporte && !QFile::exists(QDir(programFolder()).filePath(QStringLiteral("Ammyy.exe"))))
        suporte->setVisible(false);
    VerificarMenuItensNegados(mmPrincipal());
    if (QAction* atualizar = entrada(QStringLiteral("mni_sis_AtualizarVersao")))
        atualizar->setVisible(false);
}

QString TfrmMenuCoreGestao::arquivoConexao() {
    const QDir pasta(programFolder());
    const QString principal = pasta.filePath(QStringLiteral("KVOGestao.ini"));
    return QFile::exists(principal) ? principal : pasta.filePath(QStringLiteral("database.ini"));
}

// Steps 1 to 13 of start-up: the host services in their fixed order.
void TfrmMenuCoreGestao::iniciarServicos(TfrmStatus& status) {
    PortaDaPartida porta(status); // hides the status window when done or failed
    auto mostrar = [&](const char* texto) { status.mostrar(QStringLiteral("KVOGestão"), QString::fromUtf8(texto)); };
    mostrar("Carregando modulos...");
    mostrar("Acessando base de dados...");
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    acesso.conectarBaseDeDados(arquivoConexao());
    mostrar("Abrindo configurações...");
    TdmConfiguracao::gerarInstance().registrarChaves();
    mostrar("Abrindo configuração segurança...");
    TdmSeguranca::gerarInstance();
    mostrar("Verificando abertura de caixa...");
    TdmCaixaAbertura::gerarInstance();
    mostrar("Abrindo pessoa...");
    TdmPessoa::gerarInstance();
    mostrar("Abrindo produto...");
    TdmProduto::gerarInstance();
    mostrar("Abrindo configurações do PAFECF...");
    TdmPAF::gerarInstance();
    TdmECF::gerarInstance();
    mostrar("Abrindo DAV...");
    TdmDav::gerarInstance();
    mostrar("Abrindo Pré-Venda...");
    TdmPreVenda::gerarInstance();
}

TfrmMenuCoreGestao* TfrmMenuCoreGestao::gerarInstance() {
    Module& module = Module::current();
    iniciarServicos(module.instance<TfrmStatus>());
    if (!TfrmLogin::chamaLogin(true))
        return nullptr;
    registrarTelasHost();
    registrarTelasCadastros();
    registrarTelasNFVendaPesq();
    registrarTelasMenuRestaurante();
    registrarTelasMenuRestauranteTouch();
    registrarTelasNFVenda();
    registrarTelasPedido();
    registrarTelasNFVendaRelatorio();
    registrarTelasVendaRapida();
    MenuHolder& holder = module.instance<MenuHolder>();
    holder.menu = std::make_unique<TfrmMenuCoreGestao>();
    return holder.menu.get();
}

} // namespace kvo
