#pragma once
// The runs table of the main window, with its column header and the column menu that shows and
// hides columns.
//
// How the window uses it:
//  - content: after every fill, setSnapshot(snapshot, v.Disp). The snapshot's SelCur becomes
//    the current row without emitting cursorMoved. After a cursor move outside the relative
//    mode (no new snapshot) nothing needs to be passed; setMarks repaints new best-time rows.
//  - signals: cursorMoved(row) whenever the current row changes by mouse, keyboard, wheel or
//    setCurrentRow (row 1-based, the new SelCur); headerSectionClicked(column) for a left click
//    on a header section (sort by it).
//  - settings: sectionWidths / setSectionWidths ("HSW0".."HSW13", 0 = hidden), currentRow /
//    setCurrentRow ("PrCur"), topRow / setTopRow ("PosTableTop", after the first snapshot),
//    rowSelect / setRowSelect ("GridStrSel"), stageColumnByHand / setStageColumnByHand
//    ("TrackColByHand").
//  - the all-stages box: followAllStages after its new snapshot.
//  - object names: the view "Grid1", its header "CGrid1", the column menu "PopupMenu1" with the
//    items "N0".."N13".
//  - keys the grid does not use (Delete among them) go on to the parent window.
//  - export: the column menu's last item "Экспорт таблицы в CSV…" and Ctrl+E emit exportRequested.
//
// Rows: view row r - 1 shows table row r (1..SelCount); there is no fixed row, the header
// is the view's own, so header and columns always scroll together and scrolling changes no
// width. A row is RowHeight pixels high plus one pixel of grid line, a column one pixel
// narrower than its section. A shown column is at least as wide as its caption's longest word
// plus the sort arrow; a caption wider than its column wraps at spaces onto a second line, and
// the header is two lines high while a shown caption needs it.

#include "table/CellText.h"
#include "data/ValueTables.h"
#include "table/DisplayState.h"

#include <QTableView>
#include <array>
#include <string>
#include <vector>

class QMenu;
class QAction;
class QHelpEvent;

namespace kel {

class RunsTableModel;
class RunsGridDelegate;

class RunsGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int Sections = ColumnCount;
    static constexpr int RowHeight = 15;    // cell height without the grid line
    static constexpr int HeaderHeight = 17;
    static constexpr int FitLimit = 200;    // widest fitted column, and the drag limit after the settings
    static constexpr std::array<int, Sections> DesignWidths{41, 100, 45, 60, 60, 60, 100, 50, 50, 50, 50, 50, 100, 110};
    static constexpr std::array<int, Sections> DesignMaxWidths{100, 200, 100, 100, 100, 100, 100,
                                                               100, 100, 100, 100, 10000, 200, 200};

    explicit RunsGrid(QWidget* parent = nullptr);
    ~RunsGrid() override;

    // "MS Sans Serif" 8 pt bold, or a close sans-serif of the same pixel height where missing.
    static QFont gridFont();

    // ---- content
    void setSnapshot(TableSnapshot snap, const DisplayState& disp);
    void setMarks(const DisplayState& disp); // best-time rows and the all-stages mode
    // The rows of the runs numbered first..last (RunNo) are framed as new runs; 0, 0 clears.
    void setNewRuns(int first, int last);
    bool newRunMarked(int runNo) const;
    RunsTableModel* runsModel() const { return m_model; }
    int rowCount() const;

    // ---- controls
    QHeaderView* columnHeader() const { return horizontalHeader(); }
    QMenu* columnMenu() const { return m_menu; }

    // ---- columns
    int sectionWidth(int section) const; // 0 when hidden
    int sectionMaxWidth(int section) const { return m_maxWidths.at(section); }
    std::array<int, Sections> sectionWidths() const;
    // Widths as restored from the settings: each limited to its design maximum; 0 hides the
    // column. Afterwards a shown column can be dragged up to 200, a hidden one not at all.
    void setSectionWidths(const std::array<int, Sections>& widths);
    // Fits a column to its widest cell text plus two spaces, in the grid font, and at least to
    // its least width; at most 200 unless its numbers need more.
    void fitColumnToText(int column);
    // The least width that shows a column's caption whole on one line, with room for the sort arrow.
    int captionWidth(int section) const;
    // The least width of a shown column: its caption's longest word, with room for the sort arrow.
    int leastWidth(int section) const;
    // Whether the header is two lines high: some shown column is narrower than its caption.
    bool twoLineHeader() const;
    // The stage column is shown, fitted, while all stages are shown and hidden otherwise, until
    // the user shows or hides it (menu, or dragging it shut); from then on it stays as chosen.
    void followAllStages(bool allStages);
    bool stageColumnByHand() const { return m_stageByHand; }
    void setStageColumnByHand(bool byHand) { m_stageByHand = byHand; }
    // The width a column of numbers or times needs to show every cell whole (0 for the others).
    int numberWidth(int column) const { return m_numberWidths.at(column); }

    // ---- ordering shown in the header
    void showSortIndicator(int column, bool ascending);
    void hideSortIndicator();
    bool sortIndicatorShown() const;
    // The shown columns in their order, and their captions.
    std::vector<int> shownColumns() const;
    std::vector<std::string> shownCaptions() const;
    // Checks the menu item of every shown column (run before the menu opens).
    void updateColumnMenu();
    // A menu item was triggered (Qt has already reversed its check mark).
    void onColumnMenuTriggered(QAction* item);

    // ---- cursor and scrolling
    int currentRow() const; // 1-based; the last snapshot's SelCur while the table is empty
    void setCurrentRow(int row);
    int topRow() const; // 1-based row at the top of the view; 1 when empty
    void setTopRow(int row);
    int visibleRowCount() const; // fully visible rows, at least 1
    bool rowSelect() const;
    void setRowSelect(bool on);
    // One wheel notch.
    void scrollOneNotchDown();
    void scrollOneNotchUp();

signals:
    void cursorMoved(int row);
    void headerSectionClicked(int column);
    // The column menu's export item or Ctrl+E in the table.
    void exportRequested();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyboardSearch(const QString& search) override;
    bool viewportEvent(QEvent* event) override;

private:
    int cursorInView() const; // the cursor row, or the top row when it is scrolled out of view
    void onSectionResized(int section, int oldWidth, int newWidth);
    void setCurrentRowSilently(int row);
    int currentColumn() const;
    void showSection(int section, int width);
    void hideSection(int section);
    // Widens the shown columns of numbers and times whose widest text no longer fits.
    void widenNumberColumns();
    // Widens the shown columns narrower than their least width, then sets the header's height.
    void keepCaptionsWhole();
    void updateHeaderHeight();
    int textWidth(const QString& text) const;
    bool showCaptionTip(QHelpEvent* event);

    RunsTableModel* m_model = nullptr;
    RunsGridDelegate* m_delegate = nullptr;
    QMenu* m_menu = nullptr;
    std::array<int, Sections> m_maxWidths = DesignMaxWidths;
    std::array<int, Sections> m_numberWidths{}; // what the numbers of the last fill need
    int m_cur = 1;              // SelCur as the grid knows it
    int m_wheelDelta = 0;       // partial notches of high-resolution wheels
    bool m_silent = false;      // current row set by the program without cursorMoved
    bool m_ownResize = false;   // section widths set by the program, not dragged
    bool m_stageByHand = false; // the user showed or hid the stage column
};

} // namespace kel
