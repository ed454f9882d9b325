// kelvara-screenshots: saves pictures of the main window in several states, rendered on the
// offscreen platform, for looking at the layout without a display.
//   kelvara-screenshots [--scale F] [--lang en] [DATA_DIR [OUT_DIR]]   (defaults: the bundled sample, ./screenshots)
// With --lang en the window speaks English and the pictures go to OUT_DIR/en.
// With --scale the screen is 1600 x 1000 pixels and Qt's scale factor is F; the pictures go to
// OUT_DIR/scale-F, with pictures of the whole screen showing where each window opens.

#include "app/AboutBox.h"
#include "app/Controls.h"
#include "app/FixedScreen.h"
#include "gui/MsgBox.h"
#include "gui/Translation.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "data/Cp1251.h"
#include "data/LoadError.h"
#include "data/RunData.h"
#include "data/StageFile.h"
#include "session/Startup.h"
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
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QScreen>
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

// The whole screen, with the windows drawn where they stand and outlined, so that a window out of
// reach or larger than the screen shows.
void SaveDesktop(std::initializer_list<QWidget*> windows, const QString& name) {
    QApplication::processEvents();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    const QRect area = screen->geometry();
    QPixmap desktop(area.size() * ratio);
    desktop.setDevicePixelRatio(ratio);
    desktop.fill(QColor(40, 60, 90));
    QPainter painter(&desktop);
    for (QWidget* w : windows) {
        const QRect frame = w->frameGeometry();
        painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
        painter.setPen(QPen(Qt::red, 2));
        painter.drawRect(frame.translated(-area.topLeft()).adjusted(0, 0, -1, -1));
        std::printf("%s: %d,%d %dx%d on a screen of %dx%d%s\n", qPrintable(w->objectName()), frame.x(), frame.y(),
                    frame.width(), frame.height(), area.width(), area.height(),
                    w->isMaximized() ? " (maximised)" : "");
    }
    painter.end();
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!desktop.save(path)) {
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

// The top of the runs table: the header and a few rows.
void SaveTableTop(kel::RunsGrid& grid, const QString& name) {
    QApplication::processEvents();
    const int height = grid.columnHeader()->height() + 6 * (kel::RunsGrid::RowHeight + 1) + 2;
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!grid.grab(QRect(0, 0, grid.width(), height)).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// A message as the program's message box shows it.
void SaveMessage(const kel::Message& message, const QString& name) {
    QMessageBox box(message.Icon == kel::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromStdString(message.Caption), QString::fromStdString(message.Text), QMessageBox::Ok);
    box.show();
    Save(box, name);
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    QString scale;
    kel::Language language = kel::Language::Russian;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--scale" && i + 1 < argc)
            scale = QString::fromLocal8Bit(argv[++i]);
        else if (QByteArray(argv[i]) == "--lang" && i + 1 < argc)
            language = QByteArray(argv[++i]) == "en" ? kel::Language::English : kel::Language::Russian;
        else
            args << QString::fromLocal8Bit(argv[i]);
    }
    // A 1280 x 1024 screen at 96 dpi, whatever the machine has; 1600 x 1000 for a scale factor.
    QTemporaryDir work;
    if (scale.isEmpty()) {
        kel::UseFixedOffscreenScreen(work.path());
    } else {
        kel::UseFixedOffscreenScreen(work.path(), 1600, 1000);
        qputenv("QT_SCALE_FACTOR", scale.toLatin1());
    }
    QApplication app(argc, argv);
    kel::InstallLanguage(language);

    const QString dataDir = args.size() > 0 ? args[0] : QStringLiteral(KELVARA_SOURCE_DIR "/sample");
    g_out = args.size() > 1 ? args[1] : QDir::current().filePath(QStringLiteral("screenshots"));
    if (!scale.isEmpty())
        g_out = QDir(g_out).filePath(QStringLiteral("scale-") + scale);
    if (language == kel::Language::English)
        g_out = QDir(g_out).filePath(QStringLiteral("en"));
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
        form.showAsSaved();
        // The first stage that has finished runs.
        for (int row = 0; row < form.stageList->count() && form.stageRuns.value->text() == QLatin1String("0"); ++row)
            form.stageList->setCurrentRow(row);
        Save(form, QStringLiteral("01-start"));
        SaveDesktop({&form}, QStringLiteral("00-screen-start"));
        if (!form.panelScroll->isHidden()) { // a screen too short for the panel column
            form.panelScroll->setValue(form.panelScroll->maximum());
            Save(form, QStringLiteral("01-start-panels-scrolled"));
            form.panelScroll->setValue(0);
        }
        {
            kel::FilterDialog filter(form.state(), &form);
            filter.show();
            Save(filter, QStringLiteral("13-filter"));
            if (auto* pages = filter.findChild<QListWidget*>(); pages && pages->count() > 1) {
                pages->setCurrentRow(1);
                Save(filter, QStringLiteral("13-filter-cars"));
                pages->setCurrentRow(0);
            }
            if (auto* last = filter.findChild<QRadioButton*>(QStringLiteral("RB2"))) {
                last->click();
                if (auto* number = filter.findChild<QLineEdit*>(QStringLiteral("Edit1"))) {
                    number->setText(QStringLiteral("3")); // as if typed: the unit and the moments appear
                    emit number->textEdited(number->text());
                }
                Save(filter, QStringLiteral("13-filter-last-period"));
            }
            if (auto* between = filter.findChild<QRadioButton*>(QStringLiteral("RB3"))) {
                between->click();
                Save(filter, QStringLiteral("13-filter-between"));
            }
            SaveDesktop({&form, &filter}, QStringLiteral("00-screen-filter"));
            filter.reject();
        }

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
            SaveDesktop({&form, &progress}, QStringLiteral("00-screen-progress"));
            progress.groupingBox->setCurrentIndex(1);
            Save(progress, QStringLiteral("11-progress-by-class"));
            progress.groupingBox->setCurrentIndex(0);
            form.onDisplayBoxPressed(form.allStagesBox, false);
            Save(progress, QStringLiteral("12-progress-all-stages"));
            form.onDisplayBoxPressed(form.allStagesBox, false);
            progress.close();
            form.stageList->setCurrentRow(start);
        }

        // The column menu, opened over the table.
        if (QMenu* menu = form.runsGrid->columnMenu()) {
            menu->popup(form.runsGrid->mapToGlobal(QPoint(40, 40)));
            Save(*menu, QStringLiteral("19-column-menu"));
            menu->hide();
        }

        // The header in each run-number mode (unchecked, grayed, checked), then by sectors.
        SaveTableTop(*form.runsGrid, QStringLiteral("13-header-numbers-unchecked"));
        form.onDisplayBoxPressed(form.runNumberModeBox, false);
        SaveTableTop(*form.runsGrid, QStringLiteral("14-header-numbers-grayed"));
        form.onDisplayBoxPressed(form.runNumberModeBox, false);
        SaveTableTop(*form.runsGrid, QStringLiteral("15-header-numbers-checked"));
        form.onDisplayBoxPressed(form.runNumberModeBox, false);
        form.onDisplayBoxPressed(form.bySectorsBox, false);
        SaveTableTop(*form.runsGrid, QStringLiteral("16-header-sectors"));
        form.onDisplayBoxPressed(form.bySectorsBox, false);

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
        // The stage column that the all-stages mode shows, at the table's right end.
        form.runsGrid->horizontalScrollBar()->setValue(form.runsGrid->horizontalScrollBar()->maximum());
        SaveTableTop(*form.runsGrid, QStringLiteral("17-all-stages-stage-column"));
        form.runsGrid->horizontalScrollBar()->setValue(0);
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
        form.runsGrid->horizontalScrollBar()->setValue(form.runsGrid->horizontalScrollBar()->maximum());
        SaveTableTop(*form.runsGrid, QStringLiteral("18-stage-and-date-columns"));
        form.runsGrid->horizontalScrollBar()->setValue(0);

        form.showMaximized();
        QApplication::processEvents();
        Save(form, QStringLiteral("07-maximised"));
    }
    {
        // The greeting of a first start.
        const std::unique_ptr<QMessageBox> box = kel::MakeFirstStartBox(true);
        box->show();
        Save(*box, QStringLiteral("14-first-start"));
    }
    {
        // Saved maximised: it opens maximised at any scale.
        WriteSettings(ini, true);
        kel::MainWindow form(ini, dataDir);
        if (form.isLoaded()) {
            form.showAsSaved();
            Save(form, QStringLiteral("07-saved-maximised"));
            SaveDesktop({&form}, QStringLiteral("00-screen-saved-maximised"));
        }
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
        std::vector<kel::Message> notices;
        kel::SetMsgBoxHandler([&](const kel::MsgBoxCall& call) {
            notices.push_back({call.Text.toStdString(), call.Caption.toStdString(), call.Icon});
            return false;
        });
        kel::MainWindow form(ini, work.path());
        kel::SetMsgBoxHandler({});
        if (form.isLoaded()) {
            form.show();
            Save(form, QStringLiteral("09-empty-log"));
        }
        for (std::size_t i = 0; i < notices.size(); ++i)
            SaveMessage(notices[i], QStringLiteral("20-notice-%1").arg(i + 1));
        // A stage file of the wrong size, and a folder without the files.
        const kel::Language language = kel::WindowLanguage();
        try {
            kel::StageFile().FillStageListData(std::string(549, '\0'), language);
        } catch (const kel::LoadError& error) {
            SaveMessage(kel::LoadFailureMessage(error, language), QStringLiteral("21-load-failure"));
        }
        QTemporaryDir empty;
        if (const auto missing = kel::CheckDataFolder(empty.path().toStdString(), language))
            SaveMessage(*missing, QStringLiteral("22-missing-file"));
    }
    {
        // Two runs arrive while the window is open: the note, the framed rows and the ring on
        // the progress chart.
        QTemporaryDir live;
        for (const char* name : {"trinfo.bin", "zlttimes.log"})
            QFile::copy(QDir(dataDir).filePath(QLatin1String(name)), live.filePath(QLatin1String(name)));
        QFile::setPermissions(live.filePath(QStringLiteral("zlttimes.log")),
                              QFile::ReadOwner | QFile::WriteOwner);
        WriteSettings(ini, false);
        kel::MainWindow form(ini, live.path());
        if (form.isLoaded()) {
            form.show();
            for (int row = 0; row < form.stageList->count() && form.runsGrid->rowCount() < 20; ++row)
                form.stageList->setCurrentRow(row);
            const kel::ProgramState& v = form.state();
            double best = 0;
            for (int32_t i = 1; i <= v.Data.RunCount; ++i) {
                const kel::RunRecord& r = v.Data.Runs[static_cast<std::size_t>(i)];
                if (r.StageNo == v.Sel.CurrentStage && r.Finished && r.Finish > 0 && (best == 0 || r.Finish < best))
                    best = r.Finish;
            }
            QFile log(live.filePath(QStringLiteral("zlttimes.log")));
            if (log.open(QIODevice::Append)) {
                for (const double finish : {best + 7.3, best - 1.2})
                    log.write(QStringLiteral("2026-12-20 21:%1:00\t%2\t0\t1\t0\t3\t3\tFerrow R4\tTurbo Pro\tVitek_77\r\n"
                                             " \t%3\t%4\t%5\r\n")
                                  .arg(finish < best ? 40 : 20)
                                  .arg(v.Sel.CurrentStage)
                                  .arg(finish * 0.3, 0, 'f', 3)
                                  .arg(finish * 0.65, 0, 'f', 3)
                                  .arg(finish, 0, 'f', 3)
                                  .toLatin1());
                log.close();
            }
            form.onLogChanged();
            form.jumpToNewestRun();
            Save(form, QStringLiteral("13-new-run-note"));
            form.showMaximized();
            QApplication::processEvents();
            Save(form, QStringLiteral("15-new-run-note-maximised"));
            form.openProgress();
            Save(*form.progressWindow(), QStringLiteral("14-progress-newest-run"));
        }
    }
    return g_failures == 0 ? 0 : 1;
}
