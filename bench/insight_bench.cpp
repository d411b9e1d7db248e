// The comparisons no single-person tracker makes, on two maximal logs: the weekly and monthly
// report, the trend with its forecast, the share of the start weight, the day-to-day calendar.
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/calendar/calendar.h"
#include "core/comparison/fair_comparison.h"
#include "core/comparison/period_report.h"
#include "core/trend/forecast.h"

namespace {

namespace store = pairly::store;
namespace views = pairly::views;

const pairly::text::Date kToday{pairly::bench::kLastYear, pairly::bench::kLastMonth,
                                pairly::bench::kLastDay};

const std::vector<store::MeasurementRecord>& diary(int slot) {
    static const auto log1 = pairly::bench::makeLog(1, store::kMaxRecords);
    static const auto log2 = pairly::bench::makeLog(2, store::kMaxRecords);
    return slot == 1 ? log1 : log2;
}

void BM_PeriodReportWeeksAndMonths(benchmark::State& state) {
    for (auto _ : state) {
        auto weeks = views::buildPeriodReport(diary(1), diary(2), views::ReportPeriod::Week);
        auto months = views::buildPeriodReport(diary(1), diary(2), views::ReportPeriod::Month);
        benchmark::DoNotOptimize(weeks.data());
        benchmark::DoNotOptimize(months.data());
    }
}
BENCHMARK(BM_PeriodReportWeeksAndMonths)->Unit(benchmark::kMillisecond);

void BM_TrendAndForecast(benchmark::State& state) {
    for (auto _ : state) {
        const auto days = views::dailyTrend(diary(1));
        auto forecast = views::forecastGoal(days, 68.0f, kToday);
        benchmark::DoNotOptimize(forecast.forecast.data());
    }
}
BENCHMARK(BM_TrendAndForecast)->Unit(benchmark::kMillisecond);

void BM_LossSharesAndDayToDayCalendar(benchmark::State& state) {
    for (auto _ : state) {
        auto marks = views::lossShareMarks(views::lossShare(diary(1)), views::lossShare(diary(2)));
        auto calendar = views::buildCalendarModel(diary(1), {pairly::bench::kLastYear, 12, 7},
                                                  views::DayBasis::FromPreviousDay);
        benchmark::DoNotOptimize(marks);
        benchmark::DoNotOptimize(calendar.days.data());
    }
}
BENCHMARK(BM_LossSharesAndDayToDayCalendar)->Unit(benchmark::kMillisecond);

}  // namespace
