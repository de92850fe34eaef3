// Two terminals saving new invoices through the invoice screen at once on
// one server database never take the same number.
#include "../DoisTerminais.h"

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::test;

TEST(NFVendaTerminais, TwoScreensSavingInOneSeriesTakeDistinctNumbers) {
    if (!testServer())
        GTEST_SKIP() << "needs the test server (scripts/test starts it)";
    const DoisTerminais terminais = DoisTerminais::preparar(QStringLiteral("home-terminais"), [](Database& db) {
        db.executeSQL(QStringLiteral("update PARAMETRO_NF set PARN_SERIE_PADRAO = '1'"));
    });
    const QStringList linhas =
        terminais.rodar(QStringLiteral(KVO_TERMINAL_NFVENDA), {terminais.home, QStringLiteral("100")}, 540000);
    for (const QString& l : linhas)
        EXPECT_TRUE(l.endsWith(QStringLiteral(" 1"))) << l.toStdString();
    terminais.conferirDuzentas(linhas);
}
