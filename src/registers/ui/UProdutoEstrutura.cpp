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

    Pagina unidades = novaPagina(abas, QStringLiteral("tabUnidades"), QStringLiteral("Unidades"));
    auto* ajuda = new QLabel(QStringLiteral("A unidade principal tem quantidade 1; a quantidade de cada outra unidade diz "
                                            "quantas principais ela contém (caixa com 12: quantidade 12)."),
                             abas);
    ajuda->setWordWrap(true);
    unidades.layout->addWidget(ajuda);
    m_unidades->field(QStringLiteral("UND_QTDE")).setDisplayFormat(QStringLiteral(",0.###"));
    QTableView* gradeUnidades = cadastro::gradeEditavel(abas, QStringLiteral("dbgUnidades"), *m_unidades,
                                                       {{QStringLiteral("UND_SIGLA"), QStringLiteral("Sigla")},
                                                        {QStringLiteral("UND_DESCRICAO"), QStringLiteral("Descrição")},
                                                        {QStringLiteral("UND_QTDE"), QStringLiteral("Quantidade")},
                                                        {QStringLiteral("UND_PRINCIPAL"), QStringLiteral("Principal (S/N)")}});
    unidades.layout->addWidget(gradeUnidades, 1);
    m_botoes << novoBotao(unidades.barra, "btnIncluirUnidade", "Incluir unidade", [this, gradeUnidades] {
        m_unidades->checkBrowseMode();
        m_unidades->append();
        m_unidades->post();
        // Straight into typing the new unit's symbol.
        const QModelIndex sigla = gradeUnidades->model()->index(m_unidades->recNo() - 1, 0);
        gradeUnidades->setCurrentIndex(sigla);
        gradeUnidades->edit(sigla);
    });
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
}

TProdutoEstrutura::~TProdutoEstrutura() = default;

void TProdutoEstrutura::incluirComponente() {
    const auto codigo = InputBox(QStringLiteral("Incluir componente"), QStringLiteral("Código de pesquisa do produto:"));
    if (!codigo || codigo->trimmed().isEmpty())
        return;
    Database& db = *m_composicao->database();
    const auto produto = db.query(QStringLiteral("select CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO from PRODUTO "
                                                 "where PRO_CODPESQ_1 = :C"),
                                  {{QStringLiteral("C"), codigo->trimmed().toUpper()}});
    if (produto->isEmpty())
        Error(QStringLiteral("Produto não encontrado!"));
    const auto texto = InputBox(QStringLiteral("Incluir componente"),
                                QStringLiteral("Quantidade de %1:").arg(produto->field(2).asString()), QStringLiteral("1"));
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
    m_composicao->field(QStringLiteral("CODPRODUTOFILHO")).setValue(produto->field(0).value());
    // Shown in the grid only: they belong to the component's own row.
    m_composicao->field(QStringLiteral("PRO_CODPESQ_1")).setValueSilently(produto->field(1).value());
    m_composicao->field(QStringLiteral("PRO_DESCRICAO")).setValueSilently(produto->field(2).value());
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
}

void TProdutoEstrutura::gravar() {
    m_unidades->applyUpdates(0);
    m_composicao->applyUpdates(0);
}

} // namespace kvo
