#include "app/AdminCommand.h"
#include "app/DbCommand.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/ChavesConfiguracao.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

namespace {
struct Saida {
    int code;
    QString out, err;
};
template <class Comando>
Saida rodar(Comando comando, const QStringList& args) {
    Saida r{};
    QTextStream out(&r.out), err(&r.err);
    r.code = comando(args, out, err);
    return r;
}
} // namespace

TEST(ConfigCommand, KeysTheScreensReadCanBeSetOnADatabaseJustCreated) {
    setProgramFolder(test::scratchFolder() + QStringLiteral("/home-config"));
    Saida r = rodar(runDbCommand, {QStringLiteral("create")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    r = rodar(runConfigCommand, {QStringLiteral("set"), QStringLiteral("MULTI.EMPRESA"), QStringLiteral("S")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = rodar(runConfigCommand, {QStringLiteral("get"), QStringLiteral("multi.empresa")});
    EXPECT_EQ(r.out.trimmed(), u"S");
    r = rodar(runConfigCommand, {QStringLiteral("get"), QStringLiteral("ECF.ID.CONF")});
    EXPECT_EQ(r.out.trimmed(), u"01"); // the default the reading screen takes for an unset key

    r = rodar(runConfigCommand, {QStringLiteral("list")});
    ASSERT_EQ(r.code, 0);
    for (const ChaveConfiguracao& c : chavesRegistradas())
        EXPECT_TRUE(r.out.contains(u'\t' + QString::fromUtf8(c.chave) + u'\t')) << c.chave;
    // A key nobody registers is still refused.
    EXPECT_EQ(rodar(runConfigCommand, {QStringLiteral("set"), QStringLiteral("NAO.EXISTE"), QStringLiteral("S")}).code, 1);

    // Registering again keeps what was set.
    r = rodar(runConfigCommand, {QStringLiteral("get"), QStringLiteral("MULTI.EMPRESA")});
    EXPECT_EQ(r.out.trimmed(), u"S");
}
