// What the screens compute from two logs of any content: the day view, the comparison and
// its charts, the list with its filters, the calendar, the comment table, the trend charts,
// the four analyses and the BMI figures. Nothing may crash or trip a sanitizer on what a
// damaged or hand-edited file gives the readers (huge numbers, dates that are no dates,
// logs out of order).
//
// Input: the first byte picks the height, the second the target weight; the rest is
// partner 1's log, and after the first byte 0x01 partner 2's.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/body/bmi.h"
#include "core/calendar/calendar.h"
#include "core/comparison/comparison.h"
#include "core/disk/codec.h"
#include "core/entry/day_view.h"
#include "core/list/measurement_list.h"
#include "core/memo/comment_table.h"
#include "core/store/measurement_log.h"
#include "core/trend/analyses.h"
#include "core/trend/weight_trend.h"

namespace {

using namespace pairly;
using Log = std::vector<store::MeasurementRecord>;

void checkDayViews(const Log& active, const Log& other, float height, int slot) {
    std::vector<std::string> days = {"2026/12/07", "9999/99/99", ""};
    if (!active.empty()) {
        days.push_back(active.front().date);
        days.push_back(active.back().date);
    }
    for (const auto& day : days) (void)entry::computeDayView(active, other, height, day, slot);
}

void checkLists(const Log& log, float height) {
    // The small charts are built in the same pass as the rows.
    (void)list::buildUnfilteredList(log, height);
    if (log.empty()) return;
    list::ListFilters filters;
    filters.start = log.front().date;
    filters.end = log.back().date;
    for (int weekday : {list::kAllWeekdays, 0, 6}) {
        filters.weekday = weekday;
        for (const std::string& situation : {std::string(), log.back().situation}) {
            filters.situation = situation;
            (void)list::buildFilteredList(log, height, filters);
        }
    }
}

void checkComparison(const Log& log1, const Log& log2, float target) {
    comparison::ComparisonInput input{log1, log2, "a", "b", target, target / 2};
    comparison::ComparisonModel model = comparison::buildComparison(input);
    (void)comparison::shareBarWidth(300, model.share1);
    comparison::AverageChart& separate = model.daily.separate;
    for (auto mode : {comparison::LowerBoundMode::Automatic, comparison::LowerBoundMode::Target}) {
        comparison::setSeparateLowerBounds(separate, mode,
                                           {model.daily.automaticLowerBound1,
                                            model.daily.automaticLowerBound2, target, target / 2});
        const comparison::AverageChart same = comparison::rebuildSameAxisChart(separate);
        const comparison::AverageChart overlay = comparison::overlaySameAxisChart(separate, same);
        for (const auto& range : {separate.left, separate.right, same.left, overlay.left})
            (void)chart::majorDivisions(chart::displayedRange(range));
    }
}

void checkCalendar(const Log& log) {
    const calendar::CalendarModel model = calendar::buildCalendarModel(log, {2026, 12, 7});
    (void)calendar::recolouredCells(model, calendar::CalendarMode::Detailed,
                                    calendar::CalendarMode::Simple);
    (void)calendar::paintedCells(model, calendar::CalendarMode::Simple);
    for (int i = 0; i < calendar::kLegendCount; ++i)
        (void)calendar::legendText(model, static_cast<calendar::Legend>(i));
    (void)model.sign();
    (void)model.face();
    for (const auto& month : model.months)
        for (int column : {0, 1, 31, 32}) (void)calendar::cellDate(month.label, column);
}

void checkTrend(const Log& log, float target) {
    const trend::WeightSeries series = trend::buildWeightSeries(log);
    const trend::WeightAxes axes = trend::weightChartAxes(series);
    (void)chart::wholeUnitDivisions(axes.left);
    (void)chart::wholeUnitDivisions(trend::goalModeAxis(axes.left, true, target));
    for (const char* count : {"1", "10", "32767", ""})
        (void)trend::buildWeightChart(series, trend::movingAverageCount(count));
    (void)trend::buildTrendTexts(series, target);
    for (auto kind :
         {trend::MetricKind::Metabolism, trend::MetricKind::Muscle, trend::MetricKind::Bone})
        (void)trend::buildMetricChart(log, kind);
    (void)trend::buildTimeSeries(series, trend::Reference::Previous);
    (void)trend::buildTimeSeries(series, trend::Reference::First);
    (void)trend::buildMilestones(series);
    (void)trend::buildAverageTrend(series);
    (void)trend::buildBandRanking(series, trend::BandWidth::OneKilo);
    (void)trend::buildBandRanking(series, trend::BandWidth::HalfKilo);
}

void checkBmi(const Log& log, float height) {
    const std::optional<float> last =
        log.empty() ? std::nullopt : std::optional<float>(log.back().weight);
    (void)body::showCurrentBmi(last.value_or(0), height, static_cast<int>(log.size()));
    const auto labels = body::fillBmiFormulaLabels(last, height);
    for (int scroll : {170, 245, 320}) {
        body::BmiSimulatorInput input;
        input.scrollValue = scroll;
        input.fromUser = scroll != 245;
        input.heightCm = height;
        input.recordCount = static_cast<int>(log.size());
        input.weightLabelText = labels ? labels->weightText : "";
        (void)body::refreshBmiSimulator(input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // Heights and targets a profile may hold, from nothing to nonsense.
    const float heights[] = {0.0f, 158.5f, -170.0f, 1e-30f, 3e38f, 250.0f, 1.0f, 172.0f};
    const float targets[] = {0.0f, 50.0f, -5.0f, 999.0f, 3e38f, 65.5f, 1e-30f, 600.0f};
    const float height = heights[data[0] % 8];
    const float target = targets[data[1] % 8];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = rest.find('\x01');
    const Log log1 = store::parseRecords(disk::fromCp932(rest.substr(0, split)));
    const Log log2 = split == std::string_view::npos
                         ? Log{}
                         : store::parseRecords(disk::fromCp932(rest.substr(split + 1)));

    checkDayViews(log1, log2, height, 1);
    checkDayViews(log2, log1, height, 2);
    checkComparison(log1, log2, target);
    checkLists(log1, height);
    checkCalendar(log1);
    (void)memo::buildCommentTable(log1);
    checkTrend(log1, target);
    checkBmi(log1, height);
    return 0;
}
