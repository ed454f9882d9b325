#pragma once
// Reader of "zlttimes.log", the tab-separated times log of the game's timing plug-in.

#include "data/RunData.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Longest line that is read at all; longer lines are ignored.
inline constexpr std::size_t MaxLogLineLength = 4096;

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

} // namespace kel
