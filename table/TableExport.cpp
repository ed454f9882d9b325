#include "table/TableExport.h"

#include "data/Csv.h"

#include <cassert>

namespace kel {

std::string ExportTableCsv(const TableSnapshot& snap, const std::vector<int>& columns,
                           const std::vector<std::string>& captions) {
    assert(columns.size() == captions.size());
    SpreadsheetCsv csv(snap.Conv.DecimalSep);
    // About 10 bytes a cell: one allocation for the whole file in the common case.
    csv.Reserve(static_cast<std::size_t>(snap.RowCount + 1) * (columns.size() * 10 + 2) + 3);
    for (const std::string& caption : captions)
        csv.Field(caption);
    csv.EndRow();
    std::string cell;
    for (int row = 1; row <= snap.RowCount; ++row) {
        for (int column : columns) {
            CellText(snap, row, column, cell);
            csv.Field(cell);
        }
        csv.EndRow();
    }
    return csv.Take();
}

} // namespace kel
