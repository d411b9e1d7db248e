#pragma once
// The seven readings of one weighing, as the log stores them, and what a value of each
// must be wherever it comes from (typed, corrected, imported).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/disk/fields.h"

namespace pairly::store {

// In record order, each of the type its field holds.
struct Readings {
    float weight = 0;                  // kg
    float bodyFat = 0;                 // %
    std::int16_t basalMetabolism = 0;  // kcal
    std::int16_t visceralFat = 0;      // level
    float muscleMass = 0;              // kg
    std::int16_t muscleScore = 0;
    float boneMass = 0;  // kg
    bool operator==(const Readings&) const = default;
};
inline constexpr std::size_t kReadingCount = 7;

// The name the screens give each reading and the kind its value must be, in record order.
struct MeasureRule {
    const char* name;
    disk::NumberKind kind;
};
inline constexpr MeasureRule kMeasureRules[kReadingCount] = {
    {"体重", disk::NumberKind::Weight},    {"体脂肪率", disk::NumberKind::BodyFat},
    {"基礎代謝", disk::NumberKind::Int16}, {"内臓脂肪", disk::NumberKind::Int16},
    {"筋肉量", disk::NumberKind::Mass},    {"筋肉スコア", disk::NumberKind::Int16},
    {"骨量", disk::NumberKind::Mass},
};

// Sets reading `index` (record order) from a value that passed its check: a float reading
// takes the value rounded to float, an integer one the nearest integer (halves to even),
// clamped into its range.
void setReading(Readings& readings, std::size_t index, double value);
// All seven from values in record order.
Readings readingsOf(const std::array<double, kReadingCount>& values);

// The readings as the files write them, in record order: floats as the shortest text that
// reads back as the same float (65, 65.3), integers as plain digits.
std::array<std::string, kReadingCount> readingTexts(const Readings& readings);

}  // namespace pairly::store
