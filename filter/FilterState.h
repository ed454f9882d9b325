#pragma once
// The filter record, the selection of runs shown and the visibility totals.

#include "data/RunData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// Date criterion. Dates are day counts since 1899-12-30.
struct TDateFilter {
    int32_t Krit = -1; // -1 none, 0 the last Kol units up to now, 1 the interval fromDate..toDate
    int32_t Kol = 0;   // number of units for Krit 0
    int32_t HMS = -1;  // unit for Krit 0: 0 hours, 1 days, 2 weeks, 3 months, 4 years
    double fromDate = 0; // first moment kept (inclusive)
    double toDate = 0;   // last moment kept (inclusive)
    bool Now = false;    // Krit 1: the interval ends at the current moment
    bool operator==(const TDateFilter&) const = default;
};

struct FilterState {
    TDateFilter ActiveDateFilter; // criterion in force
    TDateFilter EditDateFilter;   // the filter dialog's working copy
    bool FilterActive = false;    // at least one criterion is in force
    uint8_t FActInd = 0;          // page the filter dialog opens with (0 date, 1..8 lists)
    std::string FSaveDir;         // folder last visited in the filter file dialogs (UTF-8 path)
    int32_t DialogWidth = 0;      // the filter dialog's size as the user left it; 0: its designed size
    int32_t DialogHeight = 0;
};

// Totals of the runs that pass the filter (FinishedCount lives in RunData).
struct VisibilityTotals {
    int32_t VisibleRuns = 0; // passed, finished or not
    float TotalTime = 0;     // seconds, sum of Finish over the finished runs that passed
    float TotalLength = 0;   // km, sum of their stage lengths
    float AverageSpeed = 0;  // km/h, computed by the game panel
};

// The runs shown: copies of run records, 1-based (Selection[0] holds no run).
struct SelectionState {
    std::vector<RunRecord> Selection{RunRecord{}};
    int32_t SelCount = 0;
    uint8_t CurrentStage = 0; // stage whose runs and statistics are shown
};

} // namespace kel
