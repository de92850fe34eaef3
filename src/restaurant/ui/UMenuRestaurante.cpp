#include "restaurant/ui/UMenuRestaurante.h"

#include "core/Paths.h"
#include "framework/db/RecordSet.h"
#include "framework/db/RecordSetModel.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
#include "restaurant/ui/AcoesMapa.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestauranteCancelamento.h"
#include "restaurant/ui/UMenuRestauranteHost.h"
#include "restaurant/ui/PainelMapaMesas.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

namespace kvo {

namespace {
const QString kNome = QStringLiteral("TfrmMenuRestaurante");
QPointer<TfrmMenuRestaurante> g_aberto;

// Item columns: (field, caption, characters at the bottom, on the right).
struct ColunaItem {
    const char* campo;
    const char* titulo;
    int inferior, direita;
};
const ColunaItem kColunas[] = {
    {"CODPESQUISA", "Cod.Pesq", 10, 5}, {"PRO_DESCRICAO", "Descrição", 30, 20}, {"PEDI_QTDE", "Qtde", 10, 4},
    {"PEDI_TOTAL", "Total", 10, 8},     {"PEDI_LAN_DATA", "Lançamento", 18, 18}, {"GAR_NOME", "Garçon", 9, 8},
};
} // namespace

TfrmMenuRestaurante* menuRestauranteAberto() { return g_aberto; }

TfrmMenuRestaurante::TfrmMenuRestaurante(QWidget* parent)
    : TrepPadraoGeral(parent), m_db(TdmAcesso::gerarInstance().sqlCon()) {
    setObjectName(QStringLiteral("frmMenuRestaurante"));
    setWindowTitle(QStringLiteral("Menu Restaurante"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    TdmResPedido::gerarInstance(); // registers the restaurant keys this screen reads
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    const bool inferior = cfg.getStr(QStringLiteral("REST.IT.INF")) == QLatin1String("S");

    auto* grade = new QGridLayout;
    corpo()->addLayout(grade, 1);

    m_painelMapa = new PainelMapaMesas(m_db, false, this);
    if (cfg.getStr(QStringLiteral("PRORH.PERFIL")) == QLatin1String("S"))
        m_painelMapa->setTamanhoCelula(96 * 2, 60); // room for the badge holder's tab numbers
    connect(m_painelMapa, &PainelMapaMesas::selecaoMudou, this, [this] { executar([this] { atualizarGridFilhos(); }); });
    connect(m_painelMapa, &PainelMapaMesas::mesaConfirmada, this, [this] { executarAcao(1); }); // Enter posts on it
    grade->addWidget(m_painelMapa, 0, 0);

    auto* lateral = new QWidget(this);
    lateral->setObjectName(QStringLiteral("pnlAcoes"));
    montarAcoes(lateral);
    grade->addWidget(lateral, 0, 2);

    // The items: at the bottom or on the right; one record set for both.
    m_itens = std::make_unique<RecordSet>(m_db);
    m_modelo = std::make_unique<RecordSetModel>(*m_itens);
    PintarCelulas(*m_modelo, [](const RowView& r) -> std::optional<QColor> {
        if (r.value(QStringLiteral("PEDI_STATUS")).toString() == QLatin1String("CANCELADO"))
            return QColor(0xf4, 0xc7, 0xc3);
        return std::nullopt;
    });
    m_modelo->setRowForeground([](const RowView& r) -> std::optional<QColor> {
        if (r.value(QStringLiteral("PEDI_STATUS")).toString() == QLatin1String("CANCELADO"))
            return QColor(0x9b, 0x1c, 0x1c);
        return std::nullopt;
    });
    m_painelItens[0] = montarItens(true);
    m_painelItens[1] = montarItens(false);
    grade->addWidget(m_painelItens[0], 1, 0, 1, 3);
    grade->addWidget(m_painelItens[1], 0, 1);
    grade->setColumnStretch(0, 3);
    grade->setColumnStretch(1, 2);
    grade->setRowStretch(0, 3);
    grade->setRowStretch(1, 2);
    m_painelItens[inferior ? 1 : 0]->hide();
    if (inferior)
        grade->setColumnStretch(1, 0); // the hidden placement's room goes to the map
    else
        grade->setRowStretch(1, 0);
}

TfrmMenuRestaurante::~TfrmMenuRestaurante() {
    // The grids go first: nothing may reach the item rows while they are freed.
    m_painelMapa->timer()->stop();
    m_painelMapa->blockSignals(true);
    delete m_painelItens[0];
    delete m_painelItens[1];
}

void TfrmMenuRestaurante::adicionarAcao(QWidget* lateral, int numero, const QString& titulo, const QString& menu) {
    auto* painel = new QWidget(lateral);
    painel->setObjectName(QStringLiteral("pnl") + (menu.isEmpty() ? QStringLiteral("Acao%1").arg(numero) : menu));
    auto* l = new QVBoxLayout(painel);
    l->setContentsMargins(0, 0, 0, 0);
    auto* b = new QPushButton(titulo, painel);
    b->setObjectName(QStringLiteral("btnAcao%1").arg(numero));
    b->setAutoDefault(false);
    b->setMinimumHeight(38);
    b->setStyleSheet(QStringLiteral("text-align: left; font-weight: bold"));
    l->addWidget(b);
    lateral->layout()->addWidget(painel);
    connect(b, &QPushButton::clicked, this, [this, numero] { executarAcao(numero); });
    // The digit alone does it as well as Alt and the digit.
    auto* atalho = new QShortcut(QKeySequence(Qt::Key_0 + numero), this);
    connect(atalho, &QShortcut::activated, this, [this, numero] { executarAcao(numero); });
    m_acoes << Acao{menu, painel, b};
}

void TfrmMenuRestaurante::montarAcoes(QWidget* lateral) {
    lateral->setLayout(new QVBoxLayout);
    adicionarAcao(lateral, 1, QStringLiteral("  &1 - Lançamento"), QStringLiteral("mni_mov_lancozinha"));
    adicionarAcao(lateral, 2, QStringLiteral("  &2 - Transferência"), QStringLiteral("mni_mov_transferencia"));
    adicionarAcao(lateral, 3, QStringLiteral("  &3 - Extrato"), QStringLiteral("mni_mov_extrato"));
    adicionarAcao(lateral, 4, QStringLiteral("  &4 - Fechamento"), QStringLiteral("mni_mov_fechamento"));
    adicionarAcao(lateral, 5, QStringLiteral("  &5 - Fech. Parcial"), {});
    adicionarAcao(lateral, 6, QStringLiteral("  &6 - Delivery"), QStringLiteral("mniMovDelivery"));
    adicionarAcao(lateral, 7, QStringLiteral("  &7 - Trans.Item"), QStringLiteral("ransfernciadeItemLanamento1"));
    adicionarAcao(lateral, 8, QStringLiteral(" &8 - Balcão"), QStringLiteral("mniMovBalcao"));
    adicionarAcao(lateral, 9, QStringLiteral(" &9 - Sair"), {});
    static_cast<QVBoxLayout*>(lateral->layout())->addStretch();
}

QWidget* TfrmMenuRestaurante::montarItens(bool inferior) {
    const int lado = inferior ? 0 : 1;
    const QString sufixo = inferior ? QStringLiteral("Inf") : QStringLiteral("Dir");
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("pnlItens") + sufixo);
    auto* l = new QGridLayout(painel);
    l->setContentsMargins(0, 0, 0, 0);
    m_mesa[lado] = new QLabel(QStringLiteral("MESA=>"), painel);
    m_mesa[lado]->setObjectName(QStringLiteral("lblMesa") + sufixo);
    m_mesa[lado]->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold"));
    m_ocultar[lado] = new QCheckBox(QStringLiteral("Ocultar Cancelados"), painel);
    m_ocultar[lado]->setObjectName(QStringLiteral("chkOcultar") + sufixo);
    m_cancelar[lado] = new QPushButton(QStringLiteral("&Cancelar Item"), painel);
    m_cancelar[lado]->setObjectName(QStringLiteral("btnCancelarItem") + sufixo);
    m_cancelar[lado]->setAutoDefault(false);
    m_cancelar[lado]->setEnabled(false);
    connect(m_cancelar[lado], &QPushButton::clicked, this, [this] { executar([this] { btnCancelarItemClick(); }); });
    connect(m_ocultar[lado], &QCheckBox::toggled, this, [this, lado](bool on) {
        QCheckBox* outro = m_ocultar[1 - lado];
        if (outro->isChecked() != on) { // the other placement mirrors this one
            const QSignalBlocker calado(outro);
            outro->setChecked(on);
        }
        executar([this] { atualizarGridFilhos(); });
    });
    auto* grid = new QTableView(painel);
    grid->setObjectName(QStringLiteral("dbgItens") + sufixo);
    grid->setModel(m_modelo.get());
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        if (i.isValid() && m_itens->active())
            m_itens->setRecNo(i.row() + 1);
        const bool normal = i.isValid() && m_itens->active() && !m_itens->isEmpty() &&
                            m_itens->field(QStringLiteral("PEDI_STATUS")).asString() == QLatin1String("NORMAL");
        for (QPushButton* b : m_cancelar)
            b->setEnabled(normal);
    });
    m_itensGrid[lado] = grid;
    m_totProdutos[lado] = new QLabel(painel);
    m_totProdutos[lado]->setObjectName(QStringLiteral("lblTotProdutos") + sufixo);
    m_totPedido[lado] = new QLabel(painel);
    m_totPedido[lado]->setObjectName(QStringLiteral("lblTotPedido") + sufixo);
    auto* totais = new QHBoxLayout;
    totais->addWidget(new QLabel(inferior ? QStringLiteral("Tot. Produtos:") : QStringLiteral("Produtos:"), painel));
    totais->addWidget(m_totProdutos[lado]);
    totais->addSpacing(16);
    totais->addWidget(new QLabel(inferior ? QStringLiteral("Tot. Pedido:") : QStringLiteral("Pedido:"), painel));
    totais->addWidget(m_totPedido[lado]);
    totais->addStretch();
    l->addWidget(m_mesa[lado], 0, 0);
    l->addWidget(m_ocultar[lado], 0, 1);
    l->addWidget(m_cancelar[lado], 0, 2);
    l->addWidget(grid, 1, 0, 1, 3);
    l->addLayout(totais, 2, 0, 1, 3);
    return painel;
}

void TfrmMenuRestaurante::usarECF(FiscalPrinter* ecf, Digest* assinador) {
    m_ecf = ecf;
    m_assinador = assinador;
}

int TfrmMenuRestaurante::mesaSelecionada() const { return m_painelMapa->mesaSelecionada(); }
const MapaMesas& TfrmMenuRestaurante::mapa() const { return m_painelMapa->mapa(); }
QTimer* TfrmMenuRestaurante::timer() const { return m_painelMapa->timer(); }

void TfrmMenuRestaurante::VerificarControles(bool resize, int passo) {
    m_painelMapa->verificarControles(resize, passo);
}

void TfrmMenuRestaurante::atualizarGridFilhos() {
    const CelulaMesa celula = m_painelMapa->celulaSelecionada();
    m_itens->close();
    m_itens->setCommandText(sqlItensMesa(celula.codpedido, m_ocultar[0]->isChecked()));
    m_itens->open();
    // The fields come from the select on every opening: captions and formats again.
    QStringList campos;
    for (const ColunaItem& c : kColunas) {
        campos << QString::fromLatin1(c.campo);
        m_itens->field(QString::fromLatin1(c.campo)).setDisplayLabel(QString::fromUtf8(c.titulo));
    }
    m_itens->field(QStringLiteral("PEDI_QTDE")).setDisplayFormat(QStringLiteral(",0.000"));
    m_itens->field(QStringLiteral("PEDI_TOTAL")).setDisplayFormat(QStringLiteral(",0.00"));
    m_itens->field(QStringLiteral("PEDI_LAN_DATA")).setDisplayFormat(QStringLiteral("dd/mm/yyyy hh:nn:ss"));
    if (!m_colunasDefinidas) {
        m_colunasDefinidas = true;
        m_modelo->setColumns(campos);
        const int larguraLetra = fontMetrics().averageCharWidth() + 2;
        for (int col = 0; col < int(std::size(kColunas)); ++col) {
            m_itensGrid[0]->setColumnWidth(col, kColunas[col].inferior * larguraLetra);
            m_itensGrid[1]->setColumnWidth(col, kColunas[col].direita * larguraLetra);
        }
    }
    std::optional<Currency> total, acrescimo;
    if (!m_itens->isEmpty()) {
        m_itens->first();
        if (!m_itens->field(QStringLiteral("PED_TOTAL")).isNull())
            total = m_itens->field(QStringLiteral("PED_TOTAL")).asCurrency();
        if (!m_itens->field(QStringLiteral("PED_ACRESCIMO")).isNull())
            acrescimo = m_itens->field(QStringLiteral("PED_ACRESCIMO")).asCurrency();
    }
    const TotaisMesa totais = totaisMesa(total, acrescimo);
    for (int lado = 0; lado < 2; ++lado) {
        m_mesa[lado]->setText(QStringLiteral("MESA=>") + (celula.codcontrole ? rotuloMesa(celula.codcontrole) : QString()));
        m_totProdutos[lado]->setText(totais.produtos);
        m_totPedido[lado]->setText(totais.pedido);
        if (!m_itens->isEmpty())
            m_itensGrid[lado]->selectRow(0);
    }
    const bool normal = !m_itens->isEmpty() &&
                        m_itens->field(QStringLiteral("PEDI_STATUS")).asString() == QLatin1String("NORMAL");
    for (QPushButton* b : m_cancelar)
        b->setEnabled(normal);
}

void TfrmMenuRestaurante::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        acoesMapa::posicionar(*this);
    TrepPadraoGeral::showEvent(event);
    if (event->spontaneous())
        return;
    m_acoes[4].botao->setText(QStringLiteral("  &5 - MENU FISCAL"));
    aplicarDireitos();
    executar([this] { VerificarControles(true, MapaMesas::kRecontar); });
    m_acoes[0].botao->setFocus();
}

void TfrmMenuRestaurante::aplicarDireitos() {
    const UsuarioLogado& u = TdmAcesso::gerarInstance().usuario();
    TdmSeguranca& seg = TdmSeguranca::gerarInstance();
    for (const Acao& a : m_acoes)
        a.painel->setVisible(a.menu.isEmpty() || seg.getAcesso(u.grupo, u.nome, a.menu));
}

void TfrmMenuRestaurante::executarAcao(int numero) {
    const Acao& a = m_acoes.value(numero - 1);
    if (!a.painel || a.painel->isHidden() || m_emAcao)
        return; // the user may not use it (or one is running)
    static void (TfrmMenuRestaurante::*const metodos[])() = {
        &TfrmMenuRestaurante::btnLancamentoClick, &TfrmMenuRestaurante::btnTransferenciaClick,
        &TfrmMenuRestaurante::btnExtratoClick,    &TfrmMenuRestaurante::btnFechamentoClick,
        &TfrmMenuRestaurante::btnMenuFiscalClick, &TfrmMenuRestaurante::btnDeliveryClick,
        &TfrmMenuRestaurante::btnTransItemClick,  &TfrmMenuRestaurante::btnBalcaoClick,
        &TfrmMenuRestaurante::btnSairClick};
    m_painelMapa->timer()->stop();
    m_emAcao = true;
    executar([this, numero] { (this->*metodos[numero - 1])(); });
    m_emAcao = false;
    if (isVisible())
        executar([this] { VerificarControles(false, MapaMesas::kRecontar); });
}

bool TfrmMenuRestaurante::caixaLiberado() { return acoesMapa::caixaLiberado(); }

FiscalPrinter* TfrmMenuRestaurante::ecf() { return acoesMapa::ecfAtiva(m_ecf); }

bool TfrmMenuRestaurante::avisarECF(bool obrigatoria) { return acoesMapa::avisarECF(ecf(), obrigatoria); }

void TfrmMenuRestaurante::btnLancamentoClick() {
    if (!caixaLiberado())
        return;
    exigirTela(bool(telasRestaurante().escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
    telasRestaurante().escolhaPedido(QString(), mesaSelecionada());
}

void TfrmMenuRestaurante::btnTransferenciaClick() {
    if (!caixaLiberado())
        return;
    exigirTela(bool(telasRestaurante().transferenciaMesa), QStringLiteral("TfrmResTransferencia"));
    telasRestaurante().transferenciaMesa();
}

void TfrmMenuRestaurante::btnExtratoClick() {
    if (!caixaLiberado())
        return;
    // Without a printer the check cannot print: told, and nothing else asked.
    avisarECF(true);
    exigirTela(bool(telasRestaurante().escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
    const int mesa = telasRestaurante().escolhaPedido(QStringLiteral("Extrato"), mesaSelecionada());
    if (mesa <= 0)
        return;
    acoesMapa::imprimirConferencia(m_db, mesa, ecf(), m_assinador);
}

void TfrmMenuRestaurante::btnFechamentoClick() {
    avisarECF(false);
    chamaTelaVendaRapida(0, 0, 0);
}

void TfrmMenuRestaurante::btnMenuFiscalClick() {
    avisarECF(false);
    chamaMenuFiscal();
}

void TfrmMenuRestaurante::btnDeliveryClick() {
    if (!caixaLiberado())
        return;
    acoesMapa::abrirDelivery();
}

void TfrmMenuRestaurante::btnTransItemClick() {
    if (!caixaLiberado())
        return;
    exigirTela(bool(telasRestaurante().escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
    telasRestaurante().escolhaPedido(QStringLiteral("TransItem"), mesaSelecionada());
}

void TfrmMenuRestaurante::btnBalcaoClick() {
    avisarECF(false);
    chamaTelaVendaRapida(-1, 0, 0);
}

void TfrmMenuRestaurante::btnSairClick() { close(); }

void TfrmMenuRestaurante::btnCancelarItemClick() {
    if (!m_itens->active() || m_itens->isEmpty())
        return;
    m_painelMapa->timer()->stop();
    ItemDoMapa item;
    item.codpedidoitem = int(m_itens->field(QStringLiteral("CODPEDIDOITEM")).asInteger());
    item.codpedido = int(m_itens->field(QStringLiteral("CODPEDIDO")).asInteger());
    item.mesa = mesaSelecionada();
    item.status = m_itens->field(QStringLiteral("PEDI_STATUS")).asString();
    struct Depois { // the grids show what happened, whatever it was
        TfrmMenuRestaurante* tela;
        ~Depois() {
            executar([t = tela] { t->VerificarControles(false, 0); });
            tela->m_painelMapa->grade()->setFocus();
        }
    } depois{this};
    cancelarItemDoMapa(m_db, item);
}

void registrarTelasMenuRestaurante() {
    auto abrir = [](bool comECF) {
        QWidget& w = Libgeral::ChamaForm(kNome, [] { return g_aberto = new TfrmMenuRestaurante; });
        if (comECF)
            static_cast<TfrmMenuRestaurante&>(w).usarECF(chamadaExterna().ecf, chamadaExterna().assinador);
    };
    // An opener already registered under the name (the host's own, a test's) is kept.
    if (!ScreenRegistry::existe(kNome))
        ScreenRegistry::registrar(kNome, [abrir] { abrir(false); });
    if (!ScreenRegistry::existe(kNome + QStringLiteral(".ChamaTelaECF")))
        ScreenRegistry::registrar(kNome + QStringLiteral(".ChamaTelaECF"), [abrir] { abrir(true); });
    telasRestaurante().atualizarMapa = [] {
        if (TfrmMenuRestaurante* m = menuRestauranteAberto(); m && m->isVisible())
            m->VerificarControles(false, MapaMesas::kRecontar);
    };
    telasRestaurante().mesaSelecionada = [] {
        TfrmMenuRestaurante* m = menuRestauranteAberto();
        return m && m->isVisible() ? m->mesaSelecionada() : 0;
    };
}

} // namespace kvo
