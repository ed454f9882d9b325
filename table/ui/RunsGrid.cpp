#include "table/ui/RunsGrid.h"

#include "app/QtText.h"
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
#include <QStyleOptionHeader>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <string>
#include <unordered_set>

namespace kel {

namespace {
constexpr int WheelNotch = 120; // angleDelta of one notch of a classic wheel
constexpr int NotchRows = 2;

// A caption broken at spaces into lines no wider than `room`: greedily, at most two lines, the
// second cut with "…" if the rest does not fit.
QString WrapCaption(const QString& text, const QFontMetrics& metrics, int room) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString first;
    qsizetype used = 0;
    for (; used < words.size(); ++used) {
        const QString longer = first.isEmpty() ? words[used] : first + QLatin1Char(' ') + words[used];
        if (!first.isEmpty() && metrics.horizontalAdvance(longer) > room)
            break;
        first = longer;
    }
    const QString rest = words.mid(used).join(QLatin1Char(' '));
    first = metrics.elidedText(first, Qt::ElideRight, room);
    return rest.isEmpty() ? first : first + QLatin1Char('\n') + metrics.elidedText(rest, Qt::ElideRight, room);
}

// The header: a caption wider than its section wraps at spaces onto a second line.
class RunsHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

    int twoLineHeight() const { return RunsGrid::HeaderHeight + fontMetrics().lineSpacing(); }

    QString caption(int logicalIndex) const {
        return model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    }

    // What the style takes of a section of the given height besides the caption: margins and
    // the sort arrow, which may stand on any section and whose room grows with the height.
    int chrome(int logicalIndex, int height) const {
        QStyleOptionHeader option;
        initStyleOption(&option);
        QHeaderView::initStyleOptionForIndex(&option, logicalIndex);
        constexpr int Wide = 1000;
        option.rect = QRect(0, 0, Wide, height);
        option.sortIndicator = QStyleOptionHeader::SortDown;
        return Wide - style()->subElementRect(QStyle::SE_HeaderLabel, &option, this).width() + 1;
    }

    // The least section width that shows the caption whole on one line of a one-line header.
    int captionWidth(int logicalIndex) const {
        return fontMetrics().horizontalAdvance(caption(logicalIndex)) + chrome(logicalIndex, RunsGrid::HeaderHeight);
    }

    // The least section width that shows the caption's longest word, also on the taller header.
    int longestWordWidth(int logicalIndex) const {
        int widest = 0;
        for (const QString& word : caption(logicalIndex).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, fontMetrics().horizontalAdvance(word));
        return widest + chrome(logicalIndex, twoLineHeight());
    }

    // The header needs a second line while a shown caption does not fit on one.
    bool wraps(int logicalIndex) const {
        return !isSectionHidden(logicalIndex) && sectionSize(logicalIndex) > 0 &&
               sectionSize(logicalIndex) < captionWidth(logicalIndex);
    }

protected:
    // A caption wider than the room the style leaves it (at the header's height, with the
    // section's own sort arrow) is broken at spaces.
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        QStyleOptionHeader measured = *option;
        measured.rect = QRect(0, 0, sectionSize(logicalIndex), height());
        const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &measured, this).width();
        if (option->fontMetrics.horizontalAdvance(option->text) > room)
            option->text = WrapCaption(option->text, option->fontMetrics, room);
    }
};
} // namespace

QFont RunsGrid::gridFont() {
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
    setHorizontalHeader(new RunsHeader(Qt::Horizontal, this));
    setModel(m_model);
    setItemDelegate(m_delegate);
    setFont(gridFont());
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
    QFont captionFont = gridFont();
    captionFont.setBold(false);
    header->setFont(captionFont);
    header->setFixedHeight(HeaderHeight);
    header->setTextElideMode(Qt::ElideNone); // captions wrap instead (the style would cut both lines)
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
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, &RunsGrid::fitColumnToText);
    connect(header, &QHeaderView::sectionClicked, this, &RunsGrid::headerSectionClicked);
    connect(header, &QHeaderView::sectionResized, this, &RunsGrid::onSectionResized);
    for (int i = 0; i < Sections; ++i)
        showSection(i, DesignWidths[i]);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (int i = 0; i < Sections; ++i) {
        QAction* item = m_menu->addAction(Q(ColumnNames[i]));
        item->setObjectName(QStringLiteral("N%1").arg(i));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { onColumnMenuTriggered(item); });
    }
    m_menu->addSeparator();
    QAction* exportItem = m_menu->addAction(QStringLiteral("Экспорт таблицы в CSV…"));
    exportItem->setObjectName(QStringLiteral("ExportCsv"));
    exportItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportItem->setShortcutContext(Qt::WidgetShortcut);
    addAction(exportItem); // the shortcut works in the table, not only in the open menu
    connect(exportItem, &QAction::triggered, this, &RunsGrid::exportRequested);
    connect(m_menu, &QMenu::aboutToShow, this, &RunsGrid::updateColumnMenu);
}

RunsGrid::~RunsGrid() = default;

// ---- content --------------------------------------------------------------

void RunsGrid::setSnapshot(TableSnapshot snap, const DisplayState& disp) {
    setMarks(disp);
    const int selCur = snap.SelCur;
    m_model->setSnapshot(std::move(snap));
    widenNumberColumns();
    keepCaptionsWhole(); // the time columns' captions change with the by-sectors mode
    const int n = rowCount();
    if (n == 0) {
        m_cur = selCur;
        return;
    }
    setCurrentRowSilently(std::clamp(selCur, 1, n));
}

void RunsGrid::widenNumberColumns() {
    for (int column : {0, 3, 4, 5}) {
        int need = 0;
        for (const std::string& text : WidestNumberTexts(m_model->snapshot(), column))
            need = std::max(need, textWidth(Q(text)));
        m_numberWidths[column] = need;
        // A hidden column stays hidden; a wider width stays as it is.
        const int width = sectionWidth(column);
        if (width == 0 || width >= need)
            continue;
        m_maxWidths[column] = std::max(m_maxWidths[column], need);
        showSection(column, need);
    }
}

// A cell's text plus two spaces, the room every fitted column gives its texts.
int RunsGrid::textWidth(const QString& text) const {
    return QFontMetrics(font()).horizontalAdvance(text + QStringLiteral("  "));
}

int RunsGrid::captionWidth(int section) const {
    return static_cast<const RunsHeader*>(horizontalHeader())->captionWidth(section);
}

int RunsGrid::leastWidth(int section) const {
    return static_cast<const RunsHeader*>(horizontalHeader())->longestWordWidth(section);
}

bool RunsGrid::twoLineHeader() const {
    const auto* header = static_cast<const RunsHeader*>(horizontalHeader());
    for (int i = 0; i < Sections; ++i)
        if (header->wraps(i))
            return true;
    return false;
}

void RunsGrid::keepCaptionsWhole() {
    for (int i = 0; i < Sections; ++i) {
        const int width = sectionWidth(i);
        if (width != 0 && width < leastWidth(i)) {
            m_maxWidths[i] = std::max(m_maxWidths[i], leastWidth(i));
            showSection(i, leastWidth(i));
        }
    }
    updateHeaderHeight();
}

void RunsGrid::updateHeaderHeight() {
    auto* header = static_cast<RunsHeader*>(horizontalHeader());
    const int height = twoLineHeader() ? header->twoLineHeight() : HeaderHeight;
    if (header->height() == height)
        return;
    header->setFixedHeight(height);
    updateGeometries();
}

void RunsGrid::followAllStages(bool allStages) {
    if (m_stageByHand)
        return;
    if (!allStages) {
        m_maxWidths[StageColumn] = 0;
        hideSection(StageColumn);
    } else if (sectionWidth(StageColumn) == 0) {
        fitColumnToText(StageColumn);
    }
}

void RunsGrid::setMarks(const DisplayState& disp) {
    m_delegate->setMarks(disp.BestTimeRow, disp.BestSectorRow, disp.AllStages);
    viewport()->update();
}

void RunsGrid::setNewRuns(int first, int last) {
    if (first == m_delegate->firstNewRun() && last == m_delegate->lastNewRun())
        return;
    m_delegate->setNewRuns(first, last);
    viewport()->update();
}

bool RunsGrid::newRunMarked(int runNo) const {
    return m_delegate->firstNewRun() > 0 && runNo >= m_delegate->firstNewRun() && runNo <= m_delegate->lastNewRun();
}

int RunsGrid::rowCount() const { return m_model->rowCount(); }

// ---- columns --------------------------------------------------------------

void RunsGrid::showSection(int section, int width) {
    const QScopedValueRollback own(m_ownResize, true);
    QHeaderView* header = horizontalHeader();
    if (header->isSectionHidden(section))
        header->showSection(section);
    header->resizeSection(section, width);
    updateHeaderHeight();
}

void RunsGrid::hideSection(int section) {
    const QScopedValueRollback own(m_ownResize, true);
    horizontalHeader()->hideSection(section);
    updateHeaderHeight();
    // Without row selection the current cell would vanish with its column.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() == section) {
        const QScopedValueRollback silent(m_silent, true);
        setCurrentIndex(m_model->index(current.row(), currentColumn()));
    }
}

int RunsGrid::sectionWidth(int section) const {
    const QHeaderView* header = horizontalHeader();
    return header->isSectionHidden(section) ? 0 : header->sectionSize(section);
}

std::array<int, RunsGrid::Sections> RunsGrid::sectionWidths() const {
    std::array<int, Sections> widths{};
    for (int i = 0; i < Sections; ++i)
        widths[i] = sectionWidth(i);
    return widths;
}

void RunsGrid::setSectionWidths(const std::array<int, Sections>& widths) {
    for (int i = 0; i < Sections; ++i) {
        int width = std::clamp(widths[i], 0, DesignMaxWidths[i]);
        if (width != 0)
            width = std::max(width, leastWidth(i)); // a caption is never cut to a letter
        m_maxWidths[i] = width != 0 ? FitLimit : 0;
        if (width != 0)
            showSection(i, width);
        else
            hideSection(i);
    }
}

// A width the user drags; widths set by the program pass through showSection.
void RunsGrid::onSectionResized(int section, int /*oldWidth*/, int newWidth) {
    if (m_ownResize || section < 0 || section >= Sections)
        return;
    const int least = std::max(m_numberWidths[section], leastWidth(section));
    if (newWidth == 0) {
        // Dragged shut: the column stays hidden until the menu shows it again.
        m_maxWidths[section] = 0;
        hideSection(section);
        if (section == StageColumn)
            m_stageByHand = true;
    } else if (newWidth < least) {
        // Numbers and caption words are never cut: a column is as narrow as the widest of them.
        showSection(section, least);
    } else if (newWidth > m_maxWidths[section]) {
        if (m_maxWidths[section] == 0)
            hideSection(section);
        else
            showSection(section, m_maxWidths[section]);
    } else {
        updateHeaderHeight();
    }
}

void RunsGrid::fitColumnToText(int column) {
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
    const int n = rowCount();
    for (int row = 1; row <= n && width < FitLimit; ++row) {
        m_model->cellTextUtf8(row, column, text);
        if (sameDigits)
            for (char& ch : text)
                if (ch >= '1' && ch <= '9')
                    ch = '0';
        if (!measured.insert(text).second)
            continue;
        const QString cell = Q(text) + spaces;
        width = std::max(width, metrics.horizontalAdvance(cell));
    }
    width = std::max({std::min(width, FitLimit), m_numberWidths[column], leastWidth(column)});
    m_maxWidths[column] = std::max(FitLimit, width);
    showSection(column, width);
}

// ---- ordering shown in the header ------------------------------------------

void RunsGrid::showSortIndicator(int column, bool ascending) {
    QHeaderView* header = horizontalHeader();
    header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
}

void RunsGrid::hideSortIndicator() { horizontalHeader()->setSortIndicatorShown(false); }

bool RunsGrid::sortIndicatorShown() const { return horizontalHeader()->isSortIndicatorShown(); }

std::vector<int> RunsGrid::shownColumns() const {
    std::vector<int> columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < Sections; ++visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column))
            columns.push_back(column);
    }
    return columns;
}

std::vector<std::string> RunsGrid::shownCaptions() const {
    std::vector<std::string> captions;
    for (int column : shownColumns())
        captions.push_back(m_model->headerData(column, Qt::Horizontal).toString().toStdString());
    return captions;
}

void RunsGrid::updateColumnMenu() {
    const QList<QAction*> items = m_menu->actions();
    for (int i = 0; i < Sections && i < items.size(); ++i) {
        items[i]->setText(m_model->headerData(i, Qt::Horizontal).toString());
        items[i]->setChecked(sectionWidth(i) != 0);
    }
}

void RunsGrid::onColumnMenuTriggered(QAction* item) {
    const int column = static_cast<int>(m_menu->actions().indexOf(item));
    if (column < 0 || column >= Sections)
        return;
    if (column == StageColumn)
        m_stageByHand = true;
    if (item->isChecked()) {
        fitColumnToText(column);
    } else {
        m_maxWidths[column] = 0;
        hideSection(column);
    }
}

// ---- cursor ---------------------------------------------------------------

int RunsGrid::currentRow() const { return m_cur; }

int RunsGrid::currentColumn() const {
    const QHeaderView* header = horizontalHeader();
    const QModelIndex current = currentIndex();
    if (current.isValid() && !header->isSectionHidden(current.column()))
        return current.column();
    for (int i = 0; i < Sections; ++i)
        if (!header->isSectionHidden(i))
            return i;
    return 0;
}

void RunsGrid::setCurrentRow(int row) {
    const int n = rowCount();
    if (n == 0) {
        m_cur = row;
        return;
    }
    setCurrentIndex(m_model->index(std::clamp(row, 1, n) - 1, currentColumn()));
}

void RunsGrid::setCurrentRowSilently(int row) {
    const QScopedValueRollback silent(m_silent, true);
    setCurrentRow(row);
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
        emit cursorMoved(row);
}

int RunsGrid::topRow() const { return rowCount() == 0 ? 1 : verticalScrollBar()->value() + 1; }

void RunsGrid::setTopRow(int row) {
    const int n = rowCount();
    if (n == 0)
        return;
    executeDelayedItemsLayout(); // the scroll range must know the current row count
    verticalScrollBar()->setValue(std::clamp(row, 1, n) - 1);
}

int RunsGrid::visibleRowCount() const { return std::max(1, viewport()->height() / (RowHeight + 1)); }

bool RunsGrid::rowSelect() const { return selectionBehavior() == SelectRows; }

void RunsGrid::setRowSelect(bool on) {
    setSelectionBehavior(on ? SelectRows : SelectItems);
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const QScopedValueRollback silent(m_silent, true);
        setCurrentIndex(current); // selects the row or only the cell by the new rule
    }
    viewport()->update();
}

int RunsGrid::cursorInView() const {
    // A cursor scrolled out of view first comes to the top row.
    const int top = topRow();
    const int last = top + visibleRowCount() - 1;
    return m_cur < top || m_cur > last ? top : m_cur;
}

void RunsGrid::scrollOneNotchDown() {
    const int n = rowCount();
    if (n == 0)
        return;
    const int top = topRow();
    const int last = top + visibleRowCount() - 1;
    const int cur = std::min(cursorInView() + NotchRows, n);
    if (cur > last)
        setTopRow(top + 1);
    setCurrentRow(cur);
}

void RunsGrid::scrollOneNotchUp() {
    if (rowCount() == 0)
        return;
    int cur = cursorInView() - NotchRows;
    if (cur <= 1) {
        cur = 1;
        setTopRow(1);
    }
    setCurrentRow(cur);
    if (cur < topRow())
        setTopRow(topRow() - 1);
    setCurrentRow(cur);
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
        scrollOneNotchUp();
    }
    while (m_wheelDelta <= -WheelNotch) {
        m_wheelDelta += WheelNotch;
        scrollOneNotchDown();
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
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::ContextMenu) {
            contextMenuEvent(static_cast<QContextMenuEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::ToolTip)
            return showCaptionTip(static_cast<QHelpEvent*>(event));
    }
    return QTableView::eventFilter(watched, event);
}

// A caption wrapped by a narrow column shows whole as a tip.
bool RunsGrid::showCaptionTip(QHelpEvent* event) {
    const QHeaderView* header = horizontalHeader();
    const int section = header->logicalIndexAt(event->pos());
    if (section >= 0 && captionWidth(section) > header->sectionSize(section))
        QToolTip::showText(event->globalPos(), m_model->headerData(section, Qt::Horizontal).toString(),
                           header->viewport());
    else
        QToolTip::hideText();
    return true;
}

// A name cut by a narrow column shows whole as a tip.
bool RunsGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.isValid() ? m_model->cellText(index.row() + 1, index.column()) : QString();
    if (!text.isEmpty() && RunsGridDelegate::isElided(QFontMetrics(font()), text, columnWidth(index.column()) - 1))
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

// Typing must not jump to a matching row: that would scan the whole model.
void RunsGrid::keyboardSearch(const QString&) {}

} // namespace kel
