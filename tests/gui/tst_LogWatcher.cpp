// The window while the game appends runs to the log: new runs show where they belong, the
// cursor stays on its run, a failing read is reported once, and "LiveLog=0" turns it all off.

#include "app/Controls.h"
#include "app/LogWatcher.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "data/Cp1251.h"
#include "progress/ui/BestsTableModel.h"
#include "progress/ui/ProgressChart.h"
#include "progress/ui/ProgressWindow.h"
#include "filter/ui/FilterDialog.h"
#include "table/ui/RunsGrid.h"
#include "table/ui/RunsTableModel.h"
#include "tests/gui/GuiTest.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QSignalSpy>

using namespace kel;
using namespace kel::guitest;

namespace {

// Long enough for the once-a-second check on a busy machine; a passing test waits far less.
constexpr int Timeout = 10000;

std::string Date(int minute) { return QStringLiteral("2024-05-01 10:%1:00").arg(minute, 2, 10, QLatin1Char('0')).toStdString(); }

// Two stages; five finished runs on the first, ordered by finish time they are runs 2, 4, 1, 5, 3.
void WriteData(const Folder& f, const std::string& settings = {}) {
    f.Stages({{1, "Альфа", 10.0f, "Первая трасса", ""}, {2, "Бета", 5.0f, "Вторая трасса", ""}});
    f.Log({test::MainLine(Date(0), 1, "Карт-А"), test::TimesLine(30, 60, 100),
           test::MainLine(Date(5), 1, "Карт-Б"), test::TimesLine(28, 58, 90),
           test::MainLine(Date(10), 1, "Карт-А"), test::TimesLine(31, 65, 110),
           test::MainLine(Date(15), 1, "Карт-Б"), test::TimesLine(29.5, 59, 95),
           test::MainLine(Date(20), 1, "Карт-А"), test::TimesLine(27, 62, 105),
           test::MainLine(Date(25), 2, "Карт-А"), test::TimesLine(15, 30, 45)});
    f.Settings("MaxWin=0\r\n" + settings + "[Sort]\r\nTypeSort=5\r\nUpOrDown=1\r\n");
}

void Append(const Folder& f, const std::string& bytes) {
    QFile file(f.Path("zlttimes.log"));
    QVERIFY(file.open(QIODevice::Append));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string Lines(const std::vector<std::string>& lines) {
    const std::string log = test::LogBytes(lines);
    return log.substr(log.find("\r\n", log.find("\r\n") + 2) + 2); // without the header
}

std::unique_ptr<MainWindow> Open(const QString& ini, const Folder& f) {
    auto form = StartProgram(ini, f.Dir.path());
    if (form) {
        form->show();
        QApplication::processEvents();
    }
    return form;
}

QString Cell(const MainWindow& form, int row, int column) { return form.runsGrid->runsModel()->cellText(row, column); }

} // namespace

class tst_LogWatcher : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void newRunsShowWhereTheyBelongAndTheCursorStaysOnItsRun();
    void theViewStaysUnlessTheCursorWouldLeaveIt();
    void newNamesReachTheFilterDialog();
    void aFailingReadIsReportedOnceAndWatchingGoesOn();
    void liveLogOffLeavesTheWindowAsItWas();
    void f3AndTheNoteJumpToTheNewestRun();
    void trayMessageOnlyWhenTheWindowIsNotActive();
    void progressWindowRingsTheNewestRun();
};

void tst_LogWatcher::newRunsShowWhereTheyBelongAndTheCursorStaysOnItsRun() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);
    QVERIFY(form->logWatcher());
    QCOMPARE(form->runsGrid->rowCount(), 5);
    form->runsGrid->setCurrentRow(3); // run 1, finish 1:40.00
    QCOMPARE(form->state().Disp.SelCur, 3);

    // A faster run on the stage shown, one on the other stage, and one still being driven.
    Append(f, Lines({test::MainLine(Date(30), 1, "Карт-А"), test::TimesLine(26, 50, 80),
                     test::MainLine(Date(35), 2, "Карт-Б"), test::TimesLine(14, 28, 40),
                     test::MainLine(Date(40), 1, "Карт-Б")}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 6, Timeout);
    QCOMPARE(form->notePanel->text(),
             QStringLiteral("Новых проездов: 2. Рекорд трассы «Бета»: 0:40.00 (-0:05.00) и ещё 1"));
    QVERIFY(form->runsGrid->newRunMarked(7));
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:20.00"));
    QCOMPARE(form->runsGrid->currentRow(), 4);
    QCOMPARE(Cell(*form, 4, 5), QStringLiteral("1:40.00")); // the cursor is still on its run
    QCOMPARE(form->runsGrid->topRow(), 1);
    QCOMPARE(form->stageList->currentRow(), 0);
    QCOMPARE(form->stageRuns.value->text(), QStringLiteral("6"));
    QCOMPARE(form->finishedRuns.value->text(), QStringLiteral("8"));

    // The next user action clears the note; the run being driven joins when its times come.
    QTest::keyClick(form->runsGrid, Qt::Key_Down);
    QCOMPARE(form->notePanel->text(), QString());
    QVERIFY(!form->runsGrid->newRunMarked(7));
    Append(f, Lines({test::TimesLine(25, 49, 79)}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 7, Timeout);
    QCOMPARE(form->notePanel->text(), QStringLiteral("Рекорд трассы «Альфа»: 1:19.00 (-0:01.00)"));
    QVERIFY(form->runsGrid->newRunMarked(9));
    QCOMPARE(Cell(*form, form->runsGrid->currentRow(), 5), QStringLiteral("1:45.00")); // run 5, reached by the key
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_LogWatcher::theViewStaysUnlessTheCursorWouldLeaveIt() {
    Folder f;
    f.Stages({{1, "Альфа", 10.0f, "", ""}});
    std::vector<std::string> lines;
    for (int i = 0; i < 80; ++i) {
        lines.push_back(test::MainLine(Date(i % 60), 1, "Карт-А"));
        lines.push_back(test::TimesLine(30, 60, 100 + i));
    }
    f.Log(lines);
    f.Settings("MaxWin=0\r\n[Sort]\r\nTypeSort=5\r\n");
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);
    const int rows = form->runsGrid->visibleRowCount();
    QVERIFY(rows > 10 && rows < 60);
    form->runsGrid->setTopRow(20);
    form->runsGrid->setCurrentRow(30);

    Append(f, Lines({test::MainLine(Date(0), 1, "Карт-А"), test::TimesLine(20, 40, 60)}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 81, Timeout);
    QCOMPARE(form->runsGrid->currentRow(), 31);
    QCOMPARE(form->runsGrid->topRow(), 20);

    // On the last row in view, the cursor's run would be pushed out: the view follows it.
    form->runsGrid->setCurrentRow(20 + rows - 1);
    Append(f, Lines({test::MainLine(Date(1), 1, "Карт-А"), test::TimesLine(20, 40, 61)}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 82, Timeout);
    QCOMPARE(form->runsGrid->currentRow(), 20 + rows);
    QCOMPARE(form->runsGrid->topRow(), 21);
}

void tst_LogWatcher::newNamesReachTheFilterDialog() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);
    Append(f, Lines({test::MainLine(Date(30), 1, "Новичок"), test::TimesLine(26, 50, 80)}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 6, Timeout);

    QStringList cars;
    form->setFilterDialogRunner([&cars](ProgramState& v, QWidget* owner) {
        FilterDialog dialog(v, owner);
        dialog.show();
        auto* pages = dialog.findChild<QListWidget*>(QStringLiteral("ListBox5"));
        pages->setCurrentRow(1);
        auto* shown = dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        for (int i = 0; i < shown->count(); ++i)
            cars << shown->item(i)->text();
    });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QCOMPARE(cars, QStringList({"Карт-А", "Карт-Б", "Новичок"}));
    QCOMPARE(form->runsGrid->rowCount(), 6);
}

void tst_LogWatcher::aFailingReadIsReportedOnceAndWatchingGoesOn() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);

    Append(f, Lines({test::MainLine("2024-13-45 10:00:00", 1, "Карт-А"), test::TimesLine(20, 40, 60)}));
    QTRY_COMPARE_WITH_TIMEOUT(messages.Calls.size(), 1, Timeout);
    QVERIFY(messages.Calls[0].Text.startsWith(QStringLiteral("У вас какая-то хренотень в файле zlttimes.log")));
    QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Ошибка"));
    QCOMPARE(form->runsGrid->rowCount(), 5);

    // Reading goes on with the next run, and the bad line is not reported again.
    Append(f, Lines({test::MainLine(Date(30), 1, "Карт-А"), test::TimesLine(26, 50, 80)}));
    QTRY_COMPARE_WITH_TIMEOUT(form->runsGrid->rowCount(), 6, Timeout);
    QCOMPARE(messages.Calls.size(), 1);
}

void tst_LogWatcher::liveLogOffLeavesTheWindowAsItWas() {
    Folder f;
    WriteData(f, "LiveLog=0\r\n");
    MessageRecorder messages;
    auto off = Open(f.Ini(), f);
    QVERIFY(off);
    QVERIFY(!off->logWatcher());

    // A second window on the same data, following it: once it shows the new run, the first
    // one would have too.
    QTemporaryDir other;
    auto on = Open(other.filePath(QStringLiteral("Kelvara.ini")), f);
    QVERIFY(on);
    Append(f, Lines({test::MainLine(Date(30), 1, "Карт-А"), test::TimesLine(26, 50, 80)}));
    QTRY_COMPARE_WITH_TIMEOUT(on->runsGrid->rowCount(), 6, Timeout);
    QCOMPARE(off->runsGrid->rowCount(), 5);
    QCOMPARE(off->notePanel->text(), QString());

    // The key is written back at close like the others.
    off->close();
    off.reset();
    QVERIFY(ReadBytes(f.Ini()).contains("LiveLog=0"));
}

void tst_LogWatcher::f3AndTheNoteJumpToTheNewestRun() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);
    form->stageList->setCurrentRow(1); // "Бета"

    // A run on the other stage: F3 chooses its stage and puts the cursor on it.
    Append(f, Lines({test::MainLine(Date(30), 1, "Карт-Б"), test::TimesLine(26, 50, 97)}));
    form->onLogChanged();
    QCOMPARE(form->notePanel->text(), QStringLiteral("«Альфа»: 1:37.00, 3-е место из 6 (+0:07.00)"));
    QTest::keyClick(form->runsGrid, Qt::Key_F3);
    QCOMPARE(form->stageList->currentRow(), 0);
    QCOMPARE(Cell(*form, form->runsGrid->currentRow(), 5), QStringLiteral("1:37.00"));

    // In the all-stages mode, which shows it, a click on the note moves the cursor only.
    QTest::mouseClick(form->allStagesBox, Qt::LeftButton, {}, QPoint(5, 8));
    Append(f, Lines({test::MainLine(Date(40), 2, "Карт-Б"), test::TimesLine(10, 20, 44)}));
    form->onLogChanged();
    QCOMPARE(form->notePanel->text(), QStringLiteral("Рекорд трассы «Бета»: 0:44.00 (-0:01.00)"));
    QTest::mouseClick(form->notePanel, Qt::LeftButton);
    QVERIFY(form->allStagesBox->isChecked());
    QCOMPARE(form->state().Sel.Selection.at(form->runsGrid->currentRow()).RunNo, 8);

    // Hidden by the filter: the note says so.
    form->setFilterDialogRunner([](ProgramState& v, QWidget*) {
        for (NameEntry& car : v.Data.CarList)
            car.FiltOn = car.Name == Utf8ToCp1251("Карт-Б");
    });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QTest::keyClick(form->runsGrid, Qt::Key_F3);
    QCOMPARE(form->notePanel->text(), QStringLiteral("Новый проезд скрыт фильтром"));
}

void tst_LogWatcher::trayMessageOnlyWhenTheWindowIsNotActive() {
    MainWindow::trayAvailableOverride = 1;
    for (const bool off : {false, true}) {
        Folder f;
        WriteData(f, off ? "NewRunMessages=0\r\n" : "");
        MessageRecorder messages;
        auto form = Open(f.Ini(), f);
        QVERIFY(form);
        QSignalSpy shown(form.get(), &MainWindow::newRunMessage);
        QWidget other;
        for (QWidget* active : {static_cast<QWidget*>(form.get()), &other}) {
            active->show();
            active->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(active));
            Append(f, Lines({test::MainLine(Date(30), 1, "Карт-А"), test::TimesLine(26, 50, 80)}));
            form->onLogChanged();
        }
        QCOMPARE(shown.size(), off ? 0 : 1);
        if (!off)
            QCOMPARE(shown.at(0).at(0).toString(), QStringLiteral("«Альфа»: 1:20.00, 1-е место из 7 (+0:00.00)"));
    }
    MainWindow::trayAvailableOverride = -1;
}

void tst_LogWatcher::progressWindowRingsTheNewestRun() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f.Ini(), f);
    QVERIFY(form);
    form->openProgress();
    ProgressWindow* progress = form->progressWindow();
    Append(f, Lines({test::MainLine(Date(30), 1, "Карт-Б"), test::TimesLine(26, 50, 97)}));
    form->onLogChanged();
    QCOMPARE(progress->figures().Points.at(std::max(0, progress->chartView->markedPoint())).RunNo, 7);
    QCOMPARE(progress->bestsModel()->markedGroup(), form->state().Data.Runs[7].CarIdx);
}

KELVARA_GUI_TEST_MAIN(tst_LogWatcher)
#include "tst_LogWatcher.moc"
