#include "ui/chart.h"

#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "text/numbers.h"

namespace pairly::ui {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr int kMaxDivisions = 200;
constexpr qreal kMarkerSize = 9;

bool isBlank(const QString& s) {
    for (QChar c : s) {
        if (!c.isSpace()) return false;
    }
    return true;
}

double parseValue(const QString& s) {
    if (isBlank(s)) return kMissing;
    return text::leadingNumber(s.toStdString());
}

// 1, 2 or 5 times a power of ten, at least `raw`.
double niceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * p >= raw * (1 - 1e-9)) return m * p;
    }
    return 10 * p;
}

// Moves an axis to a new range and tick interval without ever laying out more ticks than
// the old or the new state has: under dynamic ticks a new range with the old interval
// (0 .. 1e9 in steps of 0.5) would build one label per step and never finish.
void setRangeAndTicks(QValueAxis* axis, double lo, double hi, double anchor, double interval) {
    // The larger interval first: old range / larger <= old count, new range / larger <=
    // new count.
    axis->setTickInterval(std::max(axis->tickInterval(), interval));
    axis->setRange(lo, hi);
    axis->setTickAnchor(anchor);
    axis->setTickInterval(interval);
    axis->setTickType(QValueAxis::TicksDynamic);
}

// A range whose ticks can be stepped through: finite, and wide enough that adding a tick
// interval changes a value of its size (1e20 + 0.2 is 1e20 again).
void makeSteppable(double& lo, double& hi) {
    constexpr double kLimit = 1e300;
    lo = std::clamp(lo, -kLimit, kLimit);
    hi = std::clamp(hi, -kLimit, kLimit);
    const double least = std::max(std::fabs(lo), std::fabs(hi)) * 1e-9;
    if (hi - lo < least) {
        lo -= least;
        hi += least;
    }
}

// Decimals needed to show ticks `step` apart without noise.
int decimalsFor(double step) {
    for (int d = 0; d <= 3; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return d;
    }
    return 3;
}

QImage markerImage(Marker marker, const QColor& color, qreal size) {
    const int px = static_cast<int>(std::ceil(size * 2));  // drawn at twice the size for crispness
    QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, px - 2, px - 2);
    if (marker == Marker::Ball) {
        // A shaded ball: highlight at the upper left, the series colour darkening outward.
        QRadialGradient g(r.center(), r.width() / 2,
                          r.topLeft() + QPointF(r.width() * 0.35, r.height() * 0.3));
        g.setColorAt(0.0, Qt::white);
        g.setColorAt(0.35, color.lighter(130));
        g.setColorAt(1.0, color.darker(220));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(r);
    } else {
        p.setPen(QPen(color.darker(160), px / 8.0));
        p.setBrush(color);
        p.drawEllipse(r.adjusted(px / 16.0, px / 16.0, -px / 16.0, -px / 16.0));
    }
    return img;
}

}  // namespace

Chart::Chart(QWidget* parent) : QChartView(parent) {
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
    c->addAxis(categoryAxis_, Qt::AlignBottom);
    for (int i = 0; i < 2; ++i) {
        axes_[i].axis = new QValueAxis(this);
        c->addAxis(axes_[i].axis, i == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    const QColor defaults[kSeriesCount] = {QColor(0, 0, 192), QColor(192, 0, 0), QColor(0, 128, 0)};
    for (int s = 0; s < kSeriesCount; ++s) series_[s].color = defaults[s];
    applyAxes();
    // The room for the markers is measured in pixels of the plot.
    connect(c, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
        if (std::abs(area.height() - plotHeightUsed_) < 0.5) return;
        plotHeightUsed_ = area.height();
        applyAxes();
    });
}

// --- values -------------------------------------------------------------------------------

void Chart::setPointCount(int n) {
    n = std::max(0, n);
    if (n == pointCount_) return;
    pointCount_ = n;
    for (auto& s : series_) {
        s.texts.resize(n);
        s.values.resize(n, kMissing);
    }
    markDirty();
}

void Chart::setValue(int series, int point, const QString& text) {
    if (!validSeries(series) || point < 1 || point > pointCount_) return;
    SeriesState& s = seriesAt(series);
    s.texts[point - 1] = text;
    s.values[point - 1] = parseValue(text);
    markDirty();
}

QString Chart::value(int series, int point) const {
    if (!validSeries(series) || point < 1 || point > pointCount_) return QString();
    return seriesAt(series).texts[point - 1];
}

void Chart::setSeriesValues(int series, const QStringList& texts) {
    if (!validSeries(series)) return;
    if (texts.size() > pointCount_) setPointCount(static_cast<int>(texts.size()));
    SeriesState& s = seriesAt(series);
    for (int i = 0; i < pointCount_; ++i) {
        s.texts[i] = i < texts.size() ? texts[i] : QString();
        s.values[i] = parseValue(s.texts[i]);
    }
    markDirty();
}

void Chart::clearValues() {
    for (auto& s : series_) {
        std::fill(s.texts.begin(), s.texts.end(), QString());
        std::fill(s.values.begin(), s.values.end(), kMissing);
    }
    markDirty();
}

// --- series -------------------------------------------------------------------------------

void Chart::setSeriesAxis(int series, Axis axis) {
    if (!validSeries(series) || seriesAt(series).axis == axis) return;
    SeriesState& s = seriesAt(series);
    s.axis = axis;
    // Pieces are bound to their axis when created: build them anew.
    for (QLineSeries* piece : s.pieces) {
        chart()->removeSeries(piece);
        delete piece;
    }
    s.pieces.clear();
    markDirty();
}

Axis Chart::seriesAxis(int series) const {
    return validSeries(series) ? seriesAt(series).axis : Axis::Left;
}

void Chart::setSeriesColor(int series, const QColor& color) {
    if (!validSeries(series) || !color.isValid()) return;
    seriesAt(series).color = color;
    styleSeries(series);
}

QColor Chart::seriesColor(int series) const {
    return validSeries(series) ? seriesAt(series).color : QColor();
}

void Chart::setSeriesVisible(int series, bool visible) {
    if (!validSeries(series)) return;
    seriesAt(series).visible = visible;
    for (QLineSeries* piece : seriesAt(series).pieces) piece->setVisible(visible);
}

bool Chart::isSeriesVisible(int series) const {
    return validSeries(series) && seriesAt(series).visible;
}

void Chart::setSeriesMarker(int series, Marker marker) {
    if (!validSeries(series)) return;
    seriesAt(series).marker = marker;
    styleSeries(series);
}

Marker Chart::seriesMarker(int series) const {
    return validSeries(series) ? seriesAt(series).marker : Marker::None;
}

void Chart::setMarker(Marker marker) {
    for (int s = 1; s <= kSeriesCount; ++s) setSeriesMarker(s, marker);
}

void Chart::setSeriesLineWidth(int series, qreal width) {
    if (!validSeries(series) || !(width > 0)) return;
    seriesAt(series).lineWidth = width;
    styleSeries(series);
}

void Chart::styleSeries(int series) {
    SeriesState& s = seriesAt(series);
    QPen pen(s.color, s.lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    for (QLineSeries* piece : s.pieces) {
        piece->setPen(pen);
        Marker m = s.marker;
        // A point without neighbours has no line: give it a dot so it is not invisible.
        if (m == Marker::None && piece->count() == 1) m = Marker::Circle;
        if (m == Marker::None) {
            piece->setLightMarker(QImage());
            piece->setPointsVisible(false);
        } else {
            const qreal size = s.marker == Marker::None ? s.lineWidth * 2 + 3 : kMarkerSize;
            piece->setMarkerSize(size);
            piece->setLightMarker(markerImage(m, s.color, size));
            piece->setPointsVisible(true);
        }
        piece->setVisible(s.visible);
    }
}

// --- axes ---------------------------------------------------------------------------------

// Fixing one limit of an automatic axis keeps the other at what is shown now.
void Chart::fixAutomaticAxis(Axis axis) {
    AxisState& a = axisAt(axis);
    if (!a.automatic) return;
    computeDisplayedRange(axis, a.minimum, a.maximum);
    a.automatic = false;
}

void Chart::setAxisMinimum(Axis axis, double minimum) {
    fixAutomaticAxis(axis);
    axisAt(axis).minimum = minimum;
    applyAxes();
}

void Chart::setAxisMaximum(Axis axis, double maximum) {
    fixAutomaticAxis(axis);
    axisAt(axis).maximum = maximum;
    applyAxes();
}

void Chart::setAxisRange(Axis axis, double minimum, double maximum) {
    AxisState& a = axisAt(axis);
    a.automatic = false;
    a.minimum = minimum;
    a.maximum = maximum;
    applyAxes();
}

void Chart::setAxisAuto(Axis axis) {
    axisAt(axis).automatic = true;
    applyAxes();
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
    applyAxes();
    return true;
}

int Chart::axisDivisions(Axis axis) const { return axisAt(axis).divisions; }

void Chart::setAxisVisible(Axis axis, bool visible) {
    axisAt(axis).visible = visible;
    applyAxes();
}

bool Chart::isAxisVisible(Axis axis) const { return axisAt(axis).visible; }

void Chart::setCategoryAxisVisible(bool visible) { categoryAxis_->setVisible(visible); }

void Chart::setLabelFontPointSize(double points) {
    if (!(points > 0)) return;
    for (QValueAxis* a : {categoryAxis_, axes_[0].axis, axes_[1].axis}) {
        QFont f = a->labelsFont();
        f.setPointSizeF(points);
        a->setLabelsFont(f);
    }
}

void Chart::setChartTitle(const QString& title) { chart()->setTitle(title); }

void Chart::setLegendVisible(bool visible) { chart()->legend()->setVisible(visible); }

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
        if (hi - lo < 1e-9) {
            lo -= 1;
            hi += 1;
        }
        const double step = niceStep((hi - lo) / a.divisions);
        lo = std::floor(lo / step) * step;
        hi = std::ceil(hi / step) * step;
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

void Chart::applyAxes() {
    bool rightUsed = false;
    for (const SeriesState& s : series_) rightUsed = rightUsed || s.axis == Axis::Right;
    bool leftShown = false;
    for (int i = 0; i < 2; ++i) {
        const Axis side = i == 0 ? Axis::Left : Axis::Right;
        AxisState& a = axes_[i];
        double lo, hi;
        computeDisplayedRange(side, lo, hi);
        makeSteppable(lo, hi);
        // The plot reaches half a marker beyond the outer ticks: a point on a limit is
        // drawn whole instead of being cut by the plot's edge.
        const double interval = (hi - lo) / a.divisions;
        const double pad = (hi - lo) * edgeRoom();
        setRangeAndTicks(a.axis, lo - pad, hi + pad, lo, interval);
        a.axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimalsFor((hi - lo) / a.divisions)));
        const bool shown = a.visible && (side == Axis::Left || rightUsed);
        a.axis->setVisible(shown);
        if (side == Axis::Left) leftShown = shown;
        // One set of grid lines: the left axis', or the right one's when the left is hidden.
        a.axis->setGridLineVisible(side == Axis::Left || !leftShown);
    }
    const int n = std::max(1, pointCount_);
    setRangeAndTicks(categoryAxis_, 0.5, n + 0.5, 0, n <= 10 ? 1 : niceStep(n / 8.0));
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

void Chart::markDirty() {
    dirty_ = true;
    if (!rebuildQueued_) {
        rebuildQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            rebuildQueued_ = false;
            ensureBuilt();
        });
    }
}

void Chart::ensureBuilt() {
    if (!dirty_) return;
    dirty_ = false;
    rebuild();
}

void Chart::rebuild() {
    for (int s = 1; s <= kSeriesCount; ++s) rebuildSeries(s);
    applyAxes();
}

void Chart::rebuildSeries(int series) {
    SeriesState& s = seriesAt(series);
    QList<QList<QPointF>> runs;
    QList<QPointF> run;
    for (int i = 0; i < pointCount_; ++i) {
        const double v = s.values[i];
        if (std::isfinite(v)) {
            run.append(QPointF(i + 1, v));
        } else if (!run.isEmpty()) {
            runs.append(run);
            run.clear();
        }
    }
    if (!run.isEmpty()) runs.append(run);

    QValueAxis* valueAxis = axisAt(s.axis).axis;
    const size_t needed = static_cast<size_t>(runs.size());
    while (s.pieces.size() > needed) {
        QLineSeries* piece = s.pieces.back();
        s.pieces.pop_back();
        chart()->removeSeries(piece);
        delete piece;
    }
    for (size_t k = 0; k < needed; ++k) {
        if (k == s.pieces.size()) {
            auto* piece = new QLineSeries();
            piece->replace(runs[k]);
            chart()->addSeries(piece);
            piece->attachAxis(categoryAxis_);
            piece->attachAxis(valueAxis);
            s.pieces.push_back(piece);
        } else {
            s.pieces[k]->replace(runs[k]);
        }
    }
    styleSeries(series);
}

QList<QList<QPointF>> Chart::segments(int series) {
    ensureBuilt();
    QList<QList<QPointF>> out;
    if (!validSeries(series)) return out;
    for (QLineSeries* piece : seriesAt(series).pieces) out.append(piece->points());
    return out;
}

// --- events -------------------------------------------------------------------------------

void Chart::mousePressEvent(QMouseEvent* event) {
    emit clicked();
    QChartView::mousePressEvent(event);
}

void Chart::paintEvent(QPaintEvent* event) {
    if (dirty_) {
        ensureBuilt();
        viewport()->update();
    }
    QChartView::paintEvent(event);
}

}  // namespace pairly::ui
