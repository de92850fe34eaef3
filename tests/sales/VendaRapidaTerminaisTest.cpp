#include "VendaRapidaFixture.h"

#include "sales/DVendaRapida.h"

#include <QTemporaryDir>

#include <latch>
#include <thread>

using namespace kvo;
using namespace kvo::test;

namespace {

using DoisTerminaisVendaRapida = VendaRapidaFixture;

QString erroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const Abort& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST_F(DoisTerminaisVendaRapida, TheSecondTerminalToCloseATableIsToldAndPrintsNothing) {
    lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    auto conexao = t.connectAgain();
    TdmConfiguracao cfgOutro(*conexao);
    TdmVendaRapida outro(*conexao, cfgOutro);
    TdmVendaRapida aqui(t.db(), cfg());
    QTemporaryDir pastaOutro;
    auto ecfOutro = novaImpressora(pastaOutro.path(), std::make_shared<RecordingTarget>());
    for (TdmVendaRapida* v : {&aqui, &outro}) {
        v->carregarMesa(1);
        v->adicionarPagamento(1, cur("30.00"));
    }
    outro.fechar(*ecfOutro);
    EXPECT_EQ(erroDe([&] { aqui.fechar(*ecf); }), u"Mesa já foi fechada em outro terminal.");
    EXPECT_EQ(ecf->estado().coo, 0);
    EXPECT_EQ(ecfOutro->estado().ccf, 1);
    EXPECT_EQ(contar(QStringLiteral("select count(*) from PEDECF")), 1);
}

// An item posted elsewhere after the screen read the table would be missing
// from the coupon: the closing stops before printing.
TEST_F(DoisTerminaisVendaRapida, ItemsPostedElsewhereAfterLoadingStopTheClosing) {
    const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(1)}});
    TdmVendaRapida aqui(t.db(), cfg());
    aqui.carregarMesa(1);
    aqui.adicionarPagamento(1, cur("30.00"));
    {
        auto conexao = t.connectAgain();
        TdmResPedido outro(*conexao);
        lancar(1, {{QStringLiteral("2001"), Currency(1)}}, &outro);
    }
    EXPECT_EQ(erroDe([&] { aqui.fechar(*ecf); }),
              u"A mesa foi alterada em outro terminal. Carregue a mesa novamente antes de fechar.");
    EXPECT_EQ(ecf->estado().coo, 0);
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"ABERTO");
    // Loaded again, both items are on the coupon.
    aqui.carregarMesa(1);
    EXPECT_EQ(aqui.itens().size(), 2);
    aqui.adicionarPagamento(1, cur("40.00"));
    aqui.fechar(*ecf);
    EXPECT_EQ(contar(QStringLiteral("select count(*) from PEDECF_ITEM")), 2);
}

// Two terminals press F10 on each of tables 1 to 3 at the same moment, each
// on its own connection and printer: exactly one coupon and one PEDECF per
// table, the other terminal told.
namespace {
void corrida(const std::function<std::unique_ptr<Database>()>& conectar, Database& conferir) {
    QTemporaryDir pastas[2];
    std::unique_ptr<EmulatedFiscalPrinter> impressoras[2];
    for (int i = 0; i < 2; ++i)
        impressoras[i] = VendaRapidaFixture::novaImpressora(pastas[i].path(), std::make_shared<RecordingTarget>());
    for (int mesa : {1, 2, 3}) {
        std::latch largada(2);
        QString erros[2];
        auto terminal = [&](int i) {
            auto conexao = conectar();
            TdmConfiguracao c(*conexao);
            TdmVendaRapida v(*conexao, c);
            v.carregarMesa(mesa);
            v.adicionarPagamento(2, v.falta());
            largada.arrive_and_wait();
            erros[i] = erroDe([&] { v.fechar(*impressoras[i]); });
        };
        std::thread a(terminal, 0), b(terminal, 1);
        a.join();
        b.join();
        const QStringList ditos{erros[0], erros[1]};
        EXPECT_EQ(ditos.count(QString()), 1) << mesa << qPrintable(ditos.join(u'|'));
        EXPECT_EQ(ditos.count(QStringLiteral("Mesa já foi fechada em outro terminal.")), 1)
            << mesa << qPrintable(ditos.join(u'|'));
        EXPECT_EQ(conferir.scalar(QStringLiteral("select count(*) from PEDECF p join RES_PEDIDO r on r.CODPEDIDO = "
                                                 "p.CODPEDIDO where r.CODCONTROLE = %1").arg(mesa)).toInt(),
                  1);
    }
    EXPECT_EQ(impressoras[0]->estado().ccf + impressoras[1]->estado().ccf, 3);
    EXPECT_EQ(impressoras[0]->estado().cancelamentos + impressoras[1]->estado().cancelamentos, 0);
    EXPECT_EQ(impressoras[0]->estado().grandeTotal + impressoras[1]->estado().grandeTotal,
              scalarMoney(conferir, QStringLiteral("select sum(PECF_TOTAL) from PEDECF")));
    EXPECT_EQ(conferir.scalar(QStringLiteral("select count(*) from RES_CONTROLE where CON_STATUS = 'LIVRE' and "
                                             "CODCONTROLE in (1, 2, 3)")).toInt(),
              3);
}
} // namespace

TEST_F(DoisTerminaisVendaRapida, ClosingTheSameTableAtOnceGivesExactlyOneCoupon) {
    for (int mesa : {1, 2, 3})
        lancar(mesa, {{QStringLiteral("1001"), Currency(1)}, {QStringLiteral("2001"), Currency(2)}});
    corrida([this] { return t.connectAgain(); }, t.db());
}

// The same on the shop's arrangement: terminals reaching a Firebird server.
TEST_F(DoisTerminaisVendaRapida, ClosingTheSameTableAtOnceOnTheServer) {
    if (!testServer())
        GTEST_SKIP() << "sem servidor de teste (scripts/test o inicia)";
    const ConnectionSettings ajustes = serverSettings(copyOfTemplate());
    Database servidor(ajustes);
    servidor.open();
    for (const char* sql : {
             "insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (2, 'Cartão de crédito', '03')",
             "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) values (1, '1001', "
             "'X-BURGUER', 24.90)",
         })
        servidor.executeSQL(QString::fromUtf8(sql));
    for (int mesa : {1, 2, 3}) {
        servidor.executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (%1, 'EM USO')")
                                .arg(mesa));
        servidor.executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, "
                                           "PED_TOTAL) values (%1, %1, 'ABERTO', current_timestamp, 49.80)")
                                .arg(mesa));
        servidor.executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, "
                                           "CODPESQUISA, PEDI_QTDE, PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS) values "
                                           "(%1, %1, 1, '1001', 2, 24.90, 49.80, 'NORMAL')")
                                .arg(mesa));
    }
    TdmConfiguracao(servidor).registrarChaves();
    corrida([&] {
        auto db = std::make_unique<Database>(ajustes);
        db->open();
        return db;
    }, servidor);
    EXPECT_EQ(scalarMoney(servidor, QStringLiteral("select sum(PECF_TOTAL) from PEDECF")), cur("149.40"));
}
