// kelvara-screenshots: saves pictures of the main window in several states, rendered on the
// offscreen platform, for looking at the layout without a display.
//   kelvara-screenshots [DATA_DIR [OUT_DIR]]   (defaults: the bundled sample, ./screenshots)

#include "app/AboutBox.h"
#include "app/Controls.h"
#include "app/FixedScreen.h"
#include "app/MsgBox.h"
#include "app/MainWindow.h"
#include "data/Cp1251.h"
#include "data/RunData.h"
#include "filter/ui/FilterDialog.h"
#include "progress/ui/ProgressWindow.h"
#include "stats/ui/JustifiedLabel.h"
#include "table/ui/RunsGrid.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#ifndef KELVARA_SOURCE_DIR
#define KELVARA_SOURCE_DIR "."
#endif

namespace {

QString g_out;
int g_failures = 0;

void Save(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void WriteSettings(const QString& path, bool maximised) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream(&file) << "[Visparam]\r\nMaxWin=" << (maximised ? 1 : 0) << "\r\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    // A 1280 x 1024 screen at 96 dpi, whatever the machine has.
    QTemporaryDir work;
    kel::UseFixedOffscreenScreen(work.path());
    QApplication app(argc, argv);

    const QString dataDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KELVARA_SOURCE_DIR "/sample");
    g_out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::current().filePath(QStringLiteral("screenshots"));
    QDir().mkpath(g_out);
    kel::SetMsgBoxHandler([](const kel::MsgBoxCall& call) {
        std::printf("message [%s] %s\n", qPrintable(call.Caption), qPrintable(call.Text));
        return false;
    });
    kel::MainWindow::trayAvailableOverride = 0;

    const QString ini = work.filePath(QStringLiteral("Kelvara.ini"));
    {
        WriteSettings(ini, false);
        kel::MainWindow form(ini, dataDir);
        if (!form.isLoaded())
            return 1;
        form.show();
        // The first stage that has finished runs.
        for (int row = 0; row < form.stageList->count() && form.stageRuns.value->text() == QLatin1String("0"); ++row)
            form.stageList->setCurrentRow(row);
        Save(form, QStringLiteral("01-start"));

        // The progress window on the stage with the most runs, by car and by class, and in the
        // all-stages mode.
        {
            const int start = form.stageList->currentRow();
            int busiest = start;
            int most = -1;
            for (int row = 0; row < form.stageList->count(); ++row) {
                form.stageList->setCurrentRow(row);
                if (form.runsGrid->rowCount() > most) {
                    most = form.runsGrid->rowCount();
                    busiest = row;
                }
            }
            form.stageList->setCurrentRow(busiest);
            form.openProgress();
            kel::ProgressWindow& progress = *form.progressWindow();
            Save(progress, QStringLiteral("10-progress"));
            progress.groupingBox->setCurrentIndex(1);
            Save(progress, QStringLiteral("11-progress-by-class"));
            progress.groupingBox->setCurrentIndex(0);
            form.onDisplayBoxPressed(form.allStagesBox, false);
            Save(progress, QStringLiteral("12-progress-all-stages"));
            form.onDisplayBoxPressed(form.allStagesBox, false);
            progress.close();
            form.stageList->setCurrentRow(start);
        }

        {
            kel::FilterDialog filter(form.state(), &form);
            filter.show();
            Save(filter, QStringLiteral("13-filter"));
        }

        form.runsGrid->setCurrentRow(3);
        form.onDisplayBoxPressed(form.bySectorsBox, false);
        form.onDisplayBoxPressed(form.relativeBox, false);
        form.onDisplayBoxPressed(form.runNumberModeBox, false);
        Save(form, QStringLiteral("02-sectors-relative"));
        form.onDisplayBoxPressed(form.bySectorsBox, false);
        form.onDisplayBoxPressed(form.relativeBox, false);
        form.onDisplayBoxPressed(form.runNumberModeBox, false);
        form.onDisplayBoxPressed(form.runNumberModeBox, false);

        form.onDisplayBoxPressed(form.allStagesBox, false);
        form.runsGrid->setCurrentRow(7);
        Save(form, QStringLiteral("03-all-stages"));
        form.onDisplayBoxPressed(form.allStagesBox, false);

        form.onPanelDoubleClicked(form.stagePanel);
        Save(form, QStringLiteral("04-stage-panel-collapsed"));
        form.onPanelDoubleClicked(form.stagePanel);

        const QRect outer = form.frameGeometry();
        const int wl = form.stageList->width();
        const int wt = form.stagePanel->width();
        form.onWindowDoubleClicked(QPoint(outer.x() + wl + wt + 9, outer.y() + 100));
        Save(form, QStringLiteral("05-panels-hidden"));
        form.onWindowDoubleClicked(QPoint(outer.x() + wl + 4, outer.y() + 100));

        std::array<int, kel::RunsGrid::Sections> all{};
        for (int i = 0; i < kel::RunsGrid::Sections; ++i)
            all[static_cast<std::size_t>(i)] = kel::RunsGrid::DesignWidths[static_cast<std::size_t>(i)];
        form.runsGrid->setSectionWidths(all);
        for (int i = 0; i < kel::RunsGrid::Sections; ++i)
            form.runsGrid->fitColumnToText(i);
        form.setFilterDialogRunner([](kel::ProgramState& v, QWidget*) {
            if (!v.Data.CarList.empty())
                v.Data.CarList.front().FiltOn = true;
        });
        form.onFilterButtonClicked();
        Save(form, QStringLiteral("06-all-columns-filter-on"));

        form.showMaximized();
        QApplication::processEvents();
        Save(form, QStringLiteral("07-maximised"));
    }
    {
        kel::AboutBox box(kel::ProgramVersionInfo(),
                           QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy")));
        box.show();
        Save(box, QStringLiteral("08-about"));
    }
    {
        // A log with no run: the notice, then empty panels and table.
        QFile::copy(QDir(dataDir).filePath(QStringLiteral("trinfo.bin")), work.filePath(QStringLiteral("trinfo.bin")));
        QFile log(work.filePath(QStringLiteral("zlttimes.log")));
        if (log.open(QIODevice::WriteOnly))
            log.write("ZLTTimes\r\n\r\n");
        log.close();
        WriteSettings(ini, false);
        kel::MainWindow form(ini, work.path());
        if (form.isLoaded()) {
            form.show();
            Save(form, QStringLiteral("09-empty-log"));
        }
    }
    return g_failures == 0 ? 0 : 1;
}
