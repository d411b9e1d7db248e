#include "core/list/measurement_list.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <unordered_map>

#include "core/text/numbers.h"

namespace pairly::list {

using store::MeasurementRecord;

const std::array<ListColumn, kListColumns> kListTableColumns = {{
    {"回", 600, base::Align::Right},
    {"日付け", 950, base::Align::Centre},
    {"曜", 320, base::Align::Centre},
    {"行動", 1565, base::Align::Left},
    {"体重", 750, base::Align::Right},
    {"前回差", 730, base::Align::Right},
    {"差", 320, base::Align::Centre},
    {"初回差", 730, base::Align::Right},
    {"差", 320, base::Align::Centre},
    {"ＢＭＩ", 560, base::Align::Right},
    {"肥満度", 680, base::Align::Right},
    {"体脂肪", 680, base::Align::Right},
}};

const std::array<ListColumn, kListCompositionColumns> kCompositionTableColumns = {{
    {"回", 600, base::Align::Right},
    {"日付け", 950, base::Align::Centre},
    {"曜", 320, base::Align::Centre},
    {"行動", 1565, base::Align::Left},
    {"体重", 750, base::Align::Right},
    {"体脂肪", 730, base::Align::Right},
    {"基礎代謝", 950, base::Align::Right},
    {"脂肪", 500, base::Align::Right},
    {"筋肉量", 800, base::Align::Right},
    {"筋", 350, base::Align::Right},
    {"骨量", 695, base::Align::Right},
}};

const std::array<const char*, 7> kWeekdayNames = {"日", "月", "火", "水", "木", "金", "土"};

const std::array<PeriodButton, 10> kPeriodButtons = {{
    {"cmdKikan1", "前日", PeriodKind::DaysBack, 1},
    {"cmdKikan8", "３日", PeriodKind::DaysBack, 2},
    {"cmdKikan2", "１週間", PeriodKind::DaysBack, 7},
    {"cmdKikan3", "２週間", PeriodKind::DaysBack, 14},
    {"cmdKikan4", "１ヶ月", PeriodKind::DaysBack, 30},
    {"cmdKikan5", "３ヶ月", PeriodKind::DaysBack, 90},
    {"cmdKikan6", "半年", PeriodKind::DaysBack, 180},
    {"cmdKikan7", "１年", PeriodKind::DaysBack, 365},
    {"cmdAllDay", "全部", PeriodKind::AllDays, 0},
    {"cmdKikanF", "任意", PeriodKind::Typed, 0},
}};

ListMode listMode(const ListFilters& f) {
    const bool weekday = f.weekday != kAllWeekdays;
    if (f.situation.empty()) return weekday ? ListMode::PeriodWeekday : ListMode::Period;
    return weekday ? ListMode::PeriodWeekdaySituation : ListMode::PeriodSituation;
}

namespace {

// Weekday 0..6 of a date text, -1 when it is not a valid date.
int weekdayOf(std::string_view date) {
    const auto d = text::parseDate(date);
    return d ? text::weekday(*d) : -1;
}

bool inPeriod(const std::string& date, const ListFilters& f) {
    return f.start <= date && date <= f.end;
}

bool hasSituation(const MeasurementRecord& r, const ListFilters& f) {
    return r.situation.find(f.situation) != std::string::npos;
}

// The arrows follow the differences as shown, rounded to 0.1 kg: -0.04 shows as "0.0Kg".
base::Arrow shownArrow(float difference) { return base::arrowOf(text::shownValue(difference, 1)); }

// Each distinct key's value made once per build.
template <class Key, class Texts>
class TextMemo {
public:
    template <class Make>
    const Texts& get(Key key, Make make) {
        const auto [it, added] = map_.try_emplace(key);
        if (added) it->second = make();
        return it->second;
    }

private:
    std::unordered_map<Key, Texts> map_;
};

struct DateTexts {
    Text date;
    std::int8_t weekday = -1;
};

// One pass over the log: each listed record gives a row of both tables and a point of
// the main chart.
class ListBuilder {
public:
    ListBuilder(float heightCm, bool unfiltered, std::size_t expected)
        : store_(*list_.texts), composition_(chart::CompositionStyle::grid(), expected) {
        list_.scale = body::bodyScale(heightCm);
        list_.unfiltered = unfiltered;
        list_.rows.reserve(expected);
        list_.chart.weights.reserve(expected);
        list_.chart.bodyFats.reserve(expected);
    }

    void add(const MeasurementRecord& r) {
        const DateTexts& date = dateTexts(r.date);
        if (list_.unfiltered && (list_.dates.empty() || date.date != list_.dates.back())) {
            list_.dates.push_back(date.date);
        }

        if (list_.rows.empty()) firstWeight_ = r.weight;
        // 0 means nothing listed yet: the first row shows a zero difference.
        if (previousWeight_ == 0) previousWeight_ = r.weight;

        ListRow& row = list_.rows.emplace_back();
        row.date = date.date;
        row.weekday = date.weekday;
        row.situation = situations_.get(r.situation, [&] { return store_.keep(r.situation); });
        row.readings = r.readings();
        row.previousDifference = r.weight - previousWeight_;
        row.firstDifference = r.weight - firstWeight_;
        row.previousArrow = shownArrow(row.previousDifference);
        row.firstArrow = shownArrow(row.firstDifference);

        if (r.weight > maxWeight_) maxWeight_ = r.weight;
        if (r.weight < minWeight_) minWeight_ = r.weight;
        if (r.bodyFat > maxFat_) maxFat_ = r.bodyFat;
        if (r.bodyFat < minFat_) minFat_ = r.bodyFat;
        list_.chart.weights.push_back(text::shortestDecimal(r.weight));
        list_.chart.bodyFats.push_back(text::shortestDecimal(r.bodyFat));
        composition_.add(r);

        previousWeight_ = r.weight;
    }

    MeasurementList finish() {
        list_.scrollToLastRow = static_cast<int>(list_.rows.size()) + 1 > kListVisibleRows;
        ListChart& chart = list_.chart;
        if (!list_.rows.empty()) {
            chart.hasData = true;
            chart.weightAxis =
                chart::enclosingRange(text::intFloor(minWeight_), maxWeight_, 0.9f, 0);
            chart.bodyFatAxis =
                chart::enclosingRange(text::intFloor(minFat_ - 4.0), maxFat_, 3.9f, 0);
            chart.weightAxis.majorDivisions = chart::wholeKiloDivisions(chart.weightAxis);
            chart.bodyFatAxis.majorDivisions = chart::wholeKiloDivisions(chart.bodyFatAxis);
        }
        list_.smallCharts = composition_.finish();
        return std::move(list_);
    }

private:
    // The log is in date order, so a date is worked out once for its run of records.
    const DateTexts& dateTexts(const std::string& date) {
        if (date_.date == date && !list_.rows.empty()) return date_;
        const auto parsed = text::parseDate(date);
        date_.date = store_.keep(date);
        date_.weekday = parsed ? static_cast<std::int8_t>(text::weekday(*parsed)) : -1;
        return date_;
    }

    MeasurementList list_;
    TextStore& store_;
    chart::CompositionBuilder composition_;
    float firstWeight_ = 0, previousWeight_ = 0;
    float minWeight_ = 999, maxWeight_ = 0, minFat_ = 999, maxFat_ = 0;
    DateTexts date_;  // of the record before
    TextMemo<std::string, Text> situations_;
};

}  // namespace

bool isListed(const MeasurementRecord& r, const ListFilters& f) {
    if (!inPeriod(r.date, f)) return false;
    switch (listMode(f)) {
        case ListMode::Period:
            return true;
        case ListMode::PeriodSituation:
            return hasSituation(r, f);
        case ListMode::PeriodWeekday:
            return weekdayOf(r.date) == f.weekday;
        case ListMode::PeriodWeekdaySituation:
            return hasSituation(r, f) && weekdayOf(r.date) == f.weekday;
    }
    return false;
}

PeriodTexts periodTexts(const PeriodButton& button, const text::Date& today,
                        const std::string& firstDate) {
    const std::string end = text::formatDate(today);
    switch (button.kind) {
        case PeriodKind::DaysBack:
            return {text::formatDate(text::addDays(today, -button.daysBack)), end};
        case PeriodKind::AllDays:
            return {firstDate, end};
        case PeriodKind::Typed:
            break;
    }
    return {};
}

std::string firstRecordDate(const std::vector<MeasurementRecord>& log) {
    if (log.empty()) return {};
    const auto earliest = std::min_element(
        log.begin(), log.end(),
        [](const MeasurementRecord& a, const MeasurementRecord& b) { return a.date < b.date; });
    return earliest->date;
}

MeasurementList buildUnfilteredList(const std::vector<MeasurementRecord>& log, float heightCm) {
    ListBuilder builder(heightCm, true, log.size());
    for (const MeasurementRecord& r : log) builder.add(r);
    return builder.finish();
}

MeasurementList buildFilteredList(const std::vector<MeasurementRecord>& log, float heightCm,
                                  const ListFilters& filters) {
    ListBuilder builder(heightCm, false, 0);
    for (const MeasurementRecord& r : log) {
        if (isListed(r, filters)) builder.add(r);
    }
    return builder.finish();
}

namespace {

using text::Cell;

Cell kgCell(float value) { return Cell::number(value, "0.0Kg"); }

// The first five columns, alike in both tables: number, date, weekday, situation, weight.
Cell commonCell(const ListRow& row, std::size_t index, int col) {
    switch (col) {
        case 0:
            return Cell::integer(static_cast<long long>(index) + 1);
        case 1:
            // "yyyy/mm/dd" shortened to "yy/mm/dd"; any other text is shown as it is.
            return Cell::text(row.weekday >= 0 ? row.date.substr(2) : row.date);
        case 2:
            return Cell::text(
                row.weekday >= 0 ? kWeekdayNames[static_cast<std::size_t>(row.weekday)] : "");
        case 3:
            return Cell::text(row.situation);
        case 4:
            return kgCell(row.readings.weight);
        default:
            return {};
    }
}

}  // namespace

Cell listCell(const MeasurementList& list, std::size_t index, int col) {
    if (index >= list.rows.size() || col < 0 || col >= kListColumns) return {};
    const ListRow& row = list.rows[index];
    switch (col) {
        case 5:
            return kgCell(row.previousDifference);
        case 6:
            return Cell::text(base::arrowText(row.previousArrow));
        case 7:
            return kgCell(row.firstDifference);
        case 8:
            return Cell::text(arrowText(row.firstArrow));
        case 9:
            if (!list.scale.usable) return {};
            return Cell::number(row.readings.weight / list.scale.heightSquared, "0.0");
        case 10: {
            if (!list.scale.usable) return {};
            const float standard = list.scale.standardWeight;
            return Cell::number((row.readings.weight - standard) / standard, "0.0%");
        }
        case 11:
            return Cell::number(row.readings.bodyFat, "0.0", "%");
        default:
            return commonCell(row, index, col);
    }
}

Cell compositionCell(const MeasurementList& list, std::size_t index, int col) {
    if (index >= list.rows.size() || col < 0 || col >= kListCompositionColumns) return {};
    const store::Readings& r = list.rows[index].readings;
    switch (col) {
        case 5:
            return Cell::number(r.bodyFat, "0.0", "%");
        case 6:
            return Cell::integer(r.basalMetabolism, "kcal");
        case 7:
            return Cell::integer(r.visceralFat);
        case 8:
            return kgCell(r.muscleMass);
        case 9:
            return Cell::integer(r.muscleScore);
        case 10:
            return kgCell(r.boneMass);
        default:
            return commonCell(list.rows[index], index, col);
    }
}

}  // namespace pairly::list
