// Open and search timings of the engine on the 100,000-article file, beside
// the two yardsticks: mdb-export piped into grep, and cat of the raw file.
// The file comes from DORVAK_BENCH_MDB (see bench/README.md).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "jet/Database.h"

namespace {

std::string file() {
    const char* p = std::getenv("DORVAK_BENCH_MDB");
    return p ? p : "Dorvak-100k.mdb";
}

const char* kSearch = "select * from Dorvak\r\nwhere SIFRA like :sifra";

void Open(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(jet::Database::open(file()));
}

void PrefixSearch(benchmark::State& state) {
    auto db = jet::Database::open(file());
    std::size_t rows = 0;
    for (auto _ : state) rows = db->execute(kSearch, {u"BOS%"}).rowCount();
    state.counters["rows"] = double(rows);
}

void MatchEveryRow(benchmark::State& state) {
    auto db = jet::Database::open(file());
    std::size_t rows = 0;
    for (auto _ : state) rows = db->execute(kSearch, {u"%%%"}).rowCount();
    state.counters["rows"] = double(rows);
}

void MdbExportGrep(benchmark::State& state) {
    std::string cmd = "mdb-export '" + file() + "' Dorvak | grep -c '^[0-9]*,\"BOS' > /dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("mdb-export failed");
}

void CatFile(benchmark::State& state) {
    std::string cmd = "cat '" + file() + "' > /dev/null";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("cat failed");
}

}  // namespace

BENCHMARK(Open)->Unit(benchmark::kMillisecond);
BENCHMARK(PrefixSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(MatchEveryRow)->Unit(benchmark::kMillisecond);
BENCHMARK(MdbExportGrep)->Unit(benchmark::kMillisecond);
BENCHMARK(CatFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
