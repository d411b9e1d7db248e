#pragma once
// Fair measures between two body sizes: the loss as a share of the start weight, and the
// daily averages as the change from each partner's first one, in percent.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/chart/composition.h"
#include "core/store/measurement_log.h"

namespace pairly::comparison {

// (first weight - last weight) / first weight * 100, from the first and last record of the
// log; nothing without records or with a first weight that is not a positive number.
std::optional<double> lossShare(std::span<const store::MeasurementRecord> log);

// "5.0% 減", "2.5% 増", "0.0%" (rounds to zero) or "—" (no share).
std::string lossShareText(std::optional<double> share);

struct ShareMarks {
    bool mark1 = false, mark2 = false;
};
// The larger share wins; a tie marks both; a partner without a share never wins.
ShareMarks lossShareMarks(std::optional<double> share1, std::optional<double> share2);

// Each point as the change from the series' first point in percent (0 at the first point,
// -5.0 = five percent lost); missing (NaN) points stay missing. A first point that is not a
// positive number gives an all-missing series.
chart::Series percentFromStart(const chart::Series& points);

}  // namespace pairly::comparison
