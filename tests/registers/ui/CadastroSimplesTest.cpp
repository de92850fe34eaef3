#include "registers/ui/CadastrosSimples.h"
#include "TelaTeste.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kvo;
using test::digitar;
using test::escolher;
using test::filho;

using CadastroSimplesScreen = test::TelaCadastroTeste;

TEST_F(CadastroSimplesScreen, ProductGroupChecksDescriptionColourAndOrder) {
    t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (1, 'Bebidas')"));
    t->executeSQL(QStringLiteral("alter sequence GEN_PRODUTO_GRUPO restart with 1"));
    TfrmCadastroSimples_Pesq pesq(cadastro::grupoProduto());
    EXPECT_EQ(pesq.objectName(), u"frmProdutoGrupo_Pesq");
    test::QuandoAbrir nova(QStringLiteral("frmProdutoGrupo"), [this](QWidget* tela) {
        EXPECT_EQ(filho<QLineEdit>(tela, "edtPROG_ORDEM")->text(), u"0");
        EXPECT_EQ(clicarOk(tela), u"Informe a descrição.");
        digitar(tela, "edtPROG_DESCRICAO", QStringLiteral("Bebidas"));
        EXPECT_EQ(clicarOk(tela), u"Já existe um grupo com a descrição Bebidas.");
        digitar(tela, "edtPROG_DESCRICAO", QStringLiteral("Pizzas"));
        digitar(tela, "edtPROG_COR", QStringLiteral("vermelho"));
        EXPECT_EQ(ui.lastMessage(), u"Cor inválida: use o formato #RRGGBB.");
        digitar(tela, "edtPROG_COR", QStringLiteral("#c0392b"));
        EXPECT_TRUE(filho<QToolButton>(tela, "btnCorPROG_COR")->styleSheet().contains(QStringLiteral("#c0392b")));
        digitar(tela, "edtPROG_ORDEM", QStringLiteral("-1"));
        EXPECT_EQ(ui.lastMessage(), u"Ordem no toque não pode ser negativo.");
        digitar(tela, "edtPROG_ORDEM", QStringLiteral("2"));
        filho<QCheckBox>(tela, "chkPROG_DESATIVAR_TOUCH")->setChecked(true);
        EXPECT_EQ(clicarOk(tela), QString());
    });
    filho<QPushButton>(&pesq, "btnIncluir")->click();
    ASSERT_TRUE(nova.abriu());
    // The key came from the generator, which lagged behind the row typed in by hand.
    EXPECT_EQ(t->scalar(QStringLiteral("select PROG_COR || '/' || PROG_ORDEM || '/' || PROG_DESATIVAR_TOUCH "
                                       "from PRODUTO_GRUPO where PROG_DESCRICAO = 'Pizzas'"))
                  .toString(),
              u"#C0392B/2/S");
}

TEST_F(CadastroSimplesScreen, SubgroupBelongsToAGroupAndNamesMayRepeatAcrossGroups) {
    t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (1, 'Bebidas')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (2, 'Pizzas')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO_SUBGRP (CODPRODUTOGRUPOSUBGRP, CODPRODUTOGRUPO, PROGS_DESCRICAO) "
                                 "values (1, 1, 'Doces')"));
    t->executeSQL(QStringLiteral("alter sequence GEN_PRODUTO_GRUPO_SUBGRP restart with 1"));
    TfrmCadastroSimples_Pesq pesq(cadastro::subgrupoProduto());
    test::QuandoAbrir nova(QStringLiteral("frmProdutoSubgrupo"), [this](QWidget* tela) {
        digitar(tela, "edtPROGS_DESCRICAO", QStringLiteral("Doces"));
        EXPECT_EQ(clicarOk(tela), u"Informe o grupo do subgrupo.");
        escolher(tela, "cbxCODPRODUTOGRUPO", QStringLiteral("Pizzas"));
        EXPECT_EQ(clicarOk(tela), QString());
    });
    filho<QPushButton>(&pesq, "btnIncluir")->click();
    ASSERT_TRUE(nova.abriu());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO_GRUPO_SUBGRP where PROGS_DESCRICAO = 'Doces' "
                                       "and CODPRODUTOGRUPO = 2"))
                  .toInt(),
              1);
    // The search shows the group's name and finds by it.
    pesq.edtPesquisa()->setText(QStringLiteral("Pizz"));
    filho<QComboBox>(&pesq, "cbxTipoPesquisa")->setCurrentIndex(1);
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    EXPECT_EQ(pesq.registros().field(QStringLiteral("PROG_DESCRICAO")).asString(), u"Pizzas");
}

TEST_F(CadastroSimplesScreen, ARowInUseIsNotDeleted) {
    t->executeSQL(QStringLiteral("insert into MARCA (CODMARCA, MAR_DESCRICAO) values (1, 'Da Casa')"));
    t->executeSQL(QStringLiteral("insert into MARCA (CODMARCA, MAR_DESCRICAO) values (2, 'Sem uso')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, CODMARCA) "
                                 "values (1, 'PAO', 'Pão da casa', 1)"));
    TfrmCadastroSimples_Pesq pesq(cadastro::marca());
    pesq.edtPesquisa()->setText(QStringLiteral("Da Casa"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(ui.lastMessage(), u"Este registro está em uso e não pode ser excluído.");
    pesq.edtPesquisa()->setText(QStringLiteral("Sem uso"));
    pesq.CarregaDadosCadastro();
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select list(MAR_DESCRICAO) from MARCA")).toString(), u"Da Casa");
}

TEST_F(CadastroSimplesScreen, CurrencyTypeCarriesItsNFePaymentCode) {
    TfrmCadastroSimples_Pesq pesq(cadastro::moeda());
    test::QuandoAbrir nova(QStringLiteral("frmMoeda"), [this](QWidget* tela) {
        EXPECT_EQ(filho<QComboBox>(tela, "cbxMOE_NFE_PAG")->currentText(), u"01 - Dinheiro"); // a new one starts as cash
        digitar(tela, "edtMOE_DESCRICAO", QStringLiteral("PIX"));
        escolher(tela, "cbxMOE_NFE_PAG", QStringLiteral("17 - Pagamento Instantâneo (PIX)"));
        digitar(tela, "edtMOE_NFE_BAND", QStringLiteral("1"));
        EXPECT_EQ(ui.lastMessage(), u"A bandeira do cartão é o código de 2 dígitos da NF-e.");
        EXPECT_EQ(filho<QLineEdit>(tela, "edtMOE_NFE_BAND")->text(), QString()); // the refused value is not kept
        EXPECT_TRUE(tela->grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_moeda.png")));
        EXPECT_EQ(clicarOk(tela), QString());
    });
    filho<QPushButton>(&pesq, "btnIncluir")->click();
    ASSERT_TRUE(nova.abriu());
    EXPECT_EQ(t->scalar(QStringLiteral("select MOE_NFE_PAG || '/' || MOE_NFE_INTEGRADO from MOEDA where MOE_DESCRICAO = 'PIX'"))
                  .toString(),
              u"17/N");
}
