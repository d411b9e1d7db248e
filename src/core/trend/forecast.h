#pragma once
// The smoothed weight trend of one partner and what it says about the goal: a daily mean,
// exponentially smoothed per calendar day; a straight line fitted to the daily means of the
// last two weeks, with the date the goal would be reached at that pace and the range an
// honest reader can expect around it; and a flag when the trend has not reached a new low
// for three weeks.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/chart/composition.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::trend {

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

// The least-squares line through the daily means of the 14 calendar days that end on
// `today` (t in days): slope s (kg a day), residual standard deviation
// r = sqrt(sum (y - fit)^2 / (n - 2)) and standard error of the slope e = r / sqrt(sum (t - mean
// t)^2).
struct WindowFit {
    int days = 0;  // days with a weighing in the window
    double slope = 0, residualSd = 0, standardError = 0;
};
// Nothing with fewer than 4 days in the window.
std::optional<WindowFit> fitWindow(const std::vector<TrendDay>& days, const text::Date& today);

// Which sentence the forecast is, in the order the rules are tried.
enum class ForecastKind {
    NoTarget,        // no sentence
    TooFewDays,      // fewer than 4 weighing days in the last two weeks
    Reached,         // the trend is at or under the target
    NotApproaching,  // the slope does not fall by 5 g a day
    NoOutlook,       // the slow end of the 80 % range does not fall by 5 g a day
    Dated,           // a date with its range
};

struct FanPoint {
    int dayNumber = 0;
    double weight = 0;
};

// The forecast as a chart draws it: dashed lines from the last trend point toward the
// target on the likely, early and late date, each cut at one year after today (an end
// point beyond that lies on the line where it crosses that day).
struct ForecastFan {
    FanPoint from;
    std::array<FanPoint, 3> to;  // likely, early, late
};

struct GoalForecast {
    ForecastKind kind = ForecastKind::NoTarget;
    std::string forecast{};  // lblYosoku
    std::string stall{};     // lblTeitai
    // Dated only: the likely, early and late day (text::dayNumber) and the days from today
    // to the likely one (0 or less once it has passed).
    int likelyDay = 0, earlyDay = 0, lateDay = 0;
    int daysLeft = 0;
    std::optional<ForecastFan> fan{};  // Dated only
};

// The texts for a target weight (0 = none) on `today`. The trend's last day is the last
// day with data up to today (a weighing dated later is a slip of the calendar, not a
// measurement the forecast can stand on).
GoalForecast forecastGoal(const std::vector<TrendDay>& days, float targetWeight,
                          const text::Date& today);

// What a forecast of a kind without a date says, without the "目標到達予定：" before it:
// the words of TooFewDays, NotApproaching and NoOutlook; empty for the other kinds.
const char* forecastWords(ForecastKind kind);

}  // namespace pairly::trend
