#pragma once
// The bests table: one row per car, class or profile, with the texts the core gives.

#include "progress/ProgressFigures.h"
#include "progress/ProgressTexts.h"

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <vector>

namespace kel {

class BestsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BestsTableModel(QObject* parent = nullptr);

    // The rows in the order shown; texts from `data`, run numbers by `mode`.
    void setRows(std::vector<BestsRow> rows, const RunData& data, ProgressGrouping grouping, NumberMode mode,
                 const Conventions& conv);
    const std::vector<BestsRow>& rows() const { return m_rows; }
    // The row of this group (GroupIdx) gets a marked background: the newest run's group; -1 none.
    void setMarkedGroup(int group);
    int markedGroup() const { return m_markedGroup; }
    ProgressGrouping grouping() const { return m_grouping; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<BestsRow> m_rows;
    std::vector<std::array<QString, BestsColumnCount>> m_texts;
    ProgressGrouping m_grouping = ProgressGrouping::Car;
    int m_markedGroup = -1;
};

} // namespace kel
