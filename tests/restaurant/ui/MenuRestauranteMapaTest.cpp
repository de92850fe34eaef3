// The table map's rules: states and the idle boundary, paging, legends,
// totals and the quantity typed to cancel.
#include "../PedidoFixture.h"

#include "restaurant/MapaMesas.h"

using namespace kvo;
using namespace kvo::test;

namespace {

const QDateTime kAgora(QDate(2026, 12, 6), QTime(21, 0));

// The map procedure with the server's moment pinned, so that a last movement
// can sit exactly on the idle boundary.
void fixarAgora(Database& db) {
    db.executeSQL(QStringLiteral(
        "alter procedure STP_RES_MENU_RESTAURANTE_TELA "
        "returns (CODCONTROLE integer, CON_STATUS varchar(10), PED_IMPRESSO char(1), DT_ULT_MOV timestamp, "
        "DATAATUAL timestamp, CODPEDIDO integer) as begin "
        "  DATAATUAL = timestamp '2026-12-06 21:00:00'; "
        "  for select c.CODCONTROLE, c.CON_STATUS, p.PED_IMPRESSO, coalesce(p.PED_DT_ULT_MOV, p.PED_DATA), p.CODPEDIDO "
        "        from RES_CONTROLE c left join RES_PEDIDO p on p.CODCONTROLE = c.CODCONTROLE and p.PED_STATUS = 'ABERTO' "
        "       where c.CON_STATUS <> 'CANCELADO' order by c.CODCONTROLE "
        "        into :CODCONTROLE, :CON_STATUS, :PED_IMPRESSO, :DT_ULT_MOV, :CODPEDIDO do "
        "  begin "
        "    if (CODPEDIDO is not null) then CON_STATUS = 'EM USO'; else CON_STATUS = 'LIVRE'; "
        "    suspend; "
        "  end "
        "end"));
}

class Mapa : public PedidoFixture {
protected:
    // An open order on a table, last moved `segundos` (with milliseconds) before 21:00.
    void aberta(int mesa, double segundos, const char* impresso = "N") {
        t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (%1)").arg(mesa));
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, "
                                     "PED_IMPRESSO, PED_DT_ULT_MOV) values (%1, %1, 'ABERTO', '05.12.2026', '%2', '%3')")
                          .arg(mesa)
                          .arg(QString::fromLatin1(impresso),
                               kAgora.addMSecs(qint64(-segundos * 1000)).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz"))));
    }
};

} // namespace

TEST(EstadoMesa, TheIdleBoundaryIsIdleAndAMillisecondLessIsBeingServed) {
    struct Caso {
        const char* status;
        const char* impresso;
        qint64 ms;
        EstadoMesa esperado;
    };
    const Caso casos[] = {
        {"LIVRE", "N", 0, EstadoMesa::Livre},
        {"CANCELADO", "S", 0, EstadoMesa::Livre},
        {"EM USO", "S", kParadaMs * 10, EstadoMesa::Extrato},
        {"EM USO", "N", kParadaMs, EstadoMesa::Parada},
        {"EM USO", "N", kParadaMs - 1, EstadoMesa::Atendimento},
        {"EM USO", "", 0, EstadoMesa::Atendimento},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(estadoMesa(QString::fromLatin1(c.status), QString::fromLatin1(c.impresso), kAgora.addMSecs(-c.ms), kAgora),
                  c.esperado)
            << c.status << ' ' << c.ms;
    EXPECT_EQ(estadoMesa(QStringLiteral("EM USO"), QStringLiteral("N"), QDateTime(), kAgora), EstadoMesa::Atendimento);
}

TEST_F(Mapa, TheBoundaryCountsInBothLegendsAndIsDrawnIdle) {
    fixarAgora(t.db());
    aberta(20, 1762.56);        // exactly 0.0204 day
    aberta(21, 1800);           // idle
    aberta(22, 600);            // being served
    aberta(23, 1762.559);       // just under the boundary
    aberta(24, 7200, "S");      // bill printed
    MapaMesas mapa(t.db());
    mapa.setGrade(5, 4);
    mapa.verificar(MapaMesas::kRecontar);
    QMap<int, EstadoMesa> estados;
    for (const CelulaMesa& c : mapa.celulas())
        estados[c.codcontrole] = c.estado;
    EXPECT_EQ(estados.value(20), EstadoMesa::Parada);
    EXPECT_EQ(estados.value(21), EstadoMesa::Parada);
    EXPECT_EQ(estados.value(22), EstadoMesa::Atendimento);
    EXPECT_EQ(estados.value(23), EstadoMesa::Atendimento);
    EXPECT_EQ(estados.value(24), EstadoMesa::Extrato);
    EXPECT_EQ(estados.value(1), EstadoMesa::Livre);
    // Tables 1, 2, 3 and the tab 1000 are free; 9 is cancelled and not on the map.
    EXPECT_EQ(mapa.legenda(EstadoMesa::Livre), u"Livre (4)");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Extrato), u"Extrato (1)");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Parada), u"Parada (2)");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Atendimento), u"Atendimento (3)");
}

TEST_F(Mapa, AnEmptyStateShowsTheBareWord) {
    MapaMesas mapa(t.db());
    mapa.verificar(MapaMesas::kRecontar);
    EXPECT_EQ(mapa.legenda(EstadoMesa::Livre), u"Livre (4)");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Extrato), u"Extrato");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Parada), u"Parada");
    EXPECT_EQ(mapa.legenda(EstadoMesa::Atendimento), u"Atendimento");
}

TEST_F(Mapa, TwentyFiveTablesOnAFourByFiveMapMakeTwoPages) {
    t->executeSQL(QStringLiteral("delete from RES_CONTROLE"));
    for (int mesa = 1; mesa <= 25; ++mesa)
        t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (%1)").arg(mesa));
    MapaMesas mapa(t.db());
    mapa.setGrade(4, 5);
    mapa.verificar(MapaMesas::kRecontar);
    EXPECT_EQ(mapa.tamanhoPagina(), 20);
    EXPECT_EQ(mapa.paginas(), 2);
    EXPECT_EQ(mapa.rotuloPagina(), u"(01/02)");
    EXPECT_FALSE(mapa.temAnterior());
    EXPECT_TRUE(mapa.temProxima());
    ASSERT_EQ(mapa.celulas().size(), 20);
    EXPECT_EQ(mapa.celulas().first().codcontrole, 1);
    EXPECT_EQ(mapa.posicaoRestaurada(17), 17);

    mapa.verificar(1);
    EXPECT_EQ(mapa.rotuloPagina(), u"(02/02)");
    ASSERT_EQ(mapa.celulas().size(), 5);
    EXPECT_EQ(mapa.celulas().first().codcontrole, 21);
    EXPECT_TRUE(mapa.temAnterior());
    EXPECT_FALSE(mapa.temProxima());
    // The selection stays on the page: the last cell of a shorter page, the first when none.
    EXPECT_EQ(mapa.posicaoRestaurada(17), 4);
    EXPECT_EQ(mapa.posicaoRestaurada(-1), 0);

    mapa.verificar(1); // past the last page: stays
    EXPECT_EQ(mapa.pagina(), 1);
    mapa.verificar(MapaMesas::kRecontar); // a full refresh goes back to the first page
    EXPECT_EQ(mapa.rotuloPagina(), u"(01/02)");

    // Twenty fit exactly on one page.
    t->executeSQL(QStringLiteral("delete from RES_CONTROLE where CODCONTROLE > 20"));
    mapa.verificar(MapaMesas::kRecontar);
    EXPECT_EQ(mapa.rotuloPagina(), u"(01/01)");
    EXPECT_FALSE(mapa.temProxima());
}

TEST(GradeMapa, WholeCellsThatFit) {
    EXPECT_EQ(MapaMesas::quantasCabem(480, 96), 5);
    EXPECT_EQ(MapaMesas::quantasCabem(479, 96), 4);
    EXPECT_EQ(MapaMesas::quantasCabem(50, 96), 1); // never an empty map
    EXPECT_EQ(MapaMesas::quantasCabem(500, 0), 1);
}

TEST(TotaisMesa, ProductsAndOrderWithTheServiceRoundedUp) {
    struct Caso {
        std::optional<Currency> total, acrescimo;
        const char* produtos;
        const char* pedido;
    };
    const Caso casos[] = {
        {Currency::fromString(u"57.35"), Currency(10), "57,35", "63,09"}, // 5,735 of service is 5,74
        {Currency::fromString(u"1234.5"), Currency(), "1.234,50", "1.234,50"},
        {Currency::fromString(u"-3"), Currency(10), "0,00", "0,00"},
        {Currency(100), Currency(-10), "100,00", "0,00"},
        {std::nullopt, Currency(10), "0,00", "0,00"},
        {Currency(100), std::nullopt, "100,00", "100,00"},
    };
    for (const Caso& c : casos) {
        const TotaisMesa t = totaisMesa(c.total, c.acrescimo);
        EXPECT_EQ(t.produtos, QString::fromLatin1(c.produtos));
        EXPECT_EQ(t.pedido, QString::fromLatin1(c.pedido));
    }
    EXPECT_EQ(rotuloMesa(7), u"007");
    EXPECT_EQ(rotuloMesa(1005), u"1005");
}

TEST(QuantidadeDigitada, OnlyPlainNumbersAreQuantities) {
    EXPECT_EQ(lerQuantidadeDigitada(QStringLiteral("2")), Currency(2));
    EXPECT_EQ(lerQuantidadeDigitada(QStringLiteral(" 1,5 ")), Currency::fromString(u"1.5"));
    EXPECT_EQ(lerQuantidadeDigitada(QStringLiteral("0.25")), Currency::fromString(u"0.25"));
    for (const char* ruim : {"", "abc", "1a", "-1", "1,2,3", "1.234,5", "+2"})
        EXPECT_FALSE(lerQuantidadeDigitada(QString::fromLatin1(ruim))) << ruim;
}
