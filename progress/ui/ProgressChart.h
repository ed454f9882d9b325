#pragma once
// The progress chart: one point per run (date, finish), coloured by the grouping, the best-so-far step
// line over them with the new bests marked; tooltips, a click on a point names its run,
// rubber-band zoom, a right click or double click resets the zoom.
//
// Qt Charts gives the frame: axes, grid, legend, zoom. The runs themselves are drawn by one
// item over the plot area, from small pre-drawn dots: a stage may hold tens of thousands of
// runs, more than chart series draw quickly.

#include "data/Conventions.h"
#include "progress/ProgressFigures.h"
#include "table/DisplayState.h"

#include <QChartView>
#include <QPointF>
#include <string>
#include <vector>

class QCategoryAxis;
class QLabel;
class QLineSeries;

namespace kel {

class ProgressPlotItem;

class ProgressChartView : public QChartView {
    Q_OBJECT
public:
    explicit ProgressChartView(QWidget* parent = nullptr);

    // Shows the points of `f`; names come from `data` (which must outlive the chart), tooltips
    // number runs by `mode`. The zoom is reset.
    void setFigures(const ProgressFigures& f, const RunData& data, NumberMode mode, const Conventions& conv);
    void setNumberMode(NumberMode mode) { m_mode = mode; }
    void resetZoom();
    // A ring around the point of run `runNo` (RunNo), when the chart shows it; 0 for none.
    void setMarkedRun(int runNo);
    // The index of the ringed point, -1 for none.
    int markedPoint() const { return m_marked; }

    // The point nearest to `viewPos` (viewport coordinates) within a few pixels, or -1.
    int pointAt(const QPoint& viewPos) const;
    // Where point `index` is drawn, in viewport coordinates.
    QPoint pointPosition(int index) const;
    // The axes' tick labels as shown now.
    QStringList timeLabels() const;
    QStringList dateLabels() const;
    bool isZoomed() const;
    // The tip of the point under the pointer: shown while the pointer rests on a point.
    bool tipShown() const;
    QString tipText() const;

    // Chart coordinates of a (day count, seconds) value, for the plot item.
    QPointF toChart(const QPointF& value) const;

signals:
    void runClicked(int runNo);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateAxes();
    void showTip(int index, const QPoint& globalPos);
    void hideTip();

    QCategoryAxis* m_dateAxis = nullptr;
    QCategoryAxis* m_timeAxis = nullptr;
    QLineSeries* m_domain = nullptr; // two invisible corner points: zooming works on their domain
    ProgressPlotItem* m_plot = nullptr;
    ProgressFigures m_figures;
    std::vector<QPointF> m_values; // (start time in days, finish) of each point
    int m_markedRun = 0;
    int m_marked = -1;
    const RunData* m_data = nullptr;
    NumberMode m_mode = NumberMode::Unchecked;
    Conventions m_conv;
    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_updatingAxes = false;
    QLabel* m_tip = nullptr; // the point's tip window, made at the first tip
    int m_tipPoint = -1;     // the point it describes
};

} // namespace kel
