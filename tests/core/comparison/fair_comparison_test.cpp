#include "core/comparison/fair_comparison.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/comparison/daily_average.h"

namespace pairly::comparison {
namespace {

std::vector<store::MeasurementRecord> log(std::initializer_list<float> weights) {
    std::vector<store::MeasurementRecord> out;
    for (float w : weights) {
        store::MeasurementRecord r;
        r.date = "2026/12/01";
        r.weight = w;
        out.push_back(r);
    }
    return out;
}

TEST(LossShare, TextsAndMarksOfTwoBodySizes) {
    const struct {
        std::vector<store::MeasurementRecord> log1, log2;
        const char* text1;
        const char* text2;
        bool mark1, mark2;
    } cases[] = {
        // 4.0 of 80.0 is 5.0 %, 3.0 of 55.0 is 5.45 %: the lighter partner did more.
        {log({80.0f, 78.0f, 76.0f}), log({55.0f, 52.0f}), "5.0% 減", "5.5% 減", false, true},
        {log({60.0f, 61.5f}), log({70.0f, 70.0f}), "2.5% 増", "0.0%", false, true},
        {log({80.0f, 76.0f}), log({60.0f, 57.0f}), "5.0% 減", "5.0% 減", true, true},  // a tie
        {log({80.0f, 76.0f}), log({}), "5.0% 減", "—", true, false},
        {log({}), log({}), "—", "—", false, false},
        // Under 0.05 % either way reads 0.0%, never -0.0%.
        {log({100.0f, 99.96f}), log({100.0f, 100.04f}), "0.0%", "0.0%", true, false},
        // A start weight of 0 has no share.
        {log({0.0f, 50.0f}), log({50.0f, 51.0f}), "—", "2.0% 増", false, true},
    };
    for (const auto& c : cases) {
        const auto share1 = lossShare(c.log1), share2 = lossShare(c.log2);
        EXPECT_EQ(lossShareText(share1), c.text1);
        EXPECT_EQ(lossShareText(share2), c.text2);
        const ShareMarks marks = lossShareMarks(share1, share2);
        EXPECT_EQ(marks.mark1, c.mark1) << c.text1 << " / " << c.text2;
        EXPECT_EQ(marks.mark2, c.mark2) << c.text1 << " / " << c.text2;
    }
    // Half away from zero on the exact value: 0.25 of 100 reads 0.3 (0.25 is exact).
    EXPECT_EQ(lossShareText(0.25), "0.3% 減");
    EXPECT_EQ(lossShareText(-0.25), "0.3% 増");
}

TEST(PercentFromStart, ChangeFromTheFirstPoint) {
    const double none = std::nan("");
    const auto percent = percentFromStart({none, 80.0, 76.0, none, 84.0});
    ASSERT_EQ(percent.size(), 5u);
    EXPECT_TRUE(std::isnan(percent[0]));
    EXPECT_DOUBLE_EQ(percent[1], 0.0);
    EXPECT_DOUBLE_EQ(percent[2], -5.0);
    EXPECT_TRUE(std::isnan(percent[3]));
    EXPECT_DOUBLE_EQ(percent[4], 5.0);
    EXPECT_TRUE(percentFromStart({}).empty());
    // No positive start: nothing to take a share of.
    for (const chart::Series& bad : {chart::Series{0.0, 50.0}, chart::Series{none, -2.0, 50.0}}) {
        const auto out = percentFromStart(bad);
        ASSERT_EQ(out.size(), bad.size());
        for (double p : out) EXPECT_TRUE(std::isnan(p));
    }
}

// Each partner from their own first day: partner 2, who starts later and lighter, reads 0
// on that day; the axis holds every point and 0 in whole percents.
TEST(PercentFromStart, ChartOfBothPartners) {
    const double none = std::nan("");
    AverageChart separate;
    separate.series1 = {80.0, 78.0, 76.0, 76.0};
    separate.series2 = {none, none, 55.0, 57.2};
    const AverageChart chart = percentFromStartChart(separate);
    ASSERT_EQ(chart.points(), 4);
    EXPECT_DOUBLE_EQ(chart.series1[0], 0.0);
    EXPECT_DOUBLE_EQ(chart.series1[1], -2.5);
    EXPECT_DOUBLE_EQ(chart.series1[3], -5.0);
    EXPECT_TRUE(std::isnan(chart.series2[1]));
    EXPECT_DOUBLE_EQ(chart.series2[2], 0.0);
    EXPECT_NEAR(chart.series2[3], 4.0, 1e-12);
    EXPECT_EQ(chart.left, (AxisRange{-5, 4, true}));  // +4 % despite rounding noise
    EXPECT_FALSE(chart.right.used);

    const struct {
        chart::Series s1, s2;
        AxisRange axis;
    } cases[] = {
        {{70.0, 70.0}, {none, none}, {-1, 1, true}},  // flat: 0 in the middle
        {{70.0, 69.3}, {60.0, 60.3}, {-1, 1, true}},  // -1 % and +0.5 %
        {{none, none}, {none, none}, {}},             // nobody: no axis
        {{50.0, 49.0, 40.0}, {}, {-20, 0, true}},     // a missing partner 2
    };
    for (const auto& c : cases) {
        AverageChart in;
        in.series1 = c.s1;
        in.series2 = c.s2;
        const AverageChart out = percentFromStartChart(in);
        EXPECT_EQ(out.left, c.axis) << c.s1.size();
        EXPECT_EQ(out.series2.size(), out.series1.size());
    }
}

}  // namespace
}  // namespace pairly::comparison
