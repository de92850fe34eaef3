#include "app/AdminCommand.h"
#include "CommandRun.h"
#include "app/DbCommand.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/ChavesConfiguracao.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

TEST(ConfigCommand, KeysTheScreensReadCanBeSetOnADatabaseJustCreated) {
    setProgramFolder(test::scratchFolder() + QStringLiteral("/home-config"));
    test::CommandRun r = test::runCommand(runDbCommand, {QStringLiteral("create")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    r = test::runCommand(runConfigCommand, {QStringLiteral("set"), QStringLiteral("MULTI.EMPRESA"), QStringLiteral("S")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = test::runCommand(runConfigCommand, {QStringLiteral("get"), QStringLiteral("multi.empresa")});
    EXPECT_EQ(r.out.trimmed(), u"S");
    r = test::runCommand(runConfigCommand, {QStringLiteral("get"), QStringLiteral("ECF.ID.CONF")});
    EXPECT_EQ(r.out.trimmed(), u"01"); // the default the reading screen takes for an unset key
    r = test::runCommand(runConfigCommand, {QStringLiteral("get"), QStringLiteral("NFV.TP.FRETE")});
    EXPECT_EQ(r.out.trimmed(), u"FOB"); // the invoice keys, before any invoice screen opened

    r = test::runCommand(runConfigCommand, {QStringLiteral("list")});
    ASSERT_EQ(r.code, 0);
    for (const ChaveConfiguracao& c : chavesRegistradas())
        EXPECT_TRUE(r.out.contains(u'\t' + QString::fromUtf8(c.chave) + u'\t')) << c.chave;
    // A key nobody registers is still refused.
    EXPECT_EQ(test::runCommand(runConfigCommand, {QStringLiteral("set"), QStringLiteral("NAO.EXISTE"), QStringLiteral("S")}).code, 1);

    // Registering again keeps what was set.
    r = test::runCommand(runConfigCommand, {QStringLiteral("get"), QStringLiteral("MULTI.EMPRESA")});
    EXPECT_EQ(r.out.trimmed(), u"S");
}
