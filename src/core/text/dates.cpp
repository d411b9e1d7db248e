#include "core/text/dates.h"

#include <algorithm>
#include <cstdio>

namespace pairly::text {

namespace {

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int digitsAt(std::string_view text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string padded(int value, int width) {
    if (value >= 0) {
        // Dates are formatted by the thousand in long lists: no printf for them.
        char digits[12];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0);
        std::string out(static_cast<std::size_t>(std::max(width - n, 0)), '0');
        while (n > 0) out.push_back(digits[--n]);
        return out;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the run of the same letter (ignoring case) starting at pos.
std::size_t runLength(std::string_view pattern, std::size_t pos) {
    std::size_t n = 1;
    while (pos + n < pattern.size() && lower(pattern[pos + n]) == lower(pattern[pos])) ++n;
    return n;
}

}  // namespace

int daysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

bool isValidDate(const Date& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= daysInMonth(date.year, date.month);
}

std::optional<Date> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '/' || text[7] != '/') return std::nullopt;
    Date d{digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2)};
    if (!isValidDate(d)) return std::nullopt;
    return d;
}

std::string formatDate(const Date& date, std::string_view pattern) {
    std::string out;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char c = lower(pattern[pos]);
        if (c != 'y' && c != 'm' && c != 'd') {
            out.push_back(pattern[pos++]);
            continue;
        }
        std::size_t n = runLength(pattern, pos);
        if (c == 'y') {
            if (n >= 4) {
                out += padded(date.year, 4);
                n = 4;
            } else if (n >= 2) {
                out += padded(date.year % 100, 2);
                n = 2;
            } else {
                out.push_back(pattern[pos]);
            }
        } else {
            const int value = c == 'm' ? date.month : date.day;
            if (n >= 2) {
                out += padded(value, 2);
                n = 2;
            } else {
                out += std::to_string(value);
            }
        }
        pos += n;
    }
    return out;
}

std::string reformatDate(std::string_view dateText, std::string_view pattern) {
    auto d = parseDate(dateText);
    return d ? formatDate(*d, pattern) : std::string(dateText);
}

int dayNumber(const Date& date) {
    // Days from civil (proleptic Gregorian), counted from 1970/01/01.
    int y = date.year - (date.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (date.month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + date.day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date dateFromDayNumber(int days) {
    const int z = days + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int day = doy - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    const int year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return Date{year, month, day};
}

int daysBetween(const Date& from, const Date& to) { return dayNumber(to) - dayNumber(from); }

int weekday(const Date& date) {
    // 1970/01/01 was a Thursday.
    const int w = (dayNumber(date) + 4) % 7;
    return w < 0 ? w + 7 : w;
}

Date addDays(const Date& date, int days) { return dateFromDayNumber(dayNumber(date) + days); }

std::string longTimeText(int secondsSinceMidnight) {
    int s = secondsSinceMidnight % 86400;
    if (s < 0) s += 86400;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60);
    return buf;
}

}  // namespace pairly::text
