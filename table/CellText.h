#pragma once
// Texts of the runs table cells, produced on demand from a snapshot of the display options.

#include "data/Conventions.h"
#include "data/RunData.h"
#include "filter/FilterState.h"
#include "table/DisplayState.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

struct TableSnapshot {
    const RunData* Data = nullptr;
    const SelectionState* Sel = nullptr;
    int32_t RowCount = 0; // SelCount at the fill
    int32_t SelCur = 1;
    RunRecord RefRun;
    bool BySectors = false;
    bool Relative = false;
    NumberMode NumMode = NumberMode::Unchecked;
    Conventions Conv;
    // UTF-8 forms of the list names shown in each name column, made once by the fill
    // (left empty, the names are converted per cell).
    std::array<std::vector<std::string>, 12> Utf8Names;
};

// The fill: lowers disp.SelCur to SelCount, refreshes disp.RefRun (when SelCount > 1) and
// returns the snapshot the table's cells are read from.
TableSnapshot FillRunsTable(const RunData& data, const SelectionState& sel, DisplayState& disp,
                            const Conventions& conv);

// Text of cell (row 1..RowCount, column 0..11), UTF-8; empty outside the table.
void CellText(const TableSnapshot& snap, int row, int column, std::string& out);
std::string CellText(const TableSnapshot& snap, int row, int column);

// For the columns of numbers and times (0, 3, 4, 5): a few cell texts of the column among which
// is the widest one, whatever the font, provided all its digits are equally wide. Empty for the name columns and for
// an empty table. Costs one pass over the rows without building their texts.
std::vector<std::string> WidestNumberTexts(const TableSnapshot& snap, int column);

} // namespace kel
