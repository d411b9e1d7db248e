#include "bench/bench_data.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "core/text/dates.h"
#include "support/folder_layout.h"

namespace pairly::bench {

namespace fs = std::filesystem;

namespace {

float tenths(double v) { return static_cast<float>(std::round(v * 10.0) / 10.0); }

}  // namespace

std::vector<store::MeasurementRecord> makeLog(int slot, int records) {
    static const char* comments[] = {"飲み会の翌日", "ジョギング30分", "停滞期かも, 反省",
                                     "ラーメン我慢した", "二人で散歩"};
    // Seven situations in the order of a day, each with how far it lies above the morning
    // weight.
    struct Moment {
        const char* situation;
        double offset;
    };
    static const Moment moments[] = {{"起床後", 0.0}, {"朝食前", 0.1}, {"昼食前", 0.5},
                                     {"夕食前", 0.8}, {"入浴後", 1.0}, {"就寝前", 1.2},
                                     {"運動後", 0.6}};
    std::uint32_t seed = 12345u + static_cast<std::uint32_t>(slot);
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    auto noise = [&next] { return static_cast<double>(next()) / 16777216.0 - 0.5; };

    // Two to four weighings a day: first the day counts, so that the last day is the last
    // day of the log.
    std::vector<int> perDay;
    for (int total = 0; total < records;) {
        const int n = std::min(2 + static_cast<int>(next() % 3), records - total);
        perDay.push_back(n);
        total += n;
    }
    text::Date date = text::addDays(text::Date{kLastYear, kLastMonth, kLastDay},
                                    -static_cast<int>(perDay.size() - 1));
    const double base = slot == 1 ? 78.0 : 57.0;
    const double fatBase = slot == 1 ? 24.0 : 31.0;
    std::vector<store::MeasurementRecord> log;
    log.reserve(static_cast<std::size_t>(records));
    int i = 0;
    for (const int count : perDay) {
        // `count` of the seven moments, in the order of the day.
        bool taken[7] = {};
        for (int k = 0; k < count;) {
            const auto m = next() % 7;
            if (!taken[m]) taken[m] = true, ++k;
        }
        for (int m = 0; m < 7; ++m) {
            if (!taken[m]) continue;
            const double t = static_cast<double>(i) / records;
            // Slow loss with yearly waves and day-to-day noise.
            const double w =
                base - 8.0 * t + 1.5 * std::sin(t * 60.0) + noise() * 0.8 + moments[m].offset;
            store::MeasurementRecord r;
            r.date = text::formatDate(date);
            r.situation = i == 0 ? "はじめの一歩" : moments[m].situation;
            r.weight = tenths(w);
            r.bodyFat = tenths(fatBase - 4.0 * t + noise());
            r.basalMetabolism =
                static_cast<std::int16_t>(std::lround(600 + 11.0 * w + noise() * 8));
            r.visceralFat = static_cast<std::int16_t>(std::lround((slot == 1 ? 12 : 9) - 3 * t));
            r.muscleMass = tenths(w * 0.72 + noise() * 0.3);
            r.muscleScore = static_cast<std::int16_t>(std::lround(noise() * 4));
            r.boneMass = tenths(slot == 1 ? 3.1 : 2.2);
            if (i % 4 == 0 && i > 0) r.comment = comments[(i / 4) % 5];
            log.push_back(std::move(r));
            ++i;
        }
        date = text::addDays(date, 1);
    }
    return log;
}

BenchFolder::BenchFolder(int records) {
    std::string tmpl = (fs::temp_directory_path() / "pairly-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl;
    bool ok = true;
    ok = ok && pairly::testing::saveProfile(path_, 1, {"たくや", 172.5f, 68.0f});
    ok = ok && pairly::testing::saveProfile(path_, 2, {"みさき", 158.0f, 50.0f});
    ok = ok && pairly::testing::rewriteLog(path_, 1, makeLog(1, records));
    ok = ok && pairly::testing::rewriteLog(path_, 2, makeLog(2, records));
    ok = ok && pairly::testing::rewriteSituationList(path_, store::defaultSituations());
    ok = ok && store::writeHelpTourFlag(path_, 0) == disk::WriteStatus::Ok;
    ok = ok && store::writeMovingAverage(path_, "10") == disk::WriteStatus::Ok;
    ok = ok && store::writeMarkerMode(path_, 1) == disk::WriteStatus::Ok;
    if (!ok) std::abort();
}

void addLongTexts(const std::filesystem::path& folder) {
    std::vector<store::MeasurementRecord> log = makeLog(1, store::kMaxRecords);
    std::string comment, nickname;
    for (int i = 0; i < 60 * 1024 / 2; ++i) comment += "記";  // two bytes each in CP932
    for (int i = 0; i < 100; ++i) nickname += "長い名";
    log.back().comment = comment;
    if (!pairly::testing::rewriteLog(folder, 1, log) ||
        !pairly::testing::saveProfile(folder, 1, {nickname, 172.5f, 68.0f}))
        std::abort();
}

BenchFolder::~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace pairly::bench
