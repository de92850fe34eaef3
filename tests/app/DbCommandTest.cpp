#include "app/AdminCommand.h"
#include "app/DbCommand.h"
#include "framework/services/DConfiguracao.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/services/DSeguranca.h"
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
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from SEG_USUARIO")).toInt(), 3);
    EXPECT_TRUE(TdmSeguranca(d).autenticar(QStringLiteral("Administrador"), QStringLiteral("admin")));

    r = db({QStringLiteral("version")});
    const QString expected = QStringLiteral("versão do esquema: %1").arg(Migrator(d).latestVersion());
    EXPECT_TRUE(r.out.contains(expected)) << r.out.toStdString();
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

TEST(AdminCommands, ConfigurationAndUsersFromTheCommandLine) {
    const QString home = test::scratchFolder() + QStringLiteral("/home-admin");
    setProgramFolder(home);
    ASSERT_EQ(db({QStringLiteral("create")}).code, 0);
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(runUserCommand({QStringLiteral("add"), QStringLiteral("ana"), QStringLiteral("segredo"), QStringLiteral("--grupo"),
                              QStringLiteral("Caixa")},
                             o, e),
              0);
    EXPECT_EQ(runUserCommand({QStringLiteral("add"), QStringLiteral("ana"), QStringLiteral("x")}, o, e), 1); // exists
    EXPECT_EQ(runUserCommand({QStringLiteral("passwd"), QStringLiteral("ana"), QStringLiteral("outra")}, o, e), 0);
    EXPECT_EQ(runUserCommand({QStringLiteral("apagar")}, o, e), 2);
    EXPECT_EQ(runConfigCommand({QStringLiteral("set"), QStringLiteral("NAO.HA"), QStringLiteral("1")}, o, e), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("não cadastrado"))) << err.toStdString();
    {
        Database d(ConnectionSettings::fromProgramFolder());
        d.open();
        EXPECT_TRUE(TdmSeguranca(d).autenticar(QStringLiteral("ana"), QStringLiteral("outra")));
        TdmConfiguracao(d).verificaConfiguracao(QStringLiteral("Restaurante"), QStringLiteral("REST.TOUCH"), QStringLiteral("TXT"),
                                                QStringLiteral("N"), {});
    }
    EXPECT_EQ(runConfigCommand({QStringLiteral("set"), QStringLiteral("rest.touch"), QStringLiteral("S")}, o, e), 0);
    out.clear();
    EXPECT_EQ(runConfigCommand({QStringLiteral("get"), QStringLiteral("REST.TOUCH")}, o, e), 0);
    EXPECT_EQ(out.trimmed(), u"S");
    setProgramFolder(QString());
}
