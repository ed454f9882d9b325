#include "filter/Filter.h"

#include "tests/TestUtil.h"

#include <gtest/gtest.h>


namespace kel {
namespace {

class FilterTest : public ::testing::Test {
protected:
    // Stage 0 is the unnamed placeholder; 1..3 are named; the list is alphabetical.
    void SetUp() override {
        const auto path = dir / "trinfo.bin";
        test::WriteFile(path, test::StageFileBytes({{1, "Kestrel Ridge", 12.5f, "", ""},
                                                    {2, "Amberfall Pass", 4.25f, "", ""},
                                                    {3, "Lowmere", 7.0f, "", ""}}));
        stages.FillStageList(path.string());
        stageList = {"Amberfall Pass", "Kestrel Ridge", "Lowmere"};
        data.CarList = {{"Vortan GT"}, {"Pellix R4"}, {"Sorrel 90"}};
        data.ClassList = {{"Group K"}, {"Group M"}};
        data.ProfList = {{"Mira"}};
    }

    RunRecord& AddRun(uint16_t stageNo, double start, double finish, bool finished = true) {
        RunRecord run;
        run.RunNo = data.RunCount + 1;
        run.StageNo = stageNo;
        run.StartTime = start;
        run.Finished = finished;
        run.Finish = finished ? finish : 0;
        data.Runs.push_back(run);
        ++data.RunCount;
        return data.Runs.back();
    }

    std::vector<int32_t> PassingRunNos() const {
        std::vector<int32_t> result;
        for (int32_t i = 1; i <= data.RunCount; ++i)
            if (!data.Runs[i].FilteredOut)
                result.push_back(data.Runs[i].RunNo);
        return result;
    }

    test::TempDir dir;
    StageFile stages;
    std::vector<std::string> stageList;
    RunData data;
    TDateFilter active;
    VisibilityTotals totals;
};

TEST_F(FilterTest, DateBoundsAreInclusive) {
    AddRun(1, 45000.25, 100);         // exactly fromDate
    AddRun(1, 45000.25 - 1e-9, 100);  // just before
    AddRun(1, 45003.5, 100);          // exactly toDate
    AddRun(1, 45003.5 + 1e-9, 100);   // just after
    AddRun(1, 45001, 100);
    active.Krit = 1;
    active.fromDate = 45000.25;
    active.toDate = 45003.5;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(PassingRunNos(), (std::vector<int32_t>{1, 3, 5}));

    // No date criterion: the range is ignored, whatever it holds.
    ClearFilteredOut(data);
    active.Krit = -1;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(PassingRunNos().size(), 5u);
    EXPECT_FALSE(ComputeFilterActive(active, data));

    // A kind of 0 alone counts as a filter even when its range keeps every run.
    active.Krit = 0;
    active.fromDate = 0;
    active.toDate = 99999;
    EXPECT_TRUE(ComputeFilterActive(active, data));
}

TEST_F(FilterTest, InvalidConditionValuesAreNeverFiltered) {
    AddRun(1, 45000, 100).Wetness = 3; // "Ошибка"
    AddRun(1, 45000, 100).Wetness = 1;
    AddRun(1, 45000, 100).Tyres = 7;   // "Ошибка"
    AddRun(1, 45000, 100).Tyres = 6;
    AddRun(1, 45000, 100).Damage = 4;  // "Ошибка"
    for (NameList* list : {&data.WetnessList, &data.SurfAgeList, &data.TyresList, &data.DamageList, &data.WeatherList})
        list->back().FiltOn = true;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(PassingRunNos().size(), 5u);
    EXPECT_FALSE(ComputeFilterActive(active, data)) << "only the \"Ошибка\" entries are set";

    ClearFilteredOut(data);
    data.WetnessList[1].FiltOn = true;
    data.TyresList[6].FiltOn = true;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(PassingRunNos(), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_TRUE(ComputeFilterActive(active, data));
}

TEST_F(FilterTest, NameListsHideTheirRunsOnly) {
    AddRun(1, 45000, 100).CarIdx = 0;
    AddRun(1, 45000, 100).CarIdx = 1;
    AddRun(1, 45000, 100).CarIdx = 2;
    AddRun(1, 45000, 100).CarIdx = 7; // beyond the list: never matched
    RunRecord& classRun = AddRun(1, 45000, 100);
    classRun.CarIdx = 0;
    classRun.ClassIdx = 1;
    data.CarList[1].FiltOn = true;
    data.ClassList[1].FiltOn = true;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(PassingRunNos(), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_TRUE(ComputeFilterActive(active, data));

    // Every car hidden: nothing passes.
    ClearFilteredOut(data);
    for (NameEntry& car : data.CarList)
        car.FiltOn = true;
    data.Runs[4].CarIdx = 2;
    ApplyFilter(data, stages, active, totals);
    EXPECT_TRUE(PassingRunNos().empty());
    EXPECT_EQ(data.FinishedCount, 0);
    EXPECT_EQ(totals.VisibleRuns, 0);
}

TEST_F(FilterTest, UnfinishedRunsCountAsVisibleOnly) {
    AddRun(1, 45000, 100.5);
    AddRun(2, 45000, 0, false);
    AddRun(3, 45000, 200.25);
    AddRun(2, 45000, 0, false).CarIdx = 1;
    data.CarList[1].FiltOn = true; // hides the last run before it is counted
    totals.AverageSpeed = 55;
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(totals.VisibleRuns, 3);
    EXPECT_EQ(data.FinishedCount, 2);
    EXPECT_FLOAT_EQ(totals.TotalTime, 300.75f);
    EXPECT_FLOAT_EQ(totals.TotalLength, 19.5f);
    EXPECT_EQ(totals.AverageSpeed, 0);
    EXPECT_EQ(PassingRunNos(), (std::vector<int32_t>{1, 3}));

    // Without dropping, unfinished runs stay in.
    ClearFilteredOut(data);
    CountVisibleRuns(data, stages, totals, false);
    EXPECT_EQ(totals.VisibleRuns, 4);
    EXPECT_EQ(PassingRunNos().size(), 4u);
}

TEST_F(FilterTest, MissingStageCountsNoLength) {
    AddRun(1, 45000, 10);
    AddRun(9, 45000, 20); // the stage file has no record 9
    ApplyFilter(data, stages, active, totals);
    EXPECT_EQ(data.FinishedCount, 2);
    EXPECT_FLOAT_EQ(totals.TotalLength, 12.5f);
    EXPECT_EQ(stages.MissingStages(), (std::set<int>{9}));
}

TEST_F(FilterTest, AllStagesSelectionKeepsRunOrderAndSyncsTheList) {
    AddRun(1, 45000, 10);
    AddRun(2, 45000, 20);
    AddRun(3, 45000, 0, false);
    AddRun(3, 45000, 30);
    AddRun(2, 45000, 40).CarIdx = 1;
    AddRun(1, 45000, 50);
    data.CarList[1].FiltOn = true;
    ApplyFilter(data, stages, active, totals);

    SelectionState sel;
    int32_t selCur = 3;
    int32_t stageIndex = -1;
    const uint8_t stage = BuildSelection(data, stages, sel, selCur, stageList, stageIndex, true);
    ASSERT_EQ(sel.SelCount, 4);
    std::vector<int32_t> runNos;
    for (int32_t i = 1; i <= sel.SelCount; ++i) {
        EXPECT_EQ(sel.Selection[i].SelNo, i);
        runNos.push_back(sel.Selection[i].RunNo);
    }
    EXPECT_EQ(runNos, (std::vector<int32_t>{1, 2, 4, 6}));
    EXPECT_EQ(data.Runs[1].SelNo, 0) << "the run table is not touched";
    // Row 3 is run 4 on "Lowmere".
    EXPECT_EQ(stage, 3);
    EXPECT_EQ(stageIndex, 2);
    EXPECT_EQ(stages.Buffer.StageName, "Lowmere");
    EXPECT_EQ(selCur, 3);

    // A cursor beyond the selection is lowered to its last row.
    selCur = 99;
    EXPECT_EQ(SyncStageList(stages, sel, selCur, stageList, stageIndex), 1);
    EXPECT_EQ(selCur, 4);
    EXPECT_EQ(stageIndex, 1);

    // A cursor below 1 describes the first row.
    selCur = -5;
    EXPECT_EQ(SyncStageList(stages, sel, selCur, stageList, stageIndex), 1);
    EXPECT_EQ(stageIndex, 1);
}

TEST_F(FilterTest, EmptyAllStagesSelectionLowersTheCursorToZero) {
    AddRun(2, 45000, 10);
    active.Krit = 1;
    active.fromDate = active.toDate = 1;
    ApplyFilter(data, stages, active, totals);
    SelectionState sel;
    int32_t selCur = 5;
    int32_t stageIndex = 1;
    BuildSelection(data, stages, sel, selCur, stageList, stageIndex, true);
    EXPECT_EQ(sel.SelCount, 0);
    EXPECT_EQ(selCur, 0);
    EXPECT_EQ(stageIndex, 1) << "the stage list keeps its selection";
}

TEST_F(FilterTest, OneStageSelection) {
    AddRun(1, 45000, 10);
    AddRun(2, 45000, 20);
    AddRun(1, 45000, 0, false);
    AddRun(1, 45000, 30);
    ApplyFilter(data, stages, active, totals);

    SelectionState sel;
    int32_t selCur = 1;
    int32_t stageIndex = 1; // "Kestrel Ridge", stage 1
    EXPECT_EQ(BuildSelection(data, stages, sel, selCur, stageList, stageIndex, false), 1);
    ASSERT_EQ(sel.SelCount, 2);
    EXPECT_EQ(sel.Selection[1].RunNo, 1);
    EXPECT_EQ(sel.Selection[2].RunNo, 4);
    EXPECT_EQ(sel.Selection[2].SelNo, 2);
    EXPECT_EQ(sel.Selection.size(), 3u) << "room for the stage's runs, not for every run of the log";
    EXPECT_EQ(stages.Buffer.StageName, "Kestrel Ridge");
    EXPECT_FLOAT_EQ(stages.Buffer.StageLength, 12.5f);

    // No selected stage (or an index past the list): nothing is shown.
    for (int32_t index : {-1, 3, 1000}) {
        stageIndex = index;
        EXPECT_EQ(BuildSelection(data, stages, sel, selCur, stageList, stageIndex, false), 0);
        EXPECT_EQ(sel.SelCount, 0);
        EXPECT_EQ(stages.Buffer.StageName, "");
        EXPECT_EQ(stageIndex, index);
    }
}

TEST(SetLastPeriodTest, UnitsAndNone) {
    const double now = 45123.40625;
    TDateFilter f;
    f.Krit = 0;
    SetLastPeriod(f, 3, 2, now);
    EXPECT_EQ(f.fromDate, now - 21);
    EXPECT_EQ(f.toDate, now);
    EXPECT_EQ(f.Krit, 0);

    SetLastPeriod(f, 5, 0, now);
    EXPECT_NEAR(now - f.fromDate, 5.0 / 24, 1e-9); // a day count near 45000 holds about 1e-11 day
    SetLastPeriod(f, 2, 3, now);
    EXPECT_EQ(f.fromDate, now - 60);
    SetLastPeriod(f, 1, 4, now);
    EXPECT_EQ(f.fromDate, now - 365);
    SetLastPeriod(f, 4, 9, now); // unknown unit: the single moment now
    EXPECT_EQ(f.fromDate, now);

    f.fromDate = 1;
    f.toDate = 2;
    SetLastPeriod(f, 0, 1, now);
    EXPECT_EQ(f.Krit, -1);
    EXPECT_EQ(f.fromDate, 1);
    EXPECT_EQ(f.toDate, 2);
}

TEST(ClearFiltEditTest, ClearsEveryList) {
    RunData data;
    data.CarList = {{"Vortan GT"}};
    data.ProfList = {{"Mira"}};
    for (NameList* list : {&data.CarList, &data.ProfList, &data.TyresList, &data.WeatherList})
        for (NameEntry& e : *list)
            e.FiltEdit = e.FiltOn = true;
    ClearFiltEdit(data);
    for (const NameList* list : {&data.CarList, &data.ProfList, &data.TyresList, &data.WeatherList})
        for (const NameEntry& e : *list) {
            EXPECT_FALSE(e.FiltEdit);
            EXPECT_TRUE(e.FiltOn);
        }
}

} // namespace
} // namespace kel
