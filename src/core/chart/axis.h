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

// Int(largest + margin) as an axis maximum, where the margin rounds the usual one-decimal
// values up to the next whole number. The sum is taken in single precision like the
// values, so that 72.1 reaches 73 rather than 72.99999; a value with more decimals (72.05)
// still never sticks out above the axis.
double upperLimit(float largest, float margin);

// minimum .. upperLimit(largest, margin), never collapsed: a maximum at or below the
// minimum becomes minimum + 1.
AxisRange enclosingRange(double minimum, float largest, float margin, int divisions);

// Major divisions of an axis between whole numbers, in steps of 1, 2, 5, 10 … units and
// at most twelve of them; 10 for limits beyond ±1e9.
int wholeUnitDivisions(const AxisRange& axis);

// Same with at most ten divisions, for an axis whose limits are whole numbers; 0 (the
// chart's own count) for any other axis or a span beyond a million.
int wholeKiloDivisions(const AxisRange& axis);

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
