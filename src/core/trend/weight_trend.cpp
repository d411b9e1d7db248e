#include "core/trend/weight_trend.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "core/store/fields.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "core/text/text_memo.h"

namespace pairly::views {

namespace {

using text::formatNumber;
using text::intFloor;

// An empty chart still gets an axis a chart can draw.
constexpr AxisLimits kEmptyAxis{0, 10};

// Int(top) as an axis maximum, where top is the largest value plus a margin that rounds
// the usual one-decimal values up to the next whole number. The sum is taken in single
// precision like the values, so that 72.1 reaches 73 rather than 72.99999; a value with
// more decimals (72.05) still must not stick out above the axis.
double upperLimit(float largest, float margin) {
    const float top = largest + margin;
    double limit = intFloor(top);
    if (limit < largest) limit = std::ceil(static_cast<double>(largest));
    return limit;
}

int daysFromTo(const std::string& from, const std::string& to) {
    const auto a = text::parseDate(from);
    const auto b = text::parseDate(to);
    return a && b ? text::daysBetween(*a, *b) : 0;
}

std::string kg(double value) { return formatNumber(value, "0.0Kg"); }

// Extremes of a 16-bit series and the axis one unit beyond them.
struct IntegerRange {
    int smallest = 32767, largest = -32768;
    void add(int v) {
        smallest = std::min(smallest, v);
        largest = std::max(largest, v);
    }
    AxisLimits axis() const { return {smallest - 1.0, largest + 1.0}; }
};

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
    const double value = text::leadingNumber(countText);
    // Record numbers are 16-bit: a larger window could never fill.
    if (!(value >= 1) || value >= 32768) return std::nullopt;
    return static_cast<int>(intFloor(value));
}

std::optional<std::string> movingAverageText(std::string_view typed) {
    const store::TypedNumber count = store::readTypedNumber(typed, store::NumberKind::Count);
    if (!count.ok()) return std::nullopt;
    return text::doubleText(count.value);
}

std::vector<std::string> movingAverageTexts(const std::vector<float>& weights, int k) {
    const int n = static_cast<int>(weights.size());
    std::vector<std::string> out(static_cast<std::size_t>(n));
    if (k < 1 || k > n) return out;
    const double divisor = k;
    // The same sums come back over the years: each one is written once.
    std::unordered_map<std::uint32_t, std::string> texts;
    auto meanText = [&](float sum) -> const std::string& {
        auto [it, added] = texts.try_emplace(std::bit_cast<std::uint32_t>(sum));
        if (added) it->second = text::doubleText(sum / divisor);
        return it->second;
    };
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
        for (int l = 0; l < lanes; ++l) out[static_cast<std::size_t>(last + l)] = meanText(sum[l]);
    }
    return out;
}

WeightChart buildWeightChart(const WeightSeries& series, std::optional<int> movingCount) {
    WeightChart c;
    const std::size_t n = series.weights.size();
    c.weight.reserve(n);
    c.bodyFat.reserve(n);
    FloatTextMemo plain;
    for (float w : series.weights) c.weight.push_back(plain(w));
    for (float f : series.bodyFats) c.bodyFat.push_back(plain(f));
    c.movingAverage = movingCount ? movingAverageTexts(series.weights, *movingCount)
                                  : std::vector<std::string>(n);
    return c;
}

WeightAxes weightChartAxes(const WeightSeries& series) {
    if (series.empty()) return {kEmptyAxis, kEmptyAxis};
    return {{intFloor(series.minimumWeight), upperLimit(series.maximumWeight, 0.9f)},
            {intFloor(series.minimumBodyFat - 4.0f), upperLimit(series.maximumBodyFat, 3.9f)}};
}

int wholeUnitDivisions(const AxisLimits& axis) {
    constexpr double kLimit = 1e9;
    constexpr long long kMost = 12;
    if (!(std::fabs(axis.minimum) < kLimit && std::fabs(axis.maximum) < kLimit)) return 10;
    const auto span = static_cast<long long>(std::ceil(axis.maximum) - intFloor(axis.minimum));
    if (span < 1) return 1;
    for (long long step = 1; step <= span; step *= 10) {
        for (long long m : {1, 2, 5}) {
            if (span % (step * m) == 0 && span / (step * m) <= kMost)
                return static_cast<int>(span / (step * m));
        }
    }
    // No round step divides the span: any divisor that gives a readable count.
    for (long long k = kMost; k >= 4; --k)
        if (span % k == 0) return static_cast<int>(k);
    return 10;
}

AxisLimits goalModeAxis(const AxisLimits& left, bool goalMode, float targetWeight) {
    if (!goalMode) return left;
    AxisLimits axis = left;
    axis.minimum = intFloor(targetWeight);
    // A target above every weighing still gets an axis to draw rather than an empty one.
    if (axis.minimum >= axis.maximum) axis.maximum = axis.minimum + 1;
    return axis;
}

const char* trendWord(double lossKg) {
    if (lossKg < 0) return " 増";
    if (lossKg == 0) return " 同";
    return " 減";
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
    MetricChart c;
    if (log.empty()) {
        c.left = c.right = kEmptyAxis;
        return c;
    }
    c.series1.reserve(log.size());
    FloatTextMemo plain;
    switch (kind) {
        case MetricKind::Metabolism: {
            c.series2.reserve(log.size());
            int largest = 0, smallest = 30000;
            IntegerRange second;
            for (const store::MeasurementRecord& r : log) {
                c.series1.push_back(std::to_string(r.basalMetabolism));
                c.series2.push_back(std::to_string(r.visceralFat));
                largest = std::max<int>(largest, r.basalMetabolism);
                smallest = std::min<int>(smallest, r.basalMetabolism);
                second.add(r.visceralFat);
            }
            c.right = second.axis();
            // Whole tens around the values, in 32 bits: 32,767 kcal gives 32,770, which a
            // 16-bit limit could not hold.
            c.left = {(intFloor(smallest * 0.1) - 1) * 10, (intFloor(largest * 0.1) + 1) * 10};
            c.divisions = 10;
            break;
        }
        case MetricKind::Muscle: {
            c.series2.reserve(log.size());
            float largest = 0, smallest = 9999;
            IntegerRange second;
            for (const store::MeasurementRecord& r : log) {
                c.series1.push_back(plain(r.muscleMass));
                c.series2.push_back(std::to_string(r.muscleScore));
                if (r.muscleMass > largest) largest = r.muscleMass;
                if (r.muscleMass < smallest) smallest = r.muscleMass;
                second.add(r.muscleScore);
            }
            c.right = second.axis();
            c.left = {intFloor(smallest), upperLimit(largest, 0.99f)};
            c.divisions = 10;
            break;
        }
        case MetricKind::Bone: {
            float largest = 0, smallest = 30000;
            for (const store::MeasurementRecord& r : log) {
                c.series1.push_back(plain(r.boneMass));
                if (r.boneMass > largest) largest = r.boneMass;
                if (r.boneMass < smallest) smallest = r.boneMass;
            }
            // Not whole numbers: one major division per 0.1 kg.
            c.left = {smallest - 0.1, largest + 0.1};
            const double divisions = text::roundHalfEven((c.left.maximum - c.left.minimum) * 10);
            c.divisions = std::isfinite(divisions) && std::fabs(divisions) < 1e9
                              ? static_cast<int>(divisions)
                              : 0;
            break;
        }
    }
    return c;
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

}  // namespace pairly::views
