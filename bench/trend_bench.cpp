// The computations behind the trend and analysis screens on a maximal log (32,766
// weighings): what a menu button or a change of partner runs before anything is drawn.
#include <benchmark/benchmark.h>

#include "bench/bench_data.h"
#include "core/trend/analyses.h"
#include "core/trend/weight_trend.h"

namespace {

using namespace pairly;

const std::vector<store::MeasurementRecord>& maximalLog() {
    static const auto log = bench::makeLog(1, store::kMaxRecords);
    return log;
}

const trend::WeightSeries& maximalSeries() {
    static const auto series = trend::buildWeightSeries(maximalLog());
    return series;
}

void BM_TrendWeightSeries(benchmark::State& state) {
    for (auto _ : state) {
        auto s = trend::buildWeightSeries(maximalLog());
        benchmark::DoNotOptimize(s.weights.data());
    }
}
BENCHMARK(BM_TrendWeightSeries)->Unit(benchmark::kMillisecond);

// The three series of the weight chart, with a moving average over k weighings.
void BM_TrendWeightChart(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto c = trend::buildWeightChart(maximalSeries(), k);
        benchmark::DoNotOptimize(c.weight.data());
    }
}
BENCHMARK(BM_TrendWeightChart)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_TrendMovingAverage(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto averages = trend::movingAverages(maximalSeries().weights, k);
        benchmark::DoNotOptimize(averages.data());
    }
}
BENCHMARK(BM_TrendMovingAverage)->Arg(10)->Arg(1000)->Arg(16383)->Unit(benchmark::kMillisecond);

void BM_TrendTextsAndAxes(benchmark::State& state) {
    for (auto _ : state) {
        auto t = trend::buildTrendTexts(maximalSeries(), 60.0f);
        auto a = trend::weightChartAxes(maximalSeries());
        benchmark::DoNotOptimize(t.period.data());
        benchmark::DoNotOptimize(a.left.minimum);
    }
}
BENCHMARK(BM_TrendTextsAndAxes)->Unit(benchmark::kMicrosecond);

void BM_TrendMetricChart(benchmark::State& state) {
    const auto kind = static_cast<trend::MetricKind>(state.range(0));
    for (auto _ : state) {
        auto c = trend::buildMetricChart(maximalLog(), kind);
        benchmark::DoNotOptimize(c.series1.data());
    }
}
BENCHMARK(BM_TrendMetricChart)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_AnalysisTimeSeries(benchmark::State& state) {
    for (auto _ : state) {
        auto t = trend::buildTimeSeries(maximalSeries(), trend::Reference::Previous);
        benchmark::DoNotOptimize(t.rows.data());
    }
}
BENCHMARK(BM_AnalysisTimeSeries)->Unit(benchmark::kMillisecond);

void BM_AnalysisMilestones(benchmark::State& state) {
    for (auto _ : state) {
        auto m = trend::buildMilestones(maximalSeries());
        benchmark::DoNotOptimize(m.rows.data());
    }
}
BENCHMARK(BM_AnalysisMilestones)->Unit(benchmark::kMillisecond);

void BM_AnalysisAverageTrend(benchmark::State& state) {
    for (auto _ : state) {
        auto a = trend::buildAverageTrend(maximalSeries());
        benchmark::DoNotOptimize(a.rows.data());
    }
}
BENCHMARK(BM_AnalysisAverageTrend)->Unit(benchmark::kMillisecond);

void BM_AnalysisBandRanking(benchmark::State& state) {
    const auto width = state.range(0) == 0 ? trend::BandWidth::OneKilo : trend::BandWidth::HalfKilo;
    for (auto _ : state) {
        auto b = trend::buildBandRanking(maximalSeries(), width);
        benchmark::DoNotOptimize(b.rows.data());
    }
}
BENCHMARK(BM_AnalysisBandRanking)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Everything the analysis screen computes on opening, the series included.
void BM_AnalysisAll(benchmark::State& state) {
    for (auto _ : state) {
        auto s = trend::buildWeightSeries(maximalLog());
        auto t = trend::buildTimeSeries(s, trend::Reference::Previous);
        auto m = trend::buildMilestones(s);
        auto a = trend::buildAverageTrend(s);
        auto b = trend::buildBandRanking(s, trend::BandWidth::OneKilo);
        benchmark::DoNotOptimize(t.rows.data());
        benchmark::DoNotOptimize(m.rows.data());
        benchmark::DoNotOptimize(a.rows.data());
        benchmark::DoNotOptimize(b.rows.data());
    }
}
BENCHMARK(BM_AnalysisAll)->Unit(benchmark::kMillisecond);

}  // namespace
