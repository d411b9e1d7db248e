#pragma once
// Calendar dates as used in the logs: "yyyy/mm/dd", compared as text.
#include <optional>
#include <string>
#include <string_view>

namespace pairly::text {

struct Date {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    auto operator<=>(const Date&) const = default;
};

// Parses exactly "yyyy/mm/dd" (zero-padded); nullopt for anything else or an invalid day.
std::optional<Date> parseDate(std::string_view text);

// Patterns: "yyyy/mm/dd", "YY/MM/DD", "yy/mm/dd", "yyyy年mm月", "yyyy/mm", "DD".
std::string formatDate(const Date& date, std::string_view pattern = "yyyy/mm/dd");

// Whole calendar days from `from` to `to` (negative when `to` is earlier).
int daysBetween(const Date& from, const Date& to);

// Sunday = 0 ... Saturday = 6.
int weekday(const Date& date);

Date addDays(const Date& date, int days);

// Helpers.
bool isValidDate(const Date& date);
int daysInMonth(int year, int month);
// Days since 1970/01/01 (negative before) and back.
int dayNumber(const Date& date);
Date dateFromDayNumber(int days);
// formatDate of a "yyyy/mm/dd" text; a text that does not parse is returned unchanged.
std::string reformatDate(std::string_view dateText, std::string_view pattern);

// Long time form: hours without a leading zero, minutes and seconds with two digits,
// e.g. 7:05:09.
std::string longTimeText(int secondsSinceMidnight);

}  // namespace pairly::text
