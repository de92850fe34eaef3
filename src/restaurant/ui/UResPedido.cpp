#include "restaurant/ui/UResPedido.h"

#include "framework/db/RecordSetModel.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UCaixaAbertura.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DResPedido.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UParRestaurante.h"
#include "restaurant/ui/UResPedidoItem.h"
#include "restaurant/ui/UResTransferencia.h"
#include "restaurant/ui/UResPedido_Escolha.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace kvo {

namespace {
bool ligada(const char* nome) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)) == QLatin1String("S");
}
QLabel* valor(QWidget* pai, const char* nome) {
    auto* l = new QLabel(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(90);
    return l;
}
} // namespace

TfrmResPedido::TfrmResPedido(TdmResPedido& dm, QWidget* parent)
    : TrepPadraoGeral(parent), m_dm(dm), m_operacoes(dm) {
    setObjectName(QStringLiteral("frmResPedido"));
    setWindowTitle(QStringLiteral("Lançamento da Cozinha"));

    auto* cab = new QGridLayout;
    m_pedido = valor(this, "lblCODPEDIDO");
    m_mesa = valor(this, "lblCODCONTROLE");
    m_status = valor(this, "lblPED_STATUS");
    m_data = valor(this, "lblPED_DATA");
    m_pessoa = valor(this, "lblAUXPESSOA");
    cab->addWidget(new QLabel(QStringLiteral("Nr. Pedido"), this), 0, 0);
    cab->addWidget(new QLabel(QStringLiteral("Mesa"), this), 0, 1);
    cab->addWidget(new QLabel(QStringLiteral("Status"), this), 0, 2);
    cab->addWidget(new QLabel(QStringLiteral("Data"), this), 0, 3);
    cab->addWidget(new QLabel(QStringLiteral("Pessoa"), this), 0, 4);
    cab->addWidget(m_pedido, 1, 0);
    cab->addWidget(m_mesa, 1, 1);
    cab->addWidget(m_status, 1, 2);
    cab->addWidget(m_data, 1, 3);
    cab->addWidget(m_pessoa, 1, 4);
    cab->setColumnStretch(4, 1);
    corpo()->addLayout(cab);

    // Headings of the columns the order module leaves unnamed.
    RecordSet& itens = dm.cdsResPedidoItem();
    for (const auto& [campo, titulo] : {std::pair{"PRO_DESCRICAO", "Descrição"}, std::pair{"PEDI_QTDE", "Qtde"},
                                        std::pair{"PEDI_VLRUNIT", "Vlr.Unitário"}, std::pair{"PEDI_TOTAL", "Total"},
                                        std::pair{"CODGARCON", "Garçon"}, std::pair{"PEDI_STATUS", "Status"}}) {
        Field& f = itens.field(QString::fromLatin1(campo));
        if (f.displayLabel().isEmpty() || f.displayLabel() == f.name())
            f.setDisplayLabel(QString::fromUtf8(titulo));
    }
    m_modelo = new RecordSetModel(dm.cdsResPedidoItem(),
                                  {QStringLiteral("auxItem"), QStringLiteral("CODPESQUISA"), QStringLiteral("PRO_DESCRICAO"),
                                   QStringLiteral("PEDI_QTDE"), QStringLiteral("PEDI_VLRUNIT"),
                                   QStringLiteral("PEDI_TOTAL"), QStringLiteral("CODGARCON"), QStringLiteral("PEDI_STATUS"),
                                   QStringLiteral("PEDI_LAN_DATA"), QStringLiteral("PEDI_OBS")},
                                  this);
    PintarCelulas(*m_modelo, [](const RowView& r) -> std::optional<QColor> {
        if (r.value(QStringLiteral("PEDI_STATUS")).toString() == QLatin1String("CANCELADO"))
            return QColor(0xf4, 0xc7, 0xc3);
        return std::nullopt;
    });
    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgItens"));
    m_grade->setModel(m_modelo);
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->horizontalHeader()->setStretchLastSection(true);
    m_grade->verticalHeader()->hide();
    m_grade->setColumnWidth(2, 300);
    m_grade->setColumnWidth(8, 140);
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        if (i.isValid() && m_dm.cdsResPedidoItem().recNo() != i.row() + 1)
            m_dm.cdsResPedidoItem().setRecNo(i.row() + 1);
    });
    corpo()->addWidget(m_grade, 1);

    auto* totais = new QHBoxLayout;
    m_total = valor(this, "lblTotAcrescimo");
    m_produtos = valor(this, "lblPED_TOTAL");
    m_acrescimo = valor(this, "lblVlrAcrescimo");
    totais->addStretch();
    totais->addWidget(new QLabel(QStringLiteral("Produtos:"), this));
    totais->addWidget(m_produtos);
    totais->addWidget(new QLabel(QStringLiteral("Acresc.:"), this));
    totais->addWidget(m_acrescimo);
    totais->addWidget(new QLabel(QStringLiteral("Tot. do Pedido:"), this));
    totais->addWidget(m_total);
    QFont f = m_total->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    m_total->setFont(f);
    corpo()->addLayout(totais);

    QPushButton* incluir =
        adicionarBotao(QStringLiteral("btnIncluir"), QStringLiteral("&Incluir"), [this] { btnIncluirClick(); });
    incluir->setShortcut(QKeySequence(Qt::Key_Insert));
    adicionarBotao(QStringLiteral("btnAlterar"), QStringLiteral("&Alterar"), [this] { btnAlterarClick(); });
    adicionarBotao(QStringLiteral("btnCancelarItem"), QStringLiteral("&Cancelar Item"), [this] { btnCancelarItemClick(); });
    m_btnTransferir = adicionarBotao(QStringLiteral("btnTransferir"), QStringLiteral("&Transferir Item"),
                                     [this] { btnTransferirClick(); });
    m_btnFechamento = adicionarBotao(QStringLiteral("btnFechamentoParcial"), QStringLiteral("&Fechamento Parcial"),
                                     [this] { btnFechamentoParcialClick(); });
    adicionarBotao(QStringLiteral("btnAlterarGarcon"),
                   ligada("REST.ALT.TGA") ? QStringLiteral("A&lt. Garç. todos os itens")
                                          : QStringLiteral("A&lterar Garçon"),
                   [this] { btnAlterarGarconClick(); });
    QPushButton* ok = adicionarBotao(QStringLiteral("btnOk"), QStringLiteral("&OK"), [this] { btnOkClick(); });
    ok->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnSair"), QStringLiteral("Sai&r"), [this] { reject(); });
    resize(1000, 600);
}

TfrmResPedido::~TfrmResPedido() = default;

void TfrmResPedido::carregar(const QString& modo, int mesa, int garcon) {
    m_modo = modo;
    m_dm.setGarconPredefinido(garcon);
    m_dm.abrirMesa(mesa);
    mostrarTotais();
}

bool TfrmResPedido::ChamaFormulario(const QString& modo, int mesa, int garcon) {
    carregar(modo, mesa, garcon);
    exec();
    return !ligada("REST.DEIX.AB");
}

void TfrmResPedido::chamatela() {
    if (TdmAcesso::gerarInstance().getTrabalhaAbertura() && !TdmCaixaAbertura::gerarInstance().caixaAberto()) {
        if (!Confirma(QStringLiteral("Deseja abrir o Caixa?")))
            return;
        if (!TfrmCaixaAbertura::chamarTela() || !TdmCaixaAbertura::gerarInstance().caixaAberto())
            return;
    }
    TfrmResPedido_Escolha::chamaTela(QString(), 0);
}

void TfrmResPedido::showEvent(QShowEvent* event) {
    TrepPadraoGeral::showEvent(event);
    m_grade->setFocus();
    if (m_dm.cdsResPedidoItem().recordCount() > 0)
        m_grade->selectRow(0);
    if (m_modo.isEmpty())
        QTimer::singleShot(100, this, [this] { executar([this] { btnIncluirClick(); }); });
    else if (m_modo == QLatin1String("TransItem"))
        m_btnTransferir->setFocus();
    else if (m_modo == QLatin1String("FechaParcial"))
        m_btnFechamento->setFocus();
}

void TfrmResPedido::mostrarTotais() {
    RecordSet& p = m_dm.cdsResPedido();
    m_pedido->setText(p.field(QStringLiteral("CODPEDIDO")).displayText());
    m_mesa->setText(p.field(QStringLiteral("CODCONTROLE")).displayText());
    m_status->setText(p.field(QStringLiteral("PED_STATUS")).displayText());
    m_data->setText(p.field(QStringLiteral("PED_DATA")).displayText());
    m_pessoa->setText(p.field(QStringLiteral("AUXPESSOA")).displayText());
    m_total->setText(p.field(QStringLiteral("auxTotalAcrescimo")).displayText());
    m_produtos->setText(p.field(QStringLiteral("PED_TOTAL")).displayText());
    m_acrescimo->setText(p.field(QStringLiteral("auxVlrAcrescimo")).displayText());
}

void TfrmResPedido::selecionarLinha() {
    const int linha = m_dm.cdsResPedidoItem().recNo() - 1;
    if (linha >= 0)
        m_grade->selectRow(linha);
    mostrarTotais();
}

void TfrmResPedido::btnIncluirClick() {
    if (!m_operacoes.liberarLancamento()) {
        reject();
        return;
    }
    const bool agil = ligada("REST.AGIL");
    bool outro = true;
    while (outro) {
        TfrmResPedidoItem item(m_dm, this);
        outro = item.incluir() && agil;
        m_dm.ResPedido_CalculaTotal();
        selecionarLinha();
    }
    voltarFoco();
}

void TfrmResPedido::voltarFoco() {
    // The item screen is gone: this one takes the keyboard back.
    activateWindow();
    m_grade->setFocus();
}

void TfrmResPedido::btnAlterarClick() {
    if (m_dm.cdsResPedidoItem().isEmpty())
        Error(QStringLiteral("Nenhum item!"));
    if (m_dm.cdsResPedidoItem().field(QStringLiteral("PEDI_STATUS")).asString() == QLatin1String("CANCELADO"))
        Error(QStringLiteral("Item já CANCELADO!"));
    TfrmResPedidoItem item(m_dm, this);
    item.alterar();
    m_dm.ResPedido_CalculaTotal();
    selecionarLinha();
    voltarFoco();
}

void TfrmResPedido::btnCancelarItemClick() {
    m_operacoes.cancelarItem();
    selecionarLinha();
}

void TfrmResPedido::btnTransferirClick() {
    m_operacoes.transferirItem(m_numeroControleDestino);
    selecionarLinha();
}

void TfrmResPedido::btnFechamentoParcialClick() { Informacao(QStringLiteral("Opção não disponivel!!")); }

void TfrmResPedido::btnAlterarGarconClick() {
    m_operacoes.alterarGarcon();
    selecionarLinha();
}

void TfrmResPedido::btnOkClick() {
    m_operacoes.gravar();
    accept();
}

void TfrmResPedido::reject() {
    // What was not saved stays out of the database; the next opening reads it again.
    m_dm.FecharResVenda();
    TrepPadraoGeral::reject();
}

void registrarTelasPedido() {
    ScreenRegistry::registrar(QStringLiteral("TfrmResPedido.chamatela"), [] { TfrmResPedido::chamatela(); });
    ScreenRegistry::registrar(QStringLiteral("TfrmParRestaurante.ChamaParametro"),
                              [] { TfrmParRestaurante::ChamaParametro(); });
    ScreenRegistry::registrar(QStringLiteral("TfrmResTransferencia.chamaTransferencia"),
                              [] { TfrmResTransferencia::chamaTransferencia(); });
    telasRestaurante().escolhaPedido = [](const QString& modo, int mesa) {
        return TfrmResPedido_Escolha::chamaTela(modo, mesa);
    };
    telasRestaurante().transferenciaMesa = [] { TfrmResTransferencia::chamaTransferencia(); };
}

} // namespace kvo
