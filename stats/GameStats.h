#pragma once
// Texts of the game statistics panel and of the status bar.

#include "data/Conventions.h"
#include "data/StageFile.h"
#include "filter/FilterState.h"
#include "table/DisplayState.h"

#include <string>
#include <string_view>

namespace kel {

struct GameStatsTexts {
    std::string TotalTime; // total driving time
    std::string Distance;  // total distance
    std::string Speed;     // average speed
    std::string Finished;  // finished runs
    std::string Share;     // share of finished runs
};

// Also sets totals.AverageSpeed when the total time is positive.
GameStatsTexts ShowGameStats(VisibilityTotals& totals, int32_t finishedCount, const Conventions& conv);

struct StatusBarTexts {
    std::string Cursor; // panel 1
    std::string Date;   // panel 2
    std::string Speed;  // panel 3
};

// Describes the run on row disp.SelCur (first lowered to SelCount, raised to 1); `stage` is
// the stage record of that run. A zero finish time leaves the speed panel without a value.
StatusBarTexts ShowStatusBar(const SelectionState& sel, DisplayState& disp, const StageRecord& stage,
                             const Conventions& conv);

} // namespace kel
