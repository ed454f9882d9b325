// The report tool: `runs` beside `table --all` per printed row, and the peak resident memory of
// `game` and `stage` per run of a 1000000-run log.
//
// Compare the "per_row" counters of BM_ReportRuns and BM_ReportTableAll of one format.
#include "bench/BenchData.h"
#include "cli/ReportOutput.h"
#include "cli/ReportRuns.h"
#include "data/DateTime.h"
#include "session/Startup.h"
#include "table/CellText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using namespace kel;

constexpr int RunCount = 1000000;

// The program's state after loading the generated log, with every run in the selection.
struct Loaded {
    bench::BenchRuns runs = bench::LoadAllStages(RunCount);
    StageFile stages;
    Loaded() { stages.FillStageList(bench::DataDir(RunCount) / "trinfo.bin"); }
};

const Loaded& Data() {
    static const Loaded loaded;
    return loaded;
}

ReportFormat FormatOf(const benchmark::State& state) {
    return state.range(0) == 0 ? ReportFormat::Text : ReportFormat::Tsv;
}

void PerRow(benchmark::State& state, int64_t rows) {
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["per_row"] = benchmark::Counter(static_cast<double>(rows),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

// range(0): 0 text, 1 TSV (which adds six name fields).
void BM_ReportRuns(benchmark::State& state) {
    const Loaded& d = Data();
    for (auto _ : state) {
        ReportOutput out(std::fopen("/dev/null", "wb"), "null", FormatOf(state), false);
        PrintRuns(out, d.runs.data, d.stages);
        if (!out.Close(Language::Russian).empty())
            state.SkipWithError("write failed");
    }
    PerRow(state, d.runs.data.RunCount);
}
BENCHMARK(BM_ReportRuns)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What `table --all` does after the start-up: the table's fill and every cell of every row.
void BM_ReportTableAll(benchmark::State& state) {
    const Loaded& d = Data();
    DisplayState disp;
    disp.AllStages = true;
    std::string cell;
    for (auto _ : state) {
        ReportOutput out(std::fopen("/dev/null", "wb"), "null", FormatOf(state), false);
        const TableSnapshot snap = FillRunsTable(d.runs.data, d.runs.sel, disp, Conventions{});
        for (int row = 1; row <= snap.RowCount && out.Ok(); ++row) {
            for (int col = 0; col < StageColumn; ++col) {
                CellText(snap, row, col, cell);
                out.Field(cell);
            }
            out.EndRow();
        }
        if (!out.Close(Language::Russian).empty())
            state.SkipWithError("write failed");
    }
    PerRow(state, d.runs.sel.SelCount);
}
BENCHMARK(BM_ReportTableAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifndef _WIN32
long ToolPeakKb(const std::string& dataDir, const char* command) {
    return bench::ReadPeakKb("exec /proc/" + std::to_string(getpid()) + "/exe " + bench::PeakOption +
                             " " KELVARA_REPORT_TOOL " --dir '" + dataDir + "' " + command);
}

// range(0): 0 `game`, 1 `stage`. Bytes per run: the peak on the big log less the peak on a
// log of ten runs, over the big log's runs; the file's bytes are never held whole.
void BM_ReportPeakMemory(benchmark::State& state) {
    const char* command = state.range(0) == 0 ? "game" : "stage";
    const std::string big = bench::DataDir(RunCount).string(), tiny = bench::DataDir(10).string();
    long bigKb = 0, tinyKb = 0;
    for (auto _ : state) {
        bigKb = ToolPeakKb(big, command);
        tinyKb = ToolPeakKb(tiny, command);
        if (bigKb < 0 || tinyKb < 0) {
            state.SkipWithError("the report tool failed");
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(bigKb) / 1024;
    state.counters["tiny_MB"] = static_cast<double>(tinyKb) / 1024;
    state.counters["bytes/run"] = static_cast<double>(bigKb - tinyKb) * 1024 / RunCount;
}
BENCHMARK(BM_ReportPeakMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

} // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    if (argc > 2 && std::string(argv[1]) == bench::PeakOption)
        return bench::PrintPeakOfChild(argv + 2);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
