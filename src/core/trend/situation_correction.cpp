#include "core/trend/situation_correction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "core/text/numbers.h"

namespace pairly::trend {

namespace {

constexpr int kWindowDays = 90;
constexpr int kMinimumDays = 5;

struct Weighing {
    int day;
    int situation;  // index into the names met, in the order met
    double weight;  // as written: the differences are those a reader works out
};

// The median; an even count gives the mean of the two middle values. Reorders `values`.
double median(std::vector<double>& values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) return *middle;
    return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

}  // namespace

SituationCorrection situationCorrection(const std::vector<store::MeasurementRecord>& log,
                                        const std::vector<std::string>& situations,
                                        const text::Date& today) {
    const int last = text::dayNumber(today);
    const int first = last - (kWindowDays - 1);
    std::vector<std::string> names;
    std::unordered_map<std::string, int> ids;
    std::vector<Weighing> window;
    // Dates order as text: most of a long log is passed over without reading its dates.
    const std::string firstText = text::formatDate(text::dateFromDayNumber(first));
    const std::string lastText = text::formatDate(today);
    for (const store::MeasurementRecord& r : log) {
        if (r.date < firstText || r.date > lastText) continue;
        const auto date = text::parseDate(r.date);
        if (!date || !std::isfinite(r.weight) || r.weight <= 0) continue;
        const int day = text::dayNumber(*date);
        if (day < first || day > last) continue;
        const auto [at, added] = ids.try_emplace(r.situation, static_cast<int>(names.size()));
        if (added) names.push_back(r.situation);
        window.push_back({day, at->second, text::shortestDecimal(r.weight)});
    }
    SituationCorrection out;
    if (window.empty()) return out;
    // Stable: the first weighing of a day stays first.
    auto byDay = [](const Weighing& a, const Weighing& b) { return a.day < b.day; };
    if (!std::is_sorted(window.begin(), window.end(), byDay))
        std::stable_sort(window.begin(), window.end(), byDay);

    // Each day reduced to the first weighing of each situation, in the order of the day.
    const std::size_t count = names.size();
    std::vector<Weighing> firsts;
    std::vector<std::size_t> dayStarts;
    std::vector<int> firstOfDay(count, 0);
    std::vector<int> seenOn(count, std::numeric_limits<int>::min());
    for (const Weighing& w : window) {
        if (dayStarts.empty() || firsts[dayStarts.back()].day != w.day) {
            dayStarts.push_back(firsts.size());
            ++firstOfDay[static_cast<std::size_t>(w.situation)];
        }
        int& seen = seenOn[static_cast<std::size_t>(w.situation)];
        if (seen == w.day) continue;
        seen = w.day;
        firsts.push_back(w);
    }
    dayStarts.push_back(firsts.size());

    // Rank of a situation: its place in the list, after the list in the order met.
    std::unordered_map<std::string, std::size_t> listed;
    for (std::size_t i = 0; i < situations.size(); ++i) listed.try_emplace(situations[i], i);
    std::vector<std::size_t> rank(count);
    for (std::size_t id = 0; id < count; ++id) {
        const auto found = listed.find(names[id]);
        rank[id] = found != listed.end() ? found->second : situations.size() + id;
    }
    std::size_t reference = 0;
    for (std::size_t id = 1; id < count; ++id)
        if (firstOfDay[id] > firstOfDay[reference] ||
            (firstOfDay[id] == firstOfDay[reference] && rank[id] < rank[reference]))
            reference = id;
    out.reference = names[reference];

    std::vector<std::vector<double>> differences(count);
    for (std::size_t d = 0; d + 1 < dayStarts.size(); ++d) {
        const auto begin = firsts.begin() + static_cast<std::ptrdiff_t>(dayStarts[d]);
        const auto end = firsts.begin() + static_cast<std::ptrdiff_t>(dayStarts[d + 1]);
        const auto ref = std::find_if(begin, end, [&](const Weighing& w) {
            return static_cast<std::size_t>(w.situation) == reference;
        });
        if (ref == end) continue;
        for (auto w = begin; w != end; ++w)
            if (w != ref)
                differences[static_cast<std::size_t>(w->situation)].push_back(w->weight -
                                                                              ref->weight);
    }

    std::vector<std::size_t> order;
    for (std::size_t id = 0; id < count; ++id)
        if (id != reference) order.push_back(id);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return rank[a] < rank[b]; });
    for (const std::size_t id : order) {
        SituationDifference s{names[id], static_cast<int>(differences[id].size()), std::nullopt};
        if (s.days >= kMinimumDays) s.difference = median(differences[id]);
        out.others.push_back(std::move(s));
    }
    return out;
}

std::vector<CorrectionRow> correctionTable(const SituationCorrection& correction) {
    std::vector<CorrectionRow> rows;
    if (correction.reference.empty()) return rows;
    rows.push_back({correction.reference, "基準"});
    for (const SituationDifference& s : correction.others)
        rows.push_back({s.situation, s.difference ? text::signedKg(*s.difference) : "データ不足"});
    return rows;
}

std::vector<float> correctedWeights(const std::vector<store::MeasurementRecord>& log,
                                    const SituationCorrection& correction) {
    std::vector<float> out;
    out.reserve(log.size());
    for (const store::MeasurementRecord& r : log) out.push_back(r.weight);
    std::unordered_map<std::string_view, double> moves;
    for (const SituationDifference& s : correction.others)
        if (s.difference) moves.emplace(s.situation, *s.difference);
    if (moves.empty()) return out;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const store::MeasurementRecord& r = log[i];
        if (!std::isfinite(r.weight) || r.weight <= 0) continue;
        const auto move = moves.find(r.situation);
        if (move == moves.end()) continue;
        const float moved = static_cast<float>(text::shortestDecimal(r.weight) - move->second);
        if (moved > 0) out[i] = moved;
    }
    return out;
}

std::vector<store::MeasurementRecord> correctedLog(const std::vector<store::MeasurementRecord>& log,
                                                   const SituationCorrection& correction) {
    const std::vector<float> weights = correctedWeights(log, correction);
    std::vector<store::MeasurementRecord> out = log;
    for (std::size_t i = 0; i < out.size(); ++i) out[i].weight = weights[i];
    return out;
}

}  // namespace pairly::trend
