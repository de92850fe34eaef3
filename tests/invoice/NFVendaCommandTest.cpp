// The invoice commands: a draft handed in as a file ends up exactly as the
// same invoice typed through the data module, refused input leaves nothing,
// and two terminals importing at once never share a number.
#include "DoisTerminais.h"
#include "NFVendaFixture.h"

#include "app/NFVendaCommand.h"
#include "core/Paths.h"
#include "framework/db/ConnectionSettings.h"

#include "../app/CommandRun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>

using namespace kvo;
using namespace kvo::test;

namespace {

const char* const exemplo = R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "3"], ["CODCFOP", "5102"], ["NFV_TP_FRETE", "FOB"]],
 "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE_UND", "3"], ["NFVI_PERDESC", "10"]]],
 "servicos": [[["CODSERVICO", "1"], ["NFVS_QTDE", "2"], ["NFVS_VLR_UNITARIO", "50.00"]]]})";

QString escrever(const QString& nome, const QByteArray& conteudo) {
    const QString caminho = scratchFolder() + u'/' + nome;
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + caminho.toStdString());
    f.write(conteudo);
    return caminho;
}

// Keys and counters handed out one per invoice (number, generator keys, NF-e
// numeric code, fiscal seal) differ between two entries of the same invoice;
// everything else must not.
QJsonObject semChaves(QJsonObject o) {
    for (const char* chave : {"CODNFVENDA", "CODNFVENDAITEM", "CODNFVENDASERVICO", "NFV_CNF", "NFV_SELO_FISCAL"})
        o.remove(QLatin1String(chave));
    return o;
}

QJsonArray semChaves(const QJsonArray& linhas) {
    QJsonArray r;
    for (const QJsonValue& l : linhas)
        r.append(semChaves(l.toObject()));
    return r;
}

// The columns whose values differ, "COLUNA: a | b", readable in a failure.
std::string diferencas(const QJsonObject& a, const QJsonObject& b) {
    QStringList d;
    QStringList chaves = a.keys() + b.keys();
    chaves.removeDuplicates();
    for (const QString& k : chaves)
        if (a.value(k) != b.value(k))
            d << QStringLiteral("%1: %2 | %3").arg(k, a.value(k).toVariant().toString(), b.value(k).toVariant().toString());
    return d.join(QStringLiteral("; ")).toStdString();
}

std::string diferencas(const QJsonArray& a, const QJsonArray& b) {
    if (a.size() != b.size())
        return "linhas: " + std::to_string(a.size()) + " | " + std::to_string(b.size());
    std::string d;
    for (qsizetype i = 0; i < a.size(); ++i)
        d += diferencas(a[i].toObject(), b[i].toObject());
    return d;
}

class NFVendaCommand : public NFVendaFixture {
protected:
    NFVendaCommand() {
        home = scratchFolder() + QStringLiteral("/home-%1").arg(++contador);
        QDir().mkpath(home);
        ConnectionSettings s = t.db().settings();
        s.writeFile(home + QStringLiteral("/KVOGestao.ini"));
        setProgramFolder(home);
    }
    ~NFVendaCommand() override { setProgramFolder(QString()); }

    CommandRun kvo(const QStringList& args) { return runCommand(runNFVendaCommand, args); }
    int contar(const char* tabela) {
        return t->scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(tabela))).toInt();
    }
    int serSeq() { return t->scalar(QStringLiteral("select SER_SEQ from SERIE where CODSERIE = '1'")).toInt(); }

    QString home;
    static inline int contador = 0;
};

} // namespace

TEST_F(NFVendaCommand, ImportedDraftEqualsTheSameInvoiceTyped) {
    const CommandRun importado = kvo({QStringLiteral("importar"), escrever(QStringLiteral("exemplo.json"), exemplo)});
    ASSERT_EQ(importado.code, 0) << importado.err.toStdString();
    const QStringList numeroSerie = importado.out.trimmed().split(u' ');
    ASSERT_EQ(numeroSerie.size(), 2) << importado.out.toStdString();
    EXPECT_EQ(numeroSerie[1], QStringLiteral("1"));

    const CommandRun mostrado = kvo({QStringLiteral("mostrar"), numeroSerie[0], numeroSerie[1], QStringLiteral("--json")});
    ASSERT_EQ(mostrado.code, 0) << mostrado.err.toStdString();
    const QJsonObject lido = QJsonDocument::fromJson(mostrado.out.toUtf8()).object();

    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("3"));
    cabecalho("CODCFOP", QStringLiteral("5102"));
    cabecalho("NFV_TP_FRETE", QStringLiteral("FOB"));
    dm().novoItem();
    noItem("CODPESQUISA", QStringLiteral("1001"));
    noItem("NFVI_QTDE_UND", QStringLiteral("3"));
    noItem("NFVI_PERDESC", QStringLiteral("10"));
    dm().gravarItem();
    dm().novoServico();
    // A service of the register named in the file is its description, unit and price typed in.
    dm().setValorCampo(serv(), QStringLiteral("NFVS_DESCRICAO"), QStringLiteral("INSTALACAO"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_UNIDADE"), QStringLiteral("UN"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_VLR_UNITARIO"), QStringLiteral("50"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_QTDE"), QStringLiteral("2"));
    dm().setValorCampo(serv(), QStringLiteral("NFVS_VLR_UNITARIO"), QStringLiteral("50,00"));
    dm().gravarServico();
    const auto digitada = dm().gravarNFVenda();
    ASSERT_TRUE(dm().abrirNFVenda(digitada.numero, digitada.serie));
    const QJsonObject esperado = nfvendaComoJson(dm());

    EXPECT_EQ(diferencas(semChaves(lido[QStringLiteral("cabecalho")].toObject()), semChaves(esperado[QStringLiteral("cabecalho")].toObject())), "");
    EXPECT_EQ(diferencas(semChaves(lido[QStringLiteral("itens")].toArray()), semChaves(esperado[QStringLiteral("itens")].toArray())), "");
    EXPECT_EQ(diferencas(semChaves(lido[QStringLiteral("servicos")].toArray()), semChaves(esperado[QStringLiteral("servicos")].toArray())), "");
    // The columns themselves: every stored one, amounts with four decimals.
    const QJsonObject item = lido[QStringLiteral("itens")].toArray().at(0).toObject();
    EXPECT_EQ(item[QStringLiteral("NFVI_QTDE")].toString(), QStringLiteral("3.0000"));
    EXPECT_EQ(item[QStringLiteral("NFVI_TOTAL_DESCONTO")].toString(), QStringLiteral("0.6000"));
    EXPECT_EQ(item[QStringLiteral("NFVI_TOTAL")].toString(), QStringLiteral("5.4000"));
    EXPECT_EQ(lido[QStringLiteral("cabecalho")].toObject()[QStringLiteral("NFV_TOTAL_NOTA")].toString(), QStringLiteral("5.4000"));
    EXPECT_TRUE(item.contains(QStringLiteral("NFVI_ICMS_BASE")));
    EXPECT_FALSE(item.contains(QStringLiteral("PRO_DESCRICAO"))) << "a joined column is not stored";
}

TEST_F(NFVendaCommand, RefusedInputSaysWhyAndLeavesNothing) {
    struct Caso {
        const char* nome;
        const char* json;
        const char* mensagem;
    } casos[] = {
        {"codigo desconhecido",
         R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "1"], ["CODCFOP", "5102"]],
             "itens": [[["CODPESQUISA", "9999"], ["NFVI_QTDE_UND", "1"]]]})",
         "Produto não encontrado"},
        {"quantidade abc",
         R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "1"], ["CODCFOP", "5102"]],
             "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE_UND", "abc"]]]})",
         "item 1, NFVI_QTDE_UND = \"abc\""},
        {"cliente inexistente",
         R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "999"], ["CODCFOP", "5102"]],
             "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE_UND", "1"]]]})",
         "recusado em cabecalho, CODPESSOA = \"999\""},
        {"sem cliente",
         R"({"cabecalho": [["CODSERIE", "1"], ["CODCFOP", "5102"]],
             "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE_UND", "1"]]]})",
         "O campo Cliente deve ser informado."},
        {"servico desconhecido",
         R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "1"], ["CODCFOP", "5102"]],
             "servicos": [[["CODSERVICO", "77"]]]})",
         "Serviço não encontrado: 77"},
        {"coluna desconhecida", R"({"cabecalho": [["CODSERIE", "1"], ["NFV_NAO_EXISTE", "1"]]})", "coluna desconhecida"},
        {"json quebrado", R"({"cabecalho": [["CODSERIE", "1"],)", "não é um JSON válido"},
    };
    const int seq = serSeq();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        const CommandRun r = kvo({QStringLiteral("importar"), escrever(QStringLiteral("ruim.json"), caso.json)});
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(caso.mensagem))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(contar("NFVENDA"), 0);
        EXPECT_EQ(contar("NFVENDA_ITEM"), 0);
        EXPECT_EQ(contar("NFVENDA_SERVICO"), 0);
        EXPECT_EQ(serSeq(), seq);
    }
}

TEST_F(NFVendaCommand, RecalculateRestoresStoredTotalsOfAnOpenInvoiceOnly) {
    const CommandRun importado = kvo({QStringLiteral("importar"), escrever(QStringLiteral("exemplo.json"), exemplo)});
    ASSERT_EQ(importado.code, 0) << importado.err.toStdString();
    const QStringList ns = importado.out.trimmed().split(u' ');
    sql(QStringLiteral("update NFVENDA_ITEM set NFVI_TOTAL = 1, NFVI_ICMS = 99"));
    sql(QStringLiteral("update NFVENDA set NFV_TOTAL_NOTA = 1, NFV_TOTAL_PRODUTOS = 1"));

    const CommandRun r = kvo({QStringLiteral("recalcular"), ns[0], ns[1]});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(scalarMoney(t.db(), QStringLiteral("select NFVI_TOTAL from NFVENDA_ITEM")), c("5.4"));
    EXPECT_EQ(scalarMoney(t.db(), QStringLiteral("select NFV_TOTAL_NOTA from NFVENDA")), c("5.4"));
    EXPECT_TRUE(r.out.contains(QStringLiteral("NFV_TOTAL_NOTA\t5.4000"))) << r.out.toStdString();

    sql(QStringLiteral("update NFVENDA set NFV_STATUS = 'Faturada', NFV_TOTAL_NOTA = 1"));
    const CommandRun faturada = kvo({QStringLiteral("recalcular"), ns[0], ns[1]});
    EXPECT_NE(faturada.code, 0);
    EXPECT_TRUE(faturada.err.contains(QStringLiteral("não está aberta"))) << faturada.err.toStdString();
    EXPECT_EQ(scalarMoney(t.db(), QStringLiteral("select NFV_TOTAL_NOTA from NFVENDA")), c("1"));

    const CommandRun inexistente = kvo({QStringLiteral("mostrar"), QStringLiteral("77"), QStringLiteral("1")});
    EXPECT_NE(inexistente.code, 0);
    EXPECT_TRUE(inexistente.err.contains(QStringLiteral("não encontrada"))) << inexistente.err.toStdString();
    EXPECT_EQ(kvo({QStringLiteral("mostrar"), QStringLiteral("x")}).code, 2);
}

// Two terminals, one series, 100 invoices each, through the real program.
TEST(NFVendaCommandServer, TwoProcessesImportingIntoOneSeriesNeverShareANumber) {
    if (!testServer())
        GTEST_SKIP() << "needs the test server (scripts/test starts it)";
    const DoisTerminais terminais = DoisTerminais::preparar(QStringLiteral("home-servidor"));
    QStringList arquivos;
    for (int i = 0; i < 100; ++i)
        arquivos << escrever(QStringLiteral("nota-%1.json").arg(i), exemplo);
    const QStringList linhas = terminais.rodar(
        QStringLiteral(KVO_COMMAND),
        QStringList{QStringLiteral("--home"), terminais.home, QStringLiteral("nfvenda"), QStringLiteral("importar")} +
            arquivos,
        300000);
    terminais.conferirDuzentas(linhas);
}

// Billing, reopening and deleting from the command line: what was stored is
// printed, a refusal exits non-zero with the message.
TEST_F(NFVendaCommand, BillReopenAndDeletePrintWhatWasStored) {
    const CommandRun importado = kvo({QStringLiteral("importar"), escrever(QStringLiteral("faturar.json"), exemplo)});
    ASSERT_EQ(importado.code, 0) << importado.err.toStdString();
    const QStringList ns = importado.out.trimmed().split(u' ');
    const auto faturar = [&](QStringList extra = {}) { return kvo(QStringList{QStringLiteral("faturar"), ns[0], ns[1]} + extra); };

    const CommandRun semForma = faturar();
    EXPECT_EQ(semForma.code, 1);
    EXPECT_TRUE(semForma.err.contains(QStringLiteral("Sem forma de pagamento!!"))) << semForma.err.toStdString();

    sql(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS) values (1, 'A vista', 1)"));
    sql(QStringLiteral("update NFVENDA set CODFORMAPAGAMENTO = 1, NFV_TOTAL_NOTA = 100"));
    EXPECT_EQ(faturar({QStringLiteral("--parcelas"), QStringLiteral("0")}).code, 2);
    const CommandRun faturado = faturar({QStringLiteral("--parcelas"), QStringLiteral("2"), QStringLiteral("--dias=30")});
    ASSERT_EQ(faturado.code, 0) << faturado.err.toStdString();
    const QStringList linhas = faturado.out.trimmed().split(u'\n');
    ASSERT_EQ(linhas.size(), 3) << faturado.out.toStdString();
    EXPECT_EQ(linhas[0], ns[0] + u' ' + ns[1] + QStringLiteral(" Faturada"));
    EXPECT_TRUE(linhas[1].endsWith(QStringLiteral("\t50.00"))) << linhas[1].toStdString();
    EXPECT_EQ(t->scalar(QStringLiteral("select list(CON_DTVENC - NFV_DTEMISSAO) from CONTAS join NFVENDA on "
                                       "NFVENDA.CODNFVENDA = CONTAS.CODNFVENDA"))
                  .toString(),
              u"30,60");

    const CommandRun denovo = faturar();
    EXPECT_EQ(denovo.code, 1);
    EXPECT_TRUE(denovo.err.contains(QStringLiteral("Erro ao faturar a NF. Erro: "))) << denovo.err.toStdString();
    EXPECT_EQ(contar("CONTAS"), 2);

    const CommandRun excluirFaturada = kvo({QStringLiteral("excluir"), ns[0], ns[1]});
    EXPECT_EQ(excluirFaturada.code, 1);
    EXPECT_TRUE(excluirFaturada.err.contains(QStringLiteral("Esta Nota Fiscal não pode ser excluída."))) << excluirFaturada.err.toStdString();

    const CommandRun reaberta = kvo({QStringLiteral("reabrir"), ns[0], ns[1]});
    ASSERT_EQ(reaberta.code, 0) << reaberta.err.toStdString();
    EXPECT_EQ(reaberta.out.trimmed(), ns[0] + u' ' + ns[1] + QStringLiteral(" Aberta"));

    sql(QStringLiteral("update PAR_GERAL set PARG_SENHA_EXCLUSAO = 'segredo'"));
    qunsetenv("KVO_SENHA");
    const CommandRun semSenha = kvo({QStringLiteral("excluir"), ns[0], ns[1]});
    EXPECT_EQ(semSenha.code, 1);
    EXPECT_TRUE(semSenha.err.contains(QStringLiteral("Por favor digite uma senha!!"))) << semSenha.err.toStdString();
    qputenv("KVO_SENHA", "segredo");
    const CommandRun excluida = kvo({QStringLiteral("excluir"), ns[0], ns[1]});
    qunsetenv("KVO_SENHA");
    ASSERT_EQ(excluida.code, 0) << excluida.err.toStdString();
    EXPECT_EQ(excluida.out.trimmed(), ns[0] + u' ' + ns[1] + QStringLiteral(" Excluída"));
}

// Two terminals billing the same invoices at the same moment, through the
// real program: each invoice is billed once and its stock moves once.
TEST(NFVendaCommandServer, TwoProcessesBillingTheSameInvoiceBillItOnce) {
    if (!testServer())
        GTEST_SKIP() << "needs the test server (scripts/test starts it)";
    constexpr int notas = 6;
    const DoisTerminais terminais = DoisTerminais::preparar(QStringLiteral("home-servidor-faturar"), [](Database& db) {
        db.executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO) values (1, 'A vista')"));
        db.executeSQL(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 100 where CODPRODUTO = 10"));
        for (int n = 1; n <= notas; ++n) {
            db.executeSQL(QStringLiteral("insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_DTEMISSAO, "
                                         "NFV_TOTAL_NOTA, CODFORMAPAGAMENTO, NFV_BAIXA_ESTOQUE) values "
                                         "(%1, '1', 1, '5102', current_date, 10, 1, 'S')").arg(n));
            db.executeSQL(QStringLiteral("insert into NFVENDA_ITEM (CODNFVENDAITEM, CODNFVENDA, CODSERIE, CODPRODUTO, "
                                         "NFVI_CATEGORIA, NFVI_QTDE, NFVI_QTDE_UND, NFVI_CST_IPI) values (%1, %1, '1', 10, 'Produto', 5, 5, '53')")
                              .arg(n));
        }
    });
    const ConnectionSettings& ajustes = terminais.ajustes;
    const QString& home = terminais.home;
    const QProcessEnvironment& env = terminais.env;
    for (int n = 1; n <= notas; ++n) {
        QProcess a, b;
        for (QProcess* p : {&a, &b}) {
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(KVO_COMMAND), {QStringLiteral("--home"), home, QStringLiteral("nfvenda"),
                                                   QStringLiteral("faturar"), QString::number(n), QStringLiteral("1")});
        }
        int faturou = 0;
        for (QProcess* p : {&a, &b}) {
            ASSERT_TRUE(p->waitForFinished(120000));
            const QString err = QString::fromUtf8(p->readAllStandardError());
            if (p->exitCode() == 0)
                ++faturou;
            else
                EXPECT_TRUE(err.contains(QStringLiteral("Erro ao faturar a NF."))) << err.toStdString();
        }
        EXPECT_EQ(faturou, 1) << "invoice " << n;
    }
    Database db(ajustes);
    db.open();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from NFVENDA where NFV_STATUS = 'Faturada'")).toInt(), notas);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ESTOQUE_MOVIMENTO")).toInt(), notas);
    EXPECT_EQ(scalarMoney(db, QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 10")),
              Currency(100 - 5 * notas));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CONTAS where CON_STATUS = 'ABERTA'")).toInt(), notas);
}

TEST_F(NFVendaCommand, XmlOfASavedInvoice) {
    sql(QStringLiteral("update PAR_GERAL set PARG_ENDERECO = 'RUA A', PARG_NUMERO = '1', PARG_BAIRRO = 'CENTRO', "
                       "PARG_CIDADE = 'SAO PAULO', PARG_COD_MUNICIPIO = 3550308, PARG_CEP = '01001000' where CODEMPRESA = 1"));
    sql(QStringLiteral("update PESSOA set PES_CPFCNPJ = '11444777000161', PES_ENDERECO = 'AV B', PES_BAIRRO = 'SE', "
                       "PES_CIDADE = 'SAO PAULO' where CODPESSOA = 1"));
    sql(QStringLiteral("update PRODUTO set PRO_CST = '000' where CODPRODUTO = 10"));
    const QByteArray nota = R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "1"], ["CODCFOP", "5102"]],
                               "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE", "3"]]]})";
    const CommandRun importado = kvo({QStringLiteral("importar"), escrever(QStringLiteral("xml.json"), nota)});
    ASSERT_EQ(importado.code, 0) << importado.err.toStdString();
    const QStringList ns = importado.out.trimmed().split(u' ');

    // The assembly stops with its message and a non-zero exit.
    const CommandRun semMunicipios = kvo({QStringLiteral("xml"), ns[0], ns[1]});
    EXPECT_NE(semMunicipios.code, 0);
    EXPECT_TRUE(semMunicipios.err.contains(QStringLiteral("Arquivo de municípios não encontrado"))) << semMunicipios.err.toStdString();

    QDir(home).mkpath(QStringLiteral("MunIBGE"));
    QFile mun(home + QStringLiteral("/MunIBGE/MunIBGE-UF35.txt"));
    ASSERT_TRUE(mun.open(QIODevice::WriteOnly));
    mun.write("3550308;SAO PAULO\n");
    mun.close();
    const QString arquivo = home + QStringLiteral("/nota.xml");
    const CommandRun r = kvo({QStringLiteral("xml"), ns[0], ns[1], QStringLiteral("--out"), arquivo});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray xml = f.readAll();
    EXPECT_TRUE(xml.startsWith("<NFe xmlns=\"http://www.portalfiscal.inf.br/nfe\">")) << xml.left(200).toStdString();
    EXPECT_TRUE(xml.contains(QByteArray("<nNF>" + ns[0].toLatin1() + "</nNF>")));
    EXPECT_TRUE(xml.contains("<vNF>6.00</vNF>")) << xml.toStdString();
    EXPECT_EQ(kvo({QStringLiteral("xml"), ns[0], ns[1], QStringLiteral("--json")}).code, 2);
}
