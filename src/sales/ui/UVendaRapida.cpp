#include "sales/ui/UVendaRapida.h"

#include "core/Format.h"
#include "devices/FiscalPrinter.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"
#include "registers/DECF.h"
#include "registers/DProduto.h"
#include "restaurant/extrato/RExtrato.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "sales/DVendaRapida.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvo {

namespace {

FiscalPrinter* g_ecf = nullptr;

QString reais(Currency v) { return formatFloat(u",0.00", v); }

Currency lerValor(const QLineEdit* e, const QString& oque) {
    const QString t = e->text().trimmed();
    if (t.isEmpty())
        Error(QStringLiteral("Informe %1.").arg(oque));
    // Typed the Brazilian way: "1.234,56" or "50".
    QString normal = t;
    normal.remove(u'.');
    normal.replace(u',', u'.');
    const auto v = Currency::parse(normal);
    if (!v)
        Error(QStringLiteral("Valor inválido: %1").arg(t));
    return *v;
}

QLineEdit* campoGrande(QWidget* pai, const QString& nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(nome);
    e->setMinimumHeight(48);
    QFont f = e->font();
    f.setPointSize(16);
    e->setFont(f);
    TrepPadraoGeral::enterProprio(e);
    return e;
}

void preencher(QTableWidget* grade, int linha, const QStringList& colunas) {
    for (int c = 0; c < colunas.size(); ++c) {
        auto* item = new QTableWidgetItem(colunas[c]);
        if (c >= 2)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grade->setItem(linha, c, item);
    }
}

QTableWidget* grade(QWidget* pai, const QString& nome, const QStringList& titulos) {
    auto* g = new QTableWidget(0, int(titulos.size()), pai);
    g->setObjectName(nome);
    g->setHorizontalHeaderLabels(titulos);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->setDefaultSectionSize(36);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setStretchLastSection(false);
    return g;
}

} // namespace

TfrmVendaRapida::TfrmVendaRapida(const ParametrosVendaRapida& parametros, QWidget* parent)
    : TrepPadraoGeral(parent), m_parametros(parametros), m_dm(std::make_unique<TdmVendaRapida>()) {
    setObjectName(QStringLiteral("frmVendaRapida"));
    setWindowTitle(QStringLiteral("Venda Rápida"));
    montar();
}

TfrmVendaRapida::~TfrmVendaRapida() = default;

void TfrmVendaRapida::usarECF(FiscalPrinter* ecf) { g_ecf = ecf; }

TfrmVendaRapida* TfrmVendaRapida::abrir() {
    auto* tela = new TfrmVendaRapida(TdmAcesso::gerarInstance().parametrosVendaRapida());
    tela->setAttribute(Qt::WA_DeleteOnClose);
    tela->setWindowModality(Qt::ApplicationModal);
    tela->show();
    tela->raise();
    tela->activateWindow();
    return tela;
}

void TfrmVendaRapida::montar() {
    const bool mesa = m_parametros.primeiro == 0;
    resize(1000, 700);
    m_titulo = new QLabel(mesa ? QStringLiteral("Fechamento de Mesa") : QStringLiteral("Venda Balcão"), this);
    m_titulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont grande = m_titulo->font();
    grande.setPointSize(18);
    grande.setBold(true);
    m_titulo->setFont(grande);
    corpo()->addWidget(m_titulo);

    auto* entrada = new QHBoxLayout;
    if (mesa) {
        entrada->addWidget(new QLabel(QStringLiteral("Mesa:"), this));
        m_mesa = campoGrande(this, QStringLiteral("edtMesa"));
        m_mesa->setMaximumWidth(160);
        entrada->addWidget(m_mesa);
        connect(m_mesa, &QLineEdit::returnPressed, this, [this] { executar([this] { carregarMesa(); }); });
    } else {
        entrada->addWidget(new QLabel(QStringLiteral("Produto (F3):"), this));
        m_produto = campoGrande(this, QStringLiteral("edtProduto"));
        entrada->addWidget(m_produto, 2);
        entrada->addWidget(new QLabel(QStringLiteral("Qtde:"), this));
        m_quantidade = campoGrande(this, QStringLiteral("edtQuantidade"));
        m_quantidade->setText(QStringLiteral("1"));
        m_quantidade->setMaximumWidth(120);
        entrada->addWidget(m_quantidade);
        auto* pesquisar = new QPushButton(QStringLiteral("F3 - Pesquisar"), this);
        pesquisar->setObjectName(QStringLiteral("btnPesquisar"));
        pesquisar->setMinimumSize(120, 48);
        pesquisar->setFocusPolicy(Qt::NoFocus);
        entrada->addWidget(pesquisar);
        connect(pesquisar, &QPushButton::clicked, this, [this] { executar([this] { pesquisarProduto(); }); });
        connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
                [this] { executar([this] { pesquisarProduto(); }); });
        connect(m_produto, &QLineEdit::returnPressed, this, [this] {
            if (!m_produto->text().trimmed().isEmpty()) {
                m_quantidade->setFocus();
                m_quantidade->selectAll();
            }
        });
        connect(m_quantidade, &QLineEdit::returnPressed, this, [this] { executar([this] { adicionarItem(); }); });
    }
    entrada->addStretch();
    corpo()->addLayout(entrada);

    auto* meio = new QHBoxLayout;
    m_itens = grade(this, QStringLiteral("gridItens"),
                    {QStringLiteral("Código"), QStringLiteral("Descrição"), QStringLiteral("Qtde"),
                     QStringLiteral("Unitário"), QStringLiteral("Total")});
    m_itens->setFocusPolicy(Qt::NoFocus);
    m_itens->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    meio->addWidget(m_itens, 3);

    auto* totais = new QFormLayout;
    const auto rotulo = [&](const QString& nome, const QString& texto, bool destaque = false) {
        auto* l = new QLabel(QStringLiteral("0,00"), this);
        l->setObjectName(nome);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = l->font();
        f.setPointSize(destaque ? 18 : 13);
        f.setBold(destaque);
        l->setFont(f);
        auto* r = new QLabel(texto, this);
        r->setFont(f);
        totais->addRow(r, l);
        return l;
    };
    m_consumo = rotulo(QStringLiteral("lblConsumo"), QStringLiteral("Consumo"));
    m_servico = rotulo(QStringLiteral("lblServico"), QStringLiteral("Serviço"));
    m_couvert = rotulo(QStringLiteral("lblCouvert"), QStringLiteral("Couvert"));
    m_desconto = rotulo(QStringLiteral("lblDesconto"), QStringLiteral("Desconto"));
    m_jaPago = rotulo(QStringLiteral("lblJaPago"), QStringLiteral("Já pago"));
    m_total = rotulo(QStringLiteral("lblTotal"), QStringLiteral("Total a pagar"), true);
    m_falta = rotulo(QStringLiteral("lblFalta"), QStringLiteral("Falta"), true);
    m_troco = rotulo(QStringLiteral("lblTroco"), QStringLiteral("Troco"), true);
    auto* lado = new QWidget(this);
    lado->setLayout(totais);
    lado->setMinimumWidth(300);
    meio->addWidget(lado, 2);
    corpo()->addLayout(meio, 3);

    // Payments: a touch button (and F5..F8) per currency type, the list, the value.
    auto* moedas = new QHBoxLayout;
    m_moeda = new QComboBox(this);
    m_moeda->setObjectName(QStringLiteral("cmbMoeda"));
    m_moeda->setMinimumHeight(48);
    const QList<MoedaVendaRapida> lista = m_dm->moedas();
    for (int i = 0; i < lista.size(); ++i) {
        m_moeda->addItem(lista[i].descricao, lista[i].codigo);
        if (i >= 4)
            continue;
        auto* b = new QPushButton(QStringLiteral("F%1 - %2").arg(i + 5).arg(lista[i].descricao), this);
        b->setObjectName(QStringLiteral("btnMoeda%1").arg(lista[i].codigo));
        b->setMinimumSize(120, 48);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { escolherMoeda(i); });
        connect(new QShortcut(QKeySequence(Qt::Key_F5 + i), this), &QShortcut::activated, this,
                [this, i] { escolherMoeda(i); });
        moedas->addWidget(b);
    }
    corpo()->addLayout(moedas);
    auto* pagar = new QHBoxLayout;
    pagar->addWidget(new QLabel(QStringLiteral("Moeda:"), this));
    pagar->addWidget(m_moeda, 1);
    pagar->addWidget(new QLabel(QStringLiteral("Valor:"), this));
    m_valor = campoGrande(this, QStringLiteral("edtValor"));
    m_valor->setMaximumWidth(200);
    pagar->addWidget(m_valor);
    connect(m_valor, &QLineEdit::returnPressed, this, [this] { executar([this] { adicionarPagamento(); }); });
    m_pagamentos = grade(this, QStringLiteral("gridPagamentos"), {QStringLiteral("Moeda"), QStringLiteral("Valor")});
    m_pagamentos->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_pagamentos->setMinimumHeight(120);
    m_pagamentos->setMaximumHeight(160);
    m_pagamentos->installEventFilter(this);
    auto* pagamentos = new QVBoxLayout;
    pagamentos->addLayout(pagar);
    pagamentos->addWidget(m_pagamentos);
    corpo()->addLayout(pagamentos, 2);

    if (m_mesa) {
        QPushButton* conta =
            adicionarBotao(QStringLiteral("btnConta"), QStringLiteral("F4 - Conta"), [this] { imprimirConta(); });
        conta->setMinimumSize(160, 56);
        conta->setFocusPolicy(Qt::NoFocus);
        connect(new QShortcut(QKeySequence(Qt::Key_F4), this), &QShortcut::activated, this,
                [this] { executar([this] { imprimirConta(); }); });
    }
    QPushButton* remover = adicionarBotao(QStringLiteral("btnRemoverPagamento"), QStringLiteral("Del - Remover pagamento"),
                                          [this] { removerPagamento(); });
    QPushButton* finalizarBotao =
        adicionarBotao(QStringLiteral("btnFinalizar"), QStringLiteral("F10 - Finalizar"), [this] { finalizar(); });
    // At once, not the button's animated click: the coupon starts on the key.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { executar([this] { finalizar(); }); });
    QPushButton* sair = adicionarBotao(QStringLiteral("btnSair"), QStringLiteral("Esc - Sair"), [this] { reject(); });
    for (QPushButton* b : {remover, finalizarBotao, sair}) {
        b->setMinimumSize(160, 56);
        b->setFocusPolicy(Qt::NoFocus);
    }
}

void TfrmVendaRapida::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    if (m_parametros.primeiro > 0) {
        // Delivery hands its orders over later.
        Alerta(QStringLiteral("Venda de delivery ainda não disponível nesta versão."));
        QMetaObject::invokeMethod(this, &QDialog::close, Qt::QueuedConnection);
        return;
    }
    if (m_mesa) {
        // The table chosen on the map: Enter takes it, typing replaces it.
        if (const int mesa = telasRestaurante().mesaSelecionada ? telasRestaurante().mesaSelecionada() : 0; mesa > 0)
            m_mesa->setText(QString::number(mesa));
        m_mesa->setFocus();
        m_mesa->selectAll();
    } else {
        m_dm->novaVendaBalcao();
        m_produto->setFocus();
    }
    atualizar();
}

bool TfrmVendaRapida::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pagamentos && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        executar([this] { removerPagamento(); });
        return true;
    }
    // In the value box Del removes the selected payment until the user starts
    // typing over the proposed value.
    if (watched == m_valor && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !m_dm->pagamentos().isEmpty() &&
        (m_valor->text().isEmpty() || m_valor->selectedText() == m_valor->text())) {
        executar([this] { removerPagamento(); });
        return true;
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmVendaRapida::reject() {
    if (!m_dm->pagamentos().isEmpty() &&
        !Confirma(QStringLiteral("Desistir da venda? Os pagamentos informados serão descartados."), false))
        return;
    TrepPadraoGeral::reject();
}

void TfrmVendaRapida::carregarMesa() {
    bool ok = false;
    const int mesa = m_mesa->text().trimmed().toInt(&ok);
    if (!ok || mesa <= 0)
        Error(QStringLiteral("Informe o número da mesa."));
    try {
        m_dm->carregarMesa(mesa);
    } catch (const Abort&) {
        atualizar();
        m_mesa->selectAll();
        throw;
    }
    atualizar();
    escolherMoeda(0);
}

// The customer's bill before paying. Its choices may change the discount,
// service and cover, so it comes before the payments and the table is read
// again after it.
void TfrmVendaRapida::imprimirConta() {
    if (!m_dm->fechandoMesa())
        Error(QStringLiteral("Informe a mesa."));
    if (!m_dm->pagamentos().isEmpty())
        Error(QStringLiteral("Remova os pagamentos antes de imprimir a conta: ela pode mudar o desconto, o serviço "
                             "e o couvert."));
    const int mesa = m_dm->mesa();
    TrelExtrato().extrato(mesa, false);
    m_dm->carregarMesa(mesa);
    atualizar();
    escolherMoeda(0);
}

void TfrmVendaRapida::pesquisarProduto() {
    if (!TwbtPesquisa::dialogo)
        return;
    const QVariant codigo = TwbtPesquisa::dialogo(TdmProduto::gerarInstance().pesquisa(), QStringLiteral("Produtos"));
    if (codigo.isNull())
        return;
    m_produto->setText(codigo.toString());
    m_quantidade->setFocus();
    m_quantidade->selectAll();
}

void TfrmVendaRapida::adicionarItem() {
    const Currency qtde = lerValor(m_quantidade, QStringLiteral("a quantidade"));
    if (m_dm->adicionarItem(m_produto->text(), qtde)) {
        m_produto->clear();
        m_quantidade->setText(QStringLiteral("1"));
    }
    atualizar();
    m_produto->setFocus();
}

void TfrmVendaRapida::escolherMoeda(int indice) {
    if (indice < 0 || indice >= m_moeda->count())
        return;
    m_moeda->setCurrentIndex(indice);
    m_valor->setText(reais(m_dm->falta()));
    m_valor->setFocus();
    m_valor->selectAll();
}

void TfrmVendaRapida::adicionarPagamento() {
    if (m_dm->itens().isEmpty())
        Error(m_mesa ? QStringLiteral("Informe a mesa.") : QStringLiteral("Nenhum item na venda."));
    m_dm->adicionarPagamento(m_moeda->currentData().toInt(), lerValor(m_valor, QStringLiteral("o valor")));
    atualizar();
    m_valor->setText(reais(m_dm->falta()));
    m_valor->setFocus();
    m_valor->selectAll();
}

void TfrmVendaRapida::removerPagamento() {
    int linha = m_pagamentos->currentRow();
    if (linha < 0)
        linha = int(m_dm->pagamentos().size()) - 1;
    if (linha < 0)
        return;
    m_dm->removerPagamento(linha);
    atualizar();
    m_valor->setText(reais(m_dm->falta()));
    m_valor->setFocus();
    m_valor->selectAll();
}

FiscalPrinter* TfrmVendaRapida::impressora() const {
    if (g_ecf)
        return g_ecf;
    if (FiscalPrinter* chamador = chamadaExterna().ecf; chamador && chamador->Ativo())
        return chamador;
    TdmECF& terminal = TdmECF::gerarInstance();
    return terminal.Ativo() ? &terminal.ecf() : nullptr;
}

void TfrmVendaRapida::finalizar() {
    FiscalPrinter* ecf = impressora();
    if (!ecf)
        Error(QStringLiteral("Impressora (ECF) não disponível!"));
    const bool mesa = m_dm->fechandoMesa();
    const CupomEmitido c = m_dm->fechar(*ecf);
    if (mesa && telasRestaurante().atualizarMapa)
        telasRestaurante().atualizarMapa();
    Informacao(QStringLiteral("Cupom fiscal %1 emitido.%2")
                   .arg(c.coo, 6, 10, QLatin1Char('0'))
                   .arg(c.troco > Currency() ? QStringLiteral(" Troco: R$ %1").arg(reais(c.troco)) : QString()));
    if (mesa) {
        accept();
        return;
    }
    m_dm->novaVendaBalcao();
    atualizar();
    m_produto->setFocus();
}

void TfrmVendaRapida::atualizar() {
    const QList<ItemVendaRapida>& itens = m_dm->itens();
    m_itens->setRowCount(int(itens.size()));
    for (int i = 0; i < itens.size(); ++i)
        preencher(m_itens, i,
                  {itens[i].codPesquisa, itens[i].descricao, formatFloat(u"###,##0.###", itens[i].qtde),
                   reais(itens[i].vlrUnit), reais(itens[i].total)});
    const QList<PagamentoVendaRapida>& pagos = m_dm->pagamentos();
    m_pagamentos->setRowCount(int(pagos.size()));
    for (int i = 0; i < pagos.size(); ++i)
        preencher(m_pagamentos, i, {pagos[i].moeda.descricao, reais(pagos[i].valor)});
    if (!pagos.isEmpty())
        m_pagamentos->selectRow(int(pagos.size()) - 1);
    const TotaisVendaRapida t = m_dm->totais();
    m_consumo->setText(reais(t.consumo));
    m_servico->setText(t.servicoAParte && !t.servico.isZero() ? QStringLiteral("(à parte) ") + reais(t.servico)
                                                               : reais(t.servico));
    m_couvert->setText(reais(t.couvert));
    m_desconto->setText(reais(t.desconto));
    m_jaPago->setText(reais(t.jaPago));
    m_total->setText(reais(t.total));
    m_falta->setText(reais(m_dm->falta()));
    m_troco->setText(reais(m_dm->troco()));
    if (m_dm->fechandoMesa())
        m_titulo->setText(QStringLiteral("Fechamento de Mesa %1").arg(m_dm->mesa(), 3, 10, QLatin1Char('0')));
}

} // namespace kvo
