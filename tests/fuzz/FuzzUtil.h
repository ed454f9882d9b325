#pragma once
// Shared by the fuzz targets and the seed generator: the small data folder every target reads
// besides its input, made from the sample files of the repository.

#include "session/Startup.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kel::fuzz {

// The start moment of every fuzzed load (2026-06-01 12:00:00).
inline constexpr double Now = 46174.5;

// Aborts when `condition` is false: the fuzzer reports it as a crash with its input.
void Check(bool condition);

// True when `text` is well-formed UTF-8 (what the window converts every text from).
bool IsUtf8(std::string_view text);

// The bytes of sample/<name>.
std::string SampleFile(std::string_view name);

// The sample log's two header lines and its first runs: small enough for thousands of loads
// a second, with names, classes, profiles and stages to filter.
std::string SampleLogSlice();

// A folder of this process, in memory where the system offers one; removed at exit.
const std::filesystem::path& WorkDir();

// A data folder (in WorkDir) with the sample stage file and the sample log slice.
const std::filesystem::path& SampleDataDir();

// Start-up options for that data folder, with "Kelvara.ini" at `settingsPath`.
StartupOptions Options(const std::filesystem::path& dataDir, const std::filesystem::path& settingsPath);

} // namespace kel::fuzz
