#include "core/entry/day_view.h"

#include <algorithm>
#include <cmath>

#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::entry {

const std::array<const char*, kWeightGridColumns> kWeightGridHeaders = {
    "回", "行動", "体重", "前回差", "差", "初回差", "差", "ＢＭＩ", "肥満度", "体脂肪"};
const std::array<const char*, kCompositionGridColumns> kCompositionGridHeaders = {
    "回", "行動", "体重", "体脂肪", "基礎代謝", "脂肪", "筋肉量", "筋ス", "骨量"};
const std::array<base::Align, kWeightGridColumns> kWeightGridAlignment = {
    base::Align::Right,  base::Align::Left,  base::Align::Right,  base::Align::Right,
    base::Align::Centre, base::Align::Right, base::Align::Centre, base::Align::Right,
    base::Align::Right,  base::Align::Right};
const std::array<base::Align, kCompositionGridColumns> kCompositionGridAlignment = {
    base::Align::Right, base::Align::Left,  base::Align::Right,
    base::Align::Right, base::Align::Right, base::Align::Right,
    base::Align::Right, base::Align::Right, base::Align::Right};

namespace {

text::Cell kgCell(float value) { return text::Cell::number(value, "0.0Kg"); }

using text::formatNumber;
using text::kg;
using text::trendWord;

DayCount dayCount(int count) {
    DayCount c;
    c.count = count;
    c.text = std::to_string(count);
    c.pictureIndex = std::min(count, 3);
    return c;
}

}  // namespace

DayViewModel computeDayView(const std::vector<store::MeasurementRecord>& activeLog,
                            const std::vector<store::MeasurementRecord>& otherLog, float heightCm,
                            const std::string& selectedDay, int activeSlot) {
    DayViewModel m;

    const body::BodyScale scale = body::bodyScale(heightCm);
    const float h2 = scale.heightSquared;
    const float standard = scale.standardWeight;
    const bool bmiUsable = scale.usable;

    if (!activeLog.empty()) {
        m.hasRecords = true;
        const store::MeasurementRecord& first = activeLog.front();
        m.firstRecordDate = first.date;
        const float w0 = first.weight;
        const float b0 = w0 / h2;
        const float o0 = (w0 - standard) / standard;

        float maxWeight = 0, minWeight = 999, maxFat = 0, minFat = 999;
        float reference = 0;     // R
        float dayFirst = 0;      // F
        float previousRead = 0;  // weight of the record read just before
        const store::MeasurementRecord* lastDayRow = nullptr;
        // The small charts plot the figures of the composition grid.
        chart::CompositionBuilder composition(chart::CompositionStyle::grid());
        int n = 1;
        for (const store::MeasurementRecord& r : activeLog) {
            if (r.date == selectedDay) {
                if (n == 1) dayFirst = r.weight;
                WeightGridRow row;
                using text::Cell;
                row.cells[0] = Cell::integer(n);
                row.cells[1] = Cell::text(r.situation);
                row.cells[2] = kgCell(r.weight);
                if (reference == 0 && r.date == m.firstRecordDate) reference = r.weight;
                if (reference == 0) reference = previousRead;
                // The arrows follow the figures as shown, rounded to 0.1 kg.
                const float previous = r.weight - reference;
                const float first = r.weight - dayFirst;
                row.cells[3] = kgCell(previous);
                row.previousArrow = base::arrowOf(text::shownValue(previous, 1));
                row.cells[4] = Cell::text(base::arrowText(row.previousArrow));
                row.cells[5] = kgCell(first);
                row.firstArrow = base::arrowOf(text::shownValue(first, 1));
                row.cells[6] = Cell::text(arrowText(row.firstArrow));
                if (bmiUsable) {
                    row.cells[7] = Cell::number(r.weight / h2, "0.0");
                    row.cells[8] = Cell::number((r.weight - standard) / standard, "0.0%");
                }
                row.cells[9] = Cell::number(r.bodyFat, "0.0", "%");
                m.weightRows.push_back(std::move(row));

                CompositionGridRow comp;
                comp.cells[0] = Cell::integer(n);
                comp.cells[1] = Cell::text(r.situation);
                comp.cells[2] = kgCell(r.weight);
                comp.cells[3] = Cell::number(r.bodyFat, "0.0", "%");
                comp.cells[4] = Cell::integer(r.basalMetabolism, "kcal");
                comp.cells[5] = Cell::integer(r.visceralFat);
                comp.cells[6] = kgCell(r.muscleMass);
                comp.cells[7] = Cell::integer(r.muscleScore);
                comp.cells[8] = kgCell(r.boneMass);
                m.compositionRows.push_back(std::move(comp));

                if (r.weight > maxWeight) maxWeight = r.weight;
                if (r.weight < minWeight) minWeight = r.weight;
                if (r.bodyFat > maxFat) maxFat = r.bodyFat;
                if (r.bodyFat < minFat) minFat = r.bodyFat;
                m.weightChart.series1.push_back(text::shortestDecimal(r.weight));
                m.weightChart.series2.push_back(text::shortestDecimal(r.bodyFat));
                composition.add(r);

                reference = r.weight;
                lastDayRow = &r;
                ++n;
            }
            previousRead = r.weight;
        }
        m.recordCount = static_cast<int>(activeLog.size());
        m.lastRecord = activeLog.back();

        m.scrollToLastRow = static_cast<int>(m.weightRows.size()) + 1 > kDayGridVisibleRows;

        if (lastDayRow) {
            m.weightChart.hasData = true;
            m.weightChart.left =
                chart::enclosingRange(text::intFloor(minWeight), maxWeight, 0.9f, 0);
            m.weightChart.right = chart::enclosingRange(text::intFloor(minFat), maxFat, 0.9f, 0);
        }

        const store::MeasurementRecord& shown = lastDayRow ? *lastDayRow : activeLog.back();
        m.previousValues = shown.readings();
        m.shownDate = lastDayRow ? selectedDay : activeLog.back().date;
        m.currentWeight = m.previousValues.weight;
        const float wc = m.currentWeight;

        m.bmi = body::showCurrentBmi(wc, heightCm, m.recordCount);

        const auto d0 = text::parseDate(m.firstRecordDate);
        const auto shownDay = text::parseDate(m.shownDate);
        if (d0 && shownDay) {
            m.daysText = text::formatDate(*d0, "yy/mm/dd") + " → " +
                         std::to_string(text::daysBetween(*d0, *shownDay)) + "日経過";
        }
        m.weightChangeText = kg(w0) + " → " + kg(std::fabs(wc - w0)) + trendWord(w0 - wc);
        if (bmiUsable) {
            m.currentBmi = wc / h2;
            m.currentObesity = (wc - standard) / standard;
            const float bc = m.currentBmi;
            const float oc = m.currentObesity;
            m.bmiText = formatNumber(b0, "0.0") + " → " + formatNumber(std::fabs(bc - b0), "0.0") +
                        trendWord(b0 - bc);
            m.obesityText = formatNumber(o0, "0.0%") + " → " +
                            formatNumber(std::fabs(oc - o0), "0.0%") + trendWord(o0 - oc);
        }

        if (!m.weightRows.empty()) {
            switch (m.weightRows.back().firstArrow) {
                case base::Arrow::Up:
                    m.face = DayFace::Sulky;
                    break;
                case base::Arrow::Same:
                    m.face = DayFace::Smiling;
                    break;
                case base::Arrow::Down:
                    m.face = DayFace::Laughing;
                    break;
            }
        }
        chart::CompositionCharts small = composition.finish();
        m.metabolismChart = std::move(small.metabolism);
        m.muscleChart = std::move(small.muscle);
        m.boneChart = std::move(small.bone);
    }

    m.dayCounts = countDay(activeLog, otherLog, selectedDay, activeSlot);
    return m;
}

std::array<DayCount, 2> countDay(const std::vector<store::MeasurementRecord>& activeLog,
                                 const std::vector<store::MeasurementRecord>& otherLog,
                                 const std::string& day, int activeSlot) {
    const auto onDay = [&day](const store::MeasurementRecord& r) { return r.date == day; };
    const int activeCount =
        static_cast<int>(std::count_if(activeLog.begin(), activeLog.end(), onDay));
    const int otherCount = static_cast<int>(std::count_if(otherLog.begin(), otherLog.end(), onDay));
    DayCount active = dayCount(activeCount);
    DayCount other = dayCount(otherCount);
    if (activeCount == otherCount) {
        active.colour = other.colour = {255, 255, 192};
    } else {
        DayCount& larger = activeCount > otherCount ? active : other;
        DayCount& smaller = activeCount > otherCount ? other : active;
        larger.colour = {192, 255, 192};
        smaller.colour = {255, 192, 192};
    }
    std::array<DayCount, 2> counts;
    const bool activeIsSlot2 = activeSlot == 2;
    counts[activeIsSlot2 ? 1 : 0] = active;
    counts[activeIsSlot2 ? 0 : 1] = other;
    return counts;
}

}  // namespace pairly::entry
