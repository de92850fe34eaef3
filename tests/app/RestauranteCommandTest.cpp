#include "app/RestauranteCommand.h"
#include "CommandRun.h"
#include "core/Paths.h"
#include "framework/db/ConnectionSettings.h"
#include "framework/services/DCaixaAbertura.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

void preparar(Database& db) {
    for (const char* sql : {
             "insert into RES_CONTROLE (CODCONTROLE, CON_COBRAR_SERVICO) values (5, 'S')",
             "insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (9, 'CANCELADO')",
             "insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_VLR_SERVICO) values (1, 10)",
             "insert into RES_GARCON (CODGARCON, GAR_NOME) values (1, 'JOAO')",
             "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_IMP_COZINHA, PRO_IMP_BAR, "
             "PRO_ESTQ_ATUAL) values (1, '1001', 'X-BURGUER', 24.90, 'S', 'S', 10)",
             "insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_IMP_COZINHA, PRO_IMP_BAR, "
             "PRO_ESTQ_ATUAL) values (2, '2001', 'REFRIGERANTE', 6.50, 'N', 'S', 100)",
         })
        db.executeSQL(QString::fromLatin1(sql));
    TdmCaixaAbertura(db).abrir(QDate::currentDate(), Currency(), QStringLiteral("caixa"));
}

class RestauranteCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ConnectionSettings s;
        s.path = t.path();
        s.writeFile(home.filePath(QStringLiteral("KVOGestao.ini")));
        setProgramFolder(home.path());
        preparar(t.db());
    }
    void TearDown() override { setProgramFolder({}); }

    test::CommandRun run(const QStringList& args) { return test::runCommand(runRestaurantePedidoCommand, args); }
    QString arquivo(const QByteArray& json) {
        const QString nome = home.filePath(QStringLiteral("itens%1.json").arg(++m_arquivos));
        QFile f(nome);
        f.open(QIODevice::WriteOnly);
        f.write(json);
        return nome;
    }
    QString pasta() const { return home.filePath(QStringLiteral("drive_c/KVO/pedidos")); }
    QStringList tickets() const { return QDir(pasta()).entryList({QStringLiteral("*.ped")}, QDir::Files, QDir::Name); }
    QString ticketsJuntos() const {
        QString todos;
        for (const QString& n : tickets()) {
            QFile f(QDir(pasta()).filePath(n));
            f.open(QIODevice::ReadOnly);
            todos += QString::fromUtf8(f.readAll());
        }
        return todos;
    }
    int contar(const char* sql) { return t->scalar(QString::fromLatin1(sql)).toInt(); }

    test::TestDatabase t;
    QTemporaryDir home;
    int m_arquivos = 0;
};

} // namespace

TEST_F(RestauranteCommand, PostsTheFileOnTheTableWithStockAndTickets) {
    const QString itens = arquivo(R"({"itens": [{"CODPESQUISA": "1001", "PEDI_QTDE": "2", "PEDI_OBS": "sem 'cebola'"},
                                               {"CODPESQUISA": "2001", "PEDI_QTDE": "1,5"}]})");
    const auto r = run({QStringLiteral("lancar"), QStringLiteral("5"), itens, QStringLiteral("--garcom"), QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const int pedido = t->scalar(QStringLiteral("select CODPEDIDO from RES_PEDIDO")).toInt();
    EXPECT_EQ(r.out, QStringLiteral("Pedido: %1\n").arg(pedido));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"59.55"));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PED_ACRESCIMO from RES_PEDIDO")), Currency(10));
    EXPECT_EQ(t->scalar(QStringLiteral("select list(PEDI_OBS) from RES_PEDIDO_ITEM where CODPRODUTO = 1")).toString(),
              u"sem 'cebola'");
    EXPECT_EQ(contar("select count(*) from RES_PEDIDO_ITEM where CODGARCON = 1"), 2);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 2")),
              Currency::fromString(u"98.5"));
    EXPECT_EQ(t->scalar(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 5")).toString(), u"EM USO");
    // Kitchen (the burger) and bar (both): two files, both there.
    EXPECT_EQ(tickets().size(), 2) << tickets().join(u' ').toStdString();
    EXPECT_EQ(ticketsJuntos().count(u"X-BURGUER"), 2);
    EXPECT_EQ(ticketsJuntos().count(u"REFRIGERANTE"), 1);

    // A second posting joins the same order.
    ASSERT_EQ(run({QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": [{"CODPESQUISA": "2001"}]})")}).code, 0);
    EXPECT_EQ(contar("select count(*) from RES_PEDIDO"), 1);
    EXPECT_EQ(tickets().size(), 3);
    // Part of an item: reduced, with a cancelled line (no production ticket, as the posting rule says).
    const int item = t->scalar(QStringLiteral("select CODPEDIDOITEM from RES_PEDIDO_ITEM where CODPRODUTO = 1")).toInt();
    const auto c = run({QStringLiteral("cancelar-item"), QString::number(pedido), QString::number(item), QStringLiteral("1"),
                        QStringLiteral("--motivo"), QStringLiteral("desistiu")});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    EXPECT_EQ(tickets().size(), 3);
    // A whole item: its station gets the cancellation.
    const int refri = t->scalar(QStringLiteral("select max(CODPEDIDOITEM) from RES_PEDIDO_ITEM where CODPRODUTO = 2 "
                                               "and PEDI_QTDE = 1")).toInt();
    ASSERT_EQ(run({QStringLiteral("cancelar-item"), QString::number(pedido), QString::number(refri), QStringLiteral("1")}).code, 0);
    EXPECT_EQ(tickets().size(), 4);
    EXPECT_EQ(ticketsJuntos().count(u"CANCELAMENTO DE ITEM"), 1);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"34.65"));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")), Currency(9));
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 2")),
              Currency::fromString(u"98.5"));
}

TEST_F(RestauranteCommand, BadInputIsRefusedAndChangesNothing) {
    const QString bom = arquivo(R"({"itens": [{"CODPESQUISA": "1001", "PEDI_QTDE": "1"}]})");
    const struct {
        QStringList args;
        int codigo;
        const char* mensagem;
    } casos[] = {
        {{QStringLiteral("lancar"), QStringLiteral("abc"), bom}, 1, "Informe um número de mesa válida!"},
        {{QStringLiteral("lancar"), QStringLiteral("9"), bom}, 1, "Mesa não está correta, tente novamente"},
        {{QStringLiteral("lancar"), QStringLiteral("77"), bom}, 1, "Mesa não está correta, tente novamente"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), bom, QStringLiteral("--garcom"), QStringLiteral("8")}, 1,
         "Não existe Garçon com este código!"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": [{"CODPESQUISA": "1001"},
                                                                              {"CODPESQUISA": "' or '1'='1"}]})")},
         1, "Produto não encontrado! (Cód. Pesquisa: ' or '1'='1)"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": [{"CODPESQUISA": "1001", "PEDI_QTDE": "dois"}]})")},
         1, "item 1: Quantidade invalida!"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": [{"CODPESQUISA": "1001", "PEDI_QTDE": "0"}]})")},
         1, "item 1: Quantidade invalida!"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": [)")}, 1, "inválido"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), arquivo(R"({"itens": []})")}, 1, "não tem itens"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), home.filePath(QStringLiteral("nao-existe.json"))}, 1,
         "Não foi possível abrir o arquivo"},
        {{QStringLiteral("lancar"), QStringLiteral("5")}, 2, "uso: kvo restaurante lancar"},
        {{QStringLiteral("lancar"), QStringLiteral("5"), bom, QStringLiteral("--motivo"), QStringLiteral("x")}, 2, "uso:"},
        {{QStringLiteral("cancelar-item"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("-1")}, 1,
         "Quantidade invalida!"},
        {{QStringLiteral("cancelar-item"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")}, 1,
         "Mesa não está aberta!"},
    };
    for (const auto& caso : casos) {
        const auto r = run(caso.args);
        EXPECT_EQ(r.code, caso.codigo) << caso.args.join(u' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(caso.mensagem))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_EQ(contar("select count(*) from RES_PEDIDO"), 0);
    EXPECT_EQ(contar("select count(*) from RES_PEDIDO_ITEM"), 0);
    EXPECT_EQ(contar("select count(*) from ESTOQUE_MOVIMENTO"), 0);
    EXPECT_TRUE(tickets().isEmpty());
}

TEST(RestauranteQuantidade, PointOrBrazilianDecimals) {
    EXPECT_EQ(lerQuantidade(QStringLiteral("2")), Currency(2));
    EXPECT_EQ(lerQuantidade(QStringLiteral("0.5")), Currency::fromString(u"0.5"));
    EXPECT_EQ(lerQuantidade(QStringLiteral("1,5")), Currency::fromString(u"1.5"));
    EXPECT_EQ(lerQuantidade(QStringLiteral("1.234,5")), Currency::fromString(u"1234.5"));
    for (const char* ruim : {"", "dois", "1,2,3", "1.2.3", "12,34.5", "1e3"})
        EXPECT_FALSE(lerQuantidade(QString::fromLatin1(ruim)).has_value()) << ruim;
}

// Two processes post on one table of a server database, 100 times each: every
// item is stored once, the stored total is the sum of the items, and every
// ticket file is there once.
TEST(RestauranteCommandTerminais, TwoProcessesPostingOnOneTableLoseNothing) {
    if (!test::testServer())
        GTEST_SKIP() << "KVO_TEST_SERVER not set: run through scripts/test";
    QTemporaryDir home;
    const QString path = test::copyOfTemplate();
    test::serverSettings(path).writeFile(home.filePath(QStringLiteral("KVOGestao.ini")));
    {
        Database db(test::serverSettings(path));
        db.open();
        preparar(db);
    }
    constexpr int kPostagens = 100;
    QList<QProcess*> processos;
    for (const char* terminal : {"A", "B"}) {
        for (int i = 1; i <= kPostagens; ++i) {
            QFile f(home.filePath(QStringLiteral("%1-%2.json").arg(QLatin1String(terminal)).arg(i)));
            f.open(QIODevice::WriteOnly);
            f.write(QStringLiteral(R"({"itens": [{"CODPESQUISA": "1001", "PEDI_OBS": "%1-%2"}]})")
                        .arg(QLatin1String(terminal))
                        .arg(i)
                        .toUtf8());
        }
        auto* p = new QProcess;
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"), QStringLiteral("for i in $(seq 1 %1); do \"%2\" --home \"%3\" restaurante lancar 5 "
                                                       "\"%3/%4-$i.json\" || echo FALHOU $i; done")
                                            .arg(kPostagens)
                                            .arg(QStringLiteral(KVO_COMMAND), home.path(), QLatin1String(terminal))});
        processos << p;
    }
    for (QProcess* p : processos) {
        ASSERT_TRUE(p->waitForFinished(600000));
        const QString saida = QString::fromUtf8(p->readAll());
        EXPECT_FALSE(saida.contains(u"FALHOU")) << saida.toStdString();
        EXPECT_EQ(saida.count(u"Pedido: "), kPostagens);
        delete p;
    }
    Database db(test::serverSettings(path));
    db.open();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from RES_PEDIDO")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM")).toInt(), 2 * kPostagens);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct PEDI_OBS) from RES_PEDIDO_ITEM")).toInt(), 2 * kPostagens);
    EXPECT_EQ(test::scalarMoney(db, QStringLiteral("select PED_TOTAL from RES_PEDIDO")),
              test::scalarMoney(db, QStringLiteral("select sum(PEDI_TOTAL) from RES_PEDIDO_ITEM where PEDI_STATUS = 'NORMAL'")));
    EXPECT_EQ(test::scalarMoney(db, QStringLiteral("select PED_TOTAL from RES_PEDIDO")), Currency::fromString(u"24.90") * Currency(2 * kPostagens));
    EXPECT_EQ(test::scalarMoney(db, QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 1")),
              Currency(10 - 2 * kPostagens));
    // Kitchen and bar: one file per station per posting, each posting's note in one file of each.
    const QDir pasta(home.filePath(QStringLiteral("drive_c/KVO/pedidos")));
    const QStringList arquivos = pasta.entryList({QStringLiteral("*.ped")}, QDir::Files);
    EXPECT_EQ(arquivos.size(), 4 * kPostagens);
    QHash<QString, int> vistos;
    static const QRegularExpression obs(QStringLiteral("([AB]-\\d+)"));
    for (const QString& n : arquivos) {
        QFile f(pasta.filePath(n));
        f.open(QIODevice::ReadOnly);
        const auto m = obs.match(QString::fromUtf8(f.readAll()));
        if (m.hasMatch())
            ++vistos[m.captured(1)];
    }
    EXPECT_EQ(vistos.size(), 2 * kPostagens);
    for (auto it = vistos.cbegin(); it != vistos.cend(); ++it)
        EXPECT_EQ(it.value(), 2) << it.key().toStdString();
    db.close();
    QFile::remove(path);
}
