#pragma once
// Painting of the runs table cells: alignment, selection colours and the best-time marks.

#include <QFontMetrics>
#include <QStyledItemDelegate>
#include <array>
#include <cstdint>

namespace kel {

class RunsGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RunsGridDelegate(QObject* parent = nullptr);

    // Table rows (1-based, index k = 1..3 for the columns 3..5) of the smallest cumulative time
    // and of the smallest sector time; `allStages` turns the marks off.
    void setMarks(const std::array<int32_t, 4>& bestTimeRow, const std::array<int32_t, 4>& bestSectorRow,
                  bool allStages);

    // The runs numbered first..last (RunNo) get an orange frame around their row; 0, 0 for none.
    void setNewRuns(int32_t first, int32_t last);
    int32_t firstNewRun() const { return m_newFirst; }
    int32_t lastNewRun() const { return m_newLast; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // True when a name does not fit a cell `cellWidth` wide and is painted with "…".
    static bool isElided(const QFontMetrics& metrics, const QString& text, int cellWidth);

private:
    std::array<int32_t, 4> m_bestTimeRow{};
    std::array<int32_t, 4> m_bestSectorRow{};
    bool m_allStages = false;
    int32_t m_newFirst = 0;
    int32_t m_newLast = 0;
};

} // namespace kel
