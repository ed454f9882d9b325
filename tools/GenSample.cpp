// kelvara-gensample: writes an invented "trinfo.bin" and "zlttimes.log" into a folder.

#include "tools/SampleGen.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

int Usage() {
    std::fputs("usage: kelvara-gensample [--runs N] [--seed N] [--start yyyy-mm-dd] [--days N] DIR\n"
               "  --runs   runs in the log (default 3000)\n"
               "  --seed   random seed; the same seed gives the same files (default 1)\n"
               "  --start  first day of play (default 2024-01-01)\n"
               "  --days   length of the period of play in days (default 1000)\n",
               stderr);
    return 2;
}

bool ParseInt(const char* text, long min, long max, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= min && value <= max;
}

} // namespace

int main(int argc, char** argv) {
    kel::sample::SampleOptions options;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long value = 0;
        if (arg == "--runs" && hasValue) {
            if (!ParseInt(argv[++i], 0, 10'000'000, value)) return Usage();
            options.Runs = static_cast<int>(value);
        } else if (arg == "--seed" && hasValue) {
            if (!ParseInt(argv[++i], 0, 4294967295L, value)) return Usage();
            options.Seed = static_cast<uint32_t>(value);
        } else if (arg == "--start" && hasValue) {
            if (!kel::sample::ParseStartDate(argv[++i], options)) return Usage();
        } else if (arg == "--days" && hasValue) {
            if (!ParseInt(argv[++i], 1, 100'000, value)) return Usage();
            options.Days = static_cast<int>(value);
        } else if (arg.starts_with("-") || !dir.empty()) {
            return Usage();
        } else {
            dir = arg;
        }
    }
    if (dir.empty()) return Usage();

    try {
        const kel::sample::SampleSummary s = kel::sample::WriteSample(dir, options);
        std::printf("%s: %d stages in %d records, %d runs (%d finished), %d malformed lines, %s .. %s\n",
                    dir.c_str(), s.Stages, s.Records, s.Runs, s.Finished, s.MalformedLines, s.FirstDate.c_str(),
                    s.LastDate.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelvara-gensample: %s\n", e.what());
        return 1;
    }
    return 0;
}
