#include "PedidoFixture.h"

#include "restaurant/DGarcon.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class Garcon : public PedidoFixture {};
} // namespace

TEST_F(Garcon, SearchListsWaitersButNotDeliveryPeople) {
    TdmGarcon& g = TdmGarcon::gerarInstance();
    EXPECT_EQ(&g, &TdmGarcon::gerarInstance());
    EXPECT_TRUE(g.pesquisa().Localizar(1, false));
    EXPECT_EQ(g.pesquisa().encontrado()->field(QStringLiteral("GAR_NOME")).asString(), u"JOAO");
    EXPECT_FALSE(g.pesquisa().Localizar(3, true)); // the delivery person
    EXPECT_EQ(ui.lastMessage(), u"Registro não foi encontrado");
    EXPECT_EQ(g.nomeGarcon(2), u"ANA");
    EXPECT_EQ(g.nomeGarcon(99), u"");
    EXPECT_TRUE(g.senhaConfere(1, QStringLiteral("11")));
    EXPECT_FALSE(g.senhaConfere(1, QStringLiteral("' or '1'='1")));
}

TEST_F(Garcon, ANewWaiterTakesAKeyAndIsNoDeliveryPerson) {
    RecordSet& rs = TdmGarcon::gerarInstance().cdsGarcon();
    rs.append();
    EXPECT_EQ(rs.field(QStringLiteral("GAN_ENTREGADOR")).asString(), u"N");
    EXPECT_GT(rs.field(QStringLiteral("CODGARCON")).asInteger(), 0);
    rs.field(QStringLiteral("GAR_NOME")).setValue(QStringLiteral("D'ÁVILA"));
    rs.post();
    rs.applyUpdates(0);
    EXPECT_EQ(texto(QStringLiteral("select GAR_NOME from RES_GARCON where GAN_ENTREGADOR = 'N' order by CODGARCON desc")),
              u"D'ÁVILA");
}

TEST_F(Garcon, WaitersOfAnOrderAreTheDistinctNamesOfItsNormalItems) {
    TdmResPedido& p = pedido();
    p.abrirMesa(1);
    for (int garcon : {1, 1, 2}) {
        p.cdsResPedidoItem().append();
        p.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(QStringLiteral("2001"));
        p.cdsResPedidoItem().field(QStringLiteral("CODGARCON")).setValue(garcon);
        if (garcon == 2)
            p.cdsResPedidoItem().field(QStringLiteral("PEDI_STATUS")).setValue(QStringLiteral("CANCELADO"));
        p.cdsResPedidoItem().post();
    }
    p.gravarPedido();
    auto nomes = TdmGarcon::gerarInstance().garconsDoPedido(int(p.cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger()));
    ASSERT_EQ(nomes->recordCount(), 1);
    EXPECT_EQ(nomes->field(QStringLiteral("GAR_NOME")).asString(), u"JOAO");
    EXPECT_TRUE(TdmGarcon::sqlGarconsDoPedido.startsWith(u"SELECT DISTINCT\r\n  RES_GARCON.GAR_NOME\r\nFROM"));
}
