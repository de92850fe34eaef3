#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
class Services : public ::testing::Test {
protected:
    void SetUp() override { TdmAcesso::gerarInstance().usarConexao(t.db()); }
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
};
} // namespace

TEST_F(Services, ConfigurationKeepsStoredValuesAndReadsDefaults) {
    auto& cfg = TdmConfiguracao::gerarInstance();
    EXPECT_EQ(&cfg, &TdmConfiguracao::gerarInstance()); // one shared instance
    cfg.verificaConfiguracao(QStringLiteral("Restaurante"), QStringLiteral("REST.TOUCH"), QStringLiteral("TXT"),
                             QStringLiteral("N"), QStringLiteral("Usar o menu touch"));
    EXPECT_EQ(cfg.getStr(QStringLiteral("REST.TOUCH")), u"N");
    cfg.setValor(QStringLiteral("rest.touch"), QStringLiteral("S"));
    cfg.verificaConfiguracao(QStringLiteral("Restaurante"), QStringLiteral("REST.TOUCH"), QStringLiteral("TXT"),
                             QStringLiteral("N"), QStringLiteral("Usar o menu touch"));
    EXPECT_EQ(cfg.getStr(QStringLiteral("REST.TOUCH")), u"S"); // the stored value wins

    EXPECT_EQ(cfg.getStr(QStringLiteral("NINGUEM.REGISTROU")), u"");
    EXPECT_EQ(cfg.getInt(QStringLiteral("NINGUEM.REGISTROU"), 7), 7);
    cfg.verificaConfiguracao(QStringLiteral("G"), QStringLiteral("X.COLUNAS"), QStringLiteral("INT"), QStringLiteral("abc"), {});
    EXPECT_EQ(cfg.getInt(QStringLiteral("X.COLUNAS"), 40), 40);
    cfg.setValor(QStringLiteral("X.COLUNAS"), QStringLiteral("48"));
    EXPECT_EQ(cfg.getInt(QStringLiteral("X.COLUNAS"), 40), 48);
    cfg.verificaConfiguracao(QStringLiteral("G"), QStringLiteral("X.TAXA"), QStringLiteral("CUR"), QStringLiteral("10,5"), {});
    EXPECT_EQ(cfg.getCurr(QStringLiteral("X.TAXA")), Currency::fromString(u"10.5"));
    EXPECT_THROW(cfg.setValor(QStringLiteral("NAO.EXISTE"), QStringLiteral("1")), DatabaseError);
    EXPECT_EQ(cfg.listar(QStringLiteral("G")).size(), 2);
}

TEST_F(Services, ConfigurationChangedOnAnotherTerminalIsSeenWithoutARestart) {
    QDateTime agora(QDate(2026, 12, 6), QTime(9, 0));
    FixedClock relogio(agora);
    TdmConfiguracao caixa(t.db()), gerente(t.db()); // two terminals, each with its own cache
    caixa.registrarChaves();
    EXPECT_EQ(caixa.getStr(QStringLiteral("PDV.COD.PESQ")), u"N");
    gerente.setValor(QStringLiteral("PDV.COD.PESQ"), QStringLiteral("S"));
    Clock::setFixed(agora.addSecs(TdmConfiguracao::validadeCacheSegundos));
    EXPECT_EQ(caixa.getStr(QStringLiteral("PDV.COD.PESQ")), u"S");
    // A clock set back does not keep an old value alive either.
    gerente.setValor(QStringLiteral("PDV.COD.PESQ"), QStringLiteral("N"));
    Clock::setFixed(agora.addSecs(-60));
    EXPECT_EQ(caixa.getStr(QStringLiteral("PDV.COD.PESQ")), u"N");
}

TEST_F(Services, ATerminalsOwnFileOverridesTheShopsValueOnThatTerminalOnly) {
    QDateTime agora(QDate(2026, 12, 6), QTime(9, 0));
    FixedClock relogio(agora);
    QTemporaryDir pasta;
    const QString antes = programFolder();
    setProgramFolder(pasta.path());
    TdmConfiguracao garcom(t.db());
    garcom.registrarChaves();
    QFile ini(QDir(pasta.path()).filePath(QStringLiteral("terminal.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("; the waiters' terminal\n[Outra]\nREST.GARCON=S\n[Configuracao]\n rest.touch = S \nPDV.COD.PESQ=\n");
    ini.close();
    EXPECT_EQ(garcom.getStr(QStringLiteral("REST.TOUCH")), u"S");
    EXPECT_EQ(garcom.getStr(QStringLiteral("PDV.COD.PESQ")), u""); // given empty: off here
    EXPECT_EQ(garcom.getStr(QStringLiteral("REST.GARCON")), u"N"); // another section's line is not a key
    EXPECT_EQ(t->scalar(QStringLiteral("select CFG_VALOR from CONFIGURACAO where CFG_CHAVE = 'REST.TOUCH'")).toString(),
              u"N"); // the shop's value stays

    ASSERT_TRUE(ini.remove());
    Clock::setFixed(agora.addSecs(TdmConfiguracao::validadeCacheSegundos));
    EXPECT_EQ(garcom.getStr(QStringLiteral("REST.TOUCH")), u"N");
    setProgramFolder(antes);
}

TEST_F(Services, StartUpRegistersTheKeysTheScreensReadWithTheirDefaults) {
    TdmConfiguracao cfg(t.db());
    EXPECT_THROW(cfg.setValor(QStringLiteral("MULTI.EMPRESA"), QStringLiteral("S")), DatabaseError);
    cfg.registrarChaves();
    EXPECT_EQ(cfg.getStr(QStringLiteral("DAV.ALT.ITEM")), u"S"); // unset meant editable
    EXPECT_EQ(cfg.getStr(QStringLiteral("ECF.ID.CONF")), u"01");
    EXPECT_EQ(cfg.getInt(QStringLiteral("VND.GRP.SERV"), -1), 0);
    cfg.setValor(QStringLiteral("MULTI.EMPRESA"), QStringLiteral("S"));
    cfg.registrarChaves(); // the next start
    cfg.recarregar();
    EXPECT_EQ(cfg.getStr(QStringLiteral("MULTI.EMPRESA")), u"S");
}

TEST_F(Services, CashRegisterGivesTheBusinessDate) {
    TdmCaixaAbertura caixa(t.db(), true);
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(23, 50)));
    EXPECT_EQ(caixa.verificarCaixaAberto(false), 0);
    EXPECT_THROW(caixa.getDataAbertura(false), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Não há caixa aberto. Abra o caixa antes de continuar.");

    // Offered and opened by the screen layer.
    caixa.abrirInterativo = [&] { return caixa.abrir(QDate(2026, 12, 5), Currency(100), QStringLiteral("Ana")) > 0; };
    ui.answerYes();
    EXPECT_EQ(caixa.getDataAbertura(true), QDate(2026, 12, 5)); // the opening's date, not the calendar's
    const int codigo = caixa.verificarCaixaAberto(false);
    EXPECT_GT(codigo, 0);
    EXPECT_THROW(caixa.abrir(QDate(2026, 12, 6), Currency(0), QStringLiteral("Bia")), DatabaseError);
    caixa.fechar(Currency(250));
    EXPECT_EQ(caixa.verificarCaixaAberto(false), 0);
    EXPECT_THROW(caixa.fechar(Currency(0)), DatabaseError);

    TdmCaixaAbertura semAbertura(t.db(), false);
    EXPECT_EQ(semAbertura.getDataAbertura(false), QDate(2026, 12, 6));
}

TEST_F(Services, UsersPasswordsAndRights) {
    auto& seg = TdmSeguranca::gerarInstance();
    seg.criarGrupo(QStringLiteral("Garçons"));
    seg.criarUsuario(QStringLiteral("Administrador"), QStringLiteral("admin"), {}, true);
    seg.criarUsuario(QStringLiteral("joao"), QStringLiteral("s3nh@ 'x"), QStringLiteral("Garçons"));
    EXPECT_THROW(seg.criarUsuario(QStringLiteral("JOAO"), QStringLiteral("1"), {}), DatabaseError);

    const QString stored = t->scalar(QStringLiteral("select SEGU_SENHA from SEG_USUARIO where SEGU_NOME = 'joao'")).toString();
    EXPECT_EQ(stored.size(), 64);
    EXPECT_FALSE(stored.contains(QStringLiteral("s3nh"))); // never in clear

    const auto joao = seg.autenticar(QStringLiteral("Joao"), QStringLiteral("s3nh@ 'x"));
    ASSERT_TRUE(joao);
    EXPECT_EQ(joao->grupo, seg.grupo(QStringLiteral("Garçons")));
    EXPECT_FALSE(seg.autenticar(QStringLiteral("joao"), QStringLiteral("errada")));
    EXPECT_FALSE(seg.autenticar(QStringLiteral("' or '1'='1"), QStringLiteral("x")));
    EXPECT_FALSE(seg.autorizarSupervisor(QStringLiteral("joao"), QStringLiteral("s3nh@ 'x")));
    EXPECT_TRUE(seg.autorizarSupervisor(QStringLiteral("Administrador"), QStringLiteral("admin")));
    seg.alterarSenha(QStringLiteral("joao"), QStringLiteral("nova"));
    EXPECT_TRUE(seg.autenticar(QStringLiteral("joao"), QStringLiteral("nova")));

    seg.registrarMenu(QStringLiteral("mni_mov_dav"), QStringLiteral("DAV"));
    seg.registrarMenu(QStringLiteral("mni_mov_dav"), QStringLiteral("DAV")); // again: no duplicate
    seg.registrarMenu(QStringLiteral("mni_mov_prevenda"), QStringLiteral("Pré-Venda"));
    seg.concederAcesso(QStringLiteral("Garçons"), QStringLiteral("mni_mov_dav"));
    seg.concederAcesso(QStringLiteral("Garçons"), QStringLiteral("mni_mov_prevenda"), false);
    EXPECT_TRUE(seg.getAcesso(joao->grupo, QStringLiteral("joao"), QStringLiteral("mni_mov_dav")));
    EXPECT_FALSE(seg.getAcesso(joao->grupo, QStringLiteral("joao"), QStringLiteral("mni_mov_prevenda")));
    EXPECT_FALSE(seg.getAcesso(joao->grupo, QStringLiteral("joao"), QStringLiteral("mni_x' or '1'='1")));
    EXPECT_TRUE(seg.getAcesso(0, QStringLiteral("Administrador"), QStringLiteral("qualquer")));
    EXPECT_EQ(seg.menusPermitidos(joao->grupo), QSet<QString>{QStringLiteral("mni_mov_dav")});
}

TEST_F(Services, DataAccessCompanyLogTablesAndProcedures) {
    auto& acesso = TdmAcesso::gerarInstance();
    t->executeSQL(QStringLiteral("insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_UF, PARG_REGIME_TRIBUTARIO, "
                                 "PARG_VALOR_COUVERT, PARG_EMITE_NFE) values (1, 'Bar do Zé', 'SP', 'Simples Nacional', 12.5, 'S')"));
    const Empresa& e = acesso.empresa();
    EXPECT_EQ(e.razaoSocial, u"Bar do Zé");
    EXPECT_TRUE(e.simplesNacional());
    EXPECT_TRUE(e.emiteNFe);
    EXPECT_EQ(e.valorCouvert, Currency::fromString(u"12.5"));
    EXPECT_EQ(e.nomeMesa, u"Mesa");

    acesso.gerarLog(QStringLiteral("INUTILIZAR"), QStringLiteral("NFVENDA"), QStringLiteral("CODNFVENDA"),
                    QStringLiteral("0"), QStringLiteral("1-5"), QStringLiteral("texto"), QStringLiteral("resposta"),
                    QStringLiteral("Ana"));
    EXPECT_EQ(t->scalar(QStringLiteral("select LOG_OPERACAO || '/' || LOG_USUARIO from LOG_SISTEMA")).toString(),
              u"INUTILIZAR/Ana");

    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_EAN) values (1001, '78912345678901')"));
    EXPECT_EQ(acesso.getValidaMesaRestarante(QStringLiteral("78912345678901")), 1001);
    EXPECT_EQ(acesso.getValidaMesaRestarante(QStringLiteral("12")), 12);
    EXPECT_EQ(acesso.getValidaMesaRestarante(QStringLiteral("00000000000000")), 0);
    EXPECT_EQ(acesso.getValidaMesaRestarante(QStringLiteral("abc")), 0);

    EXPECT_EQ(acesso.parVenda().field(QStringLiteral("CODPARVENDA")).asInteger(), 1);
    EXPECT_EQ(acesso.parVenda().field(QStringLiteral("PARV_ECF")).asString(), u"N"); // CHAR comes unpadded
    t->executeSQL(QStringLiteral("insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_CONTROLE_NOME) values (1, 'Mesas')"));
    RecordSet& par = acesso.parRestaurante();
    EXPECT_EQ(&par, &acesso.parRestaurante()); // one shared row
    EXPECT_EQ(par.field(QStringLiteral("PARR_CONTROLE_NOME")).asString(), u"Mesas");

    t->executeSQL(QStringLiteral("create procedure SOMA (A integer, B integer) returns (S integer) as begin S = A + B; end"));
    EXPECT_EQ(acesso.executarProcedimento(QStringLiteral("SOMA"), {2, 40}).value(QStringLiteral("S")).toInt(), 42);
}
