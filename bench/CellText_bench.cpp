// Texts of every cell of a large runs table.
#include "table/CellText.h"

#include "data/Cp1251.h"
#include "data/ValueTables.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

using namespace kel;

struct Sample {
    RunData data;
    SelectionState sel;
};

template <std::size_t N>
void FillCond(NameList& list, const std::array<std::string_view, N>& names) {
    list.assign(N, NameEntry{});
    for (std::size_t i = 0; i < N; ++i)
        list[i].Name = Utf8ToCp1251(names[i]);
}

Sample MakeSample(int runs) {
    Sample s;
    std::mt19937 rng(777);
    for (int i = 0; i < 40; ++i)
        s.data.CarList.push_back(NameEntry{Utf8ToCp1251("Машина модели Q-" + std::to_string(i))});
    for (int i = 0; i < 8; ++i)
        s.data.ClassList.push_back(NameEntry{"Class " + std::to_string(i)});
    for (int i = 0; i < 5; ++i)
        s.data.ProfList.push_back(NameEntry{Utf8ToCp1251("Профиль " + std::to_string(i))});
    FillCond(s.data.WetnessList, WetnessNames);
    FillCond(s.data.SurfAgeList, SurfAgeNames);
    FillCond(s.data.TyresList, TyresNames);
    FillCond(s.data.DamageList, DamageNames);
    FillCond(s.data.WeatherList, WeatherNames);
    s.sel.Selection.resize(static_cast<std::size_t>(runs) + 1);
    s.sel.SelCount = runs;
    for (int i = 1; i <= runs; ++i) {
        RunRecord& r = s.sel.Selection[static_cast<std::size_t>(i)];
        r.SelNo = i;
        r.RunNo = i + static_cast<int>(rng() % 7);
        r.Finished = true;
        r.CarIdx = static_cast<int32_t>(rng() % 40);
        r.ClassIdx = static_cast<int32_t>(rng() % 8);
        r.ProfIdx = static_cast<int32_t>(rng() % 5);
        r.Wetness = static_cast<int32_t>(rng() % 4);
        r.SurfAge = static_cast<int32_t>(rng() % 4);
        r.Tyres = static_cast<int32_t>(rng() % 8);
        r.Damage = static_cast<int32_t>(rng() % 5);
        r.Weather = static_cast<int32_t>(rng() % 4);
        const double clean = std::uniform_real_distribution<double>(90, 900)(rng);
        r.Split1 = clean * 0.33;
        r.Split2 = clean * 0.67;
        r.Finish = clean;
    }
    return s;
}

const Sample& Runs() {
    static Sample s = MakeSample(100000);
    return s;
}

// Fill, then the 12 texts of every row; range(0): 0 plain, 1 relative and by sectors.
void BM_AllCellTexts(benchmark::State& state) {
    const Sample& sample = Runs();
    DisplayState disp;
    disp.SelCur = 500;
    disp.Relative = state.range(0) == 1;
    disp.BySectors = state.range(0) == 1;
    disp.NumMode = NumberMode::Grayed;
    std::string out;
    out.reserve(64);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const TableSnapshot snap = FillRunsTable(sample.data, sample.sel, disp, ",");
        for (int row = 1; row <= snap.RowCount; ++row)
            for (int column = 0; column < 12; ++column) {
                CellText(snap, row, column, out);
                bytes += out.size();
            }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * 12 * sample.sel.SelCount);
}
BENCHMARK(BM_AllCellTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
