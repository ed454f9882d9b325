#include "stats/GameStats.h"

#include "data/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace kel {
namespace {

VisibilityTotals Totals(float time, float length = 0, int32_t visible = 1) {
    VisibilityTotals t;
    t.TotalTime = time;
    t.TotalLength = length;
    t.VisibleRuns = visible;
    return t;
}

std::string TotalTimeText(float seconds) {
    auto totals = Totals(seconds);
    return ShowGameStats(totals, 1, Conventions{}).TotalTime;
}

TEST(ShowGameStats, TotalTimeInHoursMinutesAndSeconds) {
    EXPECT_EQ(TotalTimeText(3599.9f), "0 часов  59 минут  59 секунд");
    EXPECT_EQ(TotalTimeText(3661), "1 час  1 минута  1 секунда");
    EXPECT_EQ(TotalTimeText(7322), "2 часа  2 минуты  2 секунды");
    EXPECT_EQ(TotalTimeText(12 * 3600 + 5 * 60 + 31), "12 часов  5 минут  31 секунда");
    EXPECT_EQ(TotalTimeText(0.5f), "0 часов  0 минут  0 секунд");
    EXPECT_EQ(TotalTimeText(121 * 3600.0f), "121 часов  0 минут  0 секунд");
}

TEST(ShowGameStats, SpeedShareAndDistance) {
    auto totals = Totals(7200, 250, 4);
    const auto t = ShowGameStats(totals, 3, Conventions{.DecimalSep = ","});
    EXPECT_FLOAT_EQ(totals.AverageSpeed, 125.0f);
    EXPECT_EQ(t.Speed, "125,00 км/ч");
    EXPECT_EQ(t.Share, "75,0 %");
    EXPECT_EQ(t.Finished, "3");
    EXPECT_EQ(t.Distance, "250,0 км");

    // A share that is not a whole percentage, and every run finished.
    totals = Totals(100, 1, 3);
    EXPECT_EQ(ShowGameStats(totals, 2, Conventions{}).Share, "66.7 %");
    EXPECT_EQ(ShowGameStats(totals, 3, Conventions{}).Share, "100.0 %");
    // The product is not limited to 32 bits.
    totals = Totals(100, 1, 2000000000);
    EXPECT_EQ(ShowGameStats(totals, 1000000000, Conventions{}).Share, "50.0 %");
}

TEST(ShowGameStats, NoFinishedTimeKeepsTheOldSpeed) {
    auto totals = Totals(0, 0, 5);
    totals.AverageSpeed = 88.5f;
    const auto t = ShowGameStats(totals, 0, Conventions{});
    EXPECT_EQ(t.TotalTime, "Суммарное время проездов равно нулю");
    EXPECT_EQ(t.Speed, "");
    EXPECT_EQ(t.Share, "");
    EXPECT_EQ(t.Finished, "0");
    EXPECT_EQ(t.Distance, "0.0 км");
    EXPECT_FLOAT_EQ(totals.AverageSpeed, 88.5f);
}

TEST(ShowGameStats, UndefinedValuesShowNoText) {
    auto totals = Totals(100, 10, 0);
    EXPECT_EQ(ShowGameStats(totals, 1, Conventions{}).Share, "");

    totals = Totals(std::numeric_limits<float>::infinity(), 10, 2);
    totals.AverageSpeed = 50;
    const auto t = ShowGameStats(totals, 2, Conventions{});
    EXPECT_EQ(t.TotalTime, "");
    EXPECT_EQ(t.Speed, "");
    EXPECT_EQ(t.Share, "100.0 %");
    EXPECT_FLOAT_EQ(totals.AverageSpeed, 50);

    // A time far beyond any integer type is still written out in whole units.
    totals = Totals(3e30f, 10, 2);
    const std::string huge = ShowGameStats(totals, 2, Conventions{}).TotalTime;
    EXPECT_EQ(huge.rfind("8333333", 0), 0u) << huge;
    EXPECT_NE(huge.find(" часа  "), std::string::npos) << huge;
}

SelectionState Selection(std::vector<std::pair<double, double>> startAndFinish) {
    SelectionState sel;
    for (const auto& [start, finish] : startAndFinish) {
        RunRecord r;
        r.Finished = true;
        r.StartTime = start;
        r.Finish = finish;
        sel.Selection.push_back(r);
    }
    sel.SelCount = static_cast<int32_t>(startAndFinish.size());
    return sel;
}

double Moment(int y, int mo, int d, int h, int mi, int s) {
    return *EncodeDateTime(DateTimeParts{y, mo, d, h, mi, s, 0});
}

TEST(ShowStatusBar, DescribesTheCursorRun) {
    StageRecord stage;
    stage.StageLength = 12.5f;
    const auto sel = Selection({{Moment(2023, 3, 9, 7, 5, 9), 300}, {Moment(2024, 11, 28, 0, 0, 0), 450}});
    DisplayState disp;
    disp.SelCur = 1;
    auto t = ShowStatusBar(sel, disp, stage, Conventions{.DecimalSep = ","});
    EXPECT_EQ(t.Cursor, "Позиция курсора:  1");
    EXPECT_EQ(t.Date, "Дата/время проезда:  09.03.2023 7:05:09");
    EXPECT_EQ(t.Speed, "Средн. скорость проезда:  150,00 км/ч");

    disp.SelCur = 2; // started exactly at midnight: the date alone
    t = ShowStatusBar(sel, disp, stage, Conventions{});
    EXPECT_EQ(t.Date, "Дата/время проезда:  28.11.2024");
    EXPECT_EQ(t.Speed, "Средн. скорость проезда:  100.00 км/ч");
}

TEST(ShowStatusBar, CursorIsKeptInsideTheSelection) {
    StageRecord stage;
    stage.StageLength = 10;
    const auto sel = Selection({{Moment(2023, 1, 2, 10, 0, 0), 100}, {Moment(2023, 1, 3, 23, 59, 59), 200}});
    DisplayState disp;
    disp.SelCur = 7;
    auto t = ShowStatusBar(sel, disp, stage, Conventions{});
    EXPECT_EQ(disp.SelCur, 2);
    EXPECT_EQ(t.Cursor, "Позиция курсора:  2");
    EXPECT_EQ(t.Date, "Дата/время проезда:  03.01.2023 23:59:59");

    disp.SelCur = -3;
    t = ShowStatusBar(sel, disp, stage, Conventions{});
    EXPECT_EQ(disp.SelCur, 1);
    EXPECT_EQ(t.Date, "Дата/время проезда:  02.01.2023 10:00:00");

    // An empty selection shows only the cursor position, at row 1.
    disp.SelCur = 4;
    t = ShowStatusBar(Selection({}), disp, stage, Conventions{});
    EXPECT_EQ(disp.SelCur, 1);
    EXPECT_EQ(t.Cursor, "Позиция курсора:  1");
    EXPECT_EQ(t.Date, "");
    EXPECT_EQ(t.Speed, "");
}

TEST(ShowStatusBar, ZeroFinishShowsNoSpeed) {
    StageRecord stage;
    stage.StageLength = 10;
    DisplayState disp;
    auto t = ShowStatusBar(Selection({{Moment(2023, 1, 2, 10, 0, 0), 0}}), disp, stage, Conventions{});
    EXPECT_EQ(t.Speed, "Средн. скорость проезда:  ");
    stage.StageLength = 0;
    t = ShowStatusBar(Selection({{Moment(2023, 1, 2, 10, 0, 0), 0}}), disp, stage, Conventions{});
    EXPECT_EQ(t.Speed, "Средн. скорость проезда:  ");
}

} // namespace
} // namespace kel
