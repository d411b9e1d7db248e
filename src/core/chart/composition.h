#pragma once
// The three small body-composition charts (basal metabolism with visceral fat, muscle mass
// with muscle score, bone mass) as the input screen's day view, the list and the trend
// screen draw them, built point by point in the pass that reads the weighings.
#include <vector>

#include "core/chart/axis.h"
#include "core/store/readings.h"

namespace pairly::chart {

// A chart's points, one per weighing; NaN is a missing point.
using Series = std::vector<double>;

// One small chart. Without a point `hasData` is false and the series are empty.
struct CompositionChart {
    bool hasData = false;
    Series series1;
    Series series2;  // empty for the bone chart
    AxisRange left;
    // Series 2 (visceral fat, muscle score) on an axis of its own, one unit wider than its
    // values on each side so that the line does not run along the frame.
    AxisRange right;
};

struct CompositionCharts {
    CompositionChart metabolism;  // basal metabolism (left), visceral fat (right)
    CompositionChart muscle;      // muscle mass (left), muscle score (right)
    CompositionChart bone;        // bone mass, one division per 0.1 kg
};

// How a screen draws them. The input screen and the list plot the figures of their grids
// (masses rounded to 0.1 kg), keep a one-kilo muscle axis for a single value and leave the
// right axis' divisions to the chart; the trend screen plots the stored figures and
// divides the right axis on whole units.
struct CompositionStyle {
    bool gridFigures = true;
    static CompositionStyle grid() { return {true}; }
    static CompositionStyle stored() { return {false}; }
};

class CompositionBuilder {
public:
    explicit CompositionBuilder(CompositionStyle style, std::size_t expected = 0);

    // One weighing's point in each chart (weight and body fat are not drawn here).
    void add(const store::Readings& readings);
    CompositionCharts finish();

private:
    CompositionStyle style_;
    CompositionCharts charts_;
    int largestMetabolism_ = 0, smallestMetabolism_ = 30000;
    int largestVisceral_ = -32768, smallestVisceral_ = 32767;
    int largestScore_ = -32768, smallestScore_ = 32767;
    float largestMuscle_ = 0, smallestMuscle_ = 9999;
    float largestBone_ = 0, smallestBone_ = 30000;
};

}  // namespace pairly::chart
