#include "core/comparison/period_report.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::comparison {

namespace {

// Weights are summed in whole tenths as the grids show them, so that a mean that lies
// exactly on a half (53.65) is rounded as written, not from its binary neighbour.
struct Sum {
    int count = 0;
    long long tenths = 0;
    double minimum = 0, maximum = 0;
    void add(float w) {
        minimum = count == 0 ? w : std::min(minimum, double(w));
        maximum = count == 0 ? w : std::max(maximum, double(w));
        tenths += std::llround(text::shownTenths(w) * 10);
        ++count;
    }
    // The mean to one decimal, halves away from zero (the sum is never negative).
    double mean() const {
        const long long rounded = (2 * tenths + count) / (2LL * count);
        return double(rounded) / 10;
    }
};

std::string periodLabel(int firstDay, ReportPeriod period) {
    const text::Date first = text::dateFromDayNumber(firstDay);
    if (period == ReportPeriod::Month) return text::formatDate(first, "yyyy/mm");
    const text::Date last = text::dateFromDayNumber(firstDay + 6);
    return text::formatDate(first) + "～" + text::formatDate(last, "yyyy/mm/dd").substr(5);
}

}  // namespace

std::optional<text::Date> reportedDate(const store::MeasurementRecord& record) {
    if (!std::isfinite(record.weight) || record.weight <= 0) return std::nullopt;
    return text::parseDate(record.date);
}

int periodStart(const text::Date& date, ReportPeriod period) {
    if (period == ReportPeriod::Week) return text::dayNumber(date) - text::weekday(date);
    return text::dayNumber({date.year, date.month, 1});
}

std::vector<ReportRow> buildPeriodReport(const std::vector<store::MeasurementRecord>& log1,
                                         const std::vector<store::MeasurementRecord>& log2,
                                         ReportPeriod period) {
    std::map<int, std::array<Sum, 2>> periods;
    const std::vector<store::MeasurementRecord>* logs[2] = {&log1, &log2};
    for (std::size_t p = 0; p < 2; ++p) {
        // Weighings of one period lie together in a log in date order: remember the last
        // period found instead of looking it up for every record.
        int lastStart = 0;
        std::array<Sum, 2>* last = nullptr;
        for (const store::MeasurementRecord& r : *logs[p]) {
            const auto date = reportedDate(r);
            if (!date) continue;
            const int start = periodStart(*date, period);
            if (!last || start != lastStart) {
                last = &periods[start];
                lastStart = start;
            }
            (*last)[p].add(r.weight);
        }
    }
    std::vector<ReportRow> rows;
    rows.reserve(periods.size());
    std::array<std::optional<double>, 2> previousMean;
    for (const auto& [start, sums] : periods) {
        ReportRow row;
        row.firstDay = start;
        row.label = periodLabel(start, period);
        for (std::size_t p = 0; p < 2; ++p) {
            const Sum& s = sums[p];
            if (s.count == 0) continue;
            PartnerPeriod& out = row.partners[p];
            out.count = s.count;
            out.mean = s.mean();
            out.minimum = s.minimum;
            out.maximum = s.maximum;
            if (previousMean[p]) out.change = out.mean - *previousMean[p];
            previousMean[p] = out.mean;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::array<std::string, 5> partnerCells(const PartnerPeriod& p) {
    if (p.count == 0) return {};
    std::string change;
    if (p.change) {
        change = text::formatNumber(*p.change, "0.0");
        if (change == "0.0")
            change = "±0.0";
        else if (change.front() != '-')
            change = "+" + change;
    }
    return {std::to_string(p.count), text::formatNumber(p.mean, "0.0"),
            text::formatNumber(p.minimum, "0.0"), text::formatNumber(p.maximum, "0.0"), change};
}

const std::array<const char*, 5>& reportMeasures() {
    static const std::array<const char*, 5> measures = {"回数", "平均", "最小", "最大", "増減"};
    return measures;
}

std::vector<std::string> reportHeaders(ReportPeriod period, const std::string& nickname1,
                                       const std::string& nickname2) {
    std::vector<std::string> headers = {period == ReportPeriod::Week ? "週" : "月"};
    for (const std::string& name : {nickname1, nickname2})
        for (const char* measure : reportMeasures()) headers.push_back(name + " " + measure);
    return headers;
}

}  // namespace pairly::comparison
