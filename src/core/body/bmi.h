#pragma once
// BMI categories and the geometry of the two BMI meters (input screen and settings
// screen). Pure logic: the screens place pictures and set captions from these models.
#include <array>
#include <optional>
#include <string>

#include "core/base/colour.h"
#include "core/body/body_scale.h"

namespace pairly::body {

using pairly::base::Rgb;

struct BmiCategory {
    std::string text;  // "やせ過ぎ" … "でぶフォルテシモ"
    Rgb colour;        // back colour of the category label
    bool operator==(const BmiCategory&) const = default;
};

// Category of a BMI; the bounds are compared as 32-bit floats (26.4f belongs to
// "でぶメゾフォルテ"). A NaN gives an empty text on white.
BmiCategory bmiCategory(float bmi);

// The meter runs from BMI 17 to 32 in five coloured bands.
constexpr float kMeterLowestBmi = 17.0f;
constexpr float kMeterHighestBmi = 32.0f;
// Length of one BMI unit in twips on each meter.
constexpr int kInputMeterUnitTwips = 160;
constexpr int kSettingsMeterUnitTwips = 500;
// Width of the pointer picture (32 px); half of it centres the arrow on the value.
constexpr int kPointerWidthTwips = 480;

struct MeterBand {
    float fromBmi;
    float toBmi;
    Rgb colour;
};
// Bands 0..4 left to right: 17-20 cyan, 20-24 green, 24-26.4 yellow, 26.4-30 magenta,
// 30-32 red.
const std::array<MeterBand, 5>& meterBands();
// Left edge and width of a band in twips, measured from the meter's left end (BMI 17).
double bandLeftTwips(int band, int unitTwips);
double bandWidthTwips(int band, int unitTwips);
// Whole meter length: 15 units.
double meterWidthTwips(int unitTwips);

// M: the BMI limited to 17..32 (a NaN gives 17).
float clampMeterBmi(float bmi);
// Left edge of the pointer picture, measured from the meter's left end (BMI 17):
// the BMI-24 point minus ((24 - M) * unit + 240). Negative near BMI 17 (the arrow's
// centre stands on the value, so half the picture hangs over the end).
double pointerLeftTwips(float bmi, int unitTwips);

// showCurrentBmi: everything the two meters show for the current weight Wc.
struct CurrentBmi {
    float bmi = 0;                        // Wc / h², unclamped
    float meterBmi = 0;                   // M
    int scrollValue = 170;                // HScroll1: M × 10, halves to even (170..320)
    BmiCategory category;                 // lblMHyouka: category of the unclamped BMI
    std::string bmiText;                  // BMI value label of the settings meter, "0.0"
    double inputPointerLeftTwips = 0;     // Image1 (160 twips per unit)
    double settingsPointerLeftTwips = 0;  // Image2 (500 twips per unit)
};
// Nothing (nullopt) when the log has no record, or when the height does not give a
// usable BMI (height 0, negative or not finite): the meters then keep what they show.
std::optional<CurrentBmi> showCurrentBmi(float currentWeight, float heightCm, int recordCount);

// fillBmiFormulaLabels: weight of the last record and h, both as shortest float text
// (168.5 cm -> "1.685"). nullopt when the log has no record (labels keep their text).
struct BmiFormulaLabels {
    std::string weightText;  // weight label
    std::string heightText;  // height label
};
std::optional<BmiFormulaLabels> fillBmiFormulaLabels(std::optional<float> lastRecordWeight,
                                                     float heightCm);

// refreshBmiSimulator(fromUser).
struct BmiSimulatorInput {
    int scrollValue = 170;  // HScroll1 value
    bool fromUser = false;  // the user moved the bar
    float heightCm = 0;
    int recordCount = 0;          // N of the last day-view refresh
    std::string weightLabelText;  // current text of the weight label
};
struct BmiSimulator {
    // New weight label text ("0.0" of h² × B); set only when the user moved the bar.
    std::optional<std::string> weightText;
    std::string bmiText;                  // BMI value label: B in "0.0"
    BmiCategory category;                 // lblHyouka
    double settingsPointerLeftTwips = 0;  // Image2 for B
    std::string standardWeightText;       // both lblHyojun: 22 × h² in "00.0"
    std::string shownWeightText;          // the weight label's (new) text
    // lblHiman: (number of lblTai − number of lblHyojun) ÷ number of lblHyojun × 100,
    // from the texts as shown, "0.0". Empty when the shown standard weight reads as 0.
    std::string obesityText;
};
// nullopt when N = 0 or the height is unusable (as showCurrentBmi).
std::optional<BmiSimulator> refreshBmiSimulator(const BmiSimulatorInput& input);

}  // namespace pairly::body
