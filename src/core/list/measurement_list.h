#pragma once
// The measurement list (fraTaijyu) as a pure computation: which weighings the period,
// weekday and situation filters let through, the rows of the list table msgBunseki and of
// the body-composition table msgBunseki2, the main chart, the three small charts and the
// dates offered by the period combo boxes. Weights are computed in 32-bit float, as on
// the input screen, so that both screens show the same figures.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/align.h"
#include "core/base/arrow.h"
#include "core/body/body_scale.h"
#include "core/chart/axis.h"
#include "core/chart/composition.h"
#include "core/store/measurement_log.h"
#include "core/text/cell.h"
#include "core/text/dates.h"

namespace pairly::list {

// --- tables -----------------------------------------------------------------------------

inline constexpr int kListColumns = 12;
inline constexpr int kListCompositionColumns = 11;

struct ListColumn {
    const char* header;
    int twips;
    base::Align align;
};
extern const std::array<ListColumn, kListColumns> kListTableColumns;  // msgBunseki
extern const std::array<ListColumn, kListCompositionColumns>
    kCompositionTableColumns;  // msgBunseki2

// Column of the arrows in msgBunseki (against the previous and the first listed weighing).
inline constexpr int kPreviousArrowColumn = 6;
inline constexpr int kFirstArrowColumn = 8;

// The list table scrolls its last row to the top once it has more rows than this
// (header included).
inline constexpr int kListVisibleRows = 9;

// Sunday = 0 ... Saturday = 6: the captions of cmdWeek_0 ... cmdWeek_6.
extern const std::array<const char*, 7> kWeekdayNames;
// selectedWeekday when no weekday is chosen.
inline constexpr int kAllWeekdays = 99;

// --- filters ----------------------------------------------------------------------------

struct ListFilters {
    // Period texts, both bounds inclusive, compared as plain text: a typed text that is
    // not a date is still a text bound. An empty end lets nothing through.
    std::string start, end;
    // Exact substring of the situation; empty means no situation test.
    std::string situation;
    int weekday = kAllWeekdays;  // 0..6, or kAllWeekdays
};

enum class ListMode { Period, PeriodSituation, PeriodWeekday, PeriodWeekdaySituation };

// The build dispatchListFilters picks for the filter state.
ListMode listMode(const ListFilters& filters);

// Whether a record is listed by a filtered build. A record whose date is not a valid
// "yyyy/mm/dd" has no weekday and so never passes a weekday filter.
bool isListed(const store::MeasurementRecord& record, const ListFilters& filters);

// --- period buttons ---------------------------------------------------------------------

enum class PeriodKind { DaysBack, AllDays, Typed };

struct PeriodButton {
    const char* name;
    const char* caption;
    PeriodKind kind;
    int daysBack;  // DaysBack only
};
// cmdKikan1, cmdKikan8, cmdKikan2 … cmdKikan7, cmdAllDay, cmdKikanF in screen order.
extern const std::array<PeriodButton, 10> kPeriodButtons;

struct PeriodTexts {
    std::string start, end;
    bool operator==(const PeriodTexts&) const = default;
};

// The period a button sets: from today − daysBack, or from `firstDate` for "全部", to
// today. Not used for "任意", which takes the combo texts as typed.
PeriodTexts periodTexts(const PeriodButton& button, const text::Date& today,
                        const std::string& firstDate);

// Where "全部" starts: the earliest date text of the log itself ("" for an empty log), so
// that the whole history of the partner shown is listed even before the input screen has
// been refreshed and after a change of partner.
std::string firstRecordDate(const std::vector<store::MeasurementRecord>& log);

// --- the list ---------------------------------------------------------------------------

// The texts of one build (dates, situations, chart figures), each distinct text kept once;
// the rows and series below are views into it. Texts never move once kept.
class TextStore {
public:
    std::string_view keep(std::string text) {
        texts_.push_back(std::move(text));
        return texts_.back();
    }

private:
    std::deque<std::string> texts_;
};

using Text = std::string_view;

// One listed weighing as numbers: both tables show it, msgBunseki by listCell and
// msgBunseki2 by compositionCell, which make a cell's text only when it is drawn.
struct ListRow {
    Text date;  // as in the log
    Text situation;
    store::Readings readings;
    float previousDifference = 0;                   // against the previous listed weighing
    float firstDifference = 0;                      // against the first listed weighing
    std::int8_t weekday = -1;                       // 0..6; -1 when the date is not a valid date
    base::Arrow previousArrow = base::Arrow::Same;  // column 6, from the difference as shown
    base::Arrow firstArrow = base::Arrow::Same;     // column 8, from the difference as shown
};

// mcrBunseki: series 1 weight on the left axis, series 2 body fat on the right one.
// With nothing listed `hasData` is false and the series are empty.
struct ListChart {
    bool hasData = false;
    chart::Series weights, bodyFats;
    chart::AxisRange weightAxis, bodyFatAxis;
    int points() const { return static_cast<int>(weights.size()); }
};

// The three small charts, of the figures of msgBunseki2. Without a data row `hasData` is
// false and the series are empty (the screen keeps one empty point).
using SmallChart = chart::CompositionChart;
using SmallCharts = chart::CompositionCharts;

// One build. Move-only: its views point into its own text store.
struct MeasurementList {
    MeasurementList() = default;
    MeasurementList(MeasurementList&&) = default;
    MeasurementList& operator=(MeasurementList&&) = default;

    std::vector<ListRow> rows;  // the rows of both tables
    // BMI and obesity of the rows are worked out from the height when shown; without a
    // usable height (0 in a fresh profile) their cells stay empty.
    body::BodyScale scale;
    ListChart chart;
    SmallCharts smallCharts;
    // More rows than kListVisibleRows − 1: the tables open scrolled to their end.
    bool scrollToLastRow = false;

    // Unfiltered build only: the dates for both period combo lists (a date is added when
    // it differs from the record before).
    bool unfiltered = false;
    std::vector<Text> dates;

    std::unique_ptr<TextStore> texts = std::make_unique<TextStore>();
};

// Every record of the log in file order.
MeasurementList buildUnfilteredList(const std::vector<store::MeasurementRecord>& log,
                                    float heightCm);
// The records the filters let through, compared like with like: the differences are
// taken against the previous and the first *listed* weighing.
MeasurementList buildFilteredList(const std::vector<store::MeasurementRecord>& log, float heightCm,
                                  const ListFilters& filters);

// Cell `col` of row `row` (from 0) of msgBunseki and of msgBunseki2; missing out of range.
text::Cell listCell(const MeasurementList& list, std::size_t row, int col);
text::Cell compositionCell(const MeasurementList& list, std::size_t row, int col);

}  // namespace pairly::list
