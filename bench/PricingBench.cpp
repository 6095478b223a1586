// Costs of turning amounts into text and back, and of one settings access.
// A grid page shows some forty prices, so a few hundred nanoseconds per
// price keep scrolling through a million articles smooth.
#include "pricing/FormatNumber.h"
#include "pricing/NumberSeparators.h"
#include "pricing/NumberText.h"
#include "pricing/PriceRules.h"
#include "settings/IniFile.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace dorvak;

void BM_GridPrice(benchmark::State& state) {
    SetNumberSeparators(",", ".");
    double value = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatFloat("#,##0.00", value));
        value += 0.01;
    }
}
BENCHMARK(BM_GridPrice);

void BM_PriceLabels(benchmark::State& state) {
    SetNumberSeparators(",", ".");
    double price = 100;
    std::string net, retail;
    for (auto _ : state) {
        UpdatePrices(
            price, [&](const std::string& t) { net = t; },
            [&](const std::string& t) { retail = t; });
        price += 0.01;
    }
    benchmark::DoNotOptimize(retail);
}
BENCHMARK(BM_PriceLabels);

void BM_GeneralFormat(benchmark::State& state) {
    SetNumberSeparators(",", ".");
    double value = 1.0 / 3;
    for (auto _ : state) benchmark::DoNotOptimize(FormatGeneral(value));
}
BENCHMARK(BM_GeneralFormat);

void BM_ParseDiscount(benchmark::State& state) {
    SetNumberSeparators(",", ".");
    const std::string text = " 12,5 ";
    for (auto _ : state) benchmark::DoNotOptimize(ParseFloat(text));
}
BENCHMARK(BM_ParseDiscount);

// One read and one atomic write of a small Set.ini, as at start and on
// each discount commit; the write includes two fsyncs.
void BM_SettingsAccess(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "dorvak-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary directory");
        return;
    }
    SetSettingsDirectoryForTesting(pattern);
    std::ofstream(pattern + "/Set.ini") << "[Postavke]\r\nwww=http://x\r\nRabat=5\r\nPDV=25\r\n";
    const bool write = state.range(0) != 0;
    for (auto _ : state) {
        if (write) {
            WriteIniValue("Postavke", "Rabat", "12,5", "Set.ini");
        } else {
            benchmark::DoNotOptimize(ReadIniValue("Postavke", "PDV", "Set.ini"));
        }
    }
    SetSettingsDirectoryForTesting("");
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_SettingsAccess)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
