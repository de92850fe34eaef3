#include "registers/DProduto.h"

#include "core/Format.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace kvo {

namespace {
// A product's child rows (`select` with :P = the product) ready to edit: a new
// row takes its key from the table's generator, belongs to the product and
// starts with `padroes`.
std::unique_ptr<RecordSet> filhosDoProduto(Database& db, const QString& select, const QString& tabela,
                                           const QString& chave, int codproduto,
                                           std::function<void(RecordSet&)> padroes) {
    auto rs = openEditable(db, select, {{QStringLiteral("P"), codproduto}}, tabela, chave);
    rs->onNewRecord = [&db, tabela, chave, codproduto, padroes](RecordSet& r) {
        r.field(chave).setValue(db.getGeneretor(QStringLiteral("GEN_") + tabela));
        r.field(QStringLiteral("CODPRODUTO")).setValue(codproduto);
        padroes(r);
    };
    return rs;
}
} // namespace

TdmProduto& TdmProduto::gerarInstance() { return Module::current().instance<TdmProduto>(); }

TdmProduto::TdmProduto() : TdmProduto(TdmAcesso::gerarInstance().sqlCon()) {
    m_empresa = TdmAcesso::gerarInstance().empresaAtual();
}

TdmProduto::TdmProduto(Database& db) : m_db(db), m_pesquisa(db), m_detalhe(db), m_codigo(db) {
    // Callers copy the leading columns in this order (Complementar); the other
    // prices follow for the price types, keyed on CODPRODUTO for the moment.
    QString precos;
    for (int n = 2; n <= 14; ++n)
        precos += QStringLiteral(", ") + campoPreco(n);
    m_pesquisa.configurar(QStringLiteral("select PRO_DESCRICAO, CODPRODUTO, PRO_PRECO01, PRO_ALT_PRECO, PRO_IMP_COZINHA, "
                                         "PRO_ESTQ_ATUAL, PRO_IMP_BAR, PRO_IMP_PIZZA, PRO_IMP_CHURRASQUEIRA, PRO_CODPESQ_1") +
                              precos + QStringLiteral(" from PRODUTO"),
        QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Pesquisa de Produtos"), QStringLiteral("Produto não encontrado!"));
    m_pesquisa.SetSQL4Where(QStringLiteral("PRO_ATIVO = 'S'"));
    m_pesquisa.setRotulos({{QStringLiteral("PRO_DESCRICAO"), QStringLiteral("Descrição")},
                           {QStringLiteral("CODPRODUTO"), QStringLiteral("Código")},
                           {QStringLiteral("PRO_PRECO01"), QStringLiteral("Preço")},
                           {QStringLiteral("PRO_ALT_PRECO"), QStringLiteral("Altera preço")},
                           {QStringLiteral("PRO_IMP_COZINHA"), QStringLiteral("Cozinha")},
                           {QStringLiteral("PRO_ESTQ_ATUAL"), QStringLiteral("Estoque")},
                           {QStringLiteral("PRO_IMP_BAR"), QStringLiteral("Bar")},
                           {QStringLiteral("PRO_IMP_PIZZA"), QStringLiteral("Pizzaria")},
                           {QStringLiteral("PRO_IMP_CHURRASQUEIRA"), QStringLiteral("Churrasqueira")},
                           {QStringLiteral("PRO_CODPESQ_1"), QStringLiteral("Cód. Pesquisa")}});
    m_detalhe.SetDataSet(QStringLiteral(
        "select p.PRO_ALIQ_ICMS, m.MAR_DESCRICAO, p.PRO_REG_ICMS, p.PRO_TIPOLISTA, p.PRO_PRECO01, p.PRO_NCM, "
        "p.PRO_ESTQ_RESERVADO, p.PRO_ESTQ_ATUAL, p.PRO_PRECO_CUSTO, p.PRO_PRECO_COMPRA, p.PRO_CSOSN, p.PRO_CEST, "
        "p.PRO_CODPESQ_1 from PRODUTO p left join MARCA m on m.CODMARCA = p.CODMARCA"));
    m_detalhe.SetFieldKey(QStringLiteral("p.PRO_CODPESQ_1"));
    m_codigo.SetDataSet(QStringLiteral("select PRO_CODPESQ_1, CODPRODUTO, PRO_DESCRICAO, PRO_PRECO01 from PRODUTO"));
    m_codigo.SetFieldKey(QStringLiteral("CODPRODUTO"));
    m_codigo.setTextoNaoEncontrado(QStringLiteral("Produto não encontrado!"));
}

bool TdmProduto::validaEstoque(int codproduto, Currency quantidade, bool controlar) {
    if (!controlar)
        return true;
    // Read fresh: another terminal may have changed either flag.
    const auto rs = m_db.query(QStringLiteral("select p.PRO_DESCRICAO, p.PRO_ESTQ_ATUAL - p.PRO_ESTQ_RESERVADO, "
                                              "p.PRO_NPERM_SEMESTOQ, (select g.PARG_CONTROLA_ESTOQUE from PAR_GERAL g "
                                              "where g.CODEMPRESA = :E) from PRODUTO p where p.CODPRODUTO = :P"),
                               {{QStringLiteral("P"), codproduto}, {QStringLiteral("E"), m_empresa}});
    if (rs->isEmpty()) {
        Alerta(QStringLiteral("Produto não encontrado!"));
        return false;
    }
    // Only a company that controls stock refuses, and only for a product that may not be sold without it.
    if (rs->field(3).asString() != u"S" || rs->field(2).asString() != u"S")
        return true;
    const Currency livre = rs->field(1).asCurrency();
    if (livre >= quantidade)
        return true;
    Alerta(QStringLiteral("Estoque insuficiente para o produto %1.\nDisponível: %2  Solicitado: %3")
               .arg(rs->field(0).asString(), formatFloat(u"###,##0.000", livre), formatFloat(u"###,##0.000", quantidade)));
    return false;
}

QString TdmProduto::sqlMovimentarEstoqueNormal(int codproduto, Currency quantidade, int tipo, const QString& origem,
                                               int documento) {
    if (codproduto <= 0 || quantidade.isZero() || (tipo != 1 && tipo != 2))
        return {};
    // A negative quantity is the opposite movement: the table stores positives.
    if (quantidade < Currency()) {
        quantidade = -quantidade;
        tipo = tipo == 1 ? 2 : 1;
    }
    return QStringLiteral("insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE, "
                          "ESTM_ORIGEM, ESTM_DOCUMENTO) values (gen_id(GEN_ESTOQUE_MOVIMENTO, 1), %1, %2, %3, %4, %5)")
        .arg(codproduto)
        .arg(tipo)
        .arg(sqlNumber(quantidade), quotedStr(origem.left(30)))
        .arg(documento);
}

Currency TdmProduto::retornarAliqNCM(int codproduto) {
    const auto rs = m_db.query(QStringLiteral(
                                   "select iif(coalesce(p.PRO_ICMS_ORIGEM, '0') in ('1', '2', '6', '7'), n.NCM_ALIQ_IMPORTADO, "
                                   "n.NCM_ALIQ_NACIONAL) from PRODUTO p join NCM_ALIQUOTA n on "
                                   "n.NCM_CODIGO = replace(p.PRO_NCM, '.', '') where p.CODPRODUTO = :P"),
                               {{QStringLiteral("P"), codproduto}});
    return rs->isEmpty() ? Currency() : rs->field(0).asCurrency();
}

QString TdmProduto::campoPreco(int n) { return QStringLiteral("PRO_PRECO%1").arg(n, 2, 10, QLatin1Char('0')); }

void TdmProduto::visualizarPrecos() {
    const auto rs = m_db.query(QStringLiteral("select PARV_QTDE_PROD_PRECO, PARV_PREC_PROD_RO from PAR_VENDA "
                                              "where CODPARVENDA = 1"));
    TabelaPrecos precos;
    if (!rs->isEmpty()) {
        // Stored "01".."14"; anything else keeps the one price every sale uses.
        bool ok = false;
        const int n = rs->field(0).asString().trimmed().toInt(&ok);
        precos.quantidade = ok ? std::clamp(n, 1, 14) : 1;
        precos.somenteLeitura = rs->field(1).asString() == u"S";
    }
    m_precos = precos;
}

const TdmProduto::TabelaPrecos& TdmProduto::tabelaPrecos() {
    if (!m_precos)
        visualizarPrecos();
    return *m_precos;
}

std::unique_ptr<RecordSet> TdmProduto::unidades(int codproduto) {
    auto rs = filhosDoProduto(m_db,
                              QStringLiteral("select * from PRODUTO_UNIDADE where CODPRODUTO = :P "
                                             "order by PROU_PRINCIPAL desc, PROU_QTDE"),
                              QStringLiteral("PRODUTO_UNIDADE"), QStringLiteral("CODPRODUTOUNIDADE"),
                              codproduto, [](RecordSet& r) {
                                  r.field(QStringLiteral("PROU_QTDE")).setValue(1);
                                  r.field(QStringLiteral("PROU_PRINCIPAL"))
                                      .setValue(r.isEmpty() ? QStringLiteral("S") : QStringLiteral("N"));
                              });
    rs->field(QStringLiteral("PROU_SIGLA")).onChange = [](Field& f) {
        const QString limpo = f.asString().trimmed().toUpper();
        if (limpo != f.asString())
            f.setValueSilently(limpo);
    };
    rs->field(QStringLiteral("PROU_PRINCIPAL")).onValidate = [](Field& f) {
        const QString v = f.asString().trimmed().toUpper();
        if (v != u"S" && v != u"N")
            Error(QStringLiteral("Principal: informe S ou N."));
        if (v != f.asString())
            f.setValueSilently(v);
    };
    return rs;
}

std::unique_ptr<RecordSet> TdmProduto::composicao(int codproduto) {
    auto rs =
        filhosDoProduto(m_db,
                        QStringLiteral("select c.CODPRODUTOCOMPOSICAO, c.CODPRODUTO, c.CODPRODUTOFILHO, "
                                       "p.PRO_CODPESQ_1, p.PRO_DESCRICAO, c.PROC_QTDE "
                                       "from PRODUTO_COMPOSICAO c join PRODUTO p on p.CODPRODUTO = "
                                       "c.CODPRODUTOFILHO where c.CODPRODUTO = :P "
                                       "order by p.PRO_DESCRICAO"),
                        QStringLiteral("PRODUTO_COMPOSICAO"), QStringLiteral("CODPRODUTOCOMPOSICAO"),
                        codproduto, [](RecordSet& r) { r.field(QStringLiteral("PROC_QTDE")).setValue(1); });
    rs->field(QStringLiteral("PRO_CODPESQ_1")).setReadOnly(true);
    rs->field(QStringLiteral("PRO_DESCRICAO")).setReadOnly(true);
    return rs;
}

void TdmProduto::validarUnidades(RecordSet& rs) {
    rs.checkBrowseMode();
    if (rs.isEmpty())
        return; // sold in the default unit
    QSet<QString> siglas;
    QStringList principais;
    Currency qtdePrincipal;
    for (rs.first(); !rs.eof(); rs.next()) {
        const QString sigla = rs.field(QStringLiteral("PROU_SIGLA")).asString().trimmed().toUpper();
        if (sigla.isEmpty())
            Error(QStringLiteral("Informe a sigla de cada unidade."));
        if (rs.field(QStringLiteral("PROU_QTDE")).asCurrency() <= Currency())
            Error(QStringLiteral("A quantidade da unidade %1 deve ser maior que zero.").arg(sigla));
        if (siglas.contains(sigla))
            Error(QStringLiteral("A unidade %1 está repetida.").arg(sigla));
        siglas.insert(sigla);
        if (rs.field(QStringLiteral("PROU_PRINCIPAL")).asString() == u"S") {
            principais << sigla;
            qtdePrincipal = rs.field(QStringLiteral("PROU_QTDE")).asCurrency();
        }
    }
    if (principais.isEmpty())
        Error(QStringLiteral("Marque uma das unidades como principal."));
    if (principais.size() > 1)
        Error(QStringLiteral("Só uma unidade pode ser a principal (marcadas: %1).").arg(principais.join(QStringLiteral(", "))));
    if (qtdePrincipal != Currency(1))
        Error(QStringLiteral("A unidade principal (%1) deve ter quantidade 1: as outras são convertidas nela.")
                  .arg(principais.first()));
}

void TdmProduto::validarComposicao(int codproduto, RecordSet& rs) {
    rs.checkBrowseMode();
    QSet<qint64> componentes;
    for (rs.first(); !rs.eof(); rs.next()) {
        const qint64 filho = rs.field(QStringLiteral("CODPRODUTOFILHO")).asInteger();
        QString nome = rs.field(QStringLiteral("PRO_DESCRICAO")).asString().trimmed();
        if (nome.isEmpty()) // a row filled by code rather than through the screen
            nome = m_db.scalar(QStringLiteral("select PRO_DESCRICAO from PRODUTO where CODPRODUTO = :F"),
                               {{QStringLiteral("F"), filho}})
                       .toString()
                       .trimmed();
        if (filho == codproduto)
            Error(QStringLiteral("O produto não pode fazer parte da sua própria composição."));
        if (componentes.contains(filho))
            Error(QStringLiteral("O componente %1 está repetido na composição.").arg(nome));
        componentes.insert(filho);
        if (rs.field(QStringLiteral("PROC_QTDE")).asCurrency() <= Currency())
            Error(QStringLiteral("A quantidade do componente %1 deve ser maior que zero.").arg(nome));
        // Whatever the component is made of, at any depth, must not be this product.
        const int ciclos = m_db.scalar(QStringLiteral(
                                           "with recursive ARVORE (CODPRODUTO) as ("
                                           "select CODPRODUTOFILHO from PRODUTO_COMPOSICAO where CODPRODUTO = :F "
                                           "union all select c.CODPRODUTOFILHO from PRODUTO_COMPOSICAO c "
                                           "join ARVORE a on c.CODPRODUTO = a.CODPRODUTO) "
                                           "select count(*) from ARVORE where CODPRODUTO = :P"),
                                       {{QStringLiteral("F"), filho}, {QStringLiteral("P"), codproduto}})
                                .toInt();
        if (ciclos > 0)
            Error(QStringLiteral("O componente %1 já contém este produto: a composição ficaria circular.").arg(nome));
    }
}

QList<QPair<QString, QString>> TdmProduto::tiposPersonalizacao() {
    return {{QStringLiteral("01"), QStringLiteral("01 - Incluso, sem cobrança")},
            {QStringLiteral("02"), QStringLiteral("02 - Retirada de valor fixo")},
            {QStringLiteral("03"), QStringLiteral("03 - Retirada pelo preço da opção")},
            {QStringLiteral("04"), QStringLiteral("04 - Adicional de valor fixo")},
            {QStringLiteral("05"), QStringLiteral("05 - Adicional pelo preço da opção")},
            {QStringLiteral("06"), QStringLiteral("06 - Fração da opção (valor em %)")}};
}

std::unique_ptr<RecordSet> TdmProduto::personalizacao(int codproduto) {
    auto rs = filhosDoProduto(
        m_db,
        QStringLiteral("select pp.CODPRODUTOPERSONALIZACAO, pp.CODPRODUTO, pp.CODGRUPOPERSONALIZACAO, "
                       "g.GRPP_DESCRICAO, pp.PROP_TIPO, pp.PROP_VALOR, pp.PROP_QTDE_MINIMA, "
                       "pp.PROP_QTDE_MAXIMA from PRODUTO_PERSONALIZACAO pp join GRUPO_PERSONALIZACAO g "
                       "on g.CODGRUPOPERSONALIZACAO = pp.CODGRUPOPERSONALIZACAO "
                       "where pp.CODPRODUTO = :P order by g.GRPP_DESCRICAO"),
        QStringLiteral("PRODUTO_PERSONALIZACAO"), QStringLiteral("CODPRODUTOPERSONALIZACAO"), codproduto,
        [](RecordSet& r) {
            r.field(QStringLiteral("PROP_TIPO")).setValue(QStringLiteral("01"));
            for (const char* nome : {"PROP_VALOR", "PROP_QTDE_MINIMA", "PROP_QTDE_MAXIMA"})
                r.field(QString::fromLatin1(nome)).setValue(0);
        });
    rs->field(QStringLiteral("GRPP_DESCRICAO")).setReadOnly(true);
    // The group's name follows its code, so the grid shows which group it is.
    Database& db = m_db;
    rs->field(QStringLiteral("CODGRUPOPERSONALIZACAO")).onValidate = [&db](Field& f) {
        if (f.isNull())
            return;
        const QVariant nome = db.scalar(QStringLiteral("select GRPP_DESCRICAO from GRUPO_PERSONALIZACAO "
                                                       "where CODGRUPOPERSONALIZACAO = :G"),
                                        {{QStringLiteral("G"), f.value()}});
        if (nome.isNull())
            Error(QStringLiteral("Grupo de personalização %1 não encontrado.").arg(f.asString()));
        f.recordSet().field(QStringLiteral("GRPP_DESCRICAO")).setValueSilently(nome);
    };
    rs->field(QStringLiteral("PROP_TIPO")).onValidate = [](Field& f) {
        const QString v = f.asString().trimmed().rightJustified(2, u'0');
        if (v < u"01" || v > u"06" || v.size() != 2 || !v.at(0).isDigit() || !v.at(1).isDigit())
            Error(QStringLiteral("Tipo de personalização: informe de 01 a 06."));
        if (v != f.asString())
            f.setValueSilently(v);
    };
    return rs;
}

void TdmProduto::validarPersonalizacao(RecordSet& rs) {
    rs.checkBrowseMode();
    QSet<qint64> grupos;
    for (rs.first(); !rs.eof(); rs.next()) {
        const Field& grupo = rs.field(QStringLiteral("CODGRUPOPERSONALIZACAO"));
        const QString nome = rs.field(QStringLiteral("GRPP_DESCRICAO")).asString().trimmed();
        if (grupo.isNull())
            Error(QStringLiteral("Informe o grupo de cada linha da personalização."));
        if (grupos.contains(grupo.asInteger()))
            Error(QStringLiteral("O grupo %1 está repetido na personalização.").arg(nome));
        grupos.insert(grupo.asInteger());
        const Currency minimo = rs.field(QStringLiteral("PROP_QTDE_MINIMA")).asCurrency();
        const Currency maximo = rs.field(QStringLiteral("PROP_QTDE_MAXIMA")).asCurrency();
        if (minimo < Currency() || maximo < Currency())
            Error(QStringLiteral("As quantidades do grupo %1 não podem ser negativas.").arg(nome));
        if (maximo > Currency() && minimo > maximo)
            Error(QStringLiteral("No grupo %1 o mínimo passa do máximo.").arg(nome));
        const QString tipo = rs.field(QStringLiteral("PROP_TIPO")).asString();
        const Currency valor = rs.field(QStringLiteral("PROP_VALOR")).asCurrency();
        if ((tipo == u"02" || tipo == u"04") && valor <= Currency())
            Error(QStringLiteral("No grupo %1 o tipo %2 precisa de um valor maior que zero.").arg(nome, tipo));
        if (tipo == u"06" && (valor <= Currency() || valor > Currency(100)))
            Error(QStringLiteral("No grupo %1 a fração é um percentual entre 0 e 100.").arg(nome));
    }
}

std::optional<TdmProduto::ProdutoEscolhido> TdmProduto::pedirProduto(const QString& titulo) {
    const auto codigo = InputBox(titulo, QStringLiteral("Código de pesquisa do produto:"));
    if (!codigo || codigo->trimmed().isEmpty())
        return std::nullopt;
    const auto produto = m_db.query(QStringLiteral("select CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO from PRODUTO "
                                                   "where PRO_CODPESQ_1 = :C"),
                                    {{QStringLiteral("C"), codigo->trimmed().toUpper()}});
    if (produto->isEmpty())
        Error(QStringLiteral("Produto não encontrado!"));
    return ProdutoEscolhido{produto->field(0).asInteger(), produto->field(1).asString(), produto->field(2).asString()};
}

} // namespace kvo
