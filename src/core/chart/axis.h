#pragma once
// The value axes of the charts: the limits and major divisions handed to a chart.

namespace pairly::chart {

// One value axis as a chart takes it (0 divisions: the chart's own choice).
struct AxisRange {
    double minimum = 0;
    double maximum = 1;
    int majorDivisions = 0;
    bool operator==(const AxisRange&) const = default;
};

// An axis of whole kilos. `used` is false for a partner without records: such an axis
// takes no part in the same-axis limits and is not drawn.
struct WholeAxisRange {
    int minimum = 0;
    int maximum = 0;
    bool used = false;
    bool operator==(const WholeAxisRange&) const = default;
};

// The range an axis is drawn with: a lower bound at or above the maximum (a target above
// every weight) still gives a one-kilo axis rather than an empty one.
WholeAxisRange displayedRange(const WholeAxisRange& range);

// Major divisions that give whole-kilo (or 2, 5, 10 kilo) steps, at most about ten.
int majorDivisions(const WholeAxisRange& range);

}  // namespace pairly::chart
