// The NF-e of an invoice as the issuing step runs it: assembly from the data
// module, signature and schema validation through the component, for
// invoices of 1, 50 and 990 items (prints the median of each), and the
// assembly and the signing with validation apart for 50 items.
#include "LojaNFVenda.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "nfe/NFeComponent.h"
#include "nfe/ValidadorXml.h"
#include "registers/DNFe.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kvo;

namespace {

const QString Fixtures = QStringLiteral(KVO_BENCH_FIXTURE_DIR);

struct Loja {
    QTemporaryDir home;
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
    bool pronta = false;
    int itensNaNota = -1;

    Loja() {
        const QString scripts = QStringLiteral(KVO_SOURCE_DIR "/scripts/");
        if (QProcess::execute(scripts + QStringLiteral("install-nfe-schemas"), {Fixtures + QStringLiteral("/Schemas")}) != 0
            || QProcess::execute(scripts + QStringLiteral("make-demo-certificate"), {Fixtures + QStringLiteral("/cert")}) != 0)
            return;
        setProgramFolder(home.path());
        QDir(home.path()).mkpath(QStringLiteral("MunIBGE"));
        QFile mun(home.filePath(QStringLiteral("MunIBGE/MunIBGE-UF35.txt")));
        if (!mun.open(QIODevice::WriteOnly))
            return;
        mun.write("3550308;SAO PAULO\n");
        mun.close();
        TdmAcesso::gerarInstance().usarConexao(t.db());
        bench::carregarLojaNFVenda(t.db());
        TdmNFVenda::gerarInstance();
        TdmConfiguracao::gerarInstance().setValor(QStringLiteral("NF.LEI.IMP"), QStringLiteral("N"));
        nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
        c.Configuracoes.arquivoPfx = Fixtures + QStringLiteral("/cert/kvo-demo-a1.pfx");
        c.Configuracoes.senhaPfx = QStringLiteral("1234");
        c.Configuracoes.pastaSchemas = Fixtures + QStringLiteral("/Schemas");
        c.assinador();
        c.validador().validar(QByteArray("<x/>"), QStringLiteral("nfe_v4.00.xsd")); // schema parsed once
        pronta = true;
    }

    // A saved invoice of `itens` items, opened again as the issuing step finds
    // it (typed through the data module and saved, not timed).
    void nota(int itens) {
        if (itensNaNota == itens)
            return;
        auto& dm = TdmNFVenda::gerarInstance();
        bench::novaNotaComItens(dm, itens);
        const auto gravada = dm.gravarNFVenda();
        dm.abrirNFVenda(gravada.numero, gravada.serie);
        itensNaNota = itens;
    }
};

Loja& loja() {
    static Loja l;
    return l;
}

// The shop is set up and the benchmark's invoice saved; false when the
// benchmark cannot run here.
bool notaPronta(benchmark::State& state) {
    Loja& l = loja();
    if (!l.pronta) {
        state.SkipWithError("NF-e schemas or the test certificate are not available");
        return false;
    }
    l.nota(int(state.range(0)));
    return true;
}

void BM_MontarAssinarValidar(benchmark::State& state) {
    if (!notaPronta(state))
        return;
    auto& dm = TdmNFVenda::gerarInstance();
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    for (auto _ : state) {
        c.NotasFiscais.Clear();
        dm.NFE_GerarDados(-1, QString(), QString());
        c.Assinar();
        c.Validar();
        benchmark::DoNotOptimize(c.NotasFiscais.Items(0).XML.size());
    }
    state.counters["itens"] = double(state.range(0));
}
BENCHMARK(BM_MontarAssinarValidar)->Arg(1)->Arg(50)->Arg(990)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// The assembly, and the signing with validation, apart: where the time goes.
void BM_Montar(benchmark::State& state) {
    if (!notaPronta(state))
        return;
    auto& dm = TdmNFVenda::gerarInstance();
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    for (auto _ : state) {
        c.NotasFiscais.Clear();
        dm.NFE_GerarDados(-1, QString(), QString());
        benchmark::DoNotOptimize(c.NotasFiscais.Count());
    }
}
BENCHMARK(BM_Montar)->Arg(50)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_AssinarValidar(benchmark::State& state) {
    if (!notaPronta(state))
        return;
    auto& dm = TdmNFVenda::gerarInstance();
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    c.NotasFiscais.Clear();
    dm.NFE_GerarDados(-1, QString(), QString());
    for (auto _ : state) {
        c.Assinar();
        c.Validar();
        benchmark::DoNotOptimize(c.NotasFiscais.Items(0).XML.size());
    }
}
BENCHMARK(BM_AssinarValidar)->Arg(50)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
