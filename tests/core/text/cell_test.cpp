#include "core/text/cell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "core/text/numbers.h"

namespace pairly::text {
namespace {

TEST(Cell, ShowsEachKindAsTheTablesDo) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        Cell cell;
        std::string shown;
    } cases[] = {
        {Cell(), ""},
        {Cell::text(""), ""},
        {Cell::text("起床後"), "起床後"},
        {Cell::number(60.25f, "0.0Kg"), "60.3Kg"},  // 60.25f lies just above 60.25
        {Cell::number(-0.04f, "0.0Kg"), "0.0Kg"},   // rounds to zero: no minus sign
        {Cell::number(-0.8f, "0.0Kg"), "-0.8Kg"},
        {Cell::number(32766.96f, "0.0Kg"), "32767.0Kg"},
        {Cell::number(1e9, "0.0"), "1000000000.0"},
        {Cell::number(21.5f, "0.0", "%"), "21.5%"},
        {Cell::number(0.065f, "0.0%"), "6.5%"},  // the pattern's % multiplies by 100
        {Cell::number(-0.125, "0.0%"), "-12.5%"},
        {Cell::number(inf, "0.0Kg"), "0.0Kg"},  // a damaged figure shows as zero
        {Cell::number(std::nan(""), "0.0"), "0.0"},
        {Cell::integer(1450, "kcal"), "1450kcal"},
        {Cell::integer(-1), "-1"},
        {Cell::integer(32767, "kcal"), "32767kcal"},
        {Cell::integer(-32768), "-32768"},
        {Cell::shortest(65.0f), "65"},
        {Cell::shortest(22.25f), "22.25"},
        {Cell::shortest(-0.5f), "-0.5"},
        {Cell::shortest(32767.5f), "32767.5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cell.formatted(), c.shown) << c.shown;
        EXPECT_EQ(c.cell.isMissing(), c.cell.kind() == Cell::Kind::Missing) << c.shown;
    }
    EXPECT_TRUE(Cell().isMissing());
    EXPECT_FALSE(Cell::text("").isMissing());
    EXPECT_DOUBLE_EQ(Cell::number(60.25f, "0.0Kg").value(), 60.25);
}

// The figure a cell shows, as a number, is the figure its text reads back as, without the
// text: the arrows and the small charts rest on it.
TEST(Cell, ShownValueIsWhatTheTextReadsBackAs) {
    std::vector<float> values = {0.0f,  -0.0f,  0.05f, -0.05f,  0.04999f, 60.25f, 60.35f, -60.35f,
                                 2.65f, 52.65f, 1e30f, -1e-30f, 32767.0f, 0.15f,  1.005f, 99.95f};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> any(-200.0f, 200.0f);
    for (int i = 0; i < 20000; ++i) values.push_back(any(random));
    for (int k = -2000; k <= 2000; ++k) values.push_back(static_cast<float>(k) / 20.0f);
    for (const float v : values) {
        EXPECT_EQ(shownValue(v, 1), leadingNumber(formatNumber(v, "0.0Kg"))) << v;
        EXPECT_EQ(shownValue(v, 2), leadingNumber(formatNumber(v, "0.00"))) << v;
        EXPECT_EQ(shownValue(v, 0), leadingNumber(formatNumber(v, "0"))) << v;
    }
    EXPECT_EQ(shownValue(std::numeric_limits<float>::quiet_NaN(), 1), 0.0);
    EXPECT_EQ(shownValue(std::numeric_limits<float>::infinity(), 1), 0.0);
    EXPECT_FALSE(std::signbit(shownValue(-0.04f, 1)));
}

}  // namespace
}  // namespace pairly::text
