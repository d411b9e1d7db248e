#include "core/comparison/weekly_checkin.h"

#include <gtest/gtest.h>

namespace pairly::comparison {
namespace {

using Log = std::vector<store::MeasurementRecord>;

// `log` and one weighing on each of `days` of December 2026 (32 is 2027/01/01).
Log dec(float weight, std::initializer_list<int> days, Log log = {}) {
    for (int d : days)
        log.push_back({text::formatDate(text::addDays({2026, 11, 30}, d)), "", weight, 0, 0, 0, 0,
                       0, 0, "", ""});
    return log;
}

// Today Friday 2027/01/01: this week is 2026/12/27..2027/01/02, last week 12/20..12/26.
// Partner 1 weighs four days in each week, 70.2 last week, 69.8 this week (twice on 12/31)
// and once next week; partner 2 three days in the week of 12/06, then four, 55.0 last week,
// three days at 55.3 this week (or four).
const Log kLog1 =
    dec(50, {34},
        dec(69.8f, {27, 30, 31, 31, 32}, dec(70.2f, {6, 7, 8, 9, 13, 14, 15, 16, 23, 24, 25, 26})));
const Log kLog2 = dec(55.3f, {29, 30, 31}, dec(55, {6, 7, 8, 13, 14, 15, 16, 20, 21, 22, 23}));

TEST(WeeklyCheckIn, DaysChangesAndStreakAcrossTheYearEnd) {
    const Log fourth2 = dec(55.3f, {32}, kLog2);
    const Log without1 = dec(69.8f, {27, 28, 29, 30, 31, 32}, dec(70, {13, 14, 15, 16}));
    const struct {
        Log log1, log2;
        const char* shown;  // days and change of each partner, weeks in a row
    } cases[] = {
        {kLog1, kLog2, "4/7日 −0.4kg 3/7日 +0.3kg ふたりで4日以上測った週：2週連続"},
        {kLog1, fourth2, "4/7日 −0.4kg 4/7日 +0.3kg ふたりで4日以上測った週：3週連続"},
        {without1, fourth2, "6/7日 — 4/7日 +0.3kg ふたりで4日以上測った週：1週連続"},
    };
    for (const auto& c : cases) {
        const WeeklyCheckIn w = weeklyCheckIn(c.log1, c.log2, {2027, 1, 1});
        const auto& [p1, p2] = w.partners;
        EXPECT_EQ(p1.daysText + " " + p1.changeText + " " + p2.daysText + " " + p2.changeText +
                      " " + w.streakText,
                  c.shown);
    }
}

}  // namespace
}  // namespace pairly::comparison
