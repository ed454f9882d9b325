// The runs table exported as a spreadsheet file.
#include "table/TableExport.h"

#include "bench/BenchData.h"

#include <benchmark/benchmark.h>

#include <numeric>

namespace {

using namespace kel;

// 100000 rows: the finished runs of the generated log, repeated until there are that many.
const bench::BenchRuns& Rows100000() {
    static const bench::BenchRuns s = [] {
        bench::BenchRuns r = bench::LoadAllStages(100000);
        const int32_t finished = r.sel.SelCount;
        r.sel.Selection.resize(100001);
        for (int32_t i = finished + 1; i <= 100000; ++i) {
            r.sel.Selection[static_cast<std::size_t>(i)] = r.sel.Selection[static_cast<std::size_t>(i - finished)];
            r.sel.Selection[static_cast<std::size_t>(i)].SelNo = i;
        }
        r.sel.SelCount = 100000;
        return r;
    }();
    return s;
}

// All 12 columns; range(0): 0 plain times, 1 relative times by sectors (signed texts).
void BM_ExportTableCsv(benchmark::State& state) {
    const bench::BenchRuns& s = Rows100000();
    DisplayState disp;
    disp.SelCur = 500;
    disp.Relative = disp.BySectors = state.range(0) == 1;
    disp.NumMode = NumberMode::Grayed;
    std::vector<int> columns(12);
    std::iota(columns.begin(), columns.end(), 0);
    const std::vector<std::string> captions(12, "Столбец");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const TableSnapshot snap = FillRunsTable(s.data, s.sel, disp, Conventions{.DecimalSep = ","});
        const std::string file = ExportTableCsv(snap, columns, captions);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["rows"] = s.sel.SelCount;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ExportTableCsv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
