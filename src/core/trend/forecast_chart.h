#pragma once
// The forecast fan on the weight chart, whose horizontal axis counts weighings, not days:
// the fan starts at the last weighing of the trend's last day, and a day after it lies as
// many points further as the partner weighed a day in the two weeks the forecast stands
// on. The fan thus goes on at the slope the trend line shows, at the pace of weighing of
// now.
#include <array>
#include <vector>

#include "core/chart/composition.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"
#include "core/trend/forecast.h"

namespace pairly::trend {

// The likely, early and late line, one value per chart point (index 0 = point 1), NaN
// outside the line; each line runs straight from the fan's start to its end point. All
// three are as long as the longest; empty when there is nothing to draw.
struct FanSeries {
    std::array<chart::Series, 3> lines;
    int points() const { return static_cast<int>(lines[0].size()); }
};

// `log` is the log the forecast was made from (corrected or not), `fan` its fan.
FanSeries fanSeries(const std::vector<store::MeasurementRecord>& log, const ForecastFan& fan,
                    const text::Date& today);

}  // namespace pairly::trend
