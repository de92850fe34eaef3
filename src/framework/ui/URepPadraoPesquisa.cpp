#include "framework/ui/URepPadraoPesquisa.h"

#include "framework/db/SelectList.h"
#include "framework/ui/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

namespace {
QTableView* novaGrade(QWidget* parent, const QString& nome, QAbstractItemModel* model) {
    auto* grade = new QTableView(parent);
    grade->setObjectName(nome);
    grade->setModel(model);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->verticalHeader()->hide();
    grade->horizontalHeader()->setStretchLastSection(true);
    return grade;
}
} // namespace

TrepPadraoPesquisa::TrepPadraoPesquisa(Database& db, const QString& selectBase, QWidget* parent)
    : TrepPadraoGeral(parent), m_db(db), m_select(selectBase) {
    m_rs = std::make_unique<RecordSet>(db);
    m_rs->setReadOnly(true);
    m_rs->setCommandText(m_select + QStringLiteral(" where 1 = 0")); // the grid's columns before any search
    m_rs->open();
    m_model = new RecordSetModel(*m_rs, {}, this);

    m_pesquisa = new QLineEdit(this);
    m_pesquisa->setObjectName(QStringLiteral("edtPesquisa"));
    m_pesquisa->setPlaceholderText(QStringLiteral("Digite para pesquisar e tecle Enter"));
    m_tipo = new QComboBox(this);
    m_tipo->setObjectName(QStringLiteral("cbxTipoPesquisa"));
    m_todos = new QCheckBox(QStringLiteral("&Listar todos"), this);
    m_todos->setObjectName(QStringLiteral("chkListarTodos"));
    auto* topo = new QHBoxLayout;
    auto* rotulo = new QLabel(QStringLiteral("&Pesquisar:"), this);
    rotulo->setBuddy(m_pesquisa); // Alt+P goes back to the search text
    topo->addWidget(rotulo);
    topo->addWidget(m_pesquisa, 1);
    topo->addWidget(m_tipo);
    topo->addWidget(m_todos);
    corpo()->addLayout(topo);
    m_grade = novaGrade(this, QStringLiteral("dbgPesquisa"), m_model);
    corpo()->addWidget(m_grade, 1);

    enterProprio(m_pesquisa);
    connect(m_pesquisa, &QLineEdit::returnPressed, this, [this] { executar([this] { CarregaDadosCadastro(); }); });
    connect(m_todos, &QCheckBox::toggled, this, [this] { executar([this] { CarregaDadosCadastro(); }); });
    // A double click or Enter on a row opens it.
    connect(m_grade, &QTableView::activated, this, [this] {
        executar([this] {
            NenhumRegistro();
            if (abrirCadastro(Modo::Alterar))
                CarregaDadosCadastro();
        });
    });
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { sincronizarLinha(); });

    adicionarBotao(QStringLiteral("btnIncluir"), QStringLiteral("&Incluir"), [this] {
        if (abrirCadastro(Modo::Incluir))
            CarregaDadosCadastro();
    })->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnAlterar"), QStringLiteral("&Alterar"), [this] {
        NenhumRegistro();
        if (abrirCadastro(Modo::Alterar))
            CarregaDadosCadastro();
    })->setShortcut(QKeySequence(QStringLiteral("F3")));
    adicionarBotao(QStringLiteral("btnVisualizar"), QStringLiteral("&Visualizar"), [this] {
        NenhumRegistro();
        abrirCadastro(Modo::Visualizar);
    });
    adicionarBotao(QStringLiteral("btnExcluir"), QStringLiteral("E&xcluir"), [this] { btnExcluirClick(); });
    adicionarBotao(QStringLiteral("btnImprimir"), QStringLiteral("Im&primir"), [this] { imprimir(); });
    adicionarBotao(QStringLiteral("btnFechar"), QStringLiteral("&Fechar"), [this] { close(); });
    resize(820, 520);
}

TrepPadraoPesquisa::~TrepPadraoPesquisa() {
    // The grid and its model read the record set (a shown screen is hidden
    // while being destroyed, which lays the grid out again): they go first.
    delete m_grade;
    delete m_model;
}

void TrepPadraoPesquisa::adicionarTipoPesquisa(const QString& rotulo, const QString& campo) {
    m_tipo->addItem(rotulo);
    m_campos << campo;
}

void TrepPadraoPesquisa::CarregaDadosCadastro() {
    QString sql = m_select;
    const QString texto = m_pesquisa->text().trimmed();
    m_rs->close();
    m_rs->clearParams();
    QString condicao;
    if (!m_todos->isChecked()) {
        if (texto.isEmpty() || m_campos.isEmpty()) {
            condicao = QStringLiteral("1 = 0");
        } else {
            // The column comes from our own list; the text is bound.
            condicao = QStringLiteral("upper(cast(%1 as varchar(200))) like upper(:TEXTO)")
                           .arg(columnExpression(m_select, m_campos.value(std::max(0, m_tipo->currentIndex()))));
            m_rs->setParam(QStringLiteral("TEXTO"), QString(u'%' + texto + u'%'));
        }
    }
    if (!m_filtro.isEmpty()) {
        condicao = condicao.isEmpty() ? QStringLiteral("(%1)").arg(m_filtro)
                                      : QStringLiteral("(%1) and %2").arg(m_filtro, condicao);
        for (auto it = m_filtroParams.cbegin(); it != m_filtroParams.cend(); ++it)
            m_rs->setParam(it.key(), it.value());
    }
    if (!condicao.isEmpty())
        sql += QStringLiteral(" where ") + condicao;
    if (!m_ordem.isEmpty())
        sql += QStringLiteral(" order by ") + m_ordem;
    m_rs->setCommandText(sql);
    m_rs->open();
    if (!m_rs->isEmpty())
        m_grade->selectRow(0);
}

void TrepPadraoPesquisa::sincronizarLinha() {
    const int row = m_grade->currentIndex().row();
    if (row >= 0 && m_rs->active() && row < m_rs->recordCount())
        m_rs->setRecNo(row + 1);
}

void TrepPadraoPesquisa::NenhumRegistro() {
    if (!m_rs->active() || m_rs->isEmpty())
        Error(QStringLiteral("Nenhum registro selecionado!"));
}

void TrepPadraoPesquisa::btnExcluirClick() {
    NenhumRegistro();
    if (!ConfirmaNao(QStringLiteral("Confirma a exclusão do registro selecionado?")))
        return;
    excluirRegistro();
    CarregaDadosCadastro();
}

TrepPadraoCadastroDetalhe::TrepPadraoCadastroDetalhe(RecordSet& mestre, RecordSet& filhos, QWidget* parent)
    : TrepPadraoCadastro(mestre, parent), m_filhos(filhos) {
    m_modeloFilhos = new RecordSetModel(filhos, {}, this);
    m_grade = novaGrade(this, QStringLiteral("dbgFilhos"), m_modeloFilhos);
    corpo()->addWidget(m_grade, 1);
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        if (i.isValid() && i.row() < m_filhos.recordCount())
            m_filhos.setRecNo(i.row() + 1);
    });
    auto* barra = new QHBoxLayout;
    auto botao = [&](const char* nome, const char* titulo, std::function<void()> acao) {
        auto* b = new QPushButton(QString::fromUtf8(titulo), this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [acao] { executar(acao); });
        barra->addWidget(b);
    };
    botao("btnIncluirFilho", "Incluir item", [this] { ChamaFrmFilho(TrepPadraoPesquisa::Modo::Incluir); });
    botao("btnAlterarFilho", "Alterar item", [this] {
        NenhumRegistro_Filho();
        ChamaFrmFilho(TrepPadraoPesquisa::Modo::Alterar);
    });
    botao("btnVisualizarFilho", "Visualizar item", [this] {
        NenhumRegistro_Filho();
        ChamaFrmFilho(TrepPadraoPesquisa::Modo::Visualizar);
    });
    botao("btnExcluirFilho", "Excluir item", [this] {
        NenhumRegistro_Filho();
        if (ConfirmaNao(QStringLiteral("Confirma a exclusão do item selecionado?")))
            m_filhos.remove();
    });
    barra->addStretch();
    corpo()->addLayout(barra);
}

void TrepPadraoCadastroDetalhe::gravar() {
    Transaction tx(*registro().database());
    registro().applyUpdates(0);
    m_filhos.applyUpdates(0);
    tx.commit();
}

void TrepPadraoCadastroDetalhe::NenhumRegistro_Filho() {
    if (!m_filhos.active() || m_filhos.isEmpty())
        Error(QStringLiteral("Nenhum item selecionado!"));
}

} // namespace kvo
