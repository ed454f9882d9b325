#include "progress/ui/BestsTableModel.h"

#include "gui/QtText.h"
#include "gui/Translation.h"

#include <QColor>

namespace kel {

BestsTableModel::BestsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void BestsTableModel::setRows(std::vector<BestsRow> rows, const RunData& data, ProgressGrouping grouping,
                              NumberMode mode, const Conventions& conv) {
    beginResetModel();
    m_rows = std::move(rows);
    m_grouping = grouping;
    m_texts.clear();
    m_texts.reserve(m_rows.size());
    for (const BestsRow& row : m_rows) {
        const auto texts = BestsRowTexts(row, data, grouping, mode, conv.DecimalSep, DateStyle::Display);
        auto& shown = m_texts.emplace_back();
        for (std::size_t k = 0; k < texts.size(); ++k)
            shown[k] = QString::fromStdString(texts[k]);
    }
    endResetModel();
}

void BestsTableModel::setMarkedGroup(int group) {
    if (group == m_markedGroup)
        return;
    m_markedGroup = group;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, BestsColumnCount - 1), {Qt::BackgroundRole});
}

int BestsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int BestsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : BestsColumnCount; }

QVariant BestsTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto& texts = m_texts[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return texts[static_cast<std::size_t>(index.column())];
    case Qt::BackgroundRole:
        return m_markedGroup >= 0 && m_rows[static_cast<std::size_t>(index.row())].GroupIdx == m_markedGroup
                   ? QVariant(QColor(255, 214, 153))
                   : QVariant();
    case Qt::ToolTipRole:
        return index.column() == BestsName ? texts[BestsName] : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(index.column() == BestsName ? Qt::AlignLeft | Qt::AlignVCenter
                                                               : Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BestsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= BestsColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const std::string_view text = role == Qt::DisplayRole ? BestsCaption(section, m_grouping, WindowLanguage())
                                                                : BestsHint(section, WindowLanguage());
        return Q(text);
    }
    return {};
}

} // namespace kel
