#include "stats/StageStats.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kel {
namespace {

struct Times {
    double Split1, Split2, Finish;
    uint16_t Stage = 7;
};

SelectionState Select(const std::vector<Times>& runs) {
    SelectionState sel;
    for (const auto& t : runs) {
        RunRecord r;
        r.Finished = true;
        r.StageNo = t.Stage;
        r.Split1 = t.Split1;
        r.Split2 = t.Split2;
        r.Finish = t.Finish;
        r.SelNo = static_cast<int32_t>(sel.Selection.size());
        sel.Selection.push_back(r);
    }
    sel.SelCount = static_cast<int32_t>(runs.size());
    sel.CurrentStage = 7;
    return sel;
}

StageRecord Stage(float length = 10.0f) {
    StageRecord s;
    s.StageName = "Gorny pereval";
    s.StageNo = 7;
    s.StageLength = length;
    return s;
}

using Rows = std::array<int32_t, 4>;

TEST(ShowStageStats, OneRunIsBestWorstAndAverage) {
    DisplayState disp;
    const auto t = ShowStageStats(Stage(), 7, Select({{30.1, 75.3, 120.45}}), disp, Conventions{});
    EXPECT_EQ(t.Length, "10.0 км");
    EXPECT_EQ(t.Distance, "10.0 км");
    EXPECT_EQ(t.Runs, "1");
    EXPECT_EQ(t.Number, "7");
    EXPECT_EQ(t.Best, "2:00.45");
    EXPECT_EQ(t.Worst, "2:00.45");
    EXPECT_EQ(t.Average, "2:00.45");
    EXPECT_EQ(t.Combined, "2:00.45");
    EXPECT_EQ(t.Speed, "298.88 км/ч");
    EXPECT_EQ(disp.BestTimeRow, (Rows{0, 1, 1, 1}));
    EXPECT_EQ(disp.BestSectorRow, (Rows{0, 1, 1, 1}));
}

TEST(ShowStageStats, CombinedBestTakesEachSectorFromItsBestRun) {
    DisplayState disp;
    // Sectors 20/40/40 and 25/45/25: the first run has the best splits, the second the best finish.
    const auto t = ShowStageStats(Stage(12.5f), 7, Select({{20, 60, 100}, {25, 70, 95}}), disp, Conventions{.DecimalSep = ","});
    EXPECT_EQ(t.Combined, "1:25,00");
    EXPECT_EQ(t.Best, "1:35,00");
    EXPECT_EQ(t.Worst, "1:40,00");
    EXPECT_EQ(t.Average, "1:37,50");
    EXPECT_EQ(t.Distance, "25,0 км");
    EXPECT_EQ(t.Runs, "2");
    EXPECT_EQ(t.Speed, "461,54 км/ч");
    EXPECT_EQ(disp.BestTimeRow, (Rows{0, 1, 1, 2}));
    EXPECT_EQ(disp.BestSectorRow, (Rows{0, 1, 1, 2}));
}

TEST(ShowStageStats, SinglePrecisionDecidesBestsAndAverage) {
    DisplayState disp;
    // Equal finishes: the first run keeps the mark.
    ShowStageStats(Stage(), 7, Select({{10, 20, 50}, {11, 21, 50}}), disp, Conventions{});
    EXPECT_EQ(disp.BestTimeRow[3], 1);

    // 100.099999 is below 100.1 but not below the float the best is stored as.
    ShowStageStats(Stage(), 7, Select({{10, 20, 100.1}, {11, 21, 100.099999}}), disp, Conventions{});
    EXPECT_EQ(disp.BestTimeRow[3], 1);
    ShowStageStats(Stage(), 7, Select({{10, 20, 100.1}, {11, 21, 100.099998}}), disp, Conventions{});
    EXPECT_EQ(disp.BestTimeRow[3], 2);

    // The average is a float: 1.135 as a float lies below the tie.
    const auto t = ShowStageStats(Stage(), 7, Select({{0.5, 1, 1.135}, {0.5, 1, 1.135}}), disp, Conventions{});
    EXPECT_EQ(t.Average, "0:01.13");
}

TEST(ShowStageStats, TimesOfTenThousandSecondsNeverBecomeBest) {
    DisplayState disp;
    disp.BestTimeRow = {0, 9, 9, 9};
    disp.BestSectorRow = {0, 9, 9, 9};
    const auto t = ShowStageStats(Stage(), 7, Select({{5000, 9000, 10000}}), disp, Conventions{});
    EXPECT_EQ(t.Best, "166:40.00");
    EXPECT_EQ(t.Worst, "166:40.00");
    EXPECT_EQ(disp.BestTimeRow, (Rows{0, 1, 1, 9}));
    EXPECT_EQ(disp.BestSectorRow, (Rows{0, 1, 1, 1}));

    ShowStageStats(Stage(), 7, Select({{10000, 20000, 30000}}), disp, Conventions{});
    EXPECT_EQ(disp.BestSectorRow, (Rows{0, 1, 1, 1})); // unchanged
}

TEST(ShowStageStats, EmptySelectionShowsOnlyTheStage) {
    DisplayState disp;
    disp.SelCur = 5;
    disp.BestTimeRow = {0, 2, 3, 4};
    const auto t = ShowStageStats(Stage(3.25f), 7, Select({}), disp, Conventions{});
    EXPECT_EQ(t.Length, "3.3 км");
    EXPECT_EQ(t.Distance, "0.0 км");
    EXPECT_EQ(t.Runs, "0");
    EXPECT_EQ(t.Number, "7");
    for (const auto* text : {&t.Combined, &t.Best, &t.Worst, &t.Average, &t.Speed})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(disp.SelCur, 1);
    EXPECT_EQ(disp.BestTimeRow, (Rows{0, 2, 3, 4}));
}

TEST(ShowStageStats, AllStagesModeCountsOnlyTheCurrentStage) {
    DisplayState disp;
    disp.SelCur = 3;
    auto sel = Select({{10, 20, 30, 3}, {11, 22, 33, 7}, {9, 19, 29, 3}, {12, 23, 34, 7}});
    auto t = ShowStageStats(Stage(), 7, sel, disp, Conventions{});
    EXPECT_EQ(t.Runs, "2");
    EXPECT_EQ(t.Best, "0:33.00");
    EXPECT_EQ(t.Worst, "0:34.00");
    EXPECT_EQ(disp.BestTimeRow[3], 1); // counted among the stage's own runs

    // None of the selection's runs belongs to the stage: no undefined average on screen.
    t = ShowStageStats(Stage(), 5, sel, disp, Conventions{});
    EXPECT_EQ(t.Runs, "0");
    EXPECT_EQ(t.Distance, "0.0 км");
    for (const auto* text : {&t.Combined, &t.Best, &t.Worst, &t.Average, &t.Speed})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(disp.SelCur, 3);
}

TEST(ShowStageStats, DamagedTimesShowNoUndefinedNumbers) {
    DisplayState disp;
    auto t = ShowStageStats(Stage(), 7, Select({{0, 0, 0}}), disp, Conventions{});
    EXPECT_EQ(t.Average, "0:00.00");
    EXPECT_EQ(t.Speed, "");

    t = ShowStageStats(Stage(), 7, Select({{10, 20, 1e300}}), disp, Conventions{});
    EXPECT_EQ(t.Worst, "");
    EXPECT_EQ(t.Average, "");
    EXPECT_EQ(t.Speed, "");
    EXPECT_EQ(t.Best, "166:40.00");
}

} // namespace
} // namespace kel
