#pragma once
// Values of the stage statistics panel.

#include "data/Conventions.h"
#include "data/StageFile.h"
#include "filter/FilterState.h"
#include "table/DisplayState.h"

#include <string>
#include <string_view>

namespace kel {

struct StageStatsTexts {
    std::string Length;   // stage length
    std::string Distance; // distance driven
    std::string Runs;     // finished runs
    std::string Number;   // stage number, in the description's corner
    std::string Combined; // combined best time
    std::string Best;     // best time
    std::string Worst;    // worst time
    std::string Average;  // average time
    std::string Speed;    // average speed
};

// Computes the panel for the stage in `stage` (the current stage record) over the selection,
// records disp.BestTimeRow / BestSectorRow, and sets disp.SelCur to 1 for an empty selection.
StageStatsTexts ShowStageStats(const StageRecord& stage, uint8_t currentStage, const SelectionState& sel,
                               DisplayState& disp, const Conventions& conv);

} // namespace kel
