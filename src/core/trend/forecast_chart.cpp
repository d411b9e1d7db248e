#include "core/trend/forecast_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace pairly::trend {

namespace {

constexpr int kWindowDays = 14;

// The day of a record that is a weighing (as dailyTrend reads it).
std::optional<int> weighingDay(const store::MeasurementRecord& r) {
    if (!std::isfinite(r.weight) || r.weight <= 0) return std::nullopt;
    const auto date = text::parseDate(r.date);
    if (!date) return std::nullopt;
    return text::dayNumber(*date);
}

}  // namespace

FanSeries fanSeries(const std::vector<store::MeasurementRecord>& log, const ForecastFan& fan,
                    const text::Date& today) {
    FanSeries out;
    const int last = text::dayNumber(today);
    // Dates order as text: only the records of the window are read as dates.
    const std::string firstText =
        text::formatDate(text::dateFromDayNumber(last - (kWindowDays - 1)));
    const std::string lastText = text::formatDate(today);
    int weighings = 0;
    std::optional<std::size_t> start;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const store::MeasurementRecord& r = log[i];
        if (r.date < firstText || r.date > lastText) continue;
        const auto day = weighingDay(r);
        if (!day || *day < last - (kWindowDays - 1) || *day > last) continue;
        ++weighings;
        if (*day == fan.from.dayNumber) start = i;
    }
    if (!start || weighings == 0) return out;
    const double pointsPerDay = static_cast<double>(weighings) / kWindowDays;

    std::array<std::size_t, 3> ends{};
    for (std::size_t k = 0; k < 3; ++k) {
        const double days = fan.to[k].dayNumber - fan.from.dayNumber;
        ends[k] = *start + static_cast<std::size_t>(std::max(1.0, std::round(days * pointsPerDay)));
    }
    const std::size_t size = *std::max_element(ends.begin(), ends.end()) + 1;
    for (std::size_t k = 0; k < 3; ++k) {
        chart::Series& line = out.lines[k];
        line.assign(size, std::numeric_limits<double>::quiet_NaN());
        const double span = static_cast<double>(ends[k] - *start);
        const double rise = fan.to[k].weight - fan.from.weight;
        for (std::size_t i = *start; i <= ends[k]; ++i)
            line[i] = fan.from.weight + rise * (static_cast<double>(i - *start) / span);
    }
    return out;
}

}  // namespace pairly::trend
