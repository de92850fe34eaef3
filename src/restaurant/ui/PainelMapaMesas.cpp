#include "restaurant/ui/PainelMapaMesas.h"

#include "framework/ui/UserInterface.h"
#include "printservice/Pendentes.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvo {

namespace {
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
} // namespace

PainelMapaMesas::PainelMapaMesas(Database& db, bool toque, QWidget* parent)
    : QWidget(parent), m_db(db), m_mapa(db) {
    setObjectName(QStringLiteral("pnlMapa"));
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmrAtualizar"));
    m_timer->setInterval(40000);
    connect(m_timer, &QTimer::timeout, this, [this] { tratarEvento([this] { verificarControles(false, 0); }); });

    auto* mapa = new QVBoxLayout(this);
    mapa->setContentsMargins(0, 0, 0, 0);
    auto* paginas = new QHBoxLayout;
    m_anterior = new QToolButton(this);
    m_anterior->setObjectName(QStringLiteral("imgAnterior"));
    m_anterior->setArrowType(Qt::LeftArrow);
    m_anterior->setFocusPolicy(Qt::NoFocus);
    m_proxima = new QToolButton(this);
    m_proxima->setObjectName(QStringLiteral("imgProxima"));
    m_proxima->setArrowType(Qt::RightArrow);
    m_proxima->setFocusPolicy(Qt::NoFocus);
    if (toque) {
        for (QToolButton* b : {m_anterior, m_proxima}) {
            b->setFixedSize(56, 48);
            b->setIconSize(QSize(28, 28));
        }
    }
    m_pagina = new QLabel(this);
    m_pagina->setObjectName(QStringLiteral("lblPagina"));
    connect(m_anterior, &QToolButton::clicked, this, [this] { mudarPagina(-1); });
    connect(m_proxima, &QToolButton::clicked, this, [this] { mudarPagina(1); });
    paginas->addWidget(m_anterior);
    paginas->addWidget(m_pagina);
    paginas->addWidget(m_proxima);
    paginas->addStretch();
    // On a touch screen the arrows are big and the map narrow: the legend
    // goes below them, two states a line.
    QHBoxLayout* legenda = paginas;
    QHBoxLayout* linhas[2] = {nullptr, nullptr};
    if (toque) {
        mapa->addLayout(paginas);
        for (QHBoxLayout*& l : linhas) {
            l = new QHBoxLayout;
            mapa->addLayout(l);
        }
    }
    const char* nomesLegenda[] = {"lblLivre", "lblExtrato", "lblParada", "lblAtendimento"};
    for (EstadoMesa e : kEstadosMesa) {
        auto* figura = new QLabel(this);
        figura->setPixmap(figuraEstado(e).pixmap(16, 16));
        QLabel*& l = m_legenda[int(e)];
        l = new QLabel(nomeEstadoMesa(e), this);
        l->setObjectName(QString::fromLatin1(nomesLegenda[int(e)]));
        if (toque)
            legenda = linhas[int(e) / 2];
        legenda->addWidget(figura);
        legenda->addWidget(l, toque ? 1 : 0);
        legenda->addSpacing(8);
    }
    if (!toque)
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
    connect(m_grade, &QTableWidget::currentCellChanged, this, &PainelMapaMesas::selecaoMudou);
    mapa->addWidget(m_grade, 1);
    m_avisoImpressao = new QLabel(this);
    m_avisoImpressao->setObjectName(QStringLiteral("lblAvisoImpressao"));
    m_avisoImpressao->setStyleSheet(QStringLiteral("color: white; background: #c0392b; padding: 4px; font-weight: bold"));
    m_avisoImpressao->setWordWrap(true);
    m_avisoImpressao->hide();
    mapa->addWidget(m_avisoImpressao);
}

void PainelMapaMesas::setTamanhoCelula(int largura, int altura) {
    m_larguraCelula = largura;
    m_alturaCelula = altura;
}

int PainelMapaMesas::posicaoAtual() const {
    return m_grade->currentRow() < 0 ? -1 : m_grade->currentRow() * m_mapa.colunas() + m_grade->currentColumn();
}

CelulaMesa PainelMapaMesas::celulaSelecionada() const {
    const int i = posicaoAtual();
    return i >= 0 && i < m_mapa.celulas().size() ? m_mapa.celulas()[i] : CelulaMesa{};
}

bool PainelMapaMesas::selecionarMesa(int mesa) {
    const auto& celulas = m_mapa.celulas();
    for (int i = 0; i < celulas.size(); ++i)
        if (celulas[i].codcontrole == mesa) {
            m_grade->setCurrentCell(i / m_mapa.colunas(), i % m_mapa.colunas());
            return true;
        }
    return false;
}

void PainelMapaMesas::ajustarGrade() {
    const QSize area = m_grade->viewport()->size();
    m_mapa.setGrade(MapaMesas::quantasCabem(area.width(), m_larguraCelula),
                    MapaMesas::quantasCabem(area.height(), m_alturaCelula));
}

void PainelMapaMesas::verificarControles(bool resize, int passo) {
    m_timer->stop();
    const int anterior = posicaoAtual();
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

void PainelMapaMesas::preencherMapa(int posicao) {
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
    Q_EMIT selecaoMudou();
}

void PainelMapaMesas::mostrarAvisoImpressao() {
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

void PainelMapaMesas::mudarPagina(int passo) {
    if ((passo < 0 && !m_mapa.temAnterior()) || (passo > 0 && !m_mapa.temProxima()))
        return;
    tratarEvento([this, passo] { verificarControles(false, passo); });
}

void PainelMapaMesas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isVisible())
        return;
    const int colunas = m_mapa.colunas(), linhas = m_mapa.linhas();
    ajustarGrade();
    if (colunas != m_mapa.colunas() || linhas != m_mapa.linhas())
        tratarEvento([this] { verificarControles(false, MapaMesas::kRecontar); });
}

bool PainelMapaMesas::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grade && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_PageDown || k->key() == Qt::Key_PageUp) {
            mudarPagina(k->key() == Qt::Key_PageDown ? 1 : -1);
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            Q_EMIT mesaConfirmada(mesaSelecionada());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kvo
