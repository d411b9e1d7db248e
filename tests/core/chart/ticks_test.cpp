#include "core/chart/ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/chart/axis.h"

namespace pairly::chart {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

TEST(Ticks, NiceStepIsOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double raw, step;
    } cases[] = {{0.7, 1},    {1, 1},     {1.2, 2},   {2, 2},     {2.01, 5},  {4.9, 5},
                 {5.2, 10},   {0.013, 0.02}, {340, 500}, {0, 1},   {-3, 1},    {kInf, 1},
                 {std::nan(""), 1}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(niceStep(c.raw), c.step) << c.raw;
}

TEST(Ticks, WholeDivisionsPickRoundStepsWithinTheMost) {
    const struct {
        long long span;
        int most, fewest, divisions;
    } cases[] = {
        {3, 10, 5, 3},      {10, 10, 5, 10},   {12, 10, 5, 6},   {20, 10, 5, 10},
        {25, 10, 5, 5},     {170, 10, 5, 10},  {13, 10, 5, 10},  {11, 12, 4, 11},
        {13, 12, 4, 10},    {14, 12, 4, 7},    {39, 12, 4, 10},  {33, 12, 4, 11},
        {0, 10, 5, 1},      {-4, 12, 4, 1},    {20000, 10, 5, 10}, {1999999998, 12, 4, 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wholeDivisions(c.span, c.most, c.fewest), c.divisions)
            << c.span << " at most " << c.most;
}

TEST(Ticks, FitToValuesEnclosesOnRoundSteps) {
    const struct {
        double lo, hi;
        int divisions;
        double minimum, maximum;
    } cases[] = {
        {1376, 1523, 5, 1350, 1550},
        {9, 11, 5, 9, 11},
        {60, 60, 5, 59, 61},  // a single value gets a unit either side
        {0.12, 0.47, 5, 0.1, 0.5},
        {-3.5, 2, 5, -4, 2},
    };
    for (const auto& c : cases) {
        const Range r = fitToValues(c.lo, c.hi, c.divisions);
        EXPECT_NEAR(r.minimum, c.minimum, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r.maximum, c.maximum, 1e-9) << c.lo << ".." << c.hi;
    }
}

TEST(Ticks, SteppableRangesAndLabelDecimals) {
    // Adding a tenth of the range must change the limits, even far from zero.
    for (const auto& [lo, hi] : {std::pair{1e20, 1e20}, {-kInf, kInf}, {60.0, 75.0}, {-1e300, -1e300}}) {
        const Range r = steppable(lo, hi);
        EXPECT_TRUE(std::isfinite(r.minimum) && std::isfinite(r.maximum)) << lo;
        const double tenth = (r.maximum - r.minimum) / 10;
        EXPECT_GT(r.minimum + tenth, r.minimum) << lo;
    }
    EXPECT_EQ(steppable(60, 75).minimum, 60);
    EXPECT_EQ(steppable(60, 75).maximum, 75);

    const struct {
        double step;
        int decimals;
    } cases[] = {{1, 0}, {10, 0}, {0.5, 1}, {0.1, 1}, {0.25, 2}, {0.05, 2}, {0.001, 3},
                 {1.0 / 3, 3}};
    for (const auto& c : cases) EXPECT_EQ(labelDecimals(c.step), c.decimals) << c.step;
}

TEST(AxisRule, UpperLimitEnclosesTheLargestValue) {
    const struct {
        float largest, margin;
        double limit;
    } cases[] = {
        {72.1f, 0.9f, 73},   // 72.1f lies below 72.1: the float sum still reaches 73
        {72.0f, 0.9f, 72},   {72.05f, 0.9f, 73},  // more decimals never stick out
        {36.1f, 3.9f, 40},   {22.1f, 3.9f, 26},   {52.3f, 0.99f, 53},
        {52.0f, 0.99f, 52},  {-0.5f, 0.9f, 0},    {0, 0.99f, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(upperLimit(c.largest, c.margin), c.limit) << c.largest << "+" << c.margin;

    // Never collapsed: a single whole value gets one unit above it.
    EXPECT_EQ(enclosingRange(52, 52.0f, 0.99f, 10), (AxisRange{52, 53, 10}));
    EXPECT_EQ(enclosingRange(60, 60.4f, 0.9f, 0), (AxisRange{60, 61, 0}));
    EXPECT_EQ(enclosingRange(70, 60.0f, 0.9f, 0), (AxisRange{70, 71, 0}));
}

TEST(AxisRule, DivisionsOfWholeAxes) {
    const struct {
        AxisRange axis;
        int trend, list;
    } cases[] = {
        {{70, 73}, 3, 3},        {{68, 79}, 11, 10},     {{18, 27}, 9, 9},
        {{26, 40}, 7, 7},        {{60, 72}, 12, 6},      {{70, 70}, 1, 0},
        {{0, 2e6}, 10, 0},       {{60.5, 62}, 2, 0},     {{kInf, 1}, 10, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wholeUnitDivisions(c.axis), c.trend) << c.axis.minimum << ".." << c.axis.maximum;
        EXPECT_EQ(wholeKiloDivisions(c.axis), c.list) << c.axis.minimum << ".." << c.axis.maximum;
    }
}

}  // namespace
}  // namespace pairly::chart
