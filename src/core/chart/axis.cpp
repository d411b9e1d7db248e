#include "core/chart/axis.h"

#include <cmath>

#include "core/chart/ticks.h"

namespace pairly::chart {

double upperLimit(float largest, float margin) {
    const float top = largest + margin;
    double limit = std::floor(top);
    if (limit < largest) limit = std::ceil(static_cast<double>(largest));
    return limit;
}

AxisRange enclosingRange(double minimum, float largest, float margin, int divisions) {
    double maximum = upperLimit(largest, margin);
    if (maximum <= minimum) maximum = minimum + 1;
    return {minimum, maximum, divisions};
}

int wholeUnitDivisions(const AxisRange& axis) {
    constexpr double kLimit = 1e9;
    if (!(std::fabs(axis.minimum) < kLimit && std::fabs(axis.maximum) < kLimit)) return 10;
    const auto span = static_cast<long long>(std::ceil(axis.maximum) - std::floor(axis.minimum));
    return wholeDivisions(span, 12, 4);
}

int wholeKiloDivisions(const AxisRange& axis) {
    const double span = axis.maximum - axis.minimum;
    if (!(span >= 1) || span > 1e6 || span != std::floor(span)) return 0;
    return wholeDivisions(static_cast<long long>(span), 10, 5);
}

WholeAxisRange displayedRange(const WholeAxisRange& range) {
    WholeAxisRange shown = range;
    if (shown.minimum >= shown.maximum) shown.maximum = shown.minimum + 1;
    return shown;
}

int majorDivisions(const WholeAxisRange& range) {
    const WholeAxisRange shown = displayedRange(range);
    return wholeDivisions(static_cast<long long>(shown.maximum) - shown.minimum, 10, 5);
}

}  // namespace pairly::chart
