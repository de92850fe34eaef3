// Posting one item on an open table of an embedded database, as the order screen
// does: open the table's order, add the item by search code, build the
// production tickets, save (order, item, stock) and drop the tickets into the
// manager folder. Prints the 95th percentile of the posting time.
#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "registers/DProduto.h"
#include "restaurant/DResPedido.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "restaurant/impressao/LancamentoTickets.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

using namespace kvo;

namespace {

// A busy evening: the postings go round twenty open tables.
constexpr int kMesas = 20;

struct Terminal {
    QTemporaryDir home;
    test::TestDatabase t;
    Module module;
    std::unique_ptr<TdmResPedidoImpressao> impressao;
    std::vector<double> tempos; // milliseconds

    Terminal() {
        setProgramFolder(home.path());
        TdmAcesso::gerarInstance().usarConexao(t.db());
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("caixa"), 1, true});
        for (int m = 1; m <= kMesas; ++m)
            t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_COBRAR_SERVICO) values (%1, 'S')").arg(m));
        t->executeSQL(QStringLiteral("insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_VLR_SERVICO) values (1, 10)"));
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, "
                                     "PRO_IMP_COZINHA, PRO_ESTQ_ATUAL) values (1, '1001', 'X-BURGUER', 24.90, 'S', 0)"));
        TdmConfiguracao::gerarInstance().registrarChaves();
        TdmCaixaAbertura::gerarInstance().abrir(Clock::today(), Currency(), QStringLiteral("caixa"));
        impressao = std::make_unique<TdmResPedidoImpressao>(t.db(), TdmConfiguracao::gerarInstance(),
                                                            QStringLiteral("caixa"));
        TdmResPedido::gerarInstance(); // registers the keys once, as at start-up
    }
    ~Terminal() { setProgramFolder({}); }

    // Milliseconds spent in each step, summed over the postings.
    static constexpr const char* kFases[] = {"abrir a mesa", "item", "tickets", "gravar", "enviar tickets"};
    double fase[5] = {0, 0, 0, 0, 0};
    int postagens = 0;

    void lancar() {
        TdmResPedido& p = TdmResPedido::gerarInstance();
        QElapsedTimer relogio;
        relogio.start();
        auto marcar = [&](int f) { fase[f] += double(relogio.nsecsElapsed()) / 1e6; relogio.restart(); };
        // The table, its order and the item look-up in one snapshot, as `kvo restaurante lancar` does.
        Transaction leitura(t.db());
        p.abrirMesa(1 + postagens++ % kMesas);
        marcar(0);
        RecordSet& i = p.cdsResPedidoItem();
        i.append();
        i.field(QStringLiteral("CODPESQUISA")).setValue(QStringLiteral("1001"));
        i.field(QStringLiteral("PEDI_OBS")).setValue(QStringLiteral("sem cebola"));
        i.post();
        p.ResPedido_CalculaTotal();
        leitura.commit();
        marcar(1);
        TicketsLancamento tickets =
            montarTicketsLancamento(*impressao, i, &p.cdsResPedido(), &p.cdsResPedidoItemPerso(), 1);
        marcar(2);
        p.gravarPedido([&] {
            return QStringList{TdmProduto::gerarInstance().sqlMovimentarEstoqueNormal(
                1, Currency(1), 2, QStringLiteral("ResPedido"),
                int(p.cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger()))};
        });
        marcar(3);
        enviarTicketsLancamento(*impressao, tickets);
        marcar(4);
    }
};

Terminal& terminal() {
    static Terminal t;
    return t;
}

void BM_LancarUmItem(benchmark::State& state) {
    Terminal& t = terminal();
    for (auto _ : state) {
        QElapsedTimer relogio;
        relogio.start();
        t.lancar();
        t.tempos.push_back(double(relogio.nsecsElapsed()) / 1e6);
    }
}
BENCHMARK(BM_LancarUmItem)->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::vector<double> tempos = terminal().tempos;
    if (!tempos.empty()) {
        std::sort(tempos.begin(), tempos.end());
        const double p95 = tempos[std::min(tempos.size() - 1, size_t(double(tempos.size()) * 0.95))];
        for (int f = 0; f < 5; ++f)
            std::printf("  %s: %.2f ms em media\n", Terminal::kFases[f], terminal().fase[f] / double(tempos.size()));
        std::printf("lancar um item: %zu lancamentos, mediana %.2f ms, p95 %.2f ms (limite 20 ms)\n", tempos.size(),
                    tempos[tempos.size() / 2], p95);
    }
    benchmark::Shutdown();
    return 0;
}
