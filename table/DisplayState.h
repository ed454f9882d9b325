#pragma once
// Display options and the cursor of the runs table.

#include "data/RunData.h"

#include <array>
#include <cstdint>

namespace kel {

enum class NumberMode { Unchecked = 0, Checked = 1, Grayed = 2 }; // SelNo, RunNo, "SelNo / RunNo"

struct DisplayState {
    uint8_t TypeSort = 0;  // sort column 0..11
    uint8_t UpOrDown = 1;  // 1 ascending, 0 descending
    int32_t SelCur = 1;    // cursor row, 1-based; also the reference row of the relative mode
    RunRecord RefRun;      // copy of the run at row SelCur, refreshed by every fill
    bool BySectors = false;   // the by-sectors box
    bool Relative = false;    // the relative box
    bool AllStages = false;   // the all-stages box
    NumberMode NumMode = NumberMode::Unchecked; // the run-number mode box
    std::array<int32_t, 4> BestTimeRow{};   // [1..3] for the columns "Сплит 1", "Сплит 2", "Финиш"
    std::array<int32_t, 4> BestSectorRow{}; // [1..3]
};

} // namespace kel
