// Writes a complete demo data folder through the store: two partners, about four months
// of weighings ending 2026/12/07, the situation list and the preference files.
//
// Usage: make_demo_data OUTDIR
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "support/folder_layout.h"

namespace {

using pairly::store::MeasurementRecord;
using pairly::text::Date;

// Fixed-seed generator (splitmix64): the same folder on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(uniform() * n); }
    // Roughly normal, from the sum of uniforms.
    double noise(double spread) {
        double s = 0;
        for (int i = 0; i < 4; ++i) s += uniform();
        return (s - 2.0) * spread * 1.7;
    }

private:
    std::uint64_t state_;
};

struct Person {
    int slot;
    pairly::store::PartnerProfile profile;
    Date first;
    double startWeight, endWeight;
    double startFat, endFat;
    double metabolismPerKg;  // basal metabolism grows with weight
    double metabolismBase;
    double startVisceral, endVisceral;
    double bone;
    double scoreStart, scoreEnd;
    double mealScale;  // how much a meal adds, relative to the first partner
    std::vector<std::pair<int, std::string>> comments;  // day index -> comment
};

// Weight change against the morning reading for each situation of the default list.
double situationOffset(const std::string& situation) {
    static const std::vector<std::pair<std::string, double>> offsets = {
        {"起床後", 0.0}, {"朝食前", 0.1}, {"朝食後", 0.5}, {"昼食前", 0.4},
        {"昼食後", 0.9}, {"夕食前", 0.6}, {"夕食後", 1.1}, {"入浴前", 1.0},
        {"入浴後", 0.6}, {"就寝前", 0.8}, {"運動後", 0.2}};
    for (const auto& [name, offset] : offsets)
        if (name == situation) return offset;
    return 0.3;
}

// Which situations are weighed on a day: one to four, in the order of the day.
std::vector<std::string> daySituations(Random& rng, bool weekend) {
    const auto& all = pairly::store::defaultSituations();
    // Likelihood of each situation being weighed.
    const double chance[] = {0.85, 0.15, 0.1, 0.05, 0.1, 0.1, 0.3, 0.15, 0.35, 0.45, 0.0};
    std::vector<std::string> picked;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (rng.uniform() < chance[i]) picked.push_back(all[i]);
    // A weekend workout comes in the afternoon, before the evening weighings.
    if (weekend && rng.uniform() < 0.5) {
        auto at = picked.begin();
        while (at != picked.end() &&
               std::find(all.begin(), all.begin() + 5, *at) != all.begin() + 5)
            ++at;
        picked.insert(at, all.back());  // 運動後
    }
    while (picked.size() > 4)
        picked.erase(picked.begin() + 1 + rng.below(static_cast<int>(picked.size()) - 1));
    if (picked.empty()) picked.push_back(all[rng.uniform() < 0.7 ? 0 : 9]);
    return picked;
}

float tenths(double v) { return static_cast<float>(std::round(v * 10.0) / 10.0); }

std::vector<MeasurementRecord> makeLog(const Person& p, const Date& last, Random& rng) {
    std::vector<MeasurementRecord> log;
    const int days = pairly::text::daysBetween(p.first, last);
    double drift = 0;  // slow wander around the trend (water, salt, habits)
    for (int d = 0; d <= days; ++d) {
        const Date date = pairly::text::addDays(p.first, d);
        const double t = static_cast<double>(d) / days;
        // Quick start, slower later, with a plateau in the middle third.
        const double progress =
            0.55 * t + 0.45 * (1 - std::pow(1 - t, 2.2)) - 0.05 * std::sin(t * 3.14159);
        const double trend = p.startWeight + (p.endWeight - p.startWeight) * progress;
        drift = 0.8 * drift + rng.noise(0.18);
        const double morning = trend + drift;
        const double fatTrend = p.startFat + (p.endFat - p.startFat) * progress;
        const int wd = pairly::text::weekday(date);
        if (d == 0) {
            // The start record, as the new start writes it.
            const double w = tenths(p.startWeight);
            log.push_back(
                {pairly::text::formatDate(date), "はじめの一歩", tenths(w), tenths(p.startFat),
                 static_cast<std::int16_t>(std::lround(p.metabolismBase + p.metabolismPerKg * w)),
                 static_cast<std::int16_t>(std::lround(p.startVisceral)),
                 tenths(w * (1 - p.startFat / 100) * 0.95 - p.bone),
                 static_cast<std::int16_t>(std::lround(p.scoreStart)), tenths(p.bone), "", ""});
            continue;
        }
        for (const auto& situation : daySituations(rng, wd == 0 || wd == 6)) {
            const double weight =
                morning + situationOffset(situation) * p.mealScale + rng.noise(0.08);
            // Bioimpedance reads lower fat right after a bath or a workout.
            double fat = fatTrend + rng.noise(0.35);
            if (situation == "入浴後" || situation == "運動後") fat -= 0.6;
            const float w = tenths(weight);
            const float f = tenths(fat);
            MeasurementRecord r;
            r.date = pairly::text::formatDate(date);
            r.situation = situation;
            r.weight = w;
            r.bodyFat = f;
            r.basalMetabolism = static_cast<std::int16_t>(
                std::lround(p.metabolismBase + p.metabolismPerKg * w + rng.noise(4)));
            r.visceralFat = static_cast<std::int16_t>(std::lround(
                p.startVisceral + (p.endVisceral - p.startVisceral) * progress + rng.noise(0.15)));
            r.boneMass = tenths(p.bone + (rng.uniform() < 0.12 ? -0.1 : 0));
            r.muscleMass = tenths(w * (1 - f / 100.0) * 0.95 - r.boneMass + rng.noise(0.15));
            r.muscleScore = static_cast<std::int16_t>(std::lround(
                p.scoreStart + (p.scoreEnd - p.scoreStart) * progress + rng.noise(0.3)));
            log.push_back(r);
        }
        for (const auto& [day, text] : p.comments)
            if (day == d) log.back().comment = text;
    }
    return log;
}

bool check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "make_demo_data: could not write %s\n", what);
    return ok;
}
bool check(pairly::disk::WriteStatus status, const char* what) {
    return check(status == pairly::disk::WriteStatus::Ok, what);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_data OUTDIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "make_demo_data: cannot create %s\n", out.c_str());
        return 1;
    }

    const Date last{2026, 12, 7};
    const Date first = pairly::text::addDays(last, -119);
    const std::vector<Person> people = {
        {1,
         {"たくや", 172.5f, 68.0f},
         first,
         77.4,
         72.1,
         24.8,
         21.6,
         12.0,
         610.0,
         11.0,
         8.0,
         3.1,
         0.6,
         1.4,
         1.0,
         {{3, "飲み会の翌日"},
          {15, "ジョギング30分"},
          {31, "体重計の電池交換"},
          {58, "停滞期かも"},
          {86, "ラーメン我慢した"},
          {117, "目標まであと少し"}}},
        {2,
         {"みさき", 158.0f, 50.0f},
         pairly::text::addDays(first, 4),
         56.3,
         52.7,
         31.5,
         28.9,
         9.5,
         615.0,
         5.0,
         3.0,
         2.2,
         -1.2,
         -0.2,
         0.65,
         {{5, "ケーキ食べすぎた"},
          {22, "ヨガ教室"},
          {47, "むくみ気味"},
          {80, "新しいスカートが入った！"},
          {109, "二人で散歩"}}},
    };

    bool ok = true;
    Random rng(20261207);
    for (const auto& p : people) {
        ok = check(pairly::testing::saveProfile(out, p.slot, p.profile), "a profile") && ok;
        ok = check(pairly::testing::rewriteLog(out, p.slot, makeLog(p, last, rng)), "a log") && ok;
    }
    ok = check(pairly::testing::rewriteSituationList(out, pairly::store::defaultSituations()),
               "the situation list") &&
         ok;
    ok = check(pairly::store::writeHelpTourFlag(out, 0), "設定.txt") && ok;
    ok = check(pairly::store::writeScaleSteps(out, {"0.1", "0.1"}), "体重計刻み.txt") && ok;
    ok = check(pairly::store::writeMovingAverage(out, "10"), "移動平均.TXT") && ok;
    ok = check(pairly::store::writeAutoTime(out, 0), "自動時間.TXT") && ok;
    ok = check(pairly::store::writeMarkerMode(out, 1), "マーカー.TXT") && ok;
    ok = check(pairly::disk::safeRewrite(out, "気付きメモ.txt",
                                         "二人で年末までに目標達成！\r\n"
                                         "夜のおやつは週1回まで。\r\n"
                                         "週末はウォーキング。\r\n"),
               "気付きメモ.txt") &&
         ok;
    return ok ? 0 : 1;
}
