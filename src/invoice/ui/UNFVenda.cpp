// The invoice screen: its controls and their panels. The actions (references,
// child lines, saving) are in UNFVendaAcoes.cpp.
#include "invoice/ui/UNFVenda.h"

#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Libgeral.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/ComponentesNFVenda.h"
#include "registers/DCadastros.h"
#include "registers/DPessoa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace kvo {

using namespace nfvenda::ui;

namespace {
QGroupBox* grupo(QWidget* pai, const QString& nome, const QString& titulo) {
    auto* g = new QGroupBox(titulo, pai);
    g->setObjectName(nome);
    return g;
}

QWidget* painel(QWidget* pai, const QString& nome) {
    auto* p = new QWidget(pai);
    p->setObjectName(nome);
    auto* l = new QHBoxLayout(p);
    l->setContentsMargins(0, 0, 0, 0);
    return p;
}
} // namespace

TfrmNFVenda::TfrmNFVenda(QWidget* parent)
    : TrepPadraoCadastro(TdmNFVenda::gerarInstance().cdsNFVenda(), parent), m_dm(TdmNFVenda::gerarInstance()) {
    setObjectName(QStringLiteral("frmNFVenda"));
    setWindowTitle(QStringLiteral("Movimentação: Nota Fiscal de Saída"));
    montarTopo();
    montarPessoas();
    montarFilhos();
    carregarSeries();
    carregarFormasPagamento();
    // The base's Cancel drops the header only; this one drops the children too.
    auto* cancelar = findChild<QPushButton*>(QStringLiteral("btnCancelar"));
    cancelar->disconnect();
    connect(cancelar, &QPushButton::clicked, this, [this] { executar([this] { this->cancelar(); }); });
    resize(1340, 740);
}

void TfrmNFVenda::montarTopo() {
    auto* linha = new QHBoxLayout;
    corpo()->addLayout(linha);
    QGroupBox* nota = grupo(this, QStringLiteral("grpNota"), QStringLiteral("Nota Fiscal"));
    linha->addWidget(nota, 3);
    auto* gl = new QGridLayout(nota);
    Grade g(gl, 4);
    QLineEdit* numero = mostrarCampo(*this, nota, QStringLiteral("CODNFVENDA"));
    g.add(QStringLiteral("Nr. NF:"), numero);
    m_serie = new QComboBox(nota);
    m_serie->setObjectName(QStringLiteral("cbxCODSERIE"));
    g.add(QStringLiteral("&Série:"), m_serie);
    auto* emissao = new QDateEdit(nota);
    emissao->setObjectName(QStringLiteral("dtpNFV_DTEMISSAO"));
    emissao->setCalendarPopup(true);
    binder().bind(emissao, QStringLiteral("NFV_DTEMISSAO"));
    g.add(QStringLiteral("&Emissão:"), emissao);
    g.add(QStringLiteral("Status:"), mostrarCampo(*this, nota, QStringLiteral("NFV_STATUS")));
    g.add(QStringLiteral("&Tipo:"), listaCampo(*this, nota, QStringLiteral("NFV_TIPO"),
                                                 {{QStringLiteral("E"), QStringLiteral("Entrada")},
                                                  {QStringLiteral("S"), QStringLiteral("Saída")}}));
    m_forma = new QComboBox(nota);
    m_forma->setObjectName(QStringLiteral("cbxCODFORMAPAGAMENTO"));
    g.add(QStringLiteral("F&orma Pgto.:"), m_forma);
    g.add(QStringLiteral("&Frete:"), listaCampo(*this, nota, QStringLiteral("NFV_TP_FRETE"),
                                                  {{QStringLiteral("CIF"), QStringLiteral("CIF")},
                                                   {QStringLiteral("FOB"), QStringLiteral("FOB")},
                                                   {QStringLiteral("SFT"), QStringLiteral("SFT")}}));
    g.add(QStringLiteral("Finalida&de:"), listaCampo(*this, nota, QStringLiteral("NFV_FINALIDADE_EMISSAO"),
                                                       {{QStringLiteral("1"), QStringLiteral("Normal")},
                                                        {QStringLiteral("2"), QStringLiteral("Complementar")},
                                                        {QStringLiteral("3"), QStringLiteral("Ajuste")},
                                                        {QStringLiteral("4"), QStringLiteral("Devolução")}}));
    auto botao = [this, nota](const char* nome, const char* titulo, void (TfrmNFVenda::*acao)()) {
        auto* b = new QPushButton(QString::fromUtf8(titulo), nota);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, acao] { executar([this, acao] { (this->*acao)(); }); });
        return static_cast<QWidget*>(b);
    };
    g.add(QStringLiteral("NF Ref.:"),
          lado(mostrarCampo(*this, nota, QStringLiteral("auxNF")), mostrarCampo(*this, nota, QStringLiteral("CODSERIE_DEV")),
               botao("btnRefNFe", "Ref. NF-e", &TfrmNFVenda::btnRefNFeClick),
               botao("btnNFCompra", "NF.Compra", &TfrmNFVenda::btnNFCompraClick),
               botao("btnRefECF", "Ref.ECF", &TfrmNFVenda::btnRefECFClick)),
          2);
    g.add(QStringLiteral("Chave NF-e Ref.:"), editarCampo(*this, nota, QStringLiteral("NFV_REFNFE")));
    g.add(QStringLiteral("Cons. Final:"), mostrarCampo(*this, nota, QStringLiteral("PES_CONSUMIDOR_FINAL")));
    for (QComboBox* lista : nota->findChildren<QComboBox*>()) {
        lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lista->setMinimumContentsLength(8);
    }
    binder().bind(m_serie, QStringLiteral("CODSERIE"));
    binder().bind(m_forma, QStringLiteral("CODFORMAPAGAMENTO"));
    // Leaving the series list decides between items and service lines.
    connect(m_serie, &QComboBox::activated, this, [this] { ligarGradeFilhos(); });

    QGroupBox* totais = grupo(this, QStringLiteral("grpTotais"), QStringLiteral("Totais"));
    linha->addWidget(totais, 2);
    montarTotais(totais);
}

void TfrmNFVenda::montarTotais(QWidget* pai) {
    auto* gl = new QGridLayout(pai);
    Grade g(gl, 2);
    const std::pair<const char*, const char*> mostrados[] = {
        {"Total Produtos:", "NFV_TOTAL_PRODUTOS"}, {"Total Nota:", "NFV_TOTAL_NOTA"}, {"IR:", "NFV_IR_VLR"},
        {"ISS:", "NFV_ISS"}, {"ICMS:", "NFV_ICMS"}, {"IPI:", "NFV_IPI"},
        {"ICMS Subst.:", "NFV_ICMS_SUBST"}, {"Base Subst.:", "NFV_ICMS_SUBST_BASE"}};
    for (const auto& [rotulo, campo] : mostrados)
        g.add(QString::fromUtf8(rotulo), mostrarCampo(*this, pai, QString::fromLatin1(campo)));
    g.add(QStringLiteral("Base ICMS:"), editarCampo(*this, pai, QStringLiteral("NFV_ICMS_BASE")));
    g.quebrar();
    g.add(QString(),
          lado(marcarCampo(*this, pai, QStringLiteral("Não atualiz."), QStringLiteral("NFV_ALTERAR_BASE_ICMS")),
               marcarCampo(*this, pai, QStringLiteral("Não ZerarICMS"), QStringLiteral("NFV_NAOZERARICMS"))),
          2);
}

void TfrmNFVenda::montarPessoas() {
    auto* linha = new QHBoxLayout;
    corpo()->addLayout(linha);
    QGroupBox* pessoas = grupo(this, QStringLiteral("grpPessoas"), QStringLiteral("Destinatário e Operação"));
    linha->addWidget(pessoas, 3);
    auto* gl = new QGridLayout(pessoas);
    gl->setRowStretch(20, 1); // rows at the top
    Grade g(gl, 2);
    auto codigo = [&](const char* campo, std::function<TwbtPesquisa&()> pesquisa) {
        CampoPesquisa c = campoPesquisa(*this, pessoas, QString::fromLatin1(campo), std::move(pesquisa));
        c.codigo->setMaximumWidth(80);
        return lado(c.codigo, c.botao);
    };
    g.add(QStringLiteral("C&liente:"),
          codigo("CODPESSOA", []() -> TwbtPesquisa& { return TdmPessoa::gerarInstance().pesquisa(); }) +
              lado(mostrarCampo(*this, pessoas, QStringLiteral("PES_NOME"))),
          2);
    g.add(QStringLiteral("CPF/CNPJ:"), mostrarCampo(*this, pessoas, QStringLiteral("PES_CPFCNPJ")));
    g.add(QStringLiteral("UF:"), mostrarCampo(*this, pessoas, QStringLiteral("PES_UF")));
    g.add(QStringLiteral("CFO&P:"),
          codigo("CODCFOP", []() -> TwbtPesquisa& { return TdmCfop::gerarInstance().pesquisa(); }) +
              lado(mostrarCampo(*this, pessoas, QStringLiteral("CFOP_DESCRICAO"))),
          2);
    g.add(QStringLiteral("T&ransportadora:"),
          codigo("CODTRANSPORTADORA", []() -> TwbtPesquisa& { return TdmPessoa::gerarInstance().pesquisaTransportadora(); }) +
              lado(mostrarCampo(*this, pessoas, QStringLiteral("TRA_NOME"))),
          2);
    // Panels shown by configuration carry their own label.
    m_vendedor = painel(pessoas, QStringLiteral("pnlVendedor"));
    m_vendedor->layout()->addWidget(new QLabel(QStringLiteral("Vendedor:"), m_vendedor));
    for (QWidget* w : codigo("CODVENDEDOR", []() -> TwbtPesquisa& { return TdmVendedor::gerarInstance().pesquisa(); }) +
                          lado(mostrarCampo(*this, m_vendedor, QStringLiteral("VEN_NOME")))) {
        w->setParent(m_vendedor);
        m_vendedor->layout()->addWidget(w);
    }
    g.add(QString(), m_vendedor, 2);
    m_selo = painel(pessoas, QStringLiteral("pnlSelo"));
    m_selo->layout()->addWidget(new QLabel(QStringLiteral("Selo Fiscal:"), m_selo));
    m_selo->layout()->addWidget(editarCampo(*this, m_selo, QStringLiteral("NFV_SELO_FISCAL")));
    g.add(QString(), m_selo);

    auto* abas = new QTabWidget(this);
    abas->setObjectName(QStringLiteral("pgcNota"));
    linha->addWidget(abas, 2);
    montarAbas(abas);
}

void TfrmNFVenda::montarAbas(QWidget* pai) {
    auto* abas = static_cast<QTabWidget*>(pai);
    auto pagina = [&](const char* nome, const char* titulo) {
        auto* p = new QWidget(abas);
        p->setObjectName(QString::fromLatin1(nome));
        abas->addTab(p, QString::fromUtf8(titulo));
        return p;
    };
    auto campos = [&](QWidget* p, std::initializer_list<std::pair<const char*, const char*>> lista) {
        auto* gl = new QGridLayout(p);
        gl->setRowStretch(20, 1);
        Grade g(gl, 2);
        for (const auto& [rotulo, campo] : lista)
            g.add(QString::fromUtf8(rotulo), editarCampo(*this, p, QString::fromLatin1(campo)));
    };
    m_ajustes = pagina("tabAjustes", "Impostos e Ajustes");
    campos(m_ajustes, {{"ISS:", "NFV_ISS_ALIQ"}, {"IR:", "NFV_IR_PERC"}, {"Frete:", "NFV_FRETE"},
                       {"Desc. Total:", "NFV_DESCVLR"}, {"INSS:", "NFV_INSS_VLR"}, {"Acréscimo:", "NFV_ACRESCIMO"}});
    QWidget* obs = pagina("tabObservacoes", "Observações");
    auto* lo = new QVBoxLayout(obs);
    auto* texto = new QPlainTextEdit(obs);
    texto->setObjectName(QStringLiteral("memNFV_OBS"));
    texto->setTabChangesFocus(true);
    binder().bind(texto, QStringLiteral("NFV_OBS"));
    lo->addWidget(new QLabel(QStringLiteral("Obs. Corpo:"), obs));
    lo->addWidget(texto);
    m_baixaEstoque = marcarCampo(*this, obs, QStringLiteral("Baixa Estoque"), QStringLiteral("NFV_BAIXA_ESTOQUE"));
    lo->addWidget(m_baixaEstoque);
    campos(pagina("tabVolumes", "Volumes"),
           {{"Qtde. Volumes:", "NFV_QTD_VOL"}, {"Espécie:", "NFV_ESP"}, {"Marca:", "NFV_MARCA"},
            {"Nr.Volume:", "NFV_NR_VOL"}, {"Peso Bruto:", "NFV_PESO_BRUTO"}, {"Peso Líquido:", "NFV_PESO_LIQUIDO"}});
    campos(pagina("tabExterior", "EXTERIOR"), {{"Local de Embarque:", "NFV_LOCAL_EMB"}, {"UF:", "NFV_UF_EMB"},
                                                {"Placa:", "NFV_PLACA"}, {"UF Placa:", "NFV_PLACA_UF"}});
}

void TfrmNFVenda::montarFilhos() {
    m_modeloItens = new RecordSetModel(m_dm.cdsNFVendaItem(), {}, this);
    m_modeloServicos = new RecordSetModel(m_dm.cdsNFVendaServico(), {}, this);
    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgFilhos"));
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->verticalHeader()->hide();
    m_grade->horizontalHeader()->setStretchLastSection(true);
    corpo()->addWidget(m_grade, 1);
    auto* barra = new QHBoxLayout;
    auto botao = [&](const char* nome, const char* titulo, std::function<void()> acao) {
        auto* b = new QPushButton(QString::fromUtf8(titulo), this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [acao] { executar(acao); });
        barra->addWidget(b);
        return b;
    };
    botao("btnIncluirFilho", "Incluir (Ins)", [this] { ChamaFrmFilho(TrepPadraoPesquisa::Modo::Incluir); })
        ->setShortcut(QKeySequence(Qt::Key_Insert));
    botao("btnAlterarFilho", "Alterar", [this] { ChamaFrmFilho(TrepPadraoPesquisa::Modo::Alterar); });
    botao("btnVisualizarFilho", "Visualizar", [this] { ChamaFrmFilho(TrepPadraoPesquisa::Modo::Visualizar); });
    botao("btnExcluirFilho", "Excluir", [this] { excluirFilho(); });
    barra->addStretch();
    botao("btnCopiarItens", "Copiar ITENS de outra NF-e", [this] { btnCopiarItensClick(); });
    corpo()->addLayout(barra);
}

void TfrmNFVenda::carregarSeries() {
    QString sql = QStringLiteral("select CODSERIE, SER_DESCRICAO from SERIE where SER_ATIVO = 'S'");
    SqlParams params;
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("MULTI.EMPRESA")) == u"S") {
        sql += QStringLiteral(" and CODPARGERAL = :EMPRESA");
        params.insert(QStringLiteral("EMPRESA"), TdmAcesso::gerarInstance().empresaAtual());
    }
    const auto series = registro().database()->query(sql + QStringLiteral(" order by CODSERIE"), params);
    m_serie->clear();
    for (int r = 0; r < series->recordCount(); ++r) {
        const QString codigo = series->valueAt(r, 0).toString().trimmed();
        const QString descricao = series->valueAt(r, 1).toString().trimmed();
        m_serie->addItem(descricao.isEmpty() ? codigo : codigo + QStringLiteral(" - ") + descricao, codigo);
    }
    binder().refresh();
}

void TfrmNFVenda::carregarFormasPagamento() {
    Libgeral::carregarComboBox(m_forma, *registro().database(), QStringLiteral("FORMAPAGAMENTO"),
                               QStringLiteral("CODFORMAPAGAMENTO"), QStringLiteral("FPG_DESCRICAO"));
    binder().refresh();
}

void TfrmNFVenda::showEvent(QShowEvent* event) {
    TrepPadraoCadastro::showEvent(event);
    executar([this] { FormShow(); });
}

void TfrmNFVenda::changeEvent(QEvent* event) {
    TrepPadraoCadastro::changeEvent(event);
    // Payment methods registered meanwhile (another screen, another terminal).
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        executar([this] { carregarFormasPagamento(); });
}

void TfrmNFVenda::FormShow() {
    ligarGradeFilhos();
    const bool novo = inserindo();
    m_serie->setEnabled(novo && !somenteLeitura());
    const RecordSet::State estado = registro().state();
    const bool editando = !somenteLeitura() && (estado == RecordSet::State::Insert || estado == RecordSet::State::Edit);
    for (QLineEdit* e : m_ajustes->findChildren<QLineEdit*>())
        e->setReadOnly(!editando);
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    m_vendedor->setVisible(cfg.getStr(QStringLiteral("NF.INF.VEND")) == u"S");
    m_selo->setVisible(cfg.getStr(QStringLiteral("NF.EXI.SELO")) == u"S");
    m_baixaEstoque->setVisible(TdmAcesso::gerarInstance().empresa().controlaEstoque);
    for (const char* nome : {"btnIncluirFilho", "btnAlterarFilho", "btnExcluirFilho", "btnCopiarItens", "btnRefNFe",
                             "btnNFCompra", "btnRefECF"})
        findChild<QPushButton*>(QString::fromLatin1(nome))->setEnabled(editando);
    if (novo)
        if (auto* cliente = findChild<QLineEdit*>(QStringLiteral("edtCODPESSOA")))
            cliente->setFocus();
}

} // namespace kvo
