#include "core/comparison/fair_comparison.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/text/numbers.h"

namespace pairly::comparison {

std::optional<double> lossShare(std::span<const store::MeasurementRecord> log) {
    if (log.empty()) return std::nullopt;
    const double first = log.front().weight;
    const double last = log.back().weight;
    if (!std::isfinite(first) || first <= 0 || !std::isfinite(last)) return std::nullopt;
    return (first - last) / first * 100.0;
}

std::string lossShareText(std::optional<double> share) {
    if (!share) return "—";
    const std::string magnitude = text::formatNumber(std::fabs(*share), "0.0");
    if (magnitude == "0.0") return "0.0%";
    return magnitude + (*share > 0 ? "% 減" : "% 増");
}

ShareMarks lossShareMarks(std::optional<double> share1, std::optional<double> share2) {
    if (!share1 && !share2) return {};
    if (!share2) return {true, false};
    if (!share1) return {false, true};
    return {*share1 >= *share2, *share2 >= *share1};
}

chart::Series percentFromStart(const chart::Series& points) {
    const double missing = std::numeric_limits<double>::quiet_NaN();
    chart::Series out(points.size(), missing);
    const auto first =
        std::find_if(points.begin(), points.end(), [](double p) { return !std::isnan(p); });
    if (first == points.end() || !std::isfinite(*first) || *first <= 0) return out;
    const double base = *first;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (std::isfinite(points[i])) out[i] = (points[i] - base) / base * 100.0;
    return out;
}

}  // namespace pairly::comparison
