#include "core/trend/weight_trend.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "core/disk/fields.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "core/text/text_memo.h"

namespace pairly::trend {

namespace {

using text::formatNumber;
using text::intFloor;

// An empty chart still gets an axis a chart can draw.
constexpr chart::AxisRange kEmptyAxis{0, 10, 0};

int daysFromTo(const std::string& from, const std::string& to) {
    const auto a = text::parseDate(from);
    const auto b = text::parseDate(to);
    return a && b ? text::daysBetween(*a, *b) : 0;
}

using chart::upperLimit;
using text::kg;
using text::trendWord;

}  // namespace

WeightSeries buildWeightSeries(const std::vector<store::MeasurementRecord>& log) {
    WeightSeries s;
    s.weights.reserve(log.size());
    s.bodyFats.reserve(log.size());
    s.dates.reserve(log.size());
    for (const store::MeasurementRecord& r : log) {
        s.weights.push_back(r.weight);
        s.bodyFats.push_back(r.bodyFat);
        s.dates.push_back(r.date);
        if (r.weight > s.maximumWeight) s.maximumWeight = r.weight;
        if (r.weight < s.minimumWeight) {
            s.minimumWeight = r.weight;
            s.lowestWeightDate = r.date;
        }
        if (r.bodyFat > s.maximumBodyFat) s.maximumBodyFat = r.bodyFat;
        if (r.bodyFat < s.minimumBodyFat) s.minimumBodyFat = r.bodyFat;
    }
    return s;
}

std::optional<int> movingAverageCount(std::string_view countText) {
    const double value = disk::readLeadingNumber(countText);
    // Record numbers are 16-bit: a larger window could never fill.
    if (!(value >= 1) || value >= 32768) return std::nullopt;
    return static_cast<int>(intFloor(value));
}

std::optional<std::string> movingAverageText(std::string_view typed) {
    const disk::TypedNumber count = disk::readTypedNumber(typed, disk::NumberKind::Count);
    if (!count.ok()) return std::nullopt;
    return text::doubleText(count.value);
}

chart::Series movingAverages(const std::vector<float>& weights, int k) {
    const int n = static_cast<int>(weights.size());
    chart::Series out(static_cast<std::size_t>(n), std::numeric_limits<double>::quiet_NaN());
    if (k < 1 || k > n) return out;
    const double divisor = k;
    // Every window is summed afresh in file order: single-precision additions round
    // differently from a running sum, and the averages must not drift over 30 years.
    // Sixteen neighbouring windows advance together, which the compiler vectorises.
    constexpr int kLanes = 16;
    for (int last = k - 1; last < n; last += kLanes) {
        const int lanes = std::min(kLanes, n - last);
        const float* first = weights.data() + (last - k + 1);
        float sum[kLanes] = {};
        if (lanes == kLanes) {
            for (int j = 0; j < k; ++j)
                for (int l = 0; l < kLanes; ++l) sum[l] += first[j + l];
        } else {
            for (int j = 0; j < k; ++j)
                for (int l = 0; l < lanes; ++l) sum[l] += first[j + l];
        }
        for (int l = 0; l < lanes; ++l) out[static_cast<std::size_t>(last + l)] = sum[l] / divisor;
    }
    return out;
}

WeightChart buildWeightChart(const WeightSeries& series, std::optional<int> movingCount) {
    WeightChart c;
    const std::size_t n = series.weights.size();
    c.weight.reserve(n);
    c.bodyFat.reserve(n);
    for (float w : series.weights) c.weight.push_back(text::shortestDecimal(w));
    for (float f : series.bodyFats) c.bodyFat.push_back(text::shortestDecimal(f));
    c.movingAverage = movingCount ? movingAverages(series.weights, *movingCount)
                                  : chart::Series(n, std::numeric_limits<double>::quiet_NaN());
    return c;
}

WeightAxes weightChartAxes(const WeightSeries& series) {
    if (series.empty()) return {kEmptyAxis, kEmptyAxis};
    return {{intFloor(series.minimumWeight), upperLimit(series.maximumWeight, 0.9f)},
            {intFloor(series.minimumBodyFat - 4.0f), upperLimit(series.maximumBodyFat, 3.9f)}};
}

chart::AxisRange goalModeAxis(const chart::AxisRange& left, bool goalMode, float targetWeight) {
    if (!goalMode) return left;
    chart::AxisRange axis = left;
    axis.minimum = intFloor(targetWeight);
    // A target above every weighing still gets an axis to draw rather than an empty one.
    if (axis.minimum >= axis.maximum) axis.maximum = axis.minimum + 1;
    return axis;
}

TrendTexts buildTrendTexts(const WeightSeries& series, float targetWeight) {
    TrendTexts t;
    if (series.empty()) return t;
    const float w1 = series.weights.front();
    const float wN = series.weights.back();
    const std::string& d1 = series.dates.front();
    const std::string& dN = series.dates.back();
    const float loss = w1 - wN;
    t.period = d1 + " ( " + text::floatText(w1) + "Kg ) でスタート ～ " + dN + " ( " +
               text::floatText(wN) + "Kg ) まで " + std::to_string(daysFromTo(d1, dN)) +
               "日経過 _ " + kg(std::fabs(loss)) + trendWord(loss);
    const float best = w1 - series.lowestWeight();
    t.lowest = "最小記録 " + series.lowestWeightDate + " の " +
               text::floatText(series.lowestWeight()) + "Kg   初日から " + kg(best) +
               trendWord(best);
    t.goal = "目標まで残り　" + kg(wN - targetWeight);
    return t;
}

MetricChart buildMetricChart(const std::vector<store::MeasurementRecord>& log, MetricKind kind) {
    if (log.empty()) {
        MetricChart c;
        c.left = c.right = {kEmptyAxis.minimum, kEmptyAxis.maximum, 10};
        return c;
    }
    chart::CompositionBuilder builder(chart::CompositionStyle::stored(), log.size());
    for (const store::MeasurementRecord& r : log) builder.add(r);
    chart::CompositionCharts charts = builder.finish();
    switch (kind) {
        case MetricKind::Metabolism:
            return std::move(charts.metabolism);
        case MetricKind::Muscle:
            return std::move(charts.muscle);
        case MetricKind::Bone:
            break;
    }
    return std::move(charts.bone);
}

MetricLegend metricLegend(MetricKind kind) {
    switch (kind) {
        case MetricKind::Metabolism:
            return {"基礎代謝", "内臓脂肪"};
        case MetricKind::Muscle:
            return {"筋肉量", "筋肉スコア"};
        case MetricKind::Bone:
            return {"骨量", ""};
    }
    return {"", ""};
}

}  // namespace pairly::trend
