#pragma once
// The runs table as a spreadsheet file, exactly as the cells show it.

#include "table/CellText.h"

#include <string>
#include <vector>

namespace kel {

// The bytes of the CSV file of the table: a header row of `captions`, then every row of the
// snapshot with the cells of `columns` (0..11, in the order shown), each cell's text as the
// table shows it in the snapshot's mode. The separator follows the snapshot's decimal
// separator (see SpreadsheetSeparator). `captions` holds one caption per entry of `columns`.
std::string ExportTableCsv(const TableSnapshot& snap, const std::vector<int>& columns,
                           const std::vector<std::string>& captions);

} // namespace kel
