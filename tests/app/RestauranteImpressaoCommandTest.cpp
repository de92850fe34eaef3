#include "app/RestauranteImpressaoCommand.h"
#include "CommandRun.h"
#include "app/DbCommand.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "support/TestDatabase.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// A program folder with a fresh database, an open table 12 with one item and
// the sale parameters asking for the (emulated) fiscal printer.
class RestauranteImpressaoCommand : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::scratchFolder() + QStringLiteral("/home-restaurante-") +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        setProgramFolder(home);
        const test::CommandRun r = test::runCommand(runDbCommand, {QStringLiteral("create")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        db = std::make_unique<Database>(ConnectionSettings::fromProgramFolder());
        db->open();
        db->executeSQL(QStringLiteral("update or insert into PAR_VENDA (CODPARVENDA, PARV_ECF) values (1, 'S') "
                                      "matching (CODPARVENDA)"));
        db->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (12, 'LIVRE')"));
        db->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) "
                                      "values (10, '10', 'Moqueca')"));
        db->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA) "
                                      "values (77, 12, 'ABERTO', current_timestamp)"));
        db->executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, PEDI_QTDE, "
                                      "PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS) values (1, 77, 10, 1, 89, 89, 'NORMAL')"));
    }
    void TearDown() override {
        db.reset();
        setProgramFolder({});
    }
    test::CommandRun run(const QStringList& args) { return test::runCommand(runRestauranteImpressaoCommand, args); }

    QString home;
    std::unique_ptr<Database> db;
};

} // namespace

TEST_F(RestauranteImpressaoCommand, TableCheckPrintsAndShowsTheStampedValues) {
    const test::CommandRun r = run({QStringLiteral("conferencia"), QStringLiteral("12")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    auto p = db->query(QStringLiteral("select PED_COO, PED_MD5, PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = 77"));
    EXPECT_TRUE(r.out.contains(QStringLiteral("PED_COO: %1").arg(p->field(QStringLiteral("PED_COO")).asInteger())));
    EXPECT_TRUE(r.out.contains(QStringLiteral("PED_MD5: ") + p->field(QStringLiteral("PED_MD5")).asString()));
    EXPECT_EQ(p->field(QStringLiteral("PED_IMPRESSO")).asString(), u"S");
    EXPECT_EQ(QDir(home + QStringLiteral("/ecf/impressao")).entryList(QDir::Files).size(), 1);
}

TEST_F(RestauranteImpressaoCommand, RefusalsExitNonZeroWithTheMessageAndChangeNothing) {
    test::CommandRun r = run({QStringLiteral("conferencia"), QStringLiteral("99")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"Controle não encontrado! (Controle=99)")) << r.err.toStdString();
    r = run({QStringLiteral("conferencia"), QStringLiteral("doze")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(u"Número de mesa inválido: doze"));
    r = run({QStringLiteral("ticket-teste"), QStringLiteral("SALAO")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(u"Estação desconhecida: SALAO"));

    db->executeSQL(QStringLiteral("update PAR_VENDA set PARV_ECF = 'N'"));
    r = run({QStringLiteral("conferencia"), QStringLiteral("12")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(u"Impressora (ECF) não disponível!"));
    EXPECT_EQ(db->scalar(QStringLiteral("select PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = 77")).toString(), u"N");
}

TEST_F(RestauranteImpressaoCommand, TestTicketGoesToTheStationsTarget) {
    const test::CommandRun r = run({QStringLiteral("ticket-teste"), QStringLiteral("bar")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList arquivos = QDir(home + QStringLiteral("/drive_c/KVO/pedidos")).entryList(QDir::Files);
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_TRUE(arquivos.first().startsWith(u"PED_"));
    EXPECT_TRUE(r.out.contains(arquivos.first()));

    db->executeSQL(QStringLiteral("update or insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_IMP_BAR) "
                                  "values (1, :p) matching (CODPARRESTAURANTE)"),
                   {{QStringLiteral("p"), QString(home + QStringLiteral("/nao/existe/lpt1"))}});
    const test::CommandRun falha = run({QStringLiteral("ticket-teste"), QStringLiteral("BAR")});
    EXPECT_EQ(falha.code, 1);
    EXPECT_TRUE(falha.err.contains(u"Não foi possivel imprimir o pedido:")) << falha.err.toStdString();
    EXPECT_TRUE(falha.err.contains(u"TESTE DE IMPRESSAO"));
}
