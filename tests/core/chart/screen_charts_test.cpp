// The figures each screen hands its charts, pinned across the screens: the day view of the
// input screen, the list, the trend screen and the comparison graph.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/comparison/daily_average.h"
#include "core/entry/day_view.h"
#include "core/list/measurement_list.h"
#include "core/text/numbers.h"
#include "core/trend/weight_trend.h"

namespace pairly::chart {
namespace {

using store::MeasurementRecord;
using Log = std::vector<MeasurementRecord>;

struct Reading {
    float weight, fat;
    std::int16_t metabolism, visceral;
    float muscle;
    std::int16_t score;
    float bone;
};

Log logOf(const std::vector<Reading>& readings) {
    Log log;
    for (const Reading& x : readings) {
        MeasurementRecord r;
        r.date = "2026/12/07";
        r.situation = "朝";
        r.weight = x.weight;
        r.bodyFat = x.fat;
        r.basalMetabolism = x.metabolism;
        r.visceralFat = x.visceral;
        r.muscleMass = x.muscle;
        r.muscleScore = x.score;
        r.boneMass = x.bone;
        log.push_back(r);
    }
    return log;
}

// What a chart shows: its points and both axes (0 divisions: the chart keeps its count).
struct Figures {
    std::vector<double> series1, series2;
    double leftMin = 0, leftMax = 0;
    int leftDivisions = 0;
    double rightMin = 0, rightMax = 0;
    int rightDivisions = 0;
};

std::string describe(const Figures& f) {
    std::string out = "[";
    for (double v : f.series1) out += text::doubleText(v) + " ";
    out += "] [";
    for (double v : f.series2) out += text::doubleText(v) + " ";
    out += "] left " + text::doubleText(f.leftMin) + ".." + text::doubleText(f.leftMax) + "/" +
           std::to_string(f.leftDivisions) + " right " + text::doubleText(f.rightMin) + ".." +
           text::doubleText(f.rightMax) + "/" + std::to_string(f.rightDivisions);
    return out;
}

Figures figures(const CompositionChart& c) {
    return {c.series1,
            c.series2,
            c.left.minimum,
            c.left.maximum,
            c.left.majorDivisions,
            c.right.minimum,
            c.right.maximum,
            c.right.majorDivisions};
}

struct ScreenFigures {
    Figures metabolism, muscle, bone;
};

ScreenFigures dayView(const Log& log) {
    const entry::DayViewModel m = entry::computeDayView(log, {}, 170.0f, "2026/12/07", 1);
    return {figures(m.metabolismChart), figures(m.muscleChart), figures(m.boneChart)};
}

ScreenFigures list(const Log& log) {
    const list::MeasurementList l = list::buildUnfilteredList(log, 170.0f);
    return {figures(l.smallCharts.metabolism), figures(l.smallCharts.muscle),
            figures(l.smallCharts.bone)};
}

ScreenFigures trend(const Log& log) {
    return {figures(trend::buildMetricChart(log, trend::MetricKind::Metabolism)),
            figures(trend::buildMetricChart(log, trend::MetricKind::Muscle)),
            figures(trend::buildMetricChart(log, trend::MetricKind::Bone))};
}

void expectFigures(const Figures& actual, const std::string& expected, const std::string& where) {
    EXPECT_EQ(describe(actual), expected) << where;
}

struct CompositionCase {
    const char* name;
    std::vector<Reading> readings;
    // metabolism, muscle, bone as each screen shows them
    std::array<const char*, 3> day, list, trend;
};

TEST(ScreenCharts, CompositionChartsOfEveryScreen) {
    const CompositionCase cases[] = {
        {"normal",
         {{60.1f, 22.1f, 1480, 9, 52.3f, 95, 2.5f}, {61.3f, 23.4f, 1520, 10, 53.0f, 96, 2.7f}},
         {"[1480 1520 ] [9 10 ] left 1470..1530/10 right 8..11/0",
          "[52.3 53 ] [95 96 ] left 52..53/10 right 94..97/0",
          "[2.5 2.7 ] [] left 2.4..2.80000004768372/4 right 0..1/0"},
         {"[1480 1520 ] [9 10 ] left 1470..1530/10 right 8..11/0",
          "[52.3 53 ] [95 96 ] left 52..53/10 right 94..97/0",
          "[2.5 2.7 ] [] left 2.4..2.80000004768372/4 right 0..1/0"},
         {"[1480 1520 ] [9 10 ] left 1470..1530/10 right 8..11/3",
          "[52.3 53 ] [95 96 ] left 52..53/10 right 94..97/3",
          "[2.5 2.7 ] [] left 2.4..2.80000004768372/4 right 0..1/0"}},
        {"bone 2.6",
         {{60.0f, 22.0f, 1500, 9, 52.0f, 95, 2.6f}, {60.0f, 22.0f, 1500, 9, 52.0f, 95, 2.6f}},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/2",
          "[52 52 ] [95 95 ] left 52..52/10 right 94..96/2",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"}},
        {"bone 52.6",
         {{60.0f, 22.0f, 1500, 9, 52.0f, 95, 2.6f}, {60.0f, 22.0f, 1500, 9, 52.0f, 95, 52.6f}},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 52.6 ] [] left 2.49999990463257..52.6999984741211/502 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 52.6 ] [] left 2.49999990463257..52.6999984741211/502 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/2",
          "[52 52 ] [95 95 ] left 52..52/10 right 94..96/2",
          "[2.6 52.6 ] [] left 2.49999990463257..52.6999984741211/502 right 0..1/0"}},
        {"negative visceral fat",
         {{60.0f, 22.0f, 1500, -3, 52.0f, -2, 2.6f}, {60.0f, 22.0f, 1500, -12, 52.0f, 0, 2.6f}},
         {"[1500 1500 ] [-3 -12 ] left 1490..1510/10 right -13..-2/0",
          "[52 52 ] [-2 0 ] left 52..53/10 right -3..1/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[1500 1500 ] [-3 -12 ] left 1490..1510/10 right -13..-2/0",
          "[52 52 ] [-2 0 ] left 52..53/10 right -3..1/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[1500 1500 ] [-3 -12 ] left 1490..1510/10 right -13..-2/11",
          "[52 52 ] [-2 0 ] left 52..52/10 right -3..1/4",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"}},
        {"basal metabolism 32767",
         {{60.0f, 22.0f, 32767, 9, 52.0f, 95, 2.6f}, {60.0f, 22.0f, 32767, 9, 52.0f, 95, 2.6f}},
         {"[32767 32767 ] [9 9 ] left 29990..32770/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[32767 32767 ] [9 9 ] left 29990..32770/10 right 8..10/0",
          "[52 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"},
         {"[32767 32767 ] [9 9 ] left 29990..32770/10 right 8..10/2",
          "[52 52 ] [95 95 ] left 52..52/10 right 94..96/2",
          "[2.6 2.6 ] [] left 2.49999990463257..2.69999990463257/2 right 0..1/0"}},
        {"two decimals",
         {{60.0f, 22.0f, 1500, 9, 52.35f, 95, 2.65f}, {60.0f, 22.0f, 1500, 9, 52.04f, 95, 2.61f}},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52.3 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.7 2.6 ] [] left 2.49999990463257..2.80000004768372/3 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/0",
          "[52.3 52 ] [95 95 ] left 52..53/10 right 94..96/0",
          "[2.7 2.6 ] [] left 2.49999990463257..2.80000004768372/3 right 0..1/0"},
         {"[1500 1500 ] [9 9 ] left 1490..1510/10 right 8..10/2",
          "[52.35 52.04 ] [95 95 ] left 52..53/10 right 94..96/2",
          "[2.65 2.61 ] [] left 2.50999989509583..2.75000009536743/2 right 0..1/0"}},
    };
    for (const CompositionCase& c : cases) {
        const Log log = logOf(c.readings);
        const std::pair<const char*, ScreenFigures> screens[] = {
            {"day", dayView(log)}, {"list", list(log)}, {"trend", trend(log)}};
        const std::array<const char*, 3>* expected[] = {&c.day, &c.list, &c.trend};
        for (int s = 0; s < 3; ++s) {
            const ScreenFigures& f = screens[s].second;
            const std::string where = std::string(c.name) + " " + screens[s].first;
            expectFigures(f.metabolism, (*expected[s])[0], where + " metabolism");
            expectFigures(f.muscle, (*expected[s])[1], where + " muscle");
            expectFigures(f.bone, (*expected[s])[2], where + " bone");
        }
    }
}

struct WeightCase {
    const char* name;
    std::vector<Reading> readings;
    // weight and body-fat axes as "min..max/divisions"
    const char *day, *list, *trend, *comparison;
};

std::string axisText(double minimum, double maximum, int divisions) {
    return text::doubleText(minimum) + ".." + text::doubleText(maximum) + "/" +
           std::to_string(divisions);
}

TEST(ScreenCharts, WeightAxesOfEveryScreen) {
    const WeightCase cases[] = {
        {"normal",
         {{60.1f, 22.1f, 1480, 9, 52.3f, 95, 2.5f}, {61.3f, 23.4f, 1520, 10, 53.0f, 96, 2.7f}},
         "60..62/0 22..24/0",
         "60..62/2 18..27/9",
         "60..62/2 18..27/9",
         "60..62/2 50..52/2"},
        {"one weight",
         {{60.0f, 22.0f, 1500, 9, 52.0f, 95, 2.6f}, {60.0f, 22.0f, 1500, 9, 52.0f, 95, 2.6f}},
         "60..61/0 22..23/0",
         "60..61/1 18..25/7",
         "60..60/1 18..25/7",
         "60..61/1 50..51/1"},
        // Int(36.1 + 3.9) is 40 on the list as on the trend screen, although the float 36.1
        // lies just below 36.1.
        {"body fat 36.1",
         {{60.0f, 36.1f, 1500, 9, 52.0f, 95, 2.6f}, {60.0f, 30.0f, 1500, 9, 52.0f, 95, 2.6f}},
         "60..61/0 30..37/0",
         "60..61/1 26..40/7",
         "60..60/1 26..40/7",
         "60..61/1 50..51/1"},
        {"far apart",
         {{48.7f, 12.5f, 1500, 9, 52.0f, 95, 2.6f}, {72.1f, 31.9f, 1500, 9, 52.0f, 95, 2.6f}},
         "48..73/0 12..32/0",
         "48..73/5 8..35/9",
         "48..73/5 8..35/9",
         "48..73/5 38..63/5"},
    };
    for (const WeightCase& c : cases) {
        const Log log = logOf(c.readings);
        const entry::DayViewModel day = entry::computeDayView(log, {}, 170.0f, "2026/12/07", 1);
        const std::string dayAxes =
            axisText(day.weightChart.left.minimum, day.weightChart.left.maximum,
                     day.weightChart.left.majorDivisions) +
            " " +
            axisText(day.weightChart.right.minimum, day.weightChart.right.maximum,
                     day.weightChart.right.majorDivisions);
        EXPECT_EQ(dayAxes, c.day) << c.name;

        const list::MeasurementList l = list::buildUnfilteredList(log, 170.0f);
        const std::string listAxes =
            axisText(l.chart.weightAxis.minimum, l.chart.weightAxis.maximum,
                     l.chart.weightAxis.majorDivisions) +
            " " +
            axisText(l.chart.bodyFatAxis.minimum, l.chart.bodyFatAxis.maximum,
                     l.chart.bodyFatAxis.majorDivisions);
        EXPECT_EQ(listAxes, c.list) << c.name;

        const trend::WeightAxes t = trend::weightChartAxes(trend::buildWeightSeries(log));
        const std::string trendAxes =
            axisText(t.left.minimum, t.left.maximum, wholeUnitDivisions(t.left)) + " " +
            axisText(t.right.minimum, t.right.maximum, wholeUnitDivisions(t.right));
        EXPECT_EQ(trendAxes, c.trend) << c.name;

        // The comparison puts the second partner's weights a day later on the right axis.
        Log other = log;
        for (MeasurementRecord& r : other) {
            r.date = "2026/12/08";
            r.weight -= 10;
        }
        const comparison::DailyAverages averages = comparison::buildDailyAverages(
            comparison::datedWeights(log), comparison::datedWeights(other));
        const comparison::AverageChart& sep = averages.separate;
        const auto shown = [](const comparison::AxisRange& a) {
            const comparison::AxisRange d = chart::displayedRange(a);
            return axisText(d.minimum, d.maximum, chart::majorDivisions(a));
        };
        EXPECT_EQ(shown(sep.left) + " " + shown(sep.right), c.comparison) << c.name;
    }
}

}  // namespace
}  // namespace pairly::chart
