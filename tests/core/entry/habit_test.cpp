#include "core/entry/habit.h"

#include <gtest/gtest.h>

#include "core/text/dates.h"

namespace pairly::entry {
namespace {

TEST(Habit, PicksTheUsualSituationOfTheNextWeighing) {
    using Log = std::vector<std::pair<int, const char*>>;  // days before today, situation
    const Log habit = {{3, "起床後"}, {3, "夕食後"}, {2, "起床後"},
                       {2, "夕食後"}, {1, "起床後"}, {1, "夕食後"}};
    const auto plus = [&](Log more) {
        Log log = habit;
        log.insert(log.end(), more.begin(), more.end());
        return log;
    };
    const struct {
        Log log;
        const char* expected;
    } cases[] = {
        {habit, "起床後"},
        {plus({{0, "入浴後"}}), "夕食後"},  // one weighing today: the second's habit
        {plus({{0, "起床後"}, {0, "夕食後"}}), nullptr},
        {{{2, "起床後"}, {1, "起床後"}}, nullptr},
        {{{15, "起床後"}, {2, "起床後"}, {1, "起床後"}}, nullptr},
        {{{14, "起床後"}, {13, "起床後"}, {12, "起床後"}}, "起床後"},
        // A tie goes to the earlier entry of the list, else the most frequent wins.
        {{{6, "入浴後"}, {5, "入浴後"}, {4, "入浴後"}, {3, "入浴前"}, {2, "入浴前"}, {1, "入浴前"}},
         "入浴前"},
        {{{7, "入浴後"},
          {6, "入浴前"},
          {5, "入浴後"},
          {4, "入浴前"},
          {3, "入浴後"},
          {2, "入浴前"},
          {1, "入浴後"}},
         "入浴後"},
        {{{4, "散歩後"}, {3, "散歩後"}, {2, "散歩後"}, {1, "散歩後"}}, nullptr},  // free text
        // Days after today (typed ahead) are no part of the habit.
        {{{1, "起床後"}, {-1, "入浴後"}, {-2, "入浴後"}, {-3, "入浴後"}}, nullptr},
    };
    const text::Date today{2026, 12, 9};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::vector<store::MeasurementRecord> log(cases[i].log.size());
        for (std::size_t r = 0; r < log.size(); ++r) {
            log[r].date = text::formatDate(text::addDays(today, -cases[i].log[r].first));
            log[r].situation = cases[i].log[r].second;
        }
        const auto picked =
            habitualSituation(log, "2026/12/09", {"起床後", "夕食後", "入浴前", "入浴後"});
        EXPECT_EQ(picked.value_or("-"), cases[i].expected ? cases[i].expected : "-") << i;
    }
}

}  // namespace
}  // namespace pairly::entry
