#pragma once
// Invented data sets: a "trinfo.bin" of made-up stages and a "zlttimes.log" of runs on them,
// both Windows-1251, generated deterministically from a seed.

#include <cstdint>
#include <filesystem>
#include <string>

namespace kel::sample {

struct SampleOptions {
    int Runs = 3000;         // accepted runs in the log (malformed lines come on top)
    uint32_t Seed = 1;
    int StartYear = 2024;    // first day on which sessions may start
    int StartMonth = 1;
    int StartDay = 1;
    int Days = 1000;         // sessions start within this many days from the start date
};

struct SampleSummary {
    int Stages = 0;          // records with a name
    int Records = 0;         // records in the stage file, the empty ones included
    int Runs = 0;            // accepted main lines
    int Finished = 0;        // runs followed by their times
    int MalformedLines = 0;  // lines the reader drops or ignores
    std::string FirstDate;   // "yyyy-mm-dd hh:nn:ss" of the first and last run
    std::string LastDate;
};

struct SampleSet {
    std::string StageFile;   // bytes of "trinfo.bin"
    std::string TimesLog;    // bytes of "zlttimes.log"
    SampleSummary Summary;
};

// Builds both files in memory. Throws std::invalid_argument for options out of range
// (runs < 0, days < 1, an invalid start date).
SampleSet GenerateSample(const SampleOptions& options);

// Generates and writes "trinfo.bin" and "zlttimes.log" into `dir` (created when missing).
// Throws std::runtime_error when a file cannot be written.
SampleSummary WriteSample(const std::filesystem::path& dir, const SampleOptions& options);

// Parses "yyyy-mm-dd" into the start date fields of `options`; false when it is not a date.
bool ParseStartDate(const std::string& text, SampleOptions& options);

} // namespace kel::sample
