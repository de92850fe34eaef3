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
#include "printservice/Pendentes.h"
#include "registers/DECF.h"
#include "restaurant/DResPedido.h"
#include "restaurant/impressao/ConferenciaMesa.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestauranteCancelamento.h"
#include "restaurant/ui/UMenuRestauranteHost.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

namespace kvo {

namespace {
const QString kNome = QStringLiteral("TfrmMenuRestaurante");
QPointer<TfrmMenuRestaurante> g_aberto;

QColor corEstado(EstadoMesa e) {
    switch (e) {
    case EstadoMesa::Livre: return QColor(0x2e, 0x9e, 0x4f);
    case EstadoMesa::Extrato: return QColor(0x1f, 0x5f, 0xbf);
    case EstadoMesa::Parada: return QColor(0xd0, 0x3a, 0x2f);
    case EstadoMesa::Atendimento: return QColor(0xe8, 0xa3, 0x17);
    }
    return Qt::gray;
}

// The state's picture: a table top in the state's colour.
QIcon figuraEstado(EstadoMesa e) {
    static QIcon cache[4];
    QIcon& icone = cache[int(e)];
    if (icone.isNull()) {
        QPixmap p(32, 32);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setBrush(corEstado(e));
        g.setPen(QPen(corEstado(e).darker(140), 2));
        g.drawEllipse(QRectF(3, 3, 26, 26));
        icone = QIcon(p);
    }
    return icone;
}

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
    : TrepPadraoGeral(parent), m_db(TdmAcesso::gerarInstance().sqlCon()), m_mapa(m_db) {
    setObjectName(QStringLiteral("frmMenuRestaurante"));
    setWindowTitle(QStringLiteral("Menu Restaurante"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    TdmResPedido::gerarInstance(); // registers the restaurant keys this screen reads
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    if (cfg.getStr(QStringLiteral("PRORH.PERFIL")) == QLatin1String("S"))
        m_larguraCelula *= 2; // room for the badge holder's tab numbers
    const bool inferior = cfg.getStr(QStringLiteral("REST.IT.INF")) == QLatin1String("S");

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrAtualizar"));
    m_timer->setInterval(40000);
    connect(m_timer, &QTimer::timeout, this, [this] { executar([this] { VerificarControles(false, 0); }); });

    auto* grade = new QGridLayout;
    corpo()->addLayout(grade, 1);

    // The map with its page controls, legend and the print warning.
    auto* mapa = new QVBoxLayout;
    auto* paginas = new QHBoxLayout;
    m_anterior = new QToolButton(this);
    m_anterior->setObjectName(QStringLiteral("imgAnterior"));
    m_anterior->setArrowType(Qt::LeftArrow);
    m_anterior->setFocusPolicy(Qt::NoFocus);
    m_proxima = new QToolButton(this);
    m_proxima->setObjectName(QStringLiteral("imgProxima"));
    m_proxima->setArrowType(Qt::RightArrow);
    m_proxima->setFocusPolicy(Qt::NoFocus);
    m_pagina = new QLabel(this);
    m_pagina->setObjectName(QStringLiteral("lblPagina"));
    connect(m_anterior, &QToolButton::clicked, this, [this] { mudarPagina(-1); });
    connect(m_proxima, &QToolButton::clicked, this, [this] { mudarPagina(1); });
    paginas->addWidget(m_anterior);
    paginas->addWidget(m_pagina);
    paginas->addWidget(m_proxima);
    paginas->addStretch();
    const char* nomesLegenda[] = {"lblLivre", "lblExtrato", "lblParada", "lblAtendimento"};
    for (EstadoMesa e : kEstadosMesa) {
        auto* figura = new QLabel(this);
        figura->setPixmap(figuraEstado(e).pixmap(16, 16));
        QLabel*& l = m_legenda[int(e)];
        l = new QLabel(nomeEstadoMesa(e), this);
        l->setObjectName(QString::fromLatin1(nomesLegenda[int(e)]));
        paginas->addWidget(figura);
        paginas->addWidget(l);
        paginas->addSpacing(8);
    }
    mapa->addLayout(paginas);
    m_grade = new QTableWidget(this);
    m_grade->setObjectName(QStringLiteral("grdMapa"));
    m_grade->horizontalHeader()->hide();
    m_grade->verticalHeader()->hide();
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setTabKeyNavigation(false); // arrows move on the map, Tab leaves it
    m_grade->setIconSize(QSize(28, 28));
    m_grade->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grade->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grade->horizontalHeader()->setMinimumSectionSize(8);
    m_grade->verticalHeader()->setMinimumSectionSize(8);
    m_grade->installEventFilter(this);
    connect(m_grade, &QTableWidget::currentCellChanged, this,
            [this] { executar([this] { atualizarGridFilhos(); }); });
    mapa->addWidget(m_grade, 1);
    m_avisoImpressao = new QLabel(this);
    m_avisoImpressao->setObjectName(QStringLiteral("lblAvisoImpressao"));
    m_avisoImpressao->setStyleSheet(QStringLiteral("color: white; background: #c0392b; padding: 4px; font-weight: bold"));
    m_avisoImpressao->hide();
    mapa->addWidget(m_avisoImpressao);
    grade->addLayout(mapa, 0, 0);

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
    m_timer->stop();
    m_grade->blockSignals(true);
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

int TfrmMenuRestaurante::mesaSelecionada() const {
    const int i = m_grade->currentRow() * m_mapa.colunas() + m_grade->currentColumn();
    if (m_grade->currentRow() < 0 || i < 0 || i >= m_mapa.celulas().size())
        return 0;
    return m_mapa.celulas()[i].codcontrole;
}

void TfrmMenuRestaurante::ajustarGrade() {
    const QSize area = m_grade->viewport()->size();
    m_mapa.setGrade(MapaMesas::quantasCabem(area.width(), m_larguraCelula),
                    MapaMesas::quantasCabem(area.height(), m_alturaCelula));
}

void TfrmMenuRestaurante::VerificarControles(bool resize, int passo) {
    m_timer->stop();
    const int anterior = m_grade->currentRow() < 0 ? -1 : m_grade->currentRow() * m_mapa.colunas() + m_grade->currentColumn();
    if (resize)
        ajustarGrade();
    struct Reiniciar { // step 8 whatever happened
        QTimer* t;
        ~Reiniciar() { t->start(); }
    } reiniciar{m_timer};
    m_mapa.verificar(passo);
    m_anterior->setVisible(m_mapa.temAnterior());
    m_proxima->setVisible(m_mapa.temProxima());
    m_pagina->setText(m_mapa.rotuloPagina());
    preencherMapa(m_mapa.posicaoRestaurada(anterior));
    for (EstadoMesa e : kEstadosMesa)
        m_legenda[int(e)]->setText(m_mapa.legenda(e));
    mostrarAvisoImpressao();
}

void TfrmMenuRestaurante::preencherMapa(int posicao) {
    QSignalBlocker calado(m_grade);
    const int colunas = m_mapa.colunas(), linhas = m_mapa.linhas();
    m_grade->clear();
    m_grade->setColumnCount(colunas);
    m_grade->setRowCount(linhas);
    const QSize area = m_grade->viewport()->size();
    for (int c = 0; c < colunas; ++c)
        m_grade->setColumnWidth(c, std::max(m_larguraCelula, area.width() / colunas));
    for (int r = 0; r < linhas; ++r)
        m_grade->setRowHeight(r, std::max(m_alturaCelula, area.height() / linhas));
    const auto& celulas = m_mapa.celulas();
    for (int i = 0; i < celulas.size(); ++i) {
        auto* item = new QTableWidgetItem(figuraEstado(celulas[i].estado), rotuloMesa(celulas[i].codcontrole));
        item->setToolTip(nomeEstadoMesa(celulas[i].estado));
        item->setData(Qt::UserRole, celulas[i].codcontrole);
        QFont f = item->font();
        f.setPointSize(14);
        f.setBold(true);
        item->setFont(f);
        m_grade->setItem(i / colunas, i % colunas, item);
    }
    for (int i = int(celulas.size()); i < colunas * linhas; ++i) { // no cell to land on past the last table
        auto* vazio = new QTableWidgetItem;
        vazio->setFlags(Qt::NoItemFlags);
        m_grade->setItem(i / colunas, i % colunas, vazio);
    }
    if (posicao >= 0)
        m_grade->setCurrentCell(posicao / colunas, posicao % colunas);
    calado.unblock();
    atualizarGridFilhos();
}

void TfrmMenuRestaurante::atualizarGridFilhos() {
    const int i = m_grade->currentRow() < 0 ? -1 : m_grade->currentRow() * m_mapa.colunas() + m_grade->currentColumn();
    const CelulaMesa celula = i >= 0 && i < m_mapa.celulas().size() ? m_mapa.celulas()[i] : CelulaMesa{};
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

void TfrmMenuRestaurante::mostrarAvisoImpressao() {
    // The stations' folders when this terminal knows them, and the queue.
    QStringList atrasadas;
    try {
        const QString arquivo = impressao::ConfigImpressao::arquivoPadrao();
        if (QFile::exists(arquivo))
            atrasadas = impressao::estacoesComAtraso(
                impressao::pendentesImpressao(impressao::ConfigImpressao::ler(arquivo), &m_db));
        else
            atrasadas = impressao::estacoesComAtraso(m_db);
    } catch (const std::exception& e) {
        atrasadas = {QStringLiteral("serviço de impressão (%1)").arg(QString::fromUtf8(e.what()))};
    }
    m_avisoImpressao->setVisible(!atrasadas.isEmpty());
    m_avisoImpressao->setText(QStringLiteral("Atenção: impressão parada há mais de 1 minuto em ") +
                              atrasadas.join(QStringLiteral(", ")));
}

void TfrmMenuRestaurante::mudarPagina(int passo) {
    if ((passo < 0 && !m_mapa.temAnterior()) || (passo > 0 && !m_mapa.temProxima()))
        return;
    executar([this, passo] { VerificarControles(false, passo); });
}

void TfrmMenuRestaurante::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (const QScreen* tela = screen()) {
            const QRect r = tela->availableGeometry();
            resize(r.width() - 20, r.height() - 210);
            move(r.x() + (r.width() - width()) / 2, std::max(r.y(), r.y() + (r.height() - height()) / 2 - 45));
        }
    }
    TrepPadraoGeral::showEvent(event);
    if (event->spontaneous())
        return;
    m_acoes[4].botao->setText(QStringLiteral("  &5 - MENU FISCAL"));
    aplicarDireitos();
    executar([this] { VerificarControles(true, MapaMesas::kRecontar); });
    m_acoes[0].botao->setFocus();
}

void TfrmMenuRestaurante::resizeEvent(QResizeEvent* event) {
    TrepPadraoGeral::resizeEvent(event);
    if (!isVisible())
        return;
    const int colunas = m_mapa.colunas(), linhas = m_mapa.linhas();
    ajustarGrade();
    if (colunas != m_mapa.colunas() || linhas != m_mapa.linhas())
        executar([this] { VerificarControles(false, MapaMesas::kRecontar); });
}

bool TfrmMenuRestaurante::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grade && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_PageDown || k->key() == Qt::Key_PageUp) {
            mudarPagina(k->key() == Qt::Key_PageDown ? 1 : -1);
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) { // Enter on a table posts on it
            executarAcao(1);
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
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
    m_timer->stop();
    m_emAcao = true;
    executar([this, numero] { (this->*metodos[numero - 1])(); });
    m_emAcao = false;
    if (isVisible())
        executar([this] { VerificarControles(false, MapaMesas::kRecontar); });
}

bool TfrmMenuRestaurante::caixaLiberado() {
    return !TdmAcesso::gerarInstance().getTrabalhaAbertura() ||
           TdmCaixaAbertura::gerarInstance().verificarCaixaAberto(true) > 0;
}

FiscalPrinter* TfrmMenuRestaurante::ecf() {
    if (m_ecf)
        return m_ecf->Ativo() ? m_ecf : nullptr;
    TdmECF& terminal = TdmECF::gerarInstance();
    return terminal.Ativo() ? &terminal.ecf() : nullptr;
}

// The warning before the fiscal actions; true when the printer can be used.
bool TfrmMenuRestaurante::avisarECF(bool obrigatoria) {
    FiscalPrinter* impressora = ecf();
    if (!impressora) {
        Alerta(QStringLiteral("Impressora (ECF) não disponível!"), obrigatoria);
        return false;
    }
    if (impressora->ocupada())
        Alerta(QStringLiteral("Aguarde impressora ocupada!"), true);
    return true;
}

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
    FiscalPrinter* impressora = ecf();
    if (!impressora)
        Alerta(QStringLiteral("Impressora (ECF) não disponível!"), true);
    Digest& ead = m_assinador ? *m_assinador : TdmECF::gerarInstance().ead();
    try {
        ConferenciaMesa(m_db, TdmConfiguracao::gerarInstance(), mesa, ead, *impressora);
    } catch (const ConferenciaNaoGravada& e) {
        Error(e.message());
    } catch (const FiscalPrinterError& e) {
        Error(e.message());
    }
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
    exigirTela(ScreenRegistry::existe(QStringLiteral("TfrmDelivery")), QStringLiteral("TfrmDelivery"));
    ScreenRegistry::abrir(QStringLiteral("TfrmDelivery"));
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
    m_timer->stop();
    ItemDoMapa item;
    item.codpedidoitem = int(m_itens->field(QStringLiteral("CODPEDIDOITEM")).asInteger());
    item.codpedido = int(m_itens->field(QStringLiteral("CODPEDIDO")).asInteger());
    item.mesa = mesaSelecionada();
    item.status = m_itens->field(QStringLiteral("PEDI_STATUS")).asString();
    struct Depois { // the grids show what happened, whatever it was
        TfrmMenuRestaurante* tela;
        ~Depois() {
            executar([t = tela] { t->VerificarControles(false, 0); });
            tela->m_grade->setFocus();
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
}

} // namespace kvo
