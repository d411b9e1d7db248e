#pragma once
// The couple's goal under the comparison grid (lblFutari): when both partners will have
// reached their targets at the pace of their forecasts, and who gets there first.
#include <string>

#include "core/trend/forecast.h"

namespace pairly::trend {

struct PartnerGoal {
    std::string nickname;
    float targetWeight = 0;  // 0: no target
    const trend::GoalForecast& forecast;
};

// Both partners with a date: the later of the two likely dates and who is ahead; a partner
// without a date is named with what the forecast says instead; one or both partners at the
// goal cheer; a partner without a target is left out (nothing when neither has one).
std::string coupleGoalText(const PartnerGoal& partner1, const PartnerGoal& partner2);

}  // namespace pairly::trend
