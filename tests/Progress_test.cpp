// Progress figures of one stage as the program computes them after start-up.

#include "progress/ProgressFigures.h"
#include "progress/ProgressTexts.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kel {
namespace {

using namespace kel::test;

// Log order; stage 1 unless noted. Finishes in seconds.
//  1 Alfa 100 | 2 Beta 0 (no time) | 3 Alfa 95 | 4 Beta 96 | 5 Beta 90 without date
//  6 Alfa 95 (ties its best) | 7 Hidden 80 (filtered out) | 8 stage 2 | 9 Gamma 97 (one run)
// 10 ёлка 95 | 11 арба 95 | 12 unfinished
struct Stage1 {
    TempDir dir;
    ProgramState v;

    explicit Stage1(int sortColumn = 0) {
        WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Озёрная", 10.0f, "", ""}, {2, "Other", 5.0f, "", ""}}));
        auto run = [](const std::string& date, const std::string& car, double finish, int stage = 1) {
            return std::vector<std::string>{MainLine(date, stage, car, car == "Alfa" ? "A1" : "B2", "Pilot"),
                                            TimesLine(finish / 3, finish / 2, finish)};
        };
        std::vector<std::string> lines;
        for (const auto& r : {run("2026-01-01 10:00:00", "Alfa", 100), run("2026-01-02 10:00:00", "Beta", 0),
                              run("2026-01-03 10:00:00", "Alfa", 95), run("2026-01-04 10:00:00", "Beta", 96),
                              run("-", "Beta", 90), run("2026-01-05 10:00:00", "Alfa", 95),
                              run("2026-01-06 10:00:00", "Hidden", 80), run("2026-01-06 11:00:00", "Alfa", 50, 2),
                              run("2026-01-07 10:00:00", "Gamma", 97), run("2026-01-08 10:00:00", "ёлка", 95),
                              run("2026-01-09 10:00:00", "арба", 95)})
            lines.insert(lines.end(), r.begin(), r.end());
        lines.push_back(MainLine("2026-01-10 10:00:00", 1, "Alfa"));
        WriteFile(dir / "zlttimes.log", LogBytes(lines));

        StartupOptions o;
        o.DataDir = dir.Path();
        o.Now = 50000;
        LoadPhase(v, o);
        for (NameEntry& e : v.Data.CarList)
            e.FiltOn = e.Name == "Hidden";
        v.Disp.TypeSort = static_cast<uint8_t>(sortColumn); // the table's order must not matter
        v.StageIndex = 1;                                   // "Озёрная" after "Other"
        SetupPhase(v, o);
    }
    ProgressFigures Figures(ProgressGrouping g = ProgressGrouping::Car) {
        return ComputeProgress(v.Data, v.Sel, false, g);
    }
    std::vector<std::string> Row(const BestsRow& row, ProgressGrouping g = ProgressGrouping::Car) {
        const auto t = BestsRowTexts(row, v.Data, g, NumberMode::Checked, ".", DateStyle::Log);
        return {t.begin(), t.end()};
    }
};

TEST(Progress, ChartTakesDatedTimedRunsOfTheFilteredStageInLogOrder) {
    Stage1 s(5); // table sorted by finish
    const ProgressFigures f = s.Figures();
    EXPECT_EQ(f.NoTime, 1);
    EXPECT_EQ(f.Undated, 1);
    EXPECT_EQ(f.Used, 8);
    std::vector<int32_t> runs;
    std::vector<double> best;
    std::vector<bool> newBest;
    for (const ProgressPoint& p : f.Points) {
        runs.push_back(p.RunNo);
        best.push_back(p.BestSoFar);
        newBest.push_back(p.NewBest);
    }
    EXPECT_EQ(runs, (std::vector<int32_t>{1, 3, 4, 6, 9, 10, 11}));
    EXPECT_EQ(best, (std::vector<double>{100, 95, 95, 95, 95, 95, 95}));
    EXPECT_EQ(newBest, (std::vector<bool>{true, true, false, false, false, false, false})); // a tie is no new best
    EXPECT_EQ(f.Points[2].Gap, 1);
    EXPECT_EQ(f.Points[1].PreviousBest, 100);
    EXPECT_EQ(ProgressNote(f, Language::Russian), "без времени: 1; без даты (нет на графике): 1");
    EXPECT_EQ(PointTooltip(f, s.v.Data, 2, NumberMode::Unchecked, Conventions{.DecimalSep = ","}),
              "Проезд 4\nДата: 04.01.2026 10:00:00\nМашина: Beta\nКласс: B2\nФиниш: 1:36,00\n"
              "Отставание от лучшего на тот момент: +0:01,00");
    const auto fields = ProgressFields(f.Points[1], s.v.Data, NumberMode::Grayed, ".");
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()),
              (std::vector<std::string>{"3 / 3", "2026-01-03 10:00:00", "Alfa", "A1", "Pilot", "1:35.00", "1:35.00",
                                        "1"}));
    // A click on a point finds its row in the table's current order.
    EXPECT_EQ(s.v.Sel.Selection[static_cast<std::size_t>(SelectionRowOfRun(s.v.Sel, 9))].RunNo, 9);
    EXPECT_EQ(SelectionRowOfRun(s.v.Sel, 7), 0);

    EXPECT_TRUE(ComputeProgress(s.v.Data, s.v.Sel, true, ProgressGrouping::Car).Points.empty());
}

TEST(Progress, BestsTableFiguresAndOrder) {
    Stage1 s;
    const ProgressFigures f = s.Figures();
    ASSERT_EQ(f.Bests.size(), 5u);
    using Texts = std::vector<std::string>;
    // Even count, the best run undated, the stage's best: gap 0:00.00 without a sign.
    EXPECT_EQ(s.Row(f.Bests[0]), (Texts{"Beta", "2", "1:30.00", "5", "", "0:00.00", "1:33.00", "1:33.00", "0:03.00",
                                        "50.0 %"}));
    // Odd count; the best is the first run with that time; ties with other groups go by name bytes
    // (cp1251: "ё" before "а").
    EXPECT_EQ(s.Row(f.Bests[1]), (Texts{"Alfa", "3", "1:35.00", "3", "2026-01-03 10:00:00", "+0:05.00", "1:36.67",
                                        "1:35.00", "0:02.36", "66.7 %"}));
    EXPECT_EQ(s.Row(f.Bests[2])[0], "ёлка");
    EXPECT_EQ(s.Row(f.Bests[3])[0], "арба");
    // One run: no spread.
    EXPECT_EQ(s.Row(f.Bests[4]), (Texts{"Gamma", "1", "1:37.00", "9", "2026-01-07 10:00:00", "+0:07.00", "1:37.00",
                                        "1:37.00", "0:00.00", "100.0 %"}));

    std::vector<BestsRow> rows = f.Bests;
    SortBests(rows, s.v.Data, f.Grouping, BestsRuns, false);
    std::vector<std::string> names;
    for (const BestsRow& r : rows)
        names.push_back(s.Row(r)[0]);
    EXPECT_EQ(names, (std::vector<std::string>{"Alfa", "Beta", "Gamma", "ёлка", "арба"}));

    const ProgressFigures byClass = s.Figures(ProgressGrouping::Class);
    ASSERT_EQ(byClass.Bests.size(), 2u);
    EXPECT_EQ(s.Row(byClass.Bests[0], ProgressGrouping::Class)[0], "B2");
    EXPECT_EQ(s.Row(byClass.Bests[0], ProgressGrouping::Class)[1], "5");
    EXPECT_EQ(BestsFieldName(BestsName, ProgressGrouping::Profile), "profile");

    const std::string csv = ExportBestsCsv(f.Bests, s.v.Data, f.Grouping, NumberMode::Unchecked, Conventions{.DecimalSep = ","});
    const auto parsed = ParseCsv(csv.substr(3), ';');
    ASSERT_EQ(parsed.size(), 6u);
    EXPECT_EQ(parsed[0][0], "Машина");
    EXPECT_EQ(parsed[2][2], "1:35,00");
}

TEST(Progress, ColoursGoToTheTenMostDrivenCars) {
    RunData data;
    SelectionState sel;
    for (int car = 0; car < 12; ++car) {
        data.CarList.push_back(NameEntry{"Car" + std::string(1, static_cast<char>('A' + car))});
        for (int k = 0; k <= car % 6; ++k) { // cars A and G 1 run, B and H 2 runs, ...
            RunRecord r;
            r.Finished = true;
            r.CarIdx = car;
            r.RunNo = r.SelNo = static_cast<int32_t>(sel.Selection.size());
            r.StartTime = 46000 + r.RunNo;
            r.Finish = 100 + r.RunNo;
            sel.Selection.push_back(r);
        }
    }
    sel.SelCount = static_cast<int32_t>(sel.Selection.size()) - 1;
    const ProgressFigures f = ComputeProgress(data, sel, false, ProgressGrouping::Car);
    std::vector<std::string> legend;
    for (int c = 0; c < static_cast<int>(f.ColourGroups.size()); ++c)
        legend.push_back(ColourName(f, data, c, Language::Russian));
    EXPECT_EQ(legend, (std::vector<std::string>{"CarF", "CarL", "CarE", "CarK", "CarD", "CarJ", "CarC", "CarI",
                                                "CarB", "CarH"}));
    EXPECT_EQ(ColourName(f, data, -1, Language::Russian), "другие");
    EXPECT_EQ(f.Points.front().Colour, -1); // CarA

    // By class the colours go to the classes: two of them, no other group.
    data.ClassList = {NameEntry{"Even"}, NameEntry{"Odd"}}; // by the car's index
    for (RunRecord& r : sel.Selection)
        r.ClassIdx = r.CarIdx % 2;
    const ProgressFigures byClass = ComputeProgress(data, sel, false, ProgressGrouping::Class);
    EXPECT_EQ(byClass.ColourGroups, (std::vector<int32_t>{1, 0})); // B, D, F, ... drive more
    EXPECT_EQ(ColourName(byClass, data, 0, Language::Russian), "Odd");
    for (const ProgressPoint& p : byClass.Points)
        EXPECT_EQ(p.Colour, p.ClassIdx == 1 ? 0 : 1);
}

TEST(ProgressTexts, RoundingOfSharesGapsAndAxisTicks) {
    EXPECT_EQ(ShareText(1, 16, "."), "6.3 %"); // an exact half rounds up
    EXPECT_EQ(ShareText(2, 3, ","), "66,7 %");
    EXPECT_EQ(ShareText(1, 8, "."), "12.5 %");
    EXPECT_EQ(GapText(3.214, "."), "+0:03.21");
    EXPECT_EQ(GapText(0, "."), "0:00.00");
    EXPECT_EQ(RunNumberText(3, 17, NumberMode::Grayed), "3 / 17");

    std::vector<std::string> labels;
    for (const AxisTick& t : TimeAxisTicks(93, 181, 5))
        labels.push_back(t.Text);
    EXPECT_EQ(labels, (std::vector<std::string>{"1:40", "2:00", "2:20", "2:40", "3:00"}));
    EXPECT_EQ(TimeAxisTicks(600, 600, 5).size(), 1u);
    EXPECT_LE(TimeAxisTicks(0, 50000, 8).size(), 8u);

    const auto dateLabels = [](const std::string& from, const std::string& to, int maxTicks) {
        std::vector<std::string> texts;
        for (const AxisTick& t : DateAxisTicks(*ParseLogDateTime(from), *ParseLogDateTime(to), maxTicks))
            texts.push_back(t.Text);
        return texts;
    };
    EXPECT_EQ(dateLabels("2024-01-10 00:00:00", "2024-12-20 00:00:00", 6),
              (std::vector<std::string>{"03.2024", "05.2024", "07.2024", "09.2024", "11.2024"}));
    EXPECT_EQ(dateLabels("2024-05-01 09:30:00", "2024-05-01 16:10:00", 4),
              (std::vector<std::string>{"10:00", "12:00", "14:00", "16:00"}));
    EXPECT_EQ(dateLabels("2024-05-01 09:30:00", "2024-05-09 16:10:00", 2), // Mondays
              (std::vector<std::string>{"06.05.2024"}));
}

} // namespace
} // namespace kel
