#include "core/comparison/daily_average.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/comparison/fair_comparison.h"
#include "core/text/numbers.h"

namespace pairly::comparison {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// Int(x) as a whole axis limit. A damaged log may hold any weight: limits stay within a
// billion, so that differences and sums of two limits never overflow.
int floorInt(double value) {
    constexpr double kLimit = 1e9;
    return text::saturatedInt(std::clamp(text::intFloor(value), -kLimit, kLimit));
}

AxisRange ownAxis(const PartnerSummary& s) {
    if (!s.hasRecords) return {};
    // The sum is taken in single precision like the weights it comes from, so that
    // 72.1 reaches 73 rather than stopping at 72.99999.
    const float top = s.maximumWeight + 0.9f;
    return {floorInt(s.minimumWeight), floorInt(top), true};
}

// Fills one partner's grid column and chart series; `column` selects weight1/weight2.
void fillPartner(const std::vector<DatedWeight>& log, const text::Date& start, int days,
                 std::vector<DailyAverageRow>& rows, chart::Series& series,
                 std::string DailyAverageRow::*column) {
    std::vector<float> daySum(static_cast<std::size_t>(days), 0.0f);
    std::vector<int> dayCount(static_cast<std::size_t>(days), 0);
    for (const DatedWeight& r : log) {
        // Placed by day number rather than by a forward search, so a record out of date
        // order still lands on its own day instead of hiding every record after it.
        const int index = text::daysBetween(start, r.date);
        if (index < 0 || index >= days) continue;
        daySum[static_cast<std::size_t>(index)] += r.weight;
        dayCount[static_cast<std::size_t>(index)] += 1;
    }
    series.assign(static_cast<std::size_t>(days), kMissing);
    for (std::size_t j = 0; j < static_cast<std::size_t>(days); ++j) {
        if (dayCount[j] > 0) {
            const float average = daySum[j] / static_cast<float>(dayCount[j]);
            rows[j].*column = text::formatNumber(average, "0.0");
        }
        // A day without records repeats the last day that had some, so the line stays
        // continuous; before the partner's first day there is nothing to repeat.
        if (daySum[j] == 0.0f && j > 0) {
            daySum[j] = daySum[j - 1];
            dayCount[j] = dayCount[j - 1];
        }
        if (dayCount[j] > 0) {
            const float average = daySum[j] / static_cast<float>(dayCount[j]);
            series[j] = text::shortestDecimal(average);
        }
    }
}

bool hasValue(double point) { return !std::isnan(point); }

// A missing point counts as 0, as an empty cell reads.
float figure(double point) { return hasValue(point) ? static_cast<float>(point) : 0.0f; }

}  // namespace

std::vector<DatedWeight> datedWeights(std::span<const store::MeasurementRecord> log) {
    std::vector<DatedWeight> out;
    out.reserve(log.size());
    for (const store::MeasurementRecord& r : log) {
        if (auto date = text::parseDate(r.date)) out.push_back({*date, r.weight});
    }
    return out;
}

PartnerSummary summarizePartner(const std::vector<DatedWeight>& log) {
    PartnerSummary s;
    if (log.empty()) return s;
    s.hasRecords = true;
    s.count = static_cast<int>(log.size());
    s.firstDate = s.earliestDate = log.front().date;
    s.firstWeight = log.front().weight;
    s.lastDate = s.latestDate = log.back().date;
    s.lastWeight = log.back().weight;
    for (const DatedWeight& r : log) {
        if (r.weight > s.maximumWeight) s.maximumWeight = r.weight;
        if (r.weight < s.minimumWeight) s.minimumWeight = r.weight;
        s.earliestDate = std::min(s.earliestDate, r.date);
        s.latestDate = std::max(s.latestDate, r.date);
    }
    return s;
}

DailyAverages buildDailyAverages(const std::vector<DatedWeight>& log1,
                                 const std::vector<DatedWeight>& log2) {
    DailyAverages out;
    const PartnerSummary s1 = summarizePartner(log1);
    const PartnerSummary s2 = summarizePartner(log2);
    if (!s1.hasRecords && !s2.hasRecords) return out;

    // The period runs over the days of both partners; a partner without records has none.
    if (s1.hasRecords && s2.hasRecords) {
        out.start = std::min(s1.earliestDate, s2.earliestDate);
        out.end = std::max(s1.latestDate, s2.latestDate);
    } else {
        const PartnerSummary& s = s1.hasRecords ? s1 : s2;
        out.start = s.earliestDate;
        out.end = s.latestDate;
    }
    long long span = static_cast<long long>(text::daysBetween(out.start, out.end)) + 1;
    if (span > kMaxPeriodDays) {
        out.start = text::addDays(out.end, -(kMaxPeriodDays - 1));
        span = kMaxPeriodDays;
    }
    out.hasPeriod = true;
    out.days = static_cast<int>(span);

    out.rows.resize(static_cast<std::size_t>(out.days));
    for (int j = 1; j <= out.days; ++j) {
        DailyAverageRow& row = out.rows[static_cast<std::size_t>(j - 1)];
        row.dayNumber = std::to_string(j);
        row.date = text::formatDate(text::addDays(out.start, j - 1), "YY/MM/DD");
    }
    fillPartner(log1, out.start, out.days, out.rows, out.separate.series1,
                &DailyAverageRow::weight1);
    fillPartner(log2, out.start, out.days, out.rows, out.separate.series2,
                &DailyAverageRow::weight2);

    out.separate.left = ownAxis(s1);
    out.separate.right = ownAxis(s2);
    out.automaticLowerBound1 = out.separate.left.minimum;
    out.automaticLowerBound2 = out.separate.right.minimum;
    return out;
}

void setSeparateLowerBounds(AverageChart& separate, LowerBoundMode mode,
                            const LowerBounds& bounds) {
    const bool automatic = mode == LowerBoundMode::Automatic;
    if (separate.left.used)
        separate.left.minimum = automatic ? bounds.automatic1 : floorInt(bounds.target1);
    if (separate.right.used)
        separate.right.minimum = automatic ? bounds.automatic2 : floorInt(bounds.target2);
}

AverageChart rebuildSameAxisChart(const AverageChart& separate) {
    AverageChart same;
    const std::size_t n = separate.series1.size();
    same.series1.assign(n, kMissing);
    same.series2.assign(n, kMissing);
    for (std::size_t i = 0; i < n; ++i) {
        if (hasValue(separate.series1[i])) same.series1[i] = separate.series1[i];
        if (i < separate.series2.size() && hasValue(separate.series2[i]))
            same.series2[i] = separate.series2[i];
    }
    const AxisRange& l = separate.left;
    const AxisRange& r = separate.right;
    if (l.used && r.used) {
        same.left = {std::min(l.minimum, r.minimum), std::max(l.maximum, r.maximum), true};
    } else if (l.used || r.used) {
        same.left = l.used ? l : r;
    }
    return same;
}

AverageChart percentFromStartChart(const AverageChart& separate) {
    AverageChart out;
    out.series1 = percentFromStart(separate.series1);
    out.series2 = percentFromStart(separate.series2);
    out.series2.resize(out.series1.size(), kMissing);
    double lowest = 0, highest = 0;
    bool any = false;
    for (const chart::Series* series : {&out.series1, &out.series2})
        for (double point : *series)
            if (hasValue(point)) {
                lowest = std::min(lowest, point);
                highest = std::max(highest, point);
                any = true;
            }
    if (!any) return out;
    // Rounding noise of the division (4.000000000000005 %) does not add a whole percent.
    constexpr double kNoise = 1e-9;
    int bottom = floorInt(lowest + kNoise);
    int top = -floorInt(-(highest - kNoise));  // ceiling
    // A flat line at 0 sits in the middle of the axis rather than on its edge.
    if (bottom == top) {
        --bottom;
        ++top;
    }
    out.left = {bottom, top, true};
    return out;
}

AverageChart overlaySameAxisChart(const AverageChart& separate, const AverageChart& same) {
    AverageChart out = same;
    const std::size_t n = std::min(out.series1.size(), out.series2.size());

    // Difference at the first day on which both partners have a value.
    float d = 0, w1 = 0, w2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        w1 = figure(out.series1[i]);
        w2 = figure(out.series2[i]);
        if (w1 != 0 && w2 != 0) {
            d = w1 - w2;
            break;
        }
    }
    if (d != 0) {
        // Partner 1 heavier: partner 2's line goes up by d; otherwise partner 1's line goes
        // up by -d.
        const bool liftSecond = w1 > w2;
        chart::Series& series = liftSecond ? out.series2 : out.series1;
        const double shift = liftSecond ? static_cast<double>(d) : -static_cast<double>(d);
        for (double& point : series) {
            if (hasValue(point) && point != 0) point += shift;
        }
    }

    const AxisRange& l = separate.left;
    const AxisRange& r = separate.right;
    out.right = {};
    if (l.used || r.used) {
        int top, height;
        if (l.used && r.used) {
            top = std::max(l.maximum, r.maximum);
            height = std::max(l.maximum - l.minimum, r.maximum - r.minimum);
        } else {
            const AxisRange& a = l.used ? l : r;
            top = a.maximum;
            height = a.maximum - a.minimum;
        }
        out.left = {top - height, top, true};
    } else {
        out.left = {};
    }
    return out;
}

}  // namespace pairly::comparison
