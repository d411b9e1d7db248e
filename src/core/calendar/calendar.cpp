#include "core/calendar/calendar.h"

#include <algorithm>

namespace pairly::calendar {

namespace {

constexpr base::Rgb kGreen{192, 255, 192};
constexpr base::Rgb kRed{255, 192, 192};
constexpr base::Rgb kYellow{255, 255, 192};
constexpr base::Rgb kPurple{192, 192, 255};
constexpr base::Rgb kWhite{255, 255, 255};

std::size_t at(DayClass c) { return static_cast<std::size_t>(c); }

DayClass classify(int weighings, float first, float last) {
    if (weighings < 2) return DayClass::Once;
    if (last < first) return DayClass::Decrease;
    if (last > first) return DayClass::Increase;
    return DayClass::NoChange;
}

// The day whose weighings are being collected: only the first and last weight matter.
struct OpenDay {
    bool open = false;
    text::Date date;
    int dayNumber = 0;
    int row = 0;
    int weighings = 0;
    float first = 0, last = 0;
};

int digits(std::string_view text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::string CalendarModel::sign() const {
    const int good = goodDays(), bad = badDays();
    return good > bad ? ">" : good == bad ? "=" : "<";
}

CalendarFace CalendarModel::face() const {
    const int good = goodDays(), bad = badDays();
    return good > bad    ? CalendarFace::Laughing
           : good == bad ? CalendarFace::Smiling
                         : CalendarFace::Sad;
}

CalendarModel buildCalendarModel(const std::vector<store::MeasurementRecord>& log,
                                 const text::Date& today, DayBasis basis) {
    CalendarModel m;
    m.days.reserve(log.size() / 2 + 1);
    const int todayNumber = text::dayNumber(today);
    int firstDayNumber = 0;
    bool haveFirst = false;
    // Classified days from the first record's date to today, for the not-measured count.
    std::vector<int> spanDays;
    spanDays.reserve(log.size() / 2 + 1);

    OpenDay day;
    bool havePrevious = false;
    float previousFirst = 0;  // first weight of the previous weighing day
    auto closeDay = [&] {
        if (!day.open) return;
        DayClass c;
        if (basis == DayBasis::WithinDay) {
            c = classify(day.weighings, day.first, day.last);
        } else {
            c = havePrevious ? classify(2, previousFirst, day.first) : DayClass::Once;
            havePrevious = true;
            previousFirst = day.first;
        }
        ++m.counts[at(c)];
        m.days.push_back({day.row, day.date.day, c});
        if (day.dayNumber >= firstDayNumber && day.dayNumber <= todayNumber)
            spanDays.push_back(day.dayNumber);
    };

    for (const store::MeasurementRecord& r : log) {
        // A date that does not parse names no cell (and no day column beyond 31).
        const std::optional<text::Date> date = text::parseDate(r.date);
        if (!date) continue;
        if (!haveFirst) {
            haveFirst = true;
            firstDayNumber = text::dayNumber(*date);
        }
        if (m.months.empty() || m.months.back().year != date->year ||
            m.months.back().month != date->month) {
            m.months.push_back({date->year, date->month, text::formatDate(*date, "yyyy年mm月")});
        }
        if (day.open && day.date == *date) {
            ++day.weighings;
            day.last = r.weight;
            continue;
        }
        closeDay();
        day = {true,     *date,   text::dayNumber(*date), static_cast<int>(m.months.size()), 1,
               r.weight, r.weight};
    }
    closeDay();

    if (haveFirst && todayNumber >= firstDayNumber) {
        // A log out of date order may name a day twice; count each day once.
        if (!std::is_sorted(spanDays.begin(), spanDays.end())) {
            std::sort(spanDays.begin(), spanDays.end());
        }
        const auto measured = std::unique(spanDays.begin(), spanDays.end()) - spanDays.begin();
        const long long span = static_cast<long long>(todayNumber) - firstDayNumber + 1;
        m.notMeasured = static_cast<int>(std::max(0LL, span - measured));
    }
    return m;
}

base::Rgb dayColour(DayClass dayClass, CalendarMode mode) {
    const bool simple = mode == CalendarMode::Simple;
    switch (dayClass) {
        case DayClass::Decrease:
            return kGreen;
        case DayClass::Increase:
            return kRed;
        case DayClass::NoChange:
            return simple ? kGreen : kYellow;
        case DayClass::Once:
            return simple ? kRed : kPurple;
    }
    return kWhite;
}

std::vector<PaintedCell> paintedCells(const CalendarModel& model, CalendarMode mode) {
    std::vector<PaintedCell> cells;
    cells.reserve(model.days.size());
    for (const CalendarDay& d : model.days)
        cells.push_back({d.row, d.day, dayColour(d.dayClass, mode)});
    return cells;
}

std::vector<PaintedCell> recolouredCells(const CalendarModel& model, CalendarMode from,
                                         CalendarMode to) {
    std::vector<PaintedCell> cells;
    for (const CalendarDay& d : model.days) {
        const base::Rgb colour = dayColour(d.dayClass, to);
        if (colour != dayColour(d.dayClass, from)) cells.push_back({d.row, d.day, colour});
    }
    return cells;
}

const char* legendCaption(Legend entry) {
    switch (entry) {
        case Legend::Decrease:
            return "体重減  ";
        case Legend::Increase:
            return "体重増  ";
        case Legend::NoChange:
            return "増減無し  ";
        case Legend::Once:
            return "１回だけ計測  ";
        case Legend::NotMeasured:
            break;
    }
    return "未計測  ";
}

// The legend lists the classes in their own order.
static_assert(static_cast<int>(Legend::Once) == static_cast<int>(DayClass::Once) &&
              static_cast<int>(Legend::NoChange) == static_cast<int>(DayClass::NoChange) &&
              static_cast<int>(Legend::Increase) == static_cast<int>(DayClass::Increase));

base::Rgb legendColour(Legend entry) {
    if (entry == Legend::NotMeasured) return kWhite;
    return dayColour(static_cast<DayClass>(entry), CalendarMode::Detailed);
}

std::string legendText(const CalendarModel& model, Legend entry) {
    const int count = entry == Legend::NotMeasured ? model.notMeasured
                                                   : model.count(static_cast<DayClass>(entry));
    return legendCaption(entry) + std::to_string(count) + "日";
}

std::optional<text::Date> cellDate(std::string_view monthLabel, int column) {
    static constexpr std::string_view kYear = "年", kMonth = "月";
    // "yyyy" 年 "mm" 月
    const std::size_t monthAt = 4 + kYear.size();
    if (monthLabel.size() != monthAt + 2 + kMonth.size() ||
        monthLabel.substr(4, kYear.size()) != kYear || monthLabel.substr(monthAt + 2) != kMonth)
        return std::nullopt;
    const text::Date date{digits(monthLabel, 0, 4), digits(monthLabel, monthAt, 2), column};
    if (column < 1 || column > 31 || !text::isValidDate(date)) return std::nullopt;
    return date;
}

}  // namespace pairly::calendar
