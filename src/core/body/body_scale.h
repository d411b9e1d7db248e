#pragma once
// The scale a partner's height sets for every BMI and obesity figure, in the 32-bit floats
// the screens show them from.
namespace pairly::body {

struct BodyScale {
    float height = 0;          // h, metres
    float heightSquared = 0;   // h²
    float standardWeight = 0;  // 22 × h², kg
    // The height gives a BMI: above 0 and finite. Height 0 (a fresh profile) would make
    // every BMI and obesity figure infinite.
    bool usable = false;
};
BodyScale bodyScale(float heightCm);

}  // namespace pairly::body
