#pragma once
// The four analyses of the analysis screen, computed from the weight series that the
// weight chart's rebuild loaded: the time series of differences, the 0.5 kg milestones,
// the running mean with its streak, and the ranking of weight bands.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/trend/weight_trend.h"

namespace pairly::trend {

// Data rows of a four-column grid (the header row is not included).
using GridRows = std::vector<std::array<std::string, 4>>;

// "+" for x > 0, "±" for 0, nothing for x < 0 (the number carries its own minus).
const char* signPrefix(double x);

enum class Reference { Previous, First };

struct TimeSeries {
    std::string differenceHeader;  // "前回差" or "初回差"
    GridRows rows;
};
TimeSeries buildTimeSeries(const WeightSeries& series, Reference reference);

// One row per further 0.5 kg lost since the first weighing, up to the best loss rounded
// to 0.1 kg; a row stays empty while its loss has not been reached (0.98 kg lost: the
// 1.0 kg row). No upper limit on the number of milestones.
struct Milestones {
    GridRows rows;
    // Label5_0, when there is at least one milestone row.
    std::optional<std::string> summary;
};
Milestones buildMilestones(const WeightSeries& series);

struct AverageTrend {
    GridRows rows;
    int streak = 0;       // trailing weighings whose running mean did not rise
    std::string summary;  // Label5_1; empty without weighings
};
AverageTrend buildAverageTrend(const WeightSeries& series);

enum class BandWidth { OneKilo, HalfKilo };

// Bands of `step` kilos from Int(lowest weight) up, each holding lo <= w < lo + step,
// ranked by count with the exchange sort below; only the bands that hold weighings.
struct BandRanking {
    std::string title;  // caption of the frame around the grid
    GridRows rows;
};
BandRanking buildBandRanking(const WeightSeries& series, BandWidth width);

// A band as ranked: lower bound and count.
struct Band {
    float lowerBound = 0;
    int count = 0;
    bool operator==(const Band&) const = default;
};
// Largest count first by exchanges: for k, for i > k, swap when count[k] < count[i]. Bands
// with equal counts keep whatever order the exchanges leave, which a stable sort would not
// reproduce.
void exchangeSortBands(std::vector<Band>& bands);

}  // namespace pairly::trend
