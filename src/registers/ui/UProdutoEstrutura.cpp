#include "registers/ui/UProdutoEstrutura.h"

#include "core/Format.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "registers/ui/CadastroComum.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

namespace {

// A tab holding a grid, with a bar for its buttons under it.
struct Pagina {
    QVBoxLayout* layout;
    QWidget* barra;
};

Pagina novaPagina(QTabWidget* abas, const QString& nome, const QString& titulo) {
    auto* pagina = new QWidget(abas);
    pagina->setObjectName(nome);
    abas->addTab(pagina, titulo);
    Pagina p{new QVBoxLayout(pagina), new QWidget(pagina)};
    new QHBoxLayout(p.barra);
    return p;
}

void fecharBarra(Pagina& p) {
    qobject_cast<QHBoxLayout*>(p.barra->layout())->addStretch();
    p.layout->addWidget(p.barra);
}

QPushButton* novoBotao(QWidget* barra, const char* nome, const char* titulo, std::function<void()> acao) {
    auto* b = new QPushButton(QString::fromUtf8(titulo), barra);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, barra, [acao] {
        try {
            acao();
        } catch (const Abort&) {
        } catch (const std::exception& e) {
            userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
        }
    });
    barra->layout()->addWidget(b);
    return b;
}

// A new row, and straight into typing its first column.
void incluirLinha(RecordSet& rs, QTableView* grade) {
    rs.checkBrowseMode();
    rs.append();
    rs.post();
    const QModelIndex primeira = grade->model()->index(rs.recNo() - 1, 0);
    grade->setCurrentIndex(primeira);
    grade->edit(primeira);
}

void removerAtual(RecordSet& rs, const QString& mensagem) {
    rs.checkBrowseMode();
    if (rs.isEmpty())
        Error(QStringLiteral("Nenhum item selecionado!"));
    if (ConfirmaNao(mensagem))
        rs.remove();
}

} // namespace

TProdutoEstrutura::TProdutoEstrutura(int codproduto, QTabWidget* abas)
    : QObject(abas), m_codproduto(codproduto) {
    TdmProduto& produtos = TdmProduto::gerarInstance();
    m_unidades = produtos.unidades(codproduto);
    m_composicao = produtos.composicao(codproduto);
    m_personalizacao = produtos.personalizacao(codproduto);

    Pagina unidades = novaPagina(abas, QStringLiteral("tabUnidades"), QStringLiteral("Unidades"));
    auto* ajuda = new QLabel(QStringLiteral("A unidade principal tem quantidade 1; a quantidade de cada outra unidade diz "
                                            "quantas principais ela contém (caixa com 12: quantidade 12)."),
                             abas);
    ajuda->setWordWrap(true);
    unidades.layout->addWidget(ajuda);
    m_unidades->field(QStringLiteral("PROU_QTDE")).setDisplayFormat(QStringLiteral(",0.###"));
    QTableView* gradeUnidades = cadastro::gradeEditavel(abas, QStringLiteral("dbgUnidades"), *m_unidades,
                                                       {{QStringLiteral("PROU_SIGLA"), QStringLiteral("Sigla")},
                                                        {QStringLiteral("PROU_DESCRICAO"), QStringLiteral("Descrição")},
                                                        {QStringLiteral("PROU_QTDE"), QStringLiteral("Quantidade")},
                                                        {QStringLiteral("PROU_PRINCIPAL"), QStringLiteral("Principal (S/N)")}});
    cadastro::colunaLista(gradeUnidades, 3, {{QStringLiteral("S"), QStringLiteral("Sim")}, {QStringLiteral("N"), QStringLiteral("Não")}});
    unidades.layout->addWidget(gradeUnidades, 1);
    m_botoes << novoBotao(unidades.barra, "btnIncluirUnidade", "Incluir unidade",
                          [this, gradeUnidades] { incluirLinha(*m_unidades, gradeUnidades); });
    m_botoes << novoBotao(unidades.barra, "btnExcluirUnidade", "Excluir unidade",
          [this] { removerAtual(*m_unidades, QStringLiteral("Confirma a exclusão da unidade selecionada?")); });
    fecharBarra(unidades);

    Pagina composicao = novaPagina(abas, QStringLiteral("tabComposicao"), QStringLiteral("Composição"));
    m_composicao->field(QStringLiteral("PROC_QTDE")).setDisplayFormat(QStringLiteral(",0.###"));
    composicao.layout->addWidget(cadastro::gradeEditavel(abas, QStringLiteral("dbgComposicao"), *m_composicao,
                                                         {{QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Código")},
                                                          {QStringLiteral("PRO_DESCRICAO"), QStringLiteral("Componente")},
                                                          {QStringLiteral("PROC_QTDE"), QStringLiteral("Quantidade")}}),
                                 1);
    m_botoes << novoBotao(composicao.barra, "btnIncluirComponente", "Incluir componente", [this] { incluirComponente(); });
    m_botoes << novoBotao(composicao.barra, "btnExcluirComponente", "Excluir componente",
          [this] { removerAtual(*m_composicao, QStringLiteral("Confirma a exclusão do componente selecionado?")); });
    fecharBarra(composicao);

    Pagina personalizacao = novaPagina(abas, QStringLiteral("tabPersonalizacao"), QStringLiteral("Personalização"));
    auto* tipos = new QLabel(QStringLiteral("Grupos de opções do produto personalizado. Tipo: como cada opção escolhida é "
                                            "cobrada; Mínimo e Máximo: quantas opções do grupo (0 = sem limite)."),
                             abas);
    tipos->setWordWrap(true);
    personalizacao.layout->addWidget(tipos);
    for (const char* nome : {"PROP_VALOR", "PROP_QTDE_MINIMA", "PROP_QTDE_MAXIMA"})
        m_personalizacao->field(QString::fromLatin1(nome)).setDisplayFormat(QStringLiteral(",0.##"));
    QTableView* gradeGrupos = cadastro::gradeEditavel(abas, QStringLiteral("dbgPersonalizacao"), *m_personalizacao,
                                                      {{QStringLiteral("CODGRUPOPERSONALIZACAO"), QStringLiteral("Grupo")},
                                                       {QStringLiteral("PROP_TIPO"), QStringLiteral("Tipo")},
                                                       {QStringLiteral("PROP_VALOR"), QStringLiteral("Valor")},
                                                       {QStringLiteral("PROP_QTDE_MINIMA"), QStringLiteral("Mínimo")},
                                                       {QStringLiteral("PROP_QTDE_MAXIMA"), QStringLiteral("Máximo")}});
    cadastro::colunaLista(gradeGrupos, 0,
                          cadastro::opcoesTabela(*m_personalizacao->database(), QStringLiteral("GRUPO_PERSONALIZACAO"),
                                                 QStringLiteral("CODGRUPOPERSONALIZACAO"), QStringLiteral("GRPP_DESCRICAO")));
    cadastro::colunaLista(gradeGrupos, 1, TdmProduto::tiposPersonalizacao());
    personalizacao.layout->addWidget(gradeGrupos, 1);
    m_botoes << novoBotao(personalizacao.barra, "btnIncluirGrupo", "Incluir grupo",
                          [this, gradeGrupos] { incluirLinha(*m_personalizacao, gradeGrupos); });
    m_botoes << novoBotao(personalizacao.barra, "btnExcluirGrupo", "Excluir grupo", [this] {
        removerAtual(*m_personalizacao, QStringLiteral("Confirma a exclusão do grupo selecionado?"));
    });
    fecharBarra(personalizacao);
}

TProdutoEstrutura::~TProdutoEstrutura() = default;

void TProdutoEstrutura::incluirComponente() {
    const auto produto = TdmProduto::gerarInstance().pedirProduto(QStringLiteral("Incluir componente"));
    if (!produto)
        return;
    const auto texto = InputBox(QStringLiteral("Incluir componente"),
                                QStringLiteral("Quantidade de %1:").arg(produto->descricao), QStringLiteral("1"));
    if (!texto)
        return;
    // Typed the shop's way ("0,5") or with a dot; text that is no number reads as zero.
    const QString digitado = texto->trimmed();
    const Currency quantidade =
        digitado.contains(u',') ? RemChrStrToCurr(digitado) : Currency::parse(digitado).value_or(Currency());
    if (quantidade <= Currency())
        Error(QStringLiteral("Informe uma quantidade maior que zero."));

    m_composicao->checkBrowseMode();
    m_composicao->append();
    m_composicao->field(QStringLiteral("CODPRODUTOFILHO")).setValue(produto->codigo);
    // Shown in the grid only: they belong to the component's own row.
    m_composicao->field(QStringLiteral("PRO_CODPESQ_1")).setValueSilently(produto->codpesq);
    m_composicao->field(QStringLiteral("PRO_DESCRICAO")).setValueSilently(produto->descricao);
    m_composicao->field(QStringLiteral("PROC_QTDE")).setValue(QVariant::fromValue(quantidade));
    m_composicao->post();
    const QVariant chave = m_composicao->field(QStringLiteral("CODPRODUTOCOMPOSICAO")).value();
    try {
        TdmProduto::gerarInstance().validarComposicao(m_codproduto, *m_composicao);
    } catch (...) {
        // Said at once, and the row does not stay behind to be saved.
        if (m_composicao->locate(QStringLiteral("CODPRODUTOCOMPOSICAO"), chave))
            m_composicao->remove();
        throw;
    }
}

void TProdutoEstrutura::setSomenteLeitura(bool somenteLeitura) {
    for (QWidget* b : m_botoes)
        b->setEnabled(!somenteLeitura);
}

void TProdutoEstrutura::validar() {
    TdmProduto& produtos = TdmProduto::gerarInstance();
    produtos.validarUnidades(*m_unidades);
    produtos.validarComposicao(m_codproduto, *m_composicao);
    produtos.validarPersonalizacao(*m_personalizacao);
}

void TProdutoEstrutura::gravar() {
    m_unidades->applyUpdates(0);
    m_composicao->applyUpdates(0);
    m_personalizacao->applyUpdates(0);
}

} // namespace kvo
