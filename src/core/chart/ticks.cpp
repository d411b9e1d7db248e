#include "core/chart/ticks.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace pairly::chart {

double niceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * p >= raw * (1 - 1e-9)) return m * p;
    }
    return 10 * p;
}

int wholeDivisions(long long span, int most, int fewest) {
    if (span < 1) return 1;
    for (long long step = 1; step <= span; step *= 10) {
        for (long long m : {1, 2, 5}) {
            if (span % (step * m) == 0 && span / (step * m) <= most)
                return static_cast<int>(span / (step * m));
        }
    }
    for (long long k = most; k >= fewest; --k)
        if (span % k == 0) return static_cast<int>(k);
    return 10;
}

Range fitToValues(double lo, double hi, int divisions) {
    if (hi - lo < 1e-9) {
        lo -= 1;
        hi += 1;
    }
    const double step = niceStep((hi - lo) / divisions);
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step};
}

Range steppable(double lo, double hi) {
    constexpr double kLimit = 1e300;
    lo = std::clamp(lo, -kLimit, kLimit);
    hi = std::clamp(hi, -kLimit, kLimit);
    const double least = std::max(std::fabs(lo), std::fabs(hi)) * 1e-9;
    if (hi - lo < least) {
        lo -= least;
        hi += least;
    }
    return {lo, hi};
}

int labelDecimals(double step) {
    for (int d = 0; d <= 3; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) return d;
    }
    return 3;
}

}  // namespace pairly::chart
