#include "core/calendar/calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pairly::calendar {

void PrintTo(const base::Rgb& c, std::ostream* os) { *os << c.r << "," << c.g << "," << c.b; }
void PrintTo(const PaintedCell& c, std::ostream* os) {
    *os << "(" << c.row << "," << c.column << " ";
    PrintTo(c.colour, os);
    *os << ")";
}

namespace {

using store::MeasurementRecord;
using Log = std::vector<MeasurementRecord>;

MeasurementRecord rec(const char* date, float weight) {
    MeasurementRecord r;
    r.date = date;
    r.situation = "起床後";
    r.weight = weight;
    return r;
}

constexpr text::Date kToday{2026, 12, 7};

TEST(Calendar, FirstAgainstLastWeighingOfEachDay) {
    const struct {
        std::vector<float> weights;
        DayClass expected;
    } cases[] = {
        {{65.4f, 64.8f, 65.4f}, DayClass::NoChange},  // the middle weighing never matters
        {{65.4f, 65.2f}, DayClass::Decrease},
        {{99.8f, 100.2f}, DayClass::Increase},  // numbers, not texts
        {{65.4f, 70.0f, 65.2f}, DayClass::Decrease},
        {{60.0f, 59.0f, 60.1f}, DayClass::Increase},
        {{71.0f}, DayClass::Once},
    };
    for (const auto& c : cases) {
        Log log;
        for (float w : c.weights) log.push_back(rec("2026/12/03", w));
        const CalendarModel m = buildCalendarModel(log, kToday);
        ASSERT_EQ(m.days.size(), 1u);
        EXPECT_EQ(m.days[0].dayClass, c.expected) << c.weights.front() << "→" << c.weights.back();
        EXPECT_EQ(m.count(c.expected), 1);
    }
}

TEST(Calendar, MonthRowsDayCellsAndCounters) {
    // 15 January, then 20 March: no February row. The last day of January closes only when
    // March begins and stays in January's row; the newest day is a single weighing.
    const Log log = {rec("2025/12/31", 70.0f), rec("2026/01/15", 70.0f), rec("2026/01/15", 69.5f),
                     rec("2026/01/31", 69.0f), rec("2026/01/31", 69.0f), rec("2026/03/20", 68.0f),
                     rec("2026/03/21", 68.0f), rec("2026/03/21", 68.3f), rec("2026/03/22", 67.9f)};
    const CalendarModel m = buildCalendarModel(log, {2026, 3, 22});

    ASSERT_EQ(m.months.size(), 3u);
    EXPECT_EQ(m.months[0].label, "2025年12月");
    EXPECT_EQ(m.months[1].label, "2026年01月");
    EXPECT_EQ(m.months[2].label, "2026年03月");

    const base::Rgb green{192, 255, 192}, red{255, 192, 192}, yellow{255, 255, 192},
        purple{192, 192, 255};
    EXPECT_EQ(paintedCells(m, CalendarMode::Detailed), (std::vector<PaintedCell>{{1, 31, purple},
                                                                                 {2, 15, green},
                                                                                 {2, 31, yellow},
                                                                                 {3, 20, purple},
                                                                                 {3, 21, red},
                                                                                 {3, 22, purple}}));
    // Simple mode: no change goes green, once goes red; the counts stay per class.
    EXPECT_EQ(paintedCells(m, CalendarMode::Simple), (std::vector<PaintedCell>{{1, 31, red},
                                                                               {2, 15, green},
                                                                               {2, 31, green},
                                                                               {3, 20, red},
                                                                               {3, 21, red},
                                                                               {3, 22, red}}));
    // Switching modes touches only the no-change and once days.
    EXPECT_EQ(recolouredCells(m, CalendarMode::Detailed, CalendarMode::Simple),
              (std::vector<PaintedCell>{{1, 31, red}, {2, 31, green}, {3, 20, red}, {3, 22, red}}));
    EXPECT_EQ(recolouredCells(m, CalendarMode::Simple, CalendarMode::Detailed),
              (std::vector<PaintedCell>{
                  {1, 31, purple}, {2, 31, yellow}, {3, 20, purple}, {3, 22, purple}}));
    EXPECT_TRUE(recolouredCells(m, CalendarMode::Simple, CalendarMode::Simple).empty());

    EXPECT_EQ(legendText(m, Legend::Decrease), "体重減  1日");
    EXPECT_EQ(legendText(m, Legend::Increase), "体重増  1日");
    EXPECT_EQ(legendText(m, Legend::NoChange), "増減無し  1日");
    EXPECT_EQ(legendText(m, Legend::Once), "１回だけ計測  3日");
    EXPECT_EQ(m.goodDays(), 2);
    EXPECT_EQ(m.badDays(), 4);
    EXPECT_EQ(m.sign(), "<");
    EXPECT_EQ(m.face(), CalendarFace::Sad);
    // 2025/12/31 .. 2026/03/22 is 82 days, 6 of them measured.
    EXPECT_EQ(legendText(m, Legend::NotMeasured), "未計測  76日");
}

TEST(Calendar, LegendColoursStayDetailedInBothModes) {
    const struct {
        Legend entry;
        base::Rgb colour;
    } legend[] = {{Legend::Decrease, {192, 255, 192}},
                  {Legend::Increase, {255, 192, 192}},
                  {Legend::NoChange, {255, 255, 192}},
                  {Legend::Once, {192, 192, 255}},
                  {Legend::NotMeasured, {255, 255, 255}}};
    for (const auto& l : legend) EXPECT_EQ(legendColour(l.entry), l.colour);
}

TEST(Calendar, SignAndFace) {
    const struct {
        Log log;
        const char* sign;
        CalendarFace face;
    } cases[] = {
        {{}, "=", CalendarFace::Smiling},
        // One decrease against one once day.
        {{rec("2026/12/01", 60), rec("2026/12/01", 59), rec("2026/12/02", 60)},
         "=",
         CalendarFace::Smiling},
        {{rec("2026/12/01", 60), rec("2026/12/01", 60)}, ">", CalendarFace::Laughing},
        {{rec("2026/12/01", 60), rec("2026/12/01", 61)}, "<", CalendarFace::Sad},
    };
    for (const auto& c : cases) {
        const CalendarModel m = buildCalendarModel(c.log, kToday);
        EXPECT_EQ(m.sign(), c.sign) << c.log.size();
        EXPECT_EQ(m.face(), c.face) << c.log.size();
    }
}

TEST(Calendar, RecordsWithoutAValidDateAreSkipped) {
    // Bad dates sit between two weighings of one day: that day still compares 60 with 59.
    const Log log = {rec("2026/12/01", 60), rec("2026/12/32", 80), rec("2026/02/30", 80),
                     rec("2026/13/01", 80), rec("2026/12/1", 80),  rec("", 80),
                     rec("abcd/ef/gh", 80), rec("2026-12-01", 80), rec("2026/12/01", 59)};
    const CalendarModel m = buildCalendarModel(log, kToday);
    ASSERT_EQ(m.months.size(), 1u);
    ASSERT_EQ(m.days.size(), 1u);
    EXPECT_EQ(m.days[0].day, 1);
    EXPECT_EQ(m.days[0].dayClass, DayClass::Decrease);

    // Only undated records: nothing to show, nothing counted.
    const CalendarModel none = buildCalendarModel({rec("9999/99/99", 60), rec("x", 60)}, kToday);
    EXPECT_TRUE(none.months.empty());
    EXPECT_TRUE(none.days.empty());
    EXPECT_EQ(none.notMeasured, 0);
}

TEST(Calendar, NotMeasuredDaysFromThisLogsFirstDateToToday) {
    const struct {
        const char* what;
        Log log;
        text::Date today;
        int expected;
    } cases[] = {
        {"today counts, unmeasured", {rec("2026/12/01", 60), rec("2026/12/03", 60)}, kToday, 5},
        {"every day measured is 0, not -1",
         {rec("2026/12/05", 60), rec("2026/12/06", 60), rec("2026/12/07", 60)},
         kToday,
         0},
        {"first date after today", {rec("2027/01/01", 60)}, kToday, 0},
        {"days after today do not count as measured",
         {rec("2026/12/06", 60), rec("2026/12/08", 60), rec("2026/12/09", 60)},
         kToday,
         1},
        {"an undated first record gives way to the first dated one",
         {rec("", 60), rec("2026/12/06", 60)},
         kToday,
         1},
        {"a day named twice out of order counts once",
         {rec("2026/12/05", 60), rec("2026/12/06", 60), rec("2026/12/05", 61)},
         kToday,
         1},
        {"across a leap day", {rec("2024/02/28", 60)}, {2024, 3, 1}, 2},
        {"empty log", {}, kToday, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buildCalendarModel(c.log, c.today).notMeasured, c.expected) << c.what;
    }
}

TEST(Calendar, CellDateOfMonthLabelAndColumn) {
    const struct {
        const char* label;
        int column;
        std::optional<text::Date> expected;
    } cases[] = {
        {"2024年03月", 7, text::Date{2024, 3, 7}},
        {"2024年02月", 29, text::Date{2024, 2, 29}},
        {"2023年02月", 29, std::nullopt},
        {"2024年04月", 31, std::nullopt},
        {"2024年03月", 0, std::nullopt},   // the month column
        {"2024年03月", 32, std::nullopt},  // past the grid
        {"2024年03月", -1, std::nullopt},
        {"年月", 5, std::nullopt},  // the header row
        {"", 5, std::nullopt},
        {"2024/03", 5, std::nullopt},
        {"2024年13月", 1, std::nullopt},
        {"2024年3月", 1, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cellDate(c.label, c.column), c.expected) << c.label << " " << c.column;
    }
}

}  // namespace
}  // namespace pairly::calendar

namespace pairly::calendar {
namespace {

// From one day to the next: each day's first weighing against the first of the previous
// weighing day; the counters, sign and face follow these classes.
TEST(CalendarFromPreviousDay, FirstWeighingsOfConsecutiveWeighingDays) {
    auto rec = [](const char* date, float weight) {
        store::MeasurementRecord r;
        r.date = date;
        r.weight = weight;
        return r;
    };
    // Morning and evening: the within-day view sees red every day of this losing diary.
    const std::vector<store::MeasurementRecord> log = {
        rec("2026/12/01", 80.0f), rec("2026/12/01", 81.0f),   // first day: once
        rec("2026/12/02", 79.5f), rec("2026/12/02", 82.0f),   // 79.5 < 80.0
        rec("2026/12/05", 79.5f),                             // gap: against 12/02
        rec("2026/12/06", 79.6f), rec("2026/12/06", 79.0f)};  // 79.6 > 79.5
    const CalendarModel within = buildCalendarModel(log, {2026, 12, 7});
    const CalendarModel daily = buildCalendarModel(log, {2026, 12, 7}, DayBasis::FromPreviousDay);
    const DayClass expected[] = {DayClass::Once, DayClass::Decrease, DayClass::NoChange,
                                 DayClass::Increase};
    ASSERT_EQ(daily.days.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(daily.days[i].dayClass, expected[i]) << i;
        EXPECT_EQ(daily.days[i].day, within.days[i].day);
    }
    EXPECT_EQ(within.sign(), "<");
    EXPECT_EQ(within.face(), CalendarFace::Sad);
    EXPECT_EQ(daily.count(DayClass::Decrease), 1);
    EXPECT_EQ(daily.count(DayClass::NoChange), 1);
    EXPECT_EQ(daily.count(DayClass::Increase), 1);
    EXPECT_EQ(daily.count(DayClass::Once), 1);
    EXPECT_EQ(daily.sign(), "=");
    EXPECT_EQ(daily.face(), CalendarFace::Smiling);
    EXPECT_EQ(daily.notMeasured, within.notMeasured);
    // Painted as the detailed view paints: green, yellow, red and the once colour.
    EXPECT_EQ(dayColour(daily.days[1].dayClass, CalendarMode::Detailed),
              (base::Rgb{192, 255, 192}));
}

}  // namespace
}  // namespace pairly::calendar
