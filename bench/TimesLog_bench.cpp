// Reading a 100000-run times log, beside a bare pass that only splits the same file into lines.
#include "bench/BenchData.h"
#include "data/FileBytes.h"
#include "data/TimesLog.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace kel;

constexpr int LogRuns = 100000;

std::string LogPath() { return (bench::DataDir(LogRuns) / "zlttimes.log").string(); }

void BM_ReadTimesLog(benchmark::State& state) {
    const std::string path = LogPath();
    int64_t runs = 0;
    for (auto _ : state) {
        RunData data;
        ReadTimesLog(path, data);
        runs += data.RunCount;
        benchmark::DoNotOptimize(data.Runs.data());
    }
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(runs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadTimesLog)->Unit(benchmark::kMillisecond);

void BM_SplitLines(benchmark::State& state) {
    const std::string path = LogPath();
    RunData once;
    ReadTimesLog(path, once); // the same runs/s scale as the full read
    int64_t runs = 0;
    for (auto _ : state) {
        const std::string bytes = ReadFileBytes(path, "zlttimes.log");
        std::size_t lines = 0;
        ForEachLine(bytes, [&](std::string_view line) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        });
        benchmark::DoNotOptimize(lines);
        runs += once.RunCount;
    }
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(runs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
