#include "NFVendaFixture.h"

#include "framework/services/DAcesso.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DConfiguracao.h"

namespace kvo::test {

void carregarCadastros(Database& db) {
    db.executeSQL(QStringLiteral("insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_CPFCGC, PARG_IE, PARG_UF, "
                       "PARG_TRABALHA_ABERTURA) values (1, 'LOJA TESTE LTDA', '11222333000181', '110042490114', 'SP', 'N')"));
    const char* registros[] = {
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_IE, PES_CONTRIBUINTE, CODTRANSPORTADORA) "
        "values (1, 'Cliente SP', 'SP', '110042490114', 'S', 4)",
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_IE, PES_CONTRIBUINTE) values (2, 'Cliente MG', 'MG', null, 'N')",
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF) values (3, 'Cliente sem estado', null)",
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_RAZAO_SOCIAL, PES_UF) values (4, 'Transportes', 'TRANSPORTES LTDA', 'SP')",
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_IE, PES_CONTRIBUINTE) values (5, 'Cliente RJ', 'RJ', '123', 'S')",
        "insert into VENDEDOR (CODVENDEDOR, VEN_NOME) values (1, 'Carlos')",
        "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('5102', 'Venda', 'S')",
        "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('6102', 'Venda fora', 'S')",
        "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('5405', 'Venda ST', 'S')",
        "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('1202', 'Devolucao', 'E')",
        "insert into SERIE (CODSERIE, SER_DESCRICAO, SER_TIPO) values ('1', 'NF-e', 'NF-e')",
        "insert into SERIE (CODSERIE, SER_DESCRICAO, SER_SEQ, SER_TIPO) values ('F', 'Form', 40, 'Formulário')",
        "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_PRECO03, PRO_ALIQ_ICMS, "
        "PRO_ALIQ_ICMS_FORA, PRO_ALIQ_ICMS_NCONT, PRO_ALIQ_ICMS_FORA_NCONT, PRO_PER_REDUC, PRO_PER_REDUC_FORA, "
        "PRO_PER_REDUC_NCONT, PRO_PER_REDUC_FORA_NCONT, PRO_CST, PRO_CSOSN, PRO_PRECO_CUSTO) values "
        "(10, '1001', 'PARAFUSO', 2, 1.5, 18, 12, 17, 7, 0, 10, 20, 30, '260', '102', 0.8)",
        "insert into PRODUTO_UNIDADE (CODPRODUTOUNIDADE, CODPRODUTO, PROU_SIGLA, PROU_QTDE, PROU_PRINCIPAL) "
        "values (101, 10, 'UN', 1, 'S')",
        "insert into PRODUTO_UNIDADE (CODPRODUTOUNIDADE, CODPRODUTO, PROU_SIGLA, PROU_QTDE, PROU_PRINCIPAL) "
        "values (102, 10, 'CX', 12, 'N')",
        "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_ALIQ_ICMS) "
        "values (20, '2002', 'CAFE', 10, 18)",
        "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_ATIVO) "
        "values (30, '3003', 'INATIVO', 5, 'N')",
        "insert into SERVICOS (CODSERVICO, SER_DESCRICAO, SER_VALOR) values (1, 'INSTALACAO', 50)",
    };
    for (const char* r : registros)
        db.executeSQL(QString::fromUtf8(r));
    db.executeSQL(QStringLiteral("update PRODUTO set CODCFOP = '5405' where CODPRODUTO = 20"));
}

NFVendaFixture::NFVendaFixture() {
    TdmAcesso::gerarInstance().usarConexao(t.db());
    carregarCadastros(t.db());
}

void NFVendaFixture::config(const char* chave, const char* valor) {
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    for (const ChaveConfiguracao& k : chavesRegistradas())
        if (qstrcmp(k.chave, chave) == 0)
            cfg.verificaConfiguracao(QString::fromUtf8(k.grupo), QString::fromUtf8(k.chave), QString::fromUtf8(k.tipo),
                                     QString::fromUtf8(k.padrao), QString::fromUtf8(k.descricao));
    cfg.setValor(QLatin1String(chave), QString::fromUtf8(valor));
}

void NFVendaFixture::novaNotaSP() {
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("1"));
    cabecalho("CODCFOP", QStringLiteral("5102"));
}

void NFVendaFixture::itemManual(const char* qtde, const char* preco, const char* aliqIcms) {
    dm().novoItem();
    noItem("NFVI_QTDE", QString::fromLatin1(qtde));
    noItem("NFVI_VLR_UNITARIO", QString::fromLatin1(preco));
    noItem("NFVI_ALIQ_ICMS", QString::fromLatin1(aliqIcms));
}

} // namespace kvo::test
