#include "table/ui/RunsGrid.h"

#include "data/ValueTables.h"
#include "table/ui/RunsGridDelegate.h"
#include "table/ui/RunsTableModel.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <string>
#include <unordered_set>

namespace kel {

namespace {
constexpr int WheelNotch = 120; // angleDelta of one notch of a classic wheel
constexpr int NotchRows = 2;
} // namespace

QFont RunsGrid::GridFont() {
    QFont font;
    // The 11-pixel height keeps the text inside the 15-pixel rows whatever the substitute.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(true);
    // Unkerned like the classic grid's text output; it also lets the fitting measure times by
    // their pattern of digits only.
    font.setKerning(false);
    return font;
}

RunsGrid::RunsGrid(QWidget* parent)
    : QTableView(parent), m_model(new RunsTableModel(this)), m_delegate(new RunsGridDelegate(this)) {
    setObjectName(QStringLiteral("Grid1"));
    setModel(m_model);
    setItemDelegate(m_delegate);
    setFont(GridFont());
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(ScrollPerItem); // TopRow reads the scroll bar as a row index
    setHorizontalScrollMode(ScrollPerItem);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(RowHeight + 1);

    QHeaderView* header = horizontalHeader();
    header->setObjectName(QStringLiteral("CGrid1"));
    QFont captionFont = GridFont();
    captionFont.setBold(false);
    header->setFont(captionFont);
    header->setFixedHeight(HeaderHeight);
    header->setMinimumSectionSize(0); // a section can be dragged shut
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMouseTracking(true);
    header->viewport()->setAttribute(Qt::WA_Hover, true);
    header->viewport()->setMouseTracking(true);
    header->viewport()->installEventFilter(this); // the menu also opens over the header
    // The view's own fitting would measure through the model's size hints; the divider
    // double-click fits by the grid's rule instead.
    disconnect(header, SIGNAL(sectionHandleDoubleClicked(int)), this, SLOT(resizeColumnToContents(int)));
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, &RunsGrid::ResizeToWidText);
    connect(header, &QHeaderView::sectionClicked, this, &RunsGrid::CGrid1SectionClick);
    connect(header, &QHeaderView::sectionResized, this, &RunsGrid::CGrid1SectionResize);
    for (int i = 0; i < Sections; ++i)
        ShowSection(i, DesignWidths[i]);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (int i = 0; i < Sections; ++i) {
        QAction* item = m_menu->addAction(
            QString::fromUtf8(ColumnNames[i].data(), static_cast<qsizetype>(ColumnNames[i].size())));
        item->setObjectName(QStringLiteral("N%1").arg(i));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { N0Click(item); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &RunsGrid::PopupMenu1Popup);
}

RunsGrid::~RunsGrid() = default;

// ---- content --------------------------------------------------------------

void RunsGrid::SetSnapshot(TableSnapshot snap, const DisplayState& disp) {
    SetMarks(disp);
    const int selCur = snap.SelCur;
    m_model->SetSnapshot(std::move(snap));
    const int n = RowCount();
    if (n == 0) {
        m_cur = selCur;
        return;
    }
    SetCurrentRowSilently(std::clamp(selCur, 1, n));
}

void RunsGrid::SetMarks(const DisplayState& disp) {
    m_delegate->SetMarks(disp.BestTimeRow, disp.BestSectorRow, disp.AllStages);
    viewport()->update();
}

int RunsGrid::RowCount() const { return m_model->rowCount(); }

// ---- columns --------------------------------------------------------------

void RunsGrid::ShowSection(int section, int width) {
    const QScopedValueRollback own(m_ownResize, true);
    QHeaderView* header = horizontalHeader();
    if (header->isSectionHidden(section))
        header->showSection(section);
    header->resizeSection(section, width);
}

void RunsGrid::HideSection(int section) {
    const QScopedValueRollback own(m_ownResize, true);
    horizontalHeader()->hideSection(section);
    // Without row selection the current cell would vanish with its column.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() == section) {
        const QScopedValueRollback silent(m_silent, true);
        setCurrentIndex(m_model->index(current.row(), CurrentColumn()));
    }
}

int RunsGrid::SectionWidth(int section) const {
    const QHeaderView* header = horizontalHeader();
    return header->isSectionHidden(section) ? 0 : header->sectionSize(section);
}

std::array<int, RunsGrid::Sections> RunsGrid::SectionWidths() const {
    std::array<int, Sections> widths{};
    for (int i = 0; i < Sections; ++i)
        widths[i] = SectionWidth(i);
    return widths;
}

void RunsGrid::SetSectionWidths(const std::array<int, Sections>& widths) {
    for (int i = 0; i < Sections; ++i) {
        const int width = std::clamp(widths[i], 0, DesignMaxWidths[i]);
        m_maxWidths[i] = width != 0 ? FitLimit : 0;
        if (width != 0)
            ShowSection(i, width);
        else
            HideSection(i);
    }
}

// CGrid1SectionResize: a width the user drags; program widths pass through ShowSection.
void RunsGrid::CGrid1SectionResize(int section, int /*oldWidth*/, int newWidth) {
    if (m_ownResize || section < 0 || section >= Sections)
        return;
    if (newWidth == 0) {
        // Dragged shut: the column stays hidden until the menu shows it again.
        m_maxWidths[section] = 0;
        HideSection(section);
    } else if (newWidth > m_maxWidths[section]) {
        if (m_maxWidths[section] == 0)
            HideSection(section);
        else
            ShowSection(section, m_maxWidths[section]);
    }
}

void RunsGrid::ResizeToWidText(int column) {
    if (column < 0 || column >= Sections)
        return;
    const QFontMetrics metrics(font());
    const QString spaces = QStringLiteral("  ");
    // The row past the last one reads as an empty text, so an empty table gets two spaces.
    int width = metrics.horizontalAdvance(spaces);
    // Repeated texts (cars, conditions, profiles) are measured once; nothing can exceed the
    // limit, so the scan stops there. When all digits are equally wide and nothing is kerned,
    // texts that differ only in their digits are equally wide too, so times and numbers are
    // measured once per pattern.
    bool sameDigits = !font().kerning();
    for (char digit = '1'; digit <= '9' && sameDigits; ++digit)
        sameDigits = metrics.horizontalAdvance(QLatin1Char(digit)) == metrics.horizontalAdvance(QLatin1Char('0'));
    std::unordered_set<std::string> measured;
    std::string text;
    const int n = RowCount();
    for (int row = 1; row <= n && width < FitLimit; ++row) {
        m_model->CellTextUtf8(row, column, text);
        if (sameDigits)
            for (char& ch : text)
                if (ch >= '1' && ch <= '9')
                    ch = '0';
        if (!measured.insert(text).second)
            continue;
        const QString cell = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())) + spaces;
        width = std::max(width, metrics.horizontalAdvance(cell));
    }
    m_maxWidths[column] = FitLimit;
    ShowSection(column, std::min(width, FitLimit));
}

void RunsGrid::PopupMenu1Popup() {
    const QList<QAction*> items = m_menu->actions();
    for (int i = 0; i < Sections && i < items.size(); ++i)
        items[i]->setChecked(SectionWidth(i) != 0);
}

void RunsGrid::N0Click(QAction* item) {
    const int column = static_cast<int>(m_menu->actions().indexOf(item));
    if (column < 0 || column >= Sections)
        return;
    if (item->isChecked()) {
        ResizeToWidText(column);
    } else {
        m_maxWidths[column] = 0;
        HideSection(column);
    }
}

// ---- cursor ---------------------------------------------------------------

int RunsGrid::CurrentRow() const { return m_cur; }

int RunsGrid::CurrentColumn() const {
    const QHeaderView* header = horizontalHeader();
    const QModelIndex current = currentIndex();
    if (current.isValid() && !header->isSectionHidden(current.column()))
        return current.column();
    for (int i = 0; i < Sections; ++i)
        if (!header->isSectionHidden(i))
            return i;
    return 0;
}

void RunsGrid::SetCurrentRow(int row) {
    const int n = RowCount();
    if (n == 0) {
        m_cur = row;
        return;
    }
    setCurrentIndex(m_model->index(std::clamp(row, 1, n) - 1, CurrentColumn()));
}

void RunsGrid::SetCurrentRowSilently(int row) {
    const QScopedValueRollback silent(m_silent, true);
    SetCurrentRow(row);
    m_cur = row;
}

void RunsGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous); // keeps the current row in view
    if (!current.isValid())
        return;
    const int row = current.row() + 1;
    if (row == m_cur)
        return;
    m_cur = row;
    if (!m_silent)
        emit Grid1Click(row);
}

int RunsGrid::TopRow() const { return RowCount() == 0 ? 1 : verticalScrollBar()->value() + 1; }

void RunsGrid::SetTopRow(int row) {
    const int n = RowCount();
    if (n == 0)
        return;
    executeDelayedItemsLayout(); // the scroll range must know the current row count
    verticalScrollBar()->setValue(std::clamp(row, 1, n) - 1);
}

int RunsGrid::VisibleRowCount() const { return std::max(1, viewport()->height() / (RowHeight + 1)); }

bool RunsGrid::RowSelect() const { return selectionBehavior() == SelectRows; }

void RunsGrid::SetRowSelect(bool on) {
    setSelectionBehavior(on ? SelectRows : SelectItems);
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const QScopedValueRollback silent(m_silent, true);
        setCurrentIndex(current); // selects the row or only the cell by the new rule
    }
    viewport()->update();
}

int RunsGrid::CursorInView() const {
    // A cursor scrolled out of view first comes to the top row.
    const int top = TopRow();
    const int last = top + VisibleRowCount() - 1;
    return m_cur < top || m_cur > last ? top : m_cur;
}

void RunsGrid::Grid1MouseWheelDown() {
    const int n = RowCount();
    if (n == 0)
        return;
    const int top = TopRow();
    const int last = top + VisibleRowCount() - 1;
    const int cur = std::min(CursorInView() + NotchRows, n);
    if (cur > last)
        SetTopRow(top + 1);
    SetCurrentRow(cur);
}

void RunsGrid::Grid1MouseWheelUp() {
    if (RowCount() == 0)
        return;
    int cur = CursorInView() - NotchRows;
    if (cur <= 1) {
        cur = 1;
        SetTopRow(1);
    }
    SetCurrentRow(cur);
    if (cur < TopRow())
        SetTopRow(TopRow() - 1);
    SetCurrentRow(cur);
}

void RunsGrid::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) { // a sideways wheel still scrolls the columns
        QTableView::wheelEvent(event);
        return;
    }
    event->accept();
    if (m_wheelDelta != 0 && (m_wheelDelta > 0) != (delta > 0))
        m_wheelDelta = 0;
    m_wheelDelta += delta;
    while (m_wheelDelta >= WheelNotch) {
        m_wheelDelta -= WheelNotch;
        Grid1MouseWheelUp();
    }
    while (m_wheelDelta <= -WheelNotch) {
        m_wheelDelta += WheelNotch;
        Grid1MouseWheelDown();
    }
}

void RunsGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        event->ignore(); // the window answers it
        return;
    }
    QTableView::keyPressEvent(event);
}

void RunsGrid::contextMenuEvent(QContextMenuEvent* event) {
    m_menu->popup(event->globalPos());
    event->accept();
}

bool RunsGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::ContextMenu) {
        contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

// Typing must not jump to a matching row: that would scan the whole model.
void RunsGrid::keyboardSearch(const QString&) {}

} // namespace kel
