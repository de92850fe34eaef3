#include "core/Paths.h"
#include "registers/DContas.h"
#include "registers/DNFe.h"
#include "registers/DPessoa.h"
#include "registers/DProduto.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }

class Registers : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral(
            "insert into PESSOA (CODPESSOA, PES_TIPO, PES_NOME, PES_RAZAO_SOCIAL, PES_CPFCNPJ, PES_IE, PES_CONTRIBUINTE, "
            "PES_CONTATOS, PES_ENDERECO, PES_BAIRRO, PES_CIDADE, PES_UF, PES_CEP, PES_TELEFONE, PES_NOME_2, PES_EMAIL, "
            "PES_EMAIL_NFE) values (10, 'J', 'Mercado Bom Preço', 'BOM PRECO LTDA', '22.333.444/0001-55', '111222333444', 'S', "
            "'Rita', 'Av. Brasil 10', 'Centro', 'Campinas', 'SP', '13010-000', '(19) 3232-1000', 'Bom Preço', "
            "'compras@bompreco.com.br', 'nfe@bompreco.com.br')"));
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_IE, PES_CONTRIBUINTE) values (11, 'Ana', 'ISENTO', 'S')"));
        t->executeSQL(QStringLiteral("insert into MARCA values (1, 'ACME')"));
        t->executeSQL(QStringLiteral(
            "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_ESTQ_ATUAL, PRO_ESTQ_RESERVADO, "
            "PRO_ALIQ_ICMS, PRO_NCM, PRO_CSOSN, PRO_CEST, PRO_PRECO_CUSTO, PRO_PRECO_COMPRA, CODMARCA, PRO_REG_ICMS, PRO_TIPOLISTA, "
            "PRO_ICMS_ORIGEM) values (1, '789100', 'REFRIGERANTE LATA', 6.5, 7, 2, 18, '2202.10.00', '102', '0300700', 2.1, 2, 1, "
            "'T', 'P', '0')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_ICMS_ORIGEM, PRO_NCM) "
                                     "values (2, '200', 'VINHO IMPORTADO', '1', '22042100')"));
        t->executeSQL(QStringLiteral("insert into NCM_ALIQUOTA values ('22021000', 'Águas', 27.5, 33.1)"));
        t->executeSQL(QStringLiteral("insert into NCM_ALIQUOTA values ('22042100', 'Vinhos', 30.0, 41.25)"));
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
};

// A record with the fields an invoice copies the searches into.
std::unique_ptr<RecordSet> campos(const QStringList& names) {
    auto ptr = std::make_unique<RecordSet>();
    RecordSet& rs = *ptr;
    for (const QString& n : names)
        rs.addField(n, n.startsWith(QStringLiteral("NFVI_VLR")) || n == QLatin1String("PRO_PRECO01") ? FieldType::Currency
                                                                                                     : FieldType::String,
                    150);
    rs.open();
    rs.append();
    return ptr;
}

QList<Field*> lista(RecordSet& rs) {
    QList<Field*> out;
    for (int i = 0; i < rs.fieldCount(); ++i)
        out << &rs.field(i);
    return out;
}

} // namespace

TEST_F(Registers, PersonSearchCopiesTheColumnsInTheInvoicesOrder) {
    TdmPessoa pessoas(t.db());
    const QStringList nomes = {QStringLiteral("PES_NOME"), QStringLiteral("PES_CPFCNPJ"), QStringLiteral("PES_CONTATOS"),
                               QStringLiteral("PES_RAZAO_SOCIAL"), QStringLiteral("PES_ENDERECO"), QStringLiteral("PES_BAIRRO"),
                               QStringLiteral("PES_CIDADE"), QStringLiteral("PES_UF"), QStringLiteral("PES_CEP"),
                               QStringLiteral("PES_TELEFONE"), QStringLiteral("PES_IE"), QStringLiteral("PES_NOME_2"),
                               QStringLiteral("PES_EMAIL"), QStringLiteral("PES_EMAIL_NFE")};
    auto notaPtr = campos(nomes);
    RecordSet& nota = *notaPtr;
    ASSERT_TRUE(pessoas.pesquisa().Localizar(10));
    pessoas.pesquisa().Complementar(lista(nota), int(nomes.size()) - 1);
    EXPECT_EQ(nota.field(QStringLiteral("PES_NOME")).asString(), u"Mercado Bom Preço");
    EXPECT_EQ(nota.field(QStringLiteral("PES_UF")).asString(), u"SP");
    EXPECT_EQ(nota.field(QStringLiteral("PES_IE")).asString(), u"111222333444");
    EXPECT_EQ(nota.field(QStringLiteral("PES_EMAIL_NFE")).asString(), u"nfe@bompreco.com.br");

    auto transportePtr = campos({QStringLiteral("TRA_RAZAO_SOCIAL"), QStringLiteral("TRA_NOME"), QStringLiteral("TRA_CPFCNPJ")});
    RecordSet& transporte = *transportePtr;
    ASSERT_TRUE(pessoas.pesquisaTransportadora().Localizar(10));
    pessoas.pesquisaTransportadora().Complementar(lista(transporte));
    EXPECT_EQ(transporte.field(QStringLiteral("TRA_RAZAO_SOCIAL")).asString(), u"BOM PRECO LTDA");
    EXPECT_EQ(transporte.field(QStringLiteral("TRA_CPFCNPJ")).asString(), u"22.333.444/0001-55");

    EXPECT_TRUE(pessoas.PessoaContribuinte(10));
    EXPECT_FALSE(pessoas.PessoaContribuinte(11)); // exempt
    EXPECT_FALSE(pessoas.PessoaContribuinte(99));
    EXPECT_EQ(pessoas.abrir(10).field(QStringLiteral("PES_TIPO")).asString(), u"J");
}

TEST_F(Registers, ProductSearchesReturnTheirColumnsInOrder) {
    TdmProduto produtos(t.db());
    auto itemPtr = campos({QStringLiteral("PRO_DESCRICAO"), QStringLiteral("CODPRODUTO"), QStringLiteral("NFVI_VLR_UNITARIO")});
    RecordSet& item = *itemPtr;
    ASSERT_TRUE(produtos.pesquisa().Localizar(QStringLiteral("789100")));
    produtos.pesquisa().Complementar(lista(item), 2);
    EXPECT_EQ(item.field(QStringLiteral("PRO_DESCRICAO")).asString(), u"REFRIGERANTE LATA");
    EXPECT_EQ(item.field(QStringLiteral("CODPRODUTO")).asString(), u"1");
    EXPECT_EQ(item.field(QStringLiteral("NFVI_VLR_UNITARIO")).asCurrency(), c("6.5"));

    ASSERT_TRUE(produtos.pesquisaDetalhe().Localizar(QStringLiteral("789100")));
    RecordSet& d = *produtos.pesquisaDetalhe().encontrado();
    EXPECT_GE(d.fieldCount(), 12);
    EXPECT_EQ(d.field(0).asCurrency(), c("18"));
    EXPECT_EQ(d.field(1).asString(), u"ACME");
    EXPECT_EQ(d.field(4).asCurrency(), c("6.5"));
    EXPECT_EQ(d.field(7).asCurrency(), c("7"));
    EXPECT_EQ(d.field(10).asString(), u"102");
    EXPECT_EQ(d.field(11).asString(), u"0300700");

    ASSERT_TRUE(produtos.pesquisaCodigo().Localizar(1));
    EXPECT_EQ(produtos.pesquisaCodigo().encontrado()->field(0).asString(), u"789100");
    EXPECT_FALSE(produtos.pesquisa().Localizar(QStringLiteral("nao existe")));
    EXPECT_EQ(ui.lastMessage(), u"Produto não encontrado!");
}

TEST_F(Registers, StockIsCheckedAndMovedByOneStatement) {
    TdmProduto produtos(t.db());
    t->executeSQL(QStringLiteral("insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_CONTROLA_ESTOQUE) values (1, 'Loja', 'S')"));
    t->executeSQL(QStringLiteral("update PRODUTO set PRO_NPERM_SEMESTOQ = 'S' where CODPRODUTO = 1"));
    // 7 in stock, 2 reserved: 5 free.
    EXPECT_TRUE(produtos.validaEstoque(1, c("5")));
    EXPECT_FALSE(produtos.validaEstoque(1, c("6")));
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Estoque insuficiente para o produto REFRIGERANTE LATA")));
    EXPECT_TRUE(produtos.validaEstoque(1, c("600"), false)); // not controlled by the caller
    ui.clear();
    EXPECT_TRUE(produtos.validaEstoque(2, c("3"))); // none in stock, but it may be sold without
    t->executeSQL(QStringLiteral("update PAR_GERAL set PARG_CONTROLA_ESTOQUE = 'N'"));
    EXPECT_TRUE(produtos.validaEstoque(1, c("600"))); // the company does not control stock
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_FALSE(produtos.validaEstoque(99, c("1")));
    EXPECT_EQ(ui.lastMessage(), u"Produto não encontrado!");
    t->executeSQL(QStringLiteral("update PAR_GERAL set PARG_CONTROLA_ESTOQUE = 'S'"));

    const QString saida = produtos.sqlMovimentarEstoqueNormal(1, c("2.5"), 2, QStringLiteral("ResPedido"), 77);
    t->executeSQL(saida);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), c("4.5"));
    t->executeSQL(produtos.sqlMovimentarEstoqueNormal(1, c("10"), 1, QStringLiteral("NF'Compra"), 5));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), c("14.5"));
    t->executeSQL(produtos.sqlMovimentarEstoqueNormal(1, c("-1"), 2, QStringLiteral("Estorno"), 5)); // a negative exit enters
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), c("15.5"));
    EXPECT_EQ(t->scalar(QStringLiteral("select ESTM_ORIGEM from ESTOQUE_MOVIMENTO where ESTM_QTDE = 10")).toString(),
              u"NF'Compra");
    EXPECT_TRUE(produtos.sqlMovimentarEstoqueNormal(1, Currency(), 2, QStringLiteral("x"), 1).isEmpty());
    EXPECT_TRUE(produtos.sqlMovimentarEstoqueNormal(1, c("1"), 3, QStringLiteral("x"), 1).isEmpty());
}

TEST_F(Registers, UnitsWithConversionsAndNcmRates) {
    t->executeSQL(QStringLiteral("insert into PRODUTO_UNIDADE values (1, 1, 'UN', 'Unidade', 1, 'S')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_UNIDADE values (2, 1, 'CX12', 'Caixa com 12', 12, 'N')"));
    auto units = t->query(QStringLiteral("select PROU_SIGLA, QTDE from STP_CONS_PRODUTO_UNIDADE(1)"));
    ASSERT_EQ(units->recordCount(), 2);
    EXPECT_EQ(units->field(0).asString(), u"UN");
    units->next();
    EXPECT_EQ(units->field(0).asString(), u"CX12");
    EXPECT_EQ(units->field(1).asCurrency(), c("12"));
    auto sem = t->query(QStringLiteral("select PROU_SIGLA, QTDE from STP_CONS_PRODUTO_UNIDADE(2)"));
    ASSERT_EQ(sem->recordCount(), 1); // no units of its own: sold by the unit
    EXPECT_EQ(sem->field(0).asString(), u"UN");

    TdmProduto produtos(t.db());
    EXPECT_EQ(produtos.retornarAliqNCM(1), c("27.5"));  // national goods
    EXPECT_EQ(produtos.retornarAliqNCM(2), c("41.25")); // imported
    EXPECT_EQ(produtos.retornarAliqNCM(99), Currency());
}

TEST(Instalments, AddUpToTheTotalExactly) {
    CondicaoPagamento trinta60{3, 30, 30};
    const auto p = TdmFormaDePagamento::gerarParcelas(c("100.00"), QDate(2026, 12, 6), trinta60);
    ASSERT_EQ(p.size(), 3);
    EXPECT_EQ(p[0].valor, c("33.33"));
    EXPECT_EQ(p[2].valor, c("33.34"));
    EXPECT_EQ(p[0].vencimento, QDate(2027, 1, 5));
    EXPECT_EQ(p[2].vencimento, QDate(2027, 3, 6));
    const auto avista = TdmFormaDePagamento::gerarParcelas(c("57.35"), QDate(2026, 12, 6), CondicaoPagamento{});
    ASSERT_EQ(avista.size(), 1);
    EXPECT_EQ(avista[0].valor, c("57.35"));
    EXPECT_EQ(avista[0].vencimento, QDate(2026, 12, 6));
    const auto sete = TdmFormaDePagamento::gerarParcelas(c("0.05"), QDate(2026, 12, 6), CondicaoPagamento{7, 0, 7});
    Currency soma;
    for (const auto& x : sete)
        soma += x.valor;
    EXPECT_EQ(soma, c("0.05"));
}

TEST_F(Registers, ReceivablesAreWrittenForTheDocument) {
    t->executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (4, 'Boleto', '15')"));
    t->executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA, "
                                 "FPG_INTERVALO, CODMOEDA) values (3, '30/60/90', 3, 30, 30, 4)"));
    TdmFormaDePagamento formas(t.db());
    TdmContas contas(t.db());
    EXPECT_EQ(formas.condicao(99).parcelas, 1); // unknown: cash
    const auto parcelas = TdmFormaDePagamento::gerarParcelas(c("100"), QDate(2026, 12, 6), formas.condicao(3));
    DocumentoContas doc{QStringLiteral("NFVENDA"), 55, QStringLiteral("000055"), 10, 3, QDate(2026, 12, 6), QStringLiteral("1"), u'R', 0};
    contas.gravarParcelas(doc, c("100"), parcelas);
    EXPECT_EQ(contas.quantidadeParcelas(QStringLiteral("NFVENDA"), 55, QStringLiteral("1")), 3);
    // What the invoice and its NF-e read: the rows of its number and series, with the payment means.
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select sum(c.CON_VLRPARCELA) from CONTAS c join MOEDA m on "
                                                       "m.CODMOEDA = c.CODMOEDA where c.CODNFVENDA = 55 and "
                                                       "c.CODSERIE = '1' and m.MOE_NFE_PAG = '15'")),
              c("100"));
    EXPECT_EQ(t->scalar(QStringLiteral("select max(CON_PARCELA) from CONTAS where CODNFVENDA = 55")).toString(), u"3");

    auto errado = parcelas;
    errado[0].valor = c("33.32");
    EXPECT_THROW(contas.gravarParcelas(doc, c("100"), errado), DatabaseError);
    EXPECT_EQ(contas.quantidadeParcelas(QStringLiteral("NFVENDA"), 55, QStringLiteral("1")), 3); // the earlier ones stay

    contas.gravarParcelas(doc, c("100"), TdmFormaDePagamento::gerarParcelas(c("100"), QDate(2026, 12, 6), {}));
    EXPECT_EQ(contas.quantidadeParcelas(QStringLiteral("NFVENDA"), 55, QStringLiteral("1")), 1); // replaced
    t->executeSQL(QStringLiteral("update CONTAS set CON_SALDO = 40, CON_VLRPAGO = 60 where CODNFVENDA = 55"));
    EXPECT_THROW(contas.gravarParcelas(doc, c("100"), parcelas), DatabaseError); // partly received
}

TEST_F(Registers, GeneratingInstalmentsTouchesOnlyTheDocumentsOwnLiveRows) {
    TdmContas contas(t.db());
    const auto tres = TdmFormaDePagamento::gerarParcelas(c("90"), QDate(2026, 12, 6), CondicaoPagamento{3, 30, 30});
    const auto uma = TdmFormaDePagamento::gerarParcelas(c("90"), QDate(2026, 12, 6), {});
    DocumentoContas serie1{QStringLiteral("NFVENDA"), 7, QStringLiteral("7"), 10, 0, QDate(2026, 12, 6), QStringLiteral("1"), u'R', 0};
    DocumentoContas serieF = serie1;
    serieF.serie = QStringLiteral("F");
    contas.gravarParcelas(serie1, c("90"), tres);
    contas.gravarParcelas(serieF, c("90"), tres);
    // An earlier billing of invoice 7/1 that was written off stays as a record.
    t->executeSQL(QStringLiteral("update CONTAS set CON_STATUS = 'EXCLUÍDA' where CODNFVENDA = 7 and CODSERIE = '1' "
                                 "and CON_PARCELA = '3'"));

    contas.gravarParcelas(serie1, c("90"), uma);
    auto contar = [&](const char* onde) {
        return t->scalar(QStringLiteral("select count(*) from CONTAS where ") + QString::fromUtf8(onde)).toInt();
    };
    EXPECT_EQ(contar("CODNFVENDA = 7 and CODSERIE = 'F'"), 3) << "another series' invoice with the same number";
    EXPECT_EQ(contar("CODNFVENDA = 7 and CODSERIE = '1' and CON_STATUS = 'EXCLUÍDA'"), 1) << "a written-off row";
    EXPECT_EQ(contar("CODNFVENDA = 7 and CODSERIE = '1' and CON_STATUS = 'ABERTA'"), 1);
    EXPECT_EQ(contas.quantidadeParcelas(QStringLiteral("NFVENDA"), 7, QStringLiteral("F")), 3);

    // A difference billed for an invoice later leaves its receivables as they are.
    contas.gravarParcelas(serieF, c("15"), TdmFormaDePagamento::gerarParcelas(c("15"), QDate(2026, 12, 9), {}), false);
    EXPECT_EQ(contar("CODNFVENDA = 7 and CODSERIE = 'F' and CON_STATUS = 'ABERTA'"), 4);

    // Payables of a purchase are written the same way, by the purchase's code.
    DocumentoContas compra{QStringLiteral("NFCOMPRA"), 7, QStringLiteral("123"), 10, 0, QDate(2026, 12, 6), {}, u'P', 0};
    contas.gravarParcelas(compra, c("90"), uma);
    EXPECT_EQ(contar("CODNFCOMPRA = 7 and CON_TIPO = 'P'"), 1);
    EXPECT_EQ(contar("CODNFVENDA = 7"), 6); // the invoices' rows untouched
}

TEST_F(Registers, MunicipalityAndCountryCodes) {
    // The per-state files come from the setup script, as on a shop's machine.
    const QString pasta = QStringLiteral(KVO_MUNICIPIOS_DIR);
    QProcess script;
    script.start(QStringLiteral(KVO_SOURCE_DIR "/scripts/install-municipios"), {pasta + QStringLiteral("/MunIBGE")});
    ASSERT_TRUE(script.waitForFinished(120000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    setProgramFolder(pasta);
    TdmNFe nfe(t.db());
    EXPECT_EQ(nfe.obterCodigoMunicipio(QStringLiteral("SAO PAULO"), QStringLiteral("SP")), u"3550308");
    EXPECT_EQ(nfe.obterCodigoMunicipio(QStringLiteral("São Paulo"), QStringLiteral("sp")), u"3550308");
    EXPECT_EQ(nfe.obterCodigoMunicipio(QStringLiteral("alta floresta d'oeste"), QStringLiteral("RO")), u"1100015");
    EXPECT_THROW(nfe.obterCodigoMunicipio(QStringLiteral("São Paulo"), QStringLiteral("RJ")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Código do município não encontrado para São Paulo/RJ.");
    EXPECT_THROW(nfe.obterCodigoMunicipio(QStringLiteral("Campinas"), QStringLiteral("XX")), Abort);
    EXPECT_EQ(nfe.obterBacen(QStringLiteral("Brasil")), 1058);
    EXPECT_EQ(nfe.obterBacen(QStringLiteral("ESTADOS UNIDOS")), 2496);
    EXPECT_THROW(nfe.obterBacen(QStringLiteral("Atlântida")), Abort);
    setProgramFolder(QString());
}

TEST_F(Registers, AMissingMunicipalityFileIsNamedNotTakenForAnUnknownCity) {
    const QString pasta = test::scratchFolder() + QStringLiteral("/sem-municipios");
    QDir().mkpath(pasta);
    setProgramFolder(pasta);
    TdmNFe nfe(t.db());
    const QString arquivo = pasta + QStringLiteral("/MunIBGE/MunIBGE-UF35.txt");
    EXPECT_THROW(nfe.obterCodigoMunicipio(QStringLiteral("São Paulo"), QStringLiteral("SP")), Abort);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Arquivo de municípios não encontrado: ") + arquivo);
    // Installed afterwards: the next look-up finds it.
    QDir().mkpath(pasta + QStringLiteral("/MunIBGE"));
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("3550308;São Paulo\n");
    f.close();
    EXPECT_EQ(nfe.obterCodigoMunicipio(QStringLiteral("Sao Paulo"), QStringLiteral("SP")), u"3550308");
    setProgramFolder(QString());
}

TEST_F(Registers, NfeSettingsComeFromTheProgramFolder) {
    const QString pasta = test::scratchFolder() + QStringLiteral("/nfe-sem-config");
    QDir().mkpath(pasta);
    setProgramFolder(pasta);
    TdmNFe nfe(t.db());
    EXPECT_THROW(nfe.configurarNFE(), Abort); // no nfe.ini: the operation stops with a clear message
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("Configuração da NF-e inválida"))) << ui.lastMessage().toStdString();
    setProgramFolder(QString());
}

TEST_F(Registers, CancellingASaleOrderReturnsItsStockOnce) {
    t->executeSQL(QStringLiteral("insert into PEDVENDA (CODPEDVENDA, CODPESSOA, PEDV_TIPO) values (40, 10, 'Delivery')"));
    t->executeSQL(QStringLiteral("insert into PEDVENDA_ITEM (CODPEDVENDAITEM, CODPEDVENDA, CODPRODUTO, PEDI_QTDE) values (1, 40, 1, 3)"));
    TdmPessoa pessoas(t.db());
    pessoas.cancelarPedido(40, QStringLiteral("Delivery"), QDateTime(QDate(2026, 12, 6), QTime(20, 0)), QStringLiteral("S"));
    EXPECT_EQ(t->scalar(QStringLiteral("select PEDV_STATUS from PEDVENDA where CODPEDVENDA = 40")).toString(), u"Cancelado");
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), c("10"));
    EXPECT_THROW(pessoas.cancelarPedido(40, QStringLiteral("Delivery"), {}, QStringLiteral("S")), Abort);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), c("10"));

    t->executeSQL(QStringLiteral("insert into PEDVENDA (CODPEDVENDA, PEDV_TIPO) values (41, 'Delivery')"));
    t->executeSQL(QStringLiteral("insert into PEDECF (CODPEDECF, CODPEDVENDA) values (1, 41)"));
    EXPECT_THROW(pessoas.cancelarPedido(41, QStringLiteral("Delivery"), {}, QStringLiteral("N")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"O pedido 41 já foi importado para o cupom fiscal e não pode ser cancelado.");
}
