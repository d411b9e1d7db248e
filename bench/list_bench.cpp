// The measurement list on a maximal log: selection, the rows of both tables, the main
// chart and the small charts, as one build of the screen computes them.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_data.h"
#include "core/list/measurement_list.h"
#include "core/store/measurement_log.h"

namespace {

using pairly::store::MeasurementRecord;
using namespace pairly;

constexpr float kHeightCm = 172.0f;

const std::vector<MeasurementRecord>& maximalLog() {
    static const std::vector<MeasurementRecord> log =
        pairly::bench::makeLog(1, pairly::store::kMaxRecords);
    return log;
}

void report(benchmark::State& state, const list::MeasurementList& list) {
    state.SetLabel(std::to_string(list.rows.size()) + " rows");
    state.SetItemsProcessed(state.iterations() * pairly::store::kMaxRecords);
}

void BM_ListUnfiltered(benchmark::State& state) {
    const auto& log = maximalLog();
    list::MeasurementList list;
    for (auto _ : state) {
        list = list::buildUnfilteredList(log, kHeightCm);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListUnfiltered)->Unit(benchmark::kMillisecond);

// Whole period with a situation text that most weighings contain: the longest filtered list.
void BM_ListFilteredSituation(benchmark::State& state) {
    const auto& log = maximalLog();
    list::ListFilters filters;
    filters.start = list::firstRecordDate(log);
    filters.end = "2026/12/07";
    filters.situation = "後";
    list::MeasurementList list;
    for (auto _ : state) {
        list = list::buildFilteredList(log, kHeightCm, filters);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListFilteredSituation)->Unit(benchmark::kMillisecond);

// One weekday over ten years: every record's weekday is tested.
void BM_ListFilteredWeekday(benchmark::State& state) {
    const auto& log = maximalLog();
    list::ListFilters filters;
    filters.start = "2016/12/07";
    filters.end = "2026/12/07";
    filters.weekday = 1;
    list::MeasurementList list;
    for (auto _ : state) {
        list = list::buildFilteredList(log, kHeightCm, filters);
        benchmark::DoNotOptimize(list.rows.data());
    }
    report(state, list);
}
BENCHMARK(BM_ListFilteredWeekday)->Unit(benchmark::kMillisecond);

}  // namespace
