#include "app/AdminCommand.h"
#include "CommandRun.h"
#include "app/DbCommand.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/DSeguranca.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

namespace {
test::CommandRun user(const QStringList& args) { return test::runCommand(runUserCommand, args); }
QStringList words(const char* text) { return QString::fromUtf8(text).split(u' '); }
} // namespace

// Options may stand anywhere; with the password in KVO_SENHA none of them is taken for it.
TEST(UserCommand, OptionsAreParsedAndThePasswordComesFromTheEnvironment) {
    const QString home = test::scratchFolder() + QStringLiteral("/home-user");
    setProgramFolder(home);
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        ASSERT_EQ(runDbCommand({QStringLiteral("create")}, o, e), 0) << err.toStdString();
    }
    qputenv("KVO_SENHA", "segredo");
    test::CommandRun r = user(words("add joao --supervisor"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    r = user(words("add --supervisor maria --grupo Caixa"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(user(words("add pedro --grupo=Garçons")).code, 0);
    EXPECT_EQ(user(words("add rui -- --x")).code, 0); // "--" lets a password start with dashes

    // Refused as usage errors, nothing created.
    r = user(words("add ze --admin"));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("opção desconhecida: --admin"))) << r.err.toStdString();
    EXPECT_EQ(user(words("add ze --grupo")).code, 2);
    EXPECT_EQ(user(words("add ze um dois")).code, 2);
    EXPECT_EQ(user(words("passwd joao --supervisor")).code, 2);
    qunsetenv("KVO_SENHA");
    EXPECT_EQ(user(words("add ze --supervisor")).code, 2); // no password anywhere

    Database d(ConnectionSettings::fromProgramFolder());
    d.open();
    TdmSeguranca seg(d);
    const auto joao = seg.autenticar(QStringLiteral("joao"), QStringLiteral("segredo"));
    ASSERT_TRUE(joao);
    EXPECT_TRUE(joao->supervisor);
    EXPECT_FALSE(seg.autenticar(QStringLiteral("joao"), QStringLiteral("--supervisor")));
    const auto maria = seg.autenticar(QStringLiteral("maria"), QStringLiteral("segredo"));
    ASSERT_TRUE(maria);
    EXPECT_TRUE(maria->supervisor);
    EXPECT_EQ(d.scalar(QStringLiteral("select g.SEGG_NOME from SEG_USUARIO u join SEG_USU_GRUPO g on "
                                      "g.CODSEGUSUGRUPO = u.CODSEGUSUGRUPO where u.SEGU_NOME = 'maria'"))
                  .toString(),
              u"Caixa");
    const auto pedro = seg.autenticar(QStringLiteral("pedro"), QStringLiteral("segredo"));
    ASSERT_TRUE(pedro);
    EXPECT_FALSE(pedro->supervisor);
    EXPECT_TRUE(seg.autenticar(QStringLiteral("rui"), QStringLiteral("--x")));
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from SEG_USUARIO where SEGU_NOME = 'ze'")).toInt(), 0);
    setProgramFolder(QString());
}
