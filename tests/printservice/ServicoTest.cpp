// The service against emulated network printers: offline printers keep
// tickets queued, a station's fallback takes over after its time, the wait
// between attempts grows, and tickets reach their printer quickly.
#include "core/Paths.h"
#include "devices/FolderDropTarget.h"
#include "printservice/ConfigImpressao.h"
#include "printservice/ImpressoraEmulada.h"
#include "printservice/Pendentes.h"
#include "printservice/ServicoImpressao.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::impressao;

namespace {

void soltar(const QString& pasta, const QString& texto) {
    FolderDropTarget(pasta, QStringLiteral("PED_"), QStringLiteral(".ped"), FileText::Utf8)
        .print(ReceiptDocument{QString(), {QStringLiteral("\x1b@"), texto}, 0});
}

EstacaoServico estacao(const QString& nome, const QString& pasta, quint16 porta) {
    EstacaoServico e;
    e.nome = nome;
    e.pasta = pasta;
    e.impressora = QStringLiteral("tcp:127.0.0.1:%1").arg(porta);
    return e;
}

ConfigImpressao rapida() {
    ConfigImpressao c;
    c.instancia = QStringLiteral("teste");
    c.intervaloMs = 50;
    c.tentativaInicialMs = 50;
    c.tentativaMaximaMs = 200;
    c.timeoutMs = 2000;
    return c;
}

bool esperar(const std::function<bool()>& condicao, int ms) {
    QElapsedTimer t;
    t.start();
    while (!condicao()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(10);
    }
    return true;
}

quint16 portaLivre() {
    ImpressoraEmulada e; // bound and released: nothing listens there afterwards
    return e.porta();
}

} // namespace

TEST(Servico, AnOfflinePrinterKeepsTheTicketQueuedUntilItIsBack) {
    QTemporaryDir dir;
    ImpressoraEmulada impressora;
    impressora.setOnline(false);
    ConfigImpressao cfg = rapida();
    cfg.estacoes << estacao(QStringLiteral("COZINHA"), dir.path(), impressora.porta());
    QStringList log;
    std::mutex m;
    ServicoImpressao servico(cfg, nullptr, [&](const QString& l) { std::lock_guard g(m); log << l; });
    servico.iniciar();
    soltar(dir.path(), QStringLiteral("MESA 9 AÇAÍ"));
    ASSERT_TRUE(esperar([&] {
        const auto p = pendentesImpressao(cfg, nullptr);
        return p.size() == 1 && p[0].tentativas >= 3;
    }, 5000));
    const auto p = pendentesImpressao(cfg, nullptr);
    EXPECT_EQ(p[0].estacao, QStringLiteral("COZINHA"));
    EXPECT_EQ(p[0].mesa, 9);
    EXPECT_TRUE(p[0].ultimoErro.contains(u"não respondeu")) << p[0].ultimoErro.toStdString();
    impressora.setOnline(true);
    ASSERT_TRUE(esperar([&] { return impressora.documentos().size() == 1; }, 5000));
    ASSERT_TRUE(esperar([&] { return pendentesImpressao(cfg, nullptr).isEmpty(); }, 2000));
    servico.parar();
    EXPECT_EQ(impressora.documentos().size(), 1);
    EXPECT_EQ(impressora.documentos()[0].texto, QStringLiteral("\x1b@\r\nMESA 9 AÇAÍ\r\n")) << "no reprint mark: nothing had printed";
}

TEST(Servico, APrinterOutOfPaperGetsNothingUntilThePaperIsBack) {
    QTemporaryDir dir;
    ImpressoraEmulada impressora(0, CodePage::Cp860);
    impressora.setSemPapel(true);
    ConfigImpressao cfg = rapida();
    EstacaoServico e = estacao(QStringLiteral("PIZZARIA"), dir.path(), impressora.porta());
    e.codePage = CodePage::Cp860;
    e.confirmar = true; // an EPSON answers the status request
    cfg.estacoes << e;
    ServicoImpressao servico(cfg, nullptr, [](const QString&) {});
    servico.iniciar();
    soltar(dir.path(), QStringLiteral("PIZZA À MODA"));
    ASSERT_TRUE(esperar([&] {
        const auto p = pendentesImpressao(cfg, nullptr);
        return p.size() == 1 && p[0].tentativas >= 2;
    }, 5000));
    EXPECT_TRUE(pendentesImpressao(cfg, nullptr)[0].ultimoErro.contains(u"sem papel"));
    EXPECT_TRUE(impressora.documentos().isEmpty());
    impressora.setSemPapel(false);
    ASSERT_TRUE(esperar([&] { return pendentesImpressao(cfg, nullptr).isEmpty(); }, 5000));
    servico.parar();
    ASSERT_EQ(impressora.documentos().size(), 1);
    EXPECT_EQ(impressora.documentos()[0].texto, QStringLiteral("\x1b@\r\nPIZZA À MODA\r\n"));
}

TEST(Servico, AfterItsTimeAFailingStationPrintsOnItsFallback) {
    QTemporaryDir dir;
    ImpressoraEmulada reserva(0, CodePage::Cp860);
    ConfigImpressao cfg = rapida();
    EstacaoServico e = estacao(QStringLiteral("BAR"), dir.path(), portaLivre());
    e.reserva = QStringLiteral("tcp:127.0.0.1:%1").arg(reserva.porta());
    e.modeloReserva = QStringLiteral("EPSON");
    e.codePageReserva = CodePage::Cp860;
    e.reservaAposSegundos = 1;
    cfg.estacoes << e;
    ServicoImpressao servico(cfg, nullptr, [](const QString&) {});
    QElapsedTimer relogio;
    relogio.start();
    servico.iniciar();
    soltar(dir.path(), QStringLiteral("UM AÇAÍ"));
    ASSERT_TRUE(esperar([&] { return reserva.documentos().size() == 1; }, 5000));
    EXPECT_GE(relogio.elapsed(), 1000) << "the fallback waits for the station's time";
    EXPECT_EQ(reserva.documentos()[0].texto, QStringLiteral("\x1b@\r\nUM AÇAÍ\r\n"));
    // With the primary still down, the next ticket goes straight to the fallback.
    relogio.restart();
    soltar(dir.path(), QStringLiteral("DOIS"));
    ASSERT_TRUE(esperar([&] { return reserva.documentos().size() == 2; }, 5000));
    EXPECT_LT(relogio.elapsed(), 900);
    servico.parar();
}

TEST(Servico, TheWaitBetweenAttemptsGrowsUpToItsMaximum) {
    ConfigImpressao c;
    c.tentativaInicialMs = 1000;
    c.tentativaMaximaMs = 30000;
    QList<int> esperas;
    for (int n = 1; n <= 7; ++n)
        esperas << esperaAposFalhas(c, n);
    EXPECT_EQ(esperas, (QList<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
}

TEST(Servico, ConfigurationNamesWhatIsWrong) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("impressao.ini"));
    auto escrever = [&](const char* texto) {
        QFile f(ini);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(texto);
    };
    auto erro = [&]() -> std::string {
        try {
            ConfigImpressao::ler(ini);
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    };
    EXPECT_NE(erro().find("não encontrado"), std::string::npos);
    escrever("[servico]\nestacoes=COZINHA\n[COZINHA]\npasta=pedidos\nimpressora=tcp:10.0.0.5\nmodelo=XPTO\n");
    EXPECT_NE(erro().find("[COZINHA] modelo de impressora desconhecido: XPTO"), std::string::npos) << erro();
    escrever("[servico]\nestacoes=COZINHA\n[COZINHA]\nimpressora=tcp:10.0.0.5\n");
    EXPECT_NE(erro().find("informe pasta= ou centralizador="), std::string::npos) << erro();
    escrever("[servico]\nestacoes=COZINHA\n[COZINHA]\npasta=pedidos\nimpressora=lpt1\n");
    EXPECT_NE(erro().find("Impressora inválida"), std::string::npos) << erro();
    escrever("[servico]\ninstancia=caixa1\nestacoes=COZINHA, BAR\n[COZINHA]\npasta=c:/KVO/pedidos/\nimpressora=tcp:10.0.0.5\n"
             "modelo=EPSON\nreserva=cups:Balcao\nreservaApos=30\n[BAR]\ncentralizador=BAR\nimpressora=dispositivo:/dev/usb/lp0\n");
    setProgramFolder(dir.path()); // where stored Windows drive paths land
    const ConfigImpressao c = ConfigImpressao::ler(ini);
    ASSERT_EQ(c.estacoes.size(), 2);
    EXPECT_EQ(c.instancia, QStringLiteral("caixa1"));
    EXPECT_EQ(c.estacoes[0].pasta, QDir(dir.path()).filePath(QStringLiteral("drive_c/KVO/pedidos/")));
    EXPECT_EQ(c.estacoes[0].codePage, CodePage::Cp860);
    EXPECT_EQ(c.estacoes[0].codePageReserva, CodePage::Cp860);
    EXPECT_EQ(c.estacoes[0].reservaAposSegundos, 30);
    EXPECT_EQ(c.estacoes[1].centralizador, QStringLiteral("BAR"));
    EXPECT_EQ(c.estacoes[1].codePage, CodePage::Cp850);
}

// Four stations busy at once: a ticket reaches its printer within 1 s of
// being dropped at the 95th percentile.
TEST(Servico, TicketsReachTheirPrinterWithinASecondAtP95WithFourStationsBusy) {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<ImpressoraEmulada>> impressoras;
    ConfigImpressao cfg;
    cfg.instancia = QStringLiteral("teste");
    const QStringList nomes{QStringLiteral("COZINHA"), QStringLiteral("BAR"), QStringLiteral("PIZZARIA"),
                            QStringLiteral("CHURRASQUEIRA")};
    for (const QString& n : nomes) {
        impressoras.push_back(std::make_unique<ImpressoraEmulada>());
        cfg.estacoes << estacao(n, dir.filePath(n), impressoras.back()->porta());
    }
    ServicoImpressao servico(cfg, nullptr, [](const QString&) {}); // default intervals, as shipped
    servico.iniciar();
    constexpr int kPorEstacao = 40;
    std::map<QString, std::chrono::steady_clock::time_point> postados;
    for (int i = 0; i < kPorEstacao; ++i) {
        for (qsizetype s = 0; s < nomes.size(); ++s) {
            const QString id = QStringLiteral("T%1-%2").arg(s).arg(i);
            postados[id] = std::chrono::steady_clock::now();
            soltar(cfg.estacoes[s].pasta, QStringLiteral("TICKET ") + id);
        }
        QThread::msleep(25);
    }
    ASSERT_TRUE(esperar([&] {
        qsizetype n = 0;
        for (const auto& p : impressoras)
            n += p->documentos().size();
        return n == kPorEstacao * nomes.size();
    }, 20000));
    servico.parar();
    std::vector<double> atrasos;
    for (const auto& p : impressoras)
        for (const auto& d : p->documentos()) {
            const QString id = d.texto.section(QStringLiteral("TICKET "), 1).trimmed();
            ASSERT_TRUE(postados.count(id)) << id.toStdString();
            atrasos.push_back(std::chrono::duration<double>(d.recebido - postados[id]).count());
        }
    std::sort(atrasos.begin(), atrasos.end());
    const double p95 = atrasos[atrasos.size() * 95 / 100];
    std::cout << "p95 " << p95 * 1000 << " ms, max " << atrasos.back() * 1000 << " ms over " << atrasos.size() << " tickets\n";
    EXPECT_LT(p95, 1.0);
}
