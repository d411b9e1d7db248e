#include "core/list/measurement_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text/numbers.h"

namespace pairly::list {
namespace {

using store::MeasurementRecord;
using Log = std::vector<MeasurementRecord>;
using Texts = std::vector<std::string>;

MeasurementRecord rec(const char* date, float weight, const char* situation = "起床後",
                      float bodyFat = 22.0f) {
    MeasurementRecord r;
    r.date = date;
    r.situation = situation;
    r.weight = weight;
    r.bodyFat = bodyFat;
    r.basalMetabolism = 1450;
    r.visceralFat = 8;
    r.muscleMass = 48.3f;
    r.muscleScore = 2;
    r.boneMass = 2.9f;
    return r;
}

Texts column(const MeasurementList& list, int c) {
    Texts out;
    for (std::size_t i = 0; i < list.rows.size(); ++i)
        out.push_back(listCell(list, i, c).formatted());
    return out;
}

std::string cell(const MeasurementList& list, std::size_t row, int c) {
    return listCell(list, row, c).formatted();
}

Texts rowTexts(const MeasurementList& list, std::size_t row) {
    Texts out;
    for (int c = 0; c < kListColumns; ++c) out.push_back(cell(list, row, c));
    return out;
}

Texts compositionTexts(const MeasurementList& list, std::size_t row) {
    Texts out;
    for (int c = 0; c < kListCompositionColumns; ++c)
        out.push_back(compositionCell(list, row, c).formatted());
    return out;
}

Texts texts(const std::vector<Text>& views) { return Texts(views.begin(), views.end()); }

ListFilters period(const char* start, const char* end) {
    ListFilters f;
    f.start = start;
    f.end = end;
    return f;
}

constexpr float kHeight = 160.0f;

TEST(MeasurementList, RowsDifferencesAndArrows) {
    // 2026/12/07 is a Monday. Differences of ±0.04 kg show as 0.0 and get "→".
    const Log log = {rec("2026/12/06", 60.0f, "起床後", 21.5f), rec("2026/12/07", 60.04f),
                     rec("2026/12/07", 60.0f), rec("2026/12/07", 60.5f), rec("2026/12/08", 59.7f)};
    const MeasurementList list = buildUnfilteredList(log, kHeight);
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_EQ(rowTexts(list, 0), (Texts{"1", "26/12/06", "日", "起床後", "60.0Kg", "0.0Kg", "→",
                                        "0.0Kg", "→", "23.4", "6.5%", "21.5%"}));
    EXPECT_EQ(column(list, 5), (Texts{"0.0Kg", "0.0Kg", "0.0Kg", "0.5Kg", "-0.8Kg"}));
    EXPECT_EQ(column(list, 6), (Texts{"→", "→", "→", "↑", "↓"}));
    EXPECT_EQ(column(list, 7), (Texts{"0.0Kg", "0.0Kg", "0.0Kg", "0.5Kg", "-0.3Kg"}));
    EXPECT_EQ(column(list, 8), (Texts{"→", "→", "→", "↑", "↓"}));
    EXPECT_EQ(list.rows[4].previousArrow, base::Arrow::Down);
    EXPECT_EQ(list.rows[3].firstArrow, base::Arrow::Up);
    EXPECT_EQ(column(list, 2), (Texts{"日", "月", "月", "月", "火"}));

    EXPECT_EQ(compositionTexts(list, 0), (Texts{"1", "26/12/06", "日", "起床後", "60.0Kg", "21.5%",
                                                "1450kcal", "8", "48.3Kg", "2", "2.9Kg"}));
    EXPECT_EQ(texts(list.dates), (Texts{"2026/12/06", "2026/12/07", "2026/12/08"}));
    EXPECT_FALSE(list.scrollToLastRow);
}

TEST(MeasurementList, FilteredDifferencesCompareListedRecordsOnly) {
    // Mondays 11/30 and 12/07 with other days between: differences skip the other days.
    const Log log = {rec("2026/11/30", 70.0f), rec("2026/12/01", 75.0f), rec("2026/12/05", 50.0f),
                     rec("2026/12/07", 69.0f), rec("2026/12/07", 69.5f)};
    ListFilters f = period("2026/11/30", "2026/12/07");
    f.weekday = 1;
    const MeasurementList list = buildFilteredList(log, kHeight, f);
    EXPECT_EQ(column(list, 1), (Texts{"26/11/30", "26/12/07", "26/12/07"}));
    EXPECT_EQ(column(list, 0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(column(list, 5), (Texts{"0.0Kg", "-1.0Kg", "0.5Kg"}));
    EXPECT_EQ(column(list, 7), (Texts{"0.0Kg", "-1.0Kg", "-0.5Kg"}));
    EXPECT_TRUE(list.dates.empty());  // filtered builds leave the combo lists alone
    EXPECT_FALSE(list.unfiltered);
}

TEST(MeasurementList, SelectionByPeriodSituationAndWeekday) {
    const Log log = {
        rec("2026/11/30", 60, "起床後"),      // Monday
        rec("2026/12/01", 60, "夕食後"),      // Tuesday
        rec("2026/12/05", 60, "夕食後ジム"),  // Saturday
        rec("2026/12/07", 60, "Ａ朝"),        // Monday
        rec("2026/12/07", 60, "a朝"),         // Monday
        rec("2026/12/08", 60, "起床後"),      // after "today" in the cases below
        rec("2026/13/45", 60, "起床後"),      // not a date
        rec("", 60, "起床後"),                // no date at all
    };
    const struct {
        const char* what;
        ListFilters filters;
        Texts dates;
    } cases[] = {
        {"both bounds inclusive",
         period("2026/12/01", "2026/12/07"),
         {"26/12/01", "26/12/05", "26/12/07", "26/12/07"}},
        {"empty start passes every date", period("", "2026/12/01"), {"26/11/30", "26/12/01", ""}},
        {"empty end passes nothing", period("2026/11/30", ""), {}},
        {"typed text is a text bound",
         period("2026/12/06", "abc"),
         {"26/12/07", "26/12/07", "26/12/08", "2026/13/45"}},
        {"invalid date typed", period("2026/13/01", "2026/13/99"), {"2026/13/45"}},
        {"a period with no records", period("2026/12/02", "2026/12/04"), {}},
        {"one character anywhere",
         {"", "9999", "後", 99},
         {"26/11/30", "26/12/01", "26/12/05", "26/12/08", "2026/13/45", ""}},
        {"an entry contained in another", {"", "9999", "夕食後", 99}, {"26/12/01", "26/12/05"}},
        {"case and width matter", {"", "9999", "a", 99}, {"26/12/07"}},
        {"weekday skips bad dates", {"", "9999", "", 1}, {"26/11/30", "26/12/07", "26/12/07"}},
        {"weekday and situation", {"", "9999", "朝", 1}, {"26/12/07", "26/12/07"}},
        {"weekday with one week",
         {"2026/11/30", "2026/12/07", "", 1},
         {"26/11/30", "26/12/07", "26/12/07"}},
    };
    for (const auto& c : cases) {
        const MeasurementList list = buildFilteredList(log, kHeight, c.filters);
        EXPECT_EQ(column(list, 1), c.dates) << c.what;
        // Both tables list the same records.
        for (std::size_t i = 0; i < list.rows.size(); ++i)
            EXPECT_EQ(compositionTexts(list, i)[1], cell(list, i, 1)) << c.what;
        EXPECT_EQ(list.chart.points(), static_cast<int>(list.rows.size())) << c.what;
    }
    // A record without a valid date is listed whole, with no weekday.
    const MeasurementList all = buildUnfilteredList(log, kHeight);
    EXPECT_EQ(cell(all, 6, 1), "2026/13/45");
    EXPECT_EQ(cell(all, 6, 2), "");
    EXPECT_EQ(cell(all, 7, 2), "");
}

TEST(MeasurementList, DispatchModes) {
    const struct {
        const char* situation;
        int weekday;
        ListMode mode;
    } cases[] = {{"", kAllWeekdays, ListMode::Period},
                 {"朝", kAllWeekdays, ListMode::PeriodSituation},
                 {"", 0, ListMode::PeriodWeekday},
                 {"朝", 6, ListMode::PeriodWeekdaySituation}};
    for (const auto& c : cases) {
        ListFilters f;
        f.situation = c.situation;
        f.weekday = c.weekday;
        EXPECT_EQ(listMode(f), c.mode) << c.situation << c.weekday;
    }
}

TEST(MeasurementList, PeriodButtons) {
    const text::Date today{2026, 3, 1};
    const struct {
        const char* name;
        PeriodTexts texts;
    } cases[] = {
        {"cmdKikan1", {"2026/02/28", "2026/03/01"}}, {"cmdKikan8", {"2026/02/27", "2026/03/01"}},
        {"cmdKikan2", {"2026/02/22", "2026/03/01"}}, {"cmdKikan3", {"2026/02/15", "2026/03/01"}},
        {"cmdKikan4", {"2026/01/30", "2026/03/01"}}, {"cmdKikan5", {"2025/12/01", "2026/03/01"}},
        {"cmdKikan6", {"2025/09/02", "2026/03/01"}}, {"cmdKikan7", {"2025/03/01", "2026/03/01"}},
        {"cmdAllDay", {"2024/05/06", "2026/03/01"}},
    };
    for (const auto& c : cases) {
        const auto* button =
            std::find_if(kPeriodButtons.begin(), kPeriodButtons.end(),
                         [&](const PeriodButton& b) { return std::string(b.name) == c.name; });
        ASSERT_NE(button, kPeriodButtons.end()) << c.name;
        EXPECT_EQ(periodTexts(*button, today, "2024/05/06"), c.texts) << c.name;
    }
    // "全部" starts at the earliest date of the log read, whatever its order.
    EXPECT_EQ(firstRecordDate({rec("2026/01/05", 60), rec("2025/12/31", 60)}), "2025/12/31");
    EXPECT_EQ(firstRecordDate({}), "");
}

TEST(MeasurementList, HeightZeroAndEmptyLog) {
    const MeasurementList noHeight = buildUnfilteredList({rec("2026/12/07", 60)}, 0.0f);
    EXPECT_EQ(cell(noHeight, 0, 9), "");
    EXPECT_EQ(cell(noHeight, 0, 10), "");
    EXPECT_EQ(cell(noHeight, 0, 11), "22.0%");
    EXPECT_EQ(cell(buildUnfilteredList({rec("2026/12/07", 60)}, -170.0f), 0, 9), "");

    for (const MeasurementList& empty :
         {buildUnfilteredList({}, kHeight), buildFilteredList({}, kHeight, period("", "9"))}) {
        EXPECT_TRUE(empty.rows.empty());
        EXPECT_TRUE(compositionCell(empty, 0, 0).isMissing());
        EXPECT_TRUE(empty.dates.empty());
        EXPECT_FALSE(empty.chart.hasData);
        EXPECT_EQ(empty.chart.points(), 0);
        EXPECT_FALSE(empty.smallCharts.metabolism.hasData);
        EXPECT_FALSE(empty.smallCharts.bone.hasData);
        EXPECT_TRUE(empty.smallCharts.muscle.series1.empty());
    }
}

TEST(MeasurementList, ChartSeriesAndAxes) {
    Log log = {rec("2026/12/06", 60.1f, "朝", 25.1f), rec("2026/12/07", 58.5f, "朝", 20.0f)};
    log[0].basalMetabolism = 1450;
    log[1].basalMetabolism = 1382;
    log[0].visceralFat = 9;
    log[1].visceralFat = 7;
    log[0].muscleMass = 32.04f;  // shown "32.0Kg"
    log[1].muscleMass = 30.5f;
    log[0].boneMass = 2.96f;  // shown "3.0Kg": the chart takes the shown figure
    log[1].boneMass = 2.8f;
    const MeasurementList list = buildUnfilteredList(log, kHeight);

    EXPECT_EQ(list.chart.weights, (chart::Series{60.1, 58.5}));
    EXPECT_EQ(list.chart.bodyFats, (chart::Series{25.1, 20}));
    // Int(60.1f + 0.9) is 60, below the heaviest point: the axis is widened to hold it.
    EXPECT_EQ(list.chart.weightAxis, (chart::AxisRange{58, 61, 3}));
    EXPECT_EQ(list.chart.bodyFatAxis, (chart::AxisRange{16, 29, 10}));

    const SmallCharts& s = list.smallCharts;
    EXPECT_EQ(s.metabolism.series1, (chart::Series{1450, 1382}));
    EXPECT_EQ(s.metabolism.series2, (chart::Series{9, 7}));
    EXPECT_EQ(s.metabolism.left, (chart::AxisRange{1370, 1460, 10}));
    EXPECT_EQ(s.metabolism.right, (chart::AxisRange{6, 10, 0}));
    EXPECT_EQ(s.muscle.series1, (chart::Series{32, 30.5}));
    EXPECT_EQ(s.muscle.left, (chart::AxisRange{30, 32, 10}));
    EXPECT_EQ(s.muscle.right, (chart::AxisRange{1, 3, 0}));
    EXPECT_EQ(s.bone.series1, (chart::Series{3, 2.8}));
    EXPECT_TRUE(s.bone.series2.empty());
    EXPECT_NEAR(s.bone.left.minimum, 2.7, 1e-6);
    EXPECT_NEAR(s.bone.left.maximum, 3.1, 1e-6);
    EXPECT_EQ(s.bone.left.majorDivisions, 4);
}

TEST(MeasurementList, ScrollThresholdAndComboDates) {
    Log log;
    for (int i = 0; i < 8; ++i) log.push_back(rec(i < 5 ? "2026/12/01" : "2026/12/02", 60));
    EXPECT_FALSE(buildUnfilteredList(log, kHeight).scrollToLastRow);  // 9 rows with the header
    log.push_back(rec("2026/11/30", 60));                             // out of date order
    log.push_back(rec("2026/12/01", 60));
    const MeasurementList list = buildUnfilteredList(log, kHeight);
    EXPECT_TRUE(list.scrollToLastRow);
    // A date is offered again when the log returns to it.
    EXPECT_EQ(texts(list.dates), (Texts{"2026/12/01", "2026/12/02", "2026/11/30", "2026/12/01"}));
}

}  // namespace
}  // namespace pairly::list

namespace pairly::list {
namespace {

// Cells are numbers until shown: extreme figures show as the tables always showed them.
TEST(MeasurementList, TypedCellsShowExtremeFigures) {
    MeasurementRecord r = rec("2026/12/07", 32766.96f, "", -3.25f);
    r.basalMetabolism = 32767;
    r.visceralFat = -5;
    r.muscleMass = 52.65f;  // 52.650001…: rounds up
    r.muscleScore = -32768;
    r.boneMass = 2.6f;
    const MeasurementList list = buildUnfilteredList({rec("2026/12/06", 0.05f), r}, kHeight);
    struct Case {
        int col;
        bool composition;
        const char* shown;
    } cases[] = {
        {4, false, "32767.0Kg"}, {5, false, "32766.9Kg"}, {6, false, "↑"}, {11, false, "-3.3%"},
        {3, false, ""},          {6, true, "32767kcal"},  {7, true, "-5"}, {8, true, "52.7Kg"},
        {9, true, "-32768"},     {10, true, "2.6Kg"},     {0, true, "2"},  {12, false, ""},
        {11, true, ""},
    };
    for (const Case& c : cases) {
        const text::Cell cell =
            c.composition ? compositionCell(list, 1, c.col) : listCell(list, 1, c.col);
        EXPECT_EQ(cell.formatted(), c.shown) << c.col << (c.composition ? " composition" : "");
    }
    EXPECT_TRUE(listCell(list, 2, 0).isMissing());
    EXPECT_TRUE(listCell(list, 1, -1).isMissing());
}

// The arrow beside a difference follows the difference as the cell shows it.
TEST(MeasurementList, ArrowsFollowTheShownDifference) {
    const float pairs[][2] = {{60.0f, 60.05f}, {60.0f, 59.95f}, {60.0f, 60.04f},  {60.0f, 60.06f},
                              {60.0f, 59.94f}, {0.15f, 0.2f},   {100.0f, 99.95f}, {70.0f, 70.0f}};
    for (const auto& p : pairs) {
        const MeasurementList list =
            buildUnfilteredList({rec("2026/12/06", p[0]), rec("2026/12/07", p[1])}, kHeight);
        const std::string shown = listCell(list, 1, 5).formatted();
        const base::Arrow expected = base::arrowOf(text::leadingNumber(shown));
        EXPECT_EQ(list.rows[1].previousArrow, expected) << p[0] << " → " << p[1] << " " << shown;
        EXPECT_EQ(listCell(list, 1, 6).formatted(), base::arrowText(expected)) << shown;
    }
}

}  // namespace
}  // namespace pairly::list
