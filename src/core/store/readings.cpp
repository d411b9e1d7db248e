#include "core/store/readings.h"

#include "core/text/numbers.h"

namespace pairly::store {

void setReading(Readings& r, std::size_t index, double value) {
    const auto real = [value] { return static_cast<float>(value); };
    const auto whole = [value] { return text::toInt16Clamped(value); };
    switch (index) {
        case 0:
            r.weight = real();
            break;
        case 1:
            r.bodyFat = real();
            break;
        case 2:
            r.basalMetabolism = whole();
            break;
        case 3:
            r.visceralFat = whole();
            break;
        case 4:
            r.muscleMass = real();
            break;
        case 5:
            r.muscleScore = whole();
            break;
        case 6:
            r.boneMass = real();
            break;
        default:
            break;
    }
}

Readings readingsOf(const std::array<double, kReadingCount>& values) {
    Readings r;
    for (std::size_t i = 0; i < kReadingCount; ++i) setReading(r, i, values[i]);
    return r;
}

std::array<std::string, kReadingCount> readingTexts(const Readings& r) {
    return {text::floatText(r.weight),         text::floatText(r.bodyFat),
            std::to_string(r.basalMetabolism), std::to_string(r.visceralFat),
            text::floatText(r.muscleMass),     std::to_string(r.muscleScore),
            text::floatText(r.boneMass)};
}

}  // namespace pairly::store
