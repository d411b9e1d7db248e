#include "core/entry/habit.h"

#include <gtest/gtest.h>

#include "core/text/dates.h"

namespace pairly::entry {
namespace {

TEST(Habit, PicksTheUsualSituationOfTheNextWeighing) {
    using Log = std::vector<std::pair<int, const char*>>;  // days before 12/09, situation
    const Log wake = {{3, "W"}, {3, "D"}, {2, "W"}, {2, "D"}, {1, "W"}, {1, "D"}};
    // The log, the weighings of today already, the pick.
    const std::tuple<Log, int, const char*> cases[] = {
        {wake, 0, "W"},
        {wake, 1, "D"},
        {{{2, "W"}, {1, "W"}}, 0, nullptr},
        {{{15, "W"}, {2, "W"}, {1, "W"}}, 0, nullptr},
        {{{14, "W"}, {13, "W"}, {12, "W"}}, 0, "W"},
        // Equal counts go to the earlier entry of the list; else the most frequent wins.
        {{{6, "A"}, {5, "A"}, {4, "A"}, {3, "B"}, {2, "B"}, {1, "B"}}, 0, "B"},
        {{{7, "B"}, {6, "A"}, {5, "A"}, {4, "A"}, {3, "A"}, {2, "B"}, {1, "B"}}, 0, "A"},
        {{{3, "free"}, {2, "free"}, {1, "free"}}, 0, nullptr},  // free text
        {{{1, "W"}, {-1, "W"}, {-2, "W"}, {-3, "W"}}, 0, nullptr},
    };
    for (const auto& [days, today, expected] : cases) {
        std::vector<store::MeasurementRecord> log(days.size() + std::size_t(today));
        for (std::size_t i = 0; i < log.size(); ++i) {
            const auto [ago, situation] = i < days.size() ? days[i] : std::pair{0, "A"};
            log[i].date = text::formatDate(text::addDays({2026, 12, 9}, -ago));
            log[i].situation = situation;
        }
        const auto picked = habitualSituation(log, "2026/12/09", {"W", "D", "B", "A"});
        EXPECT_EQ(picked.value_or("-"), expected ? expected : "-") << days.size() << today;
    }
}

}  // namespace
}  // namespace pairly::entry
