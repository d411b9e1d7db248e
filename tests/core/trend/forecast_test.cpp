#include "core/trend/forecast.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/text/dates.h"

namespace pairly::views {
namespace {

using store::MeasurementRecord;

MeasurementRecord rec(const text::Date& date, float weight) {
    MeasurementRecord r;
    r.date = text::formatDate(date);
    r.weight = weight;
    return r;
}

const MeasurementRecord damaged = [] {
    MeasurementRecord r;
    r.date = "damaged";
    r.weight = 10.0f;
    return r;
}();

const text::Date kStart{2026, 11, 1};
text::Date day(int n) { return text::addDays(kStart, n); }

// A diary whose trend falls by `perDay` every day from 80.0: the first day is the trend
// itself, each later day's mean lies nine steps below (alpha = 0.1 moves a tenth of the way).
std::vector<MeasurementRecord> straightLine(int days, double perDay) {
    std::vector<MeasurementRecord> log = {rec(day(0), 80.0f)};
    for (int d = 1; d < days; ++d)
        log.push_back(rec(day(d), static_cast<float>(80.0 - perDay * d - 9 * perDay)));
    return log;
}

TEST(Trend, DailyMeansSmoothedPerCalendarDay) {
    const std::vector<MeasurementRecord> log = {
        rec(day(0), 79.5f), rec(day(0), 80.5f),  // mean 80.0
        rec(day(1), 79.0f),                      // alpha 0.1: 80 - 0.1
        damaged,                                 // no date: no weighing
        rec(day(2), 0.0f),                       // no weight: no weighing
        rec(day(4), 78.0f)};                     // three days: alpha = 1 - 0.9^3 = 0.271
    const auto days = dailyTrend(log);
    ASSERT_EQ(days.size(), 3u);
    EXPECT_DOUBLE_EQ(days[0].mean, 80.0);
    EXPECT_DOUBLE_EQ(days[0].trend, 80.0);
    EXPECT_NEAR(days[1].trend, 79.9, 1e-9);
    EXPECT_NEAR(days[2].trend, 79.9 - 0.271 * 1.9, 1e-9);
    EXPECT_EQ(days[2].dayNumber - days[0].dayNumber, 4);

    // Out of date order, grouped by day all the same.
    const auto shuffled = dailyTrend({log[5], log[2], log[0], log[1]});
    ASSERT_EQ(shuffled.size(), 3u);
    EXPECT_NEAR(shuffled[2].trend, days[2].trend, 1e-9);
}

TEST(Trend, SlopeOverTheLastTwoWeeks) {
    EXPECT_NEAR(*recentSlope(dailyTrend(straightLine(30, 0.1))), -0.1, 1e-6);
    // Seven days with data in the last fourteen are enough, six are not.
    std::vector<MeasurementRecord> sparse;
    for (int d : {0, 2, 4, 6, 8, 10, 12}) sparse.push_back(rec(day(d), 80.0f));
    EXPECT_NEAR(*recentSlope(dailyTrend(sparse)), 0.0, 1e-12);
    sparse.erase(sparse.begin());
    EXPECT_FALSE(recentSlope(dailyTrend(sparse)));
    // Days before the window do not count.
    sparse.insert(sparse.begin(), rec(text::addDays(kStart, -30), 90.0f));
    EXPECT_FALSE(recentSlope(dailyTrend(sparse)));
}

TEST(Trend, GoalForecastTexts) {
    // Trend 78.7 on the fourteenth day (2026/11/14), falling 0.1 a day: 86.5 days to
    // 70.05, so 87 days.
    const auto line = dailyTrend(straightLine(14, 0.1));
    ASSERT_NEAR(line.back().trend, 78.7, 1e-5);
    const struct {
        std::vector<TrendDay> days;
        float target;
        const char* forecast;
    } cases[] = {
        {line, 70.05f, "このペースなら目標まであと約87日（2027/02/09頃）"},
        {line, 0.0f, ""},                                   // no target
        {line, 78.8f, "目標体重を達成しています！"},
        {dailyTrend(straightLine(14, -0.1)), 70.0f, "今のペースでは目標に近づいていません"},
        // Slower than 5 g a day is no progress.
        {dailyTrend(straightLine(14, 0.004)), 70.0f, "今のペースでは目標に近づいていません"},
        {dailyTrend(straightLine(6, 0.1)), 70.0f, ""},      // fewer than seven days
        {{}, 70.0f, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(forecastGoal(c.days, c.target).forecast, c.forecast);
}

TEST(Trend, AStallIsThreeWeeksWithoutANewLow) {
    // Level at 80 up to day 10 (the low, reached last on that day), then a kilo more.
    auto diary = [](int daysAfterLow) {
        std::vector<MeasurementRecord> log;
        for (int d = 0; d <= 10; ++d) log.push_back(rec(day(d), 80.0f));
        for (int d = 1; d <= daysAfterLow; ++d) log.push_back(rec(day(10 + d), 81.0f));
        return dailyTrend(log);
    };
    const auto stalled = diary(21);
    EXPECT_EQ(forecastGoal(stalled, 70.0f).stall, "停滞中：トレンド最低値（2026/11/11）から21日");
    EXPECT_EQ(forecastGoal(stalled, 0.0f).stall, "停滞中：トレンド最低値（2026/11/11）から21日");
    EXPECT_EQ(forecastGoal(diary(20), 70.0f).stall, "");
    EXPECT_EQ(forecastGoal(stalled, 81.0f).stall, "");  // at or under the target: no stall
    // Still losing: no stall.
    EXPECT_EQ(forecastGoal(dailyTrend(straightLine(40, 0.1)), 70.0f).stall, "");
}

}  // namespace
}  // namespace pairly::views

namespace pairly::views {
namespace {

// Every record gets its day's trend, in log order, also out of date order; records that
// are no weighing get none.
TEST(Trend, EachWeighingGetsItsDaysTrend) {
    const text::Date d0{2026, 11, 1};
    auto at = [&](int n, float w) {
        MeasurementRecord r;
        r.date = text::formatDate(text::addDays(d0, n));
        r.weight = w;
        return r;
    };
    MeasurementRecord unreadable = at(0, 70.0f);
    unreadable.date = "2026/13/01";
    // Day 0 weighs 70, day 1 80, day 2 60 and 80 (mean 70), written out of date order.
    const std::vector<MeasurementRecord> log = {at(0, 70.0f), at(2, 60.0f), unreadable,
                                                at(1, 80.0f), at(0, 0.0f),  at(2, 80.0f)};
    const std::vector<TrendDay> days = dailyTrend(log);
    ASSERT_EQ(days.size(), 3u);
    // By hand: 70; 70 + 0.1 * (80 - 70) = 71; 71 + 0.1 * (70 - 71) = 70.9.
    const double nan = std::nan("");
    const double expected[] = {70.0, 70.9, nan, 71.0, nan, 70.9};
    const chart::Series got = trendPerWeighing(log, days);
    ASSERT_EQ(got.size(), log.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(got[i])) << i;
        else
            EXPECT_NEAR(got[i], expected[i], 1e-9) << i;
    }
    EXPECT_TRUE(trendPerWeighing({}, {}).empty());
}

}  // namespace
}  // namespace pairly::views
