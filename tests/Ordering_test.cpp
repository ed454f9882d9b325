#include "table/Ordering.h"

#include "data/Cp1251.h"
#include "data/ValueTables.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace kel {
namespace {

void RankList(NameList& list) {
    for (auto& e : list)
        e.Rank = 1 + static_cast<int32_t>(std::count_if(list.begin(), list.end(),
                                                        [&](const NameEntry& o) { return o.Name < e.Name; }));
}

template <std::size_t N>
void FillCond(NameList& list, const std::array<std::string_view, N>& names) {
    list.assign(N, NameEntry{});
    for (std::size_t i = 0; i < N; ++i)
        list[i].Name = Utf8ToCp1251(names[i]);
    RankList(list);
}

RunData MakeData(std::vector<std::string> cars = {"Vortex", "Almera Z", "Kestrel"}) {
    RunData d;
    for (auto& c : cars)
        d.CarList.push_back(NameEntry{c});
    d.ClassList = {NameEntry{"B2"}, NameEntry{"A1"}};
    d.ProfList = {NameEntry{"mira"}, NameEntry{"Oleg"}};
    RankList(d.CarList);
    RankList(d.ClassList);
    RankList(d.ProfList);
    FillCond(d.WetnessList, WetnessNames);
    FillCond(d.SurfAgeList, SurfAgeNames);
    FillCond(d.TyresList, TyresNames);
    FillCond(d.DamageList, DamageNames);
    FillCond(d.WeatherList, WeatherNames);
    return d;
}

// Runs are told apart by RunNo; SelNo is the position in the selection as built.
SelectionState MakeSel(int n) {
    SelectionState s;
    s.Selection.resize(static_cast<std::size_t>(n) + 1);
    s.SelCount = n;
    for (int i = 1; i <= n; ++i) {
        s.Selection[static_cast<std::size_t>(i)].SelNo = i;
        s.Selection[static_cast<std::size_t>(i)].RunNo = 100 + i;
        s.Selection[static_cast<std::size_t>(i)].Finished = true;
    }
    return s;
}

std::vector<int> RunNos(const SelectionState& s) {
    std::vector<int> out;
    for (int i = 1; i <= s.SelCount; ++i)
        out.push_back(s.Selection[static_cast<std::size_t>(i)].RunNo);
    return out;
}

// The exchange sort exactly as the ordering is defined.
void LiteralSort(SelectionState& s, int column, bool ascending, bool bySectors) {
    const int n = s.SelCount;
    std::vector<double> key(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const RunRecord& r = s.Selection[static_cast<std::size_t>(i)];
        if (column == 3)
            key[i] = r.Split1;
        else if (column == 4)
            key[i] = bySectors ? r.Split2 - r.Split1 : r.Split2;
        else
            key[i] = bySectors ? r.Finish - r.Split2 : r.Finish;
    }
    for (int j = 1; j <= n - 1; ++j)
        for (int p = j + 1; p <= n; ++p)
            if ((ascending && key[j] > key[p]) || (!ascending && key[j] < key[p])) {
                std::swap(key[j], key[p]);
                std::swap(s.Selection[j], s.Selection[p]);
            }
}

SelectionState WithFinishes(const std::vector<double>& finishes) {
    SelectionState s = MakeSel(static_cast<int>(finishes.size()));
    for (std::size_t i = 0; i < finishes.size(); ++i)
        s.Selection[i + 1].Finish = finishes[i];
    return s;
}

// The stage column orders by the stage list (stages without a listed name last), the date
// column by start time (no date first); both keep log order among equal keys either way.
TEST(Ordering, StageAndDateColumnsAreStable) {
    StageFile stages;
    stages.FillStageListData(
        test::StageFileBytes({{1, "Zeta Pass", 0, "", ""}, {2, "alder Run", 0, "", ""}, {3, "", 0, "", ""}}));
    const std::vector<int32_t> places = StageListPlaces(stages, SortedStageList({"Zeta Pass", "alder Run"}));
    const RunData data = MakeData();
    const uint16_t stageOf[] = {1, 2, 9, 1, 3, 2}; // 9 has no record, 3 no name
    const double startOf[] = {5.5, 0, 3.25, 5.5, 3.25, 0};
    const struct {
        uint8_t column, up;
        std::vector<int> expected;
    } cases[] = {{12, 1, {102, 106, 101, 104, 103, 105}}, {12, 0, {103, 105, 101, 104, 102, 106}},
                 {13, 1, {102, 106, 103, 105, 101, 104}}, {13, 0, {101, 104, 103, 105, 102, 106}}};
    for (const auto& c : cases) {
        SelectionState s = MakeSel(6);
        for (std::size_t i = 1; i <= 6; ++i)
            std::tie(s.Selection[i].StageNo, s.Selection[i].StartTime) = std::pair(stageOf[i - 1], startOf[i - 1]);
        SortSelection(s, data, c.column, c.up, false, places);
        EXPECT_EQ(RunNos(s), c.expected) << int(c.column) << ' ' << int(c.up);
    }
}

TEST(Ordering, ExchangeSortExamplesAndSectorKeys) {
    const RunData data = MakeData();
    // A 3.0, B 3.0, C 1.0 ascending -> C, B, A.
    SelectionState s = WithFinishes({3.0, 3.0, 1.0});
    SortSelection(s, data, 5, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 102, 101}));
    // A 1.0, B 1.0, C 3.0 descending -> C, B, A.
    s = WithFinishes({1.0, 1.0, 3.0});
    SortSelection(s, data, 5, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 102, 101}));
    // SelNo travels with its run.
    EXPECT_EQ(s.Selection[1].SelNo, 3);

    // Slow start, fast last sector: first by the last sector, last by the finish.
    s = MakeSel(2);
    s.Selection[1].Split1 = 10; s.Selection[1].Split2 = 20; s.Selection[1].Finish = 40; // last sector 20
    s.Selection[2].Split1 = 30; s.Selection[2].Split2 = 40; s.Selection[2].Finish = 45; // last sector 5
    SortSelection(s, data, 5, 1, true);
    EXPECT_EQ(RunNos(s), (std::vector<int>{102, 101}));
    SortSelection(s, data, 5, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 102}));
    SortSelection(s, data, 3, 1, true);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 102}));
    // An unknown column and a short selection change nothing.
    SortSelection(s, data, 12, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 102}));
    s.SelCount = 1;
    SortSelection(s, data, 0, 0, false);
    EXPECT_EQ(s.Selection[1].RunNo, 101);
}

// The fast ordering must give exactly the literal procedure's permutation, ties included.
TEST(Ordering, ExchangeSortMatchesLiteralProcedure) {
    const RunData data = MakeData();
    std::mt19937 rng(20240611);
    std::vector<int> sizes = {0, 1, 2, 3, 4, 5, 7, 8, 16, 33, 2000};
    for (int i = 0; i < 400; ++i)
        sizes.push_back(static_cast<int>(rng() % 64));
    for (int i = 0; i < 60; ++i)
        sizes.push_back(static_cast<int>(rng() % 2001));
    for (std::size_t t = 0; t < sizes.size(); ++t) {
        const int n = sizes[t];
        // Few distinct values give heavy ties; halves make sector differences exact, so they tie too.
        const int distinct = 1 + static_cast<int>(rng() % (t % 3 == 0 ? 3 : 12));
        std::uniform_real_distribution<double> wide(-1e6, 1e6);
        const bool fewTies = t % 7 == 6;
        auto value = [&] {
            if (fewTies && (rng() & 3) != 0)
                return wide(rng);
            const int v = static_cast<int>(rng() % static_cast<unsigned>(distinct));
            if (v == 0)
                return (rng() & 1) ? -0.0 : 0.0;
            return (v % 2 ? -0.5 : 0.5) * v;
        };
        SelectionState s = MakeSel(n);
        for (int i = 1; i <= n; ++i) {
            auto& r = s.Selection[static_cast<std::size_t>(i)];
            r.Split1 = value();
            r.Split2 = value();
            r.Finish = value();
        }
        const int column = 3 + static_cast<int>(t % 3);
        for (int pass = 0; pass < 4; ++pass) {
            const bool ascending = (pass & 1) == 0;
            const bool bySectors = (pass & 2) != 0;
            SelectionState fast = s;
            SelectionState literal = s;
            SortSelection(fast, data, static_cast<uint8_t>(column), ascending ? 1 : 0, bySectors);
            LiteralSort(literal, column, ascending, bySectors);
            ASSERT_EQ(RunNos(fast), RunNos(literal))
                << "n=" << n << " column=" << column << " asc=" << ascending << " sectors=" << bySectors;
            s = fast; // the next pass starts from this order, as repeated header clicks do
        }
    }
}

TEST(Ordering, NanKeysLoseNoRun) {
    const RunData data = MakeData();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (uint8_t dir : {uint8_t{0}, uint8_t{1}}) {
        SelectionState s = WithFinishes({2.0, nan, 1.0, -inf, nan, 2.0, inf, -0.0, 0.0});
        SortSelection(s, data, 5, dir, false);
        std::vector<int> got = RunNos(s);
        // The NaN runs go last in their order; the others are ordered.
        EXPECT_EQ(got[7], 102);
        EXPECT_EQ(got[8], 105);
        for (int i = 0; i + 1 < 7; ++i) {
            const double a = s.Selection[static_cast<std::size_t>(i + 1)].Finish;
            const double b = s.Selection[static_cast<std::size_t>(i + 2)].Finish;
            EXPECT_TRUE(dir == 1 ? a <= b : a >= b);
        }
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, (std::vector<int>{101, 102, 103, 104, 105, 106, 107, 108, 109}));
    }
}

TEST(Ordering, PlacementBySelectionNumber) {
    const RunData data = MakeData();
    SelectionState s = WithFinishes({5, 1, 4, 2, 3});
    SortSelection(s, data, 5, 1, false);
    SortSelection(s, data, 0, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{105, 104, 103, 102, 101}));
    SortSelection(s, data, 5, 0, false);
    SortSelection(s, data, 0, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 102, 103, 104, 105}));

    // Damaged numbers (not 1..n each once): still every run exactly once, ordered by number.
    s = MakeSel(4);
    s.Selection[1].SelNo = 3;
    s.Selection[2].SelNo = 3;
    s.Selection[3].SelNo = 9;
    s.Selection[4].SelNo = 1;
    SortSelection(s, data, 0, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{104, 101, 102, 103}));
    SortSelection(s, data, 0, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 101, 102, 104}));
}

TEST(Ordering, RankGroupingOrdersByNameAndIsStable) {
    // Lower-case after upper-case Latin, Cyrillic last.
    const RunData data = MakeData({"Vortex", "almera", "Kestrel", Utf8ToCp1251("Ёрш"), "Zeta"});
    SelectionState s = MakeSel(7);
    const int cars[] = {1, 0, 3, 2, 4, 0, 1};
    for (int i = 0; i < 7; ++i)
        s.Selection[static_cast<std::size_t>(i + 1)].CarIdx = cars[i];
    SortSelection(s, data, 1, 1, false);
    // Kestrel, Vortex(2), Zeta, almera(2), Ёрш; equal names keep their order.
    EXPECT_EQ(RunNos(s), (std::vector<int>{104, 102, 106, 105, 101, 107, 103}));
    const std::vector<int> once = RunNos(s);
    SortSelection(s, data, 1, 1, false);
    EXPECT_EQ(RunNos(s), once);
    SortSelection(s, data, 1, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 101, 107, 105, 102, 106, 104}));

    // Finish order survives inside each car group.
    s = MakeSel(4);
    const double fin[] = {9, 3, 5, 1};
    const int car2[] = {0, 2, 0, 2};
    for (int i = 0; i < 4; ++i) {
        s.Selection[static_cast<std::size_t>(i + 1)].Finish = fin[i];
        s.Selection[static_cast<std::size_t>(i + 1)].CarIdx = car2[i];
    }
    SortSelection(s, data, 5, 1, false);
    SortSelection(s, data, 1, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{104, 102, 103, 101})); // Kestrel 1, 3; Vortex 5, 9
}

TEST(Ordering, ConditionColumnsAndInvalidCodes) {
    RunData data = MakeData();
    // Wetness codes Dry 0, Damp 1, Wet 2, invalid 3.
    SelectionState s = MakeSel(6);
    const int wet[] = {3, 2, 0, 1, 3, 0};
    for (int i = 0; i < 6; ++i)
        s.Selection[static_cast<std::size_t>(i + 1)].Wetness = wet[i];
    SelectionState asc = s;
    SortSelection(asc, data, 6, 1, false);
    // Damp, Dry, Wet, then "Ошибка".
    EXPECT_EQ(RunNos(asc), (std::vector<int>{104, 103, 106, 102, 101, 105}));
    SelectionState desc = s;
    SortSelection(desc, data, 6, 0, false);
    EXPECT_EQ(RunNos(desc), (std::vector<int>{101, 105, 102, 103, 106, 104}));

    // Damage: "Off", "Realistic", "Reduced", "Safe".
    s = MakeSel(4);
    for (int i = 0; i < 4; ++i)
        s.Selection[static_cast<std::size_t>(i + 1)].Damage = i;
    SortSelection(s, data, 9, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 104, 103, 102}));

    // Indices outside the list, a stale rank and an "Ошибка" entry ranked oddly: never lost.
    data.WeatherList[3].Rank = 1;
    data.WeatherList[1].Rank = 0;
    s = MakeSel(6);
    const int weather[] = {-1, 1, 2, 3, 0, 99};
    for (int i = 0; i < 6; ++i)
        s.Selection[static_cast<std::size_t>(i + 1)].Weather = weather[i];
    SortSelection(s, data, 10, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 105, 101, 102, 104, 106})); // Bad, Good, rest
    SortSelection(s, data, 10, 0, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{101, 102, 104, 106, 105, 103}));

    // Unranked name lists and a car index past the list keep every run.
    data.CarList[0].Rank = 0;
    s = MakeSel(4);
    const int car[] = {5, 0, 1, 2};
    for (int i = 0; i < 4; ++i)
        s.Selection[static_cast<std::size_t>(i + 1)].CarIdx = car[i];
    SortSelection(s, data, 1, 1, false);
    EXPECT_EQ(RunNos(s), (std::vector<int>{103, 104, 101, 102}));
}

} // namespace
} // namespace kel
