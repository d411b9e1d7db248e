#include "core/entry/habit.h"

#include <algorithm>
#include <map>

#include "core/text/dates.h"

namespace pairly::entry {

namespace {
constexpr int kHabitDays = 14;
constexpr int kHabitMinimumDays = 3;
}  // namespace

std::optional<std::string> habitualSituation(const std::vector<store::MeasurementRecord>& log,
                                             const std::string& today,
                                             const std::vector<std::string>& situations) {
    const auto todayDate = text::parseDate(today);
    if (!todayDate || situations.empty()) return std::nullopt;
    const std::string firstDay = text::formatDate(text::addDays(*todayDate, -kHabitDays));

    // One pass: the per-day position of each weighing, from the first day of the window.
    std::map<std::string, std::vector<const std::string*>> dayOrder;
    for (const auto& record : log) {
        if (record.date < firstDay || record.date > today) continue;
        dayOrder[record.date].push_back(&record.situation);
    }
    const auto todays = dayOrder.find(today);
    const std::size_t k = todays == dayOrder.end() ? 0 : todays->second.size();

    std::vector<int> days(situations.size(), 0);
    for (const auto& [date, order] : dayOrder) {
        if (date == today || order.size() <= k) continue;
        const auto it = std::find(situations.begin(), situations.end(), *order[k]);
        if (it != situations.end()) ++days[static_cast<std::size_t>(it - situations.begin())];
    }
    // max_element keeps the first of equal counts: the earlier entry of the list.
    const auto best = std::max_element(days.begin(), days.end());
    if (*best < kHabitMinimumDays) return std::nullopt;
    return situations[static_cast<std::size_t>(best - days.begin())];
}

}  // namespace pairly::entry
