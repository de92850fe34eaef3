// Rows of the central print queue: claimed by one connection only, marked
// printed, returned as reprints after a stop, listed while waiting.
#include "framework/db/Database.h"
#include "printservice/FonteFila.h"
#include "printservice/Pendentes.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kvo;
using namespace kvo::impressao;

namespace {

qint64 postar(Database& db, const QString& centralizador, const QString& texto, int mesa = 5) {
    return db.scalar(QStringLiteral("select CODRESIMPRESSAO from STP_REST_IMPRESSAO(:U, :C, :T, :M, :TI)"),
                     {{QStringLiteral("U"), QStringLiteral("caixa")},
                      {QStringLiteral("C"), centralizador},
                      {QStringLiteral("T"), texto},
                      {QStringLiteral("M"), mesa},
                      {QStringLiteral("TI"), QStringLiteral("LANÇAMENTOS DE 1 PRODUTOS")}})
        .toLongLong();
}

QString status(Database& db, qint64 id) {
    return db.scalar(QStringLiteral("select IMP_STATUS from RES_IMPRESSAO where CODRESIMPRESSAO = :I"), {{QStringLiteral("I"), id}})
        .toString()
        .trimmed();
}

} // namespace

TEST(FonteFila, TwoInstancesRacingNeverClaimTheSameRow) {
    test::TestDatabase t;
    constexpr int kLinhas = 60;
    for (int i = 0; i < kLinhas; ++i)
        postar(t.db(), QStringLiteral("COZINHA"), QStringLiteral("PÃO %1").arg(i));
    postar(t.db(), QStringLiteral("BAR"), QStringLiteral("AÇAÍ"));
    const ConnectionSettings conexao = t->settings();
    QStringList vistos[2];
    std::string erros[2];
    auto instancia = [&](int n) {
        try {
            Database db(conexao);
            db.open();
            FonteFila f(db, QStringLiteral("COZINHA"), QStringLiteral("I%1").arg(n), 120);
            for (int vazios = 0; vazios < 3;) {
                const auto tk = f.reivindicar();
                if (!tk) {
                    ++vazios;
                    continue;
                }
                vazios = 0;
                EXPECT_TRUE(tk->texto.startsWith(u"PÃO "));
                EXPECT_EQ(tk->mesa, 5);
                vistos[n] << tk->id;
                f.impresso(*tk, QStringLiteral("tcp:127.0.0.1:9100"));
            }
        } catch (const std::exception& e) {
            erros[n] = e.what();
        }
    };
    std::thread a(instancia, 0), b(instancia, 1);
    a.join();
    b.join();
    EXPECT_EQ(erros[0], "");
    EXPECT_EQ(erros[1], "");
    QStringList todos = vistos[0] + vistos[1];
    EXPECT_EQ(todos.size(), kLinhas);
    todos.removeDuplicates();
    EXPECT_EQ(todos.size(), kLinhas) << "a row was claimed twice";
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_IMPRESSAO where IMP_STATUS = 'IMPRESSO' and "
                                       "IMP_DATA_IMPRESSO is not null and IMP_VIAS = 1"))
                  .toInt(),
              kLinhas);
    const auto pend = pendentesFila(t.db());
    ASSERT_EQ(pend.size(), 1);
    EXPECT_EQ(pend[0].estacao, QStringLiteral("BAR"));
    EXPECT_EQ(pend[0].mesa, 5);
    EXPECT_EQ(pend[0].titulo, QStringLiteral("LANÇAMENTOS DE 1 PRODUTOS"));
}

TEST(FonteFila, AClaimLostToAStopComesBackMarkedAKnownFailureDoesNot) {
    test::TestDatabase t;
    const qint64 um = postar(t.db(), QStringLiteral("COZINHA"), QStringLiteral("UM"));
    const qint64 dois = postar(t.db(), QStringLiteral("COZINHA"), QStringLiteral("DOIS"));
    {
        FonteFila f(t.db(), QStringLiteral("COZINHA"), QStringLiteral("A"), 120);
        ASSERT_EQ(f.reivindicar()->id.toLongLong(), um); // stopped while sending
        EXPECT_EQ(status(t.db(), um), QStringLiteral("IMPRIMINDO"));
        auto t2 = f.reivindicar();
        ASSERT_EQ(t2->id.toLongLong(), dois);
        f.falhou(*t2, QStringLiteral("Impressora tcp:x não respondeu"), false);
    }
    FonteFila outra(t.db(), QStringLiteral("COZINHA"), QStringLiteral("B"), 120);
    outra.recuperar();
    EXPECT_EQ(status(t.db(), um), QStringLiteral("IMPRIMINDO")) << "instance A may still be alive";
    FonteFila a(t.db(), QStringLiteral("COZINHA"), QStringLiteral("A"), 120);
    a.recuperar();
    auto r = a.reivindicar();
    ASSERT_EQ(r->id.toLongLong(), um);
    EXPECT_TRUE(r->reimpressao);
    auto r2 = a.reivindicar();
    ASSERT_EQ(r2->id.toLongLong(), dois);
    EXPECT_FALSE(r2->reimpressao);
    EXPECT_EQ(r2->tentativas, 1);
    EXPECT_GE(r2->falhandoHaSegundos, 0);
    a.falhou(*r2, QStringLiteral("conexão caiu no meio"), true);
    auto r3 = a.reivindicar();
    ASSERT_EQ(r3->id.toLongLong(), dois);
    EXPECT_TRUE(r3->reimpressao);
    EXPECT_EQ(r3->tentativas, 2);
}

TEST(FonteFila, StationsWaitingOverAMinuteAndReprintByNumber) {
    test::TestDatabase t;
    const qint64 velho = postar(t.db(), QStringLiteral("COZINHA"), QStringLiteral("UM"));
    postar(t.db(), QStringLiteral("BAR"), QStringLiteral("DOIS"));
    t->executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_DATA = dateadd(-90 second to current_timestamp) "
                                 "where CODRESIMPRESSAO = :I"),
                  {{QStringLiteral("I"), velho}});
    EXPECT_EQ(estacoesComAtraso(t.db()), QStringList{QStringLiteral("COZINHA")});
    EXPECT_EQ(estacoesComAtraso(pendentesFila(t.db())), QStringList{QStringLiteral("COZINHA")});

    ConfigImpressao cfg;
    EXPECT_THROW(reimprimir(cfg, &t.db(), QString::number(velho)), std::runtime_error) << "not printed yet";
    EXPECT_THROW(reimprimir(cfg, &t.db(), QStringLiteral("999")), std::runtime_error);
    FonteFila f(t.db(), QStringLiteral("COZINHA"), QStringLiteral("A"), 120);
    f.impresso(*f.reivindicar(), QStringLiteral("x"));
    EXPECT_TRUE(estacoesComAtraso(t.db()).isEmpty());
    EXPECT_FALSE(reimprimir(cfg, &t.db(), QString::number(velho)).isEmpty());
    auto r = f.reivindicar();
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->reimpressao);
}
