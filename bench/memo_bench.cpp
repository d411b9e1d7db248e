// The one-line diary on a maximal log: the comment table the screen fills its grid with,
// and a comment save, which reads and rewrites the whole log.
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/memo/comment_table.h"
#include "core/store/measurement_log.h"

namespace {

using pairly::store::kMaxRecords;

void BM_BuildCommentTable(benchmark::State& state) {
    const auto log = pairly::bench::makeLog(1, kMaxRecords);
    for (auto _ : state) {
        auto rows = pairly::memo::buildCommentTable(log);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * kMaxRecords);
}
BENCHMARK(BM_BuildCommentTable)->Unit(benchmark::kMillisecond);

// What a refill of the screen computes: the log read from its file, then the table.
void BM_LoadLogAndBuildCommentTable(benchmark::State& state) {
    pairly::bench::BenchFolder folder;
    for (auto _ : state) {
        const auto log = pairly::store::loadLog(folder.path(), 1);
        auto rows = pairly::memo::buildCommentTable(log.records);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_LoadLogAndBuildCommentTable)->Unit(benchmark::kMillisecond);

void BM_SaveComment(benchmark::State& state) {
    pairly::bench::BenchFolder folder;
    auto shown = pairly::store::loadLog(folder.path(), 1).stamp;
    const int row = kMaxRecords / 2;
    bool flip = false;
    for (auto _ : state) {
        const std::string comment = flip ? "飲み会の翌日" : "反省";
        flip = !flip;
        const auto outcome = pairly::memo::saveComment(folder.path(), 1, row, shown, comment);
        if (!outcome.saved) state.SkipWithError("save failed");
        shown = outcome.stamp;
    }
}
BENCHMARK(BM_SaveComment)->Unit(benchmark::kMillisecond);

}  // namespace
