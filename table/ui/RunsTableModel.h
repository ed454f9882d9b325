#pragma once
// The runs table as an item model: one row per selection entry, fourteen columns, cell texts
// asked from the core when a cell is shown. Nothing is stored per cell, so a refresh costs the
// same for ten rows and for a hundred thousand.

#include "table/CellText.h"

#include <QAbstractTableModel>
#include <string>

namespace kel {

class RunsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RunsTableModel(QObject* parent = nullptr);

    // data() of this role: the run number (RunNo) of the row's run.
    static constexpr int RunNoRole = Qt::UserRole + 1;

    // Shows `snap` (its RunData and SelectionState must outlive it or the next snapshot).
    // Same row count: the cells are reported changed and the view keeps its current row,
    // selection and scroll position; otherwise the model is reset.
    void setSnapshot(TableSnapshot snap);
    const TableSnapshot& snapshot() const { return m_snap; }

    // Text of table row `row` (1..RowCount) and column 0..13; empty outside the table.
    QString cellText(int row, int column) const;
    // The same text as UTF-8 bytes into `out`, reusing its storage.
    void cellTextUtf8(int row, int column, std::string& out) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void setSnapshotRows(TableSnapshot snap);
    bool rowValid(int row) const;

    TableSnapshot m_snap;
    mutable std::string m_text; // reused by data(): no allocation per painted cell
};

} // namespace kel
