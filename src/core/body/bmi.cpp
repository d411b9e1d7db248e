#include "core/body/bmi.h"

#include <cmath>

#include "core/text/numbers.h"

namespace pairly::body {

BmiCategory bmiCategory(float bmi) {
    if (std::isnan(bmi)) return {"", {255, 255, 255}};
    if (bmi < 17.0f) return {"やせ過ぎ", {192, 192, 255}};
    if (bmi < 20.0f) return {"やせ気味", {192, 255, 255}};
    if (bmi <= 24.0f) return {"スタンダード", {192, 255, 192}};
    if (bmi <= 26.4f) return {"でぶメゾフォルテ", {255, 255, 192}};
    if (bmi < 30.0f) return {"でぶフォルテ", {255, 192, 255}};
    return {"でぶフォルテシモ", {255, 192, 192}};
}

const std::array<MeterBand, 5>& meterBands() {
    static const std::array<MeterBand, 5> bands = {{
        {17.0f, 20.0f, {0, 255, 255}},
        {20.0f, 24.0f, {0, 255, 0}},
        {24.0f, 26.4f, {255, 255, 0}},
        {26.4f, 30.0f, {255, 0, 255}},
        {30.0f, 32.0f, {255, 0, 0}},
    }};
    return bands;
}

double bandLeftTwips(int band, int unitTwips) {
    if (band < 0 || band >= static_cast<int>(meterBands().size())) return 0;
    return (static_cast<double>(meterBands()[band].fromBmi) - kMeterLowestBmi) * unitTwips;
}

double bandWidthTwips(int band, int unitTwips) {
    if (band < 0 || band >= static_cast<int>(meterBands().size())) return 0;
    const MeterBand& b = meterBands()[band];
    return (static_cast<double>(b.toBmi) - b.fromBmi) * unitTwips;
}

double meterWidthTwips(int unitTwips) {
    return (static_cast<double>(kMeterHighestBmi) - kMeterLowestBmi) * unitTwips;
}

float clampMeterBmi(float bmi) {
    if (std::isnan(bmi) || bmi < kMeterLowestBmi) return kMeterLowestBmi;
    if (bmi > kMeterHighestBmi) return kMeterHighestBmi;
    return bmi;
}

double pointerLeftTwips(float bmi, int unitTwips) {
    const double m = clampMeterBmi(bmi);
    const double bmi24Point = (24.0 - kMeterLowestBmi) * unitTwips;
    return bmi24Point - ((24.0 - m) * unitTwips + kPointerWidthTwips / 2);
}

std::optional<CurrentBmi> showCurrentBmi(float currentWeight, float heightCm, int recordCount) {
    if (recordCount <= 0) return std::nullopt;
    const BodyScale scale = bodyScale(heightCm);
    if (!scale.usable) return std::nullopt;
    CurrentBmi out;
    out.bmi = currentWeight / scale.heightSquared;
    if (std::isnan(out.bmi)) return std::nullopt;
    out.meterBmi = clampMeterBmi(out.bmi);
    const float scaled = out.meterBmi * 10.0f;
    out.scrollValue = static_cast<int>(text::roundHalfEven(scaled));
    out.category = bmiCategory(out.bmi);
    out.bmiText = text::formatNumber(out.bmi, "0.0");
    out.inputPointerLeftTwips = pointerLeftTwips(out.meterBmi, kInputMeterUnitTwips);
    out.settingsPointerLeftTwips = pointerLeftTwips(out.meterBmi, kSettingsMeterUnitTwips);
    return out;
}

std::optional<BmiFormulaLabels> fillBmiFormulaLabels(std::optional<float> lastRecordWeight,
                                                     float heightCm) {
    if (!lastRecordWeight) return std::nullopt;
    return BmiFormulaLabels{text::floatText(*lastRecordWeight),
                            text::floatText(bodyScale(heightCm).height)};
}

std::optional<BmiSimulator> refreshBmiSimulator(const BmiSimulatorInput& input) {
    if (input.recordCount <= 0) return std::nullopt;
    const BodyScale scale = bodyScale(input.heightCm);
    if (!scale.usable) return std::nullopt;

    BmiSimulator out;
    const double b = input.scrollValue / 10.0;
    std::string weightLabel = input.weightLabelText;
    if (input.fromUser) {
        const double weight = static_cast<double>(scale.heightSquared) * b;
        weightLabel = text::formatNumber(weight, "0.0");
        out.weightText = weightLabel;
    }
    out.bmiText = text::formatNumber(b, "0.0");
    out.category = bmiCategory(static_cast<float>(b));
    out.settingsPointerLeftTwips = pointerLeftTwips(static_cast<float>(b), kSettingsMeterUnitTwips);

    out.standardWeightText = text::formatNumber(scale.standardWeight, "00.0");
    out.shownWeightText = weightLabel;

    // The obesity is worked out from the figures as the formula shows them.
    const double shownWeight = text::leadingNumber(out.shownWeightText);
    const double shownStandard = text::leadingNumber(out.standardWeightText);
    if (shownStandard != 0.0) {
        const double obesity = (shownWeight - shownStandard) / shownStandard * 100.0;
        out.obesityText = text::formatNumber(obesity, "0.0");
    }
    return out;
}

}  // namespace pairly::body
