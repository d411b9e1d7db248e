// Loading a log of about ten years (15,000 weighings), as every view does on each refresh.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/data_folder.h"
#include "store/measurement_log.h"
#include "text/dates.h"
#include "text/numbers.h"

namespace {

namespace fs = std::filesystem;
using pairly::store::MeasurementRecord;

constexpr int kRecords = 15000;

std::vector<MeasurementRecord> tenYears() {
    static const char* situations[] = {"起床後", "朝食前", "夕食後", "入浴後", "就寝前"};
    std::vector<MeasurementRecord> records;
    records.reserve(kRecords);
    pairly::text::Date date{2016, 12, 8};
    for (int i = 0; i < kRecords; ++i) {
        if (i % 4 == 0 && i > 0) date = pairly::text::addDays(date, 1);
        const float w = 60.0f + static_cast<float>(i % 97) / 10.0f;
        records.push_back({pairly::text::formatDate(date), situations[i % 5], w,
                           20.0f + static_cast<float>(i % 53) / 10.0f, 1450, 8, 48.3f, 2, 2.9f,
                           i % 20 == 0 ? "飲み会の翌日, 反省" : "", ""});
    }
    return records;
}

class LogFolder {
public:
    LogFolder() {
        std::string tmpl = (fs::temp_directory_path() / "pairly-bench-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        path_ = tmpl;
        if (!pairly::store::rewriteLog(path_, 1, tenYears())) std::abort();
    }
    ~LogFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void BM_LoadLog(benchmark::State& state) {
    LogFolder folder;
    for (auto _ : state) {
        auto records = pairly::store::loadLog(folder.path(), 1).records;
        benchmark::DoNotOptimize(records.data());
        if (records.size() != kRecords) state.SkipWithError("wrong record count");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadLog)->Unit(benchmark::kMillisecond);

void BM_ParseRecords(benchmark::State& state) {
    const std::string content = pairly::store::recordsText(tenYears());
    for (auto _ : state) {
        auto records = pairly::store::parseRecords(content);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(content.size()));
}
BENCHMARK(BM_ParseRecords)->Unit(benchmark::kMillisecond);

void BM_DecodeCp932(benchmark::State& state) {
    LogFolder folder;
    for (auto _ : state) {
        auto text = pairly::store::readTextFile(folder.path(), "データ1.txt");
        benchmark::DoNotOptimize(text->data());
    }
}
BENCHMARK(BM_DecodeCp932)->Unit(benchmark::kMillisecond);

void BM_InsertRecordInDateOrder(benchmark::State& state) {
    LogFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        if (!pairly::store::rewriteLog(folder.path(), 1, tenYears())) std::abort();
        state.ResumeTiming();
        if (pairly::store::insertRecordInDateOrder(
                folder.path(), 1,
                {"2020/01/01", "起床後", 65.0f, 22.0f, 1450, 8, 48.0f, 2, 2.9f, "", ""}) !=
            pairly::store::WriteStatus::Ok)
            state.SkipWithError("insert failed");
    }
}
BENCHMARK(BM_InsertRecordInDateOrder)->Unit(benchmark::kMillisecond);

}  // namespace
