// The result of a new run: one pass over its stage's runs, whatever the size of the log.
#include "stats/RunResult.h"

#include "bench/BenchData.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kel;

// The generated 100000-run log with every fifth run moved to stage 1: a stage of 20000 runs
// among 80000 of the others.
const bench::BenchRuns& Log100000() {
    static const bench::BenchRuns s = [] {
        bench::BenchRuns all = bench::LoadAllStages(100000);
        for (int32_t i = 1; i <= all.data.RunCount; ++i) {
            RunRecord& r = all.data.Runs[static_cast<std::size_t>(i)];
            if (i % 5 == 0)
                r.StageNo = 1;
            else if (r.StageNo == 1)
                r.StageNo = 2;
        }
        return all;
    }();
    return s;
}

// The result of the stage's last run, the case of a run that has just arrived.
void BM_ResultOfNewRun(benchmark::State& state) {
    const bench::BenchRuns& s = Log100000();
    StageRunIndex index;
    index.Update(s.data);
    const std::vector<int32_t>& stage = index.Runs(1);
    int32_t newest = 0;
    for (int32_t runNo : stage)
        if (CountsForResult(s.data.Runs[static_cast<std::size_t>(runNo)]))
            newest = runNo;
    for (auto _ : state) {
        const RunResult r = ResultOfRun(s.data, index, newest);
        benchmark::DoNotOptimize(r.Rank);
    }
    state.counters["stage_runs"] = static_cast<double>(stage.size());
    state.counters["log_runs"] = s.data.RunCount;
}
BENCHMARK(BM_ResultOfNewRun)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
