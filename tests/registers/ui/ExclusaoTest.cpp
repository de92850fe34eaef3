#include "registers/ui/CadastroComum.h"
#include "framework/services/DAcesso.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class Exclusao : public ::testing::Test {
protected:
    void SetUp() override {
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME) values (1, 'Maria')"));
        t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME) values (2, 'Mercado')"));
        t->executeSQL(QStringLiteral("insert into CONTAS (CODCONTA, CODPESSOA, CON_DTVENC, CON_VLRPARCELA, CON_VLRTOTAL, "
                                     "CON_SALDO) values (1, 1, '2026-12-31', 10, 10, 10)"));
        outro = t.connectAgain();
    }
    void excluir(Database& db, int codigo) {
        cadastro::excluirOuDesativar(db, QStringLiteral("PESSOA"), QStringLiteral("CODPESSOA"), codigo,
                                     QStringLiteral("PES_ATIVO"));
    }
    QString ativo(int codigo) {
        return t->scalar(QStringLiteral("select PES_ATIVO from PESSOA where CODPESSOA = :C"), {{QStringLiteral("C"), codigo}})
            .toString();
    }
    test::TestDatabase t;
    test::ScriptedUi ui;
    std::unique_ptr<Database> outro;
};
} // namespace

// Only a reference from another table means "in use"; anything else changes nothing.
TEST_F(Exclusao, ALockConflictIsReportedAndNothingIsDeactivated) {
    for (int codigo : {1, 2}) {
        ui.clear();
        Transaction lendo(*outro); // this terminal began before the other one changed the row
        EXPECT_EQ(outro->scalar(QStringLiteral("select count(*) from PESSOA")).toInt(), 2);
        {
            Transaction alterando(t.db());
            t->executeSQL(QStringLiteral("update PESSOA set PES_NOME = PES_NOME || '.' where CODPESSOA = :C"),
                          {{QStringLiteral("C"), codigo}});
            alterando.commit();
        }
        EXPECT_THROW(excluir(*outro, codigo), Abort) << codigo;
        EXPECT_EQ(ui.lastMessage(),
                  u"Este registro está sendo alterado em outro terminal e não foi excluído. Tente novamente.")
            << codigo;
        lendo.rollback();
        EXPECT_EQ(ativo(codigo), u"S") << codigo;
    }
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PESSOA")).toInt(), 2);

    excluir(*outro, 1); // with nobody else at it: in use, so deactivated
    EXPECT_EQ(ui.lastMessage(), u"Este registro está em uso e não pode ser excluído: ele foi desativado.");
    EXPECT_EQ(ativo(1), u"N");
}

TEST_F(Exclusao, ALostConnectionIsReportedAndNothingIsDeactivated) {
    const qint64 conexao = outro->scalar(QStringLiteral("select current_connection from rdb$database")).toLongLong();
    // The server ends that terminal's connection (as a restart or a network failure would).
    t->executeSQL(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :A"), {{QStringLiteral("A"), conexao}});
    EXPECT_THROW(excluir(*outro, 1), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(
        QStringLiteral("A conexão com o banco de dados foi perdida e o registro não foi excluído.")))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(ativo(1), u"S");
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PESSOA")).toInt(), 2);
}
