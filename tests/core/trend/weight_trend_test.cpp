#include "core/trend/weight_trend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/text/numbers.h"

namespace pairly::trend {
void PrintTo(const chart::AxisRange& a, std::ostream* os) {
    *os << a.minimum << ".." << a.maximum << "/" << a.majorDivisions;
}
}  // namespace pairly::trend

namespace pairly::trend {

namespace {

using store::MeasurementRecord;
using Log = std::vector<MeasurementRecord>;
using Texts = std::vector<std::string>;
using chart::wholeUnitDivisions;

// The figures of a series as a chart labels them; "" for a missing point.
Texts shown(const chart::Series& series) {
    Texts out;
    for (double v : series) out.push_back(std::isnan(v) ? "" : text::doubleText(v));
    return out;
}

MeasurementRecord rec(const char* date, float weight, float bodyFat = 22.0f) {
    MeasurementRecord r;
    r.date = date;
    r.situation = "朝";
    r.weight = weight;
    r.bodyFat = bodyFat;
    return r;
}

WeightSeries seriesOf(const std::vector<float>& weights, const std::vector<float>& fats = {}) {
    Log log;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        log.push_back(rec("2026/01/01", weights[i], i < fats.size() ? fats[i] : 22.0f));
    }
    return buildWeightSeries(log);
}

TEST(WeightSeries, ExtremesAndTheFirstDayOfTheLowestWeight) {
    const Log log = {rec("2026/01/01", 70.0f, 25.0f), rec("2026/01/02", 68.5f, 24.0f),
                     rec("2026/01/03", 71.2f, 26.5f), rec("2026/01/04", 68.5f, 23.5f),
                     rec("2026/01/05", 69.0f, 24.5f)};
    const WeightSeries s = buildWeightSeries(log);
    EXPECT_EQ(s.count(), 5);
    EXPECT_EQ(s.maximumWeight, 71.2f);
    EXPECT_EQ(s.minimumWeight, 68.5f);
    EXPECT_EQ(s.maximumBodyFat, 26.5f);
    EXPECT_EQ(s.minimumBodyFat, 23.5f);
    // Reached twice: the first day counts.
    EXPECT_EQ(s.lowestWeightDate, "2026/01/02");
    EXPECT_EQ(s.dates.back(), "2026/01/05");

    const WeightSeries none = buildWeightSeries({});
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.maximumWeight, 0.0f);
    EXPECT_EQ(none.minimumWeight, 999.0f);
}

TEST(MovingAverage, CountOfTheComboText) {
    const struct {
        const char* text;
        std::optional<int> count;
    } cases[] = {
        {"10", 10},
        {"1", 1},
        {"2.5", 2},
        {"1.9", 1},
        {" 15 ", 15},
        {"7回", 7},
        {"32767", 32767},
        {"32767.9", 32767},
        {"", {}},
        {"0", {}},
        {"0.99", {}},
        {"-3", {}},
        {"abc", {}},
        {"32768", {}},
        {"99999999999", {}},
        // A full-width count from the file counts as typed with the input method.
        {"１０", 10},
        {"　５", 5},
    };
    for (const auto& c : cases) EXPECT_EQ(movingAverageCount(c.text), c.count) << c.text;
}

TEST(MovingAverage, NoPointBeforeTheWindowIsFull) {
    std::vector<float> weights;
    for (int i = 0; i < 10; ++i) weights.push_back(60.0f + static_cast<float>(i) * 0.3f);

    const std::vector<float> nine(weights.begin(), weights.begin() + 9);
    EXPECT_EQ(shown(movingAverages(nine, 10)), Texts(9));

    const Texts ten = shown(movingAverages(weights, 10));
    float sum = 0;
    for (float w : weights) sum += w;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ten[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(ten[9], text::doubleText(sum / 10.0));

    // Changing 10 to 5 starts the line at the fifth weighing.
    const Texts five = shown(movingAverages(weights, 5));
    EXPECT_EQ(five[3], "");
    EXPECT_NE(five[4], "");
}

TEST(MovingAverage, SumInSinglePrecisionDivisionInDouble) {
    // 65.3f + 65.4f rounds to the float 130.70001220703125; summed in double the mean
    // would read 65.3500022888184.
    EXPECT_EQ(shown(movingAverages({65.3f, 65.4f}, 2))[1], "65.3500061035156");
    // k = 1 draws the weights themselves.
    const std::vector<float> w = {65.3f, 64.9f, 70.1f};
    const Texts one = shown(movingAverages(w, 1));
    for (std::size_t i = 0; i < w.size(); ++i)
        EXPECT_EQ(static_cast<float>(text::leadingNumber(one[i])), w[i]) << i;
}

TEST(MovingAverage, EveryWindowSummedAfreshOverALongLog) {
    // Long enough for full and partial blocks of windows; each window must be the plain
    // sum of its own weights in file order, not a running sum that drifts.
    std::vector<float> w;
    for (int i = 0; i < 1000; ++i) w.push_back(55.0f + static_cast<float>((i * 37) % 200) / 10.0f);
    for (int k : {1, 3, 16, 17, 30, 999, 1000}) {
        const Texts got = shown(movingAverages(w, k));
        ASSERT_EQ(got.size(), w.size());
        for (int i = 0; i < static_cast<int>(w.size()); ++i) {
            std::string expected;
            if (i >= k - 1) {
                float sum = 0;
                for (int j = i - k + 1; j <= i; ++j) sum += w[static_cast<std::size_t>(j)];
                expected = text::doubleText(sum / static_cast<double>(k));
            }
            ASSERT_EQ(got[static_cast<std::size_t>(i)], expected) << "k=" << k << " i=" << i;
        }
    }
    EXPECT_EQ(shown(movingAverages(w, 1001)), Texts(1000));
}

TEST(WeightChart, SeriesAndMissingMovingAverage) {
    const WeightSeries s = seriesOf({65.3f, 65.0f, 64.8f}, {25.5f, 25.1f, 24.9f});
    const WeightChart c = buildWeightChart(s, 2);
    EXPECT_EQ(shown(c.weight), (Texts{"65.3", "65", "64.8"}));
    EXPECT_EQ(shown(c.bodyFat), (Texts{"25.5", "25.1", "24.9"}));
    EXPECT_TRUE(std::isnan(c.movingAverage[0]));
    EXPECT_FALSE(std::isnan(c.movingAverage[1]));
    // A count the combo refused (or an empty one from the file): no average at all.
    EXPECT_EQ(shown(buildWeightChart(s, std::nullopt).movingAverage), Texts(3));
    EXPECT_EQ(buildWeightChart(seriesOf({}), 10).points(), 0);
}

TEST(WeightChart, AxisLimits) {
    const struct {
        std::vector<float> weights, fats;
        chart::AxisRange left, right;
    } cases[] = {
        // 72.1 + 0.9 reaches 73 (a double sum would stop at 72.99999 and cut off 72.1).
        {{72.1f, 70.4f}, {22.1f, 18.5f}, {70, 73}, {14, 26}},
        {{72.0f, 70.0f}, {20.0f, 20.0f}, {70, 72}, {16, 23}},
        // Two decimals: the top weighing still lies under the axis maximum.
        {{72.05f, 70.0f}, {20.0f, 20.0f}, {70, 73}, {16, 23}},
        {{}, {}, {0, 10}, {0, 10}},
    };
    for (const auto& c : cases) {
        const WeightAxes axes = weightChartAxes(seriesOf(c.weights, c.fats));
        EXPECT_EQ(axes.left, c.left) << c.weights.size();
        EXPECT_EQ(axes.right, c.right) << c.weights.size();
    }
}

TEST(WeightChart, GoalModeLowerBound) {
    const chart::AxisRange left{70, 73};
    EXPECT_EQ(goalModeAxis(left, false, 60.0f), left);
    EXPECT_EQ(goalModeAxis(left, true, 60.7f), (chart::AxisRange{60, 73}));
    // Pressing the goal button twice brings back Int(minimum weight).
    EXPECT_EQ(goalModeAxis(goalModeAxis(left, true, 60.0f), false, 60.0f).minimum, 60);
    EXPECT_EQ(goalModeAxis(left, false, 60.0f).minimum, 70);
    // A target at or above the maximum still gives an axis of one kilo.
    EXPECT_EQ(goalModeAxis(left, true, 73.0f), (chart::AxisRange{73, 74}));
    EXPECT_EQ(goalModeAxis(left, true, 80.5f), (chart::AxisRange{80, 81}));
}

TEST(WeightChart, WholeUnitDivisions) {
    const std::pair<chart::AxisRange, int> cases[] = {
        {{70, 73}, 3},      {{68, 79}, 11},
        {{60, 80}, 10},     {{0, 100}, 10},
        {{50, 63}, 10},     {{70, 70}, 1},
        {{1360, 1530}, 10}, {{std::numeric_limits<double>::infinity(), 1}, 10},
    };
    for (const auto& [axis, divisions] : cases)
        EXPECT_EQ(wholeUnitDivisions(axis), divisions) << axis.minimum << ".." << axis.maximum;
}

TEST(TrendTexts, PeriodLowestAndGoal) {
    const Log log = {rec("2004/03/28", 65.3f), rec("2004/04/10", 62.8f), rec("2004/04/20", 64.0f),
                     rec("2004/04/25", 62.8f), rec("2004/05/01", 63.1f)};
    const TrendTexts t = buildTrendTexts(buildWeightSeries(log), 60.0f);
    EXPECT_EQ(t.period,
              "2004/03/28 ( 65.3Kg ) でスタート ～ 2004/05/01 ( 63.1Kg ) まで 34日経過 _ 2.2Kg 減");
    EXPECT_EQ(t.lowest, "最小記録 2004/04/10 の 62.8Kg   初日から 2.5Kg 減");
    EXPECT_EQ(t.goal, "目標まで残り　3.1Kg");

    const struct {
        float first, last, target;
        const char* periodEnd;
        const char* goal;
    } cases[] = {
        {65.0f, 65.0f, 60.0f, "0.0Kg 同", "目標まで残り　5.0Kg"},
        {65.0f, 65.4f, 60.0f, "0.4Kg 増", "目標まで残り　5.4Kg"},
        {65.0f, 63.5f, 60.0f, "1.5Kg 減", "目標まで残り　3.5Kg"},
        {65.0f, 58.5f, 60.0f, "6.5Kg 減", "目標まで残り　-1.5Kg"},
    };
    for (const auto& c : cases) {
        const TrendTexts u = buildTrendTexts(
            buildWeightSeries({rec("2004/03/28", c.first), rec("2004/03/28", c.last)}), c.target);
        EXPECT_TRUE(u.period.ends_with(c.periodEnd)) << u.period;
        EXPECT_NE(u.period.find("まで 0日経過"), std::string::npos) << u.period;
        EXPECT_EQ(u.goal, c.goal);
    }
    // The plain number text: 65 rather than 65.0.
    EXPECT_TRUE(buildTrendTexts(seriesOf({65.0f}), 60.0f)
                    .lowest.starts_with("最小記録 2026/01/01 の 65Kg   "));

    // Nothing is read from an empty series.
    EXPECT_EQ(buildTrendTexts(seriesOf({}), 60.0f), TrendTexts{});
}

TEST(MetricCharts, AxesSeriesAndLegends) {
    auto log = [](std::initializer_list<std::tuple<int, int, float, int, float>> rows) {
        Log out;
        for (const auto& [met, visc, muscle, score, bone] : rows) {
            MeasurementRecord r = rec("2026/01/01", 60.0f);
            r.basalMetabolism = static_cast<std::int16_t>(met);
            r.visceralFat = static_cast<std::int16_t>(visc);
            r.muscleMass = muscle;
            r.muscleScore = static_cast<std::int16_t>(score);
            r.boneMass = bone;
            out.push_back(r);
        }
        return out;
    };
    const Log usual =
        log({{1376, 9, 40.5f, 2, 2.5f}, {1523, 8, 41.2f, 3, 2.8f}, {1400, 8, 40.01f, 2, 2.6f}});

    const MetricChart metabolism = buildMetricChart(usual, MetricKind::Metabolism);
    EXPECT_EQ(shown(metabolism.series1), (Texts{"1376", "1523", "1400"}));
    EXPECT_EQ(shown(metabolism.series2), (Texts{"9", "8", "8"}));
    EXPECT_EQ(metabolism.left, (chart::AxisRange{1360, 1530, 10}));
    EXPECT_EQ(metabolism.right,
              (chart::AxisRange{7, 10, 3}));  // visceral fat 8..9, one level around

    const MetricChart muscle = buildMetricChart(usual, MetricKind::Muscle);
    EXPECT_EQ(shown(muscle.series1), (Texts{"40.5", "41.2", "40.01"}));
    EXPECT_EQ(shown(muscle.series2), (Texts{"2", "3", "2"}));
    EXPECT_EQ(muscle.left, (chart::AxisRange{40, 42, 10}));

    const MetricChart bone = buildMetricChart(usual, MetricKind::Bone);
    EXPECT_EQ(shown(bone.series1), (Texts{"2.5", "2.8", "2.6"}));
    EXPECT_TRUE(bone.series2.empty());
    EXPECT_NEAR(bone.left.minimum, 2.4, 1e-6);
    EXPECT_NEAR(bone.left.maximum, 2.9, 1e-6);
    EXPECT_EQ(bone.left.majorDivisions, 5);

    // The limits of extreme values are computed in 32 bits: 32,770 and -32,780 do not wrap.
    const Log extreme = log({{32767, 0, 0, 0, 0}, {-32768, 0, 0, 0, 0}});
    EXPECT_EQ(buildMetricChart(extreme, MetricKind::Metabolism).left,
              (chart::AxisRange{-32780, 32770, 10}));

    const MetricChart empty = buildMetricChart({}, MetricKind::Bone);
    EXPECT_TRUE(empty.series1.empty());
    EXPECT_LT(empty.left.minimum, empty.left.maximum);

    EXPECT_STREQ(metricLegend(MetricKind::Metabolism).series1, "基礎代謝");
    EXPECT_STREQ(metricLegend(MetricKind::Metabolism).series2, "内臓脂肪");
    EXPECT_STREQ(metricLegend(MetricKind::Muscle).series2, "筋肉スコア");
    EXPECT_STREQ(metricLegend(MetricKind::Bone).series2, "");
}

TEST(WeightChart, DamagedValuesDoNotBreakTheComputations) {
    const float inf = std::numeric_limits<float>::infinity();
    for (const std::vector<float>& weights :
         {std::vector<float>{inf, 60.0f}, {1e30f, 60.0f}, {-5.0f, 60.0f}, {0.0f}}) {
        const WeightSeries s = seriesOf(weights);
        const WeightChart c = buildWeightChart(s, 1);
        EXPECT_EQ(c.points(), static_cast<int>(weights.size()));
        const WeightAxes axes = weightChartAxes(s);
        EXPECT_GE(wholeUnitDivisions(axes.left), 1);
        EXPECT_FALSE(buildTrendTexts(s, 50.0f).period.empty());
    }
}

}  // namespace
}  // namespace pairly::trend
