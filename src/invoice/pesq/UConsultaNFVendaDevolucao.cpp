#include "invoice/pesq/UConsultaNFVendaDevolucao.h"

#include "framework/services/DAcesso.h"
#include "invoice/PesquisaNFVenda.h"
#include "registers/ui/CadastroComum.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

namespace pesq = pesquisaNFVenda;

TfrmConsultaNFVendaDevolucao::TfrmConsultaNFVendaDevolucao(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(), pesq::selectDevolucao(), parent) {
    setObjectName(QStringLiteral("frmConsultaNFVendaDevolucao"));
    setWindowTitle(QStringLiteral("Consulta de NF. Saída do tipo Devolução"));
    adicionarTipoPesquisa(QStringLiteral("Cliente"), QStringLiteral("PES_NOME"));
    adicionarTipoPesquisa(QStringLiteral("Número"), QStringLiteral("CODNFVENDA"));
    adicionarTipoPesquisa(QStringLiteral("CFOP"), QStringLiteral("CODCFOP"));
    setOrdem(QStringLiteral("NFVENDA.CODNFVENDA desc"));
    setFiltro(pesq::condicaoDevolucao());
    cadastro::rotularColunas(*this,
                             {{QStringLiteral("CODNFVENDA"), QStringLiteral("Número")},
                              {QStringLiteral("CODSERIE"), QStringLiteral("Série")},
                              {QStringLiteral("PES_NOME"), QStringLiteral("Cliente")},
                              {QStringLiteral("CODCFOP"), QStringLiteral("CFOP")},
                              {QStringLiteral("NFV_DTEMISSAO"), QStringLiteral("Emissão")},
                              {QStringLiteral("NFV_TOTAL_NOTA"), QStringLiteral("Total")},
                              {QStringLiteral("CFOP_CLASSIFICACAO"), QStringLiteral("Classificação")}},
                             {QStringLiteral("NFV_TOTAL_NOTA")});
    // Read-only: nothing is added, changed or deleted here.
    for (const char* nome : {"btnIncluir", "btnAlterar", "btnVisualizar", "btnExcluir", "btnImprimir"})
        findChild<QPushButton*>(QString::fromLatin1(nome))->hide();

    m_itens = std::make_unique<RecordSet>(TdmAcesso::gerarInstance().sqlCon());
    m_itens->setReadOnly(true);
    m_itens->setCommandText(pesq::selectItensDevolucao());
    m_itens->setParam(QStringLiteral("N"), -1);
    m_itens->setParam(QStringLiteral("S"), QString());
    m_itens->open();
    auto aplicarRotulos = [this] {
        const QList<QPair<const char*, const char*>> rotulos{{"PRO_CODPESQ_1", "Código"},
                                                             {"PRO_DESCRICAO", "Produto"},
                                                             {"NFVI_QTDE", "Quantidade"},
                                                             {"NFVI_TOTAL", "Total"},
                                                             {"NFVI_QTDE_ENTREGUE", "Entregue"}};
        for (const auto& [nome, titulo] : rotulos)
            if (Field* f = m_itens->findField(QLatin1String(nome)))
                f->setDisplayLabel(QString::fromUtf8(titulo));
    };
    aplicarRotulos();
    connect(m_itens.get(), &RecordSet::reset, this, aplicarRotulos);
    auto* modeloItens = m_modeloItens = new RecordSetModel(*m_itens, {}, this);
    PintarCelulas(*modeloItens, [](const RowView& r) -> std::optional<QColor> {
        if (pesq::entregaDifere(r.value(QStringLiteral("NFVI_QTDE")), r.value(QStringLiteral("NFVI_QTDE_ENTREGUE"))))
            return corDestaque();
        return std::nullopt;
    });
    auto* rotulo = new QLabel(QStringLiteral("Itens da nota"), this);
    m_gradeItens = new QTableView(this);
    m_gradeItens->setObjectName(QStringLiteral("dbgItens"));
    m_gradeItens->setModel(modeloItens);
    m_gradeItens->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_gradeItens->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_gradeItens->verticalHeader()->hide();
    m_gradeItens->horizontalHeader()->setStretchLastSection(true);
    corpo()->addWidget(rotulo);
    corpo()->addWidget(m_gradeItens, 1);

    auto* grade = findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
    connect(&registros(), &RecordSet::reset, this, [this, grade] {
        grade->resizeColumnsToContents();
        executar([this] { carregarItens(); });
    });
    connect(&registros(), &RecordSet::currentChanged, this, [this] { executar([this] { carregarItens(); }); });
    resize(1000, 640);
}

TfrmConsultaNFVendaDevolucao::~TfrmConsultaNFVendaDevolucao() {
    delete m_gradeItens; // they read the items, which go before the dialog's children
    delete m_modeloItens;
}

void TfrmConsultaNFVendaDevolucao::carregarItens() {
    const bool temLinha = registros().active() && !registros().isEmpty();
    const int numero = temLinha ? int(registros().field(QStringLiteral("CODNFVENDA")).asInteger()) : -1;
    const QString serie = temLinha ? registros().field(QStringLiteral("CODSERIE")).asString() : QString();
    if (numero == m_numeroCarregado && serie == m_serieCarregada)
        return;
    m_itens->close();
    m_itens->setParam(QStringLiteral("N"), numero);
    m_itens->setParam(QStringLiteral("S"), serie);
    m_itens->open();
    m_numeroCarregado = numero;
    m_serieCarregada = serie;
    m_gradeItens->resizeColumnsToContents();
}

} // namespace kvo
