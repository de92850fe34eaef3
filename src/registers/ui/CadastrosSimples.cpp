#include "registers/ui/CadastrosSimples.h"

#include "framework/ui/UserInterface.h"

#include <QRegularExpression>

namespace kvo::cadastro {

namespace {

using Tipo = CampoSimples::Tipo;

QString selectDe(const QString& colunas, const QString& tabela) {
    return QStringLiteral("select %1 from %2").arg(colunas, tabela);
}

// A register of one description column, unique.
CadastroSimples descritivo(const QString& nome, const QString& tabela, const QString& chave, const QString& descricao,
                           const QString& titulo, const QString& tituloPesquisa, const QString& mensagemUnico) {
    return CadastroSimples{
        .tela = QStringLiteral("frm") + nome,
        .titulo = titulo,
        .tituloPesquisa = tituloPesquisa,
        .tabela = tabela,
        .chave = chave,
        .gerador = QStringLiteral("GEN_") + tabela,
        .campos = {{.nome = descricao, .rotulo = QStringLiteral("&Descrição:"), .obrigatorio = QStringLiteral("a descrição")}},
        .unico = descricao,
        .mensagemUnico = mensagemUnico,
        .selectPesquisa = selectDe(chave + QStringLiteral(", ") + descricao, tabela),
        .colunas = {{chave, QStringLiteral("Código")}, {descricao, QStringLiteral("Descrição")}},
        .tiposPesquisa = {{QStringLiteral("Descrição"), descricao}, {QStringLiteral("Código"), chave}},
        .ordem = descricao,
    };
}

// Groups and subgroups order and colour the touch-screen tiles.
QList<CampoSimples> corEOrdem(const QString& prefixo) {
    return {{.nome = prefixo + QStringLiteral("_COR"), .rotulo = QStringLiteral("C&or do botão:"), .tipo = Tipo::Cor},
            {.nome = prefixo + QStringLiteral("_ORDEM"), .rotulo = QStringLiteral("O&rdem no toque:"), .tipo = Tipo::Inteiro,
             .padrao = 0}};
}

} // namespace

const CadastroSimples& grupoProduto() {
    static const CadastroSimples c = [] {
        CadastroSimples g = descritivo(QStringLiteral("ProdutoGrupo"), QStringLiteral("PRODUTO_GRUPO"),
                                       QStringLiteral("CODPRODUTOGRUPO"), QStringLiteral("PROG_DESCRICAO"),
                                       QStringLiteral("Cadastro de Grupo de Produtos"), QStringLiteral("Grupos de Produtos"),
                                       QStringLiteral("Já existe um grupo com a descrição %1."));
        g.campos += corEOrdem(QStringLiteral("PROG"));
        g.campos.append(CampoSimples{.nome = QStringLiteral("PROG_IMG"), .rotulo = QStringLiteral("&Imagem do botão (arquivo):")});
        g.campos.append(CampoSimples{.nome = QStringLiteral("PROG_DESATIVAR_TOUCH"),
                                     .rotulo = QStringLiteral("&Não mostrar nas telas de toque"),
                                     .tipo = Tipo::Marcador,
                                     .padrao = QStringLiteral("N")});
        g.selectPesquisa = selectDe(QStringLiteral("CODPRODUTOGRUPO, PROG_DESCRICAO, PROG_ORDEM, PROG_COR"),
                                    QStringLiteral("PRODUTO_GRUPO"));
        g.colunas += {{QStringLiteral("PROG_ORDEM"), QStringLiteral("Ordem")}, {QStringLiteral("PROG_COR"), QStringLiteral("Cor")}};
        return g;
    }();
    return c;
}

const CadastroSimples& subgrupoProduto() {
    static const CadastroSimples c = [] {
        CadastroSimples s = descritivo(QStringLiteral("ProdutoSubgrupo"), QStringLiteral("PRODUTO_GRUPO_SUBGRP"),
                                       QStringLiteral("CODPRODUTOGRUPOSUBGRP"), QStringLiteral("PROGS_DESCRICAO"),
                                       QStringLiteral("Cadastro de Subgrupo de Produtos"),
                                       QStringLiteral("Subgrupos de Produtos"), QString());
        // The same name may well repeat under two groups ("Doces" of pizzas and of drinks).
        s.unico.clear();
        s.campos.prepend(CampoSimples{.nome = QStringLiteral("CODPRODUTOGRUPO"), .rotulo = QStringLiteral("&Grupo:"), .tipo = Tipo::Tabela,
                          .obrigatorio = QStringLiteral("o grupo do subgrupo"), .tabela = QStringLiteral("PRODUTO_GRUPO"),
                          .chave = QStringLiteral("CODPRODUTOGRUPO"), .mostrar = QStringLiteral("PROG_DESCRICAO")});
        s.campos += corEOrdem(QStringLiteral("PROGS"));
        s.selectPesquisa = QStringLiteral("select s.CODPRODUTOGRUPOSUBGRP, s.PROGS_DESCRICAO, g.PROG_DESCRICAO, s.PROGS_ORDEM "
                                          "from PRODUTO_GRUPO_SUBGRP s left join PRODUTO_GRUPO g "
                                          "on g.CODPRODUTOGRUPO = s.CODPRODUTOGRUPO");
        s.colunas += {{QStringLiteral("PROG_DESCRICAO"), QStringLiteral("Grupo")}, {QStringLiteral("PROGS_ORDEM"), QStringLiteral("Ordem")}};
        s.tiposPesquisa = {{QStringLiteral("Descrição"), QStringLiteral("s.PROGS_DESCRICAO")},
                           {QStringLiteral("Grupo"), QStringLiteral("g.PROG_DESCRICAO")},
                           {QStringLiteral("Código"), QStringLiteral("s.CODPRODUTOGRUPOSUBGRP")}};
        s.ordem = QStringLiteral("g.PROG_DESCRICAO, s.PROGS_ORDEM, s.PROGS_DESCRICAO");
        return s;
    }();
    return c;
}

const CadastroSimples& marca() {
    static const CadastroSimples c = descritivo(QStringLiteral("Marca"), QStringLiteral("MARCA"), QStringLiteral("CODMARCA"), QStringLiteral("MAR_DESCRICAO"), QStringLiteral("Cadastro de Marca"), QStringLiteral("Marcas"), QStringLiteral("Já existe uma marca com a descrição %1."));
    return c;
}

const CadastroSimples& grupoPessoa() {
    static const CadastroSimples c = descritivo(QStringLiteral("PessoaGrupo"), QStringLiteral("PESSOA_GRUPO"), QStringLiteral("CODPESSOAGRUPO"), QStringLiteral("PESG_DESCRICAO"), QStringLiteral("Cadastro de Grupo de Pessoas"), QStringLiteral("Grupos de Pessoas"), QStringLiteral("Já existe um grupo com a descrição %1."));
    return c;
}

const CadastroSimples& moeda() {
    static const CadastroSimples c = [] {
        CadastroSimples m = descritivo(QStringLiteral("Moeda"), QStringLiteral("MOEDA"), QStringLiteral("CODMOEDA"),
                                       QStringLiteral("MOE_DESCRICAO"), QStringLiteral("Cadastro de Tipo de Moeda"),
                                       QStringLiteral("Tipos de Moeda"),
                                       QStringLiteral("Já existe uma moeda com a descrição %1."));
        // The payment codes of the NF-e payment group.
        m.campos.append(CampoSimples{.nome = QStringLiteral("MOE_NFE_PAG"), .rotulo = QStringLiteral("&Forma na NF-e:"), .tipo = Tipo::Lista,
                     .obrigatorio = QStringLiteral("a forma de pagamento da NF-e"),
                     .opcoes = {{QStringLiteral("01"), QStringLiteral("01 - Dinheiro")},
                                {QStringLiteral("02"), QStringLiteral("02 - Cheque")},
                                {QStringLiteral("03"), QStringLiteral("03 - Cartão de Crédito")},
                                {QStringLiteral("04"), QStringLiteral("04 - Cartão de Débito")},
                                {QStringLiteral("05"), QStringLiteral("05 - Crédito Loja")},
                                {QStringLiteral("10"), QStringLiteral("10 - Vale Alimentação")},
                                {QStringLiteral("11"), QStringLiteral("11 - Vale Refeição")},
                                {QStringLiteral("12"), QStringLiteral("12 - Vale Presente")},
                                {QStringLiteral("13"), QStringLiteral("13 - Vale Combustível")},
                                {QStringLiteral("15"), QStringLiteral("15 - Boleto Bancário")},
                                {QStringLiteral("16"), QStringLiteral("16 - Depósito Bancário")},
                                {QStringLiteral("17"), QStringLiteral("17 - Pagamento Instantâneo (PIX)")},
                                {QStringLiteral("18"), QStringLiteral("18 - Transferência bancária")},
                                {QStringLiteral("19"), QStringLiteral("19 - Programa de fidelidade")},
                                {QStringLiteral("90"), QStringLiteral("90 - Sem pagamento")},
                                {QStringLiteral("99"), QStringLiteral("99 - Outros")}},
                     .padrao = QStringLiteral("01")});
        m.campos.append(CampoSimples{.nome = QStringLiteral("MOE_NFE_BAND"), .rotulo = QStringLiteral("&Bandeira do cartão (código):"),
                     .validar = [](Field& f) {
                         static const QRegularExpression doisDigitos(QStringLiteral("^\\d{2}$"));
                         const QString v = f.asString().trimmed();
                         if (!v.isEmpty() && !doisDigitos.match(v).hasMatch())
                             Error(QStringLiteral("A bandeira do cartão é o código de 2 dígitos da NF-e."));
                     }});
        m.campos.append(CampoSimples{.nome = QStringLiteral("MOE_NFE_INTEGRADO"), .rotulo = QStringLiteral("Pagamento &integrado (TEF)"),
                     .tipo = Tipo::Marcador, .padrao = QStringLiteral("N")});
        m.selectPesquisa = selectDe(QStringLiteral("CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG"), QStringLiteral("MOEDA"));
        m.colunas += {{QStringLiteral("MOE_NFE_PAG"), QStringLiteral("Forma NF-e")}};
        return m;
    }();
    return c;
}

const CadastroSimples& banco() {
    static const CadastroSimples c = descritivo(QStringLiteral("Banco"), QStringLiteral("BANCO"), QStringLiteral("CODBANCO"), QStringLiteral("BAN_DESCRICAO"), QStringLiteral("Cadastro de Conta / Banco"), QStringLiteral("Contas / Bancos"), QStringLiteral("Já existe uma conta com a descrição %1."));
    return c;
}

const CadastroSimples& centroCusto() {
    static const CadastroSimples c = descritivo(QStringLiteral("CentroCusto"), QStringLiteral("CENTCUSTO"), QStringLiteral("CODCENTCUSTO"), QStringLiteral("CEN_DESCRICAO"), QStringLiteral("Cadastro de Centro de Custo"), QStringLiteral("Centros de Custo"), QStringLiteral("Já existe um centro de custo com a descrição %1."));
    return c;
}

QList<QPair<QString, const CadastroSimples*>> cadastrosSimples() {
    return {{QStringLiteral("TfrmProdutoGrupo_Pesq"), &grupoProduto()},
            {QStringLiteral("TfrmProdutoSubgrupo_Pesq"), &subgrupoProduto()},
            {QStringLiteral("TfrmMarca_Pesq"), &marca()},
            {QStringLiteral("TfrmPessoaGrupo_Pesq"), &grupoPessoa()},
            {QStringLiteral("TfrmMoeda_Pesq"), &moeda()},
            {QStringLiteral("TfrmBanco_Pesq"), &banco()},
            {QStringLiteral("TfrmCentroCusto_Pesq"), &centroCusto()}};
}

} // namespace kvo::cadastro
