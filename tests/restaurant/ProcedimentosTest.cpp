// What the restaurant procedures and triggers do to the rows.
#include "PedidoFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {
class Procedimentos : public PedidoFixture {
protected:
    QString status(int mesa) {
        return texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = %1").arg(mesa));
    }
    // "quantity:status:origin" of each item of an order, by key.
    QString itens(int codpedido) {
        return texto(QStringLiteral("select list(cast(PEDI_QTDE as numeric(18,1)) || ':' || PEDI_STATUS || ':' || "
                                    "coalesce(CODCONTROLE_ORIGEM, 0), ',') from (select * from RES_PEDIDO_ITEM where "
                                    "CODPEDIDO = %1 order by CODPEDIDOITEM)")
                         .arg(codpedido));
    }
    Currency total(int codpedido) {
        return dinheiro(QStringLiteral("select PED_TOTAL from RES_PEDIDO where CODPEDIDO = %1").arg(codpedido));
    }
    void erro(const QString& sql, const QString& mensagem) {
        try {
            t->executeSQL(sql);
            ADD_FAILURE() << "accepted: " << sql.toStdString();
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.message().contains(mensagem)) << e.message().toStdString();
        }
    }
};
} // namespace

TEST_F(Procedimentos, ATableIsInUseWhileItHasAnOpenOrderAndNeverWithoutStatus) {
    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (50, null)"));
    EXPECT_EQ(status(50), u"LIVRE");
    EXPECT_THROW(t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA) "
                                              "values (1, 77, 'ABERTO', current_timestamp)")),
                 DatabaseError); // no such table
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    EXPECT_EQ(status(1), u"EM USO");
    EXPECT_EQ(total(codpedido), Currency::fromString(u"49.8"));
    // A second open order on the same table is refused by the database.
    try {
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA) "
                                     "values (999, 1, 'ABERTO', current_timestamp)"));
        ADD_FAILURE() << "two open orders on one table";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DatabaseError::Kind::UniqueKey) << e.what();
    }
    t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_STATUS = 'FECHADO' where CODPEDIDO = %1").arg(codpedido));
    EXPECT_EQ(status(1), u"LIVRE");
    t->executeSQL(QStringLiteral("update RES_CONTROLE set CON_STATUS = 'EM USO' where CODCONTROLE = 2"));
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_AVALIA_CONTROLE(2)"));
    EXPECT_EQ(status(2), u"LIVRE");
}

TEST_F(Procedimentos, TheStoredTotalFollowsEveryItemChange) {
    const int codpedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}, {QStringLiteral("2001"), Currency(2)}});
    EXPECT_EQ(total(codpedido), Currency::fromString(u"37.9"));
    t->executeSQL(QStringLiteral("update RES_PEDIDO_ITEM set PEDI_STATUS = 'CANCELADO' where CODPRODUTO = 1"));
    EXPECT_EQ(total(codpedido), Currency(13));
    t->executeSQL(QStringLiteral("delete from RES_PEDIDO_ITEM where CODPRODUTO = 2"));
    EXPECT_TRUE(total(codpedido).isZero());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO where PED_DT_ULT_MOV is null")).toInt(), 0);
}

TEST_F(Procedimentos, CancellingATableGivesStockBackUnlessTheTableIsListed) {
    const int primeiro = lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(10));
    // (the posting screens move stock themselves; here the procedure gives back what it cancels)
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_CANCELAR(%1, 'ana', '05.12.2026 21:00')").arg(primeiro));
    EXPECT_EQ(itens(primeiro), u"2.0:CANCELADO:0");
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(primeiro)), u"CANCELADO");
    EXPECT_EQ(texto(QStringLiteral("select PEDI_CAN_USUARIO from RES_PEDIDO_ITEM")), u"ana");
    EXPECT_EQ(status(1), u"LIVRE");
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(12));
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_CANCELAR(%1, 'ana', '05.12.2026 21:00')").arg(primeiro),
         QStringLiteral("Mesa não está aberta!"));

    cfg().setValor(QStringLiteral("RES.MESA.NOESTQ"), QStringLiteral("5; 1"));
    const int segundo = lancar(1, {{QStringLiteral("1001"), Currency(2)}});
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_CANCELAR(%1, 'ana', '05.12.2026 21:00')").arg(segundo));
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(12));
}

TEST_F(Procedimentos, TransferringPartOfAnItemSplitsItIntoTheDestinationsOrder) {
    const int origem = lancar(1, {{QStringLiteral("2001"), Currency(5)}, {QStringLiteral("1001"), Currency(1)}});
    const QString item = texto(QStringLiteral("select min(CODPEDIDOITEM) from RES_PEDIDO_ITEM"));
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS_ITEM(%1, 2, '05.12.2026 21:00','ana','5.5')").arg(item),
         QStringLiteral("Quantidade invalida!"));
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS_ITEM(%1, 9, '05.12.2026 21:00','ana','1')").arg(item),
         QStringLiteral("A Mesa(9) não está correta, tente outra!"));
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS_ITEM(%1, 1, '05.12.2026 21:00','ana','1')").arg(item),
         QStringLiteral("Mesa destino não pode ser a mesa origem"));
    t->executeSQL(
        QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS_ITEM_MOTIVO(%1, 2, '05.12.2026 21:00','ana','2', 'pediu')").arg(item));
    EXPECT_EQ(itens(origem), u"3.0:NORMAL:0,1.0:NORMAL:0");
    const int destino = t->scalar(QStringLiteral("select CODPEDIDO from RES_PEDIDO where CODCONTROLE = 2")).toInt();
    EXPECT_EQ(itens(destino), u"2.0:NORMAL:1");
    EXPECT_EQ(total(origem), Currency::fromString(u"44.4"));
    EXPECT_EQ(total(destino), Currency(13));
    EXPECT_EQ(status(2), u"EM USO");
    EXPECT_EQ(texto(QStringLiteral("select RTR_USUARIO || '/' || RTR_MOTIVO from RES_TRANSFERENCIA")), u"ana/pediu");
    // The whole rest moves the row itself, into the order the table has now.
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS_ITEM(%1, 2, '05.12.2026 21:00','ana','3')").arg(item));
    EXPECT_EQ(itens(destino), u"3.0:NORMAL:1,2.0:NORMAL:1");
    EXPECT_EQ(itens(origem), u"1.0:NORMAL:0");
}

TEST_F(Procedimentos, TransferringATableMovesOrMergesItsOrder) {
    const int primeiro = lancar(1, {{QStringLiteral("2001"), Currency(1)}});
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS(3, 2, '05.12.2026 21:00','ana')"),
         QStringLiteral("A Mesa(3) não tem movimentação, tente outra!"));
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS(1, 3, '05.12.2026 21:00','ana')"));
    EXPECT_EQ(t->scalar(QStringLiteral("select CODCONTROLE from RES_PEDIDO where CODPEDIDO = %1").arg(primeiro)).toInt(), 3);
    EXPECT_EQ(status(1), u"LIVRE");
    EXPECT_EQ(status(3), u"EM USO");

    const int segundo = lancar(2, {{QStringLiteral("1001"), Currency(1)}});
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS(2, 3, '05.12.2026 21:00','ana')"));
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(segundo)), u"TRANSF");
    EXPECT_EQ(itens(primeiro), u"1.0:NORMAL:1,1.0:NORMAL:2");
    EXPECT_EQ(total(primeiro), Currency::fromString(u"31.4"));
    EXPECT_EQ(status(2), u"LIVRE");
}

TEST_F(Procedimentos, AnAbandonedEmptyOrderIsRemovedAndTheTableFreed) {
    pedido().abrirMesa(1);
    pedido().gravarPedido(); // the order written at once, as the touch sale does with its first item
    EXPECT_EQ(status(1), u"EM USO");
    const int codpedido = int(pedido().cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
    const int cheio = lancar(2, {{QStringLiteral("1001"), Currency(1)}});
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_PEDIDO_VERIFICAR(%1, 1)").arg(codpedido));
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_PEDIDO_VERIFICAR(0, 2)"));
    EXPECT_EQ(t->scalar(QStringLiteral("select list(CODPEDIDO) from RES_PEDIDO")).toInt(), cheio);
    EXPECT_EQ(status(1), u"LIVRE");
    EXPECT_EQ(status(2), u"EM USO");
}

TEST_F(Procedimentos, TheMapListsTablesWithTheirOpenOrders) {
    const int codpedido = lancar(3, {{QStringLiteral("2001"), Currency(1)}});
    auto mapa = t->query(QStringLiteral("select CODCONTROLE, CON_STATUS, PED_IMPRESSO, CODPEDIDO, DT_ULT_MOV, DATAATUAL "
                                        "from STP_RES_MENU_RESTAURANTE_TELA"));
    EXPECT_EQ(mapa->recordCount(), 4); // the cancelled table 9 is not on the map
    ASSERT_TRUE(mapa->locate(QStringLiteral("CODCONTROLE"), 3));
    EXPECT_EQ(mapa->field(QStringLiteral("CON_STATUS")).asString(), u"EM USO");
    EXPECT_EQ(mapa->field(QStringLiteral("CODPEDIDO")).asInteger(), codpedido);
    EXPECT_EQ(mapa->field(QStringLiteral("PED_IMPRESSO")).asString(), u"N");
    EXPECT_FALSE(mapa->field(QStringLiteral("DT_ULT_MOV")).isNull());
    cfg().setValor(QStringLiteral("RES.MESA.ABE"), QStringLiteral("S"));
    EXPECT_EQ(t->scalar(QStringLiteral("SELECT COUNT(*) as QTDE FROM STP_RES_MENU_RESTAURANTE_TELA ")).toInt(), 1);
}

TEST_F(Procedimentos, BalanceMovementsAndThePrintQueue) {
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_CONTROLE_MOVIMENTACAO(1000,5.25,'1','CREDITO')"));
    EXPECT_EQ(dinheiro(QStringLiteral("select CON_SALDO from RES_CONTROLE where CODCONTROLE = 1000")),
              Currency::fromString(u"25.25"));
    EXPECT_EQ(dinheiro(QStringLiteral("select RCM_SALDO from RES_CONTROLE_MOVIMENTACAO")), Currency::fromString(u"25.25"));
    erro(QStringLiteral("EXECUTE PROCEDURE STP_RES_CONTROLE_MOVIMENTACAO(4321,1,'2','X')"),
         QStringLiteral("Controle não encontrado! (Controle=4321)"));
    t->executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_IMPRESSAO(:U, :C, :T, 1, :TI)"),
                  {{QStringLiteral("U"), QStringLiteral("caixa")},
                   {QStringLiteral("C"), QStringLiteral("COZINHA")},
                   {QStringLiteral("T"), QStringLiteral("\x1b@MESA 1\r\nX-BURGUER")},
                   {QStringLiteral("TI"), QStringLiteral("LANÇAMENTOS DE 1 PRODUTOS")}});
    EXPECT_EQ(texto(QStringLiteral("select IMP_CENTRALIZADOR || '/' || IMP_STATUS || '/' || IMP_TITULO from RES_IMPRESSAO")),
              u"COZINHA/PENDENTE/LANÇAMENTOS DE 1 PRODUTOS");
    EXPECT_EQ(texto(QStringLiteral("select IMP_TEXTO from RES_IMPRESSAO")), u"\x1b@MESA 1\r\nX-BURGUER");
}
