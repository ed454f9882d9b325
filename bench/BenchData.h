#pragma once
// Generated data sets for the benchmarks.

#include "data/RunData.h"
#include "filter/FilterState.h"

#include <filesystem>
#include <string>

namespace kel::bench {

// A folder holding an invented "trinfo.bin" and a "zlttimes.log" of `runs` runs, generated
// once per process (and reused from the temporary folder when already there).
const std::filesystem::path& DataDir(int runs);

// The runs of DataDir(runs) as the program starts in the all-stages mode: filter pass, every
// stage selected, packed and ranked lists, the selection in log order.
struct BenchRuns {
    RunData data;
    SelectionState sel;
};
BenchRuns LoadAllStages(int runs);

#ifndef _WIN32
// Peak resident memory of a program. A child started by vfork (as posix_spawn does) takes over
// its parent's peak at its exec, so a benchmark measures a program as the child of a fresh,
// small instance of itself started with PeakOption, which prints the child's peak in KB.
inline constexpr const char* PeakOption = "--peak-of";
// With PeakOption: runs `argv` (its standard output discarded), prints its peak; the exit status.
int PrintPeakOfChild(char** argv);
// Runs `commandLine` through the shell and reads the peak it prints; -1 when it failed.
long ReadPeakKb(const std::string& commandLine);
#endif

} // namespace kel::bench
