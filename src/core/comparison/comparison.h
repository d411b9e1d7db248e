#pragma once
// The couple comparison: six measures side by side with their winners, the share of all
// measurements, and the daily averages of both partners.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/comparison/daily_average.h"
#include "core/store/measurement_log.h"

namespace pairly::comparison {

// The logs are looked at, not copied: the screen hands over the readings it shares.
struct ComparisonInput {
    std::span<const store::MeasurementRecord> log1, log2;
    std::string name1, name2;
    float target1 = 0, target2 = 0;
};

// One line of the statistics table: both texts and which winner marks stay visible
// (both on a tie).
struct StatisticsRow {
    std::string text1, text2;
    bool mark1 = false, mark2 = false;
    bool operator==(const StatisticsRow&) const = default;
};

// Item captions of rows 1..7 (index 0 is empty: row 0 holds the names).
extern const std::array<const char*, 8> kStatisticsCaptions;
// Why row 7 is the fair measure, for its caption's tooltip.
extern const char* const kLossShareExplanation;

// Shown in place of a figure for a partner without records.
inline constexpr const char* kNoFigure = "—";

struct ComparisonModel {
    // rows[0] holds the names (no marks); rows[1..6] the measures; rows[7] the loss as a
    // share of the start weight.
    std::array<StatisticsRow, 8> rows;
    float share1 = 0, share2 = 0;  // percent of all measurements
    DailyAverages daily;
};

ComparisonModel buildComparison(const ComparisonInput& input);

// Width of partner 1's bar drawn over the full-length reference bar: Int(width × share ÷ 100).
int shareBarWidth(int referenceWidth, float share1);

}  // namespace pairly::comparison
