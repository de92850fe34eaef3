// One invoice's whole authorisation round trip against the local authority,
// as `kvo nfvenda transmitir` runs it: assembly, signature, validation, the
// signed bytes kept, TLS and SOAP, the protocol stored, the DANFE written as
// PDF. Typing and saving the invoice is not timed. Prints median and p95.
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
#include <QTemporaryDir>

#include <algorithm>

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
        ini.write(QStringLiteral("[certificado]\narquivo=%1\nsenha=%2\n[nfe]\nambiente=2\nuf=SP\nschemas=%3\n"
                                 "[webservices]\nca=%4\nurl=%5\n")
                      .arg(nfe::test::arquivoPfx(), nfe::test::senhaPfx(), nfe::test::pastaSchemas(),
                           autoridade->arquivoCA(), autoridade->url())
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

void BM_AutorizacaoCompleta(benchmark::State& state) {
    static Loja loja;
    if (!loja.erro.isEmpty()) {
        state.SkipWithError(loja.erro.toStdString().c_str());
        return;
    }
    auto& dm = TdmNFVenda::gerarInstance();
    for (auto _ : state) {
        state.PauseTiming();
        const int n = loja.notaFaturada();
        state.ResumeTiming();
        const auto r = dm.NFE_Imprimir(n, QStringLiteral("1"), 1, false, true);
        if (r != TdmNFVenda::ResultadoNFe::Autorizada) {
            state.SkipWithError(QString(QStringLiteral("not authorised: ") + loja.ui.lastMessage()).toStdString().c_str());
            return;
        }
    }
}
BENCHMARK(BM_AutorizacaoCompleta)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ComputeStatistics("p95", [](const std::vector<double>& v) {
        std::vector<double> s(v);
        std::sort(s.begin(), s.end());
        return s[std::min(s.size() - 1, size_t(double(s.size()) * 0.95))];
    })
    ->ReportAggregatesOnly(true);

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
