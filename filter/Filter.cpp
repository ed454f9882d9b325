#include "filter/Filter.h"

#include <algorithm>

namespace kel {
namespace {

// The "Ошибка" entry closing every condition list is never tested.
constexpr int WetnessTested = WetnessListSize - 1;
constexpr int SurfAgeTested = SurfAgeListSize - 1;
constexpr int TyresTested = TyresListSize - 1;
constexpr int DamageTested = DamageListSize - 1;
constexpr int WeatherTested = WeatherListSize - 1;

int ListCount(const NameList& list) { return static_cast<int>(list.size()); }

// Runs actually present: Runs[1..RunCount], never beyond the vector.
int32_t LastRun(const RunData& data) {
    const auto stored = static_cast<int32_t>(data.Runs.empty() ? 0 : data.Runs.size() - 1);
    return std::clamp(data.RunCount, 0, stored);
}

void AppendCopy(SelectionState& sel, const RunRecord& run) {
    ++sel.SelCount;
    RunRecord& copy = sel.Selection[static_cast<std::size_t>(sel.SelCount)];
    copy = run;
    copy.SelNo = sel.SelCount;
}

} // namespace

bool AnyFiltered(const NameList& list, int n) {
    const int count = std::min(n, ListCount(list));
    for (int i = 0; i < count; ++i)
        if (list[static_cast<std::size_t>(i)].FiltOn)
            return true;
    return false;
}

bool ComputeFilterActive(const TDateFilter& active, const RunData& data) {
    if (active.Krit == 0 || active.Krit == 1)
        return true;
    return AnyFiltered(data.CarList, ListCount(data.CarList)) ||
           AnyFiltered(data.ClassList, ListCount(data.ClassList)) ||
           AnyFiltered(data.SurfAgeList, SurfAgeTested) || AnyFiltered(data.WetnessList, WetnessTested) ||
           AnyFiltered(data.DamageList, DamageTested) || AnyFiltered(data.WeatherList, WeatherTested) ||
           AnyFiltered(data.TyresList, TyresTested) || AnyFiltered(data.ProfList, ListCount(data.ProfList));
}

void ClearFilteredOut(RunData& data) {
    const int32_t last = LastRun(data);
    for (int32_t i = 1; i <= last; ++i)
        data.Runs[static_cast<std::size_t>(i)].FilteredOut = false;
}

void ApplyDateFilter(RunData& data, const TDateFilter& active) {
    if (active.Krit == -1)
        return;
    const int32_t last = LastRun(data);
    for (int32_t i = 1; i <= last; ++i) {
        RunRecord& run = data.Runs[static_cast<std::size_t>(i)];
        if (run.StartTime < active.fromDate || run.StartTime > active.toDate)
            run.FilteredOut = true;
    }
}

void ApplyListFilter(RunData& data, const NameList& list, int32_t RunRecord::*field, int n) {
    const int count = std::min(n, ListCount(list));
    if (!AnyFiltered(list, count))
        return;
    const int32_t last = LastRun(data);
    for (int32_t i = 1; i <= last; ++i) {
        RunRecord& run = data.Runs[static_cast<std::size_t>(i)];
        const int32_t idx = run.*field;
        if (idx >= 0 && idx < count && list[static_cast<std::size_t>(idx)].FiltOn)
            run.FilteredOut = true;
    }
}

void CountVisibleRuns(RunData& data, const StageFile& stages, VisibilityTotals& totals, bool dropUnfinished) {
    data.FinishedCount = 0;
    totals = VisibilityTotals{};
    const int32_t last = LastRun(data);
    for (int32_t i = 1; i <= last; ++i) {
        RunRecord& run = data.Runs[static_cast<std::size_t>(i)];
        if (run.FilteredOut)
            continue;
        ++totals.VisibleRuns;
        if (!run.Finished) {
            if (dropUnfinished)
                run.FilteredOut = true;
            continue;
        }
        ++data.FinishedCount;
        // Single-precision totals: each sum is rounded to float after the double addition.
        totals.TotalTime = static_cast<float>(static_cast<double>(totals.TotalTime) + run.Finish);
        totals.TotalLength = static_cast<float>(static_cast<double>(totals.TotalLength) +
                                                static_cast<double>(stages.Record(run.StageNo).StageLength));
    }
    totals.AverageSpeed = 0;
}

void ApplyFilter(RunData& data, const StageFile& stages, const TDateFilter& active, VisibilityTotals& totals) {
    ApplyDateFilter(data, active);
    ApplyListFilter(data, data.CarList, &RunRecord::CarIdx, ListCount(data.CarList));
    ApplyListFilter(data, data.ClassList, &RunRecord::ClassIdx, ListCount(data.ClassList));
    ApplyListFilter(data, data.WetnessList, &RunRecord::Wetness, WetnessTested);
    ApplyListFilter(data, data.SurfAgeList, &RunRecord::SurfAge, SurfAgeTested);
    ApplyListFilter(data, data.TyresList, &RunRecord::Tyres, TyresTested);
    ApplyListFilter(data, data.DamageList, &RunRecord::Damage, DamageTested);
    ApplyListFilter(data, data.WeatherList, &RunRecord::Weather, WeatherTested);
    ApplyListFilter(data, data.ProfList, &RunRecord::ProfIdx, ListCount(data.ProfList));
    CountVisibleRuns(data, stages, totals, true);
}

uint8_t SyncStageList(StageFile& stages, const SelectionState& sel, int32_t& selCur,
                      const std::vector<std::string>& stageList, int32_t& stageIndex) {
    const int32_t count = std::clamp(sel.SelCount, 0, static_cast<int32_t>(sel.Selection.size()) - 1);
    if (selCur > count)
        selCur = count;
    if (count == 0) {
        // No run to describe: the stage panel shows the empty record 0 and the list keeps
        // its selection.
        if (stages.RecordCount() > 0)
            stages.ReadStageRecord(0);
        else
            stages.Buffer = StageRecord{};
        return stages.Buffer.StageNo;
    }
    // A cursor row below 1 (a damaged saved row) describes the first run.
    const int32_t row = std::max(selCur, 1);
    stages.ReadStageRecord(sel.Selection[static_cast<std::size_t>(row)].StageNo);
    const auto it = std::find(stageList.begin(), stageList.end(), stages.Buffer.StageName);
    if (it != stageList.end())
        stageIndex = static_cast<int32_t>(it - stageList.begin());
    return stages.Buffer.StageNo;
}

uint8_t BuildSelection(const RunData& data, StageFile& stages, SelectionState& sel, int32_t& selCur,
                       const std::vector<std::string>& stageList, int32_t& stageIndex, bool allStages) {
    const int32_t last = LastRun(data);
    sel.SelCount = 0;
    // The copies get exactly the room they need: one stage's runs are a small part of a long
    // log, and a table of the whole log's size would double the memory the runs take.
    const auto fill = [&](auto&& taken) {
        int32_t count = 0;
        for (int32_t i = 1; i <= last; ++i)
            count += taken(data.Runs[static_cast<std::size_t>(i)]) ? 1 : 0;
        const std::size_t size = static_cast<std::size_t>(count) + 1;
        if (sel.Selection.capacity() > 2 * size) // give back what a bigger selection took
            std::vector<RunRecord>().swap(sel.Selection);
        sel.Selection.resize(size);
        for (int32_t i = 1; i <= last; ++i) {
            const RunRecord& run = data.Runs[static_cast<std::size_t>(i)];
            if (taken(run))
                AppendCopy(sel, run);
        }
    };

    if (allStages) {
        fill([](const RunRecord& run) { return !run.FilteredOut; });
        return SyncStageList(stages, sel, selCur, stageList, stageIndex);
    }

    // Without a selected stage there is nothing to show: an empty selection and an empty
    // stage record rather than a search for a name that no item has.
    if (stageIndex < 0 || stageIndex >= static_cast<int32_t>(stageList.size())) {
        sel.Selection.resize(1);
        stages.Buffer = StageRecord{};
        return 0;
    }
    const uint8_t stageNo = stages.FindStageByName(stageList[static_cast<std::size_t>(stageIndex)]);
    fill([stageNo](const RunRecord& run) { return run.StageNo == stageNo && !run.FilteredOut; });
    return stageNo;
}

void SetLastPeriod(TDateFilter& filter, int32_t count, int32_t unit, double now) {
    if (count == 0) {
        filter.Krit = -1;
        return;
    }
    double unitDays = 0;
    switch (unit) {
    case 0: unitDays = 1.0 / 24; break;
    case 1: unitDays = 1; break;
    case 2: unitDays = 7; break;
    case 3: unitDays = 30; break;
    case 4: unitDays = 365; break;
    default: break;
    }
    filter.fromDate = now - count * unitDays;
    filter.toDate = now;
}

void ClearFiltEdit(RunData& data) {
    for (NameList* list : {&data.CarList, &data.ClassList, &data.ProfList, &data.WetnessList, &data.SurfAgeList,
                           &data.TyresList, &data.DamageList, &data.WeatherList})
        for (NameEntry& entry : *list)
            entry.FiltEdit = false;
}

} // namespace kel
