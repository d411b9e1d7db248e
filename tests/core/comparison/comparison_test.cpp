#include "core/comparison/comparison.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/comparison/daily_average.h"
#include "core/text/numbers.h"

namespace pairly::comparison {

void PrintTo(const AxisRange& r, std::ostream* os) {
    *os << r.minimum << ".." << r.maximum << (r.used ? "" : " (unused)");
}

namespace {

using store::MeasurementRecord;
using Log = std::vector<MeasurementRecord>;
using Series = std::vector<std::string>;

// A chart series as its labels write it; "" for a missing point.
Series shown(const chart::Series& series) {
    Series out;
    for (double v : series) out.push_back(std::isnan(v) ? "" : text::doubleText(v));
    return out;
}

chart::Series figures(const Series& texts) {
    chart::Series out;
    for (const std::string& t : texts)
        out.push_back(t.empty() ? std::nan("") : text::leadingNumber(t));
    return out;
}

MeasurementRecord rec(const char* date, float weight) {
    MeasurementRecord r;
    r.date = date;
    r.situation = "朝";
    r.weight = weight;
    return r;
}

ComparisonModel build(const Log& log1, const Log& log2, float target1 = 0, float target2 = 0) {
    return buildComparison({log1, log2, "たろう", "はなこ", target1, target2});
}

Series column(const DailyAverages& d, std::string DailyAverageRow::*field) {
    Series out;
    for (const auto& row : d.rows) out.push_back(row.*field);
    return out;
}

TEST(DailyAverages, LaterStartEmptyCellsAndCarryForward) {
    // Partner 2 starts three days after partner 1; both skip days afterwards.
    const Log log1 = {rec("2026/11/01", 60.0f), rec("2026/11/02", 60.5f), rec("2026/11/03", 61.0f),
                      rec("2026/11/05", 60.0f)};
    const Log log2 = {rec("2026/11/04", 50.0f), rec("2026/11/06", 49.5f)};
    const ComparisonModel m = build(log1, log2);
    const DailyAverages& d = m.daily;

    ASSERT_TRUE(d.hasPeriod);
    EXPECT_EQ(d.days, 6);
    EXPECT_EQ(column(d, &DailyAverageRow::dayNumber), (Series{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(column(d, &DailyAverageRow::date),
              (Series{"26/11/01", "26/11/02", "26/11/03", "26/11/04", "26/11/05", "26/11/06"}));
    EXPECT_EQ(column(d, &DailyAverageRow::weight1),
              (Series{"60.0", "60.5", "61.0", "", "60.0", ""}));
    EXPECT_EQ(column(d, &DailyAverageRow::weight2), (Series{"", "", "", "50.0", "", "49.5"}));
    // Chart: nothing before partner 2's first day, the previous day's average afterwards.
    EXPECT_EQ(shown(d.separate.series1), (Series{"60", "60.5", "61", "61", "60", "60"}));
    EXPECT_EQ(shown(d.separate.series2), (Series{"", "", "", "50", "50", "49.5"}));
}

TEST(DailyAverages, SameDayAveragesAndAxisLimits) {
    const Log log1 = {rec("2026/11/01", 60.0f), rec("2026/11/01", 61.0f),
                      rec("2026/11/02", 72.05f)};
    const Log log2 = {rec("2026/11/01", 55.3f), rec("2026/11/02", 55.4f), rec("2026/11/02", 55.5f)};
    const DailyAverages d = build(log1, log2).daily;
    EXPECT_EQ(d.rows[0].weight1, "60.5");
    EXPECT_EQ(shown(d.separate.series1)[0], "60.5");
    EXPECT_EQ(d.rows[1].weight2, "55.5");  // (55.4 + 55.5) / 2 = 55.45 in float, shown "55.5"
    EXPECT_EQ(shown(d.separate.series2)[1], "55.45");
    // Maximum 72.05: Int(72.95) = 72; minimum 60.0 -> 60.
    EXPECT_EQ(d.separate.left, (AxisRange{60, 72, true}));
    EXPECT_EQ(d.separate.right, (AxisRange{55, 56, true}));
    EXPECT_EQ(d.automaticLowerBound1, 60);
    EXPECT_EQ(d.automaticLowerBound2, 55);

    // Axis maximum Int(max + 0.9) for a few maxima.
    const struct {
        float maximum;
        int axisMaximum;
    } cases[] = {{72.05f, 72}, {72.0f, 72}, {72.1f, 73}, {71.95f, 72}, {72.99f, 73}};
    for (const auto& c : cases) {
        const DailyAverages one =
            build({rec("2026/11/01", 50.0f), rec("2026/11/02", c.maximum)}, {}).daily;
        EXPECT_EQ(one.separate.left.maximum, c.axisMaximum) << c.maximum;
    }
}

TEST(Comparison, StatisticsTextsAndWinners) {
    const Log log1 = {rec("2026/10/01", 70.0f), rec("2026/10/02", 69.5f), rec("2026/10/02", 69.8f),
                      rec("2026/10/11", 68.8f)};
    const Log log2 = {rec("2026/10/04", 55.0f), rec("2026/10/06", 54.0f), rec("2026/10/07", 54.6f)};
    const ComparisonModel m = build(log1, log2, 70.0f, 50.0f);

    const struct {
        int row;
        const char *text1, *text2;
        bool mark1, mark2;
    } expected[] = {
        {0, "たろう", "はなこ", false, false},
        {1, "4 回  ( 57.1% )", "3 回  ( 42.9% )", true, false},
        {2, "26/10/01 → 10日", "26/10/04 → 3日", true, false},
        {3, "0.36 回 / 日", "0.75 回 / 日", false, true},
        {4, "68.8Kg ( -1.2Kg )", "54.0Kg ( -1.0Kg )", true, false},
        {5, "68.8Kg ( -1.2Kg )", "54.6Kg ( -0.4Kg )", true, false},
        // Partner 1 is 1.2 kg below the target and wins against a partner above it.
        {6, "70.0Kgまで ( -1.2Kg )", "50.0Kgまで ( 4.6Kg )", true, false},
        // 1.2 of 70.0 against 0.4 of 55.0.
        {7, "1.7% 減", "0.7% 減", true, false},
    };
    for (const auto& e : expected) {
        const StatisticsRow& row = m.rows[static_cast<std::size_t>(e.row)];
        EXPECT_EQ(row.text1, e.text1) << "row " << e.row;
        EXPECT_EQ(row.text2, e.text2) << "row " << e.row;
        EXPECT_EQ(row.mark1, e.mark1) << "row " << e.row;
        EXPECT_EQ(row.mark2, e.mark2) << "row " << e.row;
    }
    EXPECT_EQ(shareBarWidth(300, m.share1), 171);  // Int(300 × 57.14286 ÷ 100)
}

TEST(Comparison, TiesAndSingleDayLogs) {
    // Equal counts, first and last record on one day, minimum equal to the first weight,
    // equal differences: every mark stays on both sides.
    const Log log1 = {rec("2026/12/01", 60.0f), rec("2026/12/01", 60.2f), rec("2026/12/01", 60.0f)};
    const Log log2 = {rec("2026/12/01", 50.0f), rec("2026/12/01", 50.3f), rec("2026/12/01", 50.0f)};
    const ComparisonModel m = build(log1, log2, 60.0f, 50.0f);
    EXPECT_EQ(m.rows[1].text1, "3 回  ( 50.0% )");
    EXPECT_EQ(m.rows[1].text2, "3 回  ( 50.0% )");
    EXPECT_EQ(m.rows[2].text1, "26/12/01 → 0日");
    EXPECT_EQ(m.rows[3].text1, "3.00 回 / 日");
    EXPECT_EQ(m.rows[4].text1, "60.0Kg ( 0.0Kg )");
    EXPECT_EQ(m.rows[6].text2, "50.0Kgまで ( 0.0Kg )");
    EXPECT_EQ(m.rows[7].text1, "0.0%");
    for (int i = 1; i <= 7; ++i) {
        EXPECT_TRUE(m.rows[static_cast<std::size_t>(i)].mark1) << i;
        EXPECT_TRUE(m.rows[static_cast<std::size_t>(i)].mark2) << i;
    }
    EXPECT_EQ(m.daily.days, 1);
    EXPECT_EQ(shareBarWidth(300, m.share1), 150);
}

TEST(Comparison, EmptyOrMissingLogs) {
    // Partner 2 without records: its figures are dashes, partner 1 is drawn alone.
    const Log log1 = {rec("2026/12/01", 60.0f), rec("2026/12/03", 59.0f)};
    ComparisonModel m = build(log1, {});
    EXPECT_EQ(m.rows[1].text1, "2 回  ( 100.0% )");
    EXPECT_EQ(m.rows[1].text2, "0 回  ( 0.0% )");
    EXPECT_TRUE(m.rows[1].mark1);
    EXPECT_FALSE(m.rows[1].mark2);
    for (int i = 2; i <= 6; ++i) {
        EXPECT_EQ(m.rows[static_cast<std::size_t>(i)].text2, kNoFigure);
        EXPECT_FALSE(m.rows[static_cast<std::size_t>(i)].mark1);
        EXPECT_FALSE(m.rows[static_cast<std::size_t>(i)].mark2);
    }
    EXPECT_EQ(m.daily.days, 3);
    EXPECT_EQ(shown(m.daily.separate.series2), (Series{"", "", ""}));
    EXPECT_FALSE(m.daily.separate.right.used);
    const AverageChart same = rebuildSameAxisChart(m.daily.separate);
    EXPECT_EQ(same.left, (AxisRange{59, 60, true}));
    EXPECT_EQ(shown(overlaySameAxisChart(m.daily.separate, same).series1), shown(same.series1));

    // Partner 1 without records: the period is partner 2's alone.
    m = build({}, log1);
    EXPECT_EQ(m.rows[1].text1, "0 回  ( 0.0% )");
    EXPECT_EQ(m.daily.days, 3);
    EXPECT_EQ(shown(m.daily.separate.series1), (Series{"", "", ""}));
    EXPECT_EQ(shown(m.daily.separate.series2), (Series{"60", "60", "59"}));

    // Both empty: names, dashes, no period, no marks.
    m = build({}, {});
    EXPECT_EQ(m.rows[0].text1, "たろう");
    EXPECT_EQ(m.rows[3].text2, kNoFigure);
    EXPECT_FALSE(m.daily.hasPeriod);
    EXPECT_TRUE(m.daily.rows.empty());
    EXPECT_EQ(m.daily.separate.points(), 0);
    EXPECT_EQ(shareBarWidth(300, m.share1), 0);
    EXPECT_FALSE(rebuildSameAxisChart(m.daily.separate).left.used);
}

TEST(DailyAverages, RecordsOutOfOrderOrUndatedStillCount) {
    // A hand-edited log out of date order keeps every record on its own day; a record
    // without a valid date is left out.
    const Log log1 = {rec("2026/11/03", 61.0f), rec("2026/11/01", 60.0f), rec("2026/13/40", 99.0f),
                      rec("2026/11/02", 60.4f)};
    const DailyAverages d = build(log1, {}).daily;
    EXPECT_EQ(d.days, 3);
    EXPECT_EQ(column(d, &DailyAverageRow::weight1), (Series{"60.0", "60.4", "61.0"}));
    EXPECT_EQ(d.separate.left, (AxisRange{60, 61, true}));

    // A period longer than the 16-bit day numbers keeps its last days.
    const DailyAverages longSpan =
        build({rec("1900/01/01", 60.0f), rec("2026/12/07", 61.0f)}, {}).daily;
    ASSERT_EQ(longSpan.days, kMaxPeriodDays);
    EXPECT_EQ(longSpan.rows.back().date, "26/12/07");
    EXPECT_EQ(longSpan.rows.back().weight1, "61.0");
    EXPECT_EQ(longSpan.rows.front().weight1, "");
    EXPECT_EQ(shown(longSpan.separate.series1).front(), "");
}

AverageChart chartOf(Series s1, Series s2, AxisRange left, AxisRange right) {
    AverageChart c;
    c.series1 = figures(s1);
    c.series2 = figures(s2);
    c.left = left;
    c.right = right;
    return c;
}

TEST(SameAxisChart, RebuildAndOverlay) {
    const AxisRange left{60, 75, true}, right{50, 58, true};
    const struct {
        const char* name;
        Series s1, s2;
        Series overlaid1, overlaid2;
    } cases[] = {
        // Partner 1 heavier on the first common day: partner 2 goes up by 15.
        {"p1 heavier",
         {"70", "70.5", "", "71"},
         {"55", "", "54.5", "56"},
         {"70", "70.5", "", "71"},
         {"70", "", "69.5", "71"}},
        // The first common day is the second point; partner 2 heavier: partner 1 lifted.
        {"p2 heavier",
         {"", "50", "51", "50.5"},
         {"60", "60", "62", "61"},
         {"", "60", "61", "60.5"},
         {"60", "60", "62", "61"}},
        // Equal weights on the first common day: nothing moves.
        {"equal", {"60", "61"}, {"60", "59"}, {"60", "61"}, {"60", "59"}},
    };
    for (const auto& c : cases) {
        const AverageChart separate = chartOf(c.s1, c.s2, left, right);
        const AverageChart same = rebuildSameAxisChart(separate);
        EXPECT_EQ(shown(same.series1), c.s1) << c.name;
        EXPECT_EQ(shown(same.series2), c.s2) << c.name;
        EXPECT_EQ(same.left, (AxisRange{50, 75, true})) << c.name;

        const AverageChart overlaid = overlaySameAxisChart(separate, same);
        EXPECT_EQ(shown(overlaid.series1), c.overlaid1) << c.name;
        EXPECT_EQ(shown(overlaid.series2), c.overlaid2) << c.name;
        EXPECT_EQ(overlaid.left, (AxisRange{60, 75, true})) << c.name;  // 75 − 15

        // Overlaying an overlaid chart finds equal values and changes nothing.
        const AverageChart twice = overlaySameAxisChart(separate, overlaid);
        EXPECT_EQ(shown(twice.series1), shown(overlaid.series1)) << c.name;
        EXPECT_EQ(shown(twice.series2), shown(overlaid.series2)) << c.name;
    }
}

TEST(SameAxisChart, OverlayOfFractionalWeightsIsStable) {
    // Real daily averages from a log: the shift keeps the texts readable and a second
    // overlay finds the lines already on top of each other.
    const Log log1 = {rec("2026/11/01", 70.1f), rec("2026/11/02", 69.7f), rec("2026/11/03", 69.9f)};
    const Log log2 = {rec("2026/11/01", 55.3f), rec("2026/11/03", 54.8f)};
    const DailyAverages d = build(log1, log2).daily;
    const AverageChart same = rebuildSameAxisChart(d.separate);
    const AverageChart once = overlaySameAxisChart(d.separate, same);
    ASSERT_EQ(once.series2.size(), 3u);
    EXPECT_EQ(static_cast<float>(once.series2[0]), 70.1f);
    EXPECT_NEAR(once.series2[2], 69.6, 1e-5);
    EXPECT_EQ(shown(once.series1), shown(same.series1));
    const AverageChart twice = overlaySameAxisChart(d.separate, once);
    EXPECT_EQ(shown(twice.series2), shown(once.series2));
}

TEST(SeparateAxes, LowerBoundModes) {
    AverageChart separate = chartOf({"70"}, {"55"}, {68, 75, true}, {53, 58, true});
    const LowerBounds bounds{68, 53, 58.5f, 49.0f};

    setSeparateLowerBounds(separate, LowerBoundMode::Target, bounds);
    EXPECT_EQ(separate.left, (AxisRange{58, 75, true}));
    EXPECT_EQ(separate.right, (AxisRange{49, 58, true}));
    // The same-axis chart takes the minima of the mode last applied.
    EXPECT_EQ(rebuildSameAxisChart(separate).left, (AxisRange{49, 75, true}));

    setSeparateLowerBounds(separate, LowerBoundMode::Automatic, bounds);
    EXPECT_EQ(separate.left, (AxisRange{68, 75, true}));
    EXPECT_EQ(separate.right, (AxisRange{53, 58, true}));

    // A target above every weight still leaves a drawable axis.
    setSeparateLowerBounds(separate, LowerBoundMode::Target, {68, 53, 80.0f, 49.0f});
    EXPECT_EQ(separate.left.minimum, 80);
    EXPECT_EQ(displayedRange(separate.left), (AxisRange{80, 81, true}));

    // A partner without records keeps an unused axis whatever the mode.
    AverageChart alone = chartOf({"70"}, {""}, {68, 75, true}, {});
    setSeparateLowerBounds(alone, LowerBoundMode::Target, bounds);
    EXPECT_FALSE(alone.right.used);
    EXPECT_EQ(rebuildSameAxisChart(alone).left, (AxisRange{58, 75, true}));
}

TEST(SeparateAxes, MajorDivisionsGiveRoundSteps) {
    const struct {
        AxisRange range;
        int divisions;
    } cases[] = {{{60, 72, true}, 6},  {{50, 75, true}, 5}, {{60, 75, true}, 3},
                 {{55, 56, true}, 1},  {{58, 58, true}, 1}, {{0, 100, true}, 10},
                 {{60, 70, true}, 10}, {{49, 62, true}, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(majorDivisions(c.range), c.divisions)
            << c.range.minimum << "-" << c.range.maximum;
}

}  // namespace
}  // namespace pairly::comparison
