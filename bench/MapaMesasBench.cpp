// The restaurant map of 500 tables refreshed as the 40-second timer does:
// the count, the page, the four legend counts and the rebuilt cells (the
// rules alone), and the whole screen refresh with its item grid and the print
// warning. Prints the median and the 95th percentile (limit 50 ms).
#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/DResPedido.h"
#include "restaurant/MapaMesas.h"
#include "restaurant/ui/UMenuRestaurante.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

using namespace kvo;

namespace {

constexpr int kMesas = 500;

struct Loja {
    QTemporaryDir home;
    test::TestDatabase t;
    Module module;
    std::vector<double> regras, tela; // milliseconds
    std::unique_ptr<TfrmMenuRestaurante> mapa;

    Loja() {
        setProgramFolder(home.path());
        TdmAcesso::gerarInstance().usarConexao(t.db());
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        TdmConfiguracao::gerarInstance().registrarChaves();
        TdmCaixaAbertura::gerarInstance().abrir(Clock::today(), Currency(), QStringLiteral("caixa"));
        TdmResPedido::gerarInstance();
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) "
                                     "values (1, '1001', 'X-BURGUER', 24.90)"));
        // Two tables in five are open, some printed, some idle; each has four items.
        Transaction tx(t.db());
        for (int m = 1; m <= kMesas; ++m) {
            t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE) values (%1)").arg(m));
            if (m % 5 >= 2)
                continue;
            t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, "
                                         "PED_IMPRESSO, PED_DT_ULT_MOV) values (%1, %1, 'ABERTO', current_date, '%2', "
                                         "dateadd(%3 minute to current_timestamp))")
                              .arg(m)
                              .arg(m % 7 == 0 ? QStringLiteral("S") : QStringLiteral("N"))
                              .arg(-(m % 60)));
            for (int i = 0; i < 4; ++i)
                t->executeSQL(QStringLiteral("insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, "
                                             "PEDI_QTDE, PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS) values "
                                             "(%1, %2, 1, 1, 24.90, 24.90, 'NORMAL')")
                                  .arg(m * 10 + i)
                                  .arg(m));
        }
        tx.commit();
        mapa = std::make_unique<TfrmMenuRestaurante>();
        mapa->show();
        mapa->resize(1366, 768);
        QApplication::processEvents();
    }
    ~Loja() {
        mapa.reset();
        setProgramFolder({});
    }
};

// Freed by main before the application object, as widgets must be.
std::unique_ptr<Loja>& lojaAtual() {
    static std::unique_ptr<Loja> l;
    return l;
}
Loja& loja() {
    if (!lojaAtual())
        lojaAtual() = std::make_unique<Loja>();
    return *lojaAtual();
}

double ms(const QElapsedTimer& r) { return double(r.nsecsElapsed()) / 1e6; }

void BM_RegrasDoMapa(benchmark::State& state) {
    Loja& l = loja();
    MapaMesas mapa(l.t.db());
    mapa.setGrade(l.mapa->mapa().colunas(), l.mapa->mapa().linhas());
    for (auto _ : state) {
        QElapsedTimer r;
        r.start();
        mapa.verificar(MapaMesas::kRecontar);
        l.regras.push_back(ms(r));
    }
}
BENCHMARK(BM_RegrasDoMapa)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_AtualizarTela(benchmark::State& state) {
    Loja& l = loja();
    for (auto _ : state) {
        QElapsedTimer r;
        r.start();
        l.mapa->VerificarControles(false, MapaMesas::kRecontar);
        l.tela.push_back(ms(r));
    }
}
BENCHMARK(BM_AtualizarTela)->Unit(benchmark::kMillisecond)->Iterations(100);

void resumo(const char* nome, std::vector<double> v) {
    if (v.empty())
        return;
    std::sort(v.begin(), v.end());
    const double p95 = v[std::min(v.size() - 1, size_t(double(v.size()) * 0.95))];
    std::printf("%s: %zu vezes, mediana %.2f ms, p95 %.2f ms (limite 50 ms)\n", nome, v.size(), v[v.size() / 2], p95);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const Loja& l = loja();
    std::printf("mapa de %d mesas, %d por pagina (%dx%d)\n", kMesas, l.mapa->mapa().tamanhoPagina(),
                l.mapa->mapa().colunas(), l.mapa->mapa().linhas());
    resumo("consulta + montagem (regras)", l.regras);
    resumo("atualizacao da tela (consulta + montagem + itens + aviso)", l.tela);
    std::fflush(stdout);
    lojaAtual().reset();
    benchmark::Shutdown();
    return 0;
}
