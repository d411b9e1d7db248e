#pragma once
// Daily average weights of both partners over the shared comparison period, and the two
// charts built from them: the separate-axes chart (partner 1 left, partner 2 right) and
// the same-axis chart (real values, or the lighter line lifted onto the heavier one).
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/chart/axis.h"
#include "core/chart/composition.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::comparison {

// What one partner's log gives the comparison. Records whose date is not a valid
// "yyyy/mm/dd" are left out: they cannot be placed on a day.
struct PartnerSummary {
    bool hasRecords = false;
    int count = 0;
    text::Date firstDate, lastDate;  // of the first and last line
    float firstWeight = 0, lastWeight = 0;
    float minimumWeight = 999.0f;         // replaced only by a strictly smaller weight
    float maximumWeight = 0;              // replaced only by a strictly larger weight
    text::Date earliestDate, latestDate;  // equal to first/last for a log in date order
};

struct DatedWeight {
    text::Date date;
    float weight = 0;
};

std::vector<DatedWeight> datedWeights(std::span<const store::MeasurementRecord> log);
PartnerSummary summarizePartner(const std::vector<DatedWeight>& log);

using AxisRange = chart::WholeAxisRange;
using chart::displayedRange;
using chart::majorDivisions;

// One category point per day; NaN = missing point.
struct AverageChart {
    chart::Series series1, series2;
    AxisRange left, right;  // the same-axis chart uses `left` only
    int points() const { return static_cast<int>(series1.size()); }
};

struct DailyAverageRow {
    std::string dayNumber, date, weight1, weight2;
    bool operator==(const DailyAverageRow&) const = default;
};

// Longest comparison period kept (day numbers are 16-bit); a longer span keeps its last days.
constexpr int kMaxPeriodDays = 32767;

struct DailyAverages {
    bool hasPeriod = false;
    text::Date start, end;
    int days = 0;
    std::vector<DailyAverageRow> rows;  // one per day of the period
    AverageChart separate;              // automatic lower bounds applied
    int automaticLowerBound1 = 0, automaticLowerBound2 = 0;
};

DailyAverages buildDailyAverages(const std::vector<DatedWeight>& log1,
                                 const std::vector<DatedWeight>& log2);

// The daily-average grid shows this many rows (header included) before it scrolls.
constexpr int kDailyAverageVisibleRows = 8;

enum class LowerBoundMode { Automatic, Target };

struct LowerBounds {
    int automatic1 = 0, automatic2 = 0;
    float target1 = 0, target2 = 0;
};

// Lower bounds of the separate axes: each partner's own lowest weight or target weight
// (whole part). The maxima stay.
void setSeparateLowerBounds(AverageChart& separate, LowerBoundMode mode, const LowerBounds& bounds);

// Copies both series of the separate-axes chart; one axis from the larger maximum down
// to the smaller minimum of the two.
AverageChart rebuildSameAxisChart(const AverageChart& separate);

// Both partners' daily averages as the change from each one's first daily average in
// percent, on one axis of whole percents that holds every point and 0.
AverageChart percentFromStartChart(const AverageChart& separate);

// Lifts the lighter partner's line by the difference found at the first day where both
// have a value, and sizes the axis to the taller of the two separate ranges.
AverageChart overlaySameAxisChart(const AverageChart& separate, const AverageChart& same);

}  // namespace pairly::comparison
