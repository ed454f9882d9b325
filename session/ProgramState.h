#pragma once
// The program's process-wide state, gathered in one place. The window owns one instance;
// the report tool and the tests make their own.

#include "data/Conventions.h"
#include "data/RunData.h"
#include "data/StageFile.h"
#include "data/TimesLogFollower.h"
#include "filter/FilterState.h"
#include "progress/ProgressSettings.h"
#include "settings/Settings.h"
#include "stats/RunResult.h"
#include "table/DisplayState.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace kel {

struct ProgramState {
    Conventions Conv;                   // the user's language and decimal separator, set at start-up
    RunData Data;
    TimesLogFollower Log;               // where the reading of "zlttimes.log" stopped
    StageFile Stages;
    std::vector<std::string> StageList; // names of the stage list box, in list order (cp1251)
    int32_t StageIndex = -1;            // selected item of the stage list, -1 none
    FilterState Filter;
    SelectionState Sel;
    VisibilityTotals Totals;
    DisplayState Disp;
    Settings Config;
    ProgressSettings Progress;          // the progress window's section of the settings
    std::set<int> MissingStagesReported; // stage numbers already named in a warning
    std::filesystem::path ChosenDataDir; // chosen by the user at this start: remembered at close
    StageRunIndex RunIndex;             // the runs of each stage, for the results of new runs
};

} // namespace kel
