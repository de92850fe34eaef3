#include "CommandRun.h"
#include "app/AdminCommand.h"
#include "app/DbCommand.h"
#include "app/ImportCommand.h"
#include "framework/services/DConfiguracao.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/Migrator.h"
#include "framework/services/DSeguranca.h"
#include "registers/DProduto.h"
#include "registers/ValidaDocumentos.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;

namespace {
test::CommandRun db(const QStringList& args) { return test::runCommand(runDbCommand, args); }
} // namespace

TEST(DbCommand, CreatesAnEmbeddedDatabaseInAnEmptyProgramFolderOnce) {
    const QString home = test::scratchFolder() + QStringLiteral("/home-create");
    setProgramFolder(home);
    test::CommandRun r = db({QStringLiteral("create")});
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
    // A product added in the demo gets a fresh code.
    EXPECT_GT(d.scalar(QStringLiteral("select gen_id(GEN_PRODUTO, 0) from RDB$DATABASE")).toLongLong(), 14);
    // The demo registers pass the checks of their screens, so they can be edited and saved.
    auto pessoas = d.query(QStringLiteral("select PES_NOME, PES_TIPO, PES_CPFCNPJ from PESSOA where PES_CPFCNPJ > ''"));
    EXPECT_GT(pessoas->recordCount(), 3);
    for (pessoas->first(); !pessoas->eof(); pessoas->next()) {
        const QString doc = pessoas->field(2).asString();
        EXPECT_TRUE(pessoas->field(1).asString() == u"J" ? documentos::cnpjValido(doc) : documentos::cpfValido(doc))
            << pessoas->field(0).asString().toStdString() << " " << doc.toStdString();
    }
    // ...and so do the products' units, composition and option groups.
    TdmProduto produtos(d);
    auto lista = d.query(QStringLiteral("select CODPRODUTO from PRODUTO"));
    EXPECT_GE(lista->recordCount(), 24); // a few dozen
    for (lista->first(); !lista->eof(); lista->next()) {
        const int codigo = int(lista->field(0).asInteger());
        EXPECT_NO_THROW(produtos.validarUnidades(*produtos.unidades(codigo))) << codigo;
        EXPECT_NO_THROW(produtos.validarComposicao(codigo, *produtos.composicao(codigo))) << codigo;
        EXPECT_NO_THROW(produtos.validarPersonalizacao(*produtos.personalizacao(codigo))) << codigo;
    }
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from PRODUTO p where PRO_PERSONALIZADO = 'S' and not exists "
                                      "(select 1 from PRODUTO_PERSONALIZACAO pp where pp.CODPRODUTO = p.CODPRODUTO)"))
                  .toInt(),
              0); // every product sold with options has its groups
    auto barras = d.query(QStringLiteral("select PRO_DESCRICAO, PRO_EAN13 from PRODUTO where PRO_EAN13 > ''"));
    for (barras->first(); !barras->eof(); barras->next())
        EXPECT_TRUE(documentos::codigoBarrasValido(barras->field(1).asString())) << barras->field(0).asString().toStdString();

    r = db({QStringLiteral("version")});
    const QString expected = QStringLiteral("versão do esquema: %1").arg(Migrator(d).latestVersion());
    EXPECT_TRUE(r.out.contains(expected)) << r.out.toStdString();
    setProgramFolder(QString());
}

TEST(DbCommand, ClearErrorsWithoutAConnectionFileOrAction) {
    setProgramFolder(test::scratchFolder() + QStringLiteral("/home-empty"));
    test::CommandRun r = db({QStringLiteral("migrate")});
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

TEST(ImportCommand, AllRowsOrNoneAndBadRowsNamed) {
    test::TestDatabase t;
    const QString bom = test::scratchFolder() + QStringLiteral("/produtos-bons.csv");
    const QString ruim = test::scratchFolder() + QStringLiteral("/produtos-ruins.csv");
    auto escrever = [](const QString& arquivo, const char* texto) {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    };
    escrever(bom, "PRO_CODPESQ_1;PRO_DESCRICAO;PRO_PRECO01;PRO_IMP_COZINHA\n"
                  "100;X-Burguer;25,90;S\n"
                  "101;Suco de Laranja 'natural';9.5;N\n");
    escrever(ruim, "pro_codpesq_1;pro_descricao;pro_preco01\n"
                   "200;Pastel;7,00\n"
                   "201;;8,00\n"
                   "202;Coxinha;abc\n"
                   "200;Repetido;1\n");
    auto r = importarCsv(t.db(), QStringLiteral("products"), ruim);
    EXPECT_EQ(r.importados, 0);
    ASSERT_EQ(r.erros.size(), 3);
    EXPECT_EQ(r.erros[0], u"linha 3: PRO_DESCRICAO deve ser informado");
    EXPECT_EQ(r.erros[1], u"linha 4: PRO_PRECO01 não é um valor: \"abc\"");
    EXPECT_TRUE(r.erros[2].startsWith(QStringLiteral("linha 5:"))) << r.erros[2].toStdString(); // duplicate code
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from PRODUTO")).toInt(), 0); // nothing half-written

    r = importarCsv(t.db(), QStringLiteral("products"), bom);
    EXPECT_TRUE(r.erros.isEmpty()) << r.erros.join(u'\n').toStdString();
    EXPECT_EQ(r.importados, 2);
    EXPECT_EQ(test::scalarMoney(t.db(), QStringLiteral("select PRO_PRECO01 from PRODUTO where PRO_CODPESQ_1 = '100'")),
              Currency::fromString(u"25.90"));
    EXPECT_EQ(t->scalar(QStringLiteral("select PRO_DESCRICAO from PRODUTO where PRO_CODPESQ_1 = '101'")).toString(),
              u"Suco de Laranja 'natural'");

    // Documents, barcodes and states as the register screens accept them.
    escrever(ruim, "PES_NOME;PES_TIPO;PES_CPFCNPJ;PES_UF\n"
                   "Maria;F;123.456.789-09;sp\n"
                   "Mercado;J;22333444000155;SP\n"
                   "José;F;12345678909;XX\n");
    r = importarCsv(t.db(), QStringLiteral("persons"), ruim);
    ASSERT_EQ(r.erros.size(), 2) << r.erros.join(u'\n').toStdString();
    EXPECT_EQ(r.erros[0], u"linha 3: PES_CPFCNPJ não é um CPF ou CNPJ válido: \"22333444000155\"");
    EXPECT_EQ(r.erros[1], u"linha 4: PES_UF não é uma UF: \"XX\"");
    escrever(ruim, "PES_NOME;PES_TIPO;PES_CPFCNPJ;PES_UF\nMercado;J;22333444000181;sp\n");
    r = importarCsv(t.db(), QStringLiteral("persons"), ruim);
    EXPECT_TRUE(r.erros.isEmpty()) << r.erros.join(u'\n').toStdString();
    EXPECT_EQ(t->scalar(QStringLiteral("select PES_CPFCNPJ || ' ' || PES_UF from PESSOA where PES_NOME = 'Mercado'")).toString(),
              u"22.333.444/0001-81 SP");
    escrever(ruim, "PRO_CODPESQ_1;PRO_DESCRICAO;PRO_EAN13\n300;Água;7891000315508\n");
    r = importarCsv(t.db(), QStringLiteral("products"), ruim);
    ASSERT_EQ(r.erros.size(), 1);
    EXPECT_EQ(r.erros[0], u"linha 2: PRO_EAN13 não é um código de barras válido: \"7891000315508\"");

    escrever(ruim, "PES_NOME;PES_APELIDO\nAna;Aninha\n");
    r = importarCsv(t.db(), QStringLiteral("persons"), ruim);
    ASSERT_EQ(r.erros.size(), 1);
    EXPECT_EQ(r.erros[0], u"linha 1: coluna desconhecida \"PES_APELIDO\"");
    EXPECT_THROW(importarCsv(t.db(), QStringLiteral("carros"), bom), DatabaseError);
}
