#include "registers/ui/UProduto.h"
#include "TelaTeste.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>

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
        t->executeSQL(QStringLiteral("insert into PRODUTO_SUBGRUPO (CODPRODUTOSUBGRUPO, CODPRODUTOGRUPO, PROS_DESCRICAO) "
                                     "values (10, 1, 'Refrigerantes')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_SUBGRUPO (CODPRODUTOSUBGRUPO, CODPRODUTOGRUPO, PROS_DESCRICAO) "
                                     "values (11, 1, 'Sucos')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO_SUBGRUPO (CODPRODUTOSUBGRUPO, CODPRODUTOGRUPO, PROS_DESCRICAO) "
                                     "values (20, 2, 'Doces')"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, CODPRODUTOGRUPO) "
                                     "values (100, 'COCA', 'Refrigerante cola lata', 6.5, 1)"));
    }
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
    auto* subgrupo = filho<QComboBox>(&tela, "cbxCODPRODUTOSUBGRUPO");
    EXPECT_EQ(subgrupo->count(), 1); // no group yet: only the blank
    escolher(&tela, "cbxCODPRODUTOGRUPO", QStringLiteral("Pizzas"));
    ASSERT_EQ(subgrupo->count(), 2);
    EXPECT_EQ(subgrupo->itemText(1), u"Doces");
    escolher(&tela, "cbxCODPRODUTOSUBGRUPO", QStringLiteral("Doces"));
    filho<QCheckBox>(&tela, "chkPRO_IMP_PIZZA")->setChecked(true);

    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_EQ(tela.result(), QDialog::Accepted);
    auto salvo = t->query(QStringLiteral("select * from PRODUTO where CODPRODUTO = :C"), {{QStringLiteral("C"), codigo}});
    ASSERT_EQ(salvo->recordCount(), 1);
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_CODPESQ_1")).asString(), u"PZ-BAN");
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_PRECO01")).asCurrency(), Currency::fromString(u"42.90"));
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_PRECO02")).asCurrency(), Currency::fromString(u"39.90"));
    EXPECT_EQ(salvo->field(QStringLiteral("PRO_DESC_MAX")).asCurrency(), Currency());
    EXPECT_EQ(salvo->field(QStringLiteral("CODPRODUTOSUBGRUPO")).asInteger(), 20);
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
    escolher(&tela, "cbxCODPRODUTOSUBGRUPO", QStringLiteral("Sucos"));
    // A subgroup written by hand (an old import) that belongs to another group.
    rs->field(QStringLiteral("CODPRODUTOSUBGRUPO")).setValue(20);
    EXPECT_EQ(clicarOk(&tela), u"O subgrupo escolhido não pertence ao grupo do produto.");
    escolher(&tela, "cbxCODPRODUTOSUBGRUPO", QStringLiteral("Sucos"));
    EXPECT_EQ(clicarOk(&tela), QString()); // its own search code is no duplicate
    EXPECT_EQ(t->scalar(QStringLiteral("select CODPRODUTOSUBGRUPO from PRODUTO where CODPRODUTO = 100")).toInt(), 11);

    tela.resize(760, 560);
    filho<QTabWidget>(&tela, "pgcProduto")->setCurrentIndex(1);
    EXPECT_TRUE(tela.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_precos.png")));
}

TEST_F(ProdutoScreen, SearchShowsPricesAndAProductWithMovementsIsOnlyDeactivated) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (2, 'SUCO', 'Suco de laranja')"));
    t->executeSQL(QStringLiteral("insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE) "
                                 "values (1, 100, 1, 12)"));
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
    pesq.resize(820, 400);
    EXPECT_TRUE(pesq.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_pesquisa.png")));
}
