// Texts of every cell of a large runs table.
#include "table/CellText.h"

#include "bench/BenchData.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "filter/Filter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace kel;

struct Sample {
    RunData data;
    SelectionState sel;
};

// The generated 100000-run log with every stage selected, as at start-up: filter pass,
// selection, packed and ranked lists; the selection in log order.
Sample LoadSample() {
    const std::filesystem::path dir = kel::bench::DataDir(100000);
    Sample s;
    StageFile stages;
    const std::vector<std::string> stageList = stages.FillStageList((dir / "trinfo.bin").string());
    ReadTimesLog((dir / "zlttimes.log").string(), s.data);
    VisibilityTotals totals;
    ApplyFilter(s.data, stages, TDateFilter{}, totals);
    int32_t selCur = 1;
    int32_t stageIndex = 0;
    BuildSelection(s.data, stages, s.sel, selCur, stageList, stageIndex, true);
    PackNameList(s.data.CarList, &RunRecord::CarIdx, s.data.Runs, &s.sel.Selection);
    PackNameList(s.data.ClassList, &RunRecord::ClassIdx, s.data.Runs, &s.sel.Selection);
    PackNameList(s.data.ProfList, &RunRecord::ProfIdx, s.data.Runs, &s.sel.Selection);
    for (NameList* list : {&s.data.WetnessList, &s.data.SurfAgeList, &s.data.TyresList, &s.data.DamageList,
                           &s.data.WeatherList})
        RankCondList(*list);
    return s;
}

const Sample& Runs() {
    static const Sample s = LoadSample();
    return s;
}

// Fill, then the 12 texts of every row; range(0): 0 plain, 1 relative and by sectors.
void BM_AllCellTexts(benchmark::State& state) {
    const Sample& sample = Runs();
    DisplayState disp;
    disp.SelCur = 500;
    disp.Relative = state.range(0) == 1;
    disp.BySectors = state.range(0) == 1;
    disp.NumMode = NumberMode::Grayed;
    std::string out;
    out.reserve(64);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const TableSnapshot snap = FillRunsTable(sample.data, sample.sel, disp, ",");
        for (int row = 1; row <= snap.RowCount; ++row)
            for (int column = 0; column < 12; ++column) {
                CellText(snap, row, column, out);
                bytes += out.size();
            }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * 12 * sample.sel.SelCount);
    state.counters["runs"] = sample.sel.SelCount;
}
BENCHMARK(BM_AllCellTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
