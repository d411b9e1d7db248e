#include "gui/widgets/chart.h"

#include "gui/widgets/chart_accessible.h"

#include <QChart>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/numbers.h"

namespace pairly::ui {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr int kMaxDivisions = 200;
constexpr qreal kMarkerSize = 9;
// Above the plot background and grid lines, where a chart draws its series.
constexpr qreal kSeriesZ = 4;
// A value far outside the axis is drawn at this distance from the plot area at most, so that
// no coordinate overflows; the line it gives is clipped away all the same.
constexpr double kFarOut = 1e5;

bool isBlank(const QString& s) {
    for (QChar c : s) {
        if (!c.isSpace()) return false;
    }
    return true;
}

double parseValue(const QString& s) {
    // Chart texts are short numbers: read them without building a std::string.
    char buffer[64];
    const qsizetype n = s.size();
    if (n < qsizetype(sizeof buffer)) {
        bool ascii = true;
        bool blank = true;
        const QChar* data = s.constData();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = data[i].unicode();
            if (c >= 0x80) {
                ascii = false;
                break;
            }
            if (c != ' ' && (c < '\t' || c > '\r')) blank = false;
            buffer[i] = static_cast<char>(c);
        }
        if (ascii) {
            if (blank) return kMissing;
            return text::leadingNumber(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    }
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
    const QColor defaults[kSeriesCount] = {QColor(0, 0, 192), QColor(192, 0, 0), QColor(0, 128, 0)};
    for (int s = 1; s <= kSeriesCount; ++s) {
        seriesAt(s).color = defaults[s - 1];
        styleSeries(s);
    }
    applyAxes();
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

QString Chart::valueText(int series, int point) const {
    if (!validSeries(series) || point < 1 || point > pointCount_) return QString();
    const double v = seriesAt(series).values[static_cast<std::size_t>(point - 1)];
    return std::isnan(v) ? QString() : QString::number(v, 'g', 10);
}

void Chart::setSeriesValues(int series, const QStringList& texts) {
    if (!validSeries(series)) return;
    if (texts.size() > pointCount_) setPointCount(static_cast<int>(texts.size()));
    SeriesState& s = seriesAt(series);
    const int given = static_cast<int>(std::min<qsizetype>(texts.size(), pointCount_));
    for (int i = 0; i < given; ++i) {
        s.texts[i] = texts[i];
        s.values[i] = parseValue(texts[i]);
    }
    std::fill(s.texts.begin() + given, s.texts.end(), QString());
    std::fill(s.values.begin() + given, s.values.end(), kMissing);
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
    seriesAt(series).color = color;
    styleSeries(series);
}

QColor Chart::seriesColor(int series) const {
    return validSeries(series) ? seriesAt(series).color : QColor();
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
    if (!validSeries(series) || seriesAt(series).marker == marker) return;
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
    // Without a marker, a point without neighbours has no line: it gets a small dot so it
    // is not invisible.
    const Marker shown = s.marker == Marker::None ? Marker::Circle : s.marker;
    s.markerSize = s.marker == Marker::None ? s.lineWidth * 2 + 3 : kMarkerSize;
    s.markerImage = markerImage(shown, s.color, s.markerSize);
    plot_->update();
}

QImage Chart::markerPicture(int series) const {
    return validSeries(series) ? seriesAt(series).markerImage : QImage();
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
    markDirty();
}

void Chart::setAxisMaximum(Axis axis, double maximum) {
    fixAutomaticAxis(axis);
    axisAt(axis).maximum = maximum;
    markDirty();
}

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
        // drawn whole instead of being cut by the plot's edge. Ticks stay on round values
        // from the lower limit.
        const double interval = (hi - lo) / a.divisions;
        const double pad = (hi - lo) * edgeRoom();
        // Only what changed is set: an axis lays the chart out anew on every setting, even
        // one that changes nothing.
        setTicksAndRange(a.axis, lo, interval, lo - pad, hi + pad);
        const QString format = QStringLiteral("%.%1f").arg(decimalsFor(interval));
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
    const double interval = n <= 10 ? 1 : niceStep(n / 8.0);
    setTicksAndRange(categoryAxis_, 0, interval, lo, hi);
}

// --- drawing ------------------------------------------------------------------------------

// Values, limits and divisions are applied together once per event-loop turn (or at the
// next paint): a refill sets each of them, and the axes lay out their labels on each change.
void Chart::markDirty() {
    dirty_ = true;
    if (!rebuildQueued_) {
        rebuildQueued_ = true;
        // A posted call rather than a timer: it runs before the window's paint request,
        // which is posted at a lower priority, so the chart is laid out once and painted
        // once instead of being painted, laid out anew and painted again. A hidden chart
        // waits until it is shown.
        QMetaObject::invokeMethod(
            this,
            [this] {
                rebuildQueued_ = false;
                if (isVisible()) ensureBuilt();
            },
            Qt::QueuedConnection);
    }
}

void Chart::ensureBuilt() {
    if (!dirty_) return;
    dirty_ = false;
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
    for (const SeriesState& s : series_) {
        if (s.visible) drawOneSeries(painter, s, area);
    }
    painter->restore();
}

void Chart::drawOneSeries(QPainter* painter, const SeriesState& s, const QRectF& area) const {
    const QValueAxis* yAxis = axisAt(s.axis).axis;
    const double x0 = categoryAxis_->min();
    const double y0 = yAxis->min();
    const double kx = area.width() / (categoryAxis_->max() - x0);
    const double ky = area.height() / (yAxis->max() - y0);
    const double top = area.top() - kFarOut, bottom = area.bottom() + kFarOut;
    auto position = [&](std::size_t i) {
        const double y = area.bottom() - (s.values[i] - y0) * ky;
        return QPointF(area.left() + (static_cast<double>(i) + 1 - x0) * kx,
                       std::clamp(y, top, bottom));
    };

    QPen pen(s.color, s.lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);

    // Each run of non-empty points is drawn as its line pieces, each with round ends as a
    // chart control draws them. Where several points share a pixel column only the lowest
    // and the highest of them are kept, in their order: the piece between them covers the
    // column, so the same pixels are drawn from a few thousand pieces at most. Pieces of a
    // run denser than its pixels are a pixel or two long, where square ends draw the same
    // band as round ones at a third of the cost.
    std::vector<QLineF> pieces;
    std::vector<QLineF> densePieces;
    std::vector<QRectF> denseColumns;  // a dense run's pieces within one pixel column
    std::vector<QPointF> lonePoints;
    const double halfWidth = s.lineWidth / 2;
    const std::size_t n = s.values.size();
    std::size_t i = 0;
    while (i < n) {
        if (!std::isfinite(s.values[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && std::isfinite(s.values[end])) ++end;
        if (end - i == 1) {
            lonePoints.push_back(position(i));
            i = end;
            continue;
        }
        const bool dense = static_cast<double>(end - i) > (position(end - 1).x() - position(i).x());
        std::vector<QLineF>& out = dense ? densePieces : pieces;
        QPointF previous;
        bool started = false;
        auto lineTo = [&](const QPointF& p) {
            if (started) out.emplace_back(previous, p);
            previous = p;
            started = true;
        };
        std::size_t k = i;
        while (k < end) {
            const QPointF first = position(k);
            const double column = std::floor(first.x());
            QPointF low = first, high = first;
            std::size_t lowAt = k, highAt = k;
            std::size_t m = k + 1;
            for (; m < end; ++m) {
                const QPointF p = position(m);
                if (std::floor(p.x()) != column) break;
                if (p.y() > low.y()) low = p, lowAt = m;
                if (p.y() < high.y()) high = p, highAt = m;
            }
            if (lowAt == highAt) {
                lineTo(low);
            } else if (dense) {
                // Upright within its column: with square ends it is the rectangle around
                // it, which is far cheaper to fill than a stroke.
                const QPointF& a = lowAt < highAt ? low : high;
                const QPointF& b = lowAt < highAt ? high : low;
                lineTo(a);
                const double x = (a.x() + b.x()) / 2;
                denseColumns.emplace_back(QPointF(x - halfWidth, high.y() - halfWidth),
                                          QPointF(x + halfWidth, low.y() + halfWidth));
                previous = b;
            } else {
                lineTo(lowAt < highAt ? low : high);
                lineTo(lowAt < highAt ? high : low);
            }
            k = m;
        }
        i = end;
    }
    painter->drawLines(pieces.data(), static_cast<int>(pieces.size()));
    if (!densePieces.empty()) {
        pen.setCapStyle(Qt::SquareCap);
        painter->setPen(pen);
        painter->drawLines(densePieces.data(), static_cast<int>(densePieces.size()));
    }
    if (!denseColumns.empty()) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(s.color);
        painter->drawRects(denseColumns.data(), static_cast<int>(denseColumns.size()));
    }

    // Markers: at every point when the series has them, else only at lone points. A marker
    // on the pixel of the one before adds nothing.
    const QImage& image = s.markerImage;
    const double half = s.markerSize / 2;
    QPoint lastPixel(std::numeric_limits<int>::min(), 0);
    auto drawMarker = [&](const QPointF& p) {
        const QPoint pixel = p.toPoint();
        if (pixel == lastPixel) return;
        lastPixel = pixel;
        painter->drawImage(QRectF(p.x() - half, p.y() - half, s.markerSize, s.markerSize), image);
    };
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if (s.marker == Marker::None) {
        for (const QPointF& p : lonePoints) drawMarker(p);
        return;
    }
    for (std::size_t j = 0; j < n; ++j)
        if (std::isfinite(s.values[j])) drawMarker(position(j));
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
    if (dirty_) {
        ensureBuilt();
        viewport()->update();
    }
    QChartView::paintEvent(event);
}

}  // namespace pairly::ui
