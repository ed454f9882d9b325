// The runs table widget: model, header and columns, menu, cursor and wheel, cell painting.

#include "data/Cp1251.h"
#include "data/ValueTables.h"
#include "table/ui/RunsGrid.h"
#include "table/ui/RunsTableModel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <memory>

using namespace kel;

namespace {

// A selection of `n` invented runs; run i finishes in 100 + i seconds. Names are held as
// cp1251 bytes, as the log reader leaves them.
struct Table {
    RunData Data;
    SelectionState Sel;
    DisplayState Disp;

    explicit Table(int n, std::string longCar = {}) {
        Data.CarList = {{"Borzoi GT"}, {"Kestrel 4x4"}, {longCar.empty() ? "Lumen RS" : longCar}};
        Data.ClassList = {{"K2"}, {Utf8ToCp1251("Открытый")}};
        Data.ProfList = {{Utf8ToCp1251("Тестер")}};
        auto conditions = [](NameList& list, const auto& names) {
            for (std::size_t i = 0; i < names.size(); ++i)
                list[i].Name = Utf8ToCp1251(names[i]);
        };
        conditions(Data.WetnessList, WetnessNames);
        conditions(Data.SurfAgeList, SurfAgeNames);
        conditions(Data.TyresList, TyresNames);
        conditions(Data.DamageList, DamageNames);
        conditions(Data.WeatherList, WeatherNames);
        for (int i = 1; i <= n; ++i) {
            RunRecord r;
            r.SelNo = i;
            r.RunNo = i * 3;
            r.Finished = true;
            r.StageNo = 1;
            r.CarIdx = i % 3;
            r.ClassIdx = i % 2;
            r.Split1 = 30 + i * 0.5;
            r.Split2 = 65 + i * 0.25;
            r.Finish = 100 + i;
            Sel.Selection.push_back(r);
        }
        Sel.SelCount = n;
        Data.Runs = Sel.Selection;
        Data.RunCount = Data.FinishedCount = n;
    }
    TableSnapshot Snap(int selCur) {
        Disp.SelCur = selCur;
        return FillRunsTable(Data, Sel, Disp, Conventions{});
    }
};

std::unique_ptr<RunsGrid> ShownGrid(int width = 520, int height = 200) {
    auto grid = std::make_unique<RunsGrid>();
    grid->resize(width, height);
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get()))
        qWarning("grid not exposed");
    return grid;
}

void Wheel(RunsGrid& grid, int delta) {
    const QPointF pos = grid.viewport()->rect().center();
    QWheelEvent event(pos, grid.viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &event);
}

QPoint SectionCentre(const QHeaderView* header, int section) {
    return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2};
}

// The divider at the right end of a section.
QPoint Divider(const QHeaderView* header, int section) {
    return {header->sectionViewportPosition(section) + header->sectionSize(section) - 1, header->height() / 2};
}

int FitWidth(const QStringList& texts) {
    const QFontMetrics metrics(RunsGrid::gridFont());
    int width = metrics.horizontalAdvance(QStringLiteral("  "));
    for (const QString& text : texts)
        width = std::max(width, metrics.horizontalAdvance(text + QStringLiteral("  ")));
    return std::min(width, 200);
}

// A fitted column also shows its caption's longest word.
int FitWidth(const RunsGrid& grid, int column, const QStringList& texts) {
    return std::max(FitWidth(texts), grid.leastWidth(column));
}

bool Near(QColor a, QColor b, int tolerance = 0) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of `rect` in `image` that differ from `background`: the text's ink.
QRect InkBounds(const QImage& image, const QRect& rect, QColor background) {
    QRect ink;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!Near(image.pixelColor(x, y), background, 40))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

int CountColour(const QImage& image, const QRect& rect, QColor colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += Near(image.pixelColor(x, y), colour) ? 1 : 0;
    return count;
}

} // namespace

class TestRunsGrid : public QObject {
    Q_OBJECT
private slots:
    void ModelAnswersFromTheSnapshot();
    void HeaderClickAsksForSorting();
    void HiddenColumnsAndTheMenu();
    void CaptionsWrapInsteadOfBeingCut();
    void StageColumnFollowsAllStages();
    void WidthsAreLimited();
    void DraggingShutHidesTheColumn();
    void DividerDoubleClickFitsTheColumn();
    void ScrollingChangesNoWidth();
    void SnapshotSetsTheCursorSilently();
    void CursorMovesReportTheRow();
    void WheelMovesTwoRows();
    void WheelOnTallTable();
    void BestTimesArePainted();
    void CellTextAlignment();
    void RowSelectOption();
};

void TestRunsGrid::ModelAnswersFromTheSnapshot() {
    Table table(6);
    Table other(3);
    RunsTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.setSnapshot(table.Snap(1));
    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.columnCount(), ColumnCount);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("Kestrel 4x4"));
    QCOMPARE(model.data(model.index(5, 2)).toString(), QStringLiteral("K2"));
    QCOMPARE(model.cellText(6, 11), QStringLiteral("Тестер"));
    QCOMPARE(model.headerData(11, Qt::Horizontal).toString(), QStringLiteral("Профиль пользователя"));
    QCOMPARE(resets.size(), 1);

    // The same number of rows (a new order, the relative mode): no reset, cells reported changed.
    std::swap(table.Sel.Selection[1], table.Sel.Selection[6]);
    model.setSnapshot(table.Snap(2));
    QCOMPARE(resets.size(), 1);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("6"));

    model.setSnapshot(other.Snap(1));
    model.setSnapshot(TableSnapshot{});
    QCOMPARE(resets.size(), 3);
    QCOMPARE(model.rowCount(), 0);

    // A selection rebuilt smaller before its snapshot arrives reads as empty rows, not past its end.
    model.setSnapshot(table.Snap(1));
    table.Sel.SelCount = 2;
    table.Sel.Selection.resize(3);
    QCOMPARE(model.cellText(2, 1), QStringLiteral("Lumen RS"));
    QCOMPARE(model.cellText(5, 1), QString());
}

void TestRunsGrid::HeaderClickAsksForSorting() {
    auto grid = ShownGrid();
    QHeaderView* header = grid->columnHeader();
    QCOMPARE(header->objectName(), QStringLiteral("CGrid1"));
    QCOMPARE(header->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Сплит 1"));
    QSignalSpy sort(grid.get(), &RunsGrid::headerSectionClicked);
    const auto widths = grid->sectionWidths();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, SectionCentre(header, 3));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, SectionCentre(header, 1));
    QCOMPARE(sort.size(), 2);
    QCOMPARE(sort.at(0).at(0).toInt(), 3);
    QCOMPARE(sort.at(1).at(0).toInt(), 1);

    // A right click opens the menu: no sorting and no width changes.
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, SectionCentre(header, 2),
                                header->viewport()->mapToGlobal(SectionCentre(header, 2)));
    QApplication::sendEvent(header->viewport(), &menuEvent);
    QTRY_VERIFY(grid->columnMenu()->isVisible());
    grid->columnMenu()->close();
    QContextMenuEvent cellMenu(QContextMenuEvent::Mouse, QPoint(5, 5), grid->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid->viewport(), &cellMenu);
    QTRY_VERIFY(grid->columnMenu()->isVisible());
    grid->columnMenu()->close();
    QCOMPARE(sort.size(), 2);
    QCOMPARE(grid->sectionWidths(), widths);
}

void TestRunsGrid::HiddenColumnsAndTheMenu() {
    Table table(4, "Very Long Imaginary Car Name Twelve");
    auto grid = ShownGrid();
    grid->setSnapshot(table.Snap(1), table.Disp);
    grid->setSectionWidths({35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0});
    QVERIFY(grid->columnHeader()->isSectionHidden(2));
    QCOMPARE(grid->sectionWidth(2), 0);
    QCOMPARE(grid->sectionWidth(1), 170);
    QCOMPARE(grid->sectionMaxWidth(2), 0);
    QCOMPARE(grid->sectionMaxWidth(1), 200);

    QMenu* menu = grid->columnMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
    grid->updateColumnMenu();
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 16); // the columns, a separator and the export item
    QCOMPARE(items[15]->objectName(), QStringLiteral("ExportCsv"));
    for (int i = 0; i < ColumnCount; ++i) {
        QCOMPARE(items[i]->objectName(), QStringLiteral("N%1").arg(i));
        QCOMPARE(items[i]->text(), QString::fromUtf8(ColumnNames[i].data(), ColumnNames[i].size()));
        QCOMPARE(items[i]->isChecked(), grid->sectionWidth(i) != 0);
    }

    // Shown through the menu: fitted to the content, not the former width.
    items[2]->trigger();
    QCOMPARE(grid->sectionWidth(2), FitWidth(*grid, 2, {"K2", "Открытый"}));
    QCOMPARE(grid->sectionMaxWidth(2), 200);
    items[6]->trigger();
    QCOMPARE(grid->sectionWidth(6), FitWidth(*grid, 6, {"Dry"}));
    // The long car name is wider than 200 pixels: the fit stops at 200.
    items[1]->trigger();
    QCOMPARE(grid->sectionWidth(1), 0);
    QCOMPARE(grid->sectionMaxWidth(1), 0);
    items[1]->trigger();
    QCOMPARE(grid->sectionWidth(1), 200);
    grid->updateColumnMenu();
    QVERIFY(items[1]->isChecked() && items[2]->isChecked() && !items[7]->isChecked());

    // An empty table fits a column to two spaces.
    grid->setSnapshot(TableSnapshot{}, table.Disp);
    grid->fitColumnToText(4);
    QCOMPARE(grid->sectionWidth(4), FitWidth(*grid, 4, {}));
}

void TestRunsGrid::CaptionsWrapInsteadOfBeingCut() {
    auto grid = ShownGrid(900);
    QHeaderView* header = grid->columnHeader();
    const QFontMetrics metrics(header->font());
    // A stored width below the caption's longest word comes back at that word, on two lines.
    const std::array<int, ColumnCount> stored{35, 170, 0, 60, 60, 60};
    grid->setSectionWidths(stored);
    QVERIFY(grid->sectionWidth(0) > metrics.horizontalAdvance(QStringLiteral("проезда")));
    QCOMPARE(header->height(), RunsGrid::HeaderHeight + metrics.lineSpacing());
    // Dragged narrower it stops at the word; wide enough for the whole caption, one line again.
    header->resizeSection(0, 10);
    QCOMPARE(grid->sectionWidth(0), grid->leastWidth(0));
    // (Other styles leave the other captions less room: widen every shown one that wraps.)
    for (int i = 0; i < ColumnCount; ++i)
        if (grid->sectionWidth(i) > 0 && grid->sectionWidth(i) < grid->captionWidth(i))
            header->resizeSection(i, grid->captionWidth(i));
    QCOMPARE(header->height(), RunsGrid::HeaderHeight);
    for (const NumberMode mode : {NumberMode::Unchecked, NumberMode::Checked, NumberMode::Grayed}) {
        grid->setSectionWidths(stored);
        Table table(1200);
        table.Disp.NumMode = mode;
        grid->setSnapshot(table.Snap(1), table.Disp);
        QVERIFY(grid->sectionWidth(0) >= grid->leastWidth(0) &&
                grid->twoLineHeader() == (grid->sectionWidth(0) < grid->captionWidth(0)));
    }
    // Sector captions in the header, the menu and the export, and the splits' back after.
    Table table(3);
    table.Disp.BySectors = true;
    grid->setSnapshot(table.Snap(1), table.Disp);
    grid->updateColumnMenu();
    QCOMPARE(grid->columnMenu()->actions()[3]->text(), QStringLiteral("Сектор 1"));
    QCOMPARE(grid->shownCaptions()[3], std::string("Сектор 2"));
    table.Disp.BySectors = false;
    grid->setSnapshot(table.Snap(1), table.Disp);
    grid->updateColumnMenu();
    QCOMPARE(grid->columnMenu()->actions()[5]->text(), QStringLiteral("Финиш"));
}

void TestRunsGrid::StageColumnFollowsAllStages() {
    Table table(3);
    auto grid = ShownGrid(900);
    grid->setSnapshot(table.Snap(1), table.Disp);
    grid->setSectionWidths({35, 170}); // the others hidden
    grid->followAllStages(true);
    QCOMPARE(grid->sectionWidth(StageColumn), FitWidth(*grid, StageColumn, {""}));
    grid->followAllStages(false);
    QCOMPARE(grid->sectionWidth(StageColumn), 0);
    // Shown by hand it stays when the mode ends; hidden by hand it stays hidden when it starts.
    QAction* item = grid->columnMenu()->actions()[StageColumn];
    item->trigger();
    grid->followAllStages(true);
    grid->followAllStages(false);
    QVERIFY(grid->sectionWidth(StageColumn) > 0);
    item->trigger();
    grid->followAllStages(true);
    QCOMPARE(grid->sectionWidth(StageColumn), 0);
}

void TestRunsGrid::WidthsAreLimited() {
    auto grid = ShownGrid();
    grid->setSectionWidths({150, 250, -5, 60, 100, 101, 0, 0, 0, 0, 0, 5000, 300, 0});
    const std::array<int, ColumnCount> restored{100, 200, 0, 60, 100, 100, 0, 0, 0, 0, 0, 5000, 200, 0};
    QCOMPARE(grid->sectionWidths(), restored);
    // After the settings every shown section can be dragged up to 200 and no further.
    grid->columnHeader()->resizeSection(0, 180);
    QCOMPARE(grid->sectionWidth(0), 180);
    grid->columnHeader()->resizeSection(0, 320);
    QCOMPARE(grid->sectionWidth(0), 200);

    QHeaderView* header = grid->columnHeader();
    const QPoint from = Divider(header, 3);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from + QPoint(100, 0));
    QTest::mouseMove(header->viewport(), from + QPoint(180, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(180, 0));
    QCOMPARE(grid->sectionWidth(3), 200);
}

void TestRunsGrid::DraggingShutHidesTheColumn() {
    auto grid = ShownGrid();
    grid->setSectionWidths({35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0});
    QHeaderView* header = grid->columnHeader();
    const QPoint from = Divider(header, 3);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from - QPoint(30, 0));
    QTest::mouseMove(header->viewport(), from - QPoint(70, 0));
    QTest::mouseMove(header->viewport(), from - QPoint(20, 0)); // back again in the same drag
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from - QPoint(20, 0));
    QCOMPARE(grid->sectionWidth(3), 0);
    QVERIFY(header->isSectionHidden(3));
    grid->updateColumnMenu();
    QVERIFY(!grid->columnMenu()->actions()[3]->isChecked());
    // It cannot be opened by a width change, only through the menu.
    header->resizeSection(3, 50);
    QCOMPARE(grid->sectionWidth(3), 0);
    grid->columnMenu()->actions()[3]->trigger();
    QVERIFY(grid->sectionWidth(3) > 0);
}

void TestRunsGrid::DividerDoubleClickFitsTheColumn() {
    Table table(3);
    auto grid = ShownGrid();
    grid->setSnapshot(table.Snap(1), table.Disp);
    QHeaderView* header = grid->columnHeader();
    QSignalSpy sort(grid.get(), &RunsGrid::headerSectionClicked);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, Divider(header, 1));
    QCOMPARE(grid->sectionWidth(1), FitWidth(*grid, 1, {"Borzoi GT", "Kestrel 4x4", "Lumen RS"}));
    QCOMPARE(sort.size(), 0);

    // Times and run numbers: every text counts, also where digits differ (1:41.00 .. 1:59.00).
    Table many(59);
    grid->setSnapshot(many.Snap(1), many.Disp);
    for (int column : {0, 3, 5}) {
        QStringList texts;
        for (int row = 1; row <= 59; ++row)
            texts << grid->runsModel()->cellText(row, column);
        grid->fitColumnToText(column);
        QCOMPARE(grid->sectionWidth(column), FitWidth(*grid, column, texts));
    }
}

void TestRunsGrid::ScrollingChangesNoWidth() {
    Table table(30);
    auto grid = ShownGrid(300, 150);
    grid->setSnapshot(table.Snap(1), table.Disp);
    grid->setSectionWidths({35, 170, 45, 60, 60, 60, 80, 50, 50, 50, 50, 50});
    const auto widths = grid->sectionWidths();
    QScrollBar* bar = grid->horizontalScrollBar();
    QVERIFY(bar->maximum() > 2);
    bar->setValue(2);
    QCoreApplication::processEvents();
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    QCOMPARE(grid->sectionWidths(), widths);
    grid->updateColumnMenu();
    for (QAction* item : grid->columnMenu()->actions().mid(0, StageColumn))
        QVERIFY(item->isChecked());
    // Header and columns scroll together: section 11 stands over column 11.
    QCOMPARE(grid->columnHeader()->sectionViewportPosition(11), grid->columnViewportPosition(11));
    bar->setValue(0);
    QCOMPARE(grid->sectionWidths(), widths);
}

void TestRunsGrid::SnapshotSetsTheCursorSilently() {
    Table table(10);
    auto grid = ShownGrid();
    QSignalSpy clicks(grid.get(), &RunsGrid::cursorMoved);
    grid->setSnapshot(table.Snap(7), table.Disp);
    QCOMPARE(grid->currentRow(), 7);
    QCOMPARE(grid->currentIndex().row(), 6);
    // A narrower selection: the fill lowers the cursor to the last row.
    Table small(4);
    grid->setSnapshot(small.Snap(9), small.Disp);
    QCOMPARE(grid->currentRow(), 4);
    QCOMPARE(small.Disp.SelCur, 4);
    // An empty table keeps the cursor the fill left.
    Table none(0);
    grid->setSnapshot(none.Snap(3), none.Disp);
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(grid->topRow(), 1);
    QCOMPARE(clicks.size(), 0);
}

void TestRunsGrid::CursorMovesReportTheRow() {
    Table table(10);
    auto grid = ShownGrid();
    grid->setSnapshot(table.Snap(2), table.Disp);
    grid->setFocus();
    QSignalSpy clicks(grid.get(), &RunsGrid::cursorMoved);

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(grid->currentRow(), 3);
    const QRect cell = grid->visualRect(grid->model()->index(5, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(grid->currentRow(), 6);
    grid->setCurrentRow(9);
    grid->setCurrentRow(9); // unchanged: no second report
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(clicks.at(0).at(0).toInt(), 3);
    QCOMPARE(clicks.at(1).at(0).toInt(), 6);
    QCOMPARE(clicks.at(2).at(0).toInt(), 9);

    // Delete is left to the window; typing does not jump to rows.
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(grid.get(), &del);
    QVERIFY(!del.isAccepted());
    QTest::keyClicks(grid.get(), QStringLiteral("K"));
    QCOMPARE(grid->currentRow(), 9);
}

void TestRunsGrid::WheelMovesTwoRows() {
    Table table(5);
    auto grid = ShownGrid();
    grid->setSnapshot(table.Snap(4), table.Disp);
    QSignalSpy clicks(grid.get(), &RunsGrid::cursorMoved);

    Wheel(*grid, -120);
    QCOMPARE(grid->currentRow(), 5);
    Wheel(*grid, -120); // already on the last row
    QCOMPARE(grid->currentRow(), 5);
    Wheel(*grid, 120);
    QCOMPARE(grid->currentRow(), 3);
    Wheel(*grid, 120);
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->topRow(), 1);
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(clicks.last().at(0).toInt(), 1);

    // A high-resolution wheel: half notches add up to one notch.
    Wheel(*grid, -60);
    QCOMPARE(grid->currentRow(), 1);
    Wheel(*grid, -60);
    QCOMPARE(grid->currentRow(), 3);

    Table none(0);
    grid->setSnapshot(none.Snap(1), none.Disp);
    clicks.clear();
    Wheel(*grid, -120);
    Wheel(*grid, 120);
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(grid->topRow(), 1);
}

void TestRunsGrid::WheelOnTallTable() {
    Table table(200);
    auto grid = ShownGrid(520, 20 + 10 * 16 + 4);
    grid->setSnapshot(table.Snap(1), table.Disp);
    const int visible = grid->visibleRowCount();
    QVERIFY(visible >= 5 && visible < 20);

    // The cursor scrolled out of view: the notch starts from the top row.
    grid->setTopRow(50);
    QCOMPARE(grid->topRow(), 50);
    Wheel(*grid, -120);
    QCOMPARE(grid->currentRow(), 52);
    QCOMPARE(grid->topRow(), 50);

    // Down at the bottom edge: the view follows so that the cursor stays visible.
    grid->setCurrentRow(50 + visible - 1);
    Wheel(*grid, -120);
    QCOMPARE(grid->currentRow(), 50 + visible + 1);
    QVERIFY(grid->topRow() > 50);
    QVERIFY(grid->currentRow() <= grid->topRow() + visible - 1);

    // Up at the top edge.
    const int top = grid->topRow();
    grid->setCurrentRow(top);
    Wheel(*grid, 120);
    QCOMPARE(grid->currentRow(), top - 2);
    QCOMPARE(grid->topRow(), top - 2);
}

void TestRunsGrid::BestTimesArePainted() {
    Table table(4);
    table.Disp.BestSectorRow = {0, 2, 3, 4};
    table.Disp.BestTimeRow = {0, 3, 1, 2};
    auto grid = ShownGrid();
    grid->setSectionWidths({35, 100, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0});
    grid->setSnapshot(table.Snap(1), table.Disp); // cursor on row 1
    QCoreApplication::processEvents();

    const QColor red(255, 0, 0), lime(0, 255, 0), white(255, 255, 255);
    const QColor highlight = grid->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor base = grid->palette().color(QPalette::Active, QPalette::Base);
    auto cell = [&](int row, int column) { return grid->visualRect(grid->model()->index(row - 1, column)); };
    auto paint = [&] { return grid->viewport()->grab().toImage(); };

    QImage image = paint();
    // Best sector: red background; best cumulative time: lime text on the normal background.
    QVERIFY(Near(image.pixelColor(cell(2, 3).topLeft() + QPoint(1, 1)), red));
    QVERIFY(Near(image.pixelColor(cell(3, 4).topLeft() + QPoint(1, 1)), red));
    QVERIFY(CountColour(image, cell(3, 3), lime) > 5);
    QVERIFY(Near(image.pixelColor(cell(3, 3).topLeft() + QPoint(1, 1)), base));
    // The cursor row: the mark wins over the selection, other cells show the selection.
    QVERIFY(CountColour(image, cell(1, 4), lime) > 5);
    QVERIFY(Near(image.pixelColor(cell(1, 4).topLeft() + QPoint(1, 1)), highlight));
    QVERIFY(Near(image.pixelColor(cell(1, 1).topLeft() + QPoint(1, 1)), highlight));
    QVERIFY(CountColour(image, cell(1, 1), white) > 5);
    QCOMPARE(CountColour(image, cell(4, 3), red), 0);
    QCOMPARE(CountColour(image, cell(4, 3), lime), 0);

    // On the best sector row the cursor keeps the red background, with white text.
    grid->setCurrentRow(4);
    image = paint();
    QVERIFY(Near(image.pixelColor(cell(4, 5).topLeft() + QPoint(1, 1)), red));
    QVERIFY(CountColour(image, cell(4, 5), white) > 5);

    // No marks in the all-stages mode.
    table.Disp.AllStages = true;
    grid->setMarks(table.Disp);
    image = paint();
    QCOMPARE(CountColour(image, image.rect(), red), 0);
    QCOMPARE(CountColour(image, image.rect(), lime), 0);
}

void TestRunsGrid::CellTextAlignment() {
    Table table(3);
    auto grid = ShownGrid();
    grid->setSectionWidths({60, 120, 0, 90, 60, 60, 0, 0, 0, 0, 0, 0});
    grid->setSnapshot(table.Snap(1), table.Disp);
    QCoreApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const QColor base = grid->palette().color(QPalette::Active, QPalette::Base);
    QCOMPARE(grid->rowHeight(1), RunsGrid::RowHeight + 1);

    // A time cell: the text ends 2 pixels left of the cell's right edge, 2 pixels below its top.
    const QRect time = grid->visualRect(grid->model()->index(2, 3));
    const QRect timeInk = InkBounds(image, time, base);
    QVERIFY(!timeInk.isEmpty());
    const int rightEnd = time.left() + time.width(); // first pixel right of the cell
    QVERIFY2(timeInk.right() <= rightEnd - 3 && timeInk.right() >= rightEnd - 5,
             qPrintable(QStringLiteral("ink ends at %1, cell ends at %2").arg(timeInk.right()).arg(rightEnd)));
    QVERIFY(timeInk.top() >= time.top() + 2);
    QVERIFY(timeInk.left() > time.left() + time.width() / 3);

    // Other cells: centred.
    const QRect car = grid->visualRect(grid->model()->index(2, 1));
    const QRect carInk = InkBounds(image, car, base);
    QVERIFY(!carInk.isEmpty());
    const int leftGap = carInk.left() - car.left();
    const int rightGap = car.right() - carInk.right();
    QVERIFY2(std::abs(leftGap - rightGap) <= 3, qPrintable(QStringLiteral("%1 / %2").arg(leftGap).arg(rightGap)));
}

void TestRunsGrid::RowSelectOption() {
    Table table(5);
    auto grid = ShownGrid();
    grid->setSectionWidths({35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0});
    grid->setSnapshot(table.Snap(3), table.Disp);
    QVERIFY(grid->rowSelect());
    QVERIFY(grid->showGrid());
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), ColumnCount);
    QSignalSpy clicks(grid.get(), &RunsGrid::cursorMoved);
    grid->setRowSelect(false);
    QVERIFY(!grid->rowSelect());
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(grid->selectionModel()->selectedIndexes().first().row(), 2);
    // Hiding the column of the current cell moves the cell to a shown column of the same row.
    const int column = grid->currentIndex().column();
    grid->columnMenu()->actions()[column]->trigger();
    QVERIFY(!grid->columnHeader()->isSectionHidden(grid->currentIndex().column()));
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(grid->currentIndex().row(), 2);
    grid->setRowSelect(true);
    QCOMPARE(grid->selectionModel()->selectedIndexes().size(), ColumnCount);
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(clicks.size(), 0);
}

QTEST_MAIN(TestRunsGrid)
#include "tst_RunsGrid.moc"
