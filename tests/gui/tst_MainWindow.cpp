// The main window: start-up and shutdown, the recomputing events, the panels, the window
// commands, the keys, the tray icon and the settings round trip.

#include "app/AboutBox.h"
#include "app/Controls.h"
#include "app/Program.h"
#include "app/MainWindow.h"
#include "stats/ui/JustifiedLabel.h"
#include "table/ui/RunsGrid.h"
#include "table/ui/RunsTableModel.h"
#include "tests/gui/GuiTest.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWheelEvent>

using namespace kel;
using namespace kel::guitest;

namespace {

const QString NoRunsNotice = QStringLiteral(
    "Программа не обнаружила в файле zlttimes.log ниодного проезда. Убедитесь, что файл имеет корректный формат "
    "или выйдите на старт любого спецучастка хотя бы один раз");
const QString NoFinishedNotice = QStringLiteral(
    "Программа не обнаружила ниодного успешного проезда. Финишируйте на любом спецучастке хотя бы один раз, "
    "проверьте установки фильтра или корректность данных в файле zlttimes.log");
const QString NothingPasses =
    QStringLiteral("Программа не обнаружила ниодного проезда, удовлетворяющего заданным условиям фильтра");

std::string Date(int minute) { return QStringLiteral("2024-05-01 10:%1:00").arg(minute, 2, 10, QLatin1Char('0')).toStdString(); }

// Three stages (the third without runs); five finished runs on the first, three finished and
// one unfinished on the second.
void WriteStandardData(const Folder& f) {
    f.Stages({{1, "Альфа", 10.0f, "Первая тестовая трасса для проверки окна", ""},
              {2, "Бета", 5.0f, "Вторая трасса", ""},
              {3, "Гамма", 3.0f, "Без проездов", ""}});
    f.Log({test::MainLine(Date(0), 1, "Карт-А"), test::TimesLine(30, 60, 100),
           test::MainLine(Date(5), 1, "Карт-Б"), test::TimesLine(28, 58, 90),
           test::MainLine(Date(10), 1, "Карт-А"), test::TimesLine(31, 65, 110),
           test::MainLine(Date(15), 1, "Карт-Б"), test::TimesLine(29.5, 59, 95),
           test::MainLine(Date(20), 1, "Карт-А"), test::TimesLine(27, 62, 105),
           test::MainLine(Date(25), 2, "Карт-А"), test::TimesLine(15, 30, 45),
           test::MainLine(Date(30), 2, "Карт-Б"), test::TimesLine(16, 31, 44),
           test::MainLine(Date(35), 2, "Карт-А"), test::TimesLine(14, 29, 47),
           test::MainLine(Date(40), 2, "Карт-Б")});
}

std::unique_ptr<MainWindow> Open(const Folder& f) {
    auto form = StartProgram(f.Ini(), f.Dir.path());
    if (form) {
        form->showAsSaved();
        QApplication::processEvents();
    }
    return form;
}

// Frame widths around the client area (the offscreen platform draws a thin frame).
int FrameW(const QWidget& w) { return w.frameGeometry().width() - w.width(); }
int FrameH(const QWidget& w) { return w.frameGeometry().height() - w.height(); }

QString Cell(const MainWindow& form, int row, int column) { return form.runsGrid->runsModel()->cellText(row, column); }


void ClickSection(MainWindow& form, int section) {
    QHeaderView* header = form.runsHeader;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void Wheel(MainWindow& form, int notches) {
    QWidget* viewport = form.runsGrid->viewport();
    const QPointF at(10, 10);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { MainWindow::trayAvailableOverride = -1; }

    // ---- start-up and shutdown
    void startsOnTheBundledSample();
    void missingDataFiles_data();
    void missingDataFiles();
    void failedLoad_data();
    void failedLoad();
    void noticesThenAWorkingWindow_data();
    void noticesThenAWorkingWindow();
    void onlyTheCloseCommandWritesSettings();
    void restartRestoresTheWindow();
    void unknownStageNamedOnce();
    void failedSaveNamesTheFile();
    void maximisedCloseKeepsNormalBounds();
    void maximisedStartRestoresTheSavedBounds();
    void savedBoundsOutOfReach_data();
    void savedBoundsOutOfReach();

    // ---- events
    void choosingAStageRefreshesEverything();
    void headerClicksSortAndReverse();
    void wheelNotchesMoveTwoRowsAndClamp();
    void checkBoxesChangeOncePerPress();
    void allStagesDisablesListAndRelativeBox();
    void relativeModeFollowsTheCursor();
    void filterButtonReappliesTheFilter();

    // ---- layout and window commands
    void layoutAndCaptions();
    void panelsCollapseAndSetTheMinimumHeight();
    void strayDoubleClicksChangeNothing();
    void hidingAndShowingThePanels();
    void hidingPanelsInAFullWidthWindow();
    void dockedWindowStaysInTheWorkArea();
    void sizeLimitsOnlyWhileRunning();
    void minimiseUsesTheTrayOnlyWhereThereIsOne();

    // ---- keys
    void deleteWarnsOnlyInTheTable();
    void f1OpensAboutAndGivesTheFocusBack_data();
    void f1OpensAboutAndGivesTheFocusBack();
    void aboutBoxContents();

    // readability
    void numbersAndTextsShowWhole();
    void sortIndicatorFollowsTheOrdering();
    void exportSavesTheTableAsShown();
};

// ---- start-up and shutdown ---------------------------------------------------------------

void tst_MainWindow::startsOnTheBundledSample() {
    MessageRecorder messages;
    QTemporaryDir settings;
    const QString ini = settings.filePath(QStringLiteral("Kelvara.ini"));
    auto form = StartProgram(ini, QStringLiteral(KELVARA_SOURCE_DIR "/sample"));
    QVERIFY(form);
    form->show();
    QCOMPARE(messages.Texts(), QStringList());
    QVERIFY(form->stageList->count() > 10);
    QCOMPARE(form->stageList->currentRow(), 0);
    QVERIFY(!form->totalTime.value->text().isEmpty());
    QVERIFY(form->finishedRuns.value->text().toInt() > 0);
    QVERIFY(form->cursorPanel->text().startsWith(QStringLiteral("Позиция курсора:  ")));
    // First start: maximised, settings file not yet written.
    QVERIFY(form->isMaximized());
    QVERIFY(!QFile::exists(ini));
}

void tst_MainWindow::missingDataFiles_data() {
    QTest::addColumn<bool>("log");
    QTest::addColumn<bool>("stages");
    QTest::addColumn<QString>("named");
    QTest::newRow("no log") << false << true << "zlttimes.log";
    QTest::newRow("no stage file") << true << false << "trinfo.bin";
    QTest::newRow("neither") << false << false << "zlttimes.log";
}

void tst_MainWindow::missingDataFiles() {
    QFETCH(bool, log);
    QFETCH(bool, stages);
    QFETCH(QString, named);
    Folder f;
    WriteStandardData(f);
    if (!log)
        QFile::remove(f.Path("zlttimes.log"));
    if (!stages)
        QFile::remove(f.Path("trinfo.bin"));
    MessageRecorder messages;
    QVERIFY(!StartProgram(f.Ini(), f.Dir.path()));
    QCOMPARE(messages.Calls.size(), 1);
    QCOMPARE(messages.Calls[0].Text, QStringLiteral("Ошибка чтения файла ") + named +
                                         QStringLiteral(". Убедитесь, что он существует и доступен"));
    QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Ошибка"));
    QCOMPARE(messages.Calls[0].Icon, MessageIcon::Error);
    QVERIFY(!QFile::exists(f.Ini()));
}

void tst_MainWindow::failedLoad_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("named");
    QTest::newRow("malformed date in the log") << 0 << "zlttimes.log";
    QTest::newRow("stage file cut short") << 1 << "trinfo.bin";
}

void tst_MainWindow::failedLoad() {
    QFETCH(int, fault);
    QFETCH(QString, named);
    Folder f;
    WriteStandardData(f);
    if (fault == 0) {
        f.Log({test::MainLine("2024-13-45 10:00:00", 1, "Карт-А"), test::TimesLine(1, 2, 3)});
    } else {
        QByteArray bytes = ReadBytes(f.Path("trinfo.bin"));
        bytes.chop(7);
        WriteBytes(f.Path("trinfo.bin"), bytes.toStdString());
    }
    const std::string settings = "MaxWin=0\r\nTrCur=1\r\n";
    f.Settings(settings);
    const QByteArray before = ReadBytes(f.Ini());
    {
        MessageRecorder messages;
        QVERIFY(!StartProgram(f.Ini(), f.Dir.path()));
        QCOMPARE(messages.Calls.size(), 1);
        // The message, then the reason in a paragraph of its own.
        QVERIFY(messages.Calls[0].Text.startsWith(QStringLiteral("У вас какая-то хренотень в файле ") + named +
                                                  QStringLiteral(". Проверьте, тот ли вообще файл вы подгрузили\n\n")));
        QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Ошибка"));
    }
    QCOMPARE(ReadBytes(f.Ini()), before);
}

void tst_MainWindow::noticesThenAWorkingWindow_data() {
    QTest::addColumn<bool>("anyRun");
    QTest::addColumn<QString>("notice");
    QTest::newRow("log without runs") << false << NoRunsNotice;
    QTest::newRow("no finished run") << true << NoFinishedNotice;
}

void tst_MainWindow::noticesThenAWorkingWindow() {
    QFETCH(bool, anyRun);
    QFETCH(QString, notice);
    Folder f;
    WriteStandardData(f);
    if (anyRun)
        f.Log({test::MainLine(Date(1), 1, "Карт-А"), test::MainLine(Date(2), 2, "Карт-Б")});
    else
        f.Log({});
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(form);
    QCOMPARE(messages.Texts(), QStringList{notice});
    QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Kelvara 2.2"));
    QCOMPARE(messages.Calls[0].Icon, MessageIcon::Warning);
    QCOMPARE(form->totalTime.value->text(), QStringLiteral("Суммарное время проездов равно нулю"));
    QCOMPARE(form->stageRuns.value->text(), QStringLiteral("0"));
    QCOMPARE(form->runsGrid->rowCount(), 0);
    // The window still works: another stage, then the close command saves.
    form->stageList->setCurrentRow(1);
    QCOMPARE(form->stageLength.value->text(), QStringLiteral("5.0 км"));
    form->close();
    form.reset();
    QVERIFY(ReadBytes(f.Ini()).contains("TrCur=1"));
    QCOMPARE(messages.Calls.size(), 1);
}

void tst_MainWindow::onlyTheCloseCommandWritesSettings() {
    Folder f;
    WriteStandardData(f);
    MessageRecorder messages;
    {
        auto form = Open(f);
        QVERIFY(form);
        QVERIFY(!form->inTransition());
        form->stageList->setCurrentRow(1);
    } // ended without the close command
    QVERIFY(!QFile::exists(f.Ini()));
    {
        auto form = Open(f);
        form->close();
        QVERIFY(form->inTransition());
    }
    const QByteArray written = ReadBytes(f.Ini());
    QVERIFY(written.contains("[Visparam]"));
    QVERIFY(written.contains("[Sort]"));
    QVERIFY(written.contains("HSW11="));
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_MainWindow::restartRestoresTheWindow() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\nX=20\r\nY=30\r\nWidth=900\r\nHeight=700\r\n");
    MessageRecorder messages;
    {
        auto form = Open(f);
        QVERIFY(form);
        QCOMPARE(form->frameGeometry(), QRect(20, 30, 900, 700));
        form->stageList->setCurrentRow(1);
        form->onDisplayBoxPressed(form->bySectorsBox, false);
        ClickSection(*form, 5);
        ClickSection(*form, 5); // descending
        form->runsGrid->setCurrentRow(2);
        form->onPanelDoubleClicked(form->gamePanel);
        form->runsHeader->resizeSection(1, 150);
        form->runsHeader->resizeSection(3, 0);
        form->resize(950 - FrameW(*form), 720 - FrameH(*form));
        form->close();
    }
    auto form = Open(f);
    QVERIFY(form);
    QCOMPARE(form->stageList->currentRow(), 1);
    QVERIFY(form->bySectorsBox->isChecked());
    QVERIFY(!form->relativeBox->isChecked());
    QCOMPARE(form->runNumberModeBox->checkState(), Qt::Unchecked);
    QCOMPARE(int(form->state().Disp.TypeSort), 5);
    QCOMPARE(int(form->state().Disp.UpOrDown), 0);
    QCOMPARE(form->runsGrid->currentRow(), 2);
    QCOMPARE(form->gamePanel->height(), 18);
    QCOMPARE(form->stagePanel->height(), 317);
    QCOMPARE(form->runsGrid->sectionWidth(1), 150);
    QCOMPARE(form->runsGrid->sectionWidth(3), 0);
    QCOMPARE(form->frameGeometry(), QRect(20, 30, 950, 720));
    // Descending by the third sector of the second stage: 47-29 = 18 is the largest.
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("0:18.00"));
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_MainWindow::unknownStageNamedOnce() {
    Folder f;
    WriteStandardData(f);
    f.Log({test::MainLine(Date(0), 1, "Карт-А"), test::TimesLine(30, 60, 100),
           test::MainLine(Date(5), 7, "Карт-Б"), test::TimesLine(28, 58, 90)});
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(form);
    QCOMPARE(messages.Calls.size(), 1);
    QVERIFY(messages.Calls[0].Text.contains(QStringLiteral("номером 7")));
    QTest::mouseClick(form->allStagesBox, Qt::LeftButton, {}, QPoint(5, 8));
    form->runsGrid->setCurrentRow(2);
    form->onHeaderSectionClicked(5);
    QCOMPARE(messages.Calls.size(), 1);
    QCOMPARE(form->runsGrid->rowCount(), 2);
}

void tst_MainWindow::failedSaveNamesTheFile() {
    Folder f;
    WriteStandardData(f);
    const QString ini = f.Path("no-such-folder/Kelvara.ini");
    MessageRecorder messages;
    {
        auto form = StartProgram(ini, f.Dir.path());
        QVERIFY(form);
        form->show();
        form->close();
    }
    QCOMPARE(messages.Calls.size(), 1);
    QVERIFY(messages.Calls[0].Text.contains(QStringLiteral("Kelvara.ini")));
    QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Ошибка"));
    QVERIFY(!QFile::exists(ini));
}

void tst_MainWindow::maximisedCloseKeepsNormalBounds() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\nX=30\r\nY=40\r\nWidth=900\r\nHeight=700\r\n");
    MessageRecorder messages;
    {
        auto form = Open(f);
        form->showMaximized();
        QApplication::processEvents();
        QVERIFY(form->maximisedAtClose());
        QCOMPARE(form->normalBounds(), QRect(30, 40, 900, 700));
        form->showNormal();
        QApplication::processEvents();
        QVERIFY(!form->maximisedAtClose());
        form->showMaximized();
        QApplication::processEvents();
        form->close();
    }
    const QByteArray written = ReadBytes(f.Ini());
    QVERIFY(written.contains("MaxWin=1"));
    QVERIFY(written.contains("X=30"));
    QVERIFY(written.contains("Width=900"));
    QVERIFY(written.contains("Height=700"));
    auto form = Open(f);
    QVERIFY(form->isMaximized());
    QCOMPARE(form->normalBounds(), QRect(30, 40, 900, 700));
}

// Started maximised, then restored: the saved normal bounds exactly, session after session.
void tst_MainWindow::maximisedStartRestoresTheSavedBounds() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=1\r\nX=30\r\nY=40\r\nWidth=900\r\nHeight=700\r\n");
    MessageRecorder messages;
    for (int session = 0; session < 2; ++session) {
        auto form = Open(f);
        QVERIFY(form->isMaximized());
        form->showNormal();
        QApplication::processEvents();
        QTRY_COMPARE(form->frameGeometry(), QRect(30, 40, 900, 700));
        form->showMaximized();
        QApplication::processEvents();
        form->close();
        QVERIFY(ReadBytes(f.Ini()).contains("Width=900"));
        QVERIFY(ReadBytes(f.Ini()).contains("Height=700"));
    }
}

// Bounds saved on a monitor since removed, edited by hand or larger than the screen: the window
// opens where it can be used, maximised too when it was saved so.
void tst_MainWindow::savedBoundsOutOfReach_data() {
    QTest::addColumn<QString>("bounds");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("gone monitor") << "X=100000\r\nY=10\r\nWidth=900\r\nHeight=700" << QRect(10, 10, 900, 700);
    QTest::newRow("edited") << "X=-2147483648\r\nY=2147483647\r\nWidth=900\r\nHeight=700"
                            << QRect(10, 10, 900, 700);
    QTest::newRow("too large") << "X=300\r\nY=200\r\nWidth=3000\r\nHeight=2000" << QRect(0, 0, 1280, 1024);
}

void tst_MainWindow::savedBoundsOutOfReach() {
    QFETCH(QString, bounds);
    QFETCH(QRect, expected);
    for (const bool maximised : {false, true}) {
        Folder f;
        WriteStandardData(f);
        f.Settings(QStringLiteral("MaxWin=%1\r\n").arg(maximised ? 1 : 0).toStdString() + bounds.toStdString() + "\r\n");
        MessageRecorder messages;
        auto form = Open(f);
        QVERIFY(form);
        QCOMPARE(form->isMaximized(), maximised);
        if (maximised)
            form->showNormal();
        QTRY_COMPARE(form->frameGeometry(), expected);
    }
}

// ---- events --------------------------------------------------------------------------------

void tst_MainWindow::choosingAStageRefreshesEverything() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(form->stageList->item(0)->text(), QStringLiteral("Альфа"));
    QCOMPARE(form->runsGrid->rowCount(), 5);
    QCOMPARE(form->stageRuns.value->text(), QStringLiteral("5"));
    QCOMPARE(form->bestTime.value->text(), QStringLiteral("1:30.00"));
    QCOMPARE(form->finishedRuns.value->text(), QStringLiteral("8"));
    QCOMPARE(form->descriptionLabel->text1(), std::string("Первая тестовая трасса для проверки окна"));

    QTest::mouseClick(form->stageList->viewport(), Qt::LeftButton, {},
                      form->stageList->visualItemRect(form->stageList->item(1)).center());
    QCOMPARE(form->stageList->currentRow(), 1);
    QCOMPARE(form->runsGrid->rowCount(), 3);
    QCOMPARE(form->stageLength.value->text(), QStringLiteral("5.0 км"));
    QCOMPARE(form->stageRuns.value->text(), QStringLiteral("3"));
    QCOMPARE(form->stageNumberLabel->text(), QStringLiteral("2"));
    QCOMPARE(form->bestTime.value->text(), QStringLiteral("0:44.00"));
    QCOMPARE(form->descriptionLabel->text1(), std::string("Вторая трасса"));
    QCOMPARE(form->datePanel->text(), QStringLiteral("Дата/время проезда:  01.05.2024 10:25:00"));
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("0:45.00"));
    // The game panel is not recomputed by a stage change.
    QCOMPARE(form->finishedRuns.value->text(), QStringLiteral("8"));

    form->stageList->setCurrentRow(2); // a stage without runs
    QCOMPARE(form->runsGrid->rowCount(), 0);
    QCOMPARE(form->stageRuns.value->text(), QStringLiteral("0"));
    QCOMPARE(form->bestTime.value->text(), QString());
    QCOMPARE(form->datePanel->text(), QString());
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_MainWindow::headerClicksSortAndReverse() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:40.00")); // log order
    ClickSection(*form, 5);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:30.00"));
    QCOMPARE(Cell(*form, 5, 5), QStringLiteral("1:50.00"));
    ClickSection(*form, 5);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:50.00"));
    // Another column keeps the last direction (descending).
    ClickSection(*form, 3);
    QCOMPARE(Cell(*form, 1, 3), QStringLiteral("0:31.00"));
    QCOMPARE(Cell(*form, 5, 3), QStringLiteral("0:27.00"));
    QCOMPARE(int(form->state().Disp.TypeSort), 3);
    // The best-time rows follow the order.
    QCOMPARE(form->state().Disp.BestTimeRow[1], 5);
}

void tst_MainWindow::wheelNotchesMoveTwoRowsAndClamp() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(form->runsGrid->currentRow(), 1);
    Wheel(*form, -1);
    QCOMPARE(form->runsGrid->currentRow(), 3);
    QCOMPARE(form->cursorPanel->text(), QStringLiteral("Позиция курсора:  3"));
    QCOMPARE(form->datePanel->text(), QStringLiteral("Дата/время проезда:  01.05.2024 10:10:00"));
    Wheel(*form, -1);
    Wheel(*form, -1);
    QCOMPARE(form->runsGrid->currentRow(), 5);
    QCOMPARE(form->cursorPanel->text(), QStringLiteral("Позиция курсора:  5"));
    Wheel(*form, 1);
    QCOMPARE(form->runsGrid->currentRow(), 3);
    Wheel(*form, 1);
    Wheel(*form, 1);
    QCOMPARE(form->runsGrid->currentRow(), 1);
    QCOMPARE(form->cursorPanel->text(), QStringLiteral("Позиция курсора:  1"));
}

void tst_MainWindow::checkBoxesChangeOncePerPress() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    DisplayCheckBox* sectors = form->bySectorsBox;
    DisplayCheckBox* number = form->runNumberModeBox;
    QCOMPARE(Cell(*form, 1, 4), QStringLiteral("1:00.00"));

    // A whole click (press and release) changes the box once, and the table follows.
    QTest::mouseClick(sectors, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(sectors->isChecked());
    QCOMPARE(Cell(*form, 1, 4), QStringLiteral("0:30.00"));
    QVERIFY(!sectors->hasFocus());
    // The right button works like the left one.
    QTest::mousePress(sectors, Qt::RightButton, {}, QPoint(5, 8));
    QTest::mouseRelease(sectors, Qt::RightButton, {}, QPoint(5, 8));
    QVERIFY(!sectors->isChecked());
    QCOMPARE(Cell(*form, 1, 4), QStringLiteral("1:00.00"));

    // The run-number box cycles unchecked, grayed, checked.
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(5, 8));
    QCOMPARE(number->checkState(), Qt::PartiallyChecked);
    QCOMPARE(Cell(*form, 2, 0), QStringLiteral("2 / 2"));
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(5, 8));
    QCOMPARE(number->checkState(), Qt::Checked);
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(5, 8));
    QCOMPARE(number->checkState(), Qt::Unchecked);
    QCOMPARE(Cell(*form, 2, 0), QStringLiteral("2"));

    // The space bar refreshes the table exactly like a press.
    sectors->setFocus();
    QTest::keyClick(sectors, Qt::Key_Space);
    QVERIFY(sectors->isChecked());
    QCOMPARE(Cell(*form, 1, 4), QStringLiteral("0:30.00"));
    QTest::keyClick(sectors, Qt::Key_Space);
    QVERIFY(!sectors->isChecked());
    QCOMPARE(Cell(*form, 1, 4), QStringLiteral("1:00.00"));
    QCOMPARE(messages.Calls.size(), 0);
}

void tst_MainWindow::allStagesDisablesListAndRelativeBox() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QTest::mouseClick(form->relativeBox, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(form->relativeBox->isChecked());

    QTest::mouseClick(form->allStagesBox, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(form->allStagesBox->isChecked());
    QVERIFY(!form->stageList->isEnabled());
    QVERIFY(!form->relativeBox->isEnabled());
    QVERIFY(!form->relativeBox->isChecked());
    QVERIFY(!form->state().Disp.Relative);
    QCOMPARE(form->runsGrid->rowCount(), 8);
    // The panel follows the stage of the cursor run.
    form->runsGrid->setCurrentRow(7);
    QCOMPARE(form->stageList->currentRow(), 1);
    QCOMPARE(form->stageLength.value->text(), QStringLiteral("5.0 км"));
    QCOMPARE(form->descriptionLabel->text1(), std::string("Вторая трасса"));
    // A disabled box ignores presses.
    QTest::mouseClick(form->relativeBox, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(!form->relativeBox->isChecked());

    QTest::mouseClick(form->allStagesBox, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(form->stageList->isEnabled());
    QVERIFY(form->relativeBox->isEnabled());
    QVERIFY(!form->relativeBox->isChecked());
    QCOMPARE(form->runsGrid->rowCount(), 3);
}

void tst_MainWindow::relativeModeFollowsTheCursor() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    form->onDisplayBoxPressed(form->relativeBox, false);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:40.00"));
    QCOMPARE(Cell(*form, 2, 5), QStringLiteral("-0:10.00"));
    form->runsGrid->setCurrentRow(2);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("+0:10.00"));
    QCOMPARE(Cell(*form, 2, 5), QStringLiteral("1:30.00"));
    // Outside the relative mode a cursor move leaves the cells alone.
    form->onDisplayBoxPressed(form->relativeBox, false);
    form->runsGrid->setCurrentRow(3);
    QCOMPARE(Cell(*form, 1, 5), QStringLiteral("1:40.00"));
    QCOMPARE(form->cursorPanel->text(), QStringLiteral("Позиция курсора:  3"));
}

void tst_MainWindow::filterButtonReappliesTheFilter() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(!form->filterButton->isChecked());

    // A dialog closed without changes still recomputes, and nothing is reported.
    int shown = 0;
    form->setFilterDialogRunner([&shown](ProgramState&, QWidget*) { ++shown; });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QCOMPARE(shown, 1);
    QVERIFY(!form->filterButton->isChecked());
    QCOMPARE(form->finishedRuns.value->text(), QStringLiteral("8"));
    QCOMPARE(messages.Calls.size(), 0);

    // Hiding one car: fewer runs everywhere, the button pressed and bold red.
    form->setFilterDialogRunner([](ProgramState& v, QWidget*) { v.Data.CarList[1].FiltOn = true; });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QVERIFY(form->filterButton->isChecked());
    QVERIFY(form->filterButton->font().bold());
    QCOMPARE(form->filterButton->captionColour(), QColor(Qt::red));
    const int left = form->finishedRuns.value->text().toInt();
    QVERIFY(left > 0 && left < 8);
    QCOMPARE(form->stageRuns.value->text().toInt(), form->runsGrid->rowCount());
    QCOMPARE(messages.Calls.size(), 0);

    // Hiding every car: the warning, once.
    form->setFilterDialogRunner([](ProgramState& v, QWidget*) {
        for (NameEntry& car : v.Data.CarList)
            car.FiltOn = true;
    });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QCOMPARE(messages.Texts(), QStringList{NothingPasses});
    QCOMPARE(messages.Calls[0].Icon, MessageIcon::Warning);
    QCOMPARE(form->finishedRuns.value->text(), QStringLiteral("0"));
    QCOMPARE(form->runsGrid->rowCount(), 0);
    QCOMPARE(form->totalTime.value->text(), QStringLiteral("Суммарное время проездов равно нулю"));

    // An error escaping from the dialog skips the recomputation.
    form->setFilterDialogRunner([](ProgramState&, QWidget*) { throw std::runtime_error("сбой"); });
    QTest::mouseClick(form->filterButton, Qt::LeftButton);
    QCOMPARE(messages.Calls.size(), 2);
    QCOMPARE(messages.Calls[1].Text, QStringLiteral("сбой"));
}

// ---- layout and window commands ------------------------------------------------------------

void tst_MainWindow::layoutAndCaptions() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(form->windowTitle(), QStringLiteral("Kelvara 2.2"));
    for (const char* name : {"ListBox1", "Grid1", "CGrid1", "TrackInfo", "GameInfo", "VisualSettings", "Label15",
                             "SpeedButton2", "StatusBar1", "PopupMenu1", "N0", "N11"})
        QVERIFY2(form->findChild<QObject*>(QString::fromLatin1(name)), name);
    for (int n : {1, 2, 3, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}) {
        QVERIFY(form->findChild<QGroupBox*>(QStringLiteral("GB%1").arg(n)));
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("Label%1").arg(n)));
    }
    QVERIFY(!form->level.box->isVisible());
    QVERIFY(!form->rank.box->isVisible());
    QCOMPARE(form->totalTime.box->title(), QStringLiteral("Суммарное время результативной игры"));
    QCOMPARE(form->worstTime.value->toolTip(), QStringLiteral("Самое позорное время прохождения трассы"));
    QCOMPARE(form->runNumberModeBox->toolTip(), QStringLiteral("Отображение номера проезда:\nTrue - абсолютное значение\n"
                                                          "False - по порядку\nGray - комбинированно"));
    QCOMPARE(form->filterButton->text(), QStringLiteral("Фильтр ..."));
    QVERIFY(form->descriptionLabel->text().isEmpty());
    QVERIFY(form->bestTime.value->font().bold());
    QCOMPARE(form->bestTime.value->palette().color(QPalette::WindowText), QColor(128, 0, 0));

    // Fixed positions.
    QCOMPARE(form->stageList->geometry(), QRect(2, 2, 141, form->height() - 21));
    QCOMPARE(form->stagePanel->geometry(), QRect(148, 2, 269, 317));
    QCOMPARE(form->gamePanel->geometry(), QRect(148, 324, 269, 115));
    QCOMPARE(form->displayPanel->geometry(), QRect(148, 442, 269, 128));
    QCOMPARE(form->runsGrid->geometry(), QRect(422, 2, form->width() - 422, form->height() - 21));
    QCOMPARE(form->statusBar->geometry(), QRect(0, form->height() - 18, form->width(), 18));
    QCOMPARE(form->descriptionBox->geometry(), QRect(4, 18, 261, 170));
    QCOMPARE(form->filterButton->geometry(), QRect(176, 20, 87, 30));
    // Every check box shows its whole caption inside the panel.
    for (DisplayCheckBox* box : {form->bySectorsBox, form->relativeBox, form->allStagesBox, form->runNumberModeBox})
        QVERIFY(form->displayPanel->rect().contains(box->geometry()));
    // Status bar panels 125, 230, 210 and 50 wide.
    QCOMPARE(form->datePanel->x(), 125);
    QCOMPARE(form->speedPanel->x(), 355);
    QCOMPARE(form->notePanel->x(), 565);
    // The justified description starts at the label's left margin.
    QVERIFY(!form->descriptionLabel->words().empty());
    QCOMPARE(form->descriptionLabel->words().front().X, 5);
    QCOMPARE(form->descriptionLabel->words().front().Y, 0);
}

void tst_MainWindow::panelsCollapseAndSetTheMinimumHeight() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\nHeight=500\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    // The stack of panels does not fit 500: the window grows to hold it.
    QCOMPARE(form->frameGeometry().height(), 317 + 115 + 128 + 44);
    QCOMPARE(form->minimumHeight(), 18 + 317 + 115 + 128 + 14);

    QTest::mouseDClick(form->stagePanel, Qt::LeftButton, {}, QPoint(262, 10));
    QCOMPARE(form->stagePanel->height(), 18);
    QCOMPARE(form->gamePanel->y(), 25);
    QCOMPARE(form->displayPanel->y(), 18 + 115 + 10);
    QCOMPARE(form->minimumHeight(), 18 + 18 + 115 + 128 + 14);
    QTest::mouseDClick(form->displayPanel, Qt::LeftButton, {}, QPoint(262, 10));
    QCOMPARE(form->displayPanel->height(), 18);

    QTest::mouseDClick(form->stagePanel, Qt::LeftButton, {}, QPoint(262, 10));
    QCOMPARE(form->stagePanel->height(), 317);
    QCOMPARE(form->gamePanel->y(), 324);
    // A double-click on a small box inside a panel collapses nothing.
    QTest::mouseDClick(form->stageLength.box, Qt::LeftButton, {}, QPoint(10, 20));
    QCOMPARE(form->stagePanel->height(), 317);
    form->resize(form->width(), 300);
    QCOMPARE(form->height(), 18 + 317 + 115 + 18 + 14);
    QCOMPARE(form->minimumHeight() + FrameH(*form), std::max(200, FrameH(*form) + 18 + 317 + 115 + 18 + 14));
}

void tst_MainWindow::strayDoubleClicksChangeNothing() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    const QRect before = form->frameGeometry();
    // The show strip while the panels are shown.
    QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(145, 600));
    QCOMPARE(form->frameGeometry(), before);
    QVERIFY(form->stagePanel->isVisible());
    QVERIFY(!form->panelsHidden());
}

void tst_MainWindow::hidingAndShowingThePanels() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\nWidth=872\r\nHeight=748\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(form->frameGeometry().width(), 872);

    // The gap right of the panel column hides them; the window loses their width.
    QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(419, 600));
    QVERIFY(form->panelsHidden());
    QVERIFY(!form->stagePanel->isVisible());
    QVERIFY(!form->displayPanel->isVisible());
    QCOMPARE(form->frameGeometry().width(), 872 - 274);
    QCOMPARE(form->runsGrid->x(), 148);
    QCOMPARE(form->runsGrid->x() + form->runsGrid->width(), form->width());
    QCOMPARE(form->minimumHeight() + FrameH(*form), 200);
    QCOMPARE(form->minimumWidth() + FrameW(*form), 141 + 200);

    // The gap right of the list shows them again.
    QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(145, 600));
    QVERIFY(!form->panelsHidden());
    QVERIFY(form->stagePanel->isVisible());
    QCOMPARE(form->frameGeometry().width(), 872);
    QCOMPARE(form->runsGrid->x(), 422);
    QCOMPARE(form->runsGrid->x() + form->runsGrid->width(), form->width());

    // Saved hidden, the window opens with the table right of the list.
    QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(419, 600));
    form->close();
    form.reset();
    form = Open(f);
    QVERIFY(form->panelsHidden());
    QVERIFY(!form->gamePanel->isVisible());
    QCOMPARE(form->runsGrid->x(), 148);
}

void tst_MainWindow::hidingPanelsInAFullWidthWindow() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=1\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(form->isMaximized());
    const int width = form->width();
    QCOMPARE(form->frameGeometry().width(), form->screen()->geometry().width());
    const int gridWidth = form->runsGrid->width();
    form->onWindowDoubleClicked(form->mapToGlobal(QPoint(419, 300)));
    QCOMPARE(form->width(), width);
    QCOMPARE(form->runsGrid->width(), gridWidth + 274);
}

void tst_MainWindow::dockedWindowStaysInTheWorkArea() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\nDockForm=1\r\nWidth=800\r\nHeight=600\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QVERIFY(form->keepsInWorkArea());
    const QRect area = form->screen()->availableGeometry();
    form->move(area.x() - 50, area.y() - 30);
    QCOMPARE(form->frameGeometry().topLeft(), area.topLeft());
    form->move(area.right() - 100, area.bottom() - 100);
    QCOMPARE(form->frameGeometry().right(), area.right());
    QCOMPARE(form->frameGeometry().bottom(), area.bottom());
    // Without the flag the window goes where it is put.
    Folder g;
    WriteStandardData(g);
    g.Settings("MaxWin=0\r\nWidth=800\r\nHeight=600\r\n");
    auto free = Open(g);
    free->move(area.x() - 50, area.y() - 30);
    QCOMPARE(free->frameGeometry().topLeft(), QPoint(area.x() - 50, area.y() - 30));
}

void tst_MainWindow::sizeLimitsOnlyWhileRunning() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QCOMPARE(form->minimumWidth() + FrameW(*form), 141 + 269 + 200);
    QCOMPARE(form->maximumWidth() + FrameW(*form), form->screen()->geometry().width());
    form->close();
    QCOMPARE(form->minimumSize(), QSize(0, 0));
}

void tst_MainWindow::minimiseUsesTheTrayOnlyWhereThereIsOne() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    {
        MainWindow::trayAvailableOverride = 1;
        auto form = Open(f);
        form->showMaximized();
        QApplication::processEvents();
        form->showMinimized();
        QTRY_VERIFY(!form->isVisible());
        form->onTrayActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!form->isVisible());
        form->onTrayActivated(QSystemTrayIcon::Context);
        QVERIFY(form->isVisible());
        QVERIFY(form->isMaximized());
        // A press while the window is shown changes nothing.
        form->onTrayActivated(QSystemTrayIcon::Trigger);
        QVERIFY(form->isMaximized());
    }
    {
        MainWindow::trayAvailableOverride = 0;
        auto form = Open(f);
        form->showMinimized();
        QApplication::processEvents();
        QTest::qWait(20);
        QVERIFY(form->isVisible());
        QVERIFY(form->isMinimized());
    }
}

// ---- keys ----------------------------------------------------------------------------------

void tst_MainWindow::deleteWarnsOnlyInTheTable() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->stageList->setFocus();
    QTest::keyClick(form->stageList, Qt::Key_Delete);
    QCOMPARE(messages.Calls.size(), 0);
    form->runsGrid->setFocus();
    QTest::keyClick(form->runsGrid, Qt::Key_Delete);
    QCOMPARE(messages.Texts(), QStringList{QStringLiteral("А удалять показанные результаты нехорошо")});
    QCOMPARE(messages.Calls[0].Caption, QStringLiteral("Попытка читерства"));
    QCOMPARE(messages.Calls[0].Icon, MessageIcon::Warning);
    QCOMPARE(form->runsGrid->rowCount(), 5);
}

void tst_MainWindow::f1OpensAboutAndGivesTheFocusBack_data() {
    QTest::addColumn<int>("focused"); // 0 the list, 1 the table, 2 a check box
    QTest::newRow("stage list") << 0;
    QTest::newRow("table") << 1;
    QTest::newRow("elsewhere") << 2;
}

void tst_MainWindow::f1OpensAboutAndGivesTheFocusBack() {
    QFETCH(int, focused);
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    form->setExecutablePath(QCoreApplication::applicationFilePath());
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QWidget* const start = focused == 0   ? static_cast<QWidget*>(form->stageList)
                           : focused == 1 ? static_cast<QWidget*>(form->runsGrid)
                                          : static_cast<QWidget*>(form->bySectorsBox);
    start->setFocus();
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = AboutOpen() && form->runsGrid->hasFocus();
        box->okButton->click();
    });
    QTest::keyClick(start, Qt::Key_F1);
    QVERIFY(seen);
    QVERIFY(!AboutOpen());
    if (focused == 2)
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.get()));
    else
        QTRY_VERIFY(start->hasFocus());
}

void tst_MainWindow::aboutBoxContents() {
    AboutBox box(ProgramVersionInfo(), QStringLiteral("07.12.2026"));
    QCOMPARE(box.size(), QSize(400, 300));
    QCOMPARE(box.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(box.okButton->geometry(), QRect(162, 240, 75, 25));
    QCOMPARE(box.titleLabel->text(), QStringLiteral("Kelvara  2.2.0.76   (07.12.2026)"));
    QCOMPARE(box.titleLabel->pos(), QPoint(60, 15));
    QCOMPARE(box.descriptionLabel->geometry(), QRect(10, 50, 380, 55));
    QCOMPARE(box.noticeLabel->geometry(), QRect(10, 100, 380, 55));
    QVERIFY(box.descriptionLabel->text().isEmpty());
    QVERIFY(QString::fromStdString(box.descriptionLabel->text1()).contains(QStringLiteral("ZLTTimes 0.2")));
    // Both texts fit their labels.
    for (JustifiedLabel* label : {box.descriptionLabel, box.noticeLabel}) {
        QVERIFY(!label->words().empty());
        QVERIFY(label->words().back().Y + QFontMetrics(label->font()).height() <= label->height());
    }
    QCOMPARE(box.rightsLabel->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(box.rightsLabel->width(), box.width());
    // A missing executable: nothing is shown.
    QVERIFY(!ShowAbout(nullptr, QStringLiteral("/nonexistent/Kelvara")));
}

// ---- readability ------------------------------------------------------------------------------

// 1200 finished runs on "Альфа" (four-digit row numbers), then so many unfinished ones elsewhere
// that the last two runs have five-digit run numbers.
void WriteLongLog(const Folder& f, const std::string& desc1, const std::string& desc2) {
    f.Stages({{1, "Альфа", 10.0f, desc1, desc2}, {2, "Бета", 5.0f, "Вторая", ""}});
    std::vector<std::string> lines;
    for (int i = 0; i < 1200; ++i) {
        lines.push_back(test::MainLine(Date(i % 50), 1, "Карт-А"));
        lines.push_back(test::TimesLine(30 + i % 7, 60 + i % 5, 600 + i % 11));
    }
    for (int i = 0; i < 9000; ++i)
        lines.push_back(test::MainLine(Date(3), 2, "Карт-Б"));
    for (int i = 0; i < 2; ++i) {
        lines.push_back(test::MainLine(Date(7), 1, "Карт-Б"));
        lines.push_back(test::TimesLine(31, 61, 601));
    }
    f.Log(lines);
}

void tst_MainWindow::numbersAndTextsShowWhole() {
    Folder f;
    // Two halves of 240 letters (and bytes in cp1251).
    std::string half;
    for (int i = 0; i < 5; ++i)
        half += "Длинный спуск к реке, затем подъём серпантином. "; // 48 letters
    WriteLongLog(f, half, half);
    const std::string description = half + half;
    f.Settings("MaxWin=0\r\nWidth=900\r\nHeight=700\r\nHSW0=35\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    RunsGrid* grid = form->runsGrid;
    const QFontMetrics metrics(grid->font());
    const auto widestNumber = [&] {
        int widest = 0;
        for (int row = 1; row <= grid->rowCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(grid->runsModel()->cellText(row, 0)));
        return widest;
    };
    QCOMPARE(grid->rowCount(), 1202);
    // Each run-number mode: "1202", "10202", "1202 / 10202".
    for (int press = 0; press < 3; ++press) {
        QVERIFY2(widestNumber() + 2 <= grid->sectionWidth(0), qPrintable(grid->runsModel()->cellText(1202, 0)));
        form->onDisplayBoxPressed(form->runNumberModeBox, false);
    }
    // Dragged narrower than its numbers, the column keeps them whole.
    grid->columnHeader()->resizeSection(0, 20);
    QVERIFY(widestNumber() + 2 <= grid->sectionWidth(0));

    // The status bar panels are as wide as their texts.
    for (QLabel* panel : {form->cursorPanel, form->datePanel, form->speedPanel})
        QVERIFY(panel->width() >= panel->sizeHint().width());

    // The long description ends in "…" above the stage number and shows whole as a tip.
    JustifiedLabel* label = form->descriptionLabel;
    QVERIFY(label->isCut());
    QCOMPARE(label->toolTip(), QString::fromStdString(description));
    QVERIFY(label->words().back().Text.endsWith(QStringLiteral("…")));
    const int numberTop = form->stageNumberLabel->y() - label->y();
    for (const JustifiedLabel::PlacedWord& word : label->words())
        QVERIFY(word.Y + 13 <= numberTop);
}

void tst_MainWindow::sortIndicatorFollowsTheOrdering() {
    Folder f;
    WriteStandardData(f);
    f.Settings("MaxWin=0\r\n[Sort]\r\nTypeSort=5\r\nUpOrDown=1\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    QHeaderView* header = form->runsHeader;
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 5);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    ClickSection(*form, 5);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickSection(*form, 1);
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // All stages: log order, no indicator until the next click.
    QTest::mouseClick(form->allStagesBox, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(!header->isSortIndicatorShown());
    ClickSection(*form, 3);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 3);
}

// RFC 4180 fields of a whole file (quoted fields may hold separators, quotes and line ends).
QList<QStringList> ParseCsv(const QString& text, QChar separator) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == separator) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

void tst_MainWindow::exportSavesTheTableAsShown() {
    Folder f;
    f.Stages({{1, "Альфа", 10.0f, "", ""}});
    f.Log({test::MainLine(Date(0), 1, "Вихрь; ралли, 2"), test::TimesLine(30, 60, 100),
           test::MainLine(Date(5), 1, "Кречет \"Про\""), test::TimesLine(28, 58, 90)});
    f.Settings("MaxWin=0\r\nHSW6=50\r\n");
    MessageRecorder messages;
    auto form = Open(f);
    form->onDisplayBoxPressed(form->relativeBox, false);
    QString asked;
    QString target = f.Path("Альфа.csv");
    form->setSaveFileAsker([&](QWidget*, const QString& proposed) {
        asked = proposed;
        return target;
    });
    form->activateWindow();
    form->runsGrid->setFocus();
    QTest::keyClick(form->runsGrid, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(QFileInfo(asked).fileName(), QStringLiteral("Альфа.csv"));

    const QByteArray bytes = ReadBytes(target);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QChar separator = QLocale().decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
    const QList<QStringList> rows = ParseCsv(QString::fromUtf8(bytes.mid(3)), separator);
    const std::vector<int> columns = form->runsGrid->shownColumns();
    QCOMPARE(rows.size(), 1 + form->runsGrid->rowCount());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        QCOMPARE(rows[0][static_cast<qsizetype>(i)],
                 form->runsGrid->model()->headerData(columns[i], Qt::Horizontal).toString());
        for (int row = 1; row <= form->runsGrid->rowCount(); ++row)
            QCOMPARE(rows[row][static_cast<qsizetype>(i)], Cell(*form, row, columns[i]));
    }
    QVERIFY(rows[1].join(QString()).contains(QStringLiteral("Кречет \"Про\"")) ||
            rows[2].join(QString()).contains(QStringLiteral("Кречет \"Про\"")));

    // A failed write names the file and leaves nothing behind; the folder of the last export stays.
    QDir(f.Dir.path()).mkdir(QStringLiteral("taken.csv"));
    target = f.Path("taken.csv");
    const QStringList before = QDir(f.Dir.path()).entryList(QDir::Files);
    form->runsGrid->columnMenu()->actions().last()->trigger();
    QCOMPARE(messages.Calls.size(), 1);
    QVERIFY(messages.Calls[0].Text.contains(QDir::toNativeSeparators(target)));
    QCOMPARE(QDir(f.Dir.path()).entryList(QDir::Files), before);
    QCOMPARE(QString::fromStdString(form->state().Config.ExportFolder), QFileInfo(f.Dir.path()).absoluteFilePath());
}

KELVARA_GUI_TEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
