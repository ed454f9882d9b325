#include "bench/BenchData.h"

#include "data/DateTime.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "tools/SampleGen.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <stdexcept>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define KEL_GETPID _getpid
#else
#include <unistd.h>
#define KEL_GETPID getpid
#endif

namespace kel::bench {
namespace {

// Bumped whenever the generator's output changes, so that an old folder is not reused.
constexpr int GeneratorVersion = 2;
constexpr const char* CompleteMark = "complete";

std::filesystem::path Generate(int runs) {
    namespace fs = std::filesystem;
    const std::string name = "kelvara-bench-" + std::to_string(runs) + "-v" + std::to_string(GeneratorVersion);
    const fs::path dir = fs::temp_directory_path() / name;
    if (fs::exists(dir / CompleteMark)) return dir;

    // Written into a private folder and renamed into place, so that benchmarks started at the
    // same time never read half-written files.
    const fs::path work = fs::temp_directory_path() / (name + ".tmp" + std::to_string(KEL_GETPID()));
    fs::remove_all(work);
    sample::SampleOptions options;
    options.Runs = runs;
    options.Seed = 20261207;
    options.StartYear = 2015; // 100000 runs end in December 2025
    options.Days = std::max(1000, runs / 25);
    sample::WriteSample(work, options);
    { std::ofstream(work / CompleteMark) << runs << '\n'; }

    std::error_code ec;
    fs::rename(work, dir, ec);
    if (ec) { // another process got there first, or a stale incomplete folder is in the way
        if (!fs::exists(dir / CompleteMark)) {
            fs::remove_all(dir);
            fs::rename(work, dir);
        } else {
            fs::remove_all(work);
        }
    }
    return dir;
}

} // namespace

const std::filesystem::path& DataDir(int runs) {
    static std::mutex mutex;
    static std::map<int, std::filesystem::path> dirs;
    const std::lock_guard lock(mutex);
    auto it = dirs.find(runs);
    if (it == dirs.end()) it = dirs.emplace(runs, Generate(runs)).first;
    return it->second;
}

BenchRuns LoadAllStages(int runs) {
    StartupOptions options;
    options.DataDir = DataDir(runs);
    options.Now = NowDateTime();
    ProgramState v;
    LoadPhase(v, options);
    v.Disp.AllStages = true;
    v.Disp.TypeSort = 0;
    v.Disp.UpOrDown = 1;
    SetupPhase(v, options);
    return BenchRuns{std::move(v.Data), std::move(v.Sel)};
}

#ifndef _WIN32
int PrintPeakOfChild(char** argv) {
    const int out = open("/dev/null", O_WRONLY);
    const int saved = dup(1);
    dup2(out, 1); // the child's output is not wanted
    long kb = -1;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            kb = usage.ru_maxrss;
    }
    dup2(saved, 1);
    std::printf("%ld\n", kb);
    return kb < 0 ? 1 : 0;
}

long ReadPeakKb(const std::string& commandLine) {
    std::FILE* p = popen(commandLine.c_str(), "r");
    if (!p)
        return -1;
    long kb = -1;
    if (std::fscanf(p, "%ld", &kb) != 1)
        kb = -1;
    return pclose(p) == 0 ? kb : -1;
}
#endif

} // namespace kel::bench
