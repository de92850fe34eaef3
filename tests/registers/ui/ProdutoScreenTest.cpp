#include "registers/DProduto.h"
#include "registers/ui/UProduto.h"
#include "TelaTeste.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace kvo;
using test::digitar;
using test::escolher;
using test::filho;

namespace {
class ProdutoScreen : public test::TelaCadastroTeste {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (1, 'Bebidas')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO (CODPRODUTOGRUPO, PROG_DESCRICAO) values (2, 'Pizzas')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO_SUBGRP (CODPRODUTOGRUPOSUBGRP, CODPRODUTOGRUPO, PROGS_DESCRICAO) "
                                     "values (10, 1, 'Refrigerantes')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO_SUBGRP (CODPRODUTOGRUPOSUBGRP, CODPRODUTOGRUPO, PROGS_DESCRICAO) "
                                     "values (11, 1, 'Sucos')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_GRUPO_SUBGRP (CODPRODUTOGRUPOSUBGRP, CODPRODUTOGRUPO, PROGS_DESCRICAO) "
                                     "values (20, 2, 'Doces')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, CODPRODUTOGRUPO) "
                                     "values (100, 'COCA', 'Refrigerante cola lata', 6.5, 1)"));
        t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_QTDE_PROD_PRECO = '02'"));
    }
    QAbstractItemModel* modelo(QWidget* tela, const char* grade) { return filho<QTableView>(tela, grade)->model(); }
};
} // namespace

TEST_F(ProdutoScreen, NewProductIsCheckedAndWrittenWithItsPricesAndFlags) {
    auto rs = TfrmProduto::registroProduto(t.db(), 0);
    TfrmProduto tela(*rs);
    const qint64 codigo = rs->field(QStringLiteral("CODPRODUTO")).asInteger();
    EXPECT_EQ(clicarOk(&tela), u"Informe o código de pesquisa do produto.");
    digitar(&tela, "edtPRO_CODPESQ_1", QStringLiteral(" coca "));
    EXPECT_EQ(filho<QLineEdit>(&tela, "edtPRO_CODPESQ_1")->text(), u"COCA");
    EXPECT_EQ(clicarOk(&tela), u"Informe a descrição do produto.");
    digitar(&tela, "edtPRO_DESCRICAO", QStringLiteral("Pizza doce de banana"));
    EXPECT_EQ(clicarOk(&tela), u"Já existe um produto com o código de pesquisa COCA.");
    digitar(&tela, "edtPRO_CODPESQ_1", QStringLiteral("PZ-BAN"));

    // A negative price is refused as it is typed and the box goes back.
    digitar(&tela, "edtPRO_PRECO01", QStringLiteral("-1"));
    EXPECT_EQ(ui.lastMessage(), u"O preço não pode ser negativo.");
    EXPECT_EQ(rs->field(QStringLiteral("PRO_PRECO01")).asCurrency(), Currency());
    digitar(&tela, "edtPRO_PRECO01", QStringLiteral("42,90"));
    digitar(&tela, "edtPRO_PRECO02", QStringLiteral("39,90"));
    digitar(&tela, "edtPRO_DESC_MAX", QStringLiteral("150"));
    EXPECT_EQ(ui.lastMessage(), u"Informe um percentual entre 0 e 100.");

    digitar(&tela, "edtPRO_EAN13", QStringLiteral("7891000315508"));
    EXPECT_EQ(clicarOk(&tela), u"Código de barras inválido: confira os números (EAN-8 ou EAN-13).");
    digitar(&tela, "edtPRO_EAN13", QStringLiteral("7891000315507"));
    digitar(&tela, "edtPRO_NCM", QStringLiteral("1905.90"));
    EXPECT_EQ(clicarOk(&tela), u"O NCM deve ter 8 dígitos.");
    digitar(&tela, "edtPRO_NCM", QStringLiteral("19059090"));

    // Only the chosen group's subgroups are offered.
    auto* subgrupo = filho<QComboBox>(&tela, "cbxCODPRODUTOGRUPOSUBGRP");
    EXPECT_EQ(subgrupo->count(), 1); // no group yet: only the blank
    escolher(&tela, "cbxCODPRODUTOGRUPO", QStringLiteral("Pizzas"));
    ASSERT_EQ(subgrupo->count(), 2);
    EXPECT_EQ(subgrupo->itemText(1), u"Doces");
    escolher(&tela, "cbxCODPRODUTOGRUPOSUBGRP", QStringLiteral("Doces"));
    filho<QCheckBox>(&tela, "chkPRO_IMP_PIZZA")->setChecked(true);

    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    auto salvo = t->query(QStringLiteral("select * from PRODUTO where CODPRODUTO = :C"), {{QStringLiteral("C"), codigo}});
    ASSERT_EQ(salvo->recordCount(), 1);
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_CODPESQ_1")).asString(), u"PZ-BAN");
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_PRECO01")).asCurrency(), Currency::fromString(u"42.90"));
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_PRECO02")).asCurrency(), Currency::fromString(u"39.90"));
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_DESC_MAX")).asCurrency(), Currency());
    EXPECT_EQ(salvo->field(QStringLiteral("CODPRODUTOGRUPOSUBGRP")).asInteger(), 20);
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_IMP_PIZZA")).asString(), u"S");
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_IMP_BAR")).asString(), u"N");
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_ATIVO")).asString(), u"S");
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_ESTQ_ATUAL")).asCurrency(), Currency());
}

TEST_F(ProdutoScreen, EditingKeepsItsOwnCodeAndRefusesASubgroupOfAnotherGroup) {
    auto rs = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*rs);
    EXPECT_EQ(filho<QLineEdit>(&tela, "edtPRO_PRECO01")->text(), u"6,50");
    EXPECT_TRUE(filho<QLineEdit>(&tela, "edtPRO_ESTQ_ATUAL")->isReadOnly()); // stock moves by documents only
    escolher(&tela, "cbxCODPRODUTOGRUPOSUBGRP", QStringLiteral("Sucos"));
    // A subgroup written by hand (an old import) that belongs to another group.
    rs->field(QStringLiteral("CODPRODUTOGRUPOSUBGRP")).setValue(20);
    EXPECT_EQ(clicarOk(&tela), u"O subgrupo escolhido não pertence ao grupo do produto.");
    escolher(&tela, "cbxCODPRODUTOGRUPOSUBGRP", QStringLiteral("Sucos"));
    EXPECT_EQ(clicarOk(&tela), QString()); // its own search code is no duplicate
    EXPECT_EQ(t->scalar(QStringLiteral("select CODPRODUTOGRUPOSUBGRP from PRODUTO where CODPRODUTO = 100")).toInt(), 11);

    tela.resize(760, 560);
    filho<QTabWidget>(&tela, "pgcProduto")->setCurrentIndex(1);
    EXPECT_TRUE(tela.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_precos.png")));
}

TEST_F(ProdutoScreen, SearchShowsPricesAndAProductWithMovementsIsOnlyDeactivated) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (2, 'SUCO', 'Suco de laranja')"));
    t->executeSQL(QStringLiteral("insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE) "
                                 "values (1, 100, 1, 12)"));
    // The juice's own units and composition go with it.
    t->executeSQL(QStringLiteral("insert into PRODUTO_UNIDADE values (901, 2, 'UN', 'Unidade', 1, 'S')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (901, 2, 100, 1)"));
    TfrmProduto_Pesq pesq;
    filho<QCheckBox>(&pesq, "chkListarTodos")->setChecked(true);
    ASSERT_EQ(pesq.registros().recordCount(), 2);
    ASSERT_TRUE(pesq.registros().locate(QStringLiteral("CODPRODUTO"), 100));
    const int linha = pesq.registros().recNo() - 1;
    EXPECT_EQ(pesq.modelo().data(pesq.modelo().index(linha, 4), Qt::DisplayRole).toString(), u"6,50");
    EXPECT_EQ(pesq.modelo().data(pesq.modelo().index(linha, 3), Qt::DisplayRole).toString(), u"Bebidas");

    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_ATIVO from PRODUTO where CODPRODUTO = 100")).toString(), u"N");
    ASSERT_TRUE(pesq.registros().locate(QStringLiteral("CODPRODUTO"), 2));
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO")).toInt(), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO_UNIDADE where CODPRODUTO = 2")).toInt(), 0); // its own units went with it
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO_COMPOSICAO")).toInt(), 0);
    pesq.resize(820, 400);
    EXPECT_TRUE(pesq.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_pesquisa.png")));
}

TEST_F(ProdutoScreen, PricesShownAndFixedAsTheSaleParametersSay) {
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_QTDE_PROD_PRECO = '03', PARV_PREC_PROD_RO = 'S'"));
    TdmProduto::gerarInstance().visualizarPrecos();

    auto novo = TfrmProduto::registroProduto(t.db(), 0);
    TfrmProduto telaNovo(*novo);
    EXPECT_FALSE(filho<QLineEdit>(&telaNovo, "edtPRO_PRECO03")->isHidden());
    EXPECT_TRUE(filho<QLineEdit>(&telaNovo, "edtPRO_PRECO04")->isHidden());
    EXPECT_FALSE(filho<QLineEdit>(&telaNovo, "edtPRO_PRECO01")->isReadOnly()); // a new product takes its prices once

    auto existente = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*existente);
    EXPECT_TRUE(filho<QLineEdit>(&tela, "edtPRO_PRECO01")->isReadOnly());

    TfrmProduto_Pesq pesq;
    QStringList titulos;
    for (int c = 0; c < pesq.modelo().columnCount(); ++c)
        titulos << pesq.modelo().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_TRUE(titulos.contains(QStringLiteral("Preço 03"))) << titulos.join(u',').toStdString();
    EXPECT_FALSE(titulos.contains(QStringLiteral("Preço 04")));
}

TEST_F(ProdutoScreen, UnitsAndCompositionAreWrittenWithTheProduct) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (2, 'XAROPE', 'Xarope')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (3, 'COMBO', 'Combo')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (900, 3, 100, 1)")); // the combo holds the cola

    auto rs = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*rs);
    QAbstractItemModel* unidades = modelo(&tela, "dbgUnidades");
    filho<QPushButton>(&tela, "btnIncluirUnidade")->click();
    EXPECT_TRUE(unidades->setData(unidades->index(0, 0), QStringLiteral("un"), Qt::EditRole));
    filho<QPushButton>(&tela, "btnIncluirUnidade")->click();
    EXPECT_TRUE(unidades->setData(unidades->index(1, 0), QStringLiteral("FD6"), Qt::EditRole));
    EXPECT_TRUE(unidades->setData(unidades->index(1, 2), QStringLiteral("6"), Qt::EditRole));
    EXPECT_EQ(unidades->data(unidades->index(1, 3), Qt::DisplayRole).toString(), u"N"); // the first one is the main unit
    EXPECT_FALSE(unidades->setData(unidades->index(1, 3), QStringLiteral("talvez"), Qt::EditRole));
    EXPECT_EQ(ui.lastMessage(), u"Principal: informe S ou N.");

    ui.answerInput(QStringLiteral("xarope"));
    ui.answerInput(QStringLiteral("0,05"));
    filho<QPushButton>(&tela, "btnIncluirComponente")->click();
    ASSERT_EQ(tela.estrutura().composicao().recordCount(), 1) << ui.lastMessage().toStdString();
    ui.answerInput(QStringLiteral("COMBO"));
    ui.answerInput(QStringLiteral("1"));
    filho<QPushButton>(&tela, "btnIncluirComponente")->click();
    EXPECT_EQ(ui.lastMessage(), u"O componente Combo já contém este produto: a composição ficaria circular.");
    ui.answerInput(QStringLiteral("NADA"));
    filho<QPushButton>(&tela, "btnIncluirComponente")->click();
    EXPECT_EQ(ui.lastMessage(), u"Produto não encontrado!");
    EXPECT_EQ(tela.estrutura().composicao().recordCount(), 1); // the refused ones are not kept

    filho<QTabWidget>(&tela, "pgcProduto")->setCurrentWidget(filho<QWidget>(&tela, "tabUnidades"));
    tela.resize(760, 560);
    EXPECT_TRUE(tela.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_unidades.png")));
    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(t->scalar(QStringLiteral("select list(PROU_SIGLA || ':' || cast(PROU_QTDE as integer) || ':' || PROU_PRINCIPAL, ' ') "
                                       "from (select * from PRODUTO_UNIDADE where CODPRODUTO = 100 order by PROU_QTDE)"))
                  .toString(),
              u"UN:1:S FD6:6:N");
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PROC_QTDE from PRODUTO_COMPOSICAO where CODPRODUTO = 100 "
                                                       "and CODPRODUTOFILHO = 2")),
              Currency::fromString(u"0.05"));
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_COMPOSTO from PRODUTO where CODPRODUTO = 100")).toString(), u"S");

    // Cancelled, nothing of the screen is written.
    auto outra = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto cancelada(*outra);
    EXPECT_EQ(cancelada.estrutura().unidades().recordCount(), 2);
    filho<QPushButton>(&cancelada, "btnIncluirUnidade")->click();
    filho<QPushButton>(&cancelada, "btnCancelar")->click();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO_UNIDADE where CODPRODUTO = 100")).toInt(), 2);
}

TEST_F(ProdutoScreen, F2TakesTheCellStillBeingTyped) {
    auto rs = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*rs);
    tela.show();
    tela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
    auto* abas = filho<QTabWidget>(&tela, "pgcProduto");
    const int aba = abas->indexOf(filho<QWidget>(&tela, "tabUnidades"));
    QTest::mouseClick(abas->tabBar(), Qt::LeftButton, {}, abas->tabBar()->tabRect(aba).center());
    ASSERT_EQ(abas->currentIndex(), aba);
    QTest::mouseClick(filho<QPushButton>(&tela, "btnIncluirUnidade"), Qt::LeftButton); // a row, typing its symbol
    QWidget* celula = QApplication::focusWidget();
    ASSERT_NE(celula, nullptr);
    QTest::keyClicks(celula, QStringLiteral("cx"));
    QTest::keyClick(celula, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tela.isVisible() || !ui.messages().isEmpty(); }, 2000));
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.lastMessage().toStdString();
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    EXPECT_EQ(t->scalar(QStringLiteral("select PROU_SIGLA from PRODUTO_UNIDADE where CODPRODUTO = 100")).toString(), u"CX");
}

TEST_F(ProdutoScreen, AProductUnitWithoutSymbolStopsTheWholeSave) {
    auto rs = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*rs);
    digitar(&tela, "edtPRO_DESCRICAO", QStringLiteral("Cola lata 350 ml"));
    filho<QPushButton>(&tela, "btnIncluirUnidade")->click();
    EXPECT_EQ(clicarOk(&tela), u"Informe a sigla de cada unidade.");
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_DESCRICAO from PRODUTO where CODPRODUTO = 100")).toString(),
              u"Refrigerante cola lata");
}

TEST_F(ProdutoScreen, AFailedSaveOfTheTabsLeavesTheProductChangesToBeSavedAgain) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (2, 'GELO', 'Gelo')"));
    auto rs = TfrmProduto::registroProduto(t.db(), 100);
    TfrmProduto tela(*rs);
    digitar(&tela, "edtPRO_DESCRICAO", QStringLiteral("Cola lata 350 ml"));
    ui.answerInput(QStringLiteral("GELO"));
    ui.answerInput(QStringLiteral("1"));
    filho<QPushButton>(&tela, "btnIncluirComponente")->click();
    // Another terminal deletes the component before this one saves.
    t->executeSQL(QStringLiteral("delete from PRODUTO where CODPRODUTO = 2"));
    EXPECT_FALSE(clicarOk(&tela).isEmpty());
    EXPECT_NE(tela.result(), QDialog::Accepted);
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_DESCRICAO from PRODUTO where CODPRODUTO = 100")).toString(),
              u"Refrigerante cola lata");

    ui.answerYes();
    filho<QPushButton>(&tela, "btnExcluirComponente")->click();
    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_DESCRICAO from PRODUTO where CODPRODUTO = 100")).toString(),
              u"Cola lata 350 ml");
}
