#include "core/text/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace pairly::text {
namespace {

TEST(LeadingNumber, ReadsTheLongestLeadingDecimalNumber) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"65", 65},
        {"65.3", 65.3},
        {"  65.3  ", 65.3},
        {"-1.5", -1.5},
        {"+2", 2},
        {"- 1.5", -1.5},
        {"1 2 3", 123},
        {".5", 0.5},
        {"-.5", -0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"1.2.3", 1.2},
        {"1e5", 1},
        {"1E5", 1},
        {"0.25kg", 0.25},
        {"12abc34", 12},
        {"--1", 0},
        {"+-1", 0},
        {"\t7", 7},
        {"\xE3\x80\x80"
         "8",
         8},
        {"１２", 0},
        {"&H10", 0},
        {"0.1", 0.1},
        {"007", 7},
        {"60,5", 60},
        // Blanks after or inside a number, and signs, as the list and chart texts give them.
        {"65.3 kg", 65.3},
        {"1\xE3\x80\x80"
         "2",
         12},
        {"-0.2Kg", -0.2},
        {"+.5", 0.5},
        {"-5.", -5},
        {"1450kcal", 1450},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.expected) << c.text;
    // A digit run too long for a double reads as the largest one, with its sign.
    const std::string huge = "1" + std::string(400, '0');
    EXPECT_EQ(leadingNumber(huge), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber("-" + huge + ".5"), -std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber(" " + huge), std::numeric_limits<double>::max());
}

TEST(LeadingNumber, ShortNumbersReadAsAFullDecimalReaderReadsThem) {
    // Short numbers take a quick way; its result must be the correctly rounded double.
    std::uint64_t seed = 7;
    auto next = [&seed] {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return seed >> 33;
    };
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(next() % 17);
        std::string text;
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + next() % 10);
        const std::size_t point = next() % (text.size() + 1);
        if (point > 0 && point < text.size()) text.insert(point, ".");
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(leadingNumber(text), expected) << text;
        EXPECT_EQ(leadingNumber("-" + text + "Kg"), -expected) << text;
    }
}

TEST(FloatText, ShortestTextWithAtMostSevenDigits) {
    struct Case {
        float value;
        const char* expected;
    } cases[] = {
        {65.0f, "65"},
        {65.3f, "65.3"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {168.5f, "168.5"},
        {-1.25f, "-1.25"},
        {0.1f, "0.1"},
        {1350.0f, "1350"},
        {60.2f + 0.1f, "60.3"},
        {1.0f / 3.0f, "0.3333333"},
        {1234567.0f, "1234567"},
        {12345678.0f, "12345680"},
        {0.0001f, "0.0001"},
        {100000.0f, "100000"},
        {22.4f, "22.4"},
        {-32768.0f, "-32768"},
    };
    for (const auto& c : cases) EXPECT_EQ(floatText(c.value), c.expected) << c.value;
}

TEST(FloatText, ReadsBackAsTheSameFloatWhenSevenDigitsSuffice) {
    for (int i = 300; i < 1200; ++i) {
        const float v = static_cast<float>(i) / 10.0f;
        const std::string t = floatText(v);
        EXPECT_EQ(static_cast<float>(leadingNumber(t)), v) << t;
        EXPECT_EQ(t.find('e'), std::string::npos);
    }
}

TEST(FloatText, ShortestCorrectlyRoundedTextOverManyValues) {
    // The fewest significant digits (1..6) whose correctly rounded text reads back as the
    // value, else seven: checked on averages of weighings and on arbitrary floats.
    auto expected = [](float v) {
        char buf[64];
        for (int digits = 1; digits < 7; ++digits) {
            std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(v));
            if (std::strtof(buf, nullptr) == v) return std::strtod(buf, nullptr);
        }
        std::snprintf(buf, sizeof buf, "%.6e", static_cast<double>(v));
        return std::strtod(buf, nullptr);
    };
    std::uint32_t seed = 3;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float average = static_cast<float>(500 + seed % 1500) / 10.0f / 3.0f;
        std::uint32_t bits = (seed >> 1) % 0x7f000000u;  // finite
        float arbitrary;
        std::memcpy(&arbitrary, &bits, sizeof arbitrary);
        for (float v : {average, arbitrary, -average}) {
            if (v == 0.0f) continue;
            const std::string text = floatText(v);
            EXPECT_EQ(std::strtod(text.c_str(), nullptr), expected(v)) << text;
        }
    }
}

TEST(DoubleText, FifteenSignificantDigits) {
    struct Case {
        double value;
        const char* expected;
    } cases[] = {
        {60.2 + 0.1, "60.3"}, {52.3 + 0.1, "52.4"},
        {65.0, "65"},         {0.0, "0"},
        {-0.0, "0"},          {1350.5, "1350.5"},
        {-2.75, "-2.75"},     {1.0 / 3.0, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},   {123456789012.5, "123456789012.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(doubleText(c.value), c.expected) << c.value;
}

TEST(Rounding, HalfEvenFloorRound1AndInt16) {
    EXPECT_EQ(roundHalfEven(1350.5), 1350);
    EXPECT_EQ(roundHalfEven(1351.5), 1352);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);

    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32767.5), std::nullopt);  // even neighbour 32768 is out of range
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(toInt16(-32769), std::nullopt);
    EXPECT_EQ(toInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(toInt16Clamped(99999), 32767);
    EXPECT_EQ(toInt16Clamped(-99999), -32768);
    EXPECT_EQ(toInt16Clamped(std::nan("")), 0);
    EXPECT_EQ(toInt16Clamped(1350.5), 1350);

    EXPECT_EQ(intFloor(-0.5), -1);
    EXPECT_EQ(intFloor(2.9), 2);
    EXPECT_DOUBLE_EQ(round1(1.25), 1.3);
    EXPECT_DOUBLE_EQ(round1(-1.25), -1.2);  // Int(-12.5 + 0.5) = -12
    EXPECT_DOUBLE_EQ(round1(22.04), 22.0);
}

TEST(FormatNumber, PatternsRoundHalfAwayFromZeroOnTheExactValue) {
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {65.0, "0.0", "65.0"},
        {static_cast<double>(60.25f - 60.0f), "0.0", "0.3"},
        {-0.25, "0.0", "-0.3"},
        {0.05, "0.0", "0.1"},       // 0.05 is 0.05000000000000000277...
        {0.15, "0.0", "0.1"},       // 0.15 is 0.1499999999999999944...
        {2.675, "0.00", "2.67"},    // 2.67499999999999982236431605997495353221893310546875
        {-0.04, "0.0Kg", "0.0Kg"},  // rounds to zero: no minus sign
        {-0.05, "0.0", "-0.1"},
        {1.5, "0", "2"},
        {-2.5, "0", "-3"},
        {7.5, "00.0", "07.5"},
        {123.45, "00.0", "123.5"},
        {-3.2, "00.0", "-03.2"},
        {22.456, "0.00", "22.46"},
        {64.95, "0.0Kg", "65.0Kg"},      // 64.9500000000000028...
        {1.2345, "0.000Kg", "1.234Kg"},  // 1.2344999999999999307...
        {1.2355, "0.000Kg", "1.236Kg"},  // 1.2355000000000000426...
        {0.052, "0.0%", "5.2%"},
        {-0.0004, "0.0%", "0.0%"},
        {1523.5, "0g", "1524g"},
        {1.25, "0.0～", "1.3～"},
        {68.0, "0.0Kgまで", "68.0Kgまで"},
        {0.0, "0.0", "0.0"},
        {-0.0, "0.0", "0.0"},
        {99.96, "0.0", "100.0"},
        {9.96, "00.0", "10.0"},
        {0.999, "0", "1"},
        {1234567.891, "0.00", "1234567.89"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
}

// The exact decimal expansion rounded half away from zero, digit by digit: what every
// pattern must show, however the formatting gets there.
std::string exactlyRounded(double value, int decimals) {
    std::string buf(1500, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                             std::chars_format::fixed, 1100);
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    const std::size_t point = buf.find('.');
    std::string kept =
        buf.substr(0, point) + buf.substr(point + 1, static_cast<std::size_t>(decimals));
    if (buf[point + 1 + static_cast<std::size_t>(decimals)] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    std::string out = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    out = out.substr(std::min(out.find_first_not_of('0'), out.size() - 1));
    if (decimals > 0) out += "." + kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    return (std::signbit(value) && !zero ? "-" : "") + out;
}

TEST(FormatNumber, AgreesWithTheExactExpansionNearEveryHalf) {
    std::mt19937_64 random(11);
    const char* patterns[] = {"0", "0.0", "0.00", "0.000"};
    for (int d = 0; d <= 3; ++d) {
        const double unit = std::pow(10.0, -d);
        for (int i = 0; i < 400; ++i) {
            // A half of the last shown place, and its neighbours as double and as float.
            const double half = static_cast<double>(random() % 2000000) * unit + unit / 2;
            for (double v : {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9),
                             static_cast<double>(static_cast<float>(half)), -half}) {
                ASSERT_EQ(formatNumber(v, patterns[d]), exactlyRounded(v, d)) << v << " " << d;
            }
        }
    }
}

TEST(SaturatedInt, ValuesBeyondTheRangeGiveItsEnds) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        int expected;
    } cases[] = {
        {0, 0},
        {-65, -65},
        {2147483647.0, 2147483647},
        {2147483648.0, 2147483647},
        {-2147483648.0, -2147483647 - 1},
        {-2147483649.0, -2147483647 - 1},
        {1e30, 2147483647},
        {-inf, -2147483647 - 1},
        {inf, 2147483647},
        {nan, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(saturatedInt(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace pairly::text

namespace pairly::text {
namespace {

TEST(ChartFigures, TheNumbersTheTextsShow) {
    // A chart plots the figure its text shows: the shortest text of a float, or the grid's
    // one-decimal text, read back. Checked against the texts themselves on weights, their
    // halves and arbitrary floats.
    std::uint32_t seed = 7;
    std::vector<float> values = {0.0f, -0.0f, 52.35f, 2.65f, -0.04f, -0.05f, 0.05f, 1e-10f,
                                 123456.7f, 3e38f, std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN()};
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        values.push_back(static_cast<float>(seed % 20000) / 100.0f - 30.0f);
        values.push_back(static_cast<float>(seed % 3000) / 10.0f + 0.05f);
        std::uint32_t bits = (seed >> 1) % 0x7f000000u;
        float arbitrary;
        std::memcpy(&arbitrary, &bits, sizeof arbitrary);
        values.push_back(arbitrary);
    }
    for (float v : values) {
        EXPECT_EQ(shortestDecimal(v), leadingNumber(floatText(v))) << floatText(v);
        EXPECT_EQ(shownTenths(v), leadingNumber(formatNumber(v, "0.0"))) << formatNumber(v, "0.0");
    }
}

TEST(ChartFigures, KilosAndTrendWords) {
    const struct {
        double value;
        const char* kg;
        const char* word;
    } cases[] = {
        {60.25, "60.3Kg", " 減"}, {0, "0.0Kg", " 同"},      {-0.04, "0.0Kg", " 増"},
        {-1.5, "-1.5Kg", " 増"},  {0.05, "0.1Kg", " 減"},   {std::nan(""), "0.0Kg", " 同"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kg(c.value), c.kg) << c.value;
        EXPECT_STREQ(trendWord(c.value), c.word) << c.value;
    }
}

}  // namespace
}  // namespace pairly::text
