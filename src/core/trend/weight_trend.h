#pragma once
// The weight trend of the selected partner: the weight series (which the analyses read as
// well), the weight chart with its moving average, the three texts shown with it, the
// goal mode's lower bound and the three metric charts laid over the weight chart.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/axis.h"
#include "core/chart/composition.h"
#include "core/store/measurement_log.h"

namespace pairly::trend {

// The selected partner's weighings in file order, replaced by every rebuild of the weight
// chart. The extremes start at 0 and 999 and are replaced only by a strictly larger /
// smaller value; the lowest weight is the minimum weight, reached first on lowestWeightDate.
struct WeightSeries {
    std::vector<float> weights;
    std::vector<float> bodyFats;
    std::vector<std::string> dates;  // as stored, "yyyy/mm/dd"
    float maximumWeight = 0, minimumWeight = 999;
    float maximumBodyFat = 0, minimumBodyFat = 999;
    std::string lowestWeightDate;

    int count() const { return static_cast<int>(weights.size()); }
    bool empty() const { return weights.empty(); }
    float lowestWeight() const { return minimumWeight; }
};

WeightSeries buildWeightSeries(const std::vector<store::MeasurementRecord>& log);

// The count of a moving-average text: the whole part of its leading number
// (disk::readLeadingNumber) when that is at least 1 and fits 16 bits (so "2.5" averages
// over 2, "１０" over 10); nullopt otherwise, also for "".
std::optional<int> movingAverageCount(std::string_view text);

// A count typed into cboIdou as it is stored and shown: the typed number
// (disk::readTypedNumber, NumberKind::Count) as plain number text ("１０" -> "10",
// " 2.5 " -> "2.5"); nullopt when the text is not such a number ("10kg", "0").
std::optional<std::string> movingAverageText(std::string_view typed);
// The field's name in the refusal of a typed count (disk::refusedNumberText).
inline constexpr char kMovingAverageName[] = "移動平均の回数";

// Point i (0-based) holds the mean of weights i-k+1..i, summed in single precision in
// file order and divided in double; missing (NaN) before the k-th weighing.
chart::Series movingAverages(const std::vector<float>& weights, int k);

// The weight chart: series 1 weight and 2 moving average on the left axis, series 3 body
// fat on the right one; NaN where the series has no point.
struct WeightChart {
    chart::Series weight, movingAverage, bodyFat;
    int points() const { return static_cast<int>(weight.size()); }
};

// Without a usable count (nullopt) the moving average has no point at all.
WeightChart buildWeightChart(const WeightSeries& series, std::optional<int> movingCount);

// Left axis Int(minimum weight) .. Int(maximum weight + 0.9), right axis
// Int(minimum body fat - 4) .. Int(maximum body fat + 3.9); 0..10 without weighings.
struct WeightAxes {
    chart::AxisRange left, right;
};
WeightAxes weightChartAxes(const WeightSeries& series);

// The left axis as the goal mode wants it: from Int(target) when the mode is on (with at
// least one kilo of axis when the target is at or above the maximum), else unchanged.
chart::AxisRange goalModeAxis(const chart::AxisRange& left, bool goalMode, float targetWeight);

// Period summary (lblNichis), lowest-weight summary (lblKiro) and the goal button's
// caption (cmdMokuChk); all empty for an empty series.
struct TrendTexts {
    std::string period, lowest, goal;
    bool operator==(const TrendTexts&) const = default;
};
TrendTexts buildTrendTexts(const WeightSeries& series, float targetWeight);

enum class MetricKind { Metabolism, Muscle, Bone };

// A metric chart (series 2 empty for bone); an empty log gives axes 0..10 in ten divisions.
using MetricChart = chart::CompositionChart;
MetricChart buildMetricChart(const std::vector<store::MeasurementRecord>& log, MetricKind kind);

// Captions of the two legend labels (lblG11, lblG12) of each metric chart.
struct MetricLegend {
    const char* series1;
    const char* series2;
};
MetricLegend metricLegend(MetricKind kind);

}  // namespace pairly::trend
