#include "progress/ui/ProgressChart.h"

#include "gui/QtText.h"
#include "gui/Translation.h"
#include "progress/ProgressTexts.h"

#include <QCategoryAxis>
#include <QGraphicsItem>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRubberBand>
#include <QScatterSeries>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kel {
namespace {

// Ten colours that stay apart from each other and from the grey of the other cars.
const std::array<QColor, ChartColourCount> GroupColours{
    QColor(31, 119, 180), QColor(255, 127, 14), QColor(44, 160, 44),  QColor(214, 39, 40),  QColor(148, 103, 189),
    QColor(140, 86, 75),  QColor(227, 119, 194), QColor(188, 189, 34), QColor(23, 190, 207), QColor(57, 59, 121)};
const QColor OtherGroupsColour(175, 175, 175);
const QColor BestLineColour(20, 20, 20);
const QColor NewBestColour(255, 196, 0);

constexpr int DotSize = 7;    // pixels across a run's dot
constexpr int StarSize = 15;  // pixels across a new best's star
constexpr int PickRadius = 7; // pixels around a point that still hit it

QColor ColourOf(int colour) {
    return colour >= 0 && colour < ChartColourCount ? GroupColours[static_cast<std::size_t>(colour)] : OtherGroupsColour;
}

QPainterPath Star(double size) {
    QPainterPath star;
    for (int k = 0; k < 10; ++k) {
        const double r = (k % 2 == 0 ? 0.5 : 0.22) * size;
        const double a = M_PI / 2 + k * M_PI / 5;
        const QPointF p(r * std::cos(a), -r * std::sin(a));
        if (k == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    star.closeSubpath();
    return star;
}

} // namespace

// The runs, the best-so-far line and the new-best stars, clipped to the plot area.
class ProgressPlotItem : public QGraphicsItem {
public:
    explicit ProgressPlotItem(ProgressChartView* view) : m_view(view) {
        setFlag(QGraphicsItem::ItemClipsToShape);
        setAcceptedMouseButtons(Qt::NoButton);
    }

    void setPoints(const std::vector<QPointF>* values, std::vector<int> colours, std::vector<QPointF> steps,
                   std::vector<QPointF> newBests) {
        m_values = values;
        m_colours = std::move(colours);
        m_steps = std::move(steps);
        m_newBests = std::move(newBests);
        update();
    }

    // The point to ring, -1 for none.
    void setRing(int index) {
        m_ring = index;
        update();
    }

    void areaChanged() {
        prepareGeometryChange();
        update();
    }

    QRectF boundingRect() const override { return m_view->chart()->plotArea(); }
    QPainterPath shape() const override {
        QPainterPath path;
        path.addRect(boundingRect());
        return path;
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget* widget) override {
        if (!m_values || m_values->empty())
            return;
        const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
        if (m_dots.empty() || m_dotRatio != ratio)
            drawDots(ratio);
        const QRectF area = boundingRect().adjusted(-DotSize, -DotSize, DotSize, DotSize);
        const double half = DotSize / 2.0;
        for (std::size_t i = 0; i < m_values->size(); ++i) {
            const QPointF at = m_view->toChart((*m_values)[i]);
            if (!area.contains(at))
                continue;
            const int colour = m_colours[i];
            painter->drawPixmap(QPointF(std::round(at.x() - half), std::round(at.y() - half)),
                                m_dots[static_cast<std::size_t>(colour >= 0 ? colour : ChartColourCount)]);
        }
        painter->setRenderHint(QPainter::Antialiasing);
        if (m_steps.size() > 1) {
            QPolygonF line;
            line.reserve(static_cast<qsizetype>(m_steps.size()));
            for (const QPointF& v : m_steps)
                line.append(m_view->toChart(v));
            painter->setPen(QPen(BestLineColour, 2));
            painter->drawPolyline(line);
        }
        static const QPainterPath star = Star(StarSize);
        painter->setPen(QPen(BestLineColour, 1));
        painter->setBrush(NewBestColour);
        for (const QPointF& v : m_newBests)
            painter->drawPath(star.translated(m_view->toChart(v)));
        if (m_ring >= 0 && static_cast<std::size_t>(m_ring) < m_values->size()) {
            // Orange as the frame of the new rows in the runs table, edged dark against dots of any colour.
            const QPointF at = m_view->toChart((*m_values)[static_cast<std::size_t>(m_ring)]);
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(QColor(60, 60, 60), 1));
            painter->drawEllipse(at, RingRadius + 1.75, RingRadius + 1.75);
            painter->setPen(QPen(QColor(255, 140, 0), 2.5));
            painter->drawEllipse(at, RingRadius, RingRadius);
        }
    }

private:
    void drawDots(qreal ratio) {
        m_dots.clear();
        m_dotRatio = ratio;
        for (int colour = 0; colour <= ChartColourCount; ++colour) {
            const QColor fill = ColourOf(colour < ChartColourCount ? colour : -1);
            QPixmap dot(static_cast<int>(std::ceil(DotSize * ratio)), static_cast<int>(std::ceil(DotSize * ratio)));
            dot.setDevicePixelRatio(ratio);
            dot.fill(Qt::transparent);
            QPainter p(&dot);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(fill.darker(140), 0.8));
            p.setBrush(fill);
            p.drawEllipse(QRectF(0.5, 0.5, DotSize - 1, DotSize - 1));
            m_dots.push_back(dot);
        }
    }

    ProgressChartView* m_view;
    const std::vector<QPointF>* m_values = nullptr;
    std::vector<int> m_colours;
    std::vector<QPointF> m_steps;
    std::vector<QPointF> m_newBests;
    static constexpr double RingRadius = 8;
    int m_ring = -1;
    std::vector<QPixmap> m_dots; // one per group colour, the last for the other groups
    qreal m_dotRatio = 0;
};

ProgressChartView::ProgressChartView(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("ProgressChart"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    viewport()->setMouseTracking(true);
    QChart* c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    c->legend()->setAlignment(Qt::AlignRight);
    c->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries); // dots, the line, the star
    c->legend()->setShowToolTips(true);
    QFont small = font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() - 0.5));
    c->legend()->setFont(small);

    m_dateAxis = new QCategoryAxis(this);
    m_timeAxis = new QCategoryAxis(this);
    for (QCategoryAxis* axis : {m_dateAxis, m_timeAxis}) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setLabelsFont(small);
        connect(axis, &QValueAxis::rangeChanged, this, [this] { updateAxes(); });
    }
    c->addAxis(m_dateAxis, Qt::AlignBottom);
    c->addAxis(m_timeAxis, Qt::AlignLeft);

    m_domain = new QLineSeries(c);
    m_domain->setPen(Qt::NoPen);
    m_domain->replace({QPointF(0, 0), QPointF(1, 60)});
    c->addSeries(m_domain);
    m_domain->attachAxis(m_dateAxis);
    m_domain->attachAxis(m_timeAxis);
    for (QLegendMarker* marker : c->legend()->markers(m_domain))
        marker->setVisible(false);

    m_plot = new ProgressPlotItem(this);
    m_plot->setParentItem(c);
    m_plot->setZValue(4.5); // over the grid, under the legend
    connect(c, &QChart::plotAreaChanged, this, [this] {
        m_plot->areaChanged();
        updateAxes();
    });
}

void ProgressChartView::setFigures(const ProgressFigures& f, const RunData& data, NumberMode mode,
                                   const Conventions& conv) {
    QChart* c = chart();
    hideTip();
    c->zoomReset();
    m_figures = f;
    m_data = &data;
    m_mode = mode;
    m_conv = conv;

    const std::size_t n = f.Points.size();
    m_values.resize(n);
    std::vector<int> colours(n);
    std::vector<QPointF> steps, newBests;
    std::vector<bool> colourUsed(ChartColourCount + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const ProgressPoint& p = f.Points[i];
        m_values[i] = QPointF(p.Date, p.Finish);
        colours[i] = p.Colour;
        colourUsed[p.Colour >= 0 ? static_cast<std::size_t>(p.Colour) : ChartColourCount] = true;
        if (p.NewBest) {
            if (!steps.empty())
                steps.emplace_back(p.Date, p.PreviousBest);
            steps.push_back(m_values[i]);
            newBests.push_back(m_values[i]);
        }
    }
    if (!steps.empty())
        steps.emplace_back(m_values.back().x(), f.Points.back().BestSoFar);

    // The legend: a dot per group colour, the best line and the new-best mark.
    for (QAbstractSeries* series : c->series())
        if (series != m_domain) {
            c->removeSeries(series);
            delete series;
        }
    std::vector<QXYSeries*> legend;
    for (int colour = 0; colour <= ChartColourCount; ++colour) {
        if (!colourUsed[static_cast<std::size_t>(colour)])
            continue;
        const int index = colour < ChartColourCount ? colour : -1;
        auto* entry = new QScatterSeries(c);
        entry->setName(QString::fromStdString(ColourName(f, data, index, WindowLanguage())));
        entry->setColor(ColourOf(index));
        entry->setBorderColor(ColourOf(index).darker(140));
        entry->setMarkerSize(DotSize + 2);
        legend.push_back(entry);
    }
    if (!newBests.empty()) {
        auto* line = new QLineSeries(c);
        line->setName(Tx(TextId::BestLine));
        line->setPen(QPen(BestLineColour, 2));
        legend.push_back(line);
        auto* mark = new QScatterSeries(c);
        mark->setName(Tx(TextId::NewBest));
        mark->setMarkerShape(QScatterSeries::MarkerShapeStar);
        mark->setColor(NewBestColour);
        mark->setBorderColor(BestLineColour);
        mark->setMarkerSize(StarSize - 2);
        legend.push_back(mark);
    }
    for (QXYSeries* entry : legend) {
        c->addSeries(entry);
        entry->attachAxis(m_dateAxis);
        entry->attachAxis(m_timeAxis);
    }
    c->legend()->setVisible(!legend.empty());
    c->setTitle(n == 0 ? Tx(TextId::NoTimedRuns) : QString());

    double xMin = 45000, xMax = 45001, yMin = 0, yMax = 60;
    if (n > 0) {
        xMin = yMin = std::numeric_limits<double>::infinity();
        xMax = yMax = -std::numeric_limits<double>::infinity();
        for (const QPointF& v : m_values) {
            xMin = std::min(xMin, v.x());
            xMax = std::max(xMax, v.x());
            yMin = std::min(yMin, v.y());
            yMax = std::max(yMax, v.y());
        }
    }
    // A margin around the points; one run, or runs of one moment, get a day and ten seconds.
    const double xPad = xMax > xMin ? (xMax - xMin) * 0.03 : 0.5;
    const double yPad = yMax > yMin ? (yMax - yMin) * 0.05 : 5;
    xMin -= xPad;
    xMax += xPad;
    yMin = std::max(0.0, yMin - yPad);
    yMax += yPad;
    m_updatingAxes = true;
    m_domain->replace({QPointF(xMin, yMin), QPointF(xMax, yMax)});
    m_dateAxis->setRange(xMin, xMax);
    m_timeAxis->setRange(yMin, yMax);
    m_updatingAxes = false;
    m_plot->setPoints(&m_values, std::move(colours), std::move(steps), std::move(newBests));
    updateAxes();
    setMarkedRun(m_markedRun);
}

void ProgressChartView::setMarkedRun(int runNo) {
    m_markedRun = runNo;
    m_marked = -1;
    for (std::size_t i = 0; runNo > 0 && i < m_figures.Points.size(); ++i)
        if (m_figures.Points[i].RunNo == runNo)
            m_marked = static_cast<int>(i);
    m_plot->setRing(m_marked);
}

void ProgressChartView::resetZoom() { chart()->zoomReset(); }

bool ProgressChartView::isZoomed() const { return chart()->isZoomed(); }

// Round values at a readable distance: times as "m:ss", dates by the span shown.
void ProgressChartView::updateAxes() {
    if (m_updatingAxes)
        return;
    m_updatingAxes = true;
    const QRectF area = chart()->plotArea();
    const QFontMetrics metrics(m_dateAxis->labelsFont());
    const struct {
        QCategoryAxis* Axis;
        int MaxTicks;
        std::vector<AxisTick> (*Ticks)(double, double, int);
    } axes[] = {
        {m_timeAxis, std::max(2, static_cast<int>(area.height()) / (metrics.height() * 2)), &TimeAxisTicks},
        {m_dateAxis,
         std::max(2, static_cast<int>(area.width()) / (metrics.horizontalAdvance(QStringLiteral("00.00.0000")) + 30)),
         &DateAxisTicks},
    };
    for (const auto& a : axes) {
        const double low = a.Axis->min();
        const double high = a.Axis->max();
        for (const QString& label : a.Axis->categoriesLabels())
            a.Axis->remove(label);
        a.Axis->setStartValue(low);
        for (const AxisTick& t : a.Ticks(low, high, a.MaxTicks))
            if (t.Value > low)
                a.Axis->append(QString::fromStdString(t.Text), t.Value);
    }
    m_updatingAxes = false;
    if (m_plot)
        m_plot->update();
}

QStringList ProgressChartView::timeLabels() const { return m_timeAxis->categoriesLabels(); }
QStringList ProgressChartView::dateLabels() const { return m_dateAxis->categoriesLabels(); }

QPointF ProgressChartView::toChart(const QPointF& value) const {
    const QRectF area = chart()->plotArea();
    const double x0 = m_dateAxis->min(), x1 = m_dateAxis->max();
    const double y0 = m_timeAxis->min(), y1 = m_timeAxis->max();
    return {area.left() + (value.x() - x0) / (x1 - x0) * area.width(),
            area.bottom() - (value.y() - y0) / (y1 - y0) * area.height()};
}

int ProgressChartView::pointAt(const QPoint& viewPos) const {
    const QPointF at = chart()->mapFromScene(mapToScene(viewPos));
    if (!chart()->plotArea().contains(at))
        return -1;
    int best = -1;
    double bestDistance = PickRadius * PickRadius + 1;
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        const QPointF p = toChart(m_values[i]);
        const double dx = p.x() - at.x(), dy = p.y() - at.y();
        const double d = dx * dx + dy * dy;
        // The later of two runs at one spot is drawn on top, so it is the one hit.
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

QPoint ProgressChartView::pointPosition(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_values.size())
        return {};
    return mapFromScene(chart()->mapToScene(toChart(m_values[static_cast<std::size_t>(index)])));
}

void ProgressChartView::mousePressEvent(QMouseEvent* event) {
    hideTip();
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressed = true;
    }
    QChartView::mousePressEvent(event);
}

void ProgressChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton || !m_data)
        return;
    showTip(pointAt(event->position().toPoint()), event->globalPosition().toPoint());
}

// The chart's own tip window: a system tooltip hides itself after a while, but the run's
// figures stay readable as long as the pointer rests on its point.
void ProgressChartView::showTip(int index, const QPoint& globalPos) {
    if (index < 0) {
        hideTip();
        return;
    }
    if (!m_tip) {
        m_tip = new QLabel(this, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
        m_tip->setObjectName(QStringLiteral("PointTip"));
        m_tip->setPalette(QToolTip::palette());
        m_tip->setFont(QToolTip::font());
        m_tip->setForegroundRole(QPalette::ToolTipText);
        m_tip->setBackgroundRole(QPalette::ToolTipBase);
        m_tip->setAutoFillBackground(true);
        m_tip->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_tip->setMargin(3);
        m_tip->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (index != m_tipPoint) {
        m_tipPoint = index;
        m_tip->setText(QString::fromStdString(
            PointTooltip(m_figures, *m_data, static_cast<std::size_t>(index), m_mode, m_conv)));
        m_tip->adjustSize();
    }
    // Below and right of the pointer, turned to the other side at a screen's edge.
    QPoint at = globalPos + QPoint(12, 18);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.x() + m_tip->width() > area.right())
            at.setX(globalPos.x() - 12 - m_tip->width());
        if (at.y() + m_tip->height() > area.bottom())
            at.setY(globalPos.y() - 8 - m_tip->height());
    }
    m_tip->move(at);
    m_tip->show();
}

void ProgressChartView::hideTip() {
    m_tipPoint = -1;
    if (m_tip)
        m_tip->hide();
}

bool ProgressChartView::tipShown() const { return m_tip && m_tip->isVisible(); }

QString ProgressChartView::tipText() const { return m_tip ? m_tip->text() : QString(); }

void ProgressChartView::leaveEvent(QEvent* event) {
    hideTip();
    QChartView::leaveEvent(event);
}

void ProgressChartView::hideEvent(QHideEvent* event) {
    hideTip();
    QChartView::hideEvent(event);
}

void ProgressChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        resetZoom();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        const QPoint moved = event->position().toPoint() - m_pressPos;
        if (moved.manhattanLength() < 4) {
            // A click, not a drag: no zoom into a rectangle of a few pixels.
            if (auto* band = findChild<QRubberBand*>())
                band->hide();
            const int index = pointAt(event->position().toPoint());
            if (index >= 0)
                emit runClicked(m_figures.Points[static_cast<std::size_t>(index)].RunNo);
            event->accept();
            return;
        }
    }
    QChartView::mouseReleaseEvent(event);
}

void ProgressChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    resetZoom();
    event->accept();
}

} // namespace kel
