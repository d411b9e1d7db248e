#include "core/comparison/period_report.h"

#include <gtest/gtest.h>

namespace pairly::comparison {
namespace {

using store::MeasurementRecord;

MeasurementRecord rec(const char* date, float weight) {
    MeasurementRecord r;
    r.date = date;
    r.weight = weight;
    return r;
}

using Cells = std::array<std::string, 5>;

TEST(PeriodReport, WeeksFromSundayToSaturdayAcrossMonthAndYearEnds) {
    const std::vector<MeasurementRecord> log1 = {
        rec("2026/12/20", 80.0f), rec("2026/12/26", 81.0f),  // Sun..Sat of one week
        rec("2026/12/31", 80.5f), rec("2027/01/02", 80.1f),  // Thursday, Saturday: one week
        rec("2027/01/10", 80.3f)};                           // a week later: 01/03 has none
    const std::vector<MeasurementRecord> log2 = {rec("2026/12/27", 60.0f), rec("bad date", 1.0f),
                                                 rec("2027/01/04", 59.8f),
                                                 rec("2027/01/05", 59.9f)};
    const auto rows = buildPeriodReport(log1, log2, ReportPeriod::Week);
    const struct {
        const char* label;
        Cells p1, p2;
    } expected[] = {
        {"2026/12/20～12/26", {"2", "80.5", "80.0", "81.0", ""}, {}},
        {"2026/12/27～01/02",
         {"2", "80.3", "80.1", "80.5", "-0.2"},
         {"1", "60.0", "60.0", "60.0", ""}},
        {"2027/01/03～01/09", {}, {"2", "59.9", "59.8", "59.9", "-0.1"}},
        {"2027/01/10～01/16", {"1", "80.3", "80.3", "80.3", "±0.0"}, {}},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].label, expected[i].label);
        EXPECT_EQ(partnerCells(rows[i].partners[0]), expected[i].p1) << rows[i].label;
        EXPECT_EQ(partnerCells(rows[i].partners[1]), expected[i].p2) << rows[i].label;
    }
}

TEST(PeriodReport, CalendarMonths) {
    const std::vector<MeasurementRecord> log1 = {rec("2026/01/31", 70.0f), rec("2026/02/01", 70.4f),
                                                 rec("2026/02/28", 70.6f),
                                                 rec("2026/04/01", 69.0f)};
    const auto rows = buildPeriodReport(log1, {}, ReportPeriod::Month);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, "2026/01");
    EXPECT_EQ(rows[1].label, "2026/02");
    EXPECT_EQ(rows[2].label, "2026/04");  // March without weighings has no row
    EXPECT_EQ(partnerCells(rows[1].partners[0]), (Cells{"2", "70.5", "70.4", "70.6", "+0.5"}));
    EXPECT_EQ(partnerCells(rows[2].partners[0]), (Cells{"1", "69.0", "69.0", "69.0", "-1.5"}));
    EXPECT_EQ(partnerCells(rows[2].partners[1]), Cells{});
    EXPECT_TRUE(buildPeriodReport({}, {}, ReportPeriod::Month).empty());
    const auto exact = buildPeriodReport({rec("2026/06/01", 54.0f), rec("2026/06/02", 53.2f),
                                          rec("2026/06/03", 53.6f), rec("2026/06/04", 53.8f)},
                                         {}, ReportPeriod::Month);
    EXPECT_EQ(partnerCells(exact[0].partners[0])[1], "53.7");  // exactly 53.65, away from 0
    EXPECT_EQ(reportHeaders(ReportPeriod::Month, "たくや", "みさき")[6], "みさき 回数");
}

}  // namespace
}  // namespace pairly::comparison
