#include "registers/ui/UProduto.h"

#include "core/Text.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "registers/ui/CadastroComum.h"
#include "registers/ValidaDocumentos.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTabWidget>

namespace kvo {

using namespace cadastro;

namespace {

QWidget* novaPagina(QTabWidget* abas, const QString& nome, const QString& titulo) {
    auto* pagina = new QWidget(abas);
    pagina->setObjectName(nome);
    abas->addTab(pagina, titulo);
    return pagina;
}

QString precoN(int n) { return TdmProduto::campoPreco(n); }

void naoNegativo(RecordSet& rs, const QString& nome, const QString& mensagem) {
    rs.field(nome).onValidate = [mensagem](Field& f) {
        if (f.asCurrency() < Currency())
            Error(mensagem);
    };
}

void percentual(RecordSet& rs, const QString& nome) {
    rs.field(nome).onValidate = [](Field& f) {
        if (f.asCurrency() < Currency() || f.asCurrency() > Currency(100))
            Error(QStringLiteral("Informe um percentual entre 0 e 100."));
    };
}

} // namespace

TfrmProduto::TfrmProduto(RecordSet& produto, QWidget* parent) : TrepPadraoCadastro(produto, parent) {
    setObjectName(QStringLiteral("frmProduto"));
    setWindowTitle(QStringLiteral("Cadastro de Produto"));
    // A new product has its code at once: its units and components point to it.
    SetGeneretor(QStringLiteral("GEN_PRODUTO"));
    QFormLayout* topo = campos();
    campo(*this, topo, QStringLiteral("Código:"), QStringLiteral("CODPRODUTO"))->setReadOnly(true);
    campo(*this, topo, QStringLiteral("Código de &pesquisa:"), QStringLiteral("PRO_CODPESQ_1"));
    campo(*this, topo, QStringLiteral("&Descrição:"), QStringLiteral("PRO_DESCRICAO"));

    auto* abas = new QTabWidget(this);
    abas->setObjectName(QStringLiteral("pgcProduto"));
    corpo()->addWidget(abas, 1);

    auto* geral = new QFormLayout(novaPagina(abas, QStringLiteral("tabGeral"), QStringLiteral("Geral")));
    campo(*this, geral, QStringLiteral("Descrição &reduzida:"), QStringLiteral("PRO_DESCRICAO_MENOR"));
    campo(*this, geral, QStringLiteral("Código de &barras:"), QStringLiteral("PRO_EAN13"));
    QComboBox* grupo = listaTabela(*this, geral, QStringLiteral("&Grupo:"), QStringLiteral("CODPRODUTOGRUPO"),
                                   QStringLiteral("PRODUTO_GRUPO"), QStringLiteral("CODPRODUTOGRUPO"),
                                   QStringLiteral("PROG_DESCRICAO"));
    m_subgrupo = listaTabela(*this, geral, QStringLiteral("&Subgrupo:"), QStringLiteral("CODPRODUTOGRUPOSUBGRP"),
                             QStringLiteral("PRODUTO_GRUPO_SUBGRP"), QStringLiteral("CODPRODUTOGRUPOSUBGRP"),
                             QStringLiteral("PROGS_DESCRICAO"));
    listaTabela(*this, geral, QStringLiteral("&Marca:"), QStringLiteral("CODMARCA"), QStringLiteral("MARCA"),
                QStringLiteral("CODMARCA"), QStringLiteral("MAR_DESCRICAO"));
    campo(*this, geral, QStringLiteral("&Localização:"), QStringLiteral("PRO_LOCALIZACAO"));
    marcador(*this, geral, QStringLiteral("&Ativo"), QStringLiteral("PRO_ATIVO"));
    carregarSubgrupos();
    // The binder writes the group first; then the subgroups follow it.
    connect(grupo, &QComboBox::activated, this, [this] { executar([this] { carregarSubgrupos(); }); });

    QWidget* pgPrecos = novaPagina(abas, QStringLiteral("tabPrecos"), QStringLiteral("Preços"));
    auto* colunas = new QHBoxLayout(pgPrecos);
    auto* custos = new QFormLayout;
    auto* tabela1 = new QFormLayout;
    auto* tabela2 = new QFormLayout;
    colunas->addLayout(custos);
    colunas->addLayout(tabela1);
    colunas->addLayout(tabela2);
    campo(*this, custos, QStringLiteral("Preço de &custo:"), QStringLiteral("PRO_PRECO_CUSTO"));
    campo(*this, custos, QStringLiteral("Preço de c&ompra:"), QStringLiteral("PRO_PRECO_COMPRA"));
    campo(*this, custos, QStringLiteral("Desconto má&ximo (%):"), QStringLiteral("PRO_DESC_MAX"));
    marcador(*this, custos, QStringLiteral("Permite alterar o preço na venda"), QStringLiteral("PRO_ALT_PRECO"));
    // As many prices as the sale parameters use; fixed there when they say so.
    const TdmProduto::TabelaPrecos& precos = TdmProduto::gerarInstance().tabelaPrecos();
    const bool precosFixos = precos.somenteLeitura && produto.state() != RecordSet::State::Insert;
    for (int n = 1; n <= 14; ++n) {
        const QString rotulo = n == 1 ? QStringLiteral("Preço de &venda:") : QStringLiteral("Preço %1:").arg(n, 2, 10, QLatin1Char('0'));
        QFormLayout* tabela = n <= 7 ? tabela1 : tabela2;
        QLineEdit* edit = campo(*this, tabela, rotulo, precoN(n));
        tabela->setRowVisible(edit, n <= precos.quantidade);
        edit->setReadOnly(precosFixos);
        naoNegativo(produto, precoN(n), QStringLiteral("O preço não pode ser negativo."));
    }
    naoNegativo(produto, QStringLiteral("PRO_PRECO_CUSTO"), QStringLiteral("O preço de custo não pode ser negativo."));
    naoNegativo(produto, QStringLiteral("PRO_PRECO_COMPRA"), QStringLiteral("O preço de compra não pode ser negativo."));
    percentual(produto, QStringLiteral("PRO_DESC_MAX"));

    auto* trib = new QFormLayout(novaPagina(abas, QStringLiteral("tabTributacao"), QStringLiteral("Tributação")));
    campo(*this, trib, QStringLiteral("&NCM:"), QStringLiteral("PRO_NCM"));
    campo(*this, trib, QStringLiteral("CES&T:"), QStringLiteral("PRO_CEST"));
    lista(*this, trib, QStringLiteral("&Origem:"), QStringLiteral("PRO_ICMS_ORIGEM"),
          {{QStringLiteral("0"), QStringLiteral("0 - Nacional")},
           {QStringLiteral("1"), QStringLiteral("1 - Estrangeira, importação direta")},
           {QStringLiteral("2"), QStringLiteral("2 - Estrangeira, adquirida no mercado interno")},
           {QStringLiteral("3"), QStringLiteral("3 - Nacional, conteúdo de importação acima de 40%")},
           {QStringLiteral("4"), QStringLiteral("4 - Nacional, processos produtivos básicos")},
           {QStringLiteral("5"), QStringLiteral("5 - Nacional, conteúdo de importação até 40%")},
           {QStringLiteral("6"), QStringLiteral("6 - Estrangeira, importação direta, sem similar")},
           {QStringLiteral("7"), QStringLiteral("7 - Estrangeira, mercado interno, sem similar")},
           {QStringLiteral("8"), QStringLiteral("8 - Nacional, conteúdo de importação acima de 70%")}});
    campo(*this, trib, QStringLiteral("CST do &ICMS:"), QStringLiteral("PRO_CST"));
    campo(*this, trib, QStringLiteral("CSOS&N:"), QStringLiteral("PRO_CSOSN"));
    campo(*this, trib, QStringLiteral("Alíquota do ICMS (%):"), QStringLiteral("PRO_ALIQ_ICMS"));
    campo(*this, trib, QStringLiteral("Alíquota do ICMS fora do estado (%):"), QStringLiteral("PRO_ALIQ_ICMS_FORA"));
    campo(*this, trib, QStringLiteral("Redução da base (%):"), QStringLiteral("PRO_PER_REDUC"));
    campo(*this, trib, QStringLiteral("Alíquota do FCP (%):"), QStringLiteral("PRO_FCP_ALIQ"));
    for (const char* nome : {"PRO_ALIQ_ICMS", "PRO_ALIQ_ICMS_FORA", "PRO_PER_REDUC", "PRO_FCP_ALIQ"})
        percentual(produto, QString::fromLatin1(nome));

    auto* estoque = new QFormLayout(novaPagina(abas, QStringLiteral("tabEstoque"), QStringLiteral("Estoque e produção")));
    campo(*this, estoque, QStringLiteral("Estoque atual:"), QStringLiteral("PRO_ESTQ_ATUAL"))->setReadOnly(true);
    campo(*this, estoque, QStringLiteral("Estoque reservado:"), QStringLiteral("PRO_ESTQ_RESERVADO"))->setReadOnly(true);
    marcador(*this, estoque, QStringLiteral("Vendido por peso (&balança)"), QStringLiteral("PRO_BALANCA"));
    marcador(*this, estoque, QStringLiteral("Não permite venda &fracionada"), QStringLiteral("PRO_NPERM_FRACIONADO"));
    marcador(*this, estoque, QStringLiteral("Não permite vender &sem estoque"), QStringLiteral("PRO_NPERM_SEMESTOQ"));
    marcador(*this, estoque, QStringLiteral("&Personalizado (escolhas do cliente)"), QStringLiteral("PRO_PERSONALIZADO"));
    marcador(*this, estoque, QStringLiteral("Imprime na co&zinha"), QStringLiteral("PRO_IMP_COZINHA"));
    marcador(*this, estoque, QStringLiteral("Imprime no b&ar"), QStringLiteral("PRO_IMP_BAR"));
    marcador(*this, estoque, QStringLiteral("Imprime na p&izzaria"), QStringLiteral("PRO_IMP_PIZZA"));
    marcador(*this, estoque, QStringLiteral("Imprime na c&hurrasqueira"), QStringLiteral("PRO_IMP_CHURRASQUEIRA"));

    m_estrutura = new TProdutoEstrutura(int(produto.field(QStringLiteral("CODPRODUTO")).asInteger()), abas);

    produto.field(QStringLiteral("PRO_CODPESQ_1")).onChange = [](Field& f) {
        const QString limpo = f.asString().trimmed().toUpper();
        if (limpo != f.asString())
            f.setValueSilently(limpo);
    };
    resize(720, 520);
}

void TfrmProduto::carregarSubgrupos() {
    const QVariant grupo = registro().field(QStringLiteral("CODPRODUTOGRUPO")).value();
    // The condition holds only an integer of our own list, never typed text.
    const QString condicao = grupo.isNull() ? QStringLiteral("1 = 0")
                                            : QStringLiteral("CODPRODUTOGRUPO = %1").arg(grupo.toLongLong());
    Libgeral::carregarComboBox(m_subgrupo, *registro().database(), QStringLiteral("PRODUTO_GRUPO_SUBGRP"),
                               QStringLiteral("CODPRODUTOGRUPOSUBGRP"), QStringLiteral("PROGS_DESCRICAO"), condicao);
    m_subgrupo->insertItem(0, QString());
    binder().refresh();
}

void TfrmProduto::ValidaDados() {
    RecordSet& rs = registro();
    Database& db = *rs.database();
    const QString codigo = texto(rs, QStringLiteral("PRO_CODPESQ_1"));
    if (codigo.isEmpty())
        Error(QStringLiteral("Informe o código de pesquisa do produto."));
    if (texto(rs, QStringLiteral("PRO_DESCRICAO")).isEmpty())
        Error(QStringLiteral("Informe a descrição do produto."));
    Libgeral::ValidaCampo(db, QStringLiteral("PRODUTO"), QStringLiteral("PRO_CODPESQ_1"), codigo, QStringLiteral("CODPRODUTO"),
                          rs.field(QStringLiteral("CODPRODUTO")).value(),
                          QStringLiteral("Já existe um produto com o código de pesquisa %1.").arg(codigo));
    const QString barras = texto(rs, QStringLiteral("PRO_EAN13"));
    if (!barras.isEmpty() && !documentos::codigoBarrasValido(barras))
        Error(QStringLiteral("Código de barras inválido: confira os números (EAN-8 ou EAN-13)."));
    const QString ncm = texto(rs, QStringLiteral("PRO_NCM"));
    if (!ncm.isEmpty() && (OnlyNumber(ncm) != ncm || ncm.size() != 8))
        Error(QStringLiteral("O NCM deve ter 8 dígitos."));
    const QString cest = texto(rs, QStringLiteral("PRO_CEST"));
    if (!cest.isEmpty() && (OnlyNumber(cest).size() != 7))
        Error(QStringLiteral("O CEST deve ter 7 dígitos."));
    for (int n = 1; n <= 14; ++n)
        if (rs.field(precoN(n)).asCurrency() < Currency())
            Error(QStringLiteral("O preço %1 não pode ser negativo.").arg(n, 2, 10, QLatin1Char('0')));
    const QVariant subgrupo = rs.field(QStringLiteral("CODPRODUTOGRUPOSUBGRP")).value();
    if (!subgrupo.isNull()) {
        const QVariant dono = db.scalar(QStringLiteral("select CODPRODUTOGRUPO from PRODUTO_GRUPO_SUBGRP where CODPRODUTOGRUPOSUBGRP = :S"),
                                        {{QStringLiteral("S"), subgrupo}});
        if (dono.toLongLong() != rs.field(QStringLiteral("CODPRODUTOGRUPO")).asInteger())
            Error(QStringLiteral("O subgrupo escolhido não pertence ao grupo do produto."));
    }
    m_estrutura->validar();
}

void TfrmProduto::gravar() {
    Transaction tx(*registro().database());
    registro().applyUpdates(0);
    m_estrutura->gravar();
    tx.commit();
}

std::unique_ptr<RecordSet> TfrmProduto::registroProduto(Database& db, int codproduto) {
    auto rs = abrirRegistro(db, QStringLiteral("PRODUTO"), QStringLiteral("CODPRODUTO"), codproduto, codproduto == 0);
    if (codproduto == 0) {
        rs->field(QStringLiteral("PRO_ATIVO")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("PRO_ICMS_ORIGEM")).setValue(QStringLiteral("0"));
        rs->field(QStringLiteral("PRO_ESTQ_ATUAL")).setValue(0);
        rs->field(QStringLiteral("PRO_ESTQ_RESERVADO")).setValue(0);
        rs->field(QStringLiteral("PRO_PRECO01")).setValue(0);
        rs->field(QStringLiteral("PRO_COMPOSTO")).setValue(QStringLiteral("N")); // the composition keeps it in step
    }
    return rs;
}

namespace {
// The price columns the shop uses, each with its title: the price table.
QStringList colunasPreco() {
    QStringList colunas;
    for (int n = 1; n <= TdmProduto::gerarInstance().tabelaPrecos().quantidade; ++n)
        colunas << precoN(n);
    return colunas;
}
} // namespace

TfrmProduto_Pesq::TfrmProduto_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select p.CODPRODUTO, p.PRO_CODPESQ_1, p.PRO_DESCRICAO, g.PROG_DESCRICAO, p.%1, "
                                        "p.PRO_ESTQ_ATUAL, p.PRO_ATIVO from PRODUTO p "
                                        "left join PRODUTO_GRUPO g on g.CODPRODUTOGRUPO = p.CODPRODUTOGRUPO")
                             .arg(colunasPreco().join(QStringLiteral(", p."))),
                         parent) {
    setObjectName(QStringLiteral("frmProduto_Pesq"));
    setWindowTitle(QStringLiteral("Produtos"));
    adicionarTipoPesquisa(QStringLiteral("Descrição"), QStringLiteral("p.PRO_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("Código de pesquisa"), QStringLiteral("p.PRO_CODPESQ_1"));
    adicionarTipoPesquisa(QStringLiteral("Código de barras"), QStringLiteral("p.PRO_EAN13"));
    adicionarTipoPesquisa(QStringLiteral("Grupo"), QStringLiteral("g.PROG_DESCRICAO"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("p.CODPRODUTO"));
    setOrdem(QStringLiteral("p.PRO_DESCRICAO"));
    const QStringList precos = colunasPreco();
    Opcoes rotulos{{QStringLiteral("CODPRODUTO"), QStringLiteral("Código")},
                   {QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Cód. pesquisa")},
                   {QStringLiteral("PRO_DESCRICAO"), QStringLiteral("Descrição")},
                   {QStringLiteral("PROG_DESCRICAO"), QStringLiteral("Grupo")},
                   {QStringLiteral("PRO_ESTQ_ATUAL"), QStringLiteral("Estoque")},
                   {QStringLiteral("PRO_ATIVO"), QStringLiteral("Ativo")}};
    for (int n = 1; n <= precos.size(); ++n)
        rotulos.append({precoN(n), precos.size() == 1 ? QStringLiteral("Preço") : QStringLiteral("Preço %1").arg(n, 2, 10, QLatin1Char('0'))});
    rotularColunas(*this, rotulos, precos);
}

bool TfrmProduto_Pesq::abrirCadastro(Modo modo) {
    const int codigo = modo == Modo::Incluir ? 0 : int(registros().field(QStringLiteral("CODPRODUTO")).asInteger());
    auto rs = TfrmProduto::registroProduto(TdmAcesso::gerarInstance().sqlCon(), codigo);
    TfrmProduto tela(*rs, this);
    tela.estrutura().setSomenteLeitura(modo == Modo::Visualizar);
    return mostrarCadastro(tela, modo);
}

void TfrmProduto_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("PRODUTO"), QStringLiteral("CODPRODUTO"),
                       registros().field(QStringLiteral("CODPRODUTO")).value(), QStringLiteral("PRO_ATIVO"),
                       {QStringLiteral("PRODUTO_UNIDADE"), QStringLiteral("PRODUTO_COMPOSICAO"), QStringLiteral("PRODUTO_PERSONALIZACAO")});
}

} // namespace kvo
