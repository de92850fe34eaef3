#include "app/DbCommand.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
struct CommandRun {
    int code;
    QString out, err;
};
CommandRun db(const QStringList& args) {
    CommandRun r{};
    QTextStream out(&r.out), err(&r.err);
    r.code = runDbCommand(args, out, err);
    return r;
}
} // namespace

TEST(DbCommand, CreatesAnEmbeddedDatabaseInAnEmptyProgramFolderOnce) {
    const QString home = test::scratchFolder() + QStringLiteral("/home-create");
    setProgramFolder(home);
    CommandRun r = db({QStringLiteral("create")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/KVOGestao.ini")));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/dados/KVOGESTAO.FDB")));

    r = db({QStringLiteral("create")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("já existe"))) << r.err.toStdString();

    r = db({QStringLiteral("migrate")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("(0 migração(ões) aplicada(s))"))) << r.out.toStdString();

    EXPECT_EQ(db({QStringLiteral("demo")}).code, 0);
    EXPECT_EQ(db({QStringLiteral("demo")}).code, 0); // again: no duplicate rows
    Database d(ConnectionSettings::fromProgramFolder());
    d.open();
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from PAR_GERAL")).toInt(), 1);

    r = db({QStringLiteral("version")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("versão do esquema: 1"))) << r.out.toStdString();
    setProgramFolder(QString());
}

TEST(DbCommand, ClearErrorsWithoutAConnectionFileOrAction) {
    setProgramFolder(test::scratchFolder() + QStringLiteral("/home-empty"));
    CommandRun r = db({QStringLiteral("migrate")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Arquivo de conexão não encontrado"))) << r.err.toStdString();
    EXPECT_EQ(db({QStringLiteral("apagar")}).code, 2);
    setProgramFolder(QString());
}
