#include "core/comparison/weekly_checkin.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/comparison/comparison.h"
#include "core/comparison/period_report.h"
#include "core/text/numbers.h"

namespace pairly::comparison {

namespace {

constexpr int kStreakDays = 4;

struct WeekDays {
    int week;  // first day of the week
    int days;  // days with a weighing
};

struct Mean {
    double total = 0;
    int count = 0;
    std::optional<double> value() const {
        return count > 0 ? std::optional<double>(total / count) : std::nullopt;
    }
};

struct PartnerWeeks {
    std::vector<WeekDays> weeks;  // oldest first
    Mean thisWeek, lastWeek;
};

PartnerWeeks readWeeks(const std::vector<store::MeasurementRecord>& log, int thisWeek) {
    PartnerWeeks out;
    // Each day with its week, once for every run of weighings on that day.
    struct Day {
        int day, week;
    };
    std::vector<Day> days;
    int lastDay = std::numeric_limits<int>::min(), week = 0;
    for (const store::MeasurementRecord& r : log) {
        const auto date = comparison::reportedDate(r);
        if (!date) continue;
        const int day = text::dayNumber(*date);
        if (day != lastDay) {
            lastDay = day;
            week = comparison::periodStart(*date, comparison::ReportPeriod::Week);
            days.push_back({day, week});
        }
        Mean* mean = week == thisWeek       ? &out.thisWeek
                     : week == thisWeek - 7 ? &out.lastWeek
                                            : nullptr;
        if (mean) {
            mean->total += r.weight;
            ++mean->count;
        }
    }
    // Logs are in date order as a rule; only a log out of order is sorted.
    auto byDay = [](const Day& a, const Day& b) { return a.day < b.day; };
    if (!std::is_sorted(days.begin(), days.end(), byDay))
        std::sort(days.begin(), days.end(), byDay);
    for (std::size_t i = 0; i < days.size(); ++i) {
        if (i > 0 && days[i].day == days[i - 1].day) continue;
        if (out.weeks.empty() || out.weeks.back().week != days[i].week)
            out.weeks.push_back({days[i].week, 0});
        ++out.weeks.back().days;
    }
    return out;
}

// Days of `week` in a list walked from its newest week backwards; `at` only goes down.
int daysIn(const std::vector<WeekDays>& weeks, std::size_t& at, int week) {
    while (at > 0 && weeks[at - 1].week > week) --at;
    return at > 0 && weeks[at - 1].week == week ? weeks[at - 1].days : 0;
}

}  // namespace

WeeklyCheckIn weeklyCheckIn(const std::vector<store::MeasurementRecord>& log1,
                            const std::vector<store::MeasurementRecord>& log2,
                            const text::Date& today) {
    WeeklyCheckIn out;
    out.weekStart = comparison::periodStart(today, comparison::ReportPeriod::Week);
    const std::array<PartnerWeeks, 2> partners = {readWeeks(log1, out.weekStart),
                                                  readWeeks(log2, out.weekStart)};
    for (std::size_t p = 0; p < 2; ++p) {
        const PartnerWeeks& in = partners[p];
        PartnerWeek& week = out.partners[p];
        std::size_t at = in.weeks.size();
        week.days = daysIn(in.weeks, at, out.weekStart);
        week.daysText = std::to_string(week.days) + "/7日";
        const auto now = in.thisWeek.value(), before = in.lastWeek.value();
        if (now && before) week.change = *now - *before;
        week.changeText = week.change ? text::signedKg(*week.change) : comparison::kNoFigure;
    }

    std::array<std::size_t, 2> at = {partners[0].weeks.size(), partners[1].weeks.size()};
    auto bothWeighed = [&](int week) {
        return daysIn(partners[0].weeks, at[0], week) >= kStreakDays &&
               daysIn(partners[1].weeks, at[1], week) >= kStreakDays;
    };
    if (bothWeighed(out.weekStart)) ++out.streak;
    for (int week = out.weekStart - 7; bothWeighed(week); week -= 7) ++out.streak;
    out.streakText = "ふたりで4日以上測った週：" + std::to_string(out.streak) + "週連続";
    return out;
}

}  // namespace pairly::comparison
