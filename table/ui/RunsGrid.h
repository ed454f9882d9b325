#pragma once
// Grid1, the runs table of the main window, with its header CGrid1 and its popup menu
// PopupMenu1.
//
// How the window uses it:
//  - content: after every fill, SetSnapshot(snapshot, v.Disp). The snapshot's SelCur becomes
//    the current row without emitting Grid1Click. After a cursor move outside the relative
//    mode (no new snapshot) nothing needs to be passed; SetMarks repaints new best-time rows.
//  - signals: Grid1Click(row) whenever the current row changes by mouse, keyboard, wheel or
//    SetCurrentRow (row 1-based, the new SelCur); CGrid1SectionClick(column) for a left click
//    on a header section (sort by it).
//  - settings: SectionWidths / SetSectionWidths ("HSW0".."HSW11", 0 = hidden), CurrentRow /
//    SetCurrentRow ("PrCur"), TopRow / SetTopRow ("PosTableTop", after the first snapshot),
//    RowSelect / SetRowSelect ("GridStrSel").
//  - keys the grid does not use (Delete among them) go on to the parent window.
//
// Rows: view row r - 1 shows table row r (1..SelCount); there is no fixed row, the header
// is the view's own, so header and columns always scroll together and scrolling changes no
// width. A row is RowHeight pixels high plus one pixel of grid line, a column one pixel
// narrower than its section.

#include "table/CellText.h"
#include "table/DisplayState.h"

#include <QTableView>
#include <array>

class QMenu;
class QAction;

namespace kel {

class RunsTableModel;
class RunsGridDelegate;

class RunsGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int Sections = 12;
    static constexpr int RowHeight = 15;    // cell height without the grid line
    static constexpr int HeaderHeight = 17;
    static constexpr int FitLimit = 200;    // widest fitted column, and the drag limit after the settings
    static constexpr std::array<int, Sections> DesignWidths{41, 100, 45, 60, 60, 60, 100, 50, 50, 50, 50, 50};
    static constexpr std::array<int, Sections> DesignMaxWidths{100, 200, 100, 100, 100, 100,
                                                               100, 100, 100, 100, 100, 10000};

    explicit RunsGrid(QWidget* parent = nullptr);
    ~RunsGrid() override;

    // "MS Sans Serif" 8 pt bold, or a close sans-serif of the same pixel height where missing.
    static QFont GridFont();

    // ---- content
    void SetSnapshot(TableSnapshot snap, const DisplayState& disp);
    void SetMarks(const DisplayState& disp); // best-time rows and the all-stages mode
    RunsTableModel* RunsModel() const { return m_model; }
    int RowCount() const;

    // ---- controls
    QHeaderView* CGrid1() const { return horizontalHeader(); }
    QMenu* PopupMenu1() const { return m_menu; }

    // ---- columns
    int SectionWidth(int section) const; // 0 when hidden
    int SectionMaxWidth(int section) const { return m_maxWidths.at(section); }
    std::array<int, Sections> SectionWidths() const;
    // Widths as restored from the settings: each limited to its design maximum; 0 hides the
    // column. Afterwards a shown column can be dragged up to 200, a hidden one not at all.
    void SetSectionWidths(const std::array<int, Sections>& widths);
    // Fits a column to its widest cell text plus two spaces, in the grid font, at most 200.
    void ResizeToWidText(int column);
    // Checks the menu item of every shown column (run before the menu opens).
    void PopupMenu1Popup();
    // A menu item was triggered (Qt has already reversed its check mark).
    void N0Click(QAction* item);

    // ---- cursor and scrolling
    int CurrentRow() const; // 1-based; the last snapshot's SelCur while the table is empty
    void SetCurrentRow(int row);
    int TopRow() const; // 1-based row at the top of the view; 1 when empty
    void SetTopRow(int row);
    int VisibleRowCount() const; // fully visible rows, at least 1
    bool RowSelect() const;
    void SetRowSelect(bool on);
    // One wheel notch.
    void Grid1MouseWheelDown();
    void Grid1MouseWheelUp();

signals:
    void Grid1Click(int row);
    void CGrid1SectionClick(int column);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyboardSearch(const QString& search) override;

private:
    int CursorInView() const; // the cursor row, or the top row when it is scrolled out of view
    void CGrid1SectionResize(int section, int oldWidth, int newWidth);
    void SetCurrentRowSilently(int row);
    int CurrentColumn() const;
    void ShowSection(int section, int width);
    void HideSection(int section);

    RunsTableModel* m_model = nullptr;
    RunsGridDelegate* m_delegate = nullptr;
    QMenu* m_menu = nullptr;
    std::array<int, Sections> m_maxWidths = DesignMaxWidths;
    int m_cur = 1;              // SelCur as the grid knows it
    int m_wheelDelta = 0;       // partial notches of high-resolution wheels
    bool m_silent = false;      // current row set by the program without Grid1Click
    bool m_ownResize = false;   // section widths set by the program, not dragged
};

} // namespace kel
