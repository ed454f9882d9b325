#pragma once
// Reader of "zlttimes.log", the tab-separated times log of the game's timing plug-in.

#include "data/RunData.h"

#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Longest line that is read at all; longer lines are ignored.
inline constexpr std::size_t MaxLogLineLength = 4096;

// Calls `onLine(std::string_view)` for every line of `bytes`. CR LF, a lone LF and a lone CR
// each end a line; a terminator at the very end does not start another (empty) line.
template <class F>
void ForEachLine(std::string_view bytes, F&& onLine);

// Splits `line` at tabs into fields[first..last] (fields is resized as needed). Returns false,
// changing nothing, when the line holds no tab or is longer than MaxLogLineLength.
bool SplitTabs(int first, int last, std::vector<std::string_view>& fields, std::string_view line);

// Integer in min..max (decimal with optional sign, or hex after "$" / "0x"), else `def`.
int32_t ParseCode(std::string_view text, int32_t min, int32_t max, int32_t def);

// Date-time of a 19-character "yyyy-mm-dd hh:nn:ss" field, 0 for any other length.
// Throws LoadError naming "zlttimes.log" for a 19-character field that is not a valid date.
double ParseRunTime(std::string_view text);

// Index of the entry named `name` cut to 30 bytes (setting its InLog), or a new entry.
int32_t FindOrAddName(std::string_view name, NameList& list);

// Names the entries of a condition list from its value table (UTF-8, stored as cp1251).
void FillCondList(std::span<const std::string_view> names, NameList& list);

// Removes the entries that no run uses (InLog false), moving the runs' indices in `runs`
// and in every extra run array with their entries, then ranks the remaining names.
// `field` is &RunRecord::CarIdx, ClassIdx or ProfIdx.
void PackNameList(NameList& list, int32_t RunRecord::*field, std::vector<RunRecord>& runs,
                  std::vector<RunRecord>* selection);

// FiltEdit := FiltOn and Rank := 1 + number of byte-wise smaller names, for every entry.
void RankCondList(NameList& list);

// Reads the log text (the whole file's bytes) into `data`. Throws LoadError naming
// "zlttimes.log" on a malformed date.
void ReadTimesLogData(std::string_view bytes, RunData& data);

// Reads the file; throws LoadError naming "zlttimes.log" when it cannot be read.
void ReadTimesLog(const std::string& path, RunData& data);

template <class F>
void ForEachLine(std::string_view bytes, F&& onLine) {
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    const auto find = [&](char c, std::size_t from) {
        const void* hit = std::memchr(data + from, c, size - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : size;
    };
    // Positions of the next CR and LF are kept between lines, so a file that uses only one
    // of them is still scanned once.
    std::size_t pos = 0, nextCr = 0, nextLf = 0;
    bool crStale = true, lfStale = true;
    while (pos < size) {
        if (crStale || nextCr < pos) { nextCr = find('\r', pos); crStale = false; }
        if (lfStale || nextLf < pos) { nextLf = find('\n', pos); lfStale = false; }
        const std::size_t end = nextCr < nextLf ? nextCr : nextLf;
        onLine(std::string_view(data + pos, end - pos));
        if (end == size)
            break;
        pos = end + 1;
        if (end == nextCr && pos < size && data[pos] == '\n')
            ++pos;
    }
}

} // namespace kel
