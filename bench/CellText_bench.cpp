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

using Sample = kel::bench::BenchRuns;

Sample LoadSample() { return kel::bench::LoadAllStages(100000); }

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
        const TableSnapshot snap = FillRunsTable(sample.data, sample.sel, disp, Conventions{.DecimalSep = ","});
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
