// Ordering of a large selection, and the classic exchange sort beside it.
#include "table/Ordering.h"

#include <benchmark/benchmark.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using namespace kel;

// A selection shaped like the generated log's: 200 stages, times with millisecond resolution,
// in log order.
struct Sample {
    RunData data;
    SelectionState sel;
};

void RankNames(NameList& list) {
    for (auto& e : list) {
        e.Rank = 1;
        for (const auto& o : list)
            e.Rank += o.Name < e.Name ? 1 : 0;
    }
}

Sample MakeSample(int runs) {
    Sample s;
    std::mt19937 rng(424242);
    for (int i = 0; i < 40; ++i)
        s.data.CarList.push_back(NameEntry{"Car " + std::to_string((i * 7919) % 1000)});
    RankNames(s.data.CarList);
    std::vector<double> stageTime(201);
    for (auto& t : stageTime)
        t = std::uniform_real_distribution<double>(90, 900)(rng);
    s.sel.Selection.resize(static_cast<std::size_t>(runs) + 1);
    s.sel.SelCount = runs;
    for (int i = 1; i <= runs; ++i) {
        RunRecord& r = s.sel.Selection[static_cast<std::size_t>(i)];
        r.SelNo = i;
        r.RunNo = i;
        r.Finished = true;
        r.StageNo = static_cast<uint16_t>(1 + rng() % 200);
        r.CarIdx = static_cast<int32_t>(rng() % 40);
        const double clean = stageTime[r.StageNo] * std::uniform_real_distribution<double>(0.97, 1.4)(rng);
        auto ms = [](double t) { return static_cast<double>(static_cast<long long>(t * 1000)) / 1000; };
        r.Split1 = ms(clean * 0.33);
        r.Split2 = ms(clean * 0.67);
        r.Finish = ms(clean);
    }
    return s;
}

const Sample& Runs(int n) {
    static Sample full = MakeSample(100000);
    static Sample part = MakeSample(20000);
    return n == 100000 ? full : part;
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
}
BENCHMARK(BM_SortOther)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
