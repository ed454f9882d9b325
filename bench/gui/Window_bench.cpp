// The main window on a generated 100000-run log: start-up to the first painted window, a header
// click in the all-stages mode, a wheel notch in the relative mode. Offscreen platform.

#include "app/FixedScreen.h"
#include "gui/MsgBox.h"
#include "app/MainWindow.h"
#include "gui/Translation.h"
#include "bench/BenchData.h"
#include "table/ui/RunsGrid.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <memory>

using namespace kel;

namespace {

constexpr int RunCount = 100000;

QString DataDir() { return QString::fromStdU16String(bench::DataDir(RunCount).u16string()); }

// Notes the first paint of the runs table: by then every other control has been painted too.
class PaintSpy : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

struct Window {
    QTemporaryDir Dir;
    std::unique_ptr<MainWindow> Form;

    explicit Window(const char* settings = "") {
        QFile ini(Dir.filePath(QStringLiteral("Kelvara.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QByteArray("[Visparam]\r\nMaxWin=0\r\n") + settings);
        ini.close();
        Form = std::make_unique<MainWindow>(ini.fileName(), DataDir());
        Form->show();
        QApplication::processEvents();
    }
};

// The stage list row whose stage has the most finished runs.
int BusiestStage(MainWindow& form) {
    int best = 0;
    int bestRuns = -1;
    for (int row = 0; row < form.stageList->count(); ++row) {
        form.stageList->setCurrentRow(row);
        if (form.runsGrid->rowCount() > bestRuns) {
            bestRuns = form.runsGrid->rowCount();
            best = row;
        }
    }
    return best;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kelvara.ini"));
    const QString data = DataDir();
    for (auto _ : state) {
        QFile file(ini);
        if (file.open(QIODevice::WriteOnly))
            file.write("[Visparam]\r\nMaxWin=0\r\n");
        file.close();
        InstallLanguage(state.range(0) == 1 ? Language::English : Language::Russian);
        auto form = std::make_unique<MainWindow>(ini, data);
        PaintSpy spy;
        form->runsGrid->viewport()->installEventFilter(&spy);
        form->show();
        while (!spy.Painted)
            QApplication::processEvents();
        state.PauseTiming();
        state.counters["runs"] = form->state().Data.RunCount;
        form->runsGrid->viewport()->removeEventFilter(&spy);
        form.reset();
        state.ResumeTiming();
    }
}
// Arg: the window's language (0 Russian, 1 English with its translation loaded at start-up).
BENCHMARK(BM_StartToFirstPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HeaderClickAllStages(benchmark::State& state) {
    Window w("AllTrack=1\r\nHSW2=45\r\nHSW11=80\r\n");
    MainWindow& form = *w.Form;
    const int columns[] = {5, 1, 3, 11, 0, 2};
    std::size_t i = 0;
    for (auto _ : state) {
        form.onHeaderSectionClicked(columns[i++ % std::size(columns)]);
        form.runsGrid->viewport()->repaint();
    }
    state.counters["rows"] = form.runsGrid->rowCount();
}
BENCHMARK(BM_HeaderClickAllStages)->Unit(benchmark::kMillisecond);

void BM_WheelNotchRelative(benchmark::State& state) {
    Window w;
    MainWindow& form = *w.Form;
    form.stageList->setCurrentRow(BusiestStage(form));
    form.onDisplayBoxPressed(form.relativeBox, false);
    QWidget* viewport = form.runsGrid->viewport();
    int direction = -1;
    int steps = 0;
    for (auto _ : state) {
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * direction), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
        viewport->repaint();
        if (++steps % 200 == 0)
            direction = -direction;
    }
    state.counters["rows"] = form.runsGrid->rowCount();
}
BENCHMARK(BM_WheelNotchRelative)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir screenDir;
    UseFixedOffscreenScreen(screenDir.path());
    QApplication app(argc, argv);
    SetMsgBoxHandler([](const MsgBoxCall&) { return false; });
    MainWindow::trayAvailableOverride = 0;
    bench::DataDir(RunCount); // generated once, outside the measurements
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
