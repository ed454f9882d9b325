#include "table/CellText.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/ValueTables.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kel {
namespace {

struct Times {
    double s1, s2, fin;
};

RunData MakeData() {
    RunData d;
    d.CarList = {NameEntry{"Vortex GT"}, NameEntry{Utf8ToCp1251("Ласка")}};
    d.ClassList = {NameEntry{"A1"}};
    d.ProfList = {NameEntry{"mira"}};
    auto fill = [](NameList& list, auto names) {
        list.assign(names.size(), NameEntry{});
        for (std::size_t i = 0; i < names.size(); ++i)
            list[i].Name = Utf8ToCp1251(names[i]);
    };
    fill(d.WetnessList, WetnessNames);
    fill(d.SurfAgeList, SurfAgeNames);
    fill(d.TyresList, TyresNames);
    fill(d.DamageList, DamageNames);
    fill(d.WeatherList, WeatherNames);
    return d;
}

SelectionState MakeSel(const std::vector<Times>& times) {
    SelectionState s;
    s.SelCount = static_cast<int32_t>(times.size());
    s.Selection.resize(times.size() + 1);
    for (std::size_t i = 0; i < times.size(); ++i) {
        RunRecord& r = s.Selection[i + 1];
        r.SelNo = static_cast<int32_t>(i + 1);
        r.RunNo = static_cast<int32_t>(10 * (i + 1) + 7);
        r.Finished = true;
        r.Split1 = times[i].s1;
        r.Split2 = times[i].s2;
        r.Finish = times[i].fin;
    }
    return s;
}

// Columns 3..5 of a row.
std::vector<std::string> TimeTexts(const TableSnapshot& snap, int row) {
    return {CellText(snap, row, 3), CellText(snap, row, 4), CellText(snap, row, 5)};
}

using Texts = std::vector<std::string>;

TEST(CellText, NumbersAndNames) {
    const RunData data = MakeData();
    SelectionState sel = MakeSel({{10, 20, 30}, {11, 21, 31}, {12, 22, 32}});
    RunRecord& r = sel.Selection[3];
    r.CarIdx = 1;
    r.Wetness = 3; // invalid in the log
    r.Tyres = 5;
    r.Damage = 3;
    r.Weather = 1;
    sel.Selection[2].CarIdx = 7; // outside the list
    sel.Selection[2].ProfIdx = -1;
    DisplayState disp;

    TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(CellText(snap, 3, 0), "3");
    EXPECT_EQ(CellText(snap, 3, 1), "Ласка");
    EXPECT_EQ(CellText(snap, 3, 2), "A1");
    EXPECT_EQ(CellText(snap, 3, 6), "Ошибка");
    EXPECT_EQ(CellText(snap, 3, 7), "New");
    // The game's own condition names stay in English; only the word for a bad value changes.
    const TableSnapshot english = FillRunsTable(data, sel, disp, Conventions{Language::English, "."});
    EXPECT_EQ((std::vector<std::string>{CellText(english, 3, 6), CellText(english, 3, 7)}),
              (std::vector<std::string>{"Error", "New"}));
    EXPECT_EQ(CellText(snap, 3, 8), "Wet Gravel");
    EXPECT_EQ(CellText(snap, 3, 9), "Realistic");
    EXPECT_EQ(CellText(snap, 3, 10), "Random");
    EXPECT_EQ(CellText(snap, 3, 11), "mira");
    EXPECT_EQ(CellText(snap, 2, 1), "");
    EXPECT_EQ(CellText(snap, 2, 11), "");
    // Outside the table, and a reused buffer is cleared.
    std::string out = "stale";
    CellText(snap, 4, 1, out);
    EXPECT_EQ(out, "");
    EXPECT_EQ(CellText(snap, 0, 0), "");
    EXPECT_EQ(CellText(snap, 1, 12), "");

    disp.NumMode = NumberMode::Checked;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(CellText(snap, 1, 0), "17");
    disp.NumMode = NumberMode::Grayed;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(CellText(snap, 3, 0), "3 / 37");

    // A snapshot made without the fill's name cache still names the runs.
    TableSnapshot bare;
    bare.Data = &data;
    bare.Sel = &sel;
    bare.RowCount = 3;
    EXPECT_EQ(CellText(bare, 3, 1), "Ласка");
    EXPECT_EQ(CellText(bare, 2, 1), "");
}

TEST(CellText, StageDateAndSectorCaptions) {
    StageFile stages;
    stages.FillStageListData(test::StageFileBytes({{1, "Ёлкин лог", 0, "", ""}}));
    SelectionState sel = MakeSel({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
    sel.Selection[1] = {.StartTime = *EncodeDateTime({2025, 3, 7, 9, 5, 7, 0}), .StageNo = 1};
    sel.Selection[2] = {.StartTime = *EncodeDateTime({2025, 3, 8, 0, 0, 0, 0}), .StageNo = 7}; // no record
    DisplayState disp;
    const RunData data = MakeData();
    const TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{}, &stages);
    EXPECT_EQ((Texts{CellText(snap, 1, 12), CellText(snap, 1, 13), CellText(snap, 2, 12), CellText(snap, 2, 13),
                     CellText(snap, 3, 13)}),
              (Texts{"Ёлкин лог", "07.03.2025 9:05:07", "", "08.03.2025", ""}));
    const Language ru = Language::Russian;
    EXPECT_EQ((Texts{std::string(ColumnCaption(3, true, ru)), std::string(ColumnCaption(5, true, ru)),
                     std::string(ColumnCaption(5, false, ru))}),
              (Texts{"Сектор 1", "Сектор 3", "Финиш"}));
}

TEST(CellText, FillMovesCursorAndReference) {
    const RunData data = MakeData();
    SelectionState sel = MakeSel({{10, 20, 30}, {11, 21, 31}, {12, 22, 32}});
    DisplayState disp;
    disp.SelCur = 9;
    TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{.DecimalSep = ","});
    EXPECT_EQ(disp.SelCur, 3);
    EXPECT_EQ(snap.SelCur, 3);
    EXPECT_EQ(snap.RowCount, 3);
    EXPECT_EQ(disp.RefRun.RunNo, 37);
    EXPECT_EQ(CellText(snap, 1, 5), "0:30,00");

    disp.SelCur = 0; // a damaged saved cursor row
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(disp.SelCur, 1);
    EXPECT_EQ(disp.RefRun.RunNo, 17);

    // One run: the reference is not refreshed, but the run is on the reference row.
    SelectionState one = MakeSel({{5, 6, 7.5}});
    disp.SelCur = 4;
    disp.Relative = true;
    snap = FillRunsTable(data, one, disp, Conventions{});
    EXPECT_EQ(disp.SelCur, 1);
    EXPECT_EQ(disp.RefRun.RunNo, 17);
    EXPECT_EQ(TimeTexts(snap, 1), (Texts{"0:05.00", "0:06.00", "0:07.50"}));

    // Empty: no rows, the cursor stays.
    SelectionState none = MakeSel({});
    disp.SelCur = 4;
    snap = FillRunsTable(data, none, disp, Conventions{});
    EXPECT_EQ(snap.RowCount, 0);
    EXPECT_EQ(disp.SelCur, 4);
    EXPECT_EQ(CellText(snap, 1, 0), "");
}

TEST(CellText, TimeModes) {
    const RunData data = MakeData();
    // Row 2 is the reference: sectors 20, 30, 40.
    SelectionState sel = MakeSel({{21.5, 49.0, 100.0}, {20.0, 50.0, 90.0}, {20.0, 50.0, 90.0}, {18.5, 55.0, 83.456}});
    DisplayState disp;
    disp.SelCur = 2;
    TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(TimeTexts(snap, 1), (Texts{"0:21.50", "0:49.00", "1:40.00"}));

    disp.BySectors = true;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(TimeTexts(snap, 1), (Texts{"0:21.50", "0:27.50", "0:51.00"}));
    EXPECT_EQ(TimeTexts(snap, 4), (Texts{"0:18.50", "0:36.50", "0:28.46"}));

    disp.BySectors = false;
    disp.Relative = true;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(TimeTexts(snap, 1), (Texts{"+0:01.50", "-0:01.00", "+0:10.00"}));
    EXPECT_EQ(TimeTexts(snap, 2), (Texts{"0:20.00", "0:50.00", "1:30.00"})); // the reference row
    EXPECT_EQ(TimeTexts(snap, 3), (Texts{"0:00.00", "0:00.00", "0:00.00"})); // equal: no sign
    EXPECT_EQ(TimeTexts(snap, 4), (Texts{"-0:01.50", "+0:05.00", "-0:06.54"}));

    // Relative and sector: the differences of the sectors, not of the cumulative times.
    disp.BySectors = true;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(TimeTexts(snap, 1), (Texts{"+0:01.50", "-0:02.50", "+0:11.00"}));
    EXPECT_EQ(TimeTexts(snap, 2), (Texts{"0:20.00", "0:30.00", "0:40.00"}));
    EXPECT_EQ(TimeTexts(snap, 4), (Texts{"-0:01.50", "+0:06.50", "-0:11.54"}));

    // The reference is the run now on the cursor row, whatever stood there before.
    std::swap(sel.Selection[2], sel.Selection[4]);
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(disp.RefRun.RunNo, 47);
    EXPECT_EQ(TimeTexts(snap, 4), (Texts{"+0:01.50", "-0:06.50", "+0:11.54"}));
}

TEST(CellText, SinglePrecisionDecidesDigitsAndSign) {
    const RunData data = MakeData();
    // 1.135 in double lies just above 1.135, in single precision just below it.
    SelectionState sel = MakeSel({{0, 0, 0}, {1.135, 1.135, 1.135}, {1e-46, 1e-46, -1e-46}});
    DisplayState disp;
    disp.SelCur = 1;
    TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(CellText(snap, 2, 3), "0:01.13");
    disp.Relative = true;
    snap = FillRunsTable(data, sel, disp, Conventions{});
    EXPECT_EQ(CellText(snap, 2, 5), "+0:01.13");
    // Differences too small for single precision are zero: no sign either way.
    EXPECT_EQ(TimeTexts(snap, 3), (Texts{"0:00.00", "0:00.00", "0:00.00"}));
}

// The widest-text candidates hold the widest cell of each number and time column in every mode,
// for any font whose digits are equally wide (here signs are wider or narrower than a digit).
TEST(CellText, WidestNumberTextsHoldTheWidestCell) {
    const auto width = [](const std::string& text) {
        int w = 0;
        for (char c : text)
            w += c >= '0' && c <= '9' ? 7 : c == '+' ? 9 : c == '-' ? 4 : 3;
        return w;
    };
    const RunData data = MakeData();
    SelectionState sel = MakeSel({{21.5, 49.0, 100.0}, {20.0, 50.0, 590.0}, {9.0, 650.0, 700.25}, {18.5, 5.0, 83.456},
                                  {-3.0, 1.0, 2.0}});
    sel.Selection[3].RunNo = 10234;
    for (NumberMode mode : {NumberMode::Unchecked, NumberMode::Checked, NumberMode::Grayed})
        for (int options = 0; options < 4; ++options)
            for (int cursor : {1, 3}) {
                DisplayState disp;
                disp.NumMode = mode;
                disp.BySectors = options & 1;
                disp.Relative = options & 2;
                disp.SelCur = cursor;
                const TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{.DecimalSep = ","});
                for (int column : {0, 3, 4, 5}) {
                    int widest = 0, candidate = 0;
                    for (int row = 1; row <= snap.RowCount; ++row)
                        widest = std::max(widest, width(CellText(snap, row, column)));
                    for (const std::string& text : WidestNumberTexts(snap, column))
                        candidate = std::max(candidate, width(text));
                    EXPECT_EQ(candidate, widest) << "column " << column << " options " << options;
                }
            }
    DisplayState disp;
    EXPECT_TRUE(WidestNumberTexts(FillRunsTable(data, sel, disp, Conventions{}), 1).empty());
    EXPECT_TRUE(WidestNumberTexts(FillRunsTable(data, SelectionState{}, disp, Conventions{}), 0).empty());
}

} // namespace
} // namespace kel
