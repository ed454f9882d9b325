// Progress figures of one stage with many runs.
#include "progress/ProgressFigures.h"

#include "bench/BenchData.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kel;

// The first 20000 finished runs of the generated log, taken as the runs of one stage (the
// figures never look at the stage number), in the table's log order.
const bench::BenchRuns& Stage20000() {
    static const bench::BenchRuns s = [] {
        bench::BenchRuns all = bench::LoadAllStages(100000);
        all.sel.SelCount = 20000;
        all.sel.Selection.resize(20001);
        return all;
    }();
    return s;
}

// range(0): 0 grouped by car, 1 by profile (fewer, larger groups).
void BM_ComputeProgress(benchmark::State& state) {
    const bench::BenchRuns& s = Stage20000();
    const auto grouping = state.range(0) == 0 ? ProgressGrouping::Car : ProgressGrouping::Profile;
    for (auto _ : state) {
        ProgressFigures f = ComputeProgress(s.data, s.sel, false, grouping);
        benchmark::DoNotOptimize(f.Bests.data());
    }
    state.counters["runs"] = s.sel.SelCount;
}
BENCHMARK(BM_ComputeProgress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
