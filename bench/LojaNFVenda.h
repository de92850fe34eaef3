#pragma once
// The shop both invoice benchmarks run on: a company in SP, one customer, a
// CFOP, series "1" and 50 products, and the way an invoice is typed into it.
#include "framework/db/Database.h"
#include "invoice/DNFVenda.h"

namespace kvo::bench {

inline void carregarLojaNFVenda(Database& db) {
    const char* registros[] = {
        "insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_CPFCGC, PARG_IE, PARG_UF, PARG_TRABALHA_ABERTURA, "
        "PARG_ENDERECO, PARG_NUMERO, PARG_BAIRRO, PARG_CIDADE, PARG_COD_MUNICIPIO, PARG_CEP) values (1, 'LOJA', "
        "'11222333000181', '110042490114', 'SP', 'N', 'RUA A', '1', 'CENTRO', 'SAO PAULO', 3550308, '01001000')",
        "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_IE, PES_CONTRIBUINTE, PES_CPFCNPJ, PES_ENDERECO, "
        "PES_BAIRRO, PES_CIDADE) values (1, 'Cliente', 'SP', '110042490114', 'S', '11444777000161', 'AV B', 'SE', "
        "'SAO PAULO')",
        "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('5102', 'Venda', 'S')",
        "insert into SERIE (CODSERIE, SER_DESCRICAO, SER_TIPO) values ('1', 'NF-e', 'NF-e')",
    };
    for (const char* r : registros)
        db.executeSQL(QString::fromUtf8(r));
    Transaction tx(db);
    for (int p = 1; p <= 50; ++p)
        db.executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, "
                                     "PRO_ALIQ_ICMS, PRO_CST, PRO_NCM) values (%1, '%2', 'PRODUTO %1', %1.35, 18, "
                                     "'000', '73181500')")
                          .arg(p)
                          .arg(1000 + p));
    tx.commit();
}

// A new invoice for customer 1 in series 1, and `itens` items typed in as a
// user would (search code and quantity), cycling over the 50 products.
inline void novaNotaComItens(TdmNFVenda& dm, int itens) {
    dm.novaNFVenda();
    dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODSERIE"), QStringLiteral("1"));
    dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODPESSOA"), QStringLiteral("1"));
    dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODCFOP"), QStringLiteral("5102"));
    for (int i = 0; i < itens; ++i) {
        dm.novoItem();
        dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("CODPESQUISA"), QString::number(1001 + i % 50));
        dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("NFVI_QTDE_UND"), QString::number(i % 7 + 1));
        dm.gravarItem();
    }
}

} // namespace kvo::bench
