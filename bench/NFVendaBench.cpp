// The sales invoice at the counter's pace: an invoice of 990 items entered
// through the data module, then the time of one item change (the reactions of
// a typed quantity and discount) and of one header recompute over all items.
#include "LojaNFVenda.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

using namespace kvo;

namespace {

constexpr int kItens = 990;

struct Loja {
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;

    Loja() {
        TdmAcesso::gerarInstance().usarConexao(t.db());
        bench::carregarLojaNFVenda(t.db());

        auto& dm = TdmNFVenda::gerarInstance();
        const auto inicio = std::chrono::steady_clock::now();
        bench::novaNotaComItens(dm, kItens);
        const auto fim = std::chrono::steady_clock::now();
        std::printf("entering %d items (each posting recomputes the header): %.1f ms in all, %.3f ms per item\n", kItens,
                    std::chrono::duration<double, std::milli>(fim - inicio).count(),
                    std::chrono::duration<double, std::milli>(fim - inicio).count() / kItens);
    }
};

Loja& loja() {
    static Loja l;
    return l;
}

// Typing a quantity and a discount on one item of the big invoice: the
// conversion, the ICMS and PIS/COFINS bases and the item taxes.
void BM_ItemChange(benchmark::State& state) {
    Loja& l = loja();
    auto& dm = TdmNFVenda::gerarInstance();
    RecordSet& item = dm.cdsNFVendaItem();
    item.setRecNo(kItens / 2);
    int n = 0;
    for (auto _ : state) {
        dm.editarItem();
        dm.setValorCampo(item, QStringLiteral("NFVI_QTDE_UND"), QString::number(++n % 9 + 1));
        dm.setValorCampo(item, QStringLiteral("NFVI_PERDESC"), QString::number(n % 5));
        item.post();
    }
    (void)l;
}
BENCHMARK(BM_ItemChange)->Unit(benchmark::kMicrosecond);

// The header calculation over the 990 items, as after each item posted.
void BM_HeaderRecompute(benchmark::State& state) {
    loja();
    auto& dm = TdmNFVenda::gerarInstance();
    for (auto _ : state) {
        dm.NFVENDA_CalcularTotal();
        benchmark::DoNotOptimize(dm.cdsNFVenda().field(QStringLiteral("NFV_TOTAL_NOTA")).asCurrency());
    }
}
BENCHMARK(BM_HeaderRecompute)->Unit(benchmark::kMillisecond);

// Posting an edited item the way the item screen does: post and recompute.
void BM_ItemPostWithHeader(benchmark::State& state) {
    loja();
    auto& dm = TdmNFVenda::gerarInstance();
    dm.cdsNFVendaItem().setRecNo(kItens / 3);
    int n = 0;
    for (auto _ : state) {
        dm.editarItem();
        dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("NFVI_QTDE_UND"), QString::number(++n % 9 + 1));
        dm.gravarItem();
    }
}
BENCHMARK(BM_ItemPostWithHeader)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
