#include "framework/ui/ScreenRegistry.h"
#include "registers/ui/CadastroComum.h"
#include "registers/ui/TelasCadastros.h"
#include "registers/ui/UCfop.h"
#include "registers/ui/UFormaPagamento.h"
#include "registers/ui/USerie.h"
#include "registers/ui/UVendedor.h"
#include "TelaTeste.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace kvo;
using test::digitar;
using test::escolher;
using test::filho;

using CadastrosScreen = test::TelaCadastroTeste;

TEST_F(CadastrosScreen, CfopHasFourDigitsMatchingItsTypeAndIsRegisteredOnce) {
    t->executeSQL(QStringLiteral("insert into CFOP values ('5102', 'Venda de mercadoria', 'Venda', 'S', 'S')"));
    auto rs = cadastro::abrirRegistro(t.db(), QStringLiteral("CFOP"), QStringLiteral("CODCFOP"), QVariant(), true);
    rs->field(QStringLiteral("CFOP_TIPO")).setValue(QStringLiteral("S"));
    rs->field(QStringLiteral("CFOP_GERAFINANCEIRO")).setValue(QStringLiteral("S"));
    TfrmCfop tela(*rs);
    digitar(&tela, "edtCODCFOP", QStringLiteral("510"));
    digitar(&tela, "edtCFOP_DESCRICAO", QStringLiteral("Compra para comercialização"));
    EXPECT_EQ(clicarOk(&tela), u"O CFOP deve ter 4 dígitos.");
    digitar(&tela, "edtCODCFOP", QStringLiteral("1.102"));
    EXPECT_EQ(filho<QLineEdit>(&tela, "edtCODCFOP")->text(), u"1102");
    EXPECT_EQ(clicarOk(&tela), u"Um CFOP de saída começa por 5, 6 ou 7.");
    escolher(&tela, "cbxCFOP_TIPO", QStringLiteral("Entrada"));
    digitar(&tela, "edtCODCFOP", QStringLiteral("5102"));
    EXPECT_EQ(clicarOk(&tela), u"Um CFOP de entrada começa por 1, 2 ou 3.");
    escolher(&tela, "cbxCFOP_TIPO", QStringLiteral("Saída"));
    EXPECT_EQ(clicarOk(&tela), u"O CFOP 5102 já está cadastrado.");
    digitar(&tela, "edtCODCFOP", QStringLiteral("6102"));
    filho<QCheckBox>(&tela, "chkCFOP_GERAFINANCEIRO")->setChecked(false);
    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(t->scalar(QStringLiteral("select CFOP_GERAFINANCEIRO from CFOP where CODCFOP = '6102'")).toString(), u"N");

    auto existente = cadastro::abrirRegistro(t.db(), QStringLiteral("CFOP"), QStringLiteral("CODCFOP"), QStringLiteral("5102"), false);
    TfrmCfop edicao(*existente);
    EXPECT_TRUE(filho<QLineEdit>(&edicao, "edtCODCFOP")->isReadOnly()); // the key of documents already issued
    EXPECT_EQ(clicarOk(&edicao), QString());
}

TEST_F(CadastrosScreen, SeriesTypeNFeNumberAndSequence) {
    TfrmSerie_Pesq pesq;
    test::QuandoAbrir nova(QStringLiteral("frmSerie"), [this](QWidget* tela) {
        digitar(tela, "edtCODSERIE", QStringLiteral("1"));
        EXPECT_EQ(clicarOk(tela), u"Informe a série da NF-e: um número de 0 a 999.");
        digitar(tela, "edtSER_SERIE_NFE", QStringLiteral("x1"));
        EXPECT_EQ(clicarOk(tela), u"Informe a série da NF-e: um número de 0 a 999.");
        digitar(tela, "edtSER_SERIE_NFE", QStringLiteral("1"));
        digitar(tela, "edtSER_SEQ", QStringLiteral("-5"));
        EXPECT_EQ(clicarOk(tela), u"O último número usado não pode ser negativo.");
        digitar(tela, "edtSER_SEQ", QStringLiteral("120"));
        EXPECT_EQ(clicarOk(tela), QString());
    });
    filho<QPushButton>(&pesq, "btnIncluir")->click();
    ASSERT_TRUE(nova.abriu());
    EXPECT_EQ(t->scalar(QStringLiteral("select SER_TIPO || '/' || SER_SEQ || '/' || SER_SERIE_NFE || '/' || SER_ATIVO "
                                       "from SERIE where CODSERIE = '1'"))
                  .toString(),
              u"NF-e/120/1/S");
    EXPECT_EQ(pesq.registros().recordCount(), 0); // nothing typed in the search yet

    // The sequence may only move on, or invoices would repeat numbers.
    filho<QCheckBox>(&pesq, "chkListarTodos")->setChecked(true);
    test::QuandoAbrir alterar(QStringLiteral("frmSerie"), [this](QWidget* tela) {
        EXPECT_TRUE(filho<QLineEdit>(tela, "edtCODSERIE")->isReadOnly());
        digitar(tela, "edtSER_SEQ", QStringLiteral("119"));
        EXPECT_EQ(clicarOk(tela), u"O último número usado não pode diminuir: números já emitidos se repetiriam.");
        escolher(tela, "cbxSER_TIPO", QStringLiteral("Formulário"));
        digitar(tela, "edtSER_SERIE_NFE", QString());
        digitar(tela, "edtSER_SEQ", QStringLiteral("130"));
        EXPECT_EQ(clicarOk(tela), QString()); // a printed form needs no NF-e series
    });
    filho<QPushButton>(&pesq, "btnAlterar")->click();
    ASSERT_TRUE(alterar.abriu());
    EXPECT_EQ(t->scalar(QStringLiteral("select SER_TIPO from SERIE where CODSERIE = '1'")).toString(), u"Formulário");
    EXPECT_EQ(t->scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '1'")).toInt(), 130);
}

TEST_F(CadastrosScreen, PaymentMethodNeedsAtLeastOneInstalmentAndAUniqueDescription) {
    t->executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (1, 'Dinheiro', '01')"));
    t->executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (3, 'Cartão de crédito', '03')"));
    t->executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO) values (100, 'À vista')"));
    auto rs = cadastro::abrirRegistro(t.db(), QStringLiteral("FORMAPAGAMENTO"), QStringLiteral("CODFORMAPAGAMENTO"), QVariant(), true);
    TfrmFormaPagamento tela(*rs);
    digitar(&tela, "edtFPG_DESCRICAO", QStringLiteral("À vista"));
    digitar(&tela, "edtFPG_PARCELAS", QStringLiteral("0"));
    EXPECT_EQ(clicarOk(&tela), u"A forma de pagamento deve ter pelo menos 1 parcela.");
    digitar(&tela, "edtFPG_PARCELAS", QStringLiteral("3"));
    digitar(&tela, "edtFPG_DIAS_PRIMEIRA", QStringLiteral("30"));
    digitar(&tela, "edtFPG_INTERVALO", QStringLiteral("0"));
    EXPECT_EQ(clicarOk(&tela), u"Informe quantos dias há entre as parcelas.");
    digitar(&tela, "edtFPG_INTERVALO", QStringLiteral("30"));
    EXPECT_EQ(clicarOk(&tela), u"Já existe uma forma de pagamento chamada À vista.");
    digitar(&tela, "edtFPG_DESCRICAO", QStringLiteral("Cartão 30/60/90"));
    escolher(&tela, "cbxCODMOEDA", QStringLiteral("Cartão de crédito"));
    EXPECT_EQ(clicarOk(&tela), QString());
    auto salvo = t->query(QStringLiteral("select FPG_PARCELAS, FPG_DIAS_PRIMEIRA, FPG_INTERVALO, CODMOEDA from FORMAPAGAMENTO "
                                         "where FPG_DESCRICAO = 'Cartão 30/60/90'"));
    ASSERT_EQ(salvo->recordCount(), 1);
    EXPECT_EQ(salvo->field(0).asInteger(), 3);
    EXPECT_EQ(salvo->field(1).asInteger(), 30);
    EXPECT_EQ(salvo->field(2).asInteger(), 30);
    EXPECT_EQ(salvo->field(3).asInteger(), 3);
}

TEST_F(CadastrosScreen, SellerCommissionIsAPercentageAndAnUnusedSellerIsDeleted) {
    auto rs = cadastro::abrirRegistro(t.db(), QStringLiteral("VENDEDOR"), QStringLiteral("CODVENDEDOR"), QVariant(), true);
    TfrmVendedor tela(*rs);
    EXPECT_EQ(clicarOk(&tela), u"Informe o nome do vendedor.");
    digitar(&tela, "edtVEN_NOME", QStringLiteral("Carlos"));
    digitar(&tela, "edtVEN_COMISSAO", QStringLiteral("101"));
    EXPECT_EQ(ui.lastMessage(), u"A comissão deve estar entre 0 e 100%.");
    digitar(&tela, "edtVEN_COMISSAO", QStringLiteral("2,5"));
    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select VEN_COMISSAO from VENDEDOR where VEN_NOME = 'Carlos'")),
              Currency::fromString(u"2.5"));

    TfrmVendedor_Pesq pesq;
    pesq.edtPesquisa()->setText(QStringLiteral("car"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    ui.answerNo();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from VENDEDOR")).toInt(), 1);
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from VENDEDOR")).toInt(), 0);
    EXPECT_EQ(pesq.registros().recordCount(), 0);
}

TEST_F(CadastrosScreen, MenuNamesOpenTheSearchScreensOnce) {
    registrarTelasCadastros();
    const char* nomes[][2] = {{"TfrmPessoa", "frmPessoa_Pesq"},       {"TfrmProduto", "frmProduto_Pesq"},
                              {"TfrmCfop_Pesq", "frmCfop_Pesq"},       {"TfrmSerie_Pesq", "frmSerie_Pesq"},
                              {"TfrmFormaPagamento_Pesq", "frmFormaPagamento_Pesq"},
                              {"TfrmVendedor_Pesq", "frmVendedor_Pesq"}};
    for (const auto& [menu, tela] : nomes) {
        ASSERT_TRUE(ScreenRegistry::abrir(QString::fromLatin1(menu))) << menu;
        QWidget* aberta = nullptr;
        int quantas = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(tela) && w->isVisible()) {
                aberta = w;
                ++quantas;
            }
        ASSERT_NE(aberta, nullptr) << menu;
        ASSERT_TRUE(ScreenRegistry::abrir(QString::fromLatin1(menu)));
        int depois = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            depois += w->objectName() == QLatin1String(tela) ? 1 : 0;
        EXPECT_EQ(quantas, 1) << menu;
        EXPECT_EQ(depois, 1) << menu; // the same screen is shown again, not a second one
    }
    for (const auto& [menu, tela] : nomes)
        ScreenRegistry::remover(QString::fromLatin1(menu));
}
