#pragma once
// Weighings of different situations made comparable: how much heavier a partner usually
// is at each situation than at the one that most often starts the day, and the log with
// every weighing moved by that difference, for the trend graph's series, moving average,
// trend and forecast (nothing else is ever corrected, and nothing is stored).
#include <optional>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::trend {

struct SituationDifference {
    std::string situation;
    int days = 0;  // days of the window with a weighing at both situations
    // The median over those days of (this situation's weight - the reference's), each the
    // first of its situation on the day; nothing with fewer than 5 days.
    std::optional<double> difference;
};

struct SituationCorrection {
    // The situation most often first in a day over the 90 days that end today (a tie goes
    // to the one earlier in the situation list); empty without a weighing in those days.
    std::string reference;
    // Every other situation weighed in those days: in the order of the situation list,
    // then the ones not in the list in the order of their first weighing.
    std::vector<SituationDifference> others;
};

// Records whose date does not read or whose weight is not a positive number are left out.
SituationCorrection situationCorrection(const std::vector<store::MeasurementRecord>& log,
                                        const std::vector<std::string>& situations,
                                        const text::Date& today);

// One row of msgHosei: the situation and "基準", "+0.8kg" or "データ不足".
struct CorrectionRow {
    std::string situation, difference;
    std::string line() const { return situation + "  " + difference; }
    bool operator==(const CorrectionRow&) const = default;
};
// The reference first, then the others; nothing without a reference.
std::vector<CorrectionRow> correctionTable(const SituationCorrection& correction);

// The weight of every record, in log order: a weighing at a situation with a difference
// weighs that much less (as it would have weighed at the reference), whatever its date. A
// weight the move would bring to zero or below, and a record that is no weighing, stay as
// they are.
std::vector<float> correctedWeights(const std::vector<store::MeasurementRecord>& log,
                                    const SituationCorrection& correction);

// A copy of the log with the corrected weights, for the series built from records.
std::vector<store::MeasurementRecord> correctedLog(const std::vector<store::MeasurementRecord>& log,
                                                   const SituationCorrection& correction);

}  // namespace pairly::trend
