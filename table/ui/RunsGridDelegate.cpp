#include "table/ui/RunsGridDelegate.h"

#include "table/ui/RunsTableModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace kel {

RunsGridDelegate::RunsGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void RunsGridDelegate::setMarks(const std::array<int32_t, 4>& bestTimeRow, const std::array<int32_t, 4>& bestSectorRow,
                                bool allStages) {
    m_bestTimeRow = bestTimeRow;
    m_bestSectorRow = bestSectorRow;
    m_allStages = allStages;
}

void RunsGridDelegate::setNewRuns(int32_t first, int32_t last) {
    m_newFirst = first;
    m_newLast = last;
}

namespace {

// A 2-pixel frame around the whole row, drawn cell by cell: top and bottom edges in every cell,
// the sides in the first and the last shown column. Inside the cell, so the best-time colours
// stay visible in the middle.
void PaintNewRunFrame(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    static const QColor orange(255, 140, 0);
    const QRect cell = option.rect;
    painter->fillRect(QRect(cell.left(), cell.top(), cell.width(), 2), orange);
    painter->fillRect(QRect(cell.left(), cell.bottom() - 1, cell.width(), 2), orange);
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    if (!view)
        return;
    const QHeaderView* header = view->horizontalHeader();
    int first = -1, last = -1;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || header->sectionSize(logical) == 0)
            continue;
        if (first < 0)
            first = logical;
        last = logical;
    }
    if (index.column() == first)
        painter->fillRect(QRect(cell.left(), cell.top(), 2, cell.height()), orange);
    if (index.column() == last)
        painter->fillRect(QRect(cell.right() - 1, cell.top(), 2, cell.height()), orange);
}

} // namespace

void RunsGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int column = index.column();
    const int row = index.row() + 1;
    const bool timeColumn = column >= 3 && column <= 5;

    // The selection keeps the active colours also while the window is in the background.
    QColor background = option.palette.color(QPalette::Active, QPalette::Base);
    QColor text = option.palette.color(QPalette::Active, QPalette::Text);
    if (option.state & QStyle::State_Selected) {
        background = option.palette.color(QPalette::Active, QPalette::Highlight);
        text = QColor(255, 255, 255);
    }
    // The marks win over the selection, so the best cell of the cursor row stays marked.
    if (timeColumn && !m_allStages) {
        const int k = column - 2;
        if (row == m_bestSectorRow[k])
            background = QColor(255, 0, 0);
        if (row == m_bestTimeRow[k])
            text = QColor(0, 255, 0);
    }

    const QRect cell = option.rect;
    painter->save();
    painter->setClipRect(cell);
    painter->fillRect(cell, background);
    painter->setPen(text);
    painter->setFont(option.font);
    const QString value = index.data(Qt::DisplayRole).toString();
    if (timeColumn)
        painter->drawText(QRect(cell.left(), cell.top() + 2, cell.width() - 2, cell.height() - 2),
                          Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, value);
    else if (column == 0)
        painter->drawText(QRect(cell.left(), cell.top() + 2, cell.width(), cell.height() - 2),
                          Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, value);
    else // names keep their beginning; the end gives way to "…"
        painter->drawText(QRect(cell.left(), cell.top() + 2, cell.width(), cell.height() - 2),
                          Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(value, Qt::ElideRight, cell.width()));
    if (m_newFirst > 0) {
        const int runNo = index.data(RunsTableModel::RunNoRole).toInt();
        if (runNo >= m_newFirst && runNo <= m_newLast)
            PaintNewRunFrame(painter, option, index);
    }
    painter->restore();
}

bool RunsGridDelegate::isElided(const QFontMetrics& metrics, const QString& text, int cellWidth) {
    return metrics.elidedText(text, Qt::ElideRight, cellWidth) != text;
}

} // namespace kel
