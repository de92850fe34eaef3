// One invoice's whole authorisation round trip against the local authority,
// as `kvo nfvenda transmitir` runs it: assembly, signature, validation, the
// signed bytes kept, TLS and SOAP, the protocol stored. Typing and saving the
// invoice is not timed. The transmission also writes the DANFE as PDF, which
// is no part of the round trip: the same DANFE is drawn again right after and
// timed apart, and the round trip is the whole call less that drawing.
// Prints median and p95 of the round trip, of the DANFE and of both.
// KVO_BENCH_CONEXAO_POR_PEDIDO=1 makes the authority close the connection
// after every answer, as without keep-alive.
#include "LojaNFVenda.h"

#include "../tests/nfe/AutoridadeLocal.h"
#include "../tests/nfe/NFeFixtures.h"

#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>

#include <benchmark/benchmark.h>

#include <memory>

using namespace kvo;

namespace {

struct Loja {
    QTemporaryDir home;
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
    std::unique_ptr<nfe::test::AutoridadeLocal> autoridade;
    QString erro;

    Loja() {
        try {
            nfe::test::prepararFixtures();
            autoridade = std::make_unique<nfe::test::AutoridadeLocal>();
            // For comparison: a new connection and handshake for every request.
            if (qEnvironmentVariableIsSet("KVO_BENCH_CONEXAO_POR_PEDIDO"))
                autoridade->injetar({QJsonObject{{QStringLiteral("servico"), QStringLiteral("*")},
                                                 {QStringLiteral("fechar"), true},
                                                 {QStringLiteral("vezes"), -1}}});
        } catch (const std::exception& e) {
            erro = QString::fromUtf8(e.what());
            return;
        }
        setProgramFolder(home.path());
        QDir(home.path()).mkpath(QStringLiteral("MunIBGE"));
        QFile mun(home.filePath(QStringLiteral("MunIBGE/MunIBGE-UF35.txt")));
        QFile ini(home.filePath(QStringLiteral("nfe.ini")));
        if (!mun.open(QIODevice::WriteOnly) || !ini.open(QIODevice::WriteOnly)) {
            erro = QStringLiteral("program folder");
            return;
        }
        mun.write("3550308;SAO PAULO\n");
        // The DANFE goes to a PDF: the settings are read again at the first transmission.
        ini.write(QStringLiteral("[certificado]\narquivo=%1\nsenha=%2\n[nfe]\nambiente=2\nuf=SP\nschemas=%3\n"
                                 "[webservices]\nca=%4\nurl=%5\n[danfe]\narquivo=S\npasta=%6\n")
                      .arg(nfe::test::arquivoPfx(), nfe::test::senhaPfx(), nfe::test::pastaSchemas(),
                           autoridade->arquivoCA(), autoridade->url(), home.filePath(QStringLiteral("pdf")))
                      .toUtf8());
        TdmAcesso::gerarInstance().usarConexao(t.db());
        bench::carregarLojaNFVenda(t.db());
        TdmNFVenda::gerarInstance();
        TdmConfiguracao::gerarInstance().setValor(QStringLiteral("NF.LEI.IMP"), QStringLiteral("N"));
        nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
        c.DANFE.imprimirEmArquivo = true;
        c.DANFE.pastaPDF = home.filePath(QStringLiteral("pdf"));
    }

    // A billed invoice of one item (not timed).
    int notaFaturada() {
        auto& dm = TdmNFVenda::gerarInstance();
        bench::novaNotaComItens(dm, 1);
        const int n = dm.gravarNFVenda().numero;
        dm.fecharNFVenda();
        t->executeSQL(QStringLiteral("update NFVENDA set NFV_STATUS = 'Faturada' where CODNFVENDA = %1").arg(n));
        return n;
    }
};

double segundosDesde(std::chrono::steady_clock::time_point inicio) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

double p95(const std::vector<double>& v) {
    std::vector<double> s(v);
    std::sort(s.begin(), s.end());
    return s[std::min(s.size() - 1, size_t(double(s.size()) * 0.95))];
}

enum class Medida { Ciclo, Danfe, Ambos };

void BM_Autorizacao(benchmark::State& state, Medida medida) {
    static Loja loja;
    if (!loja.erro.isEmpty()) {
        state.SkipWithError(loja.erro.toStdString().c_str());
        return;
    }
    auto& dm = TdmNFVenda::gerarInstance();
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    for (auto _ : state) {
        const int n = loja.notaFaturada();
        const auto inicio = std::chrono::steady_clock::now();
        const auto r = dm.NFE_Imprimir(n, QStringLiteral("1"), 1, false, true);
        const double total = segundosDesde(inicio);
        if (r != TdmNFVenda::ResultadoNFe::Autorizada) {
            state.SkipWithError(QString(QStringLiteral("not authorised: ") + loja.ui.lastMessage()).toStdString().c_str());
            return;
        }
        // The authorised document is still loaded: the same drawing the call made.
        const auto inicioDanfe = std::chrono::steady_clock::now();
        c.Imprimir();
        const double danfe = segundosDesde(inicioDanfe);
        state.SetIterationTime(medida == Medida::Ciclo ? std::max(0.0, total - danfe)
                               : medida == Medida::Danfe ? danfe
                                                         : total);
    }
}
BENCHMARK_CAPTURE(BM_Autorizacao, ciclo_sem_danfe, Medida::Ciclo)
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ComputeStatistics("p95", p95)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Autorizacao, danfe, Medida::Danfe)
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10)->Repetitions(3)
    ->ComputeStatistics("p95", p95)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Autorizacao, ciclo_com_danfe, Medida::Ambos)
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20)->Repetitions(5)
    ->ComputeStatistics("p95", p95)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
