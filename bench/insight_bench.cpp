// The comparisons no single-person tracker makes, on two maximal logs: the weekly and monthly
// report, the trend with its forecast, the share of the start weight, the day-to-day calendar.
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/calendar/calendar.h"
#include "core/comparison/fair_comparison.h"
#include "core/comparison/period_report.h"
#include "core/comparison/weekly_checkin.h"
#include "core/store/situation_list.h"
#include "core/trend/couple_goal.h"
#include "core/trend/forecast.h"
#include "core/trend/situation_correction.h"

namespace {

using namespace pairly;

const pairly::text::Date kToday{pairly::bench::kLastYear, pairly::bench::kLastMonth,
                                pairly::bench::kLastDay};

const std::vector<store::MeasurementRecord>& diary(int slot) {
    static const auto log1 = pairly::bench::makeLog(1, store::kMaxRecords);
    static const auto log2 = pairly::bench::makeLog(2, store::kMaxRecords);
    return slot == 1 ? log1 : log2;
}

void BM_PeriodReportWeeksAndMonths(benchmark::State& state) {
    for (auto _ : state) {
        auto weeks =
            comparison::buildPeriodReport(diary(1), diary(2), comparison::ReportPeriod::Week);
        auto months =
            comparison::buildPeriodReport(diary(1), diary(2), comparison::ReportPeriod::Month);
        benchmark::DoNotOptimize(weeks.data());
        benchmark::DoNotOptimize(months.data());
    }
}
BENCHMARK(BM_PeriodReportWeeksAndMonths)->Unit(benchmark::kMillisecond);

void BM_TrendAndForecast(benchmark::State& state) {
    for (auto _ : state) {
        const auto days = trend::dailyTrend(diary(1));
        auto forecast = trend::forecastGoal(days, 68.0f, kToday);
        benchmark::DoNotOptimize(forecast.forecast.data());
    }
}
BENCHMARK(BM_TrendAndForecast)->Unit(benchmark::kMillisecond);

// The trend screen with the situation correction on: the reference and differences, the
// corrected copy of the log, and the trend and forecast drawn from it.
void BM_SituationCorrectionTrendAndForecast(benchmark::State& state) {
    const std::vector<std::string>& situations = store::defaultSituations();
    for (auto _ : state) {
        const auto correction = pairly::trend::situationCorrection(diary(1), situations, kToday);
        const auto corrected = pairly::trend::correctedLog(diary(1), correction);
        const auto days = trend::dailyTrend(corrected);
        auto forecast = trend::forecastGoal(days, 68.0f, kToday);
        benchmark::DoNotOptimize(forecast.forecast.data());
    }
}
BENCHMARK(BM_SituationCorrectionTrendAndForecast)->Unit(benchmark::kMillisecond);

// What the comparison screen adds for two: both forecasts, the couple's goal and the
// weekly check-in.
void BM_CoupleGoalAndWeeklyCheckIn(benchmark::State& state) {
    for (auto _ : state) {
        const auto forecast1 = trend::forecastGoal(trend::dailyTrend(diary(1)), 68.0f, kToday);
        const auto forecast2 = trend::forecastGoal(trend::dailyTrend(diary(2)), 50.0f, kToday);
        auto line = pairly::trend::coupleGoalText({"たろう", 68.0f, forecast1},
                                                  {"はなこ", 50.0f, forecast2});
        auto week = pairly::comparison::weeklyCheckIn(diary(1), diary(2), kToday);
        benchmark::DoNotOptimize(line.data());
        benchmark::DoNotOptimize(week.streak);
    }
}
BENCHMARK(BM_CoupleGoalAndWeeklyCheckIn)->Unit(benchmark::kMillisecond);

void BM_LossSharesAndDayToDayCalendar(benchmark::State& state) {
    for (auto _ : state) {
        auto marks = comparison::lossShareMarks(comparison::lossShare(diary(1)),
                                                comparison::lossShare(diary(2)));
        auto calendar = calendar::buildCalendarModel(diary(1), {pairly::bench::kLastYear, 12, 7},
                                                     calendar::DayBasis::FromPreviousDay);
        benchmark::DoNotOptimize(marks);
        benchmark::DoNotOptimize(calendar.days.data());
    }
}
BENCHMARK(BM_LossSharesAndDayToDayCalendar)->Unit(benchmark::kMillisecond);

}  // namespace
