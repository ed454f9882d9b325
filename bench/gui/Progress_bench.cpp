// The progress window on a stage with 20000 runs: opening it (to the first painted chart), and
// refreshing it after a stage change, against the same stage change without it. Offscreen.

#include "app/FixedScreen.h"
#include "app/MainWindow.h"
#include "gui/MsgBox.h"
#include "bench/BenchData.h"
#include "data/DateTime.h"
#include "data/StageFile.h"
#include "progress/ui/ProgressChart.h"
#include "progress/ui/ProgressWindow.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace kel;

namespace {

// Two stages of the generated stage file: 20000 runs on the first, 10000 on the second.
struct Stages {
    std::string First, Second;
};

Stages WriteData(const QString& dir) {
    const std::filesystem::path source = bench::DataDir(1000) / "trinfo.bin";
    QFile::copy(QString::fromStdU16String(source.u16string()), dir + QStringLiteral("/trinfo.bin"));
    StageFile file;
    file.FillStageList(source.string());
    std::vector<int> numbers;
    Stages names;
    for (int k = 0; k < file.RecordCount() && numbers.size() < 2; ++k)
        if (!file.Record(k).StageName.empty()) {
            numbers.push_back(file.Record(k).StageNo);
            (numbers.size() == 1 ? names.First : names.Second) = file.Record(k).StageName;
        }
    static const char* const cars[] = {"Arvel GT", "Borsk 4x4", "Celt R2", "Dunmore S", "Esk Turbo", "Farrow RS",
                                       "Gallan 16V", "Hurst RX", "Ivrel Coupe", "Jorvik R5", "Kestrel T", "Lunda S"};
    std::string log = "Bench log\r\nDate\tStage\tWet\tAge\tWeather\tTyres\tDamage\tCar\tClass\tProfile\r\n";
    unsigned seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 30000; ++i) {
        const int stage = i % 3 == 2 ? numbers[1] : numbers[0];
        const std::string date = FormatLogDateTime(42000 + i * 0.12); // from 2014, about 3 hours apart
        char line[256];
        const double finish = 300 - i * 0.001 + (next() % 6000) / 100.0;
        std::snprintf(line, sizeof line,
                      "%s\t%d\t0\t0\t0\t0\t0\t%s\tClass%u\tPilot%u\r\n \t%.3f\t%.3f\t%.3f\r\n", date.c_str(),
                      stage, cars[next() % 12], next() % 4,
                      next() % 3, finish / 3, finish * 2 / 3, finish);
        log += line;
    }
    QFile out(dir + QStringLiteral("/zlttimes.log"));
    if (out.open(QIODevice::WriteOnly))
        out.write(log.data(), static_cast<qint64>(log.size()));
    return names;
}

struct Session {
    QTemporaryDir Dir;
    std::unique_ptr<MainWindow> Form;
    int FirstRow = 0, SecondRow = 0;

    Session() {
        const Stages stages = WriteData(Dir.path());
        QFile ini(Dir.filePath(QStringLiteral("Kelvara.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Visparam]\r\nMaxWin=0\r\n");
        ini.close();
        Form = std::make_unique<MainWindow>(ini.fileName(), Dir.path());
        Form->show();
        const auto& list = Form->state().StageList;
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (list[k] == stages.First)
                FirstRow = static_cast<int>(k);
            if (list[k] == stages.Second)
                SecondRow = static_cast<int>(k);
        }
        Form->stageList->setCurrentRow(FirstRow);
        QApplication::processEvents();
    }
};

class PaintSpy : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

void BM_OpenProgress20000(benchmark::State& state) {
    Session s;
    for (auto _ : state) {
        auto window = std::make_unique<ProgressWindow>(s.Form->state(), s.Form.get());
        PaintSpy spy;
        window->chartView->viewport()->installEventFilter(&spy);
        window->show();
        while (!spy.Painted)
            QApplication::processEvents();
        state.PauseTiming();
        state.counters["points"] = static_cast<double>(window->figures().Points.size());
        window->chartView->viewport()->removeEventFilter(&spy);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProgress20000)->Unit(benchmark::kMillisecond)->Iterations(5);

// range(0): 1 with the progress window open (its refresh and repaint included), 0 without.
void BM_StageChange(benchmark::State& state) {
    Session s;
    if (state.range(0) == 1)
        s.Form->openProgress();
    QApplication::processEvents();
    bool first = false;
    for (auto _ : state) {
        s.Form->stageList->setCurrentRow(first ? s.FirstRow : s.SecondRow);
        first = !first;
        if (ProgressWindow* w = s.Form->progressWindow())
            w->chartView->viewport()->repaint();
    }
    state.counters["runs"] = s.Form->state().Sel.SelCount;
}
BENCHMARK(BM_StageChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir screenDir;
    UseFixedOffscreenScreen(screenDir.path());
    QApplication app(argc, argv);
    SetMsgBoxHandler([](const MsgBoxCall&) { return false; });
    MainWindow::trayAvailableOverride = 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
