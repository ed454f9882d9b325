#pragma once
// Ordering of the selection by one column of the runs table.

#include "data/RunData.h"
#include "data/StageFile.h"
#include "filter/FilterState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// The place of each stage number's name in the stage list (`stageList`, in list order), indexed
// by stage number. A stage whose name is not in the list (no record, an empty name) gets the
// list's size: it comes after every listed stage. One entry more than the stage file has
// records, an unlisted one, stands for every stage number past them.
std::vector<int32_t> StageListPlaces(const StageFile& stages, const std::vector<std::string>& stageList);

// Reorders sel.Selection[1..SelCount] by column `typeSort` (0..13; others leave it unchanged),
// ascending when upOrDown is 1. Time columns use sector times when bySectors is set; their
// result, including the order of equal keys, is that of the classic exchange sort. The stage
// column orders by `stagePlaces` (see StageListPlaces; a stage number past its end counts as
// unlisted), the date column by start time; both keep the current order of equal keys in
// either direction.
void SortSelection(SelectionState& sel, const RunData& data, uint8_t typeSort, uint8_t upOrDown, bool bySectors,
                   const std::vector<int32_t>& stagePlaces = {});

} // namespace kel
