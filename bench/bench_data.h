#pragma once
// Data for the benchmarks: two maximal logs (32,766 weighings each, two to four a day for
// about thirty years) or a three-year pair, written into a temporary data folder.
#include <filesystem>
#include <vector>

#include "core/store/measurement_log.h"

namespace pairly::bench {

// Thirty years end on this day; the window benchmarks use it as "today".
constexpr int kLastYear = 2026, kLastMonth = 12, kLastDay = 7;

// A diary ending on the last day: two to four weighings a day at seven situations of the
// default list in the order of the day, realistic weights that drift over the years, a
// comment on every fourth weighing. The first record is the start record. Slot 2 is a
// lighter partner.
std::vector<store::MeasurementRecord> makeLog(int slot, int records);

class BenchFolder {
public:
    // Two logs of `records` weighings each, both profiles, the situation list and the
    // preference files; removed again by the destructor.
    explicit BenchFolder(int records = store::kMaxRecords);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Partner 1 gets a nickname of 300 characters and a comment of 60 KiB (CP932) on its newest
// weighing: the longest texts a user is likely to type, shown on every screen.
void addLongTexts(const std::filesystem::path& folder);

// The three-year pair.
constexpr int kThreeYears = 3285;

}  // namespace pairly::bench
