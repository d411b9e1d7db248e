// Chart: text values with gaps, axis limits (also inverted ones), markers, visibility, click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <cmath>

#include "ui/chart.h"

namespace pairly::ui {
namespace {

using Segments = QList<QList<QPointF>>;

QList<QLineSeries*> drawnSeries(Chart& c) {
    QList<QLineSeries*> out;
    for (QAbstractSeries* s : c.chart()->series()) out.append(static_cast<QLineSeries*>(s));
    return out;
}

TEST(ChartTest, EmptyTextsSplitTheLine) {
    struct Case {
        QStringList values;
        Segments expected;
    } cases[] = {
        {{"60", "", "61"}, {{{1, 60}}, {{3, 61}}}},
        {{"60", "60.5", "", "61", "61.25"}, {{{1, 60}, {2, 60.5}}, {{4, 61}, {5, 61.25}}}},
        {{"", "", "58.5", "58"}, {{{3, 58.5}, {4, 58}}}},
        {{"", "", ""}, {}},
        {{"70", "70.1", "70.2"}, {{{1, 70}, {2, 70.1}, {3, 70.2}}}},
        {{" ", "1450kcal", "-0.5"}, {{{2, 1450}, {3, -0.5}}}},  // blank is missing; leading number
    };
    for (const Case& c : cases) {
        Chart chart;
        chart.setPointCount(static_cast<int>(c.values.size()));
        for (int i = 0; i < c.values.size(); ++i) chart.setValue(1, i + 1, c.values[i]);
        EXPECT_EQ(chart.segments(1), c.expected) << c.values.join('|').toStdString();
        for (int i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(chart.value(1, i + 1), c.values[i]);  // texts read back as given
        }
    }
}

TEST(ChartTest, RefillReusesAndDropsPieces) {
    Chart chart;
    chart.setPointCount(6);
    chart.setSeriesValues(2, {"1", "", "2", "", "3", ""});
    chart.setSeriesAxis(2, Axis::Right);
    EXPECT_EQ(chart.segments(2).size(), 3);
    EXPECT_EQ(drawnSeries(chart).size(), 3);
    chart.setPointCount(0);
    chart.setPointCount(4);
    EXPECT_EQ(chart.value(2, 1), QString());
    EXPECT_TRUE(chart.segments(2).isEmpty());
    EXPECT_TRUE(drawnSeries(chart).isEmpty());
    chart.setValue(2, 4, "9");
    chart.setValue(2, 5, "10");  // beyond the points: ignored
    chart.setValue(4, 1, "10");  // no such series
    EXPECT_EQ(chart.segments(2), Segments({{{4, 9}}}));
    EXPECT_EQ(chart.value(2, 5), QString());
    EXPECT_EQ(chart.value(0, 1), QString());
    // The piece is drawn against the axis its series is bound to.
    ASSERT_EQ(drawnSeries(chart).size(), 1);
    const auto axes = drawnSeries(chart).first()->attachedAxes();
    bool onRight = false;
    for (QAbstractAxis* a : axes) onRight = onRight || a->alignment() == Qt::AlignRight;
    EXPECT_TRUE(onRight);
}

TEST(ChartTest, AxisLimitsReadBackAndInvertedOnesStaySane) {
    Chart chart;
    chart.resize(400, 300);
    chart.setPointCount(3);
    chart.setSeriesAxis(2, Axis::Right);
    chart.setValue(2, 1, "25.5");

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
    chart.setAxisMaximum(Axis::Right, 10);
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
    chart.setAxisMinimum(Axis::Left, 58);
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
    chart.setSeriesValues(1, {"1376", "1523", ""});
    chart.setSeriesValues(2, {"9", "10", "11"});
    chart.setSeriesAxis(2, Axis::Right);
    EXPECT_TRUE(chart.isAxisAuto(Axis::Left));
    EXPECT_LE(chart.axisMinimum(Axis::Left), 1376);
    EXPECT_GE(chart.axisMaximum(Axis::Left), 1523);
    EXPECT_LE(chart.axisMinimum(Axis::Right), 9);
    EXPECT_GE(chart.axisMaximum(Axis::Right), 11);
    EXPECT_LT(chart.axisMaximum(Axis::Right), 100);  // scaled to its own series only
    const double autoMax = chart.axisMaximum(Axis::Left);
    chart.setAxisMinimum(Axis::Left, 1360);
    EXPECT_FALSE(chart.isAxisAuto(Axis::Left));
    EXPECT_DOUBLE_EQ(chart.axisMaximum(Axis::Left), autoMax);
    chart.setAxisAuto(Axis::Left);
    EXPECT_TRUE(chart.isAxisAuto(Axis::Left));
}

TEST(ChartTest, MarkersAndVisibility) {
    Chart chart;
    chart.setPointCount(4);
    chart.setSeriesValues(1, {"60", "61", "", "62"});
    chart.setSeriesValues(2, {"20", "21", "22", "23"});
    chart.ensureBuilt();

    // Without markers a line has no points drawn, but a lone point keeps a dot.
    for (QLineSeries* s : drawnSeries(chart)) {
        EXPECT_EQ(s->pointsVisible(), s->count() == 1) << s->count();
    }
    for (Marker m : {Marker::Circle, Marker::Ball}) {
        chart.setMarker(m);
        for (int i = 1; i <= Chart::kSeriesCount; ++i) EXPECT_EQ(chart.seriesMarker(i), m);
        for (QLineSeries* s : drawnSeries(chart)) {
            EXPECT_TRUE(s->pointsVisible());
            EXPECT_FALSE(s->lightMarker().isNull());
        }
    }
    // The ball is shaded: its picture holds many tones, the circle few.
    auto tones = [](const QImage& img) {
        QSet<QRgb> set;
        const int y = img.height() / 2;
        for (int x = 1; x < img.width() - 1; ++x) set.insert(img.pixel(x, y) | 0xff000000u);
        return set.size();
    };
    const int ballTones = tones(drawnSeries(chart).first()->lightMarker());
    chart.setMarker(Marker::Circle);
    const int circleTones = tones(drawnSeries(chart).first()->lightMarker());
    EXPECT_GT(ballTones, circleTones + 3);
    chart.setMarker(Marker::None);
    for (QLineSeries* s : drawnSeries(chart)) {
        EXPECT_TRUE(s->lightMarker().isNull() || s->count() == 1);
    }

    chart.setSeriesVisible(2, false);
    EXPECT_FALSE(chart.isSeriesVisible(2));
    EXPECT_TRUE(chart.isSeriesVisible(1));
    int hidden = 0;
    for (QLineSeries* s : drawnSeries(chart)) hidden += s->isVisible() ? 0 : 1;
    EXPECT_EQ(hidden, 1);  // series 2 is one piece
    // Values keep coming while hidden and show when it is shown again.
    chart.setValue(2, 3, "");
    chart.ensureBuilt();
    chart.setSeriesVisible(2, true);
    for (QLineSeries* s : drawnSeries(chart)) EXPECT_TRUE(s->isVisible());
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
    chart.setSeriesValues(1, {"72", "74", "73"});
    chart.setAxisRange(Axis::Left, 72, 74);
    chart.setAxisDivisions(Axis::Left, 4);
    chart.setMarker(Marker::Ball);
    chart.show();
    chart.ensureBuilt();
    QApplication::processEvents();
    QLineSeries* s = drawnSeries(chart).first();
    const QRectF plot = chart.chart()->plotArea();
    ASSERT_GT(plot.height(), 100);
    const QPointF top = chart.chart()->mapToPosition(QPointF(2, 74), s);
    const QPointF bottom = chart.chart()->mapToPosition(QPointF(1, 72), s);
    const qreal half = s->markerSize() / 2;
    EXPECT_GE(top.y() - plot.top(), half);
    EXPECT_GE(plot.bottom() - bottom.y(), half);
    EXPECT_LT(top.y() - plot.top(), 2 * half + 2);  // no more room than that
    EXPECT_DOUBLE_EQ(chart.displayedAxisMinimum(Axis::Left), 72);
    EXPECT_DOUBLE_EQ(chart.displayedAxisMaximum(Axis::Left), 74);
    auto* axis = static_cast<QValueAxis*>(s->attachedAxes().last());
    EXPECT_DOUBLE_EQ(axis->tickAnchor(), 72);
    EXPECT_DOUBLE_EQ(axis->tickInterval(), 0.5);
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
    const QString e20 = "1" + QString(20, '0');
    const QString e38 = "34" + QString(37, '0');
    const struct {
        const char* what;
        QStringList values;
        double minimum, maximum;  // automatic when equal
    } cases[] = {
        {"weights", {"72", "74", "73"}, 72, 74},      {"to a billion", {"72", "1e9"}, 0, 1e9},
        {"back to weights", {"72", "74"}, 72, 74},    {"one huge value", {e20, e20}, 0, 0},
        {"huge fixed limits", {e20}, 1e20, 1e20 + 1}, {"largest floats", {e38, "-" + e38}, 0, 0},
        {"beyond doubles", {e20}, -1.7e308, 1.7e308}, {"long log", QStringList(32766, "60"), 0, 0},
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
    chart.setCategoryAxisVisible(false);
    chart.setSeriesValues(1, {"60", "60", "", "60", "60"});
    chart.setAxisRange(Axis::Left, 59, 61);
    chart.show();
    QApplication::processEvents();
    const QImage img = chart.grab().toImage();
    QLineSeries* piece = drawnSeries(chart).first();
    auto blueAt = [&](double category) {
        const QPoint p =
            chart.mapFromScene(chart.chart()->mapToPosition(QPointF(category, 60), piece));
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
}  // namespace pairly::ui
