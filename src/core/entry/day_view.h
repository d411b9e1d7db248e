#pragma once
// The day view of the input screen (refreshDayView) as a pure computation: from the two
// partners' logs, the height and the selected day to grids, chart data, labels and faces.
// Arithmetic on weights is done in 32-bit float, as the figures on screen depend on it.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/base/align.h"
#include "core/base/arrow.h"
#include "core/body/bmi.h"
#include "core/chart/axis.h"
#include "core/chart/composition.h"
#include "core/store/measurement_log.h"
#include "core/text/cell.h"

namespace pairly::entry {

using chart::AxisRange;

// Grid layout: header texts, data alignment per column (headers are centred), and the
// width of the last column of each grid.
constexpr int kWeightGridColumns = 10;
constexpr int kCompositionGridColumns = 9;
extern const std::array<const char*, kWeightGridColumns> kWeightGridHeaders;
extern const std::array<const char*, kCompositionGridColumns> kCompositionGridHeaders;
extern const std::array<base::Align, kWeightGridColumns> kWeightGridAlignment;
extern const std::array<base::Align, kCompositionGridColumns> kCompositionGridAlignment;
constexpr int kLastColumnWidthTwips = 800;
// A grid with more rows than this (header included) scrolls its last row to the top.
constexpr int kDayGridVisibleRows = 9;

// msgDayList row: the ten cells; columns 4 and 6 hold the arrows, coloured.
struct WeightGridRow {
    std::array<text::Cell, kWeightGridColumns> cells;
    base::Arrow previousArrow = base::Arrow::Same;  // column 4 (against the previous weighing)
    base::Arrow firstArrow = base::Arrow::Same;     // column 6 (against the day's first weighing)
    base::Rgb previousColour() const { return arrowColour(previousArrow); }
    base::Rgb firstColour() const { return arrowColour(firstArrow); }
};
// msgDayList2 row: the nine cells.
struct CompositionGridRow {
    std::array<text::Cell, kCompositionGridColumns> cells;
};

// A small chart: point i (0-based) of each series is the figure of day row i+1. With no
// day row `hasData` is false, the series are empty (the screen keeps one empty point) and
// the axes are 0..1 with the chart's default divisions. weightChart: body fat on the right
// axis; metabolismChart / muscleChart: series 2 (visceral fat, muscle score) on the right axis.
using DayChart = chart::CompositionChart;

enum class DayFace { Laughing, Smiling, Sulky, NoData };  // imgwara, imgniko, imgkana, imgNashi

// lblUser1 / lblUser2 with their pictures.
struct DayCount {
    int count = 0;
    std::string text;  // the count as integer text
    int pictureIndex =
        0;  // 0 未登録 (imgNon), 1 ムスッ (imgKura), 2 ニコ (imgNi), 3 すごくニコニコ (imgWarai)
    base::Rgb colour;  // equal: (255,255,192); larger (192,255,192); smaller (255,192,192)
};

struct DayViewModel {
    // The log had at least one record. When false everything below is the empty state:
    // no rows, empty charts, empty progress labels, the no-data face, previousValues all
    // 0, no first/last record, and no BMI (the meters keep what they show).
    bool hasRecords = false;

    std::vector<WeightGridRow> weightRows;
    std::vector<CompositionGridRow> compositionRows;
    // Both grids hold the same number of rows; true when they scroll the last row to top.
    bool scrollToLastRow = false;

    DayChart weightChart;      // series 1 weight (left), series 2 body fat (right)
    DayChart metabolismChart;  // basal metabolism (left, 10 divisions), visceral fat (right)
    DayChart muscleChart;      // muscle mass (left, 10 divisions), muscle score (right)
    DayChart boneChart;        // bone mass (left, one division per 0.1 kg)

    // Progress labels. bmiText and obesityText are empty when the height gives no
    // usable BMI (0, negative, not finite); daysText is empty when a date is malformed.
    std::string daysText;          // "03/08/21 → 236日経過"
    std::string weightChangeText;  // "60.3Kg → 0.2Kg 減"
    std::string bmiText;
    std::string obesityText;

    DayFace face = DayFace::NoData;
    std::array<DayCount, 2> dayCounts;  // [0] = slot 1 (lblUser1), [1] = slot 2 (lblUser2)

    store::Readings previousValues;                      // what the entry fields are filled from
    int recordCount = 0;                                 // N
    std::optional<store::MeasurementRecord> lastRecord;  // L
    std::string firstRecordDate;                         // D0 ("" when N = 0)
    std::string shownDate;     // the selected day when it has rows, else L's date
    float currentWeight = 0;   // Wc
    float currentBmi = 0;      // Bc (0 when the height is unusable)
    float currentObesity = 0;  // Oc, a ratio (0 when the height is unusable)
    // The meters for Wc (showCurrentBmi); nullopt when N = 0 or the height is unusable.
    std::optional<body::CurrentBmi> bmi;

    std::optional<std::string> lastDate() const {
        return lastRecord ? std::optional<std::string>(lastRecord->date) : std::nullopt;
    }
};

// The weighings of both partners on `day`, each with its picture and colour: [0] slot 1,
// [1] slot 2. `activeSlot` (1 or 2) says which partner `activeLog` belongs to.
std::array<DayCount, 2> countDay(const std::vector<store::MeasurementRecord>& activeLog,
                                 const std::vector<store::MeasurementRecord>& otherLog,
                                 const std::string& day, int activeSlot);

// refreshDayView. `selectedDay` is "yyyy/mm/dd"; `activeSlot` is 1 or 2 and decides which
// day count is the active partner's (the other one counts `otherLog`).
DayViewModel computeDayView(const std::vector<store::MeasurementRecord>& activeLog,
                            const std::vector<store::MeasurementRecord>& otherLog, float heightCm,
                            const std::string& selectedDay, int activeSlot);

}  // namespace pairly::entry
