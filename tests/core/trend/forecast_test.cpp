#include "core/trend/forecast.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/text/dates.h"

namespace pairly::trend {
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
        rec(day(0), 79.5f),
        rec(day(0), 80.5f),   // mean 80.0
        rec(day(1), 79.0f),   // alpha 0.1: 80 - 0.1
        damaged,              // no date: no weighing
        rec(day(2), 0.0f),    // no weight: no weighing
        rec(day(4), 78.0f)};  // three days: alpha = 1 - 0.9^3 = 0.271
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

const text::Date kToday{2026, 12, 7};

// One weighing each at today + offset.
std::vector<TrendDay> window(std::initializer_list<std::pair<int, float>> weighings) {
    std::vector<MeasurementRecord> log;
    for (const auto& [offset, w] : weighings) log.push_back(rec(text::addDays(kToday, offset), w));
    return dailyTrend(log);
}

// Means 80.4, 80.0 (79.9, 80.1), 80.2, 79.8: t - mean t = -1.5..1.5 (squares 5), y - mean y =
// 0.3, -0.1, 0.1, -0.3, s = -0.8 / 5; residuals 0.06, -0.18, 0.18, -0.06, r = sqrt(0.072 / 2),
// e = r / sqrt(5) = 0.08485. Trend 80.2896.
const std::vector<TrendDay> kFalling =
    window({{-3, 80.4f}, {-2, 79.9f}, {-2, 80.1f}, {-1, 80.2f}, {0, 79.8f}});

TEST(Trend, ForecastRulesInOrder) {
    const struct {
        std::vector<TrendDay> days;
        float target;
        std::string forecast;
    } cases[] = {
        // Three days of the fourteen: too few, even at the goal.
        {window({{-14, 80.4f}, {-12, 80.0f}, {-1, 80.2f}, {0, 79.8f}}), 81.0f,
         "目標到達予定：データ不足（この2週間の測定が4日未満）"},
        {kFalling, 80.3f, "目標体重を達成しています！"},
        {window({{-3, 80.012f}, {-2, 80.008f}, {-1, 80.004f}, {0, 80.0f}}), 70.0f,
         "今のペースでは目標に近づいていません"},
        // s = -0.11, e = 0.1292: s + 1.28 e = 0.055.
        {window({{-3, 80.4f}, {-2, 79.8f}, {-1, 80.2f}, {0, 79.9f}}), 75.0f,
         "目標到達予定：見通しが立ちません（この2週間の変化がまだ小さく、ばらついています）"},
        // G = 5.2896: D = ceil(G / 0.16), E = ceil(G / 0.26861), F = ceil(G / 0.05139).
        {kFalling, 75.0f,
         "目標到達予定：2027/01/10頃（あと約34日。早ければ 2026/12/27、遅ければ 2027/03/20）"},
        // The same from the window's first day, G = 0.7896: D = L + 5, E = L + 3, F = L + 16;
        // a weighing dated tomorrow is no part of it.
        {window({{-13, 80.4f}, {-12, 80.0f}, {-11, 80.2f}, {-10, 79.8f}, {1, 70.0f}}), 79.5f,
         "目標到達予定：2026/12/02頃（もう届いているころです。早ければ 2026/11/30、遅ければ "
         "2026/12/13）"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(forecastGoal(c.days, c.target, kToday).forecast, c.forecast) << c.target;
}

// G = 35.2896: D = 221, E = 132 and F = 687 days on; F's line is cut on 2027/12/07, 365
// days on, at 80.2896 - G * 365 / 687.
TEST(Trend, FitAndFanCutAtOneYearAfterToday) {
    const auto fit = fitWindow(kFalling, kToday);
    EXPECT_NEAR(fit->slope, -0.16, 1e-6);
    EXPECT_NEAR(fit->standardError, std::sqrt(0.036 / 5), 1e-6);
    const int today = text::dayNumber(kToday);
    const auto fan = forecastGoal(kFalling, 45.0f, kToday).fan;
    ASSERT_TRUE(fan);
    const FanPoint got[] = {fan->from, fan->to[0], fan->to[1], fan->to[2]};
    const FanPoint expected[] = {
        {today, 80.2896}, {today + 221, 45}, {today + 132, 45}, {today + 365, 61.5404}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].dayNumber, expected[i].dayNumber) << i;
        EXPECT_NEAR(got[i].weight, expected[i].weight, 1e-4) << i;
    }
    EXPECT_FALSE(forecastGoal(kFalling, 80.3f, kToday).fan);
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
    EXPECT_EQ(forecastGoal(stalled, 70.0f, kToday).stall,
              "停滞中：トレンド最低値（2026/11/11）から21日");
    EXPECT_EQ(forecastGoal(stalled, 0.0f, kToday).stall,
              "停滞中：トレンド最低値（2026/11/11）から21日");
    EXPECT_EQ(forecastGoal(diary(20), 70.0f, kToday).stall, "");
    EXPECT_EQ(forecastGoal(stalled, 81.0f, kToday).stall, "");  // at or under the target: no stall
    // Still losing: no stall.
    EXPECT_EQ(forecastGoal(dailyTrend(straightLine(40, 0.1)), 70.0f, kToday).stall, "");
}

}  // namespace
}  // namespace pairly::trend

namespace pairly::trend {
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
}  // namespace pairly::trend
