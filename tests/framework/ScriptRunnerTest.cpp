#include "framework/db/ScriptRunner.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

TEST(ScriptSplit, TerminatorsCommentsQuotesAndBodies) {
    const QString script = QStringLiteral(
        "set sql dialect 3;\n"
        "-- a comment; with a semicolon\n"
        "create table T (A integer, B varchar(20));\n"
        "insert into T values (1, 'x;y''z');\n"
        "commit;\n"
        "set term ^ ;\n"
        "create procedure P returns (N integer) as\n"
        "begin\n"
        "  /* body; with ; inside */\n"
        "  N = 1;\n"
        "  suspend;\n"
        "end^\n"
        "set term ; ^\n"
        "insert into T values (2, 'fim');");
    const auto st = splitScript(script);
    ASSERT_EQ(st.size(), 5);
    EXPECT_EQ(st[0].sql, u"create table T (A integer, B varchar(20))");
    EXPECT_EQ(st[0].line, 3);
    EXPECT_EQ(st[1].sql, u"insert into T values (1, 'x;y''z')");
    EXPECT_TRUE(st[2].commit);
    EXPECT_TRUE(st[3].sql.startsWith(QStringLiteral("create procedure P")));
    EXPECT_TRUE(st[3].sql.contains(QStringLiteral("suspend;\nend")));
    EXPECT_EQ(st[3].line, 7);
    EXPECT_EQ(st[4].sql, u"insert into T values (2, 'fim')");
}

TEST(ScriptRun, ProceduresRunAndErrorsNameTheLine) {
    kvo::test::TestDatabase t;
    runScript(t.db(),
              QStringLiteral("create table T (A integer);\ncommit;\n"
                             "set term ^ ;\n"
                             "create procedure DOBRO (X integer) returns (Y integer) as\n"
                             "begin\n  Y = :X * 2;\n  suspend;\nend^\n"
                             "set term ; ^\n"
                             "insert into T values (5);\n"),
              QStringLiteral("teste.sql"));
    EXPECT_EQ(t->scalar(QStringLiteral("select Y from DOBRO(21)")).toInt(), 42);
    EXPECT_EQ(t->scalar(QStringLiteral("select A from T")).toInt(), 5);
    try {
        runScript(t.db(), QStringLiteral("insert into T values (6);\n\ninsert into NADA values (1);"),
                  QStringLiteral("ruim.sql"));
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("ruim.sql, linha 3:"))) << e.what();
        EXPECT_EQ(e.sql(), u"insert into NADA values (1)");
    }
}
