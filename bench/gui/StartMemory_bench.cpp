// Peak resident memory of the window's start per run of a 1000000-run log: a fresh process
// (this program started again) opens the main window on the log and ends after its first paint;
// its peak less that of the same start on a log of ten runs, over the runs. Linux only.
//   gui_StartMemory_bench   (in the build folder's app/)

#include "app/FixedScreen.h"
#include "app/MainWindow.h"
#include "gui/MsgBox.h"
#include "bench/BenchData.h"
#include "table/ui/RunsGrid.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace kel;

namespace {

constexpr int RunCount = 1000000;
constexpr const char* ChildOption = "--start-window";

class PaintSpy : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

// The child: the window on `dataDir`, as at a start without settings, until its table is painted.
int StartWindow(int argc, char** argv, const char* dataDir) {
    QTemporaryDir dir;
    UseFixedOffscreenScreen(dir.path());
    QApplication app(argc, argv);
    SetMsgBoxHandler([](const MsgBoxCall&) { return false; });
    MainWindow::trayAvailableOverride = 0;
    const QString ini = dir.filePath(QStringLiteral("Kelvara.ini"));
    QFile file(ini);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Visparam]\r\nMaxWin=0\r\n");
    file.close();
    MainWindow form(ini, QString::fromLocal8Bit(dataDir));
    PaintSpy spy;
    form.runsGrid->viewport()->installEventFilter(&spy);
    form.show();
    while (!spy.Painted)
        QApplication::processEvents();
    return form.state().Data.RunCount > 0 ? 0 : 1;
}

#ifndef _WIN32
// A child started by vfork (as posix_spawn does) takes over its parent's peak at its exec, so
// the window is started by a fresh, small instance of this program, which prints the peak.
long StartPeakKb(const std::string& dataDir) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    return bench::ReadPeakKb("exec '" + self + "' " + bench::PeakOption + " '" + self + "' " + ChildOption + " '" +
                             dataDir + "'");
}

void BM_StartPeakMemory(benchmark::State& state) {
    const std::string big = bench::DataDir(RunCount).string(), tiny = bench::DataDir(10).string();
    long bigKb = 0, tinyKb = 0;
    for (auto _ : state) {
        bigKb = StartPeakKb(big);
        tinyKb = StartPeakKb(tiny);
        if (bigKb < 0 || tinyKb < 0) {
            state.SkipWithError("the window did not start");
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(bigKb) / 1024;
    state.counters["tiny_MB"] = static_cast<double>(tinyKb) / 1024;
    state.counters["bytes/run"] = static_cast<double>(bigKb - tinyKb) * 1024 / RunCount;
}
BENCHMARK(BM_StartPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], ChildOption) == 0)
        return StartWindow(argc, argv, argv[2]);
#ifndef _WIN32
    if (argc > 2 && std::strcmp(argv[1], bench::PeakOption) == 0)
        return bench::PrintPeakOfChild(argv + 2);
#endif
    bench::DataDir(RunCount); // generated once, outside the measurements
    bench::DataDir(10);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
