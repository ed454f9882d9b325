// Ordering of a large selection, and the classic exchange sort beside it.
#include "table/Ordering.h"

#include "bench/BenchData.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "filter/Filter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace kel;

using Sample = kel::bench::BenchRuns;

Sample LoadSample() { return kel::bench::LoadAllStages(100000); }

// The first n runs of the large selection, numbered as a selection of n.
Sample FirstRuns(const Sample& all, int n) {
    Sample s;
    s.data = all.data;
    s.sel.Selection.assign(all.sel.Selection.begin(), all.sel.Selection.begin() + n + 1);
    s.sel.SelCount = n;
    return s;
}

const Sample& Runs(int n) {
    static const Sample full = LoadSample();
    static const Sample part = FirstRuns(full, 20000);
    return n == 20000 ? part : full;
}

// The exchange sort as the ordering is defined: n(n-1)/2 comparisons.
void LiteralSort(SelectionState& s, bool ascending) {
    const int n = s.SelCount;
    std::vector<double> key(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i)
        key[static_cast<std::size_t>(i)] = s.Selection[static_cast<std::size_t>(i)].Finish;
    for (int j = 1; j <= n - 1; ++j)
        for (int p = j + 1; p <= n; ++p)
            if (ascending ? key[j] > key[p] : key[j] < key[p]) {
                std::swap(key[j], key[p]);
                std::swap(s.Selection[j], s.Selection[p]);
            }
}

// "Финиш" ascending, then descending (the second is the literal procedure's worst case).
void BM_SortFinishAscDesc(benchmark::State& state) {
    const Sample& sample = Runs(static_cast<int>(state.range(0)));
    SelectionState sel;
    for (auto _ : state) {
        state.PauseTiming();
        sel = sample.sel;
        state.ResumeTiming();
        SortSelection(sel, sample.data, 5, 1, false);
        SortSelection(sel, sample.data, 5, 0, false);
        benchmark::DoNotOptimize(sel.Selection.data());
    }
    state.counters["runs"] = sel.SelCount;
}
BENCHMARK(BM_SortFinishAscDesc)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LiteralFinishAscDesc(benchmark::State& state) {
    const Sample& sample = Runs(static_cast<int>(state.range(0)));
    SelectionState sel;
    for (auto _ : state) {
        state.PauseTiming();
        sel = sample.sel;
        state.ResumeTiming();
        LiteralSort(sel, true);
        LiteralSort(sel, false);
        benchmark::DoNotOptimize(sel.Selection.data());
    }
    state.counters["runs"] = sel.SelCount;
}
BENCHMARK(BM_LiteralFinishAscDesc)->Arg(20000)->Unit(benchmark::kMillisecond);

// Sector keys, rank grouping and placement on the large selection.
void BM_SortOther(benchmark::State& state) {
    const Sample& sample = Runs(100000);
    const auto column = static_cast<uint8_t>(state.range(0));
    SelectionState sel;
    for (auto _ : state) {
        state.PauseTiming();
        sel = sample.sel;
        SortSelection(sel, sample.data, 5, 1, false); // away from log order first
        state.ResumeTiming();
        SortSelection(sel, sample.data, column, 0, column == 4);
        benchmark::DoNotOptimize(sel.Selection.data());
    }
    state.counters["runs"] = sel.SelCount;
}
BENCHMARK(BM_SortOther)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The stage and date columns beside the car (rank grouping) and finish (time) columns, each
// from an order away from the log's, on the large selection, both directions per iteration.
void BM_SortStageDateBeside(benchmark::State& state) {
    const Sample& sample = Runs(100000);
    static const std::vector<int32_t> places = [] {
        StageFile stages;
        const std::vector<std::string> list =
            SortedStageList(stages.FillStageList(kel::bench::DataDir(100000) / "trinfo.bin"));
        return StageListPlaces(stages, list);
    }();
    const auto column = static_cast<uint8_t>(state.range(0));
    SelectionState sel;
    for (auto _ : state) {
        state.PauseTiming();
        sel = sample.sel;
        SortSelection(sel, sample.data, 5, 1, false);
        state.ResumeTiming();
        SortSelection(sel, sample.data, column, 1, false, places);
        SortSelection(sel, sample.data, column, 0, false, places);
        benchmark::DoNotOptimize(sel.Selection.data());
    }
    state.counters["runs"] = sel.SelCount;
}
BENCHMARK(BM_SortStageDateBeside)->Arg(1)->Arg(5)->Arg(12)->Arg(13)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
