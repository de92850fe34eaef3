#include "restaurant/ui/UMenuRestauranteTouch.h"

#include "framework/db/RecordSetModel.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
#include "restaurant/MapaMesas.h"
#include "restaurant/ui/PainelMapaMesas.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

namespace kvo {

namespace {
bool ligada(const char* nome) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)) == QLatin1String("S");
}

// Fingers need room: every touch target is at least this tall.
constexpr int kToque = 48;

QLineEdit* campo(QWidget* pai, const char* nome, bool leitura = false) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setMinimumHeight(kToque);
    QFont f = e->font();
    f.setPointSize(14);
    e->setFont(f);
    if (leitura) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    return e;
}
} // namespace

TfrmMenuRestauranteTouch::TfrmMenuRestauranteTouch(QWidget* parent)
    : TrepPadraoGeral(parent), m_db(TdmAcesso::gerarInstance().sqlCon()),
      m_dm((TdmResPedido::gerarInstance(), std::make_unique<TdmResPedido>(m_db))), m_regras(*m_dm) {
    setObjectName(QStringLiteral("frmMenuRestauranteTouch"));
    setWindowTitle(QStringLiteral("Menu Restaurante"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_qtdePrimeiro = ligada("PDV.ORD.QTDE");

    auto* linha = new QHBoxLayout;
    corpo()->addLayout(linha, 1);
    m_centro = new QStackedWidget(this);
    m_centro->setObjectName(QStringLiteral("pnlCentro"));
    m_mapa = new PainelMapaMesas(m_db, true, m_centro);
    if (ligada("PRORH.PERFIL"))
        m_mapa->setTamanhoCelula(96 * 2, 60);
    m_centro->addWidget(m_mapa);
    m_centro->addWidget(montarLancamento());
    linha->addWidget(m_centro, 1);
    linha->addWidget(montarTeclado());
    linha->addWidget(montarAcoes());

    // A touch on a table types its number; Enter on it goes on at once.
    connect(m_mapa->grade(), &QTableWidget::cellClicked, this, [this] {
        if (m_regras.estado() != LancamentoTouch::Estado::Mesa || !m_mapa->mesaSelecionada())
            return;
        m_edtMesa->setText(QString::number(m_mapa->mesaSelecionada()));
        m_edtMesa->setFocus();
    });
    connect(m_mapa, &PainelMapaMesas::mesaConfirmada, this, [this](int mesa) {
        if (m_regras.estado() != LancamentoTouch::Estado::Mesa || mesa <= 0)
            return;
        m_edtMesa->setText(QString::number(mesa));
        rodar(&TfrmMenuRestauranteTouch::btnLancarClick, m_lancar);
    });
    for (QLineEdit* e : {m_edtMesa, m_edtGarcon, m_edtSenha, m_edtProduto, m_edtQtde})
        e->installEventFilter(this);
    m_itens->installEventFilter(this);
    mostrarEstado();
}

TfrmMenuRestauranteTouch::~TfrmMenuRestauranteTouch() {
    m_mapa->timer()->stop();
    m_mapa->blockSignals(true);
    delete m_centro; // the item grid goes before the order it shows
}

QPushButton* TfrmMenuRestauranteTouch::botao(QWidget* pai, const char* nome, const QString& titulo, int altura) {
    auto* b = new QPushButton(titulo, pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setMinimumHeight(std::max(altura, kToque));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus); // a touch leaves the focus in the field being typed
    QFont f = b->font();
    f.setPointSize(12);
    f.setBold(true);
    b->setFont(f);
    return b;
}

QWidget* TfrmMenuRestauranteTouch::montarTeclado() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("pnlTeclado"));
    painel->setFixedWidth(236);
    auto* v = new QVBoxLayout(painel);
    v->setContentsMargins(0, 0, 0, 0);
    auto* f = new QGridLayout;
    m_rotuloMesa = new QLabel(ligada("REST.SALDO") ? QStringLiteral("Cartão de Consumo") : QStringLiteral("Nr. Mesa"),
                              painel);
    m_rotuloMesa->setObjectName(QStringLiteral("lblMesa"));
    m_edtMesa = campo(painel, "edtMesa");
    m_edtMesa->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,14}")), m_edtMesa));
    connect(m_edtMesa, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.size() == 14) // a card read or typed: its tab
            m_edtMesa->setText(QString::number(TdmAcesso::gerarInstance().getValidaMesaRestarante(t)));
    });
    m_edtGarcon = campo(painel, "edtGarcon");
    m_edtGarcon->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), m_edtGarcon));
    m_edtSenha = campo(painel, "edtSenha");
    m_edtSenha->setEchoMode(QLineEdit::Password);
    f->addWidget(m_rotuloMesa, 0, 0);
    f->addWidget(m_edtMesa, 0, 1);
    m_linhaGarcon[0] = new QLabel(QStringLiteral("Garçon"), painel);
    m_linhaGarcon[1] = new QLabel(QStringLiteral("Senha"), painel);
    f->addWidget(m_linhaGarcon[0], 1, 0);
    f->addWidget(m_edtGarcon, 1, 1);
    f->addWidget(m_linhaGarcon[1], 2, 0);
    f->addWidget(m_edtSenha, 2, 1);
    const bool garcon = m_regras.usaGarcon();
    for (QWidget* w : {m_linhaGarcon[0], m_linhaGarcon[1], static_cast<QWidget*>(m_edtGarcon),
                       static_cast<QWidget*>(m_edtSenha)})
        w->setVisible(garcon);
    if (!garcon)
        m_rotuloMesa->setWordWrap(true); // the table field takes the room
    v->addLayout(f);

    auto* teclas = new QGridLayout;
    teclas->setSpacing(4);
    const char* const digitos[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3"};
    for (int i = 0; i < 9; ++i) {
        QPushButton* b = botao(painel, "", QString::fromLatin1(digitos[i]));
        b->setObjectName(QStringLiteral("btnTecla") + QString::fromLatin1(digitos[i]));
        connect(b, &QPushButton::clicked, this, [this, b] { digitar(b->text()); });
        teclas->addWidget(b, i / 3, i % 3);
    }
    QPushButton* limpar = botao(painel, "btnLimpar", QStringLiteral("Limpar"));
    connect(limpar, &QPushButton::clicked, this, [this] { limparCampoFocado(); });
    QPushButton* zero = botao(painel, "btnTecla0", QStringLiteral("0"));
    connect(zero, &QPushButton::clicked, this, [this] { digitar(QStringLiteral("0")); });
    QPushButton* virgula = botao(painel, "btnTeclaVirgula", QStringLiteral(","));
    connect(virgula, &QPushButton::clicked, this, [this] { digitar(QStringLiteral(",")); });
    teclas->addWidget(limpar, 3, 0);
    teclas->addWidget(zero, 3, 1);
    teclas->addWidget(virgula, 3, 2);
    m_lancar = botao(painel, "btnLancar", QStringLiteral("Lançar"), 56);
    m_lancar->setStyleSheet(QStringLiteral("background: #2e7d32; color: white"));
    connect(m_lancar, &QPushButton::clicked, this, [this] { rodar(&TfrmMenuRestauranteTouch::btnLancarClick, m_lancar); });
    teclas->addWidget(m_lancar, 4, 0, 1, 3);
    v->addLayout(teclas);
    m_estado = new QLabel(painel);
    m_estado->setObjectName(QStringLiteral("lblEstado"));
    m_estado->setWordWrap(true);
    m_estado->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f3f7f"));
    v->addWidget(m_estado);
    v->addStretch();
    return painel;
}

QWidget* TfrmMenuRestauranteTouch::montarLancamento() {
    auto* painel = new QWidget(m_centro);
    painel->setObjectName(QStringLiteral("pnlLancamento"));
    auto* v = new QVBoxLayout(painel);
    v->setContentsMargins(0, 0, 0, 0);
    auto* g = new QGridLayout;
    m_edtProduto = campo(painel, "getCodigoPesqProduto");
    m_edtDescricao = campo(painel, "edtDescricao", true);
    m_edtQtde = campo(painel, "getQtde");
    m_edtQtde->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}([.,]\\d{0,3})?")), m_edtQtde));
    m_edtVlrUnitario = campo(painel, "getVlrUnitario", true);
    m_edtTotalItem = campo(painel, "edtTotalItem", true);
    m_cbxGarcon = new QComboBox(painel);
    m_cbxGarcon->setObjectName(QStringLiteral("cbxGarcon"));
    m_cbxGarcon->setMinimumHeight(kToque);
    m_rotuloGarconItem = new QLabel(QStringLiteral("Garçon"), painel);
    m_adItem = botao(painel, "btnAdItem", QStringLiteral("Ad. Item"), 56);
    m_adItem->setStyleSheet(QStringLiteral("background: #2e7d32; color: white"));
    connect(m_adItem, &QPushButton::clicked, this, [this] { rodar(&TfrmMenuRestauranteTouch::btnAdItemClick, m_adItem); });
    g->addWidget(new QLabel(QStringLiteral("Produto [F3]"), painel), 0, 0);
    g->addWidget(m_edtProduto, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Qtde"), painel), 0, 2);
    g->addWidget(m_edtQtde, 0, 3);
    g->addWidget(m_edtDescricao, 1, 0, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("Vlr. Unit."), painel), 2, 0);
    g->addWidget(m_edtVlrUnitario, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Total"), painel), 2, 2);
    g->addWidget(m_edtTotalItem, 2, 3);
    g->addWidget(m_rotuloGarconItem, 3, 0);
    g->addWidget(m_cbxGarcon, 3, 1);
    g->addWidget(m_adItem, 3, 2, 1, 2);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(3, 2);
    v->addLayout(g);
    connect(m_edtProduto, &QLineEdit::editingFinished, this, [this] { produtoDigitado(); });
    connect(m_edtQtde, &QLineEdit::textChanged, this, [this] { recalcularTotal(); });

    RecordSet& itens = m_dm->cdsResPedidoItem();
    for (const auto& [nome, titulo] : {std::pair{"PRO_DESCRICAO", "Descrição"}, std::pair{"PEDI_QTDE", "Qtde"},
                                       std::pair{"PEDI_VLRUNIT", "Vlr.Unitário"}, std::pair{"PEDI_TOTAL", "Total"},
                                       std::pair{"PEDI_STATUS", "Status"}, std::pair{"CODPESQUISA", "Cód."}}) {
        Field& fld = itens.field(QString::fromLatin1(nome));
        if (fld.displayLabel().isEmpty() || fld.displayLabel() == fld.name())
            fld.setDisplayLabel(QString::fromUtf8(titulo));
    }
    auto* modelo = new RecordSetModel(itens,
                                      {QStringLiteral("CODPESQUISA"), QStringLiteral("PRO_DESCRICAO"),
                                       QStringLiteral("PEDI_QTDE"), QStringLiteral("PEDI_TOTAL"),
                                       QStringLiteral("PEDI_STATUS")},
                                      painel);
    PintarCelulas(*modelo, [](const RowView& r) -> std::optional<QColor> {
        if (r.value(QStringLiteral("PEDI_STATUS")).toString() == QLatin1String("CANCELADO"))
            return QColor(0xf4, 0xc7, 0xc3);
        return std::nullopt;
    });
    m_itens = new QTableView(painel);
    m_itens->setObjectName(QStringLiteral("dbgItens"));
    m_itens->setModel(modelo);
    m_itens->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_itens->setSelectionMode(QAbstractItemView::SingleSelection);
    m_itens->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_itens->verticalHeader()->setDefaultSectionSize(kToque); // a finger picks a row
    m_itens->verticalHeader()->hide();
    m_itens->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_itens->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_itens->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_itens->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        if (i.isValid() && m_dm->cdsResPedidoItem().recNo() != i.row() + 1)
            m_dm->cdsResPedidoItem().setRecNo(i.row() + 1);
    });
    v->addWidget(m_itens, 1);
    auto* rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(new QLabel(QStringLiteral("Tot. do Pedido:"), painel));
    m_total = new QLabel(painel);
    m_total->setObjectName(QStringLiteral("auxTotalAcrescimo"));
    m_total->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold"));
    rodape->addWidget(m_total);
    v->addLayout(rodape);
    if (m_qtdePrimeiro)
        setTabOrder(m_edtQtde, m_edtProduto);
    return painel;
}

QPushButton* TfrmMenuRestauranteTouch::acao(QWidget* pai, const char* nome, const QString& titulo, const QString& menu,
                                            int tecla, void (TfrmMenuRestauranteTouch::*metodo)(), bool lancamento) {
    QPushButton* b = botao(pai, nome, titulo);
    b->setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px; font-size: 11pt"));
    connect(b, &QPushButton::clicked, this, [this, b, metodo] { rodar(metodo, b); });
    if (tecla) {
        auto* atalho = new QShortcut(QKeySequence(tecla), this);
        connect(atalho, &QShortcut::activated, this, [this, b, metodo] { rodar(metodo, b); });
    }
    m_acoes << Acao{menu, b, lancamento};
    return b;
}

QWidget* TfrmMenuRestauranteTouch::montarAcoes() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("pnlAcoes"));
    painel->setFixedWidth(404);
    auto* g = new QGridLayout(painel);
    g->setContentsMargins(0, 0, 0, 0);
    g->setSpacing(4);
    using T = TfrmMenuRestauranteTouch;
    const struct {
        const char* nome;
        const char* titulo;
        const char* menu;
        int tecla;
        void (T::*metodo)();
        bool lancamento;
    } acoes[] = {
        {"btnExtrato", "[F2] - Extrato", "mni_mov_extrato", Qt::Key_F2, &T::btnExtratoClick, false},
        {"btnSalvar", "[F4] - Salvar Pedido", "", Qt::Key_F4, &T::btnSalvarClick, true},
        {"btnTransferencia", "[F5] - Transferência", "mni_mov_transferencia", Qt::Key_F5, &T::btnTransferenciaClick,
         false},
        {"btnFechamento", "[F6] - Fechamento", "mni_mov_fechamento", Qt::Key_F6, &T::btnFechamentoClick, false},
        {"btnDelivery", "[F7] - Delivery", "mniMovDelivery", Qt::Key_F7, &T::btnDeliveryClick, false},
        {"btnBalcao", "[F8] - Venda Balcão", "mniMovBalcao", Qt::Key_F8, &T::btnBalcaoClick, false},
        {"btnCancelamento", "[F9] - Cancelam. de Item", "", Qt::Key_F9, &T::btnCancelamentoClick, true},
        {"btnFechamentoParcial", "&Fechamento Parcial", "", 0, &T::btnFechamentoParcialClick, false},
        {"btnTransItem", "&Transfência de Item", "ransfernciadeItemLanamento1", 0, &T::btnTransItemClick, false},
        {"btnSair", "Sair", "", 0, &T::btnSairClick, true},
    };
    int i = 0;
    for (const auto& a : acoes) {
        QPushButton* b = acao(painel, a.nome, QString::fromUtf8(a.titulo), QString::fromLatin1(a.menu), a.tecla,
                              a.metodo, a.lancamento);
        g->addWidget(b, i / 2, i % 2);
        ++i;
    }
    // Posting belongs to the posting right: the keypad's "Lançar" and "Ad. Item".
    m_acoes << Acao{QStringLiteral("mni_mov_lancozinha"), m_lancar, true};
    m_acoes << Acao{QStringLiteral("mni_mov_lancozinha"), m_adItem, true};
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] {
        if (m_regras.estado() == LancamentoTouch::Estado::Lancando)
            executar([this] { pesquisarProduto(); });
    });
    g->setRowStretch(g->rowCount(), 1);
    return painel;
}

void TfrmMenuRestauranteTouch::aplicarDireitos() {
    const UsuarioLogado& u = TdmAcesso::gerarInstance().usuario();
    TdmSeguranca& seg = TdmSeguranca::gerarInstance();
    for (const Acao& a : m_acoes)
        a.botao->setVisible(a.menu.isEmpty() || seg.getAcesso(u.grupo, u.nome, a.menu));
}

// The screen as the state says: which page, which fields, which buttons,
// and where the waiter's next touch or key goes.
void TfrmMenuRestauranteTouch::mostrarEstado() {
    using E = LancamentoTouch::Estado;
    const E e = m_regras.estado();
    const bool lancando = e == E::Lancando || e == E::Cancelando;
    m_centro->setCurrentIndex(lancando ? 1 : 0);
    m_edtMesa->setEnabled(e == E::Mesa);
    m_edtGarcon->setEnabled(e == E::Garcon);
    m_edtSenha->setEnabled(e == E::Garcon);
    if (e == E::Mesa)
        m_edtGarcon->clear();
    if (e != E::Garcon)
        m_edtSenha->clear(); // the password stays no longer than its step
    if (lancando)
        m_edtMesa->setText(QString::number(m_regras.mesa()));
    for (QWidget* w : {static_cast<QWidget*>(m_edtProduto), static_cast<QWidget*>(m_edtQtde),
                       static_cast<QWidget*>(m_cbxGarcon)})
        w->setEnabled(e == E::Lancando);
    const bool escolhe = lancando && m_regras.escolheGarcon();
    m_cbxGarcon->setVisible(escolhe);
    m_rotuloGarconItem->setVisible(escolhe);
    for (const Acao& a : m_acoes) {
        bool pode = a.lancamento ? true : !m_regras.alterado();
        if (a.botao == m_adItem)
            pode = e == E::Lancando;
        else if (a.botao->objectName() == QLatin1String("btnSalvar") ||
                 a.botao->objectName() == QLatin1String("btnCancelamento"))
            pode = lancando;
        a.botao->setEnabled(pode);
    }
    m_lancar->setEnabled(e != E::Cancelando || m_dm->cdsResPedidoItem().recordCount() > 0);
    // What Enter does where no field takes it: the step's confirmation.
    m_adItem->setDefault(e == E::Lancando);
    m_lancar->setDefault(e != E::Lancando);
    const QString mesa = rotuloMesa(m_regras.mesa());
    switch (e) {
    case E::Mesa: m_estado->setText(QStringLiteral("Digite a mesa e toque em \"Lançar\".")); break;
    case E::Garcon: m_estado->setText(QStringLiteral("Mesa %1: garçon e senha.").arg(mesa)); break;
    case E::Lancando: m_estado->setText(QStringLiteral("Mesa %1: lançando itens.").arg(mesa)); break;
    case E::Cancelando:
        m_estado->setText(QStringLiteral("Mesa %1: cancelamento. Escolha o item e toque em \"Lançar\".").arg(mesa));
        break;
    }
    mostrarTotal();
}

void TfrmMenuRestauranteTouch::mostrarTotal() {
    const bool lancando = m_regras.estado() == LancamentoTouch::Estado::Lancando ||
                          m_regras.estado() == LancamentoTouch::Estado::Cancelando;
    m_total->setText(lancando ? m_dm->cdsResPedido().field(QStringLiteral("auxTotalAcrescimo")).displayText()
                              : QString());
}
} // namespace kvo
