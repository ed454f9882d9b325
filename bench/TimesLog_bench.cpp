// Reading the times log: a full read beside awk splitting the same file into fields, memory
// per run, logs with many names, and the look after one appended run.
//
// Compare BM_ReadTimesLog/1000000 (its CPU column) with BM_AwkFields/1000000 (its Time
// column, which is awk's own CPU time). Peak memory is measured per read (Linux only).
#include "bench/BenchData.h"
#include "data/DateTime.h"
#include "data/TimesLog.h"
#include "session/Events.h"
#include "session/Startup.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#endif

namespace {

using namespace kel;
namespace fs = std::filesystem;

std::string LogPath(int runs) { return (bench::DataDir(runs) / "zlttimes.log").string(); }

// A line of /proc/self/status in KB ("VmHWM", "VmRSS"); -1 where there is none.
long StatusKb(const std::string& key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

// Starts a new peak of the resident memory; false where the system cannot.
bool ResetPeakMemory() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

void BM_ReadTimesLog(benchmark::State& state) {
    const int runs = static_cast<int>(state.range(0));
    const std::string path = LogPath(runs);
    const double fileBytes = static_cast<double>(fs::file_size(path));
    int64_t read = 0;
    long extraKb = -1;
    for (auto _ : state) {
        state.PauseTiming();
#ifdef __GLIBC__
        // Fresh memory for every read, as for the one read of a starting program: otherwise
        // the run table of the last iteration is still resident.
        malloc_trim(0);
#endif
        state.ResumeTiming();
        const bool peak = ResetPeakMemory();
        const long before = StatusKb("VmRSS");
        {
            RunData data;
            ReadTimesLog(path, data);
            read += data.RunCount;
            benchmark::DoNotOptimize(data.Runs.data());
        }
        if (peak && before >= 0)
            extraKb = std::max(extraKb, StatusKb("VmHWM") - before);
    }
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(read), benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(fileBytes * static_cast<double>(state.iterations()) / 1e6,
                                                benchmark::Counter::kIsRate);
    if (extraKb >= 0) {
        state.counters["peak_MB"] = static_cast<double>(extraKb) / 1024;
        // Everything the read holds at its peak, the file's bytes not counted.
        state.counters["bytes/run"] = (static_cast<double>(extraKb) * 1024) / runs;
    }
}
BENCHMARK(BM_ReadTimesLog)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

#ifndef _WIN32
// awk splitting every line of the same file into its tab-separated fields: the time is awk's
// own CPU time (user and system).
void BM_AwkFields(benchmark::State& state) {
    const std::string path = LogPath(static_cast<int>(state.range(0)));
    const std::string command = "awk -F'\\t' '{n+=NF} END{print n}' '" + path + "' >/dev/null";
    for (auto _ : state) {
        rusage before{}, after{};
        getrusage(RUSAGE_CHILDREN, &before);
        const int status = std::system(command.c_str());
        getrusage(RUSAGE_CHILDREN, &after);
        if (status != 0) {
            state.SkipWithError("awk failed");
            return;
        }
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
        state.SetIterationTime(seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                               seconds(before.ru_stime));
    }
}
BENCHMARK(BM_AwkFields)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime();
#endif

// A log of `runs` finished runs whose car names repeat every `names` runs.
fs::path NamesLog(int runs, int names) {
    const fs::path dir = fs::temp_directory_path() / ("kelvara-bench-names-" + std::to_string(runs) + "-" +
                                                       std::to_string(names));
    const fs::path path = dir / "zlttimes.log";
    if (fs::exists(path))
        return path;
    fs::create_directories(dir);
    const fs::path work = dir / "zlttimes.log.tmp";
    {
        std::ofstream out(work, std::ios::binary);
        out << "Bench log\r\nDate\tStage\tSurface\tWear\tWeather\tTyres\tDamage\tCar\tClass\tProfile\r\n";
        for (int i = 0; i < runs; ++i)
            out << "2024-05-06 10:" << (10 + i % 50) << ":00\t" << (1 + i % 40) << "\t0\t1\t2\t3\t1\tBench Car "
                << (i % names) << "\tGroup " << (i % 5) << "\tDriver\r\n \t61.25\t122.5\t" << (180 + i % 60)
                << ".125\r\n";
    }
    fs::rename(work, path);
    return path;
}

void BM_ReadManyNames(benchmark::State& state) {
    const int runs = 80000, names = static_cast<int>(state.range(0));
    const std::string path = NamesLog(runs, names).string();
    for (auto _ : state) {
        RunData data;
        ReadTimesLog(path, data);
        if (static_cast<int>(data.CarList.size()) != names)
            state.SkipWithError("unexpected name count");
        benchmark::DoNotOptimize(data.Runs.data());
    }
}
BENCHMARK(BM_ReadManyNames)->Arg(8)->Arg(80000)->Unit(benchmark::kMillisecond);

// The program started on a copy of the generated data, showing one stage (or all stages,
// ordered by finish time), with a run appended before every look at the log.
struct LiveLog {
    fs::path dir;
    ProgramState v;
    StartupOptions options;
    int appended = 0;

    explicit LiveLog(int runs, bool allStages = false) {
        const fs::path source = bench::DataDir(runs);
        dir = fs::temp_directory_path() / ("kelvara-bench-live-" + std::to_string(runs));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(source / "zlttimes.log", dir / "zlttimes.log");
        fs::copy_file(source / "trinfo.bin", dir / "trinfo.bin");
        options.DataDir = dir;
        options.Now = NowDateTime();
        LoadPhase(v, options);
        v.Disp.AllStages = allStages;
        v.Disp.TypeSort = allStages ? 5 : 0;
        SetupPhase(v, options);
    }
    ~LiveLog() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void Append() {
        const int stage = v.Sel.CurrentStage != 0 ? v.Sel.CurrentStage : 1;
        std::ofstream out(dir / "zlttimes.log", std::ios::binary | std::ios::app);
        out << "2025-12-30 20:" << (10 + appended % 50) << ":00\t" << stage
            << "\t0\t1\t0\t3\t2\tBench Appended\tGroup Z\tDriver\r\n \t61.25\t122.5\t" << (180 + appended % 60)
            << ".5\r\n";
        ++appended;
    }
};

// The whole refresh: read, filter, selection, ordering, panels, table snapshot.
void BM_AppendAndRefresh(benchmark::State& state) {
    LiveLog live(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        live.Append();
        state.ResumeTiming();
        const LogUpdate update = OnLogChanged(live.v, NowDateTime());
        if (update.NewRuns != 1 || update.Note.empty())
            state.SkipWithError("the appended run was not read");
        benchmark::DoNotOptimize(update.Texts);
    }
}
BENCHMARK(BM_AppendAndRefresh)
    ->ArgNames({"runs", "all"})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

// The reading part alone.
void BM_AppendRead(benchmark::State& state) {
    LiveLog live(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        live.Append();
        state.ResumeTiming();
        const TimesLogFollower::Change change = live.v.Log.Poll(live.v.Data);
        if (change.FinishedRuns != 1)
            state.SkipWithError("the appended run was not read");
    }
}
BENCHMARK(BM_AppendRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
