// The NF-e commands of an invoice: a whole life cycle, their refusals, and a
// transmission killed between sending and storing, settled by the next call.
#include "CicloNFeFixture.h"

#include "../nfe/NFeFixtures.h"

#include "app/NFVendaCommand.h"
#include "core/Paths.h"
#include "framework/db/ConnectionSettings.h"

#include "../app/CommandRun.h"
#include "../sendmail/LeitorMime.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QThread>

#include <csignal>

using namespace kvo;
using namespace kvo::test;

#define PRECISA_AUTORIDADE()                                                                                          \
    if (!fixturesProntas)                                                                                             \
    GTEST_SKIP() << "NF-e schemas or demo certificate not available in the data cache"

namespace {

class CicloComandos : public NFVendaCiclo {
protected:
    CicloComandos() {
        ConnectionSettings s = t.db().settings();
        s.writeFile(home.filePath(QStringLiteral("KVOGestao.ini")));
    }
    CommandRun kvo(const QStringList& args) { return runCommand(runNFVendaCommand, args); }
    QString n1(int n, const char* acao) { return QStringLiteral("%1 %2").arg(QLatin1String(acao)).arg(n); }
};

} // namespace

TEST_F(CicloComandos, WholeLifeCycle) {
    PRECISA_AUTORIDADE();
    const int n = notaSalva();
    const QString num = QString::number(n), um = QStringLiteral("1");
    ASSERT_EQ(kvo({QStringLiteral("faturar"), num, um}).code, 0);

    const CommandRun tx = kvo({QStringLiteral("transmitir"), num, um});
    ASSERT_EQ(tx.code, 0) << tx.err.toStdString();
    const QString nprot = texto(n, "NFV_NFE_NPROT");
    EXPECT_TRUE(tx.out.contains(QStringLiteral("protocolo\t") + nprot)) << tx.out.toStdString();
    EXPECT_TRUE(tx.err.contains(QStringLiteral("NF-e enviada com sucesso!")));
    const CommandRun outra = kvo({QStringLiteral("transmitir"), num, um});
    EXPECT_TRUE(outra.out.contains(QStringLiteral("já autorizada"))) << outra.out.toStdString();
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);

    const QString pdf = home.filePath(QStringLiteral("danfe.pdf"));
    const CommandRun danfe = kvo({QStringLiteral("danfe"), num, um, QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(danfe.code, 0) << danfe.err.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(4) == "%PDF");

    // The shop's mailer, here a script that keeps the arguments it was given.
    const QString argsFile = home.filePath(QStringLiteral("argumentos.txt"));
    QFile mailer(home.filePath(QStringLiteral("KVOSendMail")));
    ASSERT_TRUE(mailer.open(QIODevice::WriteOnly));
    mailer.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n").arg(argsFile).toUtf8());
    mailer.close();
    mailer.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    sql(QStringLiteral("update PESSOA set PES_EMAIL = 'transporte@carga.com.br' where CODPESSOA = 4"));
    sql(QStringLiteral("update NFVENDA set CODTRANSPORTADORA = 4"));
    const CommandRun email = kvo({QStringLiteral("email"), num, um});
    ASSERT_EQ(email.code, 0) << email.err.toStdString();
    ASSERT_TRUE(dm().abrirNFVenda(n, um));
    const QString base = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso());
    const QString esperado = QStringLiteral("compras@cliente.com.br, transporte@carga.com.br|Nf-e %1|%2-nfe.xml,%2.pdf|text|"
                                            "Seguem em anexo os arquivos da NF-e.")
                                 .arg(n)
                                 .arg(base);
    QDeadlineTimer prazo(5000);
    while (!QFile::exists(argsFile) && !prazo.hasExpired())
        QThread::msleep(20);
    QFile args(argsFile);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()).trimmed(), esperado);
    EXPECT_TRUE(QFile::exists(base + QStringLiteral("-nfe.xml")));
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".pdf")));

    const CommandRun cce = kvo({QStringLiteral("cce"), num, um, QStringLiteral("--texto"),
                                QStringLiteral("Quantidade correta: 5 caixas")});
    ASSERT_EQ(cce.code, 0) << cce.err.toStdString();
    EXPECT_TRUE(cce.out.contains(QStringLiteral("carta de correção 1\t135\t"))) << cce.out.toStdString();

    const CommandRun canc = kvo({QStringLiteral("cancelar"), num, um, QStringLiteral("--justificativa"),
                                 QStringLiteral("Cliente desistiu da compra")});
    ASSERT_EQ(canc.code, 0) << canc.err.toStdString();
    EXPECT_TRUE(canc.out.startsWith(QStringLiteral("%1 1 Cancelada").arg(n))) << canc.out.toStdString();
    EXPECT_TRUE(canc.out.contains(QStringLiteral("protocolo do cancelamento\t")));
}

// The same steps on the real tools: the printed barcode read back by a
// scanner program, the real mailer delivering to the local receiver over TLS.
TEST_F(CicloComandos, TheDanfeBarcodeReadsTheKeyAndTheMailArrivesWithBothFiles) {
    PRECISA_AUTORIDADE();
    using nfe::test::executar;
    using nfe::test::programaDisponivel;
    if (!programaDisponivel(QStringLiteral("zbarimg")) || !programaDisponivel(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "zbar-tools or poppler-utils is not installed";
    const int n = notaSalva();
    const QString num = QString::number(n), um = QStringLiteral("1");
    ASSERT_EQ(kvo({QStringLiteral("faturar"), num, um}).code, 0);
    const CommandRun tx = kvo({QStringLiteral("transmitir"), num, um});
    ASSERT_EQ(tx.code, 0) << tx.err.toStdString();
    ASSERT_TRUE(dm().abrirNFVenda(n, um));
    const QString chave = dm().GetChaveAcesso();
    ASSERT_TRUE(tx.out.contains(QStringLiteral("chave\t") + chave)) << tx.out.toStdString();

    const QString pdf = home.filePath(QStringLiteral("danfe.pdf"));
    ASSERT_EQ(kvo({QStringLiteral("danfe"), num, um, QStringLiteral("--pdf"), pdf}).code, 0);
    const QString png = home.filePath(QStringLiteral("danfe"));
    ASSERT_EQ(executar(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-f"),
                                                    QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                    QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png}),
              0);
    QString lido;
    EXPECT_EQ(executar(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), png + QStringLiteral(".png")},
                       &lido),
              0);
    EXPECT_TRUE(lido.split(u'\n').contains(chave)) << lido.toStdString();

    QProcess inicio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVO_SMTP_LOCAL"), QStringLiteral(KVO_SMTP_LOCAL));
    env.insert(QStringLiteral("KVO_SENDMAIL"), QStringLiteral(KVO_SENDMAIL));
    inicio.setProcessEnvironment(env);
    inicio.start(QStringLiteral(KVO_SOURCE_DIR "/scripts/start-smtp-local"), {home.path()});
    ASSERT_TRUE(inicio.waitForFinished(30000));
    ASSERT_EQ(inicio.exitCode(), 0) << inicio.readAllStandardError().toStdString();
    const QString pidFile = home.filePath(QStringLiteral("smtp-local/pid"));
    struct Parar {
        QString pid;
        ~Parar() {
            QFile f(pid);
            if (f.open(QIODevice::ReadOnly))
                ::kill(pid_t(f.readAll().trimmed().toInt()), SIGTERM);
        }
    } parar{pidFile};

    const CommandRun email = kvo({QStringLiteral("email"), num, um});
    ASSERT_EQ(email.code, 0) << email.err.toStdString();
    QDir caixa(home.filePath(QStringLiteral("smtp-local/caixa")));
    QDeadlineTimer prazo(15000);
    while (caixa.entryList({QStringLiteral("*.eml")}, QDir::Files).isEmpty() && !prazo.hasExpired())
        QThread::msleep(50);
    const QStringList emls = caixa.entryList({QStringLiteral("*.eml")}, QDir::Files);
    ASSERT_EQ(emls.size(), 1);
    QFile eml(caixa.filePath(emls[0]));
    ASSERT_TRUE(eml.open(QIODevice::ReadOnly));
    const auto m = sendmail::test::lerMensagem(eml.readAll());
    EXPECT_EQ(m.assunto, QStringLiteral("Nf-e %1").arg(n));
    ASSERT_EQ(m.partes.size(), 3);
    const QString base = home.filePath(QStringLiteral("pdf/") + chave);
    for (const auto& [parte, arquivo] : {std::pair<int, QString>{1, base + QStringLiteral("-nfe.xml")}, {2, base + QStringLiteral(".pdf")}}) {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << arquivo.toStdString();
        EXPECT_EQ(m.partes[parte].nomeArquivo, QFileInfo(arquivo).fileName());
        EXPECT_EQ(m.partes[parte].corpo, f.readAll()) << arquivo.toStdString();
    }
    EXPECT_TRUE(m.partes[1].corpo.contains("<nfeProc")) << "the authorised document, with its protocol";
}

TEST_F(CicloComandos, RefusalsExitNonZeroWithTheirMessage) {
    PRECISA_AUTORIDADE();
    const int aberta = notaSalva();
    CommandRun r = kvo({QStringLiteral("transmitir"), QString::number(aberta), QStringLiteral("1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Você precisa Faturar a NF antes de Transmitir!"))) << r.err.toStdString();

    const int faturada = notaFaturada();
    const QString num = QString::number(faturada);
    r = kvo({QStringLiteral("danfe"), num, QStringLiteral("1"), QStringLiteral("--pdf"), home.filePath(QStringLiteral("x.pdf"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nota não foi enviada!!")));
    r = kvo({QStringLiteral("consultar"), num, QStringLiteral("1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nota não foi enviada!!")));

    // Option 6 prints the typed credit as it stands: a blank one is refused before anything is sent.
    config("NFE.OPT.SMP", "1");
    r = kvo({QStringLiteral("transmitir"), num, QStringLiteral("1"), QStringLiteral("--simples"), QStringLiteral("6"),
             QStringLiteral("--credito"), QStringLiteral("12,50")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Informe o valor e a alíquota do crédito de ICMS!"))) << r.err.toStdString();
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 0);
    config("NFE.OPT.SMP", "");

    ASSERT_EQ(kvo({QStringLiteral("transmitir"), num, QStringLiteral("1")}).code, 0);
    r = kvo({QStringLiteral("cce"), num, QStringLiteral("1"), QStringLiteral("--texto"), QStringLiteral("curta demais")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Você precisa colocar um texto maior que 15 caracteres!")));
    r = kvo({QStringLiteral("cancelar"), num, QStringLiteral("1")});
    EXPECT_EQ(r.code, 2); // the justification is required
    r = kvo({QStringLiteral("inutilizar"), QStringLiteral("--csv"), home.filePath(QStringLiteral("nao-existe.csv"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(pedidos(QStringLiteral("NFeRecepcaoEvento4")), 0);
}

// The program killed after the authority authorised and before the protocol
// was stored: the next call settles it by the key, nothing is sent twice.
TEST(CicloMorto, KilledBetweenSendingAndStoringEndsAuthorisedOnce) {
    try {
        nfe::test::prepararFixtures();
    } catch (const std::exception& e) {
        GTEST_SKIP() << e.what();
    }
    nfe::test::AutoridadeLocal autoridade;
    const QString home = scratchFolder() + QStringLiteral("/morto");
    QDir().mkpath(home + QStringLiteral("/firebird-lock"));
    ConnectionSettings ajustes;
    ajustes.path = copyOfTemplate();
    {
        Database db(ajustes);
        db.open();
        carregarCadastros(db);
        prepararLojaNFe(db);
        db.executeSQL(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO) values (1, 'Dinheiro')"));
        db.executeSQL(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, "
                                     "FPG_DIAS_PRIMEIRA, CODMOEDA) values (1, 'A vista', 1, 0, 1)"));
        db.executeSQL(QStringLiteral("update PRODUTO set PRO_ESTQ_ATUAL = 100"));
    }
    ajustes.writeFile(home + QStringLiteral("/KVOGestao.ini"));
    prepararPastaNFe(home, autoridade);
    QFile json(home + QStringLiteral("/nota.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"cabecalho": [["CODSERIE", "1"], ["CODPESSOA", "1"], ["CODCFOP", "5102"], ["CODFORMAPAGAMENTO", "1"]],
                   "itens": [[["CODPESQUISA", "1001"], ["NFVI_QTDE_UND", "3"]]]})");
    json.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD_LOCK"), home + QStringLiteral("/firebird-lock"));
    auto kvo = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KVO_COMMAND), QStringList{QStringLiteral("--home"), home, QStringLiteral("nfvenda")} + args);
        CommandRun r;
        if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit)
            r.code = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    };
    const CommandRun imp = kvo({QStringLiteral("importar"), home + QStringLiteral("/nota.json")});
    ASSERT_EQ(imp.code, 0) << imp.err.toStdString();
    const QString numero = imp.out.trimmed().split(u' ').value(0);
    const CommandRun fat = kvo({QStringLiteral("faturar"), numero, QStringLiteral("1")});
    ASSERT_EQ(fat.code, 0) << fat.err.toStdString();

    // The authority authorises at once but answers only after a long while.
    autoridade.injetar(QJsonDocument::fromJson(R"([{"servico": "NFeAutorizacao4", "atrasoMs": 30000}])").array());
    QProcess tx;
    tx.setProcessEnvironment(env);
    tx.start(QStringLiteral(KVO_COMMAND), {QStringLiteral("--home"), home, QStringLiteral("nfvenda"),
                                           QStringLiteral("transmitir"), numero, QStringLiteral("1")});
    QDeadlineTimer prazo(60000);
    auto autorizacoes = [&] {
        int k = 0;
        for (const QString& l : autoridade.requisicoes())
            k += l.startsWith(QStringLiteral("NFeAutorizacao4")) ? 1 : 0;
        return k;
    };
    while (autorizacoes() == 0 && !prazo.hasExpired() && tx.state() != QProcess::NotRunning)
        QThread::msleep(20);
    ASSERT_EQ(autorizacoes(), 1) << tx.readAll().toStdString();
    ::kill(pid_t(tx.processId()), SIGKILL);
    tx.waitForFinished(10000);

    auto lerColuna = [&](const char* coluna) {
        Database db(ajustes);
        db.open();
        return db.scalar(QStringLiteral("select %1 from NFVENDA where CODNFVENDA = %2 and CODSERIE = '1'")
                             .arg(QLatin1String(coluna), numero));
    };
    EXPECT_TRUE(lerColuna("NFV_NFE_NPROT").isNull());
    EXPECT_TRUE(lerColuna("NFV_XML_ENVIADO").toString().contains(QStringLiteral("<Signature")));

    const CommandRun mostra = kvo({QStringLiteral("transmitir"), numero, QStringLiteral("1")});
    EXPECT_EQ(mostra.code, 0) << mostra.err.toStdString();
    EXPECT_TRUE(mostra.err.contains(QStringLiteral("NF-e já existe e foi recuperado o protocolo com sucesso!")))
        << mostra.err.toStdString();
    const QString nprot = lerColuna("NFV_NFE_NPROT").toString();
    EXPECT_EQ(nprot.size(), 15);
    EXPECT_TRUE(lerColuna("NFV_XML_ENVIADO").toString().contains(QStringLiteral("<nProt>") + nprot));
    const CommandRun consulta = kvo({QStringLiteral("consultar"), numero, QStringLiteral("1")});
    EXPECT_TRUE(consulta.out.contains(QStringLiteral("protocolo\t") + nprot)) << consulta.out.toStdString();
    EXPECT_EQ(autorizacoes(), 1);
}
