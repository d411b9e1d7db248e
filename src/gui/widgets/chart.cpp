#include "gui/widgets/chart.h"

#include <QChart>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/chart/ticks.h"
#include "core/text/numbers.h"
#include "gui/widgets/chart_accessible.h"

namespace pairly::gui::widgets {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr int kMaxDivisions = 200;
constexpr qreal kMarkerSize = 9;
// Above the plot background and grid lines, where a chart draws its series.
constexpr qreal kSeriesZ = 4;
// Sets an axis' ticks (every `interval` from `anchor`) and range, each only when it changed.
// The axis lays out its labels after each change: of the two orders, the one whose state
// between has the fewer ticks is taken (a long range with a short interval would build
// thousands of labels).
void setTicksAndRange(QValueAxis* axis, double anchor, double interval, double lo, double hi) {
    if (axis->tickAnchor() != anchor) axis->setTickAnchor(anchor);
    const double oldInterval = axis->tickInterval();
    const double oldSpan = axis->max() - axis->min();
    if (interval == oldInterval && lo == axis->min() && hi == axis->max()) return;
    if (oldSpan / interval <= (hi - lo) / oldInterval) {
        axis->setTickInterval(interval);
        axis->setRange(lo, hi);
    } else {
        axis->setRange(lo, hi);
        axis->setTickInterval(interval);
    }
}

}  // namespace

// The series are drawn by one item over the plot area rather than one chart series per line
// piece: a long series with many gaps stays one cheap pass, and a dense one is drawn at the
// resolution of the screen.
class Chart::PlotItem : public QGraphicsItem {
public:
    PlotItem(const Chart* owner, QGraphicsItem* parent) : QGraphicsItem(parent), owner_(owner) {
        setZValue(kSeriesZ);
        setAcceptedMouseButtons(Qt::NoButton);
    }
    void setArea(const QRectF& area) {
        prepareGeometryChange();
        area_ = area;
    }
    const QRectF& area() const { return area_; }
    QRectF boundingRect() const override {
        // Room for markers and line ends on the edges.
        return area_.adjusted(-kMarkerSize, -kMarkerSize, kMarkerSize, kMarkerSize);
    }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        owner_->drawSeries(painter);
    }

private:
    const Chart* owner_;
    QRectF area_;
};

Chart::Chart(QWidget* parent) : QChartView(parent) {
    installChartAccessibility();
    auto* c = new QChart();
    c->legend()->hide();
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(4, 4, 4, 4));
    c->setAnimationOptions(QChart::NoAnimation);
    setChart(c);
    setRenderHint(QPainter::Antialiasing);

    categoryAxis_ = new QValueAxis(this);
    categoryAxis_->setLabelFormat("%.0f");
    categoryAxis_->setGridLineVisible(false);
    // Ticks at round point numbers; the interval is always set before the range (see
    // applyCategoryAxis), so the axis never lays out one label per point.
    categoryAxis_->setTickInterval(1);
    categoryAxis_->setRange(0.5, 1.5);
    categoryAxis_->setTickAnchor(0);
    categoryAxis_->setTickType(QValueAxis::TicksDynamic);
    c->addAxis(categoryAxis_, Qt::AlignBottom);
    for (int i = 0; i < 2; ++i) {
        axes_[i].axis = new QValueAxis(this);
        axes_[i].axis->setTickInterval(1);
        axes_[i].axis->setRange(0, 1);
        axes_[i].axis->setTickAnchor(0);
        axes_[i].axis->setTickType(QValueAxis::TicksDynamic);
        c->addAxis(axes_[i].axis, i == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    plot_ = new PlotItem(this, c);
    plot_->setArea(c->plotArea());
    connect(c, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
        plot_->setArea(area);
        plot_->update();
        // The room for the markers is measured in pixels of the plot.
        if (std::abs(area.height() - plotHeightUsed_) < 0.5) return;
        plotHeightUsed_ = area.height();
        applyAxes();
    });
    const QColor defaults[kSeriesCount] = {QColor(0, 0, 192), QColor(192, 0, 0), QColor(0, 128, 0),
                                           QColor(128, 0, 160)};
    for (int s = 1; s <= kSeriesCount; ++s) {
        seriesAt(s).look.color = defaults[s - 1];
        styleSeries(s);
    }
    seriesAt(kSeriesCount).visible = false;
    applyAxes();
}

// --- values -------------------------------------------------------------------------------

void Chart::setPointCount(int n) {
    n = std::max(0, n);
    if (n == pointCount_) return;
    pointCount_ = n;
    for (auto& s : series_) s.values.resize(static_cast<std::size_t>(n), kMissing);
    markDirty();
}

QString Chart::value(int series, int point) const {
    if (!validSeries(series) || point < 1 || point > pointCount_) return QString();
    const double v = seriesAt(series).values[static_cast<std::size_t>(point - 1)];
    return std::isfinite(v) ? QString::fromStdString(text::doubleText(v)) : QString();
}

void Chart::setSeriesValues(int series, const chart::Series& values) {
    if (!validSeries(series)) return;
    if (static_cast<int>(values.size()) > pointCount_)
        setPointCount(static_cast<int>(values.size()));
    std::vector<double>& mine = seriesAt(series).values;
    const auto given = std::min(values.size(), mine.size());
    std::copy_n(values.begin(), given, mine.begin());
    std::fill(mine.begin() + static_cast<std::ptrdiff_t>(given), mine.end(), kMissing);
    markDirty();
}

// --- series -------------------------------------------------------------------------------

void Chart::setSeriesAxis(int series, Axis axis) {
    if (!validSeries(series) || seriesAt(series).axis == axis) return;
    seriesAt(series).axis = axis;
    markDirty();
}

Axis Chart::seriesAxis(int series) const {
    return validSeries(series) ? seriesAt(series).axis : Axis::Left;
}

void Chart::setSeriesName(int series, const QString& name) {
    if (validSeries(series)) seriesAt(series).name = name;
}

QString Chart::seriesName(int series) const {
    return validSeries(series) ? seriesAt(series).name : QString();
}

void Chart::setSeriesColor(int series, const QColor& color) {
    if (!validSeries(series) || !color.isValid()) return;
    seriesAt(series).look.color = color;
    styleSeries(series);
}

QColor Chart::seriesColor(int series) const {
    return validSeries(series) ? seriesAt(series).look.color : QColor();
}

void Chart::setSeriesVisible(int series, bool visible) {
    if (!validSeries(series) || seriesAt(series).visible == visible) return;
    seriesAt(series).visible = visible;
    plot_->update();
}

bool Chart::isSeriesVisible(int series) const {
    return validSeries(series) && seriesAt(series).visible;
}

void Chart::setSeriesMarker(int series, Marker marker) {
    if (!validSeries(series) || seriesAt(series).look.marker == marker) return;
    seriesAt(series).look.marker = marker;
    styleSeries(series);
}

Marker Chart::seriesMarker(int series) const {
    return validSeries(series) ? seriesAt(series).look.marker : Marker::None;
}

void Chart::setMarker(Marker marker) {
    for (int s = 1; s <= kSeriesCount; ++s) setSeriesMarker(s, marker);
}

void Chart::setSeriesLineWidth(int series, qreal width) {
    if (!validSeries(series) || !(width > 0)) return;
    seriesAt(series).look.lineWidth = width;
    styleSeries(series);
}

void Chart::styleSeries(int series) {
    SeriesLook& s = seriesAt(series).look;
    // Without a marker, a point without neighbours has no line: it gets a small dot so it
    // is not invisible.
    const Marker shown = s.marker == Marker::None ? Marker::Circle : s.marker;
    s.markerSize = s.marker == Marker::None ? s.lineWidth * 2 + 3 : kMarkerSize;
    s.markerImage = markerImage(shown, s.color, s.markerSize);
    plot_->update();
}

// --- reference lines --------------------------------------------------------------------

void Chart::addReferenceLine(Axis axis, double value, const QColor& colour) {
    if (!std::isfinite(value)) return;
    referenceLines_.push_back({axis, value, colour});
    plot_->update();
}

void Chart::clearReferenceLines() {
    if (referenceLines_.empty()) return;
    referenceLines_.clear();
    plot_->update();
}

void Chart::drawReferenceLines(QPainter* painter, const QRectF& area) const {
    for (const ReferenceLine& line : referenceLines_) {
        const QValueAxis* y = axisAt(line.axis).axis;
        if (!y->isVisible() || line.value < y->min() || line.value > y->max()) continue;
        const double v =
            area.bottom() - (line.value - y->min()) / (y->max() - y->min()) * area.height();
        QPen pen(line.colour.isValid() ? line.colour : QColor(Qt::gray), 1.5, Qt::DashLine);
        painter->setPen(pen);
        painter->drawLine(QPointF(area.left(), v), QPointF(area.right(), v));
    }
}

// --- axes ---------------------------------------------------------------------------------

void Chart::setAxisRange(Axis axis, double minimum, double maximum) {
    AxisState& a = axisAt(axis);
    a.automatic = false;
    a.minimum = minimum;
    a.maximum = maximum;
    markDirty();
}

void Chart::setAxisAuto(Axis axis) {
    axisAt(axis).automatic = true;
    markDirty();
}

bool Chart::isAxisAuto(Axis axis) const { return axisAt(axis).automatic; }

double Chart::axisMinimum(Axis axis) const {
    if (!axisAt(axis).automatic) return axisAt(axis).minimum;
    double lo, hi;
    computeDisplayedRange(axis, lo, hi);
    return lo;
}

double Chart::axisMaximum(Axis axis) const {
    if (!axisAt(axis).automatic) return axisAt(axis).maximum;
    double lo, hi;
    computeDisplayedRange(axis, lo, hi);
    return hi;
}

double Chart::displayedAxisMinimum(Axis axis) const {
    double lo, hi;
    computeDisplayedRange(axis, lo, hi);
    return lo;
}

double Chart::displayedAxisMaximum(Axis axis) const {
    double lo, hi;
    computeDisplayedRange(axis, lo, hi);
    return hi;
}

bool Chart::setAxisDivisions(Axis axis, int divisions) {
    if (divisions < 1 || divisions > kMaxDivisions) return false;
    axisAt(axis).divisions = divisions;
    markDirty();
    return true;
}

int Chart::axisDivisions(Axis axis) const { return axisAt(axis).divisions; }

void Chart::setAxisVisible(Axis axis, bool visible) {
    axisAt(axis).visible = visible;
    markDirty();
}

bool Chart::isAxisVisible(Axis axis) const { return axisAt(axis).visible; }

void Chart::setLabelFontPointSize(double points) {
    if (!(points > 0)) return;
    for (QValueAxis* a : {categoryAxis_, axes_[0].axis, axes_[1].axis}) {
        QFont f = a->labelsFont();
        f.setPointSizeF(points);
        a->setLabelsFont(f);
    }
}

bool Chart::dataRange(Axis axis, double& lo, double& hi) const {
    bool any = false;
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    for (const SeriesState& s : series_) {
        if (s.axis != axis) continue;
        for (double v : s.values) {
            if (!std::isfinite(v)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            any = true;
        }
    }
    return any;
}

void Chart::computeDisplayedRange(Axis axis, double& lo, double& hi) const {
    const AxisState& a = axisAt(axis);
    auto fitData = [&]() {
        if (!dataRange(axis, lo, hi)) {
            lo = 0;
            hi = 10;
            return;
        }
        const chart::Range fitted = chart::fitToValues(lo, hi, a.divisions);
        lo = fitted.minimum;
        hi = fitted.maximum;
    };
    if (a.automatic) {
        fitData();
        return;
    }
    lo = a.minimum;
    hi = a.maximum;
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) {
        // Limits from an empty selection (such as 999 .. 0): scale to whatever data there is.
        fitData();
    } else if (lo == hi) {
        lo -= 1;
        hi += 1;
    }
}

void Chart::setAxisLabelsWhole(bool whole) {
    for (AxisState& a : axes_) a.axis->setTruncateLabels(!whole);
}

bool Chart::axisLabelsCut(Axis axis) const { return axisAt(axis).axis->labelsTruncated(); }

void Chart::applyAxes() {
    bool rightUsed = false;
    for (const SeriesState& s : series_) rightUsed = rightUsed || s.axis == Axis::Right;
    bool leftShown = false;
    for (int i = 0; i < 2; ++i) {
        const Axis side = i == 0 ? Axis::Left : Axis::Right;
        AxisState& a = axes_[i];
        double shownLo, shownHi;
        computeDisplayedRange(side, shownLo, shownHi);
        const auto [lo, hi] = chart::steppable(shownLo, shownHi);
        // The plot reaches half a marker beyond the outer ticks: a point on a limit is
        // drawn whole instead of being cut by the plot's edge. Ticks stay on round values
        // from the lower limit.
        const double interval = (hi - lo) / a.divisions;
        const double pad = (hi - lo) * edgeRoom();
        // Only what changed is set: an axis lays the chart out anew on every setting, even
        // one that changes nothing.
        setTicksAndRange(a.axis, lo, interval, lo - pad, hi + pad);
        const QString format = QStringLiteral("%.%1f").arg(chart::labelDecimals(interval));
        if (a.axis->labelFormat() != format) a.axis->setLabelFormat(format);
        const bool shown = a.visible && (side == Axis::Left || rightUsed);
        if (a.axis->isVisible() != shown) a.axis->setVisible(shown);
        if (side == Axis::Left) leftShown = shown;
        // One set of grid lines: the left axis', or the right one's when the left is hidden.
        const bool grid = side == Axis::Left || !leftShown;
        if (a.axis->isGridLineVisible() != grid) a.axis->setGridLineVisible(grid);
    }
    applyCategoryAxis();
    plot_->update();
}

// Share of the value range to add at either end so that half a marker fits between the
// outer tick and the plot's edge; from the plot's height in pixels.
double Chart::edgeRoom() const {
    constexpr double kRoomPx = kMarkerSize / 2 + 1;
    const double height = chart()->plotArea().height();
    // Before the first layout, or in a sliver of a plot, a tiny margin keeps the outer
    // ticks from being lost to rounding.
    if (height < 6 * kRoomPx) return 1e-9;
    return kRoomPx / (height - 2 * kRoomPx);
}

// --- building -----------------------------------------------------------------------------

void Chart::applyCategoryAxis() {
    const int n = std::max(1, pointCount_);
    const double lo = 0.5, hi = n + 0.5;
    const double interval = n <= 10 ? 1 : chart::niceStep(n / 8.0);
    setTicksAndRange(categoryAxis_, 0, interval, lo, hi);
}

// --- drawing ------------------------------------------------------------------------------

// Values, limits and divisions are applied together once per event-loop turn (or at the
// next paint): a refill sets each of them, and the axes lay out their labels on each change.
void Chart::build() {
    applyAxes();
    // The axes' new labels change the plot area: lay it out now, so that the paint that
    // follows draws the final picture rather than one that is laid out and painted again.
    if (QGraphicsLayout* layout = chart()->layout()) layout->activate();
}

QPointF Chart::pointPosition(int series, double category, double value) {
    if (!validSeries(series)) return {};
    ensureBuilt();
    const QRectF area = plot_->area();
    const QValueAxis* y = axisAt(seriesAt(series).axis).axis;
    const double x = area.left() + (category - categoryAxis_->min()) /
                                       (categoryAxis_->max() - categoryAxis_->min()) * area.width();
    const double v = area.bottom() - (value - y->min()) / (y->max() - y->min()) * area.height();
    return mapFromScene(plot_->mapToScene(QPointF(x, v)));
}

void Chart::drawSeries(QPainter* painter) const {
    const QRectF area = plot_->area();
    if (area.isEmpty()) return;
    painter->save();
    // Whole pixels around the plot area, so lines along its edges are not cut in half.
    painter->setClipRect(QRectF(QPointF(std::floor(area.left()), std::floor(area.top())),
                                QPointF(std::ceil(area.right()), std::ceil(area.bottom()))));
    // Under the data, which stays readable where it meets the line.
    drawReferenceLines(painter, area);
    for (const SeriesState& s : series_) {
        if (!s.visible) continue;
        const QValueAxis* y = axisAt(s.axis).axis;
        const double x0 = categoryAxis_->min();
        const PlotMapping mapping{area, x0, area.width() / (categoryAxis_->max() - x0), y->min(),
                                  area.height() / (y->max() - y->min())};
        paintSeries(painter, s.values, s.look, mapping);
    }
    painter->restore();
}

QList<QList<QPointF>> Chart::segments(int series) {
    ensureBuilt();
    QList<QList<QPointF>> out;
    if (!validSeries(series)) return out;
    const std::vector<double>& values = seriesAt(series).values;
    QList<QPointF> run;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isfinite(values[i])) {
            run.append(QPointF(static_cast<double>(i) + 1, values[i]));
        } else if (!run.isEmpty()) {
            out.append(run);
            run.clear();
        }
    }
    if (!run.isEmpty()) out.append(run);
    return out;
}

// --- events -------------------------------------------------------------------------------

void Chart::mousePressEvent(QMouseEvent* event) {
    emit clicked();
    QChartView::mousePressEvent(event);
}

void Chart::showEvent(QShowEvent* event) {
    ensureBuilt();
    QChartView::showEvent(event);
}

void Chart::paintEvent(QPaintEvent* event) {
    if (build_.isDirty()) {
        ensureBuilt();
        viewport()->update();
    }
    QChartView::paintEvent(event);
}

}  // namespace pairly::gui::widgets
