#pragma once
// Generated data sets for the benchmarks.

#include "data/RunData.h"
#include "filter/FilterState.h"

#include <filesystem>

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

} // namespace kel::bench
