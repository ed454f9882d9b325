#pragma once
// Texts of the runs table cells, produced on demand from a snapshot of the display options.

#include "data/Conventions.h"
#include "data/RunData.h"
#include "data/StageFile.h"
#include "data/ValueTables.h"
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
    std::array<std::vector<std::string>, ColumnCount> Utf8Names;
    // UTF-8 stage names by stage number, for the stage column.
    std::vector<std::string> StageNames;
};

// The fill: lowers disp.SelCur to SelCount, refreshes disp.RefRun (when SelCount > 1) and
// returns the snapshot the table's cells are read from.
// The stage column shows the names of `stages` (empty without it).
TableSnapshot FillRunsTable(const RunData& data, const SelectionState& sel, DisplayState& disp,
                            const Conventions& conv, const StageFile* stages = nullptr);

// Caption of a column in the header, the column menu and the exported file: the time columns
// are named after sectors while they show sector times.
std::string_view ColumnCaption(int column, bool bySectors, Language language);

// Text of cell (row 1..RowCount, column 0..13), UTF-8; empty outside the table. The date
// column is empty for a run without a start time.
void CellText(const TableSnapshot& snap, int row, int column, std::string& out);
std::string CellText(const TableSnapshot& snap, int row, int column);

// For the columns of numbers and times (0, 3, 4, 5): a few cell texts of the column among which
// is the widest one, whatever the font, provided all its digits are equally wide. Empty for the name columns and for
// an empty table. Costs one pass over the rows without building their texts.
std::vector<std::string> WidestNumberTexts(const TableSnapshot& snap, int column);

} // namespace kel
