#include "core/text/dates.h"

#include <gtest/gtest.h>

namespace pairly::text {
namespace {

TEST(ParseDate, AcceptsOnlyExactValidDays) {
    EXPECT_EQ(parseDate("2026/12/07"), (Date{2026, 12, 7}));
    EXPECT_EQ(parseDate("2024/02/29"), (Date{2024, 2, 29}));
    EXPECT_EQ(parseDate("2000/02/29"), (Date{2000, 2, 29}));
    const char* bad[] = {"",           "2026/12/7",   "2026-12-07",  "2026/13/01",
                         "2026/00/10", "2026/02/29",  "1900/02/29",  "2026/04/31",
                         "2026/12/00", " 2026/12/07", "2026/12/07 ", "20261207",
                         "yyyy/mm/dd", "0000/01/01",  "2026/1a/01"};
    for (const char* t : bad) EXPECT_EQ(parseDate(t), std::nullopt) << t;
}

TEST(FormatDate, Patterns) {
    const Date d{2003, 8, 21};
    struct Case {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"yyyy/mm/dd", "2003/08/21"},
        {"YY/MM/DD", "03/08/21"},
        {"yy/mm/dd", "03/08/21"},
        {"yyyy年mm月", "2003年08月"},
        {"yyyy/mm", "2003/08"},
        {"DD", "21"},
        {"m/d", "8/21"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDate(d, c.pattern), c.expected) << c.pattern;
    EXPECT_EQ(formatDate(Date{2026, 12, 7}, "DD"), "07");
    EXPECT_EQ(formatDate(Date{2026, 12, 7}), "2026/12/07");
    EXPECT_EQ(reformatDate("2026/12/07", "YY/MM/DD"), "26/12/07");
    EXPECT_EQ(reformatDate("bad", "YY/MM/DD"), "bad");
    // Zero padding of short years and of a century's first year.
    EXPECT_EQ(formatDate(Date{5, 1, 2}), "0005/01/02");
    EXPECT_EQ(formatDate(Date{987, 10, 31}, "yyyy/mm"), "0987/10");
    EXPECT_EQ(formatDate(Date{2000, 1, 1}, "YY/MM/DD"), "00/01/01");
    EXPECT_EQ(formatDate(Date{2009, 11, 9}, "yy/m/d"), "09/11/9");
}

TEST(DateArithmetic, DaysWeekdaysAndAdding) {
    struct Case {
        Date from, to;
        int days;
    } cases[] = {
        {{2026, 12, 7}, {2026, 12, 7}, 0},  {{2026, 12, 7}, {2026, 12, 8}, 1},
        {{2026, 12, 31}, {2027, 1, 1}, 1},  {{2024, 2, 28}, {2024, 3, 1}, 2},
        {{2023, 2, 28}, {2023, 3, 1}, 1},   {{2026, 12, 7}, {2026, 1, 1}, -340},
        {{1999, 12, 31}, {2000, 3, 1}, 61}, {{1960, 1, 1}, {1970, 1, 1}, 3653},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(daysBetween(c.from, c.to), c.days);
        EXPECT_EQ(addDays(c.from, c.days), c.to);
    }
    EXPECT_EQ(weekday(Date{2026, 12, 7}), 1);  // Monday
    EXPECT_EQ(weekday(Date{2026, 12, 6}), 0);  // Sunday
    EXPECT_EQ(weekday(Date{2026, 12, 12}), 6);
    EXPECT_EQ(weekday(Date{1969, 12, 31}), 3);
    for (int n = -1000; n < 30000; n += 37) EXPECT_EQ(dayNumber(dateFromDayNumber(n)), n);
}

TEST(LongTimeText, HoursWithoutLeadingZero) {
    EXPECT_EQ(longTimeText(7 * 3600 + 5 * 60 + 9), "7:05:09");
    EXPECT_EQ(longTimeText(0), "0:00:00");
    EXPECT_EQ(longTimeText(23 * 3600 + 59 * 60 + 59), "23:59:59");
    EXPECT_EQ(longTimeText(86400 + 61), "0:01:01");
}

}  // namespace
}  // namespace pairly::text
