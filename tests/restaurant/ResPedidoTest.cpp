#include "PedidoFixture.h"

#include "framework/services/ChavesConfiguracao.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class ResPedido : public PedidoFixture {
protected:
    Field& item(const char* nome) { return pedido().cdsResPedidoItem().field(QString::fromLatin1(nome)); }
    Field& cab(const char* nome) { return pedido().cdsResPedido().field(QString::fromLatin1(nome)); }
};
} // namespace

TEST_F(ResPedido, NewOrderTakesTheTableTheBusinessDateAndServiceOnlyWhereCharged) {
    pedido().abrirMesa(1);
    EXPECT_EQ(cab("CODCONTROLE").asInteger(), 1);
    EXPECT_EQ(cab("PED_STATUS").asString(), u"ABERTO");
    EXPECT_EQ(cab("PED_DATA").asDateTime(), QDateTime(QDate(2026, 12, 5), QTime(20, 30))); // business date
    EXPECT_EQ(cab("PED_ACRESCIMO").asCurrency(), Currency(10));
    EXPECT_EQ(cab("PED_IMPRESSO").asString(), u"N");
    EXPECT_EQ(cab("PED_QTDE_PESSOA").asInteger(), 1);
    EXPECT_GT(cab("CODPEDIDO").asInteger(), 0);
    pedido().cdsResPedido().cancel();

    pedido().abrirMesa(2); // no service on this table, although the restaurant charges 10 %
    EXPECT_TRUE(cab("PED_ACRESCIMO").asCurrency().isZero());
}

TEST_F(ResPedido, ABadTableIsRefusedAndChangesNothing) {
    for (int mesa : {9, 77, 0}) {
        EXPECT_THROW(pedido().abrirMesa(mesa), Abort) << mesa;
        EXPECT_EQ(ui.lastMessage(), u"Mesa não está correta, tente novamente");
    }
    pedido().setMesaAtual(QStringLiteral("1 or 1=1"));
    pedido().CarregarResVenda(0);
    EXPECT_THROW(pedido().cdsResPedido().append(), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Informe um número de mesa válida!");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 0);
}

TEST_F(ResPedido, NewItemDefaultsAndTheSearchCodeFillsTheProduct) {
    pedido().setGarconPredefinido(2);
    pedido().abrirMesa(1);
    pedido().cdsResPedidoItem().append();
    EXPECT_EQ(item("PEDI_QTDE").asCurrency(), Currency(1));
    EXPECT_EQ(item("PEDI_STATUS").asString(), u"NORMAL");
    EXPECT_EQ(item("PEDI_LAN_USUARIO").asString(), u"caixa");
    EXPECT_EQ(item("PEDI_LAN_DATA").asDateTime().date(), QDate(2026, 12, 5));
    EXPECT_EQ(item("CODGARCON").asInteger(), 2); // the preset waiter
    EXPECT_EQ(item("CODPEDIDO").asInteger(), cab("CODPEDIDO").asInteger());

    item("CODPESQUISA").setValue(QStringLiteral("2001"));
    EXPECT_EQ(item("CODPRODUTO").asInteger(), 2);
    EXPECT_EQ(item("PRO_DESCRICAO").asString(), u"REFRIGERANTE");
    EXPECT_EQ(item("PEDI_VLRUNIT").asCurrency(), Currency::fromString(u"6.5"));
    EXPECT_EQ(item("PRO_IMP_BAR").asString(), u"S");
    item("PEDI_QTDE").setValue(3);
    EXPECT_EQ(item("PEDI_TOTAL").asCurrency(), Currency::fromString(u"19.5"));

    // An unknown code is refused: the item keeps its product.
    EXPECT_THROW(item("CODPESQUISA").setValue(QStringLiteral("' or '1'='1")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Produto não encontrado! (Cód. Pesquisa: ' or '1'='1)");
    EXPECT_EQ(item("CODPESQUISA").asString(), u"2001");
    EXPECT_EQ(item("CODPRODUTO").asInteger(), 2);
    // A negative quantity likewise.
    EXPECT_THROW(item("PEDI_QTDE").setValue(-1), Abort);
    EXPECT_EQ(ui.lastMessage(), u"A quantidade está menor que zero!");
    EXPECT_EQ(item("PEDI_QTDE").asCurrency(), Currency(3));

    item("CODPESQUISA").setValue(QString()); // clears the product, keeps the price
    EXPECT_TRUE(item("CODPRODUTO").isNull());
    EXPECT_EQ(item("PEDI_VLRUNIT").asCurrency(), Currency::fromString(u"6.5"));
}

TEST_F(ResPedido, ThePresetWaiterGivesWayWhenTheWaiterIsAlwaysChosen) {
    t->executeSQL(QStringLiteral("update PAR_RESTAURANTE set PARR_SELECIONAR_GARCON = 'S'"));
    pedido().setGarconPredefinido(2);
    pedido().abrirMesa(1);
    pedido().cdsResPedidoItem().append();
    EXPECT_TRUE(item("CODGARCON").isNull() || item("CODGARCON").asInteger() == 0);
    item("CODGARCON").setValue(1);
    item("CODPESQUISA").setValue(QStringLiteral("1001"));
    pedido().cdsResPedidoItem().post();
    EXPECT_EQ(cab("CODGARCON").asInteger(), 1); // the order takes the waiter of the item posted
}

TEST_F(ResPedido, TotalsCountNormalItemsAndDerivedValuesRoundServiceUp) {
    const int codpedido = lancar(1, {{QStringLiteral("3001"), Currency(5)}}); // 57.35
    pedido().CarregarResVenda(codpedido);
    EXPECT_EQ(cab("PED_TOTAL").asCurrency(), Currency::fromString(u"57.35"));
    EXPECT_EQ(cab("auxVlrAcrescimo").asCurrency(), Currency::fromString(u"5.74")); // 5.735 rounded up
    pedido().cdsResPedido().edit();
    cab("PED_QTDE_COVERT").setValue(2);
    cab("PED_DESC_VLR").setValue(QVariant::fromValue(Currency(3)));
    EXPECT_EQ(cab("auxVlrCouvert").asCurrency(), Currency(16));
    EXPECT_EQ(cab("auxTotalAcrescimo").asCurrency(), Currency::fromString(u"76.09"));

    // All items cancelled: total 0, grand total couvert minus discount.
    pedido().cdsResPedidoItem().first();
    pedido().cdsResPedidoItem().edit();
    item("PEDI_STATUS").setValue(QStringLiteral("CANCELADO"));
    pedido().ResPedido_CalculaTotal();
    EXPECT_TRUE(cab("PED_TOTAL").asCurrency().isZero());
    EXPECT_EQ(cab("auxTotalAcrescimo").asCurrency(), Currency(13));
    pedido().gravarPedido();
    EXPECT_TRUE(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO")).isZero());
    EXPECT_EQ(t->scalar(QStringLiteral("select PED_QTDE_COVERT from RES_PEDIDO")).toInt(), 2);
}

TEST_F(ResPedido, ItemPositionsAndPersonalisationLines) {
    pedido().abrirMesa(2);
    RecordSet& i = pedido().cdsResPedidoItem();
    i.append();
    item("CODPESQUISA").setValue(QStringLiteral("1001"));
    i.post();
    const qint64 dono = item("CODPEDIDOITEM").asInteger();
    i.append();
    item("CODPESQUISA").setValue(QStringLiteral("3001"));
    item("CODPEDIDOITEM_PERSON").setValue(dono);
    i.post();
    pedido().cdsResPedidoItemPerso().append(); // takes the current item
    EXPECT_EQ(pedido().cdsResPedidoItemPerso().field(QStringLiteral("CODPEDIDOITEM")).asInteger(),
              item("CODPEDIDOITEM").asInteger());
    pedido().cdsResPedidoItemPerso().field(QStringLiteral("CODPRODUTO")).setValue(3);
    pedido().cdsResPedidoItemPerso().post();
    pedido().gravarPedido();

    pedido().CarregarResVenda(int(cab("CODPEDIDO").asInteger()));
    i.first();
    EXPECT_EQ(item("auxItem").asString(), u"    1");
    EXPECT_EQ(item("auxRecNo").asInteger(), 1);
    i.next();
    EXPECT_EQ(item("auxItem").asString(), u"");
    EXPECT_EQ(item("auxRecNo").asInteger(), 2);
    EXPECT_EQ(pedido().cdsResPedidoItemPerso().recordCount(), 1);
    EXPECT_EQ(pedido().cdsResPedidoItemPerso().field(QStringLiteral("PRO_DESCRICAO")).asString(), u"AGUA");
}

TEST_F(ResPedido, BadgeHolderAndTabOwnerNames) {
    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (999)"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_MATRICULA) values (10, 'BIA', '999')"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_MATRICULA) values (11, 'CAIO', '1000')"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CELULAR) values (12, 'DORA', '99999')"));
    cfg().setValor(QStringLiteral("PRORH.PERFIL"), QStringLiteral("S"));
    pedido().abrirMesa(999);
    EXPECT_EQ(cab("AUXPESSOA").asString(), u"");
    pedido().cdsResPedido().cancel();
    pedido().abrirMesa(1000);
    EXPECT_EQ(cab("AUXPESSOA").asString(), u"CAIO");
    cab("CODPESSOA").setValue(12);
    EXPECT_EQ(cab("AUXPESSOA").asString(), u"DORA || 99999");
}

TEST_F(ResPedido, BalanceStatementOnlyWhenBalancesAreKept) {
    EXPECT_EQ(pedido().sqlResControleMovimentacao(1000, Currency::fromString(u"12.5"), 2, QStringLiteral("X")), u"");
    cfg().setValor(QStringLiteral("REST.SALDO"), QStringLiteral("S"));
    const QString sql = pedido().sqlResControleMovimentacao(1000, Currency::fromString(u"12.5"), 2,
                                                            QStringLiteral("D'AGUA"));
    EXPECT_EQ(sql, u"EXECUTE PROCEDURE STP_RES_CONTROLE_MOVIMENTACAO(1000,12.5,'2','D''AGUA')");
    t->executeSQL(sql);
    EXPECT_EQ(dinheiro(QStringLiteral("select CON_SALDO from RES_CONTROLE where CODCONTROLE = 1000")),
              Currency::fromString(u"7.5"));
}

TEST_F(ResPedido, BalanceWarningOnlyWarns) {
    pedido().validaSeTemSaldoParaCompra(1000, Currency(30), Currency(20));
    EXPECT_TRUE(ui.messages().isEmpty()); // balances not kept
    cfg().setValor(QStringLiteral("REST.SALDO"), QStringLiteral("S"));
    pedido().validaSeTemSaldoParaCompra(1000, Currency(10), Currency(20));
    pedido().validaSeTemSaldoParaCompra(4321, Currency(30), Currency(20)); // no such tab
    EXPECT_TRUE(ui.messages().isEmpty());
    pedido().validaSeTemSaldoParaCompra(1000, Currency::fromString(u"30.5"), Currency(20));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.lastMessage(), u"Seu saldo está menor\rCodControle: \"1000\rEAN: \"20000000100136\r"
                                u"Saldo Atual=20\rValor Informado: 30,5");
}

TEST_F(ResPedido, RegistersEveryRestaurantKeyInItsGroupAndKeepsStoredValues) {
    cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
    pedido();
    QHash<QString, QString> grupos;
    for (const auto& p : cfg().listar())
        grupos.insert(p.chave, p.grupo);
    EXPECT_EQ(chavesRestaurante().size(), 59);
    for (const ChaveConfiguracao& c : chavesRestaurante())
        EXPECT_EQ(grupos.value(QString::fromUtf8(c.chave)), QString::fromUtf8(c.grupo)) << c.chave;
    EXPECT_EQ(grupos.value(QStringLiteral("REST.DAR.COZ")), u"Restaurante - Impressão");
    EXPECT_EQ(cfg().getStr(QStringLiteral("REST.GARCON")), u"S"); // stored before: kept
    EXPECT_EQ(cfg().getStr(QStringLiteral("REST.SNH.LIB")), u"407215");
    EXPECT_EQ(cfg().getStr(QStringLiteral("REST.DAR.MOD")), u"DARUMA");
    EXPECT_EQ(cfg().getInt(QStringLiteral("REST.TER.BITS")), 5);
}

TEST_F(ResPedido, CancellingPartOfAnItemAddsACancelledLineAndGivesStockBack) {
    const int codpedido = lancar(2, {{QStringLiteral("1001"), Currency(3)}});
    pedido().CarregarResVenda(codpedido);
    const int chave = int(item("CODPEDIDOITEM").asInteger());
    EXPECT_THROW(pedido().cancelarItem(chave, Currency(4), {}), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Quantidade invalida!");
    EXPECT_THROW(pedido().cancelarItem(chave, Currency(), {}), Abort);
    EXPECT_THROW(pedido().cancelarItem(4242, Currency(1), {}), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Item não localizado para CANCELAR!");

    const QString estoque = pedido().cancelarItem(chave, Currency(1), QStringLiteral("cliente desistiu"));
    pedido().gravarPedido(QStringList{estoque});
    EXPECT_EQ(texto(QStringLiteral("select list(cast(PEDI_QTDE as integer) || ':' || PEDI_STATUS || ':' || "
                                   "coalesce(PEDI_CAN_MOTIVO, '-'), ',') from (select * from RES_PEDIDO_ITEM order by "
                                   "CODPEDIDOITEM)")),
              u"2:NORMAL:-,1:CANCELADO:cliente desistiu");
    EXPECT_EQ(dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"49.8"));
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(11));

    pedido().CarregarResVenda(codpedido);
    pedido().cdsResPedidoItem().last();
    EXPECT_THROW(pedido().cancelarItem(int(item("CODPEDIDOITEM").asInteger()), Currency(1), {}), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Item já CANCELADO!");
}
