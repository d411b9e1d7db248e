#include "core/chart/axis.h"

#include <initializer_list>

namespace pairly::chart {

WholeAxisRange displayedRange(const WholeAxisRange& range) {
    WholeAxisRange shown = range;
    if (shown.minimum >= shown.maximum) shown.maximum = shown.minimum + 1;
    return shown;
}

int majorDivisions(const WholeAxisRange& range) {
    const WholeAxisRange shown = displayedRange(range);
    const int span = shown.maximum - shown.minimum;
    if (span <= 10) return span;
    for (int step : {2, 5, 10, 20, 50, 100, 200, 500, 1000}) {
        if (span % step == 0 && span / step <= 10) return span / step;
    }
    // No round step divides the span: ten divisions, the labels take a decimal.
    for (int k = 10; k >= 5; --k)
        if (span % k == 0) return k;
    return 10;
}

}  // namespace pairly::chart
