#include "core/trend/analyses.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "core/text/text_memo.h"

namespace pairly::trend {

namespace {

using text::formatNumber;
using text::intFloor;
using text::round1;

// Grid rows are 16-bit counted: more milestones than a log has records cannot be shown.
constexpr double kMaxMilestoneRows = store::kMaxRecords;

std::string nth(int i) { return std::to_string(i) + "回目"; }

// Milestone j is (j + 1) × 0.5 kg: 0.5Kg減, 1.0Kg減, 1.5Kg減 …
std::string milestoneCaption(int j) {
    const int halves = j + 1;
    return std::to_string(halves / 2) + (halves % 2 == 1 ? ".5" : ".0") + "Kg減";
}

std::optional<text::Date> dateOf(const std::string& s) { return text::parseDate(s); }

int daysBetween(const std::optional<text::Date>& from, const std::string& to) {
    const auto b = dateOf(to);
    return from && b ? text::daysBetween(*from, *b) : 0;
}

// "0.0Kg" of a difference already rounded to tenths, with its sign prefix; the same few
// tenths come back again and again.
class DifferenceMemo {
public:
    const std::string& operator()(double rounded) {
        auto [it, added] = texts_.try_emplace(std::bit_cast<std::uint64_t>(rounded));
        if (added) it->second = signPrefix(rounded) + formatNumber(rounded, "0.0Kg");
        return it->second;
    }

private:
    std::unordered_map<std::uint64_t, std::string> texts_;
};

// The lower bound of band j as the ranking compares it: round1(j × step + bottom), turned
// into text and back, which removes floating-point noise.
float comparedLowerBound(float lowerBound) {
    return static_cast<float>(text::leadingNumber(text::floatText(lowerBound)));
}

float lowerBoundOf(long long j, float step, double bottom) {
    return static_cast<float>(round1(static_cast<double>(j) * step + bottom));
}

}  // namespace

const char* signPrefix(double x) {
    if (x > 0) return "+";
    if (x == 0) return "±";
    return "";
}

TimeSeries buildTimeSeries(const WeightSeries& series, Reference reference) {
    TimeSeries t;
    t.differenceHeader = reference == Reference::Previous ? "前回差" : "初回差";
    const std::vector<float>& w = series.weights;
    t.rows.reserve(w.size());
    text::FloatTextMemo weightKg("0.0Kg");
    DifferenceMemo difference;
    for (std::size_t i = 0; i < w.size(); ++i) {
        float diff = 0;
        if (i > 0) diff = w[i] - (reference == Reference::Previous ? w[i - 1] : w[0]);
        t.rows.push_back({nth(static_cast<int>(i) + 1), series.dates[i], weightKg(w[i]),
                          difference(round1(diff))});
    }
    return t;
}

Milestones buildMilestones(const WeightSeries& series) {
    Milestones result;
    if (series.empty()) return result;
    const std::vector<float>& w = series.weights;
    const float bestLoss = w.front() - series.lowestWeight();
    const double total = round1(bestLoss);
    const double m = std::min(intFloor(total / 0.5), kMaxMilestoneRows);
    if (!(m >= 1)) return result;
    const int rows = static_cast<int>(m);
    result.rows.resize(static_cast<std::size_t>(rows));

    // Milestone j is reached when the loss is at least (j + 1) × 0.5, so the reached ones
    // are always the first few: each record only has to look at the next ones.
    const auto firstDate = dateOf(series.dates.front());
    int reached = 0;
    int previousDays = 0;
    for (std::size_t i = 0; i < w.size() && reached < rows; ++i) {
        const float loss = w.front() - w[i];
        if (!((reached + 1) * 0.5 <= loss)) continue;
        const int days = daysBetween(firstDate, series.dates[i]);
        const std::string daysText = std::to_string(days) + "日後";
        while (reached < rows && (reached + 1) * 0.5 <= loss) {
            result.rows[static_cast<std::size_t>(reached)] = {
                milestoneCaption(reached), series.dates[i], daysText,
                std::to_string(days - previousDays) + "日後"};
            previousDays = days;
            ++reached;
        }
    }
    const int sinceBest = daysBetween(dateOf(series.lowestWeightDate), series.dates.back());
    result.summary = "最高　" + formatNumber(bestLoss, "0.0Kg") + "減を達成してから　" +
                     std::to_string(sinceBest) + "日経過";
    return result;
}

AverageTrend buildAverageTrend(const WeightSeries& series) {
    AverageTrend result;
    const std::vector<float>& w = series.weights;
    if (w.empty()) return result;
    result.rows.reserve(w.size());
    text::FloatTextMemo weightKg("0.0Kg");
    float sum = 0;
    float previousMean = 0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        sum += w[i];
        const float mean = sum / static_cast<float>(i + 1);
        std::string change = "0g";
        if (i > 0) {
            const float grams = (mean - previousMean) * 1000.0f;
            if (grams > 0) {
                result.streak = 0;
            } else if (grams <= 0) {
                ++result.streak;
            }
            change = signPrefix(grams) + formatNumber(grams, "0g");
        }
        result.rows.push_back({nth(static_cast<int>(i) + 1), weightKg(w[i]),
                               formatNumber(mean, "0.000Kg"), std::move(change)});
        previousMean = mean;
    }
    result.summary = result.streak > 0
                         ? "連続ﾏｲﾅｽ記録 " + std::to_string(result.streak) + "回達成！"
                         : "平均を上回ってしまいました...";
    return result;
}

void exchangeSortBands(std::vector<Band>& bands) {
    const std::size_t n = bands.size();
    for (std::size_t k = 0; k + 1 < n; ++k)
        for (std::size_t i = k + 1; i < n; ++i)
            if (bands[k].count < bands[i].count) std::swap(bands[k], bands[i]);
}

BandRanking buildBandRanking(const WeightSeries& series, BandWidth width) {
    BandRanking result;
    const float step = width == BandWidth::OneKilo ? 1.0f : 0.5f;
    result.title = width == BandWidth::OneKilo ? "    体重推移累積番付 < 1.0Kg刻み >"
                                               : "    体重推移累積番付 < 0.5Kg刻み >";
    if (series.empty()) return result;

    const double top = intFloor(series.maximumWeight) + 1;
    const double bottom = intFloor(series.lowestWeight());
    const double lastBand = text::roundHalfEven((top - bottom) / step);
    // Weights beyond any measure (a damaged file) give no bands rather than a huge table.
    if (!std::isfinite(lastBand) || lastBand < 0 || lastBand > 1e15) return result;

    // Band of each distinct weight: lo <= w < lo + step. The bands touch, so a weight
    // belongs to exactly one; the one computed from the weight is checked against its
    // neighbours' bounds as the comparison sees them.
    auto holds = [&](long long j, float weight) {
        if (j < 0 || j > static_cast<long long>(lastBand)) return false;
        const float lo = comparedLowerBound(lowerBoundOf(j, step, bottom));
        return lo <= weight && weight < static_cast<float>(lo + step);
    };
    std::unordered_map<std::uint32_t, long long> bandOfWeight;
    std::vector<long long> members;
    members.reserve(series.weights.size());
    for (float weight : series.weights) {
        auto [it, added] = bandOfWeight.try_emplace(std::bit_cast<std::uint32_t>(weight), -1);
        if (added) {
            const double guess = intFloor((static_cast<double>(weight) - bottom) / step);
            if (std::isfinite(guess) && std::fabs(guess) < 1e15) {
                const auto j = static_cast<long long>(guess);
                for (long long candidate : {j - 1, j, j + 1}) {
                    if (holds(candidate, weight)) {
                        it->second = candidate;
                        break;
                    }
                }
            }
        }
        if (it->second >= 0) members.push_back(it->second);
    }

    // Empty bands are left out before ranking: the exchanges move the counted bands the
    // same way with or without them, and the list ends at the first empty band anyway.
    std::sort(members.begin(), members.end());
    std::vector<Band> bands;
    for (std::size_t i = 0; i < members.size();) {
        std::size_t end = i;
        while (end < members.size() && members[end] == members[i]) ++end;
        bands.push_back({lowerBoundOf(members[i], step, bottom), static_cast<int>(end - i)});
        i = end;
    }
    exchangeSortBands(bands);

    result.rows.reserve(bands.size());
    for (std::size_t r = 0; r < bands.size(); ++r) {
        const Band& b = bands[r];
        result.rows.push_back(
            {std::to_string(r + 1) + "位",
             formatNumber(b.lowerBound, "0.0～") +
                 formatNumber(static_cast<double>(b.lowerBound) + step - 0.1, "0.0Kg"),
             std::to_string(b.count) + "回",
             r > 0 ? std::to_string(bands[r - 1].count - b.count) + "回" : std::string()});
    }
    return result;
}

}  // namespace pairly::trend
