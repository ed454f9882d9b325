#pragma once
// Reader of "zlttimes.log", the tab-separated times log of the game's timing plug-in.
//
// Only complete lines are read: the bytes after the last line end are a line that the game
// is still writing. A reading stops at a LogPosition from which lines appended later are read
// on, with the same result as reading the longer file at once.

#include "data/Language.h"
#include "data/RunData.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

class DataFile;

// Longest line that is read at all; longer lines are ignored.
inline constexpr std::size_t MaxLogLineLength = 4096;

// How far a reading of the log got: all it takes to read on where it stopped.
struct LogPosition {
    uint64_t Consumed = 0;     // bytes of the complete lines read, from the start of the file
    int64_t Lines = 0;         // number of those lines, the header included
    int32_t FinishedRuns = 0;  // times lines accepted (the reader's own count; the filter's is in RunData)
    bool Pending = false;      // the last run read waits for its times line
    bool AfterCr = false;      // the bytes read end with a CR: an LF that follows belongs to that line end
    bool InLongLine = false;   // inside a line too long to hold, skipped up to its end
};

// A line with a malformed date met while reading appended lines: it is skipped.
struct SkippedLine {
    int64_t LineNo = 0;
    std::string Date; // the date field, cp1251
};

// "Строка 1834: неверная дата «2024-13-45 10:00:00».", for the cp1251 date field of a line.
std::string MalformedDateReason(int64_t lineNo, std::string_view date, Language language = Language::Russian);

// Splits `line` at tabs into fields[first..last] (fields is resized as needed). Returns false,
// changing nothing, when the line holds no tab or is longer than MaxLogLineLength.
bool SplitTabs(int first, int last, std::vector<std::string_view>& fields, std::string_view line);

// Integer in min..max (decimal with optional sign, or hex after "$" / "0x"), else `def`.
int32_t ParseCode(std::string_view text, int32_t min, int32_t max, int32_t def);

// Date-time of a 19-character "yyyy-mm-dd hh:nn:ss" field, 0 for any other length.
// Throws LoadError naming "zlttimes.log" for a 19-character field that is not a valid date.
double ParseRunTime(std::string_view text, Language language = Language::Russian);

// Index of the entry named `name` cut to 30 bytes (setting its InLog), or a new entry, by a
// search through the list. The reader finds names through a hash index with the same result.
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

// Reads a whole log held in memory into `data` (the runs start afresh; names already in the
// lists stay first). Throws LoadError naming "zlttimes.log" on a malformed date (the reason in
// Russian; a file read through DataFile gives it in that file's language).
LogPosition ReadTimesLogData(std::string_view bytes, RunData& data);

// Reads the whole file as ReadTimesLogData does, in blocks. Throws LoadError naming
// "zlttimes.log" when the file cannot be read, is no regular file or is too large.
LogPosition ReadTimesLog(const std::filesystem::path& path, RunData& data);
LogPosition ReadTimesLog(DataFile& file, RunData& data);

// Reads on from `pos` up to byte `end` of `file`, adding runs to `data` (and finishing the
// pending run). With `skipped` null a malformed date throws LoadError, as at start-up;
// otherwise the line is skipped (a run waiting for its times stays unfinished) and listed.
// Throws LoadError when the file cannot be read; what was read until then stays read.
void ReadLogLines(DataFile& file, uint64_t end, LogPosition& pos, RunData& data,
                  std::vector<SkippedLine>* skipped);

} // namespace kel
