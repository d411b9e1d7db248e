#include "core/chart/composition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pairly::chart {
namespace {

struct Mass {
    std::int16_t metabolism, visceral;
    float muscle;
    std::int16_t score;
    float bone;
};

CompositionCharts build(CompositionStyle style, std::initializer_list<Mass> masses) {
    CompositionBuilder b(style, masses.size());
    for (const Mass& m : masses)
        b.add(store::Readings{0, 0, m.metabolism, m.visceral, m.muscle, m.score, m.bone});
    return b.finish();
}

TEST(CompositionBuilder, GridAndStoredFigures) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* name;
        std::initializer_list<Mass> masses;
        Series gridMuscle, storedMuscle, gridBone;
        AxisRange gridMuscleAxis, storedMuscleAxis, gridBoneAxis;
    } cases[] = {
        // The grids show 52.35 as 52.3 (the float lies below the half) and 2.65 as 2.7.
        {"two decimals",
         {{1500, 9, 52.35f, 95, 2.65f}, {1500, 9, 52.04f, 95, 2.61f}},
         {52.3, 52},
         {52.35, 52.04},
         {2.7, 2.6},
         {52, 53, 10},
         {52, 53, 10},
         {2.6f - 0.1, 2.7f + 0.1, 3}},
        // One whole muscle mass: the grid charts keep a one-kilo axis, the trend screen
        // hands the chart 52..52, which the chart widens itself.
        {"one value",
         {{1500, 9, 52.0f, 95, 2.6f}},
         {52},
         {52},
         {2.6},
         {52, 53, 10},
         {52, 52, 10},
         {2.6f - 0.1, 2.6f + 0.1, 2}},
        // Bone masses 50 kg apart want 502 divisions, which no chart takes; a damaged
        // mass far beyond leaves the count to the chart.
        {"bone spread",
         {{1500, 9, 52.0f, 95, 2.6f}, {1500, 9, 52.0f, 95, 52.6f}},
         {52, 52},
         {52, 52},
         {2.6, 52.6},
         {52, 53, 10},
         {52, 52, 10},
         {2.6f - 0.1, 52.6f + 0.1, 502}},
        {"damaged bone",
         {{1500, 9, 52.0f, 95, 2.6f}, {1500, 9, 52.0f, 95, 3e6f}},
         {52, 52},
         {52, 52},
         {2.6, 3e6},
         {52, 53, 10},
         {52, 52, 10},
         {2.6f - 0.1, 3e6 + 0.1, 0}},
        // A mass that is not finite is drawn as 0 by both, as its text shows it.
        {"infinite muscle",
         {{1500, 9, inf, 95, 2.6f}, {1500, 9, 40.0f, 95, 2.6f}},
         {0, 40},
         {0, 40},
         {2.6, 2.6},
         {0, 40, 10},
         {40, inf, 10},
         {2.6f - 0.1, 2.6f + 0.1, 2}},
    };
    for (const auto& c : cases) {
        const CompositionCharts grid = build(CompositionStyle::grid(), c.masses);
        const CompositionCharts stored = build(CompositionStyle::stored(), c.masses);
        EXPECT_EQ(grid.muscle.series1, c.gridMuscle) << c.name;
        EXPECT_EQ(stored.muscle.series1, c.storedMuscle) << c.name;
        EXPECT_EQ(grid.bone.series1, c.gridBone) << c.name;
        EXPECT_EQ(grid.muscle.left, c.gridMuscleAxis) << c.name;
        EXPECT_EQ(stored.muscle.left, c.storedMuscleAxis) << c.name;
        EXPECT_NEAR(grid.bone.left.minimum, c.gridBoneAxis.minimum, 1e-6) << c.name;
        EXPECT_NEAR(grid.bone.left.maximum, c.gridBoneAxis.maximum, 1e-6) << c.name;
        EXPECT_EQ(grid.bone.left.majorDivisions, c.gridBoneAxis.majorDivisions) << c.name;
        EXPECT_TRUE(grid.bone.series2.empty() && stored.bone.series2.empty()) << c.name;
    }
}

TEST(CompositionBuilder, MetabolismAndTheRightAxes) {
    const struct {
        const char* name;
        std::initializer_list<Mass> masses;
        AxisRange metabolism, visceralGrid, visceralStored, scoreStored;
    } cases[] = {
        {"usual",
         {{1480, 9, 52, 95, 2.6f}, {1520, 10, 53, 96, 2.7f}},
         {1470, 1530, 10},
         {8, 11, 0},
         {8, 11, 3},
         {94, 97, 3}},
        {"negative visceral fat",
         {{1500, -3, 52, -2, 2.6f}, {1500, -12, 52, 0, 2.6f}},
         {1490, 1510, 10},
         {-13, -2, 0},
         {-13, -2, 11},
         {-3, 1, 4}},
        // 32,767 kcal gives 32,770 in 32 bits; the lowest starts at 30,000.
        {"largest metabolism",
         {{32767, 9, 52, 95, 2.6f}},
         {29990, 32770, 10},
         {8, 10, 0},
         {8, 10, 2},
         {94, 96, 2}},
        {"extremes",
         {{32767, 32767, 52, 95, 2.6f}, {-32768, -32768, 52, 95, 2.6f}},
         {-32780, 32770, 10},
         {-32769, 32768, 0},
         {-32769, 32768, 10},
         {94, 96, 2}},
    };
    for (const auto& c : cases) {
        const CompositionCharts grid = build(CompositionStyle::grid(), c.masses);
        const CompositionCharts stored = build(CompositionStyle::stored(), c.masses);
        EXPECT_EQ(grid.metabolism.left, c.metabolism) << c.name;
        EXPECT_EQ(stored.metabolism.left, c.metabolism) << c.name;
        EXPECT_EQ(grid.metabolism.right, c.visceralGrid) << c.name;
        EXPECT_EQ(stored.metabolism.right, c.visceralStored) << c.name;
        EXPECT_EQ(stored.muscle.right, c.scoreStored) << c.name;
        EXPECT_EQ(grid.metabolism.series1.size(), c.masses.size()) << c.name;
        EXPECT_TRUE(grid.metabolism.hasData && grid.muscle.hasData && grid.bone.hasData);
    }

    const CompositionCharts empty = build(CompositionStyle::grid(), {});
    EXPECT_FALSE(empty.metabolism.hasData || empty.muscle.hasData || empty.bone.hasData);
    EXPECT_TRUE(empty.metabolism.series1.empty() && empty.bone.series1.empty());
    EXPECT_EQ(empty.bone.left, AxisRange{});
}

}  // namespace
}  // namespace pairly::chart
