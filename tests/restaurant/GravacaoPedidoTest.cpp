// Two terminals on one table: nothing posted is lost, a real conflict is told.
#include "PedidoFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class Gravacao : public PedidoFixture {
protected:
    void SetUp() override {
        PedidoFixture::SetUp();
        outraConexao = t.connectAgain();
        outro = std::make_unique<TdmResPedido>(*outraConexao);
    }
    void TearDown() override {
        outro.reset();
        outraConexao.reset();
        PedidoFixture::TearDown();
    }
    void adicionar(TdmResPedido& p, const char* codigo, int qtde) {
        p.cdsResPedidoItem().append();
        p.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(QString::fromLatin1(codigo));
        p.cdsResPedidoItem().field(QStringLiteral("PEDI_QTDE")).setValue(qtde);
        p.cdsResPedidoItem().post();
    }
    std::unique_ptr<Database> outraConexao;
    std::unique_ptr<TdmResPedido> outro;
};
} // namespace

// Both found the table free; the one that saves second joins the first one's order.
TEST_F(Gravacao, TwoTerminalsOpeningAFreeTableShareOneOrder) {
    pedido().abrirMesa(1);
    outro->abrirMesa(1);
    adicionar(pedido(), "1001", 1);
    adicionar(*outro, "2001", 2);
    adicionar(*outro, "3001", 1);
    pedido().gravarPedido();
    outro->gravarPedido();

    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 1);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM i join RES_PEDIDO p on "
                                       "p.CODPEDIDO = i.CODPEDIDO where p.CODCONTROLE = 1")).toInt(),
              3);
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"49.37"));
    EXPECT_EQ(outro->cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger(),
              pedido().cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
    EXPECT_EQ(outro->cdsResPedidoItem().recordCount(), 3);
    EXPECT_EQ(outro->cdsResPedido().field(QStringLiteral("PED_TOTAL")).asCurrency(), Currency::fromString(u"49.37"));
    EXPECT_EQ(outro->tentativasDaUltimaGravacao(), 2);
}

// Each terminal adds its own items to the open order: no row of the other is touched.
TEST_F(Gravacao, PostingsOfTwoTerminalsOnAnOpenTableAddUp) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    pedido().abrirMesa(1);
    outro->abrirMesa(1);
    adicionar(pedido(), "2001", 1);
    adicionar(*outro, "3001", 1);
    outro->gravarPedido();
    pedido().gravarPedido();
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM where CODPEDIDO = %1").arg(codpedido)).toInt(), 3);
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"42.87"));
}

// Both cancel the same item: the second is told, and nothing of it is written.
TEST_F(Gravacao, ARealConflictOnOneItemIsReported) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(3)}});
    pedido().CarregarResVenda(codpedido);
    outro->CarregarResVenda(codpedido);
    const int item = int(pedido().cdsResPedidoItem().field(QStringLiteral("CODPEDIDOITEM")).asInteger());
    pedido().gravarPedido(QStringList{pedido().cancelarItem(item, Currency(3), QStringLiteral("A"))});
    const QString estoque = outro->cancelarItem(item, Currency(3), QStringLiteral("B"));
    try {
        outro->gravarPedido(QStringList{estoque});
        FAIL() << "the second cancellation overwrote the first";
    } catch (const ConcurrentChangeError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Este registro foi alterado por outro terminal")) << e.what();
    }
    EXPECT_EQ(outro->tentativasDaUltimaGravacao(), 1);
    EXPECT_EQ(texto(QStringLiteral("select list(PEDI_STATUS || ':' || PEDI_CAN_MOTIVO) from RES_PEDIDO_ITEM")),
              u"CANCELADO:A");
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(13));
}

// One terminal cancels the whole item while the other cancels part of it: the
// second would only change the quantity, which the first did not touch, so
// the database refuses changes to a cancelled item.
TEST_F(Gravacao, PartOfAnItemAnotherTerminalCancelledIsRefused) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(3)}});
    pedido().CarregarResVenda(codpedido);
    outro->CarregarResVenda(codpedido);
    const int item = int(pedido().cdsResPedidoItem().field(QStringLiteral("CODPEDIDOITEM")).asInteger());
    pedido().gravarPedido(QStringList{pedido().cancelarItem(item, Currency(3), QStringLiteral("A"))});
    const QString estoque = outro->cancelarItem(item, Currency(1), QStringLiteral("B"));
    try {
        outro->gravarPedido(QStringList{estoque});
        FAIL() << "a cancelled item was changed";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"Item já CANCELADO!")) << e.what();
    }
    EXPECT_EQ(texto(QStringLiteral("select list(cast(PEDI_QTDE as integer) || ':' || PEDI_STATUS || ':' || "
                                   "PEDI_CAN_MOTIVO) from RES_PEDIDO_ITEM")),
              u"3:CANCELADO:A");
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(13));
}

// The order this terminal was filling was removed as empty by another one.
TEST_F(Gravacao, AnOrderRemovedElsewhereIsToldInPortuguese) {
    pedido().abrirMesa(1);
    pedido().gravarPedido(); // written at once with its first item, as the touch sale does
    const int codpedido = int(pedido().cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
    outro->verificarPedido(codpedido, 1); // the other terminal left the table: the empty order goes
    adicionar(pedido(), "1001", 1);
    try {
        pedido().gravarPedido();
        FAIL() << "items saved on an order that is gone";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("O pedido %1 foi encerrado em outro terminal e os lançamentos não foram "
                                              "gravados. Abra a mesa novamente e refaça os lançamentos.")
                                   .arg(codpedido));
    }
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM")).toInt(), 0);
}
