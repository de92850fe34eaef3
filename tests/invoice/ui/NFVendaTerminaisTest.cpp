// Two terminals saving new invoices through the invoice screen at once on
// one server database never take the same number.
#include "../NFVendaFixture.h"

#include "support/TestDatabase.h"

#include <QDir>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::test;

TEST(NFVendaTerminais, TwoScreensSavingInOneSeriesTakeDistinctNumbers) {
    if (!testServer())
        GTEST_SKIP() << "needs the test server (scripts/test starts it)";
    const QString arquivo = copyOfTemplate();
    const ConnectionSettings ajustes = serverSettings(arquivo);
    int seqAntes = 0;
    {
        Database db(ajustes);
        db.open();
        carregarCadastros(db);
        db.executeSQL(QStringLiteral("update PARAMETRO_NF set PARN_SERIE_PADRAO = '1'"));
        seqAntes = db.scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '1'")).toInt();
    }
    const QString home = scratchFolder() + QStringLiteral("/home-terminais");
    QDir().mkpath(home + QStringLiteral("/firebird-lock"));
    ajustes.writeFile(home + QStringLiteral("/KVOGestao.ini"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD_LOCK"), home + QStringLiteral("/firebird-lock"));
    env.insert(QStringLiteral("KVO_HOME"), home);
    QProcess a, b;
    for (QProcess* p : {&a, &b}) {
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(KVO_TERMINAL_NFVENDA), {home, QStringLiteral("100")});
    }
    QSet<QString> numeros;
    int linhas = 0;
    for (QProcess* p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(540000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        for (const QString& l : QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
            EXPECT_TRUE(l.endsWith(QStringLiteral(" 1"))) << l.toStdString();
            numeros.insert(l.trimmed());
            ++linhas;
        }
    }
    EXPECT_EQ(linhas, 200);
    EXPECT_EQ(numeros.size(), 200);
    Database db(ajustes);
    db.open();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct CODNFVENDA) from NFVENDA where CODSERIE = '1'")).toInt(), 200);
    EXPECT_EQ(db.scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '1'")).toInt(), seqAntes + 200);
}
