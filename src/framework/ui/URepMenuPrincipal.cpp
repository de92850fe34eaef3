#include "framework/ui/URepMenuPrincipal.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvo {

TrepMenuPrincipal_MainMenu::TrepMenuPrincipal_MainMenu(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("KVO Gestão"));
    m_menu = new QMenuBar(this);
    m_menu->setObjectName(QStringLiteral("mmPrincipal"));
    setMenuBar(m_menu);
    m_movimentacao = m_menu->addMenu(QStringLiteral("&Movimentação"));
    m_movimentacao->menuAction()->setObjectName(QStringLiteral("mmiMovimentacao"));
    m_cadastro = m_menu->addMenu(QStringLiteral("&Cadastros"));
    m_cadastro->menuAction()->setObjectName(QStringLiteral("mmiCadastro"));
    m_sistema = m_menu->addMenu(QStringLiteral("&Sistema"));
    m_sistema->menuAction()->setObjectName(QStringLiteral("mmiSistema"));

    adicionarEntrada(m_cadastro, QStringLiteral("mni_cad_Pessoa"), QStringLiteral("&Pessoas"), QStringLiteral("TfrmPessoa"));
    adicionarEntrada(m_cadastro, QStringLiteral("mni_cad_PessoaGrupo"), QStringLiteral("&Grupos de Pessoas"),
                     QStringLiteral("TfrmPessoaGrupo_Pesq"));
    adicionarEntrada(m_cadastro, QStringLiteral("mni_cad_Vendedor"), QStringLiteral("&Vendedores"),
                     QStringLiteral("TfrmVendedor_Pesq"));
    QMenu* prod = m_cadastro->addMenu(QStringLiteral("Pr&odutos"));
    prod->menuAction()->setObjectName(QStringLiteral("mni_cad_prod"));
    adicionarEntrada(prod, QStringLiteral("mni_cad_prod_Produto"), QStringLiteral("P&rodutos"), QStringLiteral("TfrmProduto"));
    adicionarEntrada(prod, QStringLiteral("mni_cad_prod_Grupo"), QStringLiteral("&Grupos"), QStringLiteral("TfrmProdutoGrupo_Pesq"));
    adicionarEntrada(prod, QStringLiteral("mni_cad_prod_Subgrupo"), QStringLiteral("&Subgrupos"),
                     QStringLiteral("TfrmProdutoSubgrupo_Pesq"));
    adicionarEntrada(prod, QStringLiteral("mni_cad_prod_Marca"), QStringLiteral("&Marcas"), QStringLiteral("TfrmMarca_Pesq"));
    adicionarEntrada(prod, QStringLiteral("mni_cad_prod_GrupoPersonalizacao"), QStringLiteral("Grupos de &Personalização"),
                     QStringLiteral("TfrmGrupoPersonalizacao_Pesq"));
    QMenu* fiscal = m_cadastro->addMenu(QStringLiteral("&Fiscal"));
    fiscal->menuAction()->setObjectName(QStringLiteral("mni_cad_fis"));
    adicionarEntrada(fiscal, QStringLiteral("mni_cad_fis_Cfop"), QStringLiteral("&CFOP"), QStringLiteral("TfrmCfop_Pesq"));
    adicionarEntrada(fiscal, QStringLiteral("mni_cad_fis_Serie"), QStringLiteral("&Séries"), QStringLiteral("TfrmSerie_Pesq"));
    QMenu* fin = m_cadastro->addMenu(QStringLiteral("F&inanceiro"));
    fin->menuAction()->setObjectName(QStringLiteral("mni_cad_fin"));
    adicionarEntrada(fin, QStringLiteral("mni_cad_fin_FormaPagamento"), QStringLiteral("&Formas de Pagamento"),
                     QStringLiteral("TfrmFormaPagamento_Pesq"));
    adicionarEntrada(fin, QStringLiteral("mni_cad_fin_Moeda"), QStringLiteral("&Tipos de Moeda"), QStringLiteral("TfrmMoeda_Pesq"));
    adicionarEntrada(fin, QStringLiteral("mni_cad_fin_Banco"), QStringLiteral("&Contas / Bancos"), QStringLiteral("TfrmBanco_Pesq"));
    adicionarEntrada(fin, QStringLiteral("mni_cad_fin_CentroCusto"), QStringLiteral("C&entros de Custo"),
                     QStringLiteral("TfrmCentroCusto_Pesq"));
    QMenu* seg = m_sistema->addMenu(QStringLiteral("S&egurança"));
    seg->menuAction()->setObjectName(QStringLiteral("mni_sis_seg"));
    adicionarEntrada(seg, QStringLiteral("mni_sis_seg_GruposUsuario"), QStringLiteral("&Grupos de Usuário"),
                     QStringLiteral("TfrmUsuarioGrupo_Pesq"));
    adicionarEntrada(seg, QStringLiteral("mni_sis_seg_Usuarios"), QStringLiteral("&Usuários"), QStringLiteral("TfrmUsuario_Pesq"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_par_parConfiguracao"), QStringLiteral("&Configurações"),
                     QStringLiteral("TfrmConfiguracao.chamarTela"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_par_parRestaurante"), QStringLiteral("&Parâmetros de Restaurante"),
                     QStringLiteral("TfrmParRestaurante.ChamaParametro"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_par_parFormularioNF"), QStringLiteral("&Formulário da Nota Fiscal"),
                     QStringLiteral("TfrmParametroImpressaoNF"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_CaixaAbertura"), QStringLiteral("&Abertura de Caixa"),
                     QStringLiteral("TfrmCaixaAbertura.chamarTela"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_SuporteRemoto"), QStringLiteral("Suporte &Remoto"),
                     QStringLiteral("SuporteRemoto"));
    adicionarEntrada(m_sistema, QStringLiteral("mni_sis_AtualizarVersao"), QStringLiteral("A&tualizar Versão"),
                     QStringLiteral("AtualizarVersao"));
    m_sistema->addSeparator();
    QAction* sair = m_sistema->addAction(QStringLiteral("Sai&r"), this, &QWidget::close);
    sair->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_botoes = new QWidget(central);
    m_botoes->setObjectName(QStringLiteral("pnlBotoes"));
    m_botoesLayout = new QHBoxLayout(m_botoes);
    m_botoesLayout->setContentsMargins(0, 0, 0, 0);
    m_botoesLayout->addStretch();
    layout->addWidget(m_botoes);
    auto* logo = new QLabel(QStringLiteral("KVO Gestão"), central);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setAlignment(Qt::AlignCenter);
    QFont f = logo->font();
    f.setPointSize(f.pointSize() * 3);
    f.setBold(true);
    logo->setFont(f);
    logo->setStyleSheet(QStringLiteral("color: #9aa7b0"));
    layout->addWidget(logo, 1);
    setCentralWidget(central);
    adicionarBotao(QStringLiteral("mni_cad_Pessoa"), QStringLiteral("Pessoas"));
    statusBar()->setObjectName(QStringLiteral("stbStatus"));
    resize(900, 600);
}

QAction* TrepMenuPrincipal_MainMenu::entrada(const QString& nome) const {
    for (QAction* a : m_menu->findChildren<QAction*>())
        if (a->objectName() == nome)
            return a;
    return nullptr;
}

QAction* TrepMenuPrincipal_MainMenu::adicionarEntrada(QMenu* grupo, const QString& nome, const QString& titulo,
                                                      const QString& tela) {
    QAction* a = adicionarEntrada(grupo, nome, titulo, [tela] {
        if (!ScreenRegistry::abrir(tela))
            Alerta(QStringLiteral("Esta tela ainda não está disponível nesta versão."));
    });
    a->setEnabled(ScreenRegistry::existe(tela));
    return a;
}

QAction* TrepMenuPrincipal_MainMenu::adicionarEntrada(QMenu* grupo, const QString& nome, const QString& titulo,
                                                      std::function<void()> acao) {
    QAction* a = new QAction(titulo, grupo);
    a->setObjectName(nome);
    grupo->addAction(a);
    connect(a, &QAction::triggered, this, [acao] { tratarEvento(acao); });
    return a;
}

void TrepMenuPrincipal_MainMenu::adicionarBotao(const QString& entradaNome, const QString& titulo) {
    QAction* a = entrada(entradaNome);
    auto* painel = new QWidget(m_botoes);
    painel->setObjectName(QStringLiteral("pnl") + entradaNome);
    auto* l = new QVBoxLayout(painel);
    l->setContentsMargins(0, 0, 0, 0);
    auto* botao = new QToolButton(painel);
    botao->setObjectName(QStringLiteral("btn") + entradaNome);
    botao->setText(titulo);
    botao->setMinimumSize(96, 56);
    l->addWidget(botao);
    if (a) {
        botao->setEnabled(a->isEnabled());
        connect(botao, &QToolButton::clicked, a, &QAction::trigger);
        connect(a, &QAction::changed, botao, [botao, a] { botao->setEnabled(a->isEnabled()); });
    }
    m_botoesLayout->insertWidget(m_botoesLayout->count() - 1, painel);
}

void TrepMenuPrincipal_MainMenu::VerificarMenuItensNegados(QMenuBar* menu) {
    std::function<bool(QMenu*)> tidy = [&](QMenu* m) {
        bool any = false;
        QAction* lastVisibleSeparator = nullptr;
        bool previousWasSeparator = true; // no separator at the top
        for (QAction* a : m->actions()) {
            if (a->menu())
                a->setVisible(tidy(a->menu()));
            if (a->isSeparator()) {
                a->setVisible(!previousWasSeparator);
                if (a->isVisible())
                    lastVisibleSeparator = a;
                previousWasSeparator = true;
            } else if (a->isVisible()) {
                any = true;
                previousWasSeparator = false;
                lastVisibleSeparator = nullptr;
            }
        }
        if (lastVisibleSeparator)
            lastVisibleSeparator->setVisible(false); // none at the bottom
        return any;
    };
    for (QAction* top : menu->actions())
        if (top->menu())
            top->setVisible(tidy(top->menu()));
}

bool TrepMenuPrincipal_MainMenu::event(QEvent* event) {
    bool tratado = false;
    tratarEvento([&] { tratado = QMainWindow::event(event); });
    return tratado;
}

void TrepMenuPrincipal_MainMenu::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void TrepMenuPrincipal_MainMenu::FormShow() {
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    const QString empresa = acesso.conectado() ? acesso.empresa().fantasia : QString();
    statusBar()->showMessage(QStringLiteral("Usuário: %1   |   Empresa: %2").arg(acesso.usuario().nome, empresa));
}

} // namespace kvo
