// The runs table widget on the generated 100000-run log: refreshing the model, painting the
// visible rows, a wheel notch and fitting a column.
#include "table/ui/RunsGrid.h"

#include "bench/BenchData.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "filter/Filter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kel;

using Sample = kel::bench::BenchRuns;

// Every stage selected, as at start-up in the all-stages mode; log order.
const Sample& Runs() {
    static const Sample sample = kel::bench::LoadAllStages(100000);
    return sample;
}

struct Fixture {
    DisplayState disp;
    TableSnapshot snap;
    std::unique_ptr<RunsGrid> grid;

    explicit Fixture(bool relative = false) {
        disp.SelCur = 500;
        disp.Relative = relative;
        disp.BySectors = relative;
        snap = FillRunsTable(Runs().data, Runs().sel, disp, Conventions{.DecimalSep = ","});
        grid = std::make_unique<RunsGrid>();
        grid->resize(700, 720);
        grid->show();
        grid->setSectionWidths({35, 170, 45, 60, 60, 60, 100, 50, 50, 50, 50, 100});
        grid->setSnapshot(snap, disp);
        QCoreApplication::processEvents();
    }
};

void Paint(RunsGrid& grid, QImage& image) {
    QPainter painter(&image);
    grid.viewport()->render(&painter);
}

// A new row count each time: the model is reset (a stage or filter change). range(0) is the
// row count, to compare a small table with the whole log.
void BM_RefreshReset(benchmark::State& state) {
    Fixture f;
    if (state.range(0) > 0)
        f.snap.RowCount = static_cast<int32_t>(state.range(0));
    TableSnapshot shorter = f.snap;
    shorter.RowCount -= 1;
    bool flip = false;
    for (auto _ : state) {
        f.grid->setSnapshot(flip ? f.snap : shorter, f.disp);
        flip = !flip;
    }
    state.counters["rows"] = f.snap.RowCount;
}
BENCHMARK(BM_RefreshReset)->Arg(1000)->Arg(0)->Unit(benchmark::kMicrosecond);

// The same row count: the cells are reported changed (a sort, the relative mode's refill).
void BM_RefreshSameRows(benchmark::State& state) {
    Fixture f(true);
    for (auto _ : state)
        f.grid->setSnapshot(f.snap, f.disp);
    state.counters["rows"] = f.snap.RowCount;
}
BENCHMARK(BM_RefreshSameRows)->Unit(benchmark::kMicrosecond);

// Painting the visible rows of a 720-pixel high table, range(0) 1 = after a model reset.
void BM_PaintVisibleRows(benchmark::State& state) {
    Fixture f(true);
    TableSnapshot shorter = f.snap;
    shorter.RowCount -= 1;
    QImage image(f.grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    bool flip = false;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            f.grid->setSnapshot(flip ? f.snap : shorter, f.disp);
            flip = !flip;
        }
        Paint(*f.grid, image);
    }
    state.counters["visible"] = f.grid->visibleRowCount();
}
BENCHMARK(BM_PaintVisibleRows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One wheel notch (down, then up at the end) with the repaint that follows it.
void BM_WheelNotch(benchmark::State& state) {
    Fixture f;
    QImage image(f.grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (f.grid->currentRow() >= f.snap.RowCount - 2)
            f.grid->setCurrentRow(1);
        f.grid->scrollOneNotchDown();
        Paint(*f.grid, image);
    }
}
BENCHMARK(BM_WheelNotch)->Unit(benchmark::kMicrosecond);

// Fitting a column over every row: range(0) is the column (1 car, 5 finish time).
void BM_FitColumn(benchmark::State& state) {
    Fixture f;
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state)
        f.grid->fitColumnToText(column);
}
BENCHMARK(BM_FitColumn)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
