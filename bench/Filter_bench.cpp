// The filter pass and the selection over a 100000-run log.

#include "bench/BenchData.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "filter/Filter.h"

#include <benchmark/benchmark.h>

namespace {

struct Loaded {
    kel::RunData Data;
    kel::StageFile Stages;
    std::vector<std::string> StageList;

    Loaded() {
        const auto dir = kel::bench::DataDir(100000);
        StageList = Stages.FillStageList((dir / "trinfo.bin").string());
        kel::ReadTimesLog((dir / "zlttimes.log").string(), Data);
    }
};

Loaded& Data() {
    static Loaded loaded;
    return loaded;
}

void Pass(benchmark::State& state, bool allStages, bool hideCars) {
    Loaded& l = Data();
    kel::RunData data = l.Data;
    if (hideCars)
        for (std::size_t i = 0; i < data.CarList.size(); i += 3)
            data.CarList[i].FiltOn = true;
    kel::TDateFilter active;
    kel::VisibilityTotals totals;
    kel::SelectionState sel;
    int32_t selCur = 1;
    int32_t stageIndex = 0;
    for (auto _ : state) {
        kel::ClearFilteredOut(data);
        kel::ApplyFilter(data, l.Stages, active, totals);
        const uint8_t stage = kel::BuildSelection(data, l.Stages, sel, selCur, l.StageList, stageIndex, allStages);
        benchmark::DoNotOptimize(stage);
        benchmark::DoNotOptimize(sel.SelCount);
    }
    state.counters["runs"] = static_cast<double>(data.RunCount);
    state.counters["selected"] = static_cast<double>(sel.SelCount);
}

void BM_FilterAndSelectAllStages(benchmark::State& state) { Pass(state, true, false); }
void BM_FilterAndSelectAllStagesCarsHidden(benchmark::State& state) { Pass(state, true, true); }
void BM_FilterAndSelectOneStage(benchmark::State& state) { Pass(state, false, false); }

} // namespace

BENCHMARK(BM_FilterAndSelectAllStages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterAndSelectAllStagesCarsHidden)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterAndSelectOneStage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
