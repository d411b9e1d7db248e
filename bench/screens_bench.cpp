// The pure computation behind each screen on two maximal logs: the model alone, and the
// whole refresh as the screen runs it (both logs read, then the model).
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/comparison/comparison.h"
#include "core/entry/day_view.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace {

using pairly::bench::BenchFolder;
using namespace pairly;

const BenchFolder& maximalFolder() {
    static const BenchFolder folder;
    return folder;
}

const std::string& today() {
    static const std::string day = pairly::text::formatDate(
        {pairly::bench::kLastYear, pairly::bench::kLastMonth, pairly::bench::kLastDay});
    return day;
}

comparison::ComparisonInput comparisonInput(const std::vector<store::MeasurementRecord>& log1,
                                            const std::vector<store::MeasurementRecord>& log2) {
    comparison::ComparisonInput input;
    input.log1 = log1;
    input.log2 = log2;
    input.name1 = "たくや";
    input.name2 = "みさき";
    input.target1 = 68.0f;
    input.target2 = 50.0f;
    return input;
}

void BM_ComparisonModel(benchmark::State& state) {
    const auto log1 = store::loadLog(maximalFolder().path(), 1).records;
    const auto log2 = store::loadLog(maximalFolder().path(), 2).records;
    const auto input = comparisonInput(log1, log2);
    for (auto _ : state) {
        auto model = comparison::buildComparison(input);
        benchmark::DoNotOptimize(model.daily.rows.data());
    }
}
BENCHMARK(BM_ComparisonModel)->Unit(benchmark::kMillisecond);

void BM_ComparisonRefresh(benchmark::State& state) {
    for (auto _ : state) {
        const auto log1 = store::loadLog(maximalFolder().path(), 1).records;
        const auto log2 = store::loadLog(maximalFolder().path(), 2).records;
        const auto input = comparisonInput(log1, log2);
        auto model = comparison::buildComparison(input);
        benchmark::DoNotOptimize(model.daily.rows.data());
    }
}
BENCHMARK(BM_ComparisonRefresh)->Unit(benchmark::kMillisecond);

void BM_DayViewModel(benchmark::State& state) {
    const auto log1 = store::loadLog(maximalFolder().path(), 1).records;
    const auto log2 = store::loadLog(maximalFolder().path(), 2).records;
    for (auto _ : state) {
        auto model = entry::computeDayView(log1, log2, 172.5f, today(), 1);
        benchmark::DoNotOptimize(model.weightRows.data());
        if (model.weightRows.size() != 3) state.SkipWithError("wrong day rows");
    }
}
BENCHMARK(BM_DayViewModel)->Unit(benchmark::kMillisecond);

void BM_DayViewRefresh(benchmark::State& state) {
    for (auto _ : state) {
        const auto log1 = store::loadLog(maximalFolder().path(), 1).records;
        const auto log2 = store::loadLog(maximalFolder().path(), 2).records;
        auto model = entry::computeDayView(log1, log2, 172.5f, today(), 1);
        benchmark::DoNotOptimize(model.weightRows.data());
    }
}
BENCHMARK(BM_DayViewRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
