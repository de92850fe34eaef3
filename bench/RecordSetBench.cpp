// RecordSet over an embedded database: open 10 000 rows, locate by key, walk
// them, edit 1 000 and apply them in one transaction.
#include "framework/db/RecordSet.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace kvo;

namespace {

constexpr int kRows = 10000;

test::TestDatabase& database() {
    static test::TestDatabase db;
    static const bool filled = [] {
        db->executeSQL(QStringLiteral("create table BENCH_ITEM (ID integer not null primary key, NOME varchar(60), "
                                      "QTDE numeric(18,4), PRECO numeric(18,4), STATUS varchar(10))"));
        Transaction tx(db.db());
        for (int i = 1; i <= kRows; ++i)
            db->executeSQL(QStringLiteral("insert into BENCH_ITEM values (%1, 'PRODUTO %1', %2, %3.25, 'NORMAL')")
                               .arg(i).arg(i % 7 + 1).arg(i % 100));
        tx.commit();
        return true;
    }();
    (void)filled;
    return db;
}

std::unique_ptr<RecordSet> openItems() {
    auto rs = std::make_unique<RecordSet>(database().db());
    rs->setCommandText(QStringLiteral("select * from BENCH_ITEM order by ID"));
    rs->setUpdateTable(QStringLiteral("BENCH_ITEM"));
    rs->open();
    return rs;
}

void BM_Open10000(benchmark::State& state) {
    for (auto _ : state) {
        auto rs = openItems();
        benchmark::DoNotOptimize(rs->recordCount());
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_Open10000)->Unit(benchmark::kMillisecond);

void BM_LocateByKey(benchmark::State& state) {
    auto rs = openItems();
    int key = 1;
    for (auto _ : state) {
        key = key * 7919 % kRows + 1;
        benchmark::DoNotOptimize(rs->locate(QStringLiteral("ID"), key));
    }
}
BENCHMARK(BM_LocateByKey)->Unit(benchmark::kMicrosecond);

void BM_Walk10000(benchmark::State& state) {
    auto rs = openItems();
    Field& preco = rs->field(QStringLiteral("PRECO"));
    for (auto _ : state) {
        Currency total;
        for (rs->first(); !rs->eof(); rs->next())
            total += preco.asCurrency();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Walk10000)->Unit(benchmark::kMillisecond);

void BM_Edit1000AndApply(benchmark::State& state) {
    auto rs = openItems();
    int round = 0;
    for (auto _ : state) {
        ++round;
        rs->first();
        for (int i = 0; i < 1000; ++i, rs->next()) {
            rs->edit();
            rs->field(QStringLiteral("QTDE")).setValue(round + i);
            rs->post();
        }
        rs->applyUpdates(0);
    }
}
BENCHMARK(BM_Edit1000AndApply)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
