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
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
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
        if (!out.Close().empty())
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
        const TableSnapshot snap = FillRunsTable(d.runs.data, d.runs.sel, disp, ".");
        for (int row = 1; row <= snap.RowCount && out.Ok(); ++row) {
            for (int col = 0; col < ColumnCount; ++col) {
                CellText(snap, row, col, cell);
                out.Field(cell);
            }
            out.EndRow();
        }
        if (!out.Close().empty())
            state.SkipWithError("write failed");
    }
    PerRow(state, d.runs.sel.SelCount);
}
BENCHMARK(BM_ReportTableAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifndef _WIN32
// Peak resident memory of one run of the report tool, in KB; -1 when it failed.
long ToolPeakKb(const std::vector<std::string>& args) {
    std::vector<std::string> all{KELVARA_REPORT_TOOL};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

// range(0): 0 `game`, 1 `stage`. Bytes per run: the peak on the big log less the peak on a
// log of ten runs, over the big log's runs; the file's bytes are never held whole.
void BM_ReportPeakMemory(benchmark::State& state) {
    const char* command = state.range(0) == 0 ? "game" : "stage";
    const std::string big = bench::DataDir(RunCount).string(), tiny = bench::DataDir(10).string();
    long bigKb = 0, tinyKb = 0;
    for (auto _ : state) {
        bigKb = ToolPeakKb({"--dir", big, command});
        tinyKb = ToolPeakKb({"--dir", tiny, command});
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

BENCHMARK_MAIN();
