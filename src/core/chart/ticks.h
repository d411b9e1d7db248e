#pragma once
// Where the ticks of a value axis go: round steps, how many divisions a range of whole
// units gets, and how many decimals the labels need.

namespace pairly::chart {

// 1, 2 or 5 times a power of ten, at least `raw` (1 for a step that is not positive).
double niceStep(double raw);

// Major divisions of a span of whole units: the fewest of 1, 2, 5, 10, 20 … units per
// division that give at most `most`; when no round step divides the span, the largest
// divisor of the span from `most` down to `fewest`; else 10. A span below 1 gets 1.
int wholeDivisions(long long span, int most, int fewest);

// The axis range with limits on round steps that enclose the values lo..hi in about
// `divisions` divisions; a single value gets one unit either side.
struct Range {
    double minimum = 0;
    double maximum = 0;
};
Range fitToValues(double lo, double hi, int divisions);

// A range whose ticks can be stepped through: finite, and wide enough that adding a tick
// interval changes a value of its size (1e20 + 0.2 is 1e20 again).
Range steppable(double lo, double hi);

// Decimals needed to label ticks `step` apart without noise (0 to 3).
int labelDecimals(double step);

}  // namespace pairly::chart
