// The measurement list on a maximal log: selection, the rows of both tables, the main
// chart and the small charts, as one build of the screen computes them.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_data.h"
#include "core/store/measurement_log.h"
#include "core/list/measurement_list.h"

namespace {

using pairly::store::MeasurementRecord;
namespace views = pairly::views;

constexpr float kHeightCm = 172.0f;

const std::vector<MeasurementRecord>& maximalLog() {
    static const std::vector<MeasurementRecord> log =
        pairly::bench::makeLog(1, pairly::store::kMaxRecords);
    return log;
}

void report(benchmark::State& state, const views::MeasurementList& list) {
    state.SetLabel(std::to_string(list.rows.size()) + " rows");
    state.SetItemsProcessed(state.iterations() * pairly::store::kMaxRecords);
}

void BM_ListUnfiltered(benchmark::State& state) {
    const auto& log = maximalLog();
    views::MeasurementList list;
    for (auto _ : state) {
        list = views::buildUnfilteredList(log, kHeightCm);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListUnfiltered)->Unit(benchmark::kMillisecond);

// Whole period with a situation text that most weighings contain: the longest filtered list.
void BM_ListFilteredSituation(benchmark::State& state) {
    const auto& log = maximalLog();
    views::ListFilters filters;
    filters.start = views::firstRecordDate(log);
    filters.end = "2026/12/07";
    filters.situation = "後";
    views::MeasurementList list;
    for (auto _ : state) {
        list = views::buildFilteredList(log, kHeightCm, filters);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListFilteredSituation)->Unit(benchmark::kMillisecond);

// One weekday over ten years: every record's weekday is tested.
void BM_ListFilteredWeekday(benchmark::State& state) {
    const auto& log = maximalLog();
    views::ListFilters filters;
    filters.start = "2016/12/07";
    filters.end = "2026/12/07";
    filters.weekday = 1;
    views::MeasurementList list;
    for (auto _ : state) {
        list = views::buildFilteredList(log, kHeightCm, filters);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListFilteredWeekday)->Unit(benchmark::kMillisecond);

}  // namespace
