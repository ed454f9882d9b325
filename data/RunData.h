#pragma once
// The run table, the name lists and the condition lists read from the times log.
// Names stay Windows-1251 bytes in memory; they are converted only for display.

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// One stage attempt.
struct RunRecord {
    int32_t SelNo = 0;        // position in the selection (copies only), 1-based
    bool Finished = false;    // a times line followed the main line
    bool FilteredOut = false; // the filter excludes the run
    double StartTime = 0;     // days since 1899-12-30, fraction = time of day; 0 = unknown
    uint16_t StageNo = 0;     // 1..200, also the record index in the stage file
    int32_t RunNo = 0;        // index in the run table, 1-based, log order
    int32_t CarIdx = 0;
    int32_t ClassIdx = 0;
    int32_t Wetness = 0;      // 0..2, 3 = invalid
    int32_t SurfAge = 0;      // 0..2, 3 = invalid
    int32_t Tyres = 0;        // 0..6, 7 = invalid
    int32_t Damage = 0;       // 0..3, 4 = invalid
    int32_t Weather = 0;      // 0..2, 3 = invalid
    int32_t ProfIdx = 0;
    double Split1 = 0;        // cumulative seconds from the start
    double Split2 = 0;
    double Finish = 0;
};

// Element of every name list and condition list.
struct NameEntry {
    std::string Name;      // cp1251 bytes, at most MaxNameLength
    int32_t Rank = 0;      // 1 + number of entries of the list whose Name is byte-wise smaller
    bool FiltOn = false;   // the filter in force hides runs with this value
    bool FiltEdit = false; // the filter dialog's working copy of FiltOn
    bool InLog = false;    // the value occurs in the log
};

// A list's count is its size(); lists grow as needed.
using NameList = std::vector<NameEntry>;

inline constexpr std::size_t MaxNameLength = 30;

// Condition list sizes including the trailing "Ошибка" entry.
inline constexpr int WetnessListSize = 4;
inline constexpr int SurfAgeListSize = 4;
inline constexpr int TyresListSize = 8;
inline constexpr int DamageListSize = 5;
inline constexpr int WeatherListSize = 4;

// Everything read from the times log (plus the names the saved filter put into the lists first).
struct RunData {
    std::vector<RunRecord> Runs{RunRecord{}}; // Runs[0] is never used
    int32_t RunCount = 0;
    int32_t FinishedCount = 0;

    NameList CarList;
    NameList ClassList;
    NameList ProfList;

    NameList WetnessList = NameList(WetnessListSize);
    NameList SurfAgeList = NameList(SurfAgeListSize);
    NameList TyresList = NameList(TyresListSize);
    NameList DamageList = NameList(DamageListSize);
    NameList WeatherList = NameList(WeatherListSize);
};

} // namespace kel
