#include "core/trend/forecast.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/dates.h"

namespace pairly::views {

namespace {

constexpr int kSlopeWindowDays = 14;
constexpr int kSlopeMinimumDays = 7;
constexpr double kFlatSlope = -0.005;  // kg per day: slower than this is no progress
constexpr int kStallDays = 21;
// Beyond this many days a date says nothing (and would leave the calendar's range).
constexpr double kLongestForecastDays = 99999;

std::string dateText(int dayNumber) {
    return text::formatDate(text::dateFromDayNumber(dayNumber));
}

}  // namespace

std::vector<TrendDay> dailyTrend(const std::vector<store::MeasurementRecord>& log) {
    struct Weighing {
        int day;
        double weight;
    };
    std::vector<Weighing> weighings;
    weighings.reserve(log.size());
    for (const store::MeasurementRecord& r : log) {
        const auto date = text::parseDate(r.date);
        if (!date || !std::isfinite(r.weight) || r.weight <= 0) continue;
        weighings.push_back({text::dayNumber(*date), static_cast<double>(r.weight)});
    }
    // Stable: a day's weights keep their log order (the mean does not care, but it keeps the
    // sum the same whatever the order of other days).
    if (!std::is_sorted(weighings.begin(), weighings.end(),
                        [](const Weighing& a, const Weighing& b) { return a.day < b.day; }))
        std::stable_sort(weighings.begin(), weighings.end(),
                         [](const Weighing& a, const Weighing& b) { return a.day < b.day; });

    std::vector<TrendDay> days;
    for (std::size_t i = 0; i < weighings.size();) {
        const int day = weighings[i].day;
        double sum = 0;
        std::size_t n = 0;
        for (; i < weighings.size() && weighings[i].day == day; ++i, ++n) sum += weighings[i].weight;
        const double mean = sum / static_cast<double>(n);
        double trend = mean;
        if (!days.empty()) {
            const int gap = day - days.back().dayNumber;
            const double alpha = 1.0 - std::pow(0.9, gap);
            trend = days.back().trend + alpha * (mean - days.back().trend);
        }
        days.push_back({day, mean, trend});
    }
    return days;
}

chart::Series trendPerWeighing(const std::vector<store::MeasurementRecord>& log,
                               const std::vector<TrendDay>& days) {
    chart::Series out(log.size(), std::numeric_limits<double>::quiet_NaN());
    // Logs are in date order as a rule: the day of the previous record is tried first, so a
    // long log is one pass; out of order, a binary search finds the day.
    std::size_t at = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const store::MeasurementRecord& r = log[i];
        const auto date = text::parseDate(r.date);
        if (!date || !std::isfinite(r.weight) || r.weight <= 0) continue;
        const int day = text::dayNumber(*date);
        if (at >= days.size() || days[at].dayNumber != day) {
            if (at + 1 < days.size() && days[at + 1].dayNumber == day) {
                ++at;
            } else {
                const auto found = std::lower_bound(
                    days.begin(), days.end(), day,
                    [](const TrendDay& d, int n) { return d.dayNumber < n; });
                if (found == days.end() || found->dayNumber != day) continue;
                at = static_cast<std::size_t>(found - days.begin());
            }
        }
        out[i] = days[at].trend;
    }
    return out;
}

std::optional<double> recentSlope(const std::vector<TrendDay>& days) {
    if (days.empty()) return std::nullopt;
    const int last = days.back().dayNumber;
    const int first = last - (kSlopeWindowDays - 1);
    double sx = 0, sy = 0;
    int n = 0;
    for (auto it = days.rbegin(); it != days.rend() && it->dayNumber >= first; ++it) {
        // Day numbers relative to the last day keep the sums small.
        sx += it->dayNumber - last;
        sy += it->trend;
        ++n;
    }
    if (n < kSlopeMinimumDays) return std::nullopt;
    const double mx = sx / n, my = sy / n;
    double sxy = 0, sxx = 0;
    for (auto it = days.rbegin(); it != days.rend() && it->dayNumber >= first; ++it) {
        const double dx = (it->dayNumber - last) - mx;
        sxy += dx * (it->trend - my);
        sxx += dx * dx;
    }
    return sxy / sxx;  // n >= 7 distinct days: sxx > 0
}

GoalForecast forecastGoal(const std::vector<TrendDay>& days, float targetWeight) {
    GoalForecast out;
    if (days.empty()) return out;
    const double goal = targetWeight;
    const double last = days.back().trend;
    const int lastDay = days.back().dayNumber;

    const std::optional<double> slope = recentSlope(days);
    if (slope && goal > 0) {
        if (last <= goal) {
            out.forecast = "目標体重を達成しています！";
        } else {
            const double n = std::ceil((last - goal) / -*slope);
            if (*slope >= kFlatSlope || !(n <= kLongestForecastDays)) {
                out.forecast = "今のペースでは目標に近づいていません";
            } else {
                const int daysLeft = static_cast<int>(n);
                out.forecast = "このペースなら目標まであと約" + std::to_string(daysLeft) + "日（" +
                               dateText(lastDay + daysLeft) + "頃）";
            }
        }
    }

    if (last > goal) {
        // The latest day of the lowest trend: reaching the low again is no stall.
        const TrendDay* lowest = &days.front();
        for (const TrendDay& d : days)
            if (d.trend <= lowest->trend) lowest = &d;
        const int since = lastDay - lowest->dayNumber;
        if (since >= kStallDays)
            out.stall = "停滞中：トレンド最低値（" + dateText(lowest->dayNumber) + "）から" +
                        std::to_string(since) + "日";
    }
    return out;
}

}  // namespace pairly::views
