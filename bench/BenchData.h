#pragma once
// Generated data sets for the benchmarks.

#include <filesystem>

namespace kel::bench {

// A folder holding an invented "trinfo.bin" and a "zlttimes.log" of `runs` runs, generated
// once per process (and reused from the temporary folder when already there).
const std::filesystem::path& DataDir(int runs);

} // namespace kel::bench
