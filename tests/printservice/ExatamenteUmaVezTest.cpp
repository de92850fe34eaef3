// The exactly-once run: two posting processes drop 1 000 tickets for four
// stations while their network printers go offline and back and the service
// is killed (SIGKILL) and restarted 10 times, beside a second instance
// serving the same folders and queue. Every ticket prints; a ticket
// printed more than once carries the reprint mark on every copy but one; the
// pending list is empty at the end. With the test server the kitchen and bar
// come through manager folders and the pizzeria and grill through the
// central queue; without it all four use folders.
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "printservice/ConfigImpressao.h"
#include "printservice/ImpressoraEmulada.h"
#include "printservice/Pendentes.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

using namespace kvo;
using namespace kvo::impressao;

namespace {

// The embedded engine keeps its locks in this folder; a killed process
// must not leave them for the others of the test run.
QProcessEnvironment pastaDeTravasPropria(const QString& home) {
    QDir().mkpath(home + QStringLiteral("/firebird-lock"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD_LOCK"), home + QStringLiteral("/firebird-lock"));
    return env;
}

struct Processo {
    QProcess p;
    ~Processo() {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
        }
    }
};

} // namespace

TEST(ExatamenteUmaVez, ThousandTicketsWithPrintersFlappingAndTheServiceKilledTenTimes) {
    QTemporaryDir home;
    const bool comFila = test::testServer().has_value();
    QString caminhoBanco;
    if (comFila) {
        caminhoBanco = test::copyOfTemplate();
        test::serverSettings(caminhoBanco).writeFile(home.filePath(QStringLiteral("KVOGestao.ini")));
    }
    const QStringList nomes{QStringLiteral("COZINHA"), QStringLiteral("BAR"), QStringLiteral("PIZZARIA"),
                            QStringLiteral("CHURRASQUEIRA")};
    std::vector<std::unique_ptr<ImpressoraEmulada>> impressoras;
    QString ini = QStringLiteral("[servico]\ninstancia=caixa\nintervalo=50\ntentativaInicial=50\ntentativaMaxima=300\n"
                                 "timeout=2000\nestacoes=%1\n")
                      .arg(nomes.join(u','));
    QStringList pastas, centralizadores;
    for (qsizetype i = 0; i < nomes.size(); ++i) {
        impressoras.push_back(std::make_unique<ImpressoraEmulada>(0, CodePage::Cp860));
        ini += QStringLiteral("[%1]\nimpressora=tcp:127.0.0.1:%2\nmodelo=EPSON\n").arg(nomes[i]).arg(impressoras.back()->porta());
        if (comFila && i >= 2) {
            ini += QStringLiteral("centralizador=%1\n").arg(nomes[i]);
            centralizadores << nomes[i];
        } else {
            ini += QStringLiteral("pasta=pedidos/%1\n").arg(nomes[i]);
            pastas << home.filePath(QStringLiteral("pedidos/") + nomes[i]);
        }
    }
    {
        QFile f(home.filePath(QStringLiteral("impressao.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
    }
    for (const QString& p : pastas)
        QDir().mkpath(p);

    auto iniciarServico = [&](Processo& s, const QString& instancia) {
        s.p.setProcessEnvironment(pastaDeTravasPropria(home.path()));
        // Into a file: nobody reads a pipe here, and a full pipe would stall the service.
        s.p.setStandardOutputFile(home.filePath(QStringLiteral("servico.log")), QIODevice::Append);
        s.p.setStandardErrorFile(home.filePath(QStringLiteral("servico.log")), QIODevice::Append);
        s.p.start(QStringLiteral(KVO_IMPRESSAO),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--instancia"), instancia});
        ASSERT_TRUE(s.p.waitForStarted());
    };
    constexpr int kPorPostador = 500;
    std::vector<std::unique_ptr<Processo>> postadores;
    for (const char* prefixo : {"A", "B"}) {
        auto p = std::make_unique<Processo>();
        QStringList args{QStringLiteral("--prefixo"), QString::fromLatin1(prefixo), QStringLiteral("--quantidade"),
                         QString::number(kPorPostador), QStringLiteral("--intervalo"), QStringLiteral("24")};
        for (const QString& pasta : pastas)
            args << QStringLiteral("--pasta") << pasta;
        for (const QString& c : centralizadores)
            args << QStringLiteral("--centralizador") << c;
        if (comFila)
            args << QStringLiteral("--banco") << home.filePath(QStringLiteral("KVOGestao.ini"));
        p->p.setProcessEnvironment(pastaDeTravasPropria(home.path()));
        p->p.setProcessChannelMode(QProcess::MergedChannels);
        p->p.start(QStringLiteral(KVO_POSTADOR), args);
        ASSERT_TRUE(p->p.waitForStarted());
        postadores.push_back(std::move(p));
    }

    // A second instance serves the same folders and queue the whole time.
    Processo outraInstancia;
    iniciarServico(outraInstancia, QStringLiteral("caixa2"));
    auto servico = std::make_unique<Processo>();
    iniciarServico(*servico, QStringLiteral("caixa"));
    QElapsedTimer relogio;
    relogio.start();
    int mortes = 0;
    qint64 proximaMorte = 1200, proximaOscilacao = 200;
    auto postando = [&] {
        for (auto& p : postadores) // no event loop here: waitForFinished updates the state
            if (p->p.state() != QProcess::NotRunning && !p->p.waitForFinished(0))
                return true;
        return false;
    };
    while (postando() || mortes < 10) {
        QThread::msleep(20);
        if (relogio.elapsed() >= proximaOscilacao) { // one printer off or back on
            auto& imp = impressoras[QRandomGenerator::global()->bounded(int(impressoras.size()))];
            imp->setOnline(!imp->online());
            proximaOscilacao = relogio.elapsed() + 150 + QRandomGenerator::global()->bounded(300);
        }
        if (mortes < 10 && relogio.elapsed() >= proximaMorte) {
            servico->p.kill(); // SIGKILL: nothing of the service runs after it
            servico->p.waitForFinished();
            ++mortes;
            servico = std::make_unique<Processo>();
            iniciarServico(*servico, QStringLiteral("caixa"));
            proximaMorte = relogio.elapsed() + 900 + QRandomGenerator::global()->bounded(600);
        }
        ASSERT_LT(relogio.elapsed(), 100000) << "posting took too long";
    }
    for (auto& p : postadores) {
        const QByteArray saida = p->p.readAll();
        EXPECT_EQ(p->p.exitCode(), 0) << saida.toStdString();
        EXPECT_EQ(saida.count('\n'), kPorPostador);
    }
    for (auto& imp : impressoras)
        imp->setOnline(true);

    // Everything printed: tickets counted by their number.
    auto contar = [&] {
        std::map<QString, std::pair<int, int>> copias; // id -> (plain, marked)
        static const QRegularExpression ticket(QStringLiteral("TICKET ([AB]-\\d{4})"));
        for (auto& imp : impressoras)
            for (const auto& d : imp->documentos()) {
                const auto m = ticket.match(d.texto);
                if (!m.hasMatch() || !d.texto.contains(QStringLiteral("FRANGO À PARMEGIANA")))
                    continue; // a document torn by a kill
                auto& c = copias[m.captured(1)];
                (d.texto.contains(QStringLiteral("*** REIMPRESSÃO ***")) ? c.second : c.first) += 1;
            }
        return copias;
    };
    QElapsedTimer fim;
    fim.start();
    while (contar().size() < 2 * kPorPostador && fim.elapsed() < 60000)
        QThread::msleep(100);
    servico->p.terminate();
    outraInstancia.p.terminate();
    ASSERT_TRUE(servico->p.waitForFinished(20000));
    ASSERT_TRUE(outraInstancia.p.waitForFinished(20000));
    QFile arquivoLog(home.filePath(QStringLiteral("servico.log")));
    arquivoLog.open(QIODevice::ReadOnly);
    const QString logServico = QString::fromUtf8(arquivoLog.readAll());

    const auto copias = contar();
    EXPECT_EQ(copias.size(), size_t(2 * kPorPostador)) << logServico.right(3000).toStdString();
    int reimpressos = 0;
    for (const auto& [id, c] : copias) {
        EXPECT_LE(c.first, 1) << id.toStdString() << " printed twice without the mark";
        reimpressos += c.second > 0;
    }
    EXPECT_EQ(mortes, 10);
    std::cout << copias.size() << " tickets, " << reimpressos << " with a marked reprint, " << mortes << " kills, "
              << (comFila ? "folders and queue" : "folders only") << ", " << relogio.elapsed() << " ms\n";

    setProgramFolder(home.path()); // the folders of impressao.ini hang under it
    ConfigImpressao cfg = ConfigImpressao::ler(home.filePath(QStringLiteral("impressao.ini")));
    if (comFila) {
        Database db(test::serverSettings(caminhoBanco));
        db.open();
        EXPECT_TRUE(pendentesImpressao(cfg, &db).isEmpty());
        EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from RES_IMPRESSAO where IMP_STATUS = 'IMPRESSO'")).toInt(),
                  kPorPostador); // half of each poster's tickets went to the queue
        db.close();
        QFile::remove(caminhoBanco);
    } else {
        EXPECT_TRUE(pendentesImpressao(cfg, nullptr).isEmpty());
    }
}
