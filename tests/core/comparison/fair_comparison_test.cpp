#include "core/comparison/fair_comparison.h"

#include <gtest/gtest.h>

namespace pairly::views {
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
    const std::vector<std::optional<double>> points = {std::nullopt, 80.0, 76.0, std::nullopt, 84.0};
    const auto percent = percentFromStart(points);
    ASSERT_EQ(percent.size(), points.size());
    EXPECT_FALSE(percent[0]);
    EXPECT_DOUBLE_EQ(*percent[1], 0.0);
    EXPECT_DOUBLE_EQ(*percent[2], -5.0);
    EXPECT_FALSE(percent[3]);
    EXPECT_DOUBLE_EQ(*percent[4], 5.0);
    EXPECT_TRUE(percentFromStart({}).empty());
    const auto zero = percentFromStart({0.0, 50.0});
    EXPECT_FALSE(zero[0] || zero[1]);
}

}  // namespace
}  // namespace pairly::views
