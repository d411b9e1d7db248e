#pragma once
// The weekly and monthly report of both partners: per period the count, mean, lowest and
// highest weight and the change of the mean against the partner's previous period.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::comparison {

enum class ReportPeriod { Week, Month };

struct PartnerPeriod {
    int count = 0;  // 0: no weighing in this period (every text empty)
    double mean = 0, minimum = 0, maximum = 0;
    std::optional<double> change;  // mean minus the mean of the partner's previous period
};

struct ReportRow {
    int firstDay = 0;   // text::dayNumber of the period's first day
    std::string label;  // "yyyy/mm/dd～mm/dd" (Sunday to Saturday) or "yyyy/mm"
    std::array<PartnerPeriod, 2> partners;
};

// The date of a weighing the report counts: nothing when the date does not read or the
// weight is not a positive number.
std::optional<text::Date> reportedDate(const store::MeasurementRecord& record);

// The first day (text::dayNumber) of the period holding `date`: the Sunday of its week
// (weeks run Sunday to Saturday), the first of its month.
int periodStart(const text::Date& date, ReportPeriod period);

// Every period in which either partner weighed, oldest first, of the weighings counted by
// reportedDate.
std::vector<ReportRow> buildPeriodReport(const std::vector<store::MeasurementRecord>& log1,
                                         const std::vector<store::MeasurementRecord>& log2,
                                         ReportPeriod period);

// The grid's cells of one partner: 回数, 平均, 最小, 最大, 増減 ("+0.3", "-0.2", "±0.0",
// empty for the partner's first period); all empty without a weighing.
std::array<std::string, 5> partnerCells(const PartnerPeriod& p);

// The five measures of a partner, in the order of partnerCells.
const std::array<const char*, 5>& reportMeasures();

// Column headers: the period, then for each partner its nickname with each measure.
std::vector<std::string> reportHeaders(ReportPeriod period, const std::string& nickname1,
                                       const std::string& nickname2);

}  // namespace pairly::comparison
