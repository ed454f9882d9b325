#pragma once
// Filter matching, the visibility totals and the selection of the runs shown.

#include "data/RunData.h"
#include "data/StageFile.h"
#include "filter/FilterState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kel {

// True when one of the first n entries has FiltOn set.
bool AnyFiltered(const NameList& list, int n);

// The FilterActive value shown on the filter button: a date criterion of kind 0 or 1, or any
// hidden car, class, condition (valid entries only) or profile.
bool ComputeFilterActive(const TDateFilter& active, const RunData& data);

void ClearFilteredOut(RunData& data);
void ApplyDateFilter(RunData& data, const TDateFilter& active);
void ApplyListFilter(RunData& data, const NameList& list, int32_t RunRecord::*field, int n);
// Totals of the runs left; with dropUnfinished, unfinished runs are filtered out too.
// Sets data.FinishedCount.
void CountVisibleRuns(RunData& data, const StageFile& stages, VisibilityTotals& totals, bool dropUnfinished);
// The whole matching pass (every FilteredOut must be clear before).
void ApplyFilter(RunData& data, const StageFile& stages, const TDateFilter& active, VisibilityTotals& totals);

// Selects the stage list item whose name is the stage of the run on row selCur (lowered to
// SelCount first), leaves stages.Buffer at that stage's record and returns its StageNo.
// With an empty selection selCur becomes 0 and nothing is selected.
uint8_t SyncStageList(StageFile& stages, const SelectionState& sel, int32_t& selCur,
                      const std::vector<std::string>& stageList, int32_t& stageIndex);

// Fills sel with copies of the runs that pass: those of the stage named by the selected
// stage list item, or of all stages. Returns the stage number for CurrentStage and leaves
// stages.Buffer at that stage's record.
uint8_t BuildSelection(const RunData& data, StageFile& stages, SelectionState& sel, int32_t& selCur,
                       const std::vector<std::string>& stageList, int32_t& stageIndex, bool allStages);

// EditDateFilter-style range for the last `count` units up to `now` (count 0: Krit := -1).
void SetLastPeriod(TDateFilter& filter, int32_t count, int32_t unit, double now);

// Clears FiltEdit of every entry of every list.
void ClearFiltEdit(RunData& data);

} // namespace kel
