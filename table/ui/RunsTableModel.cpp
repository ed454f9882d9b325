#include "table/ui/RunsTableModel.h"

#include "gui/QtText.h"
#include "gui/Translation.h"
#include "data/ValueTables.h"

namespace kel {

RunsTableModel::RunsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RunsTableModel::setSnapshot(TableSnapshot snap) {
    if (snap.RowCount < 0)
        snap.RowCount = 0;
    const bool captionsChange = snap.BySectors != m_snap.BySectors;
    setSnapshotRows(std::move(snap));
    if (captionsChange)
        emit headerDataChanged(Qt::Horizontal, 3, 5); // the time columns are named after sectors or splits
}

void RunsTableModel::setSnapshotRows(TableSnapshot snap) {
    if (snap.RowCount == m_snap.RowCount) {
        m_snap = std::move(snap);
        if (m_snap.RowCount > 0)
            emit dataChanged(index(0, 0), index(m_snap.RowCount - 1, ColumnCount - 1), {Qt::DisplayRole});
        return;
    }
    beginResetModel();
    m_snap = std::move(snap);
    endResetModel();
}

// The selection may be rebuilt by the window before the next snapshot arrives (a message box
// in between runs the event loop and may paint), so a row is also checked against the
// selection itself, not only against the row count of the snapshot.
bool RunsTableModel::rowValid(int row) const {
    return m_snap.Data && m_snap.Sel && row >= 1 && row <= m_snap.RowCount && row <= m_snap.Sel->SelCount &&
           static_cast<std::size_t>(row) < m_snap.Sel->Selection.size();
}

void RunsTableModel::cellTextUtf8(int row, int column, std::string& out) const {
    out.clear();
    if (rowValid(row) && column >= 0 && column < ColumnCount)
        kel::CellText(m_snap, row, column, out);
}

QString RunsTableModel::cellText(int row, int column) const {
    cellTextUtf8(row, column, m_text);
    return Q(m_text);
}

int RunsTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_snap.RowCount; }

int RunsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant RunsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row() + 1, index.column());
    case RunNoRole:
        return rowValid(index.row() + 1) ? m_snap.Sel->Selection[static_cast<std::size_t>(index.row() + 1)].RunNo : 0;
    case Qt::TextAlignmentRole:
        return index.column() >= 3 && index.column() <= 5 ? QVariant(Qt::AlignRight | Qt::AlignTop)
                                                           : QVariant(Qt::AlignHCenter | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant RunsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= ColumnCount)
            return {};
        if (role == Qt::DisplayRole)
            return Q(ColumnCaption(section, m_snap.BySectors, WindowLanguage()));
        if (role == Qt::TextAlignmentRole)
            return QVariant(Qt::AlignCenter);
        return {};
    }
    if (role == Qt::DisplayRole && section >= 0 && section < m_snap.RowCount)
        return section + 1;
    return {};
}

Qt::ItemFlags RunsTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kel
