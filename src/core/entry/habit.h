#pragma once
// The situation a partner usually weighs in at, read from the order of a day's weighings.
#include <optional>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"

namespace pairly::entry {

// With k weighings of `today` already in `log` (ascending dates), the entry of
// `situations` (lstAct's order) that was the (k+1)-th weighing of the day on at least 3 of
// the 14 days before today; the most frequent, ties to the earlier entry. Situations not in
// `situations` (free text) never count. nullopt without such a habit or when `today` is no
// date.
std::optional<std::string> habitualSituation(const std::vector<store::MeasurementRecord>& log,
                                             const std::string& today,
                                             const std::vector<std::string>& situations);

}  // namespace pairly::entry
