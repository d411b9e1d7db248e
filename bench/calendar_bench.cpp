// The calendar of a maximal log: day classes, month rows, counters and the painted cells of
// one display mode, as every opening, mode change and partner change computes them.
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/calendar/calendar.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace {

using namespace pairly;

void BM_CalendarModel(benchmark::State& state) {
    const auto log = bench::makeLog(1, store::kMaxRecords);
    const text::Date today{bench::kLastYear, bench::kLastMonth, bench::kLastDay};
    for (auto _ : state) {
        const calendar::CalendarModel model = calendar::buildCalendarModel(log, today);
        const auto cells = calendar::paintedCells(model, calendar::CalendarMode::Detailed);
        benchmark::DoNotOptimize(cells.data());
        if (model.months.size() < 300 || model.notMeasured != 0)
            state.SkipWithError("unexpected calendar");
    }
    state.SetItemsProcessed(state.iterations() * store::kMaxRecords);
}
BENCHMARK(BM_CalendarModel)->Unit(benchmark::kMillisecond);

}  // namespace
