// Chart: values with gaps, axis limits (also inverted ones), markers, visibility, click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QMouseEvent>
#include <QSet>
#include <QValueAxis>
#include <cmath>

#include "gui/widgets/chart.h"

namespace pairly::gui::widgets {
namespace {

using Segments = QList<QList<QPointF>>;
using chart::Series;

const double kGap = std::nan("");

// A chart drawn offscreen, and what lies at a point of it.
QImage drawn(Chart& chart) {
    chart.show();
    QApplication::processEvents();
    return chart.grab().toImage();
}

// How many pixels within `radius` of the point's place have the series' hue.
int pixelsOfSeries(Chart& chart, const QImage& img, int series, double category, double value,
                   int radius = 1, QPoint offset = {}) {
    const QColor colour = chart.seriesColor(series);
    const QPoint p = chart.pointPosition(series, category, value).toPoint() + offset;
    int count = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QColor c = img.pixelColor(p.x() + dx, p.y() + dy);
            const int distance = std::abs(c.red() - colour.red()) +
                                 std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue());
            if (distance < 150) ++count;
        }
    }
    return count;
}

TEST(ChartTest, MissingPointsSplitTheLine) {
    const double inf = INFINITY;
    struct Case {
        Series values;
        Segments expected;
        QStringList shown;
    } cases[] = {
        {{60, kGap, 61}, {{{1, 60}}, {{3, 61}}}, {"60", "", "61"}},
        {{60, 60.5, kGap, 61, 61.25},
         {{{1, 60}, {2, 60.5}}, {{4, 61}, {5, 61.25}}},
         {"60", "60.5", "", "61", "61.25"}},
        {{kGap, kGap, 58.5, 58}, {{{3, 58.5}, {4, 58}}}, {"", "", "58.5", "58"}},
        {{kGap, kGap, kGap}, {}, {"", "", ""}},
        {{70, 70.1, 70.2}, {{{1, 70}, {2, 70.1}, {3, 70.2}}}, {"70", "70.1", "70.2"}},
        {{kGap, 1450, -0.5}, {{{2, 1450}, {3, -0.5}}}, {"", "1450", "-0.5"}},
        // A figure no axis can hold is not drawn.
        {{60, inf, 61}, {{{1, 60}}, {{3, 61}}}, {"60", "", "61"}},
    };
    for (const Case& c : cases) {
        Chart chart;
        chart.setSeriesValues(1, c.values);
        EXPECT_EQ(chart.pointCount(), static_cast<int>(c.values.size()));
        EXPECT_EQ(chart.segments(1), c.expected) << c.shown.join('|').toStdString();
        for (int i = 0; i < c.shown.size(); ++i) EXPECT_EQ(chart.value(1, i + 1), c.shown[i]);
    }
}

TEST(ChartTest, RefillReusesAndDropsPieces) {
    Chart chart;
    chart.resize(300, 200);
    chart.setPointCount(6);
    chart.setSeriesValues(2, {1, kGap, 2, kGap, 3, kGap});
    chart.setSeriesAxis(2, Axis::Right);
    EXPECT_EQ(chart.segments(2).size(), 3);
    chart.setPointCount(0);
    chart.setPointCount(4);
    EXPECT_EQ(chart.value(2, 1), QString());
    EXPECT_TRUE(chart.segments(2).isEmpty());
    chart.setSeriesValues(2, {kGap, kGap, kGap, 9});
    chart.setSeriesValues(4, {10});  // no such series
    EXPECT_EQ(chart.segments(2), Segments({{{4, 9}}}));
    EXPECT_EQ(chart.value(2, 5), QString());
    EXPECT_EQ(chart.value(0, 1), QString());
    // The point is drawn against the axis its series is bound to: high on a 0..10 right
    // axis, where the 0..100 left axis would put it near the bottom.
    chart.setAxisRange(Axis::Left, 0, 100);
    chart.setAxisRange(Axis::Right, 0, 10);
    const QImage img = drawn(chart);
    EXPECT_GT(pixelsOfSeries(chart, img, 2, 4, 9), 0);
    EXPECT_LT(chart.pointPosition(2, 4, 9).y(), chart.pointPosition(1, 4, 9).y() - 50);
    // A shorter refill leaves nothing of the longer one.
    chart.setSeriesValues(2, {5});
    EXPECT_EQ(chart.segments(2), Segments({{{1, 5}}}));
    EXPECT_EQ(chart.value(2, 4), QString());
}

TEST(ChartTest, AxisLimitsReadBackAndInvertedOnesStaySane) {
    Chart chart;
    chart.resize(400, 300);
    chart.setPointCount(3);
    chart.setSeriesAxis(2, Axis::Right);
    chart.setSeriesValues(2, {25.5});

    // Empty selection limits: as set, read back unchanged, drawn as a usable range.
    chart.setAxisRange(Axis::Left, 999, 0);
    EXPECT_DOUBLE_EQ(chart.axisMinimum(Axis::Left), 999);
    EXPECT_DOUBLE_EQ(chart.axisMaximum(Axis::Left), 0);
    EXPECT_LT(chart.displayedAxisMinimum(Axis::Left), chart.displayedAxisMaximum(Axis::Left));
    // Equal limits.
    chart.setAxisRange(Axis::Right, 25, 25);
    EXPECT_LT(chart.displayedAxisMinimum(Axis::Right), 25);
    EXPECT_GT(chart.displayedAxisMaximum(Axis::Right), 25);
    // Inverted limits with data on the axis: the data stays in view.
    chart.setAxisRange(Axis::Right, 25, 10);
    EXPECT_DOUBLE_EQ(chart.axisMinimum(Axis::Right), 25);
    EXPECT_LE(chart.displayedAxisMinimum(Axis::Right), 25.5);
    EXPECT_GE(chart.displayedAxisMaximum(Axis::Right), 25.5);
    chart.setAxisRange(Axis::Left, NAN, INFINITY);
    EXPECT_TRUE(std::isfinite(chart.displayedAxisMinimum(Axis::Left)));
    EXPECT_LT(chart.displayedAxisMinimum(Axis::Left), chart.displayedAxisMaximum(Axis::Left));
    EXPECT_FALSE(chart.grab().isNull());  // draws without failing

    // Ordinary limits are drawn as given.
    chart.setAxisRange(Axis::Left, 60, 75);
    EXPECT_DOUBLE_EQ(chart.displayedAxisMinimum(Axis::Left), 60);
    EXPECT_DOUBLE_EQ(chart.displayedAxisMaximum(Axis::Left), 75);
    chart.setAxisRange(Axis::Left, 58, 75);
    EXPECT_DOUBLE_EQ(chart.axisMinimum(Axis::Left), 58);
    EXPECT_DOUBLE_EQ(chart.axisMaximum(Axis::Left), 75);

    // Divisions; a refused count keeps the previous one.
    EXPECT_TRUE(chart.setAxisDivisions(Axis::Left, 10));
    EXPECT_EQ(chart.axisDivisions(Axis::Left), 10);
    EXPECT_FALSE(chart.setAxisDivisions(Axis::Left, 0));
    EXPECT_FALSE(chart.setAxisDivisions(Axis::Left, -3));
    EXPECT_EQ(chart.axisDivisions(Axis::Left), 10);
}

TEST(ChartTest, AutomaticAxisFollowsDataUntilALimitIsSet) {
    Chart chart;
    chart.setSeriesValues(1, {1376, 1523, kGap});
    chart.setSeriesValues(2, {9, 10, 11});
    chart.setSeriesAxis(2, Axis::Right);
    EXPECT_TRUE(chart.isAxisAuto(Axis::Left));
    EXPECT_LE(chart.axisMinimum(Axis::Left), 1376);
    EXPECT_GE(chart.axisMaximum(Axis::Left), 1523);
    EXPECT_LE(chart.axisMinimum(Axis::Right), 9);
    EXPECT_GE(chart.axisMaximum(Axis::Right), 11);
    EXPECT_LT(chart.axisMaximum(Axis::Right), 100);  // scaled to its own series only
    chart.setAxisRange(Axis::Left, 1360, 1530);
    EXPECT_FALSE(chart.isAxisAuto(Axis::Left));
    EXPECT_DOUBLE_EQ(chart.axisMaximum(Axis::Left), 1530);
    chart.setAxisAuto(Axis::Left);
    EXPECT_TRUE(chart.isAxisAuto(Axis::Left));
}

TEST(ChartTest, MarkersAndVisibility) {
    Chart chart;
    chart.resize(400, 300);
    chart.setSeriesColor(1, QColor(0, 0, 255));
    chart.setSeriesColor(2, QColor(255, 0, 0));
    chart.setPointCount(4);
    chart.setSeriesValues(1, {60, 61, kGap, 62});
    chart.setSeriesValues(2, {30, 31, 32, 33});
    chart.setSeriesAxis(2, Axis::Right);
    chart.setAxisRange(Axis::Left, 55, 65);
    chart.setAxisRange(Axis::Right, 10, 40);  // the lines lie apart

    // Without markers a line has no dots, but a lone point keeps one. (Looked at just
    // below a point: the ball's highlight is below its centre.)
    const QPoint below(0, 2);
    QImage img = drawn(chart);
    EXPECT_EQ(pixelsOfSeries(chart, img, 1, 1, 60, 0, below), 0);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 4, 62, 2), 4);
    for (Marker m : {Marker::Circle, Marker::Ball}) {
        chart.setMarker(m);
        for (int i = 1; i <= Chart::kSeriesCount; ++i) EXPECT_EQ(chart.seriesMarker(i), m);
        img = drawn(chart);
        EXPECT_GT(pixelsOfSeries(chart, img, 1, 1, 60, 0, below), 0) << int(m);
        EXPECT_GT(pixelsOfSeries(chart, img, 2, 3, 32, 0, below), 0) << int(m);
    }
    // The ball is shaded: its picture holds many tones, the circle few.
    auto tones = [](const QImage& img) {
        QSet<QRgb> set;
        const int y = img.height() / 2;
        for (int x = 1; x < img.width() - 1; ++x) set.insert(img.pixel(x, y) | 0xff000000u);
        return set.size();
    };
    const int ballTones = tones(markerImage(Marker::Ball, chart.seriesColor(1), 9));
    const int circleTones = tones(markerImage(Marker::Circle, chart.seriesColor(1), 9));
    EXPECT_GT(ballTones, circleTones + 3);
    chart.setMarker(Marker::None);
    img = drawn(chart);
    EXPECT_EQ(pixelsOfSeries(chart, img, 1, 1, 60, 0, below), 0);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 4, 62, 2), 4);

    chart.setSeriesVisible(2, false);
    EXPECT_FALSE(chart.isSeriesVisible(2));
    EXPECT_TRUE(chart.isSeriesVisible(1));
    img = drawn(chart);
    EXPECT_EQ(pixelsOfSeries(chart, img, 2, 2, 31), 0);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 2, 61), 0);
    // Values keep coming while hidden and show when it is shown again.
    chart.setSeriesValues(2, {30, 31, kGap, 33});
    chart.ensureBuilt();
    chart.setSeriesVisible(2, true);
    img = drawn(chart);
    EXPECT_GT(pixelsOfSeries(chart, img, 2, 2, 31), 0);
    EXPECT_EQ(chart.segments(2).size(), 2);

    chart.setAxisVisible(Axis::Right, false);
    EXPECT_FALSE(chart.isAxisVisible(Axis::Right));
    EXPECT_TRUE(chart.isAxisVisible(Axis::Left));
    chart.setSeriesColor(1, QColor(255, 0, 0));
    EXPECT_EQ(chart.seriesColor(1), QColor(255, 0, 0));
}

// A point on a limit of its axis lies at least half a marker inside the plot, so that it
// is drawn whole; the ticks stay on the limits.
TEST(ChartTest, PointsOnTheLimitsAreDrawnWhole) {
    Chart chart;
    chart.resize(400, 300);
    chart.setSeriesValues(1, {72, 74, 73});
    chart.setAxisRange(Axis::Left, 72, 74);
    chart.setAxisDivisions(Axis::Left, 4);
    chart.setMarker(Marker::Ball);
    chart.show();
    chart.ensureBuilt();
    QApplication::processEvents();
    const QRectF plot = chart.mapFromScene(chart.chart()->plotArea()).boundingRect();
    ASSERT_GT(plot.height(), 100);
    const QPointF top = chart.pointPosition(1, 2, 74);
    const QPointF bottom = chart.pointPosition(1, 1, 72);
    const qreal half = 9.0 / 2;  // a ball's radius
    EXPECT_GE(top.y() - plot.top(), half);
    EXPECT_GE(plot.bottom() - bottom.y(), half);
    EXPECT_LT(top.y() - plot.top(), 2 * half + 2);  // no more room than that
    EXPECT_DOUBLE_EQ(chart.displayedAxisMinimum(Axis::Left), 72);
    EXPECT_DOUBLE_EQ(chart.displayedAxisMaximum(Axis::Left), 74);
    // Ticks on the limits and on every division between them.
    QValueAxis* axis = nullptr;
    for (QAbstractAxis* a : chart.chart()->axes(Qt::Vertical))
        if (a->alignment() == Qt::AlignLeft) axis = qobject_cast<QValueAxis*>(a);
    ASSERT_NE(axis, nullptr);
    EXPECT_DOUBLE_EQ(axis->tickAnchor(), 72);
    EXPECT_DOUBLE_EQ(axis->tickInterval(), 0.5);
    // Both balls are drawn whole: their colour reaches past the marker's middle on all sides.
    const QImage img = chart.grab().toImage();
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 2, 74, 1, {0, -3}), 0);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 1, 72, 1, {0, 3}), 0);
}

// A reference line is drawn across the plot while its value is within its shown axis; it
// neither scales an automatic axis nor becomes a series.
TEST(ChartTest, ReferenceLinesAreDrawnWithinTheirShownAxis) {
    const QColor goal(255, 0, 255);
    const struct {
        Axis axis;
        double value;
        bool axisShown;
        bool drawn;
    } cases[] = {{Axis::Left, 73.5, true, true}, {Axis::Left, 74, true, true},
                 {Axis::Left, 71, true, false},  {Axis::Left, 73.5, false, false},
                 {Axis::Right, 20, true, true},  {Axis::Left, kGap, true, false}};
    for (const auto& c : cases) {
        Chart chart;
        chart.resize(400, 300);
        chart.setSeriesValues(1, {72, 74, 73});
        chart.setSeriesValues(2, {18, 22, 21});
        chart.setSeriesAxis(2, Axis::Right);
        chart.setSeriesVisible(2, false);
        chart.setAxisRange(Axis::Left, 72, 74);
        chart.setAxisRange(Axis::Right, 15, 25);
        chart.setAxisVisible(c.axis, c.axisShown);
        chart.addReferenceLine(c.axis, c.value, goal);
        EXPECT_EQ(chart.referenceLines().size(), std::isfinite(c.value) ? 1u : 0u);
        const QImage img = drawn(chart);
        // Along the line's row, away from the data: the goal's colour where a dash falls.
        const int series = c.axis == Axis::Left ? 1 : 2;
        const double value = std::isfinite(c.value) ? c.value : 73.5;
        int hits = 0;
        for (double x = 1.1; x < 3; x += 0.05) {
            const QPoint p = chart.pointPosition(series, x, value).toPoint();
            for (int dy = -1; dy <= 1; ++dy) {
                const QPoint q = p + QPoint(0, dy);
                if (!img.valid(q)) continue;
                const QColor k = img.pixelColor(q);
                if (k.red() > 200 && k.blue() > 200 && k.green() < 120) {
                    ++hits;
                    break;
                }
            }
        }
        EXPECT_EQ(hits > 5, c.drawn) << c.value << " " << c.axisShown << " hits " << hits;
        EXPECT_EQ(chart.value(1, 2), "74");
        EXPECT_TRUE(chart.value(4, 1).isEmpty());
        chart.clearReferenceLines();
        EXPECT_TRUE(chart.referenceLines().empty());
    }
    // An automatic axis scales to the data only.
    Chart chart;
    chart.setSeriesValues(1, {72, 74});
    chart.addReferenceLine(Axis::Left, 50, goal);
    EXPECT_GT(chart.displayedAxisMinimum(Axis::Left), 60);
}

// Whatever a log holds, an axis gets a handful of ticks that can be stepped through: a
// change of range from 72..74 to 0..1e9 and back, values too large for a step of their
// size to change them, and a long category axis.
TEST(ChartTest, AxesOfAnySizeGetAFewTicks) {
    Chart chart;
    chart.resize(400, 300);
    chart.show();
    QApplication::processEvents();
    auto leftAxis = [&chart] {
        return static_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).first());
    };
    auto expectFewTicks = [](QValueAxis* axis, const char* what) {
        const double interval = axis->tickInterval();
        EXPECT_GT(axis->tickAnchor() + interval, axis->tickAnchor()) << what;
        EXPECT_LE((axis->max() - axis->min()) / interval, 201) << what;
    };
    const double e20 = 1e20, e38 = 3.4e38;
    const struct {
        const char* what;
        Series values;
        double minimum, maximum;  // automatic when equal
    } cases[] = {
        {"weights", {72, 74, 73}, 72, 74},
        {"to a billion", {72, 1e9}, 0, 1e9},
        {"back to weights", {72, 74}, 72, 74},
        {"one huge value", {e20, e20}, 0, 0},
        {"huge fixed limits", {e20}, 1e20, 1e20 + 1},
        {"largest floats", {e38, -e38}, 0, 0},
        {"beyond doubles", {e20}, -1.7e308, 1.7e308},
        {"long log", Series(32766, 60), 0, 0},
    };
    for (const auto& c : cases) {
        chart.setSeriesValues(1, c.values);
        if (c.minimum == c.maximum) {
            chart.setAxisAuto(Axis::Left);
        } else {
            chart.setAxisRange(Axis::Left, c.minimum, c.maximum);
        }
        QApplication::processEvents();
        expectFewTicks(leftAxis(), c.what);
        expectFewTicks(static_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).first()),
                       c.what);
    }
}

TEST(ChartTest, NoLineIsDrawnAcrossAMissingPoint) {
    Chart chart;
    chart.resize(300, 200);
    chart.setSeriesColor(1, QColor(0, 0, 255));
    chart.setSeriesValues(1, {60, 60, kGap, 60, 60});
    chart.setAxisRange(Axis::Left, 59, 61);
    const QImage img = drawn(chart);
    auto blueAt = [&](double category) {
        const QPoint p = chart.pointPosition(1, category, 60).toPoint();
        int blue = 0;
        for (int dy = -3; dy <= 3; ++dy) {
            const QColor c = img.pixelColor(p.x(), p.y() + dy);
            if (c.blue() > 200 && c.red() < 100 && c.green() < 100) ++blue;
        }
        return blue;
    };
    EXPECT_GT(blueAt(1.5), 0);  // the line runs between points 1 and 2
    EXPECT_GT(blueAt(4.5), 0);
    EXPECT_EQ(blueAt(3), 0);  // but not through the missing point 3
    EXPECT_EQ(blueAt(2.5), 0);
}

TEST(ChartTest, LongSeriesNeverLayOutALabelPerPoint) {
    // Every change of the point axis lays out its labels at once: no step of a refill may
    // ask for thousands (a long range under a short interval, or the other way round).
    Chart chart;
    chart.resize(600, 300);
    auto* axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(axis, nullptr);
    double mostTicks = 0;
    auto note = [&] {
        mostTicks = std::max(mostTicks, (axis->max() - axis->min()) / axis->tickInterval());
    };
    QObject::connect(axis, &QValueAxis::rangeChanged, note);
    QObject::connect(axis, &QValueAxis::tickIntervalChanged, note);
    for (int n : {5, 10922, 3, 32766, 12, 1, 20000}) {
        Series values;
        for (int i = 0; i < n; ++i) values.push_back(60 + i % 7);
        chart.setPointCount(0);
        chart.setSeriesValues(1, values);
        chart.ensureBuilt();
        EXPECT_DOUBLE_EQ(axis->min(), 0.5) << n;
        EXPECT_DOUBLE_EQ(axis->max(), n + 0.5) << n;
        EXPECT_LE((axis->max() - axis->min()) / axis->tickInterval(), 11) << n;
    }
    EXPECT_LE(mostTicks, 11);
}

TEST(ChartTest, DenseSeriesKeepsItsSpikesAndGaps) {
    // Thousands of points on a few hundred pixels: every extreme still shows, and a gap
    // still breaks the line.
    Chart chart;
    chart.resize(300, 200);
    chart.setSeriesColor(1, QColor(0, 0, 255));
    Series values;
    for (int i = 1; i <= 6000; ++i) {
        if (i == 2500)
            values.push_back(70);  // one spike up
        else if (i == 4000)
            values.push_back(50);  // one down
        else if (i > 4500 && i <= 5200)
            values.push_back(kGap);
        else
            values.push_back(60 + (i % 3) * 0.1);
    }
    chart.setSeriesValues(1, values);
    chart.setAxisRange(Axis::Left, 45, 75);
    const QImage img = drawn(chart);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 2500, 69.5), 0);
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 4000, 50.5), 0);
    EXPECT_EQ(pixelsOfSeries(chart, img, 1, 4850, 60.1, 2), 0);  // inside the gap
    EXPECT_GT(pixelsOfSeries(chart, img, 1, 4300, 60.1, 2), 0);
    EXPECT_EQ(chart.segments(1).size(), 2);
}

TEST(ChartTest, AChartFilledWhileHiddenShowsItsDataOnceShown) {
    // A hidden chart puts off laying out its axes; shown, it draws what it was given.
    QWidget parent;
    parent.resize(400, 300);
    auto* chart = new Chart(&parent);
    chart->resize(400, 300);
    chart->setSeriesColor(1, QColor(0, 0, 255));
    chart->hide();
    parent.show();
    chart->setSeriesValues(1, {52, 58});
    chart->setAxisRange(Axis::Left, 50, 60);
    chart->setAxisDivisions(Axis::Left, 5);
    QApplication::processEvents();
    chart->show();
    QApplication::processEvents();
    auto* left = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).first());
    ASSERT_NE(left, nullptr);
    // The limits with room for a marker beyond them, ticks from 50 every 2.
    EXPECT_LT(left->min(), 50);
    EXPECT_GT(left->min(), 49);
    EXPECT_GT(left->max(), 60);
    EXPECT_LT(left->max(), 61);
    EXPECT_DOUBLE_EQ(left->tickAnchor(), 50);
    EXPECT_DOUBLE_EQ(left->tickInterval(), 2);
    const QImage img = chart->grab().toImage();
    EXPECT_GT(pixelsOfSeries(*chart, img, 1, 1.5, 55), 0);
}

TEST(ChartTest, ClickIsReported) {
    Chart chart;
    chart.resize(200, 150);
    int clicks = 0;
    QObject::connect(&chart, &Chart::clicked, [&] { ++clicks; });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(chart.viewport(), &press);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace pairly::gui::widgets
