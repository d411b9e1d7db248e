#pragma once
// The smoothed weight trend of one partner and what it says about the goal: a daily mean,
// exponentially smoothed per calendar day, its slope over the last two weeks, the date the
// goal would be reached at that pace, and a flag when the trend has not reached a new low
// for three weeks.
#include <optional>
#include <string>
#include <vector>

#include "core/chart/composition.h"
#include "core/store/measurement_log.h"

namespace pairly::views {

struct TrendDay {
    int dayNumber = 0;  // text::dayNumber of the day
    double mean = 0;    // mean of the day's weights
    double trend = 0;   // smoothed value on that day
};

// One entry per calendar day with a weighing, in date order (a log out of date order is
// grouped by day all the same). Records whose date does not read or whose weight is not a
// positive number are no weighing. The first day's trend is its mean; each later day moves
// the trend by alpha = 1 - 0.9^g of the way to its mean, g being the days since the
// previous day with data.
std::vector<TrendDay> dailyTrend(const std::vector<store::MeasurementRecord>& log);

// One point per record of the log, in log order: the trend of the record's day, NaN for a
// record that is no weighing (as dailyTrend reads it). `days` is dailyTrend(log).
chart::Series trendPerWeighing(const std::vector<store::MeasurementRecord>& log,
                               const std::vector<TrendDay>& days);

// The least-squares slope (kg per day) of the trend over the days with data among the 14
// calendar days ending on the last one; nothing with fewer than 7 such days.
std::optional<double> recentSlope(const std::vector<TrendDay>& days);

struct GoalForecast {
    std::string forecast;  // lblYosoku
    std::string stall;     // lblTeitai
};

// The texts for a target weight (0 = none).
GoalForecast forecastGoal(const std::vector<TrendDay>& days, float targetWeight);

}  // namespace pairly::views
