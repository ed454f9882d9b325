#pragma once
// Values of the stage statistics panel.

#include "data/StageFile.h"
#include "filter/FilterState.h"
#include "table/DisplayState.h"

#include <string>
#include <string_view>

namespace kel {

struct StageStatsTexts {
    std::string Length;   // Label1
    std::string Distance; // Label2
    std::string Runs;     // Label3
    std::string Number;   // Label4
    std::string Combined; // Label5
    std::string Best;     // Label6
    std::string Worst;    // Label7
    std::string Average;  // Label10
    std::string Speed;    // Label11
};

// Computes the panel for the stage in `stage` (the current stage record) over the selection,
// records disp.BestTimeRow / BestSectorRow, and sets disp.SelCur to 1 for an empty selection.
StageStatsTexts ShowStageStats(const StageRecord& stage, uint8_t currentStage, const SelectionState& sel,
                               DisplayState& disp, std::string_view decimalSep);

} // namespace kel
