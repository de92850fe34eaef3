#include "invoice/ui/UNFVendaItem.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/ComponentesNFVenda.h"
#include "registers/DCadastros.h"
#include "registers/DPessoa.h"
#include "registers/DProduto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kvo {

using namespace nfvenda::ui;

namespace {
QString texto(const RecordSet& rs, const char* campo) { return rs.field(QLatin1String(campo)).asString().trimmed(); }
bool ehServico(const RecordSet& rs) { return texto(rs, "NFVI_CATEGORIA") == QStringLiteral("Serviço"); }

TwbtPesquisa& pesquisaServicos() {
    struct Servicos {
        TwbtPesquisa pesquisa{TdmAcesso::gerarInstance().sqlCon()};
        Servicos() {
            pesquisa.configurar(QStringLiteral("select CODSERVICO, SER_DESCRICAO, SER_VALOR from SERVICOS"),
                                QStringLiteral("CODSERVICO"), QStringLiteral("Pesquisa de Serviço"),
                                QStringLiteral("Serviço não encontrado!"));
        }
    };
    return Module::current().instance<Servicos>().pesquisa;
}
} // namespace

TfrmNFVendaItem::TfrmNFVendaItem(QWidget* parent)
    : TrepPadraoDetalhe(TdmNFVenda::gerarInstance().cdsNFVendaItem(), parent), m_dm(TdmNFVenda::gerarInstance()) {
    setObjectName(QStringLiteral("frmNFVendaItem"));
    setWindowTitle(QStringLiteral("Movimentação: Nota Fiscal de Venda Item"));
    montar();
    // Cancel drops this line's edit only, never the invoice's other lines.
    auto* cancelar = findChild<QPushButton*>(QStringLiteral("btnCancelar"));
    cancelar->disconnect();
    connect(cancelar, &QPushButton::clicked, this, [this] { reject(); });
    RecordSet& rs = registro();
    connect(&rs, &RecordSet::rowChanged, this, [this] { atualizarPaineis(); });
    connect(&rs, &RecordSet::stateChanged, this, [this] { atualizarPaineis(); });
    connect(&rs, &RecordSet::currentChanged, this, [this] { atualizarPaineis(); });
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("LIC.VER.NFV")) == u"S") {
        // A tender item may be set by a step outside this screen.
        m_vigiaLicitacao = new QTimer(this);
        m_vigiaLicitacao->setInterval(500);
        connect(m_vigiaLicitacao, &QTimer::timeout, this, [this] { atualizarPaineis(); });
    }
}

void TfrmNFVendaItem::montar() {
    auto secao = [this](const char* nome, const char* titulo, int colunas) {
        auto* g = new QGroupBox(QString::fromUtf8(titulo), this);
        g->setObjectName(QString::fromLatin1(nome));
        corpo()->addWidget(g);
        return std::make_pair(static_cast<QWidget*>(g), Grade(new QGridLayout(g), colunas));
    };
    auto campos = [this](QWidget* pai, Grade& g, std::initializer_list<std::pair<const char*, const char*>> lista,
                         bool editaveis) {
        for (const auto& [rotulo, campo] : lista)
            g.add(QString::fromUtf8(rotulo), editaveis ? editarCampo(*this, pai, QString::fromLatin1(campo))
                                                       : mostrarCampo(*this, pai, QString::fromLatin1(campo)));
    };

    auto [categoria, gCategoria] = secao("pnlCategoria", "Categoria", 1);
    m_categoria = categoria;
    QComboBox* cat = listaCampo(*this, categoria, QStringLiteral("NFVI_CATEGORIA"),
                                {{QStringLiteral("Produto"), QStringLiteral("Produto")},
                                 {QStringLiteral("Serviço"), QStringLiteral("Serviço")}});
    gCategoria.add(QStringLiteral("C&ategoria:"), cat);
    connect(cat, &QComboBox::activated, this, [this] { executar([this] { trocarCategoria(); }); });

    auto [produto, gProduto] = secao("pnlProduto", "Produto", 2);
    m_produto = produto;
    CampoPesquisa codigo = campoPesquisa(*this, produto, QStringLiteral("CODPESQUISA"),
                                         []() -> TwbtPesquisa& { return TdmProduto::gerarInstance().pesquisa(); },
                                         [this] { atualizarPaineis(); });
    gProduto.add(QStringLiteral("Códi&go:"), lado(codigo.codigo, codigo.botao));
    gProduto.add(QStringLiteral("Descrição:"), mostrarCampo(*this, produto, QStringLiteral("PRO_DESCRICAO")));
    gProduto.add(QStringLiteral("Grau:"), mostrarCampo(*this, produto, QStringLiteral("PRODG_DESCRICAO")), 2);

    auto [servico, gServico] = secao("pnlServico", "Serviço", 2);
    m_servico = servico;
    CampoPesquisa serv = campoPesquisa(*this, servico, QStringLiteral("CODSERVICO"), pesquisaServicos);
    gServico.add(QStringLiteral("&Serviço:"), lado(serv.codigo, serv.botao));
    gServico.add(QStringLiteral("Descrição:"), mostrarCampo(*this, servico, QStringLiteral("SER_DESCRICAO")));
    connect(serv.codigo, &QLineEdit::editingFinished, this, [this] { executar([this] { servicoEscolhido(); }); });

    auto [unidade, gUnidade] = secao("pnlUnidade", "Unidade de venda", 3);
    m_unidade = unidade;
    gUnidade.add(QStringLiteral("&Qtde.:"), editarCampo(*this, unidade, QStringLiteral("NFVI_QTDE_UND")));
    m_unidades = new QComboBox(unidade);
    m_unidades->setObjectName(QStringLiteral("cbxCODPRODUTOUNIDADE_NFVI"));
    gUnidade.add(QStringLiteral("&Unidade:"), m_unidades);
    gUnidade.add(QStringLiteral("&Valor:"), editarCampo(*this, unidade, QStringLiteral("NFVI_VLR_UND")));

    auto [valores, gValores] = secao("pnlValores", "Valores", 4);
    campos(valores, gValores,
           {{"Qtde. Base:", "NFVI_QTDE"}, {"Vlr. Unitário:", "NFVI_VLR_UNITARIO"}, {"Desconto:", "NFVI_VLRDESC"},
            {"Aliq. ICMS:", "NFVI_ALIQ_ICMS"}, {"Aliq. IPI:", "NFVI_ALIQ_IPI"}, {"Base ICMS:", "NFVI_ICMS_BASE"},
            {"% Redução", "NFVI_PER_REDUC"}, {"Aliq. FCP", "NFVI_FCP_ALIQ"}},
           true);
    gValores.add(QStringLiteral("Alíquota interna da UF de destino: "),
                 editarCampo(*this, valores, QStringLiteral("NFVI_ALIQ_ICMS_FORA")));
    campos(valores, gValores, {{"ICMS:", "NFVI_ICMS"}, {"Total:", "NFVI_TOTAL"}}, false);
    m_ipi = editarCampo(*this, valores, QStringLiteral("NFVI_IPI"));
    gValores.add(QStringLiteral("IPI:"), m_ipi);
    CampoPesquisa cfop = campoPesquisa(*this, valores, QStringLiteral("CODCFOP"),
                                       []() -> TwbtPesquisa& { return TdmCfop::gerarInstance().pesquisa(); });
    gValores.add(QStringLiteral("CFOP:"), lado(cfop.codigo, cfop.botao, mostrarCampo(*this, valores, QStringLiteral("CFOP_DESCRICAO"))),
                 2);

    auto [tipoPreco, gTipo] = secao("pnlTipoPreco", "Tipo de preço", 1);
    m_tipoPreco = tipoPreco;
    Opcoes precos;
    for (int n = 1; n <= 8; ++n)
        precos.append({QStringLiteral("0%1").arg(n), QStringLiteral("Preço %1").arg(n)});
    gTipo.add(QStringLiteral("Preço:"), listaCampo(*this, tipoPreco, QStringLiteral("NFVI_TIPOPRECO"), precos));

    auto [cst, gCst] = secao("pnlCST", "Situação tributária", 3);
    m_cst = cst;
    gCst.add(QStringLiteral("CST ICMS:"), listaCampo(*this, cst, QStringLiteral("NFVI_CST"), opcoesCstIcms()));
    m_csosn = listaCampo(*this, cst, QStringLiteral("NFVI_CSOSN"), opcoesCsosn());
    m_rotuloCsosn = gCst.add(QStringLiteral("CSOSN:"), m_csosn);
    gCst.add(QStringLiteral("Mod. BC:"), listaCampo(*this, cst, QStringLiteral("NFVI_MOD_BC"), opcoesModBC()));
    campos(cst, gCst, {{"Base ICMS ST:", "NFVI_SUBST_BC"}, {"ICMS ST:", "NFVI_SUBST_VLR"}}, true);

    auto [impostos, gImp] = secao("pnlIPIPISCOFINS", "IPI, PIS e COFINS", 4);
    gImp.add(QStringLiteral("CST IPI:"), listaCampo(*this, impostos, QStringLiteral("NFVI_CST_IPI"), opcoesCstIpi()), 2);
    gImp.add(QString(), marcarCampo(*this, impostos, QStringLiteral("Alterar Valor do IPI"), QStringLiteral("NFVI_ALTERAR_IPI")));
    gImp.quebrar();
    gImp.add(QStringLiteral("CST PIS:"), listaCampo(*this, impostos, QStringLiteral("NFVI_PIS_CST"), opcoesCstPisCofins()));
    campos(impostos, gImp, {{"Base PIS:", "NFVI_PIS_BC"}, {"% PIS:", "NFVI_PIS_PER"}, {"PIS:", "NFVI_PIS_VLR"}}, true);
    gImp.add(QStringLiteral("CST COFINS:"), listaCampo(*this, impostos, QStringLiteral("NFVI_COFINS_CST"), opcoesCstPisCofins()));
    campos(impostos, gImp, {{"Base COFINS:", "NFVI_COFINS_BC"}, {"% COFINS:", "NFVI_COFINS_PER"}, {"COFINS:", "NFVI_COFINS_VLR"}},
           true);
    campos(impostos, gImp, {{"BC ST Ret.:", "NFVI_BCSTRET"}, {"Aliq. ST:", "NFVI_ST"},
                            {"ICMS Substituto:", "NFVI_ICMSSUBSTITUTO"}, {"ICMS ST Ret.:", "NFVI_ICMSSTRET"}},
           true);

    auto [importacao, gDi] = secao("pnlImportacao", "Declaração de importação", 4);
    m_importacao = importacao;
    campos(importacao, gDi,
           {{"Nr. DI:", "NFVI_DI_NUMERO"}, {"Registro:", "NFVI_DI_DATA_REGISTRO"}, {"Desembaraço:", "NFVI_DI_DATA_DESEMB"},
            {"Local:", "NFVI_DI_LOCAL_DESEMB"}, {"UF:", "NFVI_DI_UF_DESEMB"}, {"Exportador:", "NFVI_DI_COD_EXPORTADOR"},
            {"Vlr. II:", "NFVI_II_VLR"}, {"BC II:", "NFVI_II_BC"}, {"Desp. Aduaneiras:", "NFVI_II_DESP_ADUANEIRAS"},
            {"IOF:", "NFVI_IOF_VLR"}},
           true);

    auto [fornecedor, gForn] = secao("pnlFornecedor", "Fornecedor", 2);
    m_fornecedor = fornecedor;
    CampoPesquisa forn = campoPesquisa(*this, fornecedor, QStringLiteral("CODPESSOA_FORNECEDOR"),
                                       []() -> TwbtPesquisa& { return TdmPessoa::gerarInstance().pesquisa(); });
    gForn.add(QStringLiteral("Fornecedor:"), lado(forn.codigo, forn.botao, mostrarCampo(*this, fornecedor, QStringLiteral("FORNECEDOR_NOME"))),
              2);

    auto [licitacao, gLic] = secao("pnlLicitacao", "Licitação", 5);
    m_licitacao = licitacao;
    campos(licitacao, gLic,
           {{"Validade", "LICCI_DATA_VALIDADE"}, {"Qtde", "LICCI_QTDE"}, {"Faturado", "LICCI_QTDE_FAT"},
            {"Limite", "LICCI_QTDE_LIMITE"}, {"Vlr. Unit.", "LICCI_VLRUNIT"}},
           false);

    m_totalZerado = new QCheckBox(QStringLiteral("&Estou ciente que o total do item está zerado!"), this);
    m_totalZerado->setObjectName(QStringLiteral("chkTotalZerado"));
    corpo()->addWidget(m_totalZerado);

    binder().bind(m_unidades, QStringLiteral("CODPRODUTOUNIDADE_NFVI"));
    // A typed value's reaction may change the unit list and the panels: they
    // follow once the binder has written it.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::editingFinished, this, [this] { atualizarPaineis(); });
    for (QComboBox* c : findChildren<QComboBox*>())
        connect(c, &QComboBox::activated, this, [this] { atualizarPaineis(); });
    for (QCheckBox* c : findChildren<QCheckBox*>())
        connect(c, &QCheckBox::toggled, this, [this] { atualizarPaineis(); });
}

bool TfrmNFVendaItem::categoriaVisivel() const {
    return !registro().database()->scalar(QStringLiteral("select first 1 1 from SERVICOS")).isNull();
}

void TfrmNFVendaItem::showEvent(QShowEvent* event) {
    TrepPadraoDetalhe::showEvent(event);
    executar([this] { FormShow(); });
}

void TfrmNFVendaItem::FormShow() {
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    m_fornecedor->setVisible(cfg.getStr(QStringLiteral("PEDV.FORN.ITEM")) == u"S");
    m_tipoPreco->setVisible(cfg.getStr(QStringLiteral("NF.TP.VND")) == u"S");
    m_importacao->setVisible(cfg.getStr(QStringLiteral("NF.IMPORT")) == u"S");
    m_cst->setVisible(cfg.getStr(QStringLiteral("NFE.CST.PROD")) == u"S");
    m_categoria->setVisible(categoriaVisivel());
    m_csosn->setVisible(TdmAcesso::gerarInstance().empresa().simplesNacional());
    m_rotuloCsosn->setVisible(m_csosn->isVisible());
    RecordSet& rs = registro();
    if (!somenteLeitura())
        SetGeneretor(QStringLiteral("GEN_NFVENDA_ITEM"));
    // A line being changed: the unit list points at its own product or service.
    if (rs.state() == RecordSet::State::Edit)
        rs.field(QStringLiteral("NFVI_CATEGORIA")).setValue(rs.field(QStringLiteral("NFVI_CATEGORIA")).value());
    if (m_vigiaLicitacao)
        m_vigiaLicitacao->start();
    atualizarPaineis();
    QWidget* primeiro = ehServico(rs) ? findChild<QWidget*>(QStringLiteral("edtCODSERVICO"))
                                              : findChild<QWidget*>(QStringLiteral("edtCODPESQUISA"));
    primeiro->setFocus();
}

void TfrmNFVendaItem::carregarUnidades() {
    QList<QPair<QVariant, QString>> lista;
    RecordSet& u = m_dm.unidades();
    if (u.active()) {
        const int chave = u.field(QStringLiteral("CODPRODUTOUNIDADE")).index();
        const int sigla = u.field(QStringLiteral("PROU_SIGLA")).index();
        for (int r = 0; r < u.recordCount(); ++r)
            lista.append({u.valueAt(r, chave), u.valueAt(r, sigla).toString().trimmed()});
    }
    if (lista == m_listaUnidades)
        return;
    m_listaUnidades = lista;
    m_unidades->clear();
    for (const auto& [chave, sigla] : lista)
        m_unidades->addItem(sigla, chave);
    binder().refresh();
}

void TfrmNFVendaItem::atualizarPaineis() {
    const RecordSet& rs = registro();
    if (!rs.active())
        return;
    carregarUnidades();
    const bool servico = ehServico(rs);
    m_produto->setVisible(!servico);
    m_servico->setVisible(servico);
    m_licitacao->setVisible(rs.field(QStringLiteral("CODLICITACAOCONTRATOITEM")).asInteger() > 0);
    m_ipi->setReadOnly(somenteLeitura() || texto(rs, "NFVI_ALTERAR_IPI") != u"S");
    m_ipi->setFocusPolicy(m_ipi->isReadOnly() ? Qt::NoFocus : Qt::StrongFocus);
    // The height follows the visible panels.
    if (isVisible())
        QTimer::singleShot(0, this, [this] { resize(width(), sizeHint().height()); });
}

void TfrmNFVendaItem::trocarCategoria() {
    RecordSet& rs = registro();
    const bool servico = ehServico(rs);
    rs.field(servico ? QStringLiteral("CODPESQUISA") : QStringLiteral("CODSERVICO")).setValue(QVariant());
    if (servico)
        rs.field(QStringLiteral("CODPRODUTO")).setValue(QVariant());
    for (const char* campo : {"NFVI_QTDE_UND", "NFVI_VLR_UND", "NFVI_QTDE", "NFVI_VLR_UNITARIO", "NFVI_VLRDESC"})
        rs.field(QLatin1String(campo)).setValue(0);
    binder().refresh();
    atualizarPaineis();
}

void TfrmNFVendaItem::servicoEscolhido() {
    RecordSet& rs = registro();
    const qint64 codigo = rs.field(QStringLiteral("CODSERVICO")).asInteger();
    if (codigo <= 0 || !ehServico(rs))
        return;
    TwbtPesquisa& pesquisa = pesquisaServicos();
    if (!pesquisa.Localizar(codigo))
        return;
    pesquisa.Complementar({nullptr, &rs.field(QStringLiteral("SER_DESCRICAO"))});
    // The unit list of a service follows its code.
    rs.field(QStringLiteral("NFVI_CATEGORIA")).setValue(QStringLiteral("Serviço"));
    binder().refresh();
    atualizarPaineis();
}

void TfrmNFVendaItem::recusar(QWidget* foco, const QString& mensagem) {
    if (foco)
        foco->setFocus();
    Error(mensagem);
}

void TfrmNFVendaItem::ValidaDados() {
    const RecordSet& rs = registro();
    auto controle = [this](const char* nome) { return findChild<QWidget*>(QString::fromLatin1(nome)); };
    const bool servico = ehServico(rs);
    if (servico && rs.field(QStringLiteral("CODSERVICO")).asInteger() <= 0)
        recusar(controle("edtCODSERVICO"), QStringLiteral("Serviço não informado!"));
    if (!servico && rs.field(QStringLiteral("CODPRODUTO")).asInteger() <= 0)
        recusar(controle("edtCODPESQUISA"), QStringLiteral("Produto não informado!"));
    // Key 0 is a real choice: the base unit of a product without unit rows.
    if (rs.field(QStringLiteral("CODPRODUTOUNIDADE_NFVI")).isNull() || m_unidades->currentIndex() < 0)
        recusar(m_unidades, QStringLiteral("Unidade não selecionada!"));
    const bool complementar =
        m_dm.cdsNFVenda().field(QStringLiteral("NFV_FINALIDADE_EMISSAO")).asString().trimmed() == u"2";
    if (complementar || m_totalZerado->isChecked())
        return;
    if (!m_unidade->isHidden() && rs.field(QStringLiteral("NFVI_QTDE_UND")).asCurrency() <= Currency())
        recusar(controle("edtNFVI_QTDE_UND"), QStringLiteral("QTDE não informada ou inválida!"));
    if (rs.field(QStringLiteral("NFVI_TOTAL")).asCurrency() <= Currency())
        recusar(controle(!m_unidade->isHidden() ? "edtNFVI_VLR_UND" : "edtNFVI_VLR_UNITARIO"),
                QStringLiteral("TOTAL inválido!"));
}

// The line stays in memory with the invoice: the invoice screen saves it.
void TfrmNFVendaItem::gravar() { m_dm.gravarItem(); }

void TfrmNFVendaItem::reject() {
    registro().cancel();
    QDialog::reject();
}

} // namespace kvo
