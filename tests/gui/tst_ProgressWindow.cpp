// The progress window: opening it, following the main window, moving the main cursor, the
// all-stages line and its settings.

#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "data/Cp1251.h"
#include "progress/ProgressTexts.h"
#include "progress/ui/BestsTableModel.h"
#include "progress/ui/ProgressChart.h"
#include "progress/ui/ProgressWindow.h"
#include "table/ui/RunsGrid.h"
#include "tests/gui/GuiTest.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>

using namespace kel;
using namespace kel::guitest;

namespace {

std::string Date(int day) { return QStringLiteral("2024-05-%1 20:00:00").arg(day, 2, 10, QLatin1Char('0')).toStdString(); }

// "Альфа": six runs of two cars (one without a time, one without a date); "Бета": two runs.
void WriteData(const Folder& f) {
    f.Stages({{1, "Альфа", 10.0f, "", ""}, {2, "Бета", 5.0f, "", ""}});
    f.Log({test::MainLine(Date(1), 1, "Карт-А"), test::TimesLine(30, 60, 100),
           test::MainLine(Date(2), 1, "Карт-Б"), test::TimesLine(28, 58, 90),
           test::MainLine(Date(3), 1, "Карт-А"), test::TimesLine(0, 0, 0),
           test::MainLine(Date(4), 1, "Карт-А"), test::TimesLine(27, 55, 95),
           test::MainLine("-", 1, "Карт-Б"), test::TimesLine(27, 55, 85),
           test::MainLine(Date(6), 2, "Карт-А"), test::TimesLine(15, 30, 45),
           test::MainLine(Date(7), 1, "Карт-Б"), test::TimesLine(29, 59, 92),
           test::MainLine(Date(8), 2, "Карт-Б"), test::TimesLine(16, 31, 44)});
}

std::unique_ptr<MainWindow> Open(const Folder& f) {
    auto form = StartProgram(f.Ini(), f.Dir.path());
    if (form) {
        form->show();
        QApplication::processEvents();
    }
    return form;
}

// The run number under the main window's cursor.
int CursorRun(MainWindow& form) {
    return form.state().Sel.Selection[static_cast<std::size_t>(form.runsGrid->currentRow())].RunNo;
}

} // namespace

class tst_ProgressWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { MainWindow::trayAvailableOverride = 0; }
    void opensWithF2AndTheButton();
    void followsStageAndFilterChanges();
    void pointsAndRowsMoveTheMainCursor();
    void allStagesShowsOnlyTheLine();
    void settingsRoundTrip();
};

void tst_ProgressWindow::opensWithF2AndTheButton() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(!form->progressWindow());
    QVERIFY(form->displayPanel->rect().contains(form->progressButton->geometry()));
    QCOMPARE(form->progressButton->text(), QStringLiteral("Прогресс ..."));

    QTest::keyClick(form->runsGrid, Qt::Key_F2);
    ProgressWindow* progress = form->progressWindow();
    QVERIFY(progress && progress->isVisible());
    QVERIFY(progress->isWindow());
    QCOMPARE(progress->windowTitle(), QStringLiteral("Прогресс — Альфа"));
    progress->close();
    QVERIFY(!progress->isVisible());
    QTest::mouseClick(form->progressButton, Qt::LeftButton);
    QCOMPARE(form->progressWindow(), progress); // one instance
    QVERIFY(progress->isVisible());
    // Runs without a time or a date are counted, not drawn.
    QCOMPARE(progress->noteLabel->text(), QStringLiteral("без времени: 1; без даты (нет на графике): 1"));
    QCOMPARE(progress->figures().Points.size(), 4u);
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_ProgressWindow::followsStageAndFilterChanges() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f);
    form->openProgress();
    ProgressWindow* progress = form->progressWindow();
    QCOMPARE(progress->bestsModel()->rowCount(), 2);

    form->stageList->setCurrentRow(1);
    QCOMPARE(progress->windowTitle(), QStringLiteral("Прогресс — Бета"));
    QCOMPARE(progress->figures().Points.size(), 2u);
    QCOMPARE(progress->bestsModel()->data(progress->bestsModel()->index(0, BestsBest), Qt::DisplayRole).toString(),
             QStringLiteral("0:44.00"));

    form->stageList->setCurrentRow(0);
    form->setFilterDialogRunner([](ProgramState& v, QWidget*) {
        for (NameEntry& e : v.Data.CarList)
            e.FiltOn = e.Name == Utf8ToCp1251("Карт-Б");
    });
    form->onFilterButtonClicked();
    QCOMPARE(progress->bestsModel()->rowCount(), 1);
    QCOMPARE(progress->bestsModel()->data(progress->bestsModel()->index(0, BestsName), Qt::DisplayRole).toString(),
             QStringLiteral("Карт-А"));
    QCOMPARE(progress->figures().Points.size(), 2u);

    progress->groupingBox->setCurrentIndex(2);
    QCOMPARE(progress->bestsModel()->headerData(BestsName, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Профиль"));
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_ProgressWindow::pointsAndRowsMoveTheMainCursor() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f);
    form->onHeaderSectionClicked(5); // the table by finish: rows no longer in log order
    form->openProgress();
    ProgressWindow* progress = form->progressWindow();
    ProgressChartView* chart = progress->chartView;
    QApplication::processEvents();

    // The second charted run: run 2 (90 s).
    const QPoint at = chart->pointPosition(1);
    QCOMPARE(chart->pointAt(at), 1);
    // Its tip stays while the pointer rests on the point (a system tip went after a second)
    // and goes when the pointer leaves it.
    const auto hover = [chart](const QPoint& pos) {
        QMouseEvent move(QEvent::MouseMove, pos, chart->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &move);
    };
    hover(at);
    QVERIFY(chart->tipShown());
    QVERIFY(chart->tipText().contains(QStringLiteral("Карт-Б")));
    QTest::qWait(1500);
    hover(at + QPoint(1, 0));
    QVERIFY(chart->tipShown());
    hover(QPoint(1, 1));
    QVERIFY(!chart->tipShown());
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(CursorRun(*form), 2);
    QVERIFY(!chart->isZoomed());

    // A drag zooms, a right click resets.
    QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, at - QPoint(60, 60));
    QTest::mouseMove(chart->viewport(), at + QPoint(60, 60));
    QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, at + QPoint(60, 60));
    QVERIFY(chart->isZoomed());
    QTest::mouseClick(chart->viewport(), Qt::RightButton, {}, at);
    QVERIFY(!chart->isZoomed());

    // The first row is the stage's best: run 5 (85 s, no date), in the table though not on the chart.
    QTableView* table = progress->bestsTable;
    const QRect row = table->visualRect(progress->bestsModel()->index(0, BestsName));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center()); // a double click starts with a click
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(CursorRun(*form), 5);
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_ProgressWindow::allStagesShowsOnlyTheLine() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = Open(f);
    form->openProgress();
    ProgressWindow* progress = form->progressWindow();
    form->onDisplayBoxPressed(form->allStagesBox, false);
    QCOMPARE(progress->pages->currentWidget(), static_cast<QWidget*>(progress->allStagesLabel));
    QCOMPARE(progress->allStagesLabel->text(),
             QStringLiteral("Выберите одну трассу: времена разных трасс несравнимы"));
    QVERIFY(!progress->exportButton->isEnabled());
    form->onDisplayBoxPressed(form->allStagesBox, false);
    QCOMPARE(progress->pages->currentWidget(), static_cast<QWidget*>(progress->splitter));
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_ProgressWindow::settingsRoundTrip() {
    Folder f;
    WriteData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    QList<int> sizes;
    {
        auto form = Open(f);
        form->openProgress();
        ProgressWindow* progress = form->progressWindow();
        progress->setGeometry(100, 120, 700, 500);
        progress->groupingBox->setCurrentIndex(1);
        progress->splitter->setSizes({300, 150});
        QApplication::processEvents();
        sizes = progress->splitter->sizes();
        form->close();
    }
    QVERIFY(ReadBytes(f.Ini()).contains("[Progress]"));
    auto form = Open(f);
    form->openProgress();
    ProgressWindow* progress = form->progressWindow();
    QApplication::processEvents();
    QCOMPARE(progress->geometry(), QRect(100, 120, 700, 500));
    QCOMPARE(progress->groupingBox->currentIndex(), 1);
    QCOMPARE(progress->splitter->sizes(), sizes);
    QCOMPARE(progress->bestsModel()->headerData(BestsName, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Класс"));
    QCOMPARE(messages.Calls.size(), 0);
    form.reset();

    // Saved on a monitor since removed, or larger than the screen: on this screen, within it.
    const QRect screen(0, 0, 1280, 1024);
    const struct {
        const char* Bounds;
        int Height;
    } cases[] = {{"X=100000\r\nY=5\r\nWidth=700\r\nHeight=500", 500}, {"X=50\r\nY=60\r\nWidth=3000\r\nHeight=900", 900}};
    for (const auto& c : cases) {
        f.Settings(std::string("MaxWin=0\r\n[Progress]\r\n") + c.Bounds + "\r\n");
        form = Open(f);
        form->openProgress();
        QApplication::processEvents();
        QVERIFY(screen.contains(form->progressWindow()->frameGeometry()));
        QCOMPARE(form->progressWindow()->height(), c.Height);
    }
}

KELVARA_GUI_TEST_MAIN(tst_ProgressWindow)
#include "tst_ProgressWindow.moc"
