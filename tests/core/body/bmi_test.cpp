#include "core/body/bmi.h"

#include <gtest/gtest.h>

namespace pairly::body {
namespace {

TEST(Bmi, CategoryBoundsAsFloats) {
    struct Case {
        float bmi;
        const char* text;
        Rgb colour;
    } cases[] = {
        {16.9f, "やせ過ぎ", {192, 192, 255}},         {17.0f, "やせ気味", {192, 255, 255}},
        {19.99f, "やせ気味", {192, 255, 255}},        {20.0f, "スタンダード", {192, 255, 192}},
        {24.0f, "スタンダード", {192, 255, 192}},     {24.1f, "でぶメゾフォルテ", {255, 255, 192}},
        {26.4f, "でぶメゾフォルテ", {255, 255, 192}}, {26.5f, "でぶフォルテ", {255, 192, 255}},
        {29.99f, "でぶフォルテ", {255, 192, 255}},    {30.0f, "でぶフォルテシモ", {255, 192, 192}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bmiCategory(c.bmi).text, c.text) << c.bmi;
        EXPECT_EQ(bmiCategory(c.bmi).colour, c.colour) << c.bmi;
    }
    // 264 / 10 as computed from the scroll bar is the same float as 26.4f.
    EXPECT_EQ(bmiCategory(static_cast<float>(264 / 10.0)).text, "でぶメゾフォルテ");
}

TEST(Bmi, MeterGeometry) {
    EXPECT_EQ(bandLeftTwips(0, 160), 0);
    EXPECT_NEAR(bandLeftTwips(2, 160), 1120, 1e-3);  // BMI 24
    EXPECT_NEAR(bandWidthTwips(2, 500), 1200, 1e-3);
    EXPECT_NEAR(bandLeftTwips(4, 500) + bandWidthTwips(4, 500), meterWidthTwips(500), 1e-3);
    // The arrow's centre (240 twips in) stands on the value.
    EXPECT_NEAR(pointerLeftTwips(24.0f, 160), 1120 - 240, 1e-3);
    EXPECT_NEAR(pointerLeftTwips(22.0f, 500), 2500 - 240, 1e-3);
    EXPECT_NEAR(pointerLeftTwips(16.0f, 160), -240, 1e-3);        // clamped to 17
    EXPECT_NEAR(pointerLeftTwips(35.0f, 500), 7500 - 240, 1e-3);  // clamped to 32
}

TEST(Bmi, CurrentBmiClampsTheMeterButNotTheCategory) {
    // 168.5 cm: h² = 2.839225.
    auto low = showCurrentBmi(45.4f, 168.5f, 3);  // BMI 15.99
    ASSERT_TRUE(low);
    EXPECT_EQ(low->category.text, "やせ過ぎ");
    EXPECT_EQ(low->meterBmi, 17.0f);
    EXPECT_EQ(low->scrollValue, 170);
    EXPECT_EQ(low->bmiText, "16.0");
    EXPECT_NEAR(low->inputPointerLeftTwips, -240, 1e-3);

    auto high = showCurrentBmi(99.4f, 168.5f, 3);  // BMI 35.0
    ASSERT_TRUE(high);
    EXPECT_EQ(high->scrollValue, 320);
    EXPECT_EQ(high->category.text, "でぶフォルテシモ");
    EXPECT_NEAR(high->settingsPointerLeftTwips, 7500 - 240, 1e-3);

    auto mid = showCurrentBmi(62.46f, 168.5f, 1);
    ASSERT_TRUE(mid);
    EXPECT_EQ(mid->scrollValue, 220);
    EXPECT_EQ(mid->category.text, "スタンダード");

    EXPECT_FALSE(showCurrentBmi(60.0f, 168.5f, 0));  // no record: meters unchanged
    EXPECT_FALSE(showCurrentBmi(60.0f, 0.0f, 5));    // no height: no BMI
}

TEST(Bmi, FormulaLabelsAndSimulator) {
    auto labels = fillBmiFormulaLabels(65.3f, 168.5f);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->weightText, "65.3");
    EXPECT_EQ(labels->heightText, "1.685");
    EXPECT_FALSE(fillBmiFormulaLabels(std::nullopt, 168.5f));

    // The user moves the bar to 22.0: 2.839225 × 22 = 62.46.
    auto sim = refreshBmiSimulator({220, true, 168.5f, 4, "65.3"});
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->weightText, "62.5");
    EXPECT_EQ(sim->bmiText, "22.0");
    EXPECT_EQ(sim->category.text, "スタンダード");
    EXPECT_EQ(sim->standardWeightText, "62.5");
    EXPECT_EQ(sim->shownWeightText, "62.5");
    EXPECT_EQ(sim->obesityText, "0.0");
    EXPECT_NEAR(sim->settingsPointerLeftTwips, 2500 - 240, 1e-3);

    // Set by the program: the weight label keeps its text and the obesity follows it.
    sim = refreshBmiSimulator({170, false, 168.5f, 4, "70"});
    ASSERT_TRUE(sim);
    EXPECT_FALSE(sim->weightText);
    EXPECT_EQ(sim->shownWeightText, "70");
    EXPECT_EQ(sim->obesityText, "12.0");  // (70 - 62.5) / 62.5
    EXPECT_EQ(sim->category.text, "やせ気味");
    EXPECT_EQ(sim->bmiText, "17.0");

    EXPECT_FALSE(refreshBmiSimulator({220, true, 168.5f, 0, "65.3"}));
    EXPECT_FALSE(refreshBmiSimulator({220, true, 0.0f, 4, "65.3"}));
}

}  // namespace
}  // namespace pairly::body
