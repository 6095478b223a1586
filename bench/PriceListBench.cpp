// Costs a user feels on a large price list: a search that returns most of
// the table, moving through it, and the cells a grid page reads.
//
//   gunzip -c big/Dorvak-100k.mdb.gz > /tmp/Dorvak-100k.mdb
//   DORVAK_BENCH_MDB=/tmp/Dorvak-100k.mdb ./pricelist_bench
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "pricelist/DataSource.h"
#include "pricelist/DorvakQuery.h"
#include "pricelist/Field.h"
#include "pricelist/OpenQuery.h"
#include "pricelist/Query.h"
#include "ui/InformationDialog.h"

namespace {

using namespace dorvak;

// One scratch directory holding Dorvak.mdb for the whole run.
struct Workspace {
    Workspace() {
        const char* source = std::getenv("DORVAK_BENCH_MDB");
        if (!source || !QFile::copy(QString::fromLocal8Bit(source),
                                    dir.filePath(QStringLiteral("Dorvak.mdb"))))
            return;
        QDir::setCurrent(dir.path());
        InformationDialog::setAnswererForTesting([](const QString&, const QString&) {});
        ready = true;
    }
    QTemporaryDir dir;
    bool ready = false;
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

void openAll(Query& query) { OpenQuery(query, {QStringLiteral("sifra")}, {QStringLiteral("%")}); }

void BM_OpenWholeTable(benchmark::State& state) {
    if (!workspace().ready) return state.SkipWithError("set DORVAK_BENCH_MDB");
    std::unique_ptr<Query> query(CreateDorvakQuery(nullptr));
    openAll(*query);  // the connection is made once per run, not per search
    for (auto _ : state) {
        openAll(*query);
        benchmark::DoNotOptimize(query->recordCount());
    }
    state.counters["rows"] = query->recordCount();
}
BENCHMARK(BM_OpenWholeTable)->Unit(benchmark::kMillisecond);

void BM_OpenPrefix(benchmark::State& state) {
    if (!workspace().ready) return state.SkipWithError("set DORVAK_BENCH_MDB");
    std::unique_ptr<Query> query(CreateDorvakQuery(nullptr));
    openAll(*query);
    for (auto _ : state) {
        OpenQuery(*query, {QStringLiteral("sifra")}, {QStringLiteral("BOS 0986%")});
        benchmark::DoNotOptimize(query->recordCount());
    }
    state.counters["rows"] = query->recordCount();
}
BENCHMARK(BM_OpenPrefix)->Unit(benchmark::kMillisecond);

// A step through the whole result with the change handler's read of the
// price on every notification, as holding the Down key does.
void BM_StepThroughWithPriceReads(benchmark::State& state) {
    if (!workspace().ready) return state.SkipWithError("set DORVAK_BENCH_MDB");
    std::unique_ptr<Query> query(CreateDorvakQuery(nullptr));
    DataSource source;
    source.setDataSet(query.get());
    Field* price = query->findChild<Field*>(QStringLiteral("qDorvakCIJENA"));
    double sum = 0;
    QObject::connect(&source, &DataSource::dataChange, [&] { sum += price->asFloat(); });
    openAll(*query);
    for (auto _ : state) {
        query->first();
        while (!query->eof()) query->next();
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * query->recordCount());
}
BENCHMARK(BM_StepThroughWithPriceReads)->Unit(benchmark::kMillisecond);

// One screen of the grid (30 rows, three columns) anywhere in the result.
void BM_GridPageCells(benchmark::State& state) {
    if (!workspace().ready) return state.SkipWithError("set DORVAK_BENCH_MDB");
    std::unique_ptr<Query> query(CreateDorvakQuery(nullptr));
    openAll(*query);
    const int rows = query->rowCount();
    int top = 0;
    for (auto _ : state) {
        for (int row = top; row < top + 30 && row < rows; ++row)
            for (int column = 0; column < 3; ++column)
                benchmark::DoNotOptimize(query->cellText(row, column));
        top = (top + 7919) % (rows > 30 ? rows - 30 : 1);
    }
}
BENCHMARK(BM_GridPageCells)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
