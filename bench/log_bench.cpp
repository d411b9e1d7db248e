// The measurement log on a maximal log (32,766 weighings, thirty years): loading it, as every
// view does on each refresh, beside the floor for any parser (read the file and convert it
// from CP932 with iconv, nothing else), and the writes that read the whole log first.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "support/folder_layout.h"

namespace {

using pairly::bench::BenchFolder;
using pairly::store::MeasurementRecord;
using namespace pairly;

constexpr int kRecords = store::kMaxRecords;

const BenchFolder& maximalFolder() {
    static const BenchFolder folder;
    return folder;
}

// The whole file in one read and one iconv call into a buffer of the largest size needed.
std::string readAndConvert(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) std::abort();
    std::string bytes;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, std::size_t(n));
    ::close(fd);
    iconv_t cd = iconv_open("UTF-8", "CP932");
    std::string out(bytes.size() * 3 / 2 + 16, '\0');
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) std::abort();
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

void BM_Cp932Baseline(benchmark::State& state) {
    const auto file = maximalFolder().path() / store::logFileName(1);
    for (auto _ : state) {
        std::string text = readAndConvert(file);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_Cp932Baseline)->Unit(benchmark::kMillisecond);

void BM_LoadLog(benchmark::State& state) {
    for (auto _ : state) {
        auto records = store::loadLog(maximalFolder().path(), 1).records;
        benchmark::DoNotOptimize(records.data());
        if (records.size() != kRecords) state.SkipWithError("wrong record count");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadLog)->Unit(benchmark::kMillisecond);

void BM_ReadFile(benchmark::State& state) {
    for (auto _ : state) {
        auto text = disk::readTextFile(maximalFolder().path(), store::logFileName(1));
        benchmark::DoNotOptimize(text->data());
    }
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_ParseRecords(benchmark::State& state) {
    const std::string content = store::recordsText(pairly::bench::makeLog(1, kRecords));
    for (auto _ : state) {
        auto records = store::parseRecords(content);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(state.iterations() * static_cast<long>(content.size()));
}
BENCHMARK(BM_ParseRecords)->Unit(benchmark::kMillisecond);

// Start-up looks for damaged lines in both logs once, before the screens read them.
void BM_DamagedLinesNotice(benchmark::State& state) {
    for (auto _ : state) {
        auto notice = store::damagedLinesNotice(maximalFolder().path());
        if (notice) state.SkipWithError("a maximal log has no damaged line");
    }
}
BENCHMARK(BM_DamagedLinesNotice)->Unit(benchmark::kMillisecond);

// Saving a weighing: the log is read whole to check its length, then one line is appended.
void BM_AppendRecord(benchmark::State& state) {
    BenchFolder folder(kRecords - 1);
    const MeasurementRecord record{"2026/12/07", "起床後", 65.0f, 22.0f, 1450, 8,
                                   48.0f,        2,        2.9f,  "",    ""};
    const auto original = pairly::bench::makeLog(1, kRecords - 1);
    for (auto _ : state) {
        state.PauseTiming();
        if (!pairly::testing::rewriteLog(folder.path(), 1, original)) std::abort();
        state.ResumeTiming();
        if (!pairly::testing::appendRecord(folder.path(), 1, record))
            state.SkipWithError("append failed");
    }
}
BENCHMARK(BM_AppendRecord)->Unit(benchmark::kMillisecond);

void BM_InsertRecordInDateOrder(benchmark::State& state) {
    BenchFolder folder(kRecords - 1);
    const auto original = pairly::bench::makeLog(1, kRecords - 1);
    for (auto _ : state) {
        state.PauseTiming();
        if (!pairly::testing::rewriteLog(folder.path(), 1, original)) std::abort();
        state.ResumeTiming();
        if (store::insertRecordInDateOrder(folder.path(), 1,
                                           {"2010/01/01", "起床後", 65.0f, 22.0f, 1450, 8, 48.0f, 2,
                                            2.9f, "", ""}) != disk::WriteStatus::Ok)
            state.SkipWithError("insert failed");
    }
}
BENCHMARK(BM_InsertRecordInDateOrder)->Unit(benchmark::kMillisecond);

}  // namespace
