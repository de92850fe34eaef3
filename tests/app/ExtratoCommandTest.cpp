// The support commands that build a bill without the preview.
#include "app/ExtratoCommand.h"
#include "app/DbCommand.h"
#include "CommandRun.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

// A program folder with a fresh database, table 12 with "Açaí" posted, and a
// counter order.
class ExtratoCommand : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::scratchFolder() + QStringLiteral("/home-extrato-") +
               QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        setProgramFolder(home);
        const test::CommandRun r = test::runCommand(runDbCommand, {QStringLiteral("create")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        db = std::make_unique<Database>(ConnectionSettings::fromProgramFolder());
        db->open();
        for (const char* sql : {
                 "insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (12, 'EM USO')",
                 "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values (10, '10', 'Açaí')",
                 "insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_QTDE_PESSOA) values (77, "
                 "12, 'ABERTO', current_timestamp, 1)",
                 "insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, PEDI_QTDE, PEDI_VLRUNIT, "
                 "PEDI_TOTAL, PEDI_STATUS) values (1, 77, 10, 2, 9.5, 19, 'NORMAL')",
                 "insert into PEDVENDA (CODPEDVENDA, PEDV_DATA_ENTRADA, PEDV_CONTATO) values (300, current_date, "
                 "'LUCAS')",
                 "insert into PEDVENDA_ITEM (CODPEDVENDAITEM, CODPEDVENDA, CODPRODUTO, PEDI_QTDE, PEDI_VLRUNIT) values "
                 "(1, 300, 10, 1, 9.5)",
             })
            db->executeSQL(QString::fromUtf8(sql));
    }
    void TearDown() override {
        db.reset();
        setProgramFolder({});
    }
    struct Saida {
        int code;
        QByteArray out;
        QString err;
    };
    template <class F>
    Saida run(F comando, const QStringList& args) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString err;
        QTextStream e(&err);
        const int code = comando(args, buffer, e);
        return {code, buffer.data(), err};
    }
    QString impresso() {
        return db->scalar(QStringLiteral("select PED_IMPRESSO from RES_PEDIDO where CODPEDIDO = 77")).toString();
    }

    QString home;
    std::unique_ptr<Database> db;
};

} // namespace

TEST_F(ExtratoCommand, TableBillGoesOutAsPrinterBytesAndMarksOnlyWhenAsked) {
    Saida r = run(runExtratoRestauranteCommand, {QStringLiteral("extrato"), QStringLiteral("12")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The printer's bytes: accents removed, CR LF line ends.
    EXPECT_TRUE(r.out.contains("MESA NR..........: 12\r\n"));
    const QByteArray linha = QByteArray("00010 Acai") + QByteArray(15 + 3, ' ') + "2 x 9,50" + QByteArray(4, ' ') + "19,00\r\n";
    EXPECT_TRUE(r.out.contains(linha));
    EXPECT_FALSE(r.out.contains("\xc3"));
    EXPECT_EQ(impresso(), u"N");

    const QString arquivo = home + QStringLiteral("/extrato.txt");
    r = run(runExtratoRestauranteCommand,
            {QStringLiteral("extrato"), QStringLiteral("12"), QStringLiteral("--saida"), arquivo, QStringLiteral("--marcar")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("TOTAL A PAGAR"));
    EXPECT_EQ(impresso(), u"S");

    // The next bill is a reprint, and says so.
    r = run(runExtratoRestauranteCommand, {QStringLiteral("extrato"), QStringLiteral("12")});
    EXPECT_TRUE(r.out.contains("*** REIMPRESSAO ***\r\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Aviso: Esse extrato é uma \"Reimpressão\".")));
}

TEST_F(ExtratoCommand, SaleOrderBillAndRefusals) {
    Saida r = run(runExtratoPedidoCommand,
                  {QStringLiteral("extrato"), QStringLiteral("300"), QStringLiteral("--balcao"), QStringLiteral("4")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("NOME.............: LUCAS\r\nBALCAO...........: 004\r\n"));

    r = run(runExtratoRestauranteCommand, {QStringLiteral("extrato"), QStringLiteral("13")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Não foi encontrado nenhuma movimentação para essa mesa!")));
    EXPECT_TRUE(r.out.isEmpty());

    r = run(runExtratoPedidoCommand, {QStringLiteral("extrato"), QStringLiteral("300"), QStringLiteral("--entrega"),
                                      QStringLiteral("--balcao"), QStringLiteral("4")});
    EXPECT_EQ(r.code, 2);
    r = run(runExtratoRestauranteCommand, {QStringLiteral("extrato"), QStringLiteral("doze")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("uso: kvo restaurante extrato MESA")));
}
