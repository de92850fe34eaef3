#include "registers/ui/UGrupoPersonalizacao.h"
#include "registers/ui/UProduto.h"
#include "TelaTeste.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

using namespace kvo;
using test::digitar;
using test::filho;

namespace {
class GrupoPersonalizacao : public test::TelaCadastroTeste {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) "
                                     "values (1, 'MUS', 'Pizza mussarela', 59.9)"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) "
                                     "values (2, 'CAL', 'Pizza calabresa', 62.9)"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PERSONALIZADO) "
                                     "values (3, 'MEIA', 'Pizza meio a meio', 'S')"));
    }
};
} // namespace

TEST_F(GrupoPersonalizacao, GroupWithItsOptionsIsWrittenTogether) {
    auto grupo = TfrmGrupoPersonalizacao::registroGrupo(t.db(), 0);
    auto itens = TfrmGrupoPersonalizacao::itensGrupo(t.db(), 0);
    TfrmGrupoPersonalizacao tela(*grupo, *itens);
    const qint64 codigo = grupo->field(QStringLiteral("CODGRUPOPERSONALIZACAO")).asInteger();
    EXPECT_EQ(clicarOk(&tela), u"Informe a descrição do grupo.");
    digitar(&tela, "edtGRPP_DESCRICAO", QStringLiteral("Sabores"));
    EXPECT_EQ(clicarOk(&tela), u"Inclua ao menos um produto como opção do grupo.");

    ui.answerInput(QStringLiteral("mus"));
    filho<QPushButton>(&tela, "btnIncluirFilho")->click();
    ui.answerInput(QStringLiteral("CAL"));
    filho<QPushButton>(&tela, "btnIncluirFilho")->click();
    ui.answerInput(QStringLiteral("MUS"));
    filho<QPushButton>(&tela, "btnIncluirFilho")->click();
    EXPECT_EQ(ui.lastMessage(), u"Pizza mussarela já é uma opção deste grupo.");
    ASSERT_EQ(itens->recordCount(), 2);
    auto* modelo = filho<QTableView>(&tela, "dbgFilhos")->model();
    EXPECT_EQ(modelo->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"Opção");
    EXPECT_EQ(modelo->data(modelo->index(1, 2), Qt::DisplayRole).toString(), u"62,90");

    EXPECT_EQ(clicarOk(&tela), QString());
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(t->scalar(QStringLiteral("select list(CODPRODUTO) from (select CODPRODUTO from GRUPO_PERSONALIZACAO_ITEM "
                                       "where CODGRUPOPERSONALIZACAO = :G order by CODPRODUTO)"),
                        {{QStringLiteral("G"), codigo}})
                  .toString(),
              u"1,2");
}

TEST_F(GrupoPersonalizacao, ProductTakesTheGroupAndAGroupInUseStays) {
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO (CODGRUPOPERSONALIZACAO, GRPP_DESCRICAO) values (1, 'Sabores')"));
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO_ITEM values (1, 1, 1)"));
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO (CODGRUPOPERSONALIZACAO, GRPP_DESCRICAO) values (2, 'Bordas')"));
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO_ITEM values (2, 2, 2)"));

    auto rs = TfrmProduto::registroProduto(t.db(), 3);
    TfrmProduto produto(*rs);
    QAbstractItemModel* grupos = filho<QTableView>(&produto, "dbgPersonalizacao")->model();
    filho<QPushButton>(&produto, "btnIncluirGrupo")->click();
    EXPECT_TRUE(grupos->setData(grupos->index(0, 0), QStringLiteral("1"), Qt::EditRole));
    EXPECT_EQ(produto.estrutura().personalizacao().field(QStringLiteral("GRPP_DESCRICAO")).asString(), u"Sabores");
    EXPECT_TRUE(grupos->setData(grupos->index(0, 1), QStringLiteral("06"), Qt::EditRole));
    EXPECT_EQ(clicarOk(&produto), u"No grupo Sabores a fração é um percentual entre 0 e 100.");
    EXPECT_TRUE(grupos->setData(grupos->index(0, 2), QStringLiteral("50"), Qt::EditRole));
    EXPECT_TRUE(grupos->setData(grupos->index(0, 4), QStringLiteral("2"), Qt::EditRole));
    produto.resize(760, 560);
    filho<QTabWidget>(&produto, "pgcProduto")->setCurrentWidget(filho<QWidget>(&produto, "tabPersonalizacao"));
    EXPECT_TRUE(produto.grab().save(QStringLiteral(KVO_TEST_OUTPUT_DIR "/tela_produto_personalizacao.png")));
    EXPECT_EQ(clicarOk(&produto), QString());
    EXPECT_EQ(t->scalar(QStringLiteral("select PROP_TIPO || ':' || cast(PROP_VALOR as integer) || ':' || "
                                       "cast(PROP_QTDE_MAXIMA as integer) from PRODUTO_PERSONALIZACAO where CODPRODUTO = 3"))
                  .toString(),
              u"06:50:2");

    TfrmGrupoPersonalizacao_Pesq pesq;
    pesq.edtPesquisa()->setText(QStringLiteral("Sabores"));
    pesq.CarregaDadosCadastro();
    ASSERT_EQ(pesq.registros().recordCount(), 1);
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click();
    EXPECT_EQ(ui.lastMessage(), u"Este registro está em uso e não pode ser excluído.");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from GRUPO_PERSONALIZACAO_ITEM where CODGRUPOPERSONALIZACAO = 1")).toInt(), 1);
    pesq.edtPesquisa()->setText(QStringLiteral("Bordas"));
    pesq.CarregaDadosCadastro();
    ui.answerYes();
    filho<QPushButton>(&pesq, "btnExcluir")->click(); // unused: goes with its options
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from GRUPO_PERSONALIZACAO_ITEM")).toInt(), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from GRUPO_PERSONALIZACAO")).toInt(), 1);
}
