#pragma once
// The weekly check-in for two on the comparison screen (fraShukan "今週のふたり"): this
// week's weighing days of each partner, the change of their weekly mean, and how many
// weeks in a row both have weighed on at least four days. Weeks run Sunday to Saturday,
// as in the weekly report.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::comparison {

inline constexpr char kCheckInTitle[] = "今週のふたり";

struct PartnerWeek {
    int days = 0;  // days of this week with a weighing
    // This week's mean minus last week's (the weekly report's means); nothing when either
    // week has no weighing.
    std::optional<double> change;
    std::string daysText;    // "5/7日"
    std::string changeText;  // "−0.4kg", "+0.3kg", "±0.0kg" or "—"
};

struct WeeklyCheckIn {
    int weekStart = 0;  // text::dayNumber of this week's Sunday
    std::array<PartnerWeek, 2> partners;
    // Weeks in a row, ending with last week, in which both weighed on at least 4 days;
    // this week counts too once both have 4 days in it.
    int streak = 0;
    std::string streakText;  // "ふたりで4日以上測った週：6週連続"
};

// The weighings the weekly report counts (comparison::reportedDate), for the week of `today`.
WeeklyCheckIn weeklyCheckIn(const std::vector<store::MeasurementRecord>& log1,
                            const std::vector<store::MeasurementRecord>& log2,
                            const text::Date& today);

}  // namespace pairly::comparison
