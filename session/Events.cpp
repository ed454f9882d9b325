#include "session/Events.h"

#include "data/Texts.h"
#include "data/TimesLog.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "stats/RunResult.h"
#include "table/Ordering.h"

#include <algorithm>
#include <set>
#include <vector>

namespace kel {
namespace {

std::string Str(std::string_view s) { return std::string(s); }

void Sort(ProgramState& v) {
    SortSelection(v.Sel, v.Data, v.Disp.TypeSort, v.Disp.UpOrDown, v.Disp.BySectors,
                  v.Disp.TypeSort == StageColumn ? StageListPlaces(v.Stages, v.StageList) : std::vector<int32_t>{});
}

TableSnapshot Fill(ProgramState& v) { return FillRunsTable(v.Data, v.Sel, v.Disp, v.Conv, &v.Stages); }

void SortAndSync(ProgramState& v) {
    Sort(v);
    // In the all-stages mode the panels describe the run under the cursor, which the new
    // order may have changed.
    if (v.Disp.AllStages)
        v.Sel.CurrentStage = SyncStageList(v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex);
}

void Panels(ProgramState& v, DisplayTexts& t) {
    t.Stage = ShowStageStats(v.Stages.Buffer, v.Sel.CurrentStage, v.Sel, v.Disp, v.Conv);
    t.Status = ShowStatusBar(v.Sel, v.Disp, v.Stages.Buffer, v.Conv);
}

GameStatsTexts Game(ProgramState& v) {
    return ShowGameStats(v.Totals, v.Data.FinishedCount, v.Conv);
}

void Refilter(ProgramState& v) {
    ClearFilteredOut(v.Data);
    ApplyFilter(v.Data, v.Stages, v.Filter.ActiveDateFilter, v.Totals);
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex,
                                        v.Disp.AllStages);
}

} // namespace

DisplayTexts SetupPhase(ProgramState& v, const StartupOptions& o) {
    DisplayTexts t;
    // A "last N units" criterion is recomputed to end at the start moment.
    v.Filter.EditDateFilter = v.Filter.ActiveDateFilter;
    if (v.Filter.EditDateFilter.Krit == 0)
        SetLastPeriod(v.Filter.EditDateFilter, v.Filter.EditDateFilter.Kol, v.Filter.EditDateFilter.HMS, o.Now);
    v.Filter.ActiveDateFilter = v.Filter.EditDateFilter;
    if (v.Disp.AllStages)
        v.Disp.Relative = false;

    Refilter(v);
    t.Game = Game(v);

    // Names that only the saved filter knew are dropped now; every run keeps its own name.
    PackNameList(v.Data.CarList, &RunRecord::CarIdx, v.Data.Runs, &v.Sel.Selection);
    PackNameList(v.Data.ClassList, &RunRecord::ClassIdx, v.Data.Runs, &v.Sel.Selection);
    PackNameList(v.Data.ProfList, &RunRecord::ProfIdx, v.Data.Runs, &v.Sel.Selection);
    for (NameList* list : {&v.Data.WetnessList, &v.Data.SurfAgeList, &v.Data.TyresList, &v.Data.DamageList,
                           &v.Data.WeatherList})
        RankCondList(*list);

    SortAndSync(v);
    Panels(v, t);
    t.Table = Fill(v);
    v.Filter.FilterActive = ComputeFilterActive(v.Filter.ActiveDateFilter, v.Data);
    return t;
}

DisplayTexts OnStageChosen(ProgramState& v) {
    DisplayTexts t;
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex, false);
    Sort(v);
    t.Game = Game(v);
    Panels(v, t);
    t.Table = Fill(v);
    return t;
}

DisplayTexts OnFilterClosed(ProgramState& v) {
    DisplayTexts t;
    v.Filter.FilterActive = ComputeFilterActive(v.Filter.ActiveDateFilter, v.Data);
    Refilter(v);
    t.Game = Game(v);
    SortAndSync(v);
    Panels(v, t);
    t.Table = Fill(v);
    return t;
}

DisplayTexts OnHeaderClick(ProgramState& v, int column) {
    DisplayTexts t;
    // The sorted column again reverses the order; a new column keeps the last direction.
    if (column == v.Disp.TypeSort)
        v.Disp.UpOrDown = v.Disp.UpOrDown == 1 ? 0 : 1;
    v.Disp.TypeSort = static_cast<uint8_t>(column);
    SortAndSync(v);
    t.Game = Game(v);
    Panels(v, t);
    t.Table = Fill(v);
    return t;
}

DisplayTexts OnAllStagesChanged(ProgramState& v) {
    DisplayTexts t;
    if (v.Disp.AllStages)
        v.Disp.Relative = false;
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex,
                                        v.Disp.AllStages);
    t.Game = Game(v);
    Panels(v, t);
    t.Table = Fill(v);
    return t;
}

TableSnapshot OnDisplayOptionChanged(ProgramState& v) {
    return Fill(v);
}

DisplayTexts OnCursorMoved(ProgramState& v, int row) {
    DisplayTexts t;
    v.Disp.SelCur = row > 0 ? row : 1;
    if (v.Disp.AllStages)
        v.Sel.CurrentStage = SyncStageList(v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex);
    t.Game = Game(v);
    Panels(v, t);
    if (v.Disp.Relative)
        t.Table = Fill(v);
    return t;
}

DisplayTexts OnNewRuns(ProgramState& v, double now) {
    DisplayTexts t;
    const int32_t row = v.Disp.SelCur;
    const int32_t cursorRun =
        row >= 1 && row <= v.Sel.SelCount && static_cast<std::size_t>(row) < v.Sel.Selection.size()
            ? v.Sel.Selection[static_cast<std::size_t>(row)].RunNo
            : 0;

    TDateFilter& date = v.Filter.ActiveDateFilter;
    if (date.Krit == 0)
        SetLastPeriod(date, date.Kol, date.HMS, now);
    else if (date.Krit == 1 && date.Now)
        date.toDate = now;
    v.Filter.FilterActive = ComputeFilterActive(date, v.Data);
    Refilter(v);
    t.Game = Game(v);
    Sort(v);
    for (int32_t i = 1; cursorRun != 0 && i <= v.Sel.SelCount; ++i)
        if (v.Sel.Selection[static_cast<std::size_t>(i)].RunNo == cursorRun) {
            v.Disp.SelCur = i;
            break;
        }
    // In the all-stages mode the stage list follows the run under the cursor.
    if (v.Disp.AllStages)
        v.Sel.CurrentStage = SyncStageList(v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex);
    Panels(v, t);
    t.Table = Fill(v);
    return t;
}

std::string NewRunsNote(ProgramState& v, int32_t firstNew, bool pendingLast,
                        int32_t* newestRun) {
    v.RunIndex.Update(v.Data);
    int32_t finished = 0, newest = 0, unfinished = 0;
    for (int32_t runNo = std::max(firstNew, 1); runNo <= v.Data.RunCount; ++runNo) {
        const RunRecord& r = v.Data.Runs[static_cast<std::size_t>(runNo)];
        if (r.Finished) {
            ++finished;
            if (r.Finish > 0)
                newest = runNo;
        } else if (!(pendingLast && runNo == v.Data.RunCount)) {
            unfinished = runNo;
        }
    }
    if (newestRun)
        *newestRun = newest;
    if (finished == 0)
        return unfinished == 0 ? std::string()
                               : ResultText(ResultOfRun(v.Data, v.RunIndex, unfinished), v.Data, v.Stages, v.Conv);
    if (newest == 0)
        return Text(TextId::NewRunsCount, v.Conv.Lang, {std::to_string(finished)});
    const std::string line = ResultText(ResultOfRun(v.Data, v.RunIndex, newest), v.Data, v.Stages, v.Conv);
    return finished == 1 ? line
                         : Text(TextId::NewRunsAndMore, v.Conv.Lang,
                                {std::to_string(finished), line, std::to_string(finished - 1)});
}

LogUpdate OnLogChanged(ProgramState& v, double now) {
    LogUpdate u;
    const int32_t countBefore = v.Data.RunCount;
    // A run that waited for its times may be completed by this look: it is new then, too.
    const int32_t firstNew = v.Log.Position().Pending ? countBefore : countBefore + 1;
    const TimesLogFollower::Change change = v.Log.Poll(v.Data);
    if (change.Failure)
        u.Failure = LoadFailureMessage(*change.Failure, v.Conv.Lang);
    if (!change.RunsChanged())
        return u;
    u.NewRuns = change.FinishedRuns;
    u.Reread = change.Reread;
    // As after loading: names that only the filter knew go, every name gets its rank (the
    // selection is built anew below).
    PackNameList(v.Data.CarList, &RunRecord::CarIdx, v.Data.Runs, nullptr);
    PackNameList(v.Data.ClassList, &RunRecord::ClassIdx, v.Data.Runs, nullptr);
    PackNameList(v.Data.ProfList, &RunRecord::ProfIdx, v.Data.Runs, nullptr);
    if (change.Reread) {
        v.RunIndex.Clear();
        u.Note = Text(TextId::LogReadAgain, v.Conv.Lang);
    } else {
        u.Note = NewRunsNote(v, firstNew, v.Log.Position().Pending, &u.NewestRun);
        u.FirstNewRun = firstNew <= v.Data.RunCount ? firstNew : 0;
    }
    u.Texts = OnNewRuns(v, now);
    return u;
}

std::optional<Message> NothingPassesNotice(const ProgramState& v) {
    if (v.Data.FinishedCount != 0)
        return std::nullopt;
    return Message{std::string(Text(TextId::NothingPassesFilter, v.Conv.Lang)), Str(ProgramCaption), MessageIcon::Warning};
}

std::optional<Message> MissingStagesNotice(ProgramState& v) {
    // Numbers not named before: stages without a record, then stages whose length cannot be
    // real, among those that are listed or that a run uses.
    std::vector<int> missing, implausible;
    for (int stage : v.Stages.MissingStages())
        if (v.MissingStagesReported.insert(stage).second)
            missing.push_back(stage);
    if (!v.Stages.ImplausibleLengths().empty()) {
        std::set<int> used;
        for (std::size_t i = 1; i < v.Data.Runs.size(); ++i)
            used.insert(v.Data.Runs[i].StageNo);
        for (int stage : v.Stages.ImplausibleLengths())
            if ((used.count(stage) != 0 || !v.Stages.Record(stage).StageName.empty()) &&
                v.MissingStagesReported.insert(stage).second)
                implausible.push_back(stage);
    }
    if (missing.empty() && implausible.empty())
        return std::nullopt;

    const Language l = v.Conv.Lang;
    const auto numbered = [l](const std::vector<int>& stages) {
        std::string numbers;
        for (std::size_t i = 0; i < stages.size(); ++i)
            numbers += (i == 0 ? "" : ", ") + std::to_string(stages[i]);
        return Text(stages.size() == 1 ? TextId::StageNumberOne : TextId::StageNumbersMany, l, {numbers});
    };
    std::string text = missing.empty()       ? Text(TextId::StagesImplausible, l, {numbered(implausible)})
                       : implausible.empty() ? Text(TextId::StagesMissing, l, {numbered(missing)})
                                             : Text(TextId::StagesMissingAndImplausible, l,
                                                    {numbered(missing), numbered(implausible)});
    const bool one = missing.size() + implausible.size() == 1;
    text += Text(one ? TextId::StageLengthZeroOne : TextId::StageLengthZeroMany, l);
    if (!missing.empty())
        text += Text(missing.size() == 1 && implausible.empty() ? TextId::StageRunsUnnamedOne
                                                                : TextId::StageRunsUnnamedMany,
                     l);
    return Message{text, Str(ProgramCaption), MessageIcon::Warning};
}

} // namespace kel
