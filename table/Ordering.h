#pragma once
// Ordering of the selection by one column of the runs table.

#include "data/RunData.h"
#include "filter/FilterState.h"

#include <cstdint>

namespace kel {

// Reorders sel.Selection[1..SelCount] by column `typeSort` (0..11; others leave it unchanged),
// ascending when upOrDown is 1. Time columns use sector times when bySectors is set.
// The result, including the order of equal keys, is that of the classic exchange sort.
void SortSelection(SelectionState& sel, const RunData& data, uint8_t typeSort, uint8_t upOrDown, bool bySectors);

} // namespace kel
