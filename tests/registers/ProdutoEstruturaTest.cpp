#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kvo;

namespace {

class ProdutoEstrutura : public ::testing::Test {
protected:
    void SetUp() override {
        for (int p = 1; p <= 4; ++p)
            t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (%1, 'P%1', "
                                         "'PRODUTO %1')")
                              .arg(p));
    }
    // The message of the refusal; blank when the call went through.
    QString recusa(const std::function<void()>& chamada) {
        ui.clear();
        try {
            chamada();
        } catch (const Abort&) {
            return ui.lastMessage();
        }
        return {};
    }
    void unidade(RecordSet& rs, const char* sigla, const char* qtde, const char* principal) {
        rs.append();
        rs.field(QStringLiteral("PROU_SIGLA")).setValue(QString::fromUtf8(sigla));
        rs.field(QStringLiteral("PROU_QTDE")).setValue(QString::fromUtf8(qtde));
        rs.field(QStringLiteral("PROU_PRINCIPAL")).setValue(QString::fromUtf8(principal));
        rs.post();
    }
    void componente(RecordSet& rs, int filho, const char* qtde) {
        rs.append();
        rs.field(QStringLiteral("CODPRODUTOFILHO")).setValue(filho);
        rs.field(QStringLiteral("PROC_QTDE")).setValue(QString::fromUtf8(qtde));
        rs.post();
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
    TdmProduto produtos{t.db()};
};

} // namespace

TEST_F(ProdutoEstrutura, PriceColumnsFollowTheSaleParameters) {
    EXPECT_EQ(produtos.tabelaPrecos().quantidade, 1); // as installed
    EXPECT_FALSE(produtos.tabelaPrecos().somenteLeitura);
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_QTDE_PROD_PRECO = '04', PARV_PREC_PROD_RO = 'S'"));
    EXPECT_EQ(produtos.tabelaPrecos().quantidade, 1); // kept until asked to refresh
    produtos.visualizarPrecos();
    EXPECT_EQ(produtos.tabelaPrecos().quantidade, 4);
    EXPECT_TRUE(produtos.tabelaPrecos().somenteLeitura);
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_QTDE_PROD_PRECO = '20'"));
    produtos.visualizarPrecos();
    EXPECT_EQ(produtos.tabelaPrecos().quantidade, 14);
    t->executeSQL(QStringLiteral("update PAR_VENDA set PARV_QTDE_PROD_PRECO = null"));
    produtos.visualizarPrecos();
    EXPECT_EQ(produtos.tabelaPrecos().quantidade, 1);
    EXPECT_EQ(TdmProduto::campoPreco(7), u"PRO_PRECO07");
}

TEST_F(ProdutoEstrutura, UnitsNeedOneMainUnitOfOneAndDistinctSymbols) {
    auto rs = produtos.unidades(1);
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), QString()); // none: sold by the unit
    unidade(*rs, " un ", "1", "S");
    EXPECT_EQ(rs->field(QStringLiteral("PROU_SIGLA")).asString(), u"UN");
    unidade(*rs, "CX", "12", "N");
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), QString());

    rs->last();
    rs->edit();
    rs->field(QStringLiteral("PROU_QTDE")).setValue(0);
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), u"A quantidade da unidade CX deve ser maior que zero.");
    rs->last();
    rs->edit();
    rs->field(QStringLiteral("PROU_QTDE")).setValue(12);
    rs->field(QStringLiteral("PROU_SIGLA")).setValue(QStringLiteral("un"));
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), u"A unidade UN está repetida.");
    rs->last();
    rs->edit();
    rs->field(QStringLiteral("PROU_SIGLA")).setValue(QStringLiteral("CX"));
    rs->field(QStringLiteral("PROU_PRINCIPAL")).setValue(QStringLiteral("s"));
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), u"Só uma unidade pode ser a principal (marcadas: UN, CX).");
    rs->first();
    rs->edit();
    rs->field(QStringLiteral("PROU_PRINCIPAL")).setValue(QStringLiteral("N"));
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }),
              u"A unidade principal (CX) deve ter quantidade 1: as outras são convertidas nela.");
    rs->last();
    rs->edit();
    rs->field(QStringLiteral("PROU_PRINCIPAL")).setValue(QStringLiteral("N"));
    EXPECT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), u"Marque uma das unidades como principal.");
    rs->edit();
    EXPECT_EQ(recusa([&] { rs->field(QStringLiteral("PROU_PRINCIPAL")).setValue(QStringLiteral("X")); }),
              u"Principal: informe S ou N.");

    rs->first();
    rs->edit();
    rs->field(QStringLiteral("PROU_PRINCIPAL")).setValue(QStringLiteral("S"));
    ASSERT_EQ(recusa([&] { produtos.validarUnidades(*rs); }), QString());
    rs->applyUpdates(0);
    // Written as the conversion procedure reads them.
    auto lidas = t->query(QStringLiteral("select PROU_SIGLA || ':' || cast(QTDE as integer) from STP_CONS_PRODUTO_UNIDADE(1)"));
    ASSERT_EQ(lidas->recordCount(), 2);
    EXPECT_EQ(lidas->field(0).asString(), u"UN:1");
    lidas->next();
    EXPECT_EQ(lidas->field(0).asString(), u"CX:12");
}

TEST_F(ProdutoEstrutura, CompositionRefusesItselfRepeatsAndCircles) {
    // 2 is made of 3, and 3 of 4.
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (101, 2, 3, 1)"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO values (102, 3, 4, 2)"));

    auto rs = produtos.composicao(1);
    componente(*rs, 1, "1");
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(1, *rs); }), u"O produto não pode fazer parte da sua própria composição.");
    rs->remove();
    componente(*rs, 2, "0,5");
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(1, *rs); }), QString());
    componente(*rs, 2, "1");
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(1, *rs); }), u"O componente PRODUTO 2 está repetido na composição.");
    rs->remove();
    rs->applyUpdates(0);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO_COMPOSICAO where CODPRODUTO = 1")).toInt(), 1);

    // 4 is inside 2 two levels down: 4 made of 2 would be a circle, as would 4 made of 1.
    auto quatro = produtos.composicao(4);
    componente(*quatro, 2, "1");
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(4, *quatro); }),
              u"O componente PRODUTO 2 já contém este produto: a composição ficaria circular.");
    quatro->remove();
    componente(*quatro, 1, "1");
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(4, *quatro); }),
              u"O componente PRODUTO 1 já contém este produto: a composição ficaria circular.");
    quatro->edit();
    quatro->field(QStringLiteral("PROC_QTDE")).setValue(0);
    EXPECT_EQ(recusa([&] { produtos.validarComposicao(4, *quatro); }),
              u"A quantidade do componente PRODUTO 1 deve ser maior que zero.");

    // Reopened, the component carries its search code and description for the grid.
    auto lida = produtos.composicao(1);
    ASSERT_EQ(lida->recordCount(), 1);
    EXPECT_EQ(lida->field(QStringLiteral("PRO_DESCRICAO")).asString(), u"PRODUTO 2");
    EXPECT_EQ(lida->field(QStringLiteral("PROC_QTDE")).asCurrency(), Currency::fromString(u"0.5"));
}

TEST_F(ProdutoEstrutura, OptionGroupsOfAPersonalisedProduct) {
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO (CODGRUPOPERSONALIZACAO, GRPP_DESCRICAO) values (1, 'Sabores')"));
    t->executeSQL(QStringLiteral("insert into GRUPO_PERSONALIZACAO (CODGRUPOPERSONALIZACAO, GRPP_DESCRICAO) values (2, 'Adicionais')"));
    auto rs = produtos.personalizacao(1);
    auto linha = [&](const QVariant& grupo, const char* tipo, const char* valor, int minimo, int maximo) {
        rs->append();
        rs->field(QStringLiteral("CODGRUPOPERSONALIZACAO")).setValue(grupo);
        rs->field(QStringLiteral("PROP_TIPO")).setValue(QString::fromLatin1(tipo));
        rs->field(QStringLiteral("PROP_VALOR")).setValue(QString::fromLatin1(valor));
        rs->field(QStringLiteral("PROP_QTDE_MINIMA")).setValue(minimo);
        rs->field(QStringLiteral("PROP_QTDE_MAXIMA")).setValue(maximo);
        rs->post();
    };
    rs->append();
    EXPECT_EQ(recusa([&] { rs->field(QStringLiteral("CODGRUPOPERSONALIZACAO")).setValue(9); }),
              u"Grupo de personalização 9 não encontrado.");
    EXPECT_EQ(recusa([&] { rs->field(QStringLiteral("PROP_TIPO")).setValue(QStringLiteral("7")); }),
              u"Tipo de personalização: informe de 01 a 06.");
    rs->field(QStringLiteral("PROP_TIPO")).setValue(QStringLiteral("6"));
    EXPECT_EQ(rs->field(QStringLiteral("PROP_TIPO")).asString(), u"06");
    rs->cancel();
    linha(QVariant(), "01", "0", 0, 0);
    EXPECT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }), u"Informe o grupo de cada linha da personalização.");
    rs->remove();

    linha(1, "06", "150", 2, 2);
    EXPECT_EQ(rs->field(QStringLiteral("GRPP_DESCRICAO")).asString(), u"Sabores");
    EXPECT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }),
              u"No grupo Sabores a fração é um percentual entre 0 e 100.");
    rs->edit();
    rs->field(QStringLiteral("PROP_VALOR")).setValue(50);
    rs->field(QStringLiteral("PROP_QTDE_MINIMA")).setValue(3);
    EXPECT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }), u"No grupo Sabores o mínimo passa do máximo.");
    rs->edit();
    rs->field(QStringLiteral("PROP_QTDE_MINIMA")).setValue(2);
    linha(2, "04", "0", 0, 3);
    EXPECT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }),
              u"No grupo Adicionais o tipo 04 precisa de um valor maior que zero.");
    rs->edit();
    rs->field(QStringLiteral("PROP_VALOR")).setValue(QStringLiteral("2,50"));
    linha(1, "01", "0", 0, 0);
    EXPECT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }), u"O grupo Sabores está repetido na personalização.");
    rs->remove();
    ASSERT_EQ(recusa([&] { produtos.validarPersonalizacao(*rs); }), QString());
    rs->applyUpdates(0);

    auto lido = produtos.personalizacao(1);
    ASSERT_EQ(lido->recordCount(), 2);
    EXPECT_EQ(lido->field(QStringLiteral("GRPP_DESCRICAO")).asString(), u"Adicionais"); // by name
    EXPECT_EQ(lido->field(QStringLiteral("PROP_VALOR")).asCurrency(), Currency::fromString(u"2.5"));
}
