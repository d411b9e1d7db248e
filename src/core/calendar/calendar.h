#pragma once
// The colour calendar: each day with weighings classed by its first and last weight, one
// grid row per month in log order, the day counters and the verdict of good against bad days.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/body/bmi.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::calendar {

enum class DayClass { Decrease, Increase, NoChange, Once };
inline constexpr int kDayClassCount = 4;

enum class CalendarMode { Detailed, Simple };

enum class CalendarFace { Laughing, Smiling, Sad };

// The five legend entries in screen order: the four classes, then the days without weighing.
enum class Legend { Decrease, Increase, NoChange, Once, NotMeasured };
inline constexpr int kLegendCount = 5;

struct CalendarMonth {
    int year = 0;
    int month = 0;
    std::string label;  // "yyyy年mm月"
};

struct CalendarDay {
    int row = 0;  // grid row of the day's own month, 1 = first data row
    int day = 0;  // 1..31, also the grid column
    DayClass dayClass = DayClass::Once;
};

struct CalendarModel {
    std::vector<CalendarMonth> months;  // grid data rows 1..months.size()
    std::vector<CalendarDay> days;      // every classified day, in log order
    std::array<int, kDayClassCount> counts{};
    int notMeasured = 0;

    int count(DayClass c) const { return counts[static_cast<std::size_t>(c)]; }
    int goodDays() const { return count(DayClass::Decrease) + count(DayClass::NoChange); }
    int badDays() const { return count(DayClass::Increase) + count(DayClass::Once); }
    // ">", "=" or "<": good days against bad days.
    std::string sign() const;
    CalendarFace face() const;
};

// What a day's class compares: its last weighing with its first (a day weighed once is
// Once), or its first weighing with the first of the previous weighing day (the log's
// first day is Once).
enum class DayBasis { WithinDay, FromPreviousDay };

// One pass over the log. Records whose date is not a valid "yyyy/mm/dd" are skipped. The
// not-measured count runs from this log's first dated record up to and including `today`.
CalendarModel buildCalendarModel(const std::vector<store::MeasurementRecord>& log,
                                 const text::Date& today, DayBasis basis = DayBasis::WithinDay);

// Colour a day of this class is painted in.
base::Rgb dayColour(DayClass dayClass, CalendarMode mode);

struct PaintedCell {
    int row = 0;
    int column = 0;
    base::Rgb colour;
    bool operator==(const PaintedCell&) const = default;
};
std::vector<PaintedCell> paintedCells(const CalendarModel& model, CalendarMode mode);
// The cells whose colour changes from one mode to the other, in their new colour.
std::vector<PaintedCell> recolouredCells(const CalendarModel& model, CalendarMode from,
                                         CalendarMode to);

// Legend caption (ending in two spaces) and its fixed colour, the same in both modes.
const char* legendCaption(Legend entry);
base::Rgb legendColour(Legend entry);
// Caption, count and "日".
std::string legendText(const CalendarModel& model, Legend entry);

// Back colour of the pressed mode button.
inline constexpr base::Rgb kPressedModeColour{255, 224, 192};

// The date a grid cell names: the row's "yyyy年mm月" label and the column as the day.
// Nothing for the month column, a column past 31 or a day the month does not have.
std::optional<text::Date> cellDate(std::string_view monthLabel, int column);

}  // namespace pairly::calendar
