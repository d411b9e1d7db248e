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
const std::array<Align, kWeightGridColumns> kWeightGridAlignment = {
    Align::Right, Align::Left,   Align::Right, Align::Right, Align::Centre,
    Align::Right, Align::Centre, Align::Right, Align::Right, Align::Right};
const std::array<Align, kCompositionGridColumns> kCompositionGridAlignment = {
    Align::Right, Align::Left,  Align::Right, Align::Right, Align::Right,
    Align::Right, Align::Right, Align::Right, Align::Right};

PreviousValues valuesOf(const store::MeasurementRecord& r) {
    return {r.weight,     r.bodyFat,     r.basalMetabolism, r.visceralFat,
            r.muscleMass, r.muscleScore, r.boneMass};
}

namespace {

text::Cell kgCell(float value) { return text::Cell::number(value, "0.0Kg"); }

using text::formatNumber;

std::string kg(float value) { return formatNumber(value, "0.0Kg"); }

// The trend word compares start minus current exactly.
std::string trendWord(float startMinusCurrent) {
    if (startMinusCurrent < 0) return " 増";
    if (startMinusCurrent > 0) return " 減";
    return " 同";
}

// Axis limits that always enclose the plotted values and never collapse: a float such as
// 60.1f sits just below 60.1, so Int(60.1f + 0.9) is 60 and would cut the point off.
AxisRange enclosingRange(double maximum, double minimum, double largest, int divisions) {
    if (maximum < largest) maximum = std::ceil(largest);
    if (maximum <= minimum) maximum = minimum + 1;
    return {minimum, maximum, divisions};
}

DayCount dayCount(int count) {
    DayCount c;
    c.count = count;
    c.text = std::to_string(count);
    c.pictureIndex = std::min(count, 3);
    return c;
}

void fillCompositionCharts(const std::vector<CompositionGridRow>& rows, DayViewModel& m) {
    if (rows.empty()) return;  // each chart keeps its empty state
    std::int16_t largestMetabolism = 0, smallestMetabolism = 30000;
    float largestMuscle = 0, smallestMuscle = 9999;
    float largestBone = 0, smallestBone = 30000;
    double largestVisceral = -1e300, smallestVisceral = 1e300;
    double largestScore = -1e300, smallestScore = 1e300;
    for (const CompositionGridRow& row : rows) {
        // The charts show the grid's figures as shown, rounded to 0.1 kg.
        const double metabolism = row.cells[4].value();
        const double visceral = row.cells[5].value();
        const double muscle = text::shownValue(static_cast<float>(row.cells[6].value()), 1);
        const double score = row.cells[7].value();
        const double bone = text::shownValue(static_cast<float>(row.cells[8].value()), 1);
        m.mcrMain2.series1.push_back(text::doubleText(metabolism));
        m.mcrMain2.series2.push_back(text::doubleText(visceral));
        m.mcrMain3.series1.push_back(text::doubleText(muscle));
        m.mcrMain3.series2.push_back(text::doubleText(score));
        m.mcrMain4.series1.push_back(text::doubleText(bone));

        largestVisceral = std::max(largestVisceral, visceral);
        smallestVisceral = std::min(smallestVisceral, visceral);
        largestScore = std::max(largestScore, score);
        smallestScore = std::min(smallestScore, score);
        const std::int16_t metabolism16 = text::toInt16Clamped(metabolism);
        largestMetabolism = std::max(largestMetabolism, metabolism16);
        smallestMetabolism = std::min(smallestMetabolism, metabolism16);
        const float muscleF = static_cast<float>(muscle);
        if (muscleF > largestMuscle) largestMuscle = muscleF;
        if (muscleF < smallestMuscle) smallestMuscle = muscleF;
        const float boneF = static_cast<float>(bone);
        if (boneF > largestBone) largestBone = boneF;
        if (boneF < smallestBone) smallestBone = boneF;
    }
    m.mcrMain2.hasData = m.mcrMain3.hasData = m.mcrMain4.hasData = true;

    m.mcrMain2.left = {(text::intFloor(smallestMetabolism * 0.1) - 1) * 10,
                       (text::intFloor(largestMetabolism * 0.1) + 1) * 10, 10};
    m.mcrMain3.left = enclosingRange(text::intFloor(largestMuscle + 0.99),
                                     text::intFloor(smallestMuscle), largestMuscle, 10);
    m.mcrMain2.right = {text::intFloor(smallestVisceral) - 1, text::intFloor(largestVisceral) + 1,
                        0};
    m.mcrMain3.right = {text::intFloor(smallestScore) - 1, text::intFloor(largestScore) + 1, 0};
    const double boneMax = static_cast<double>(largestBone) + 0.1;
    const double boneMin = static_cast<double>(smallestBone) - 0.1;
    m.mcrMain4.left = {boneMin, boneMax,
                       text::saturatedInt(text::roundHalfEven((boneMax - boneMin) * 10))};
}

}  // namespace

DayViewModel computeDayView(const std::vector<store::MeasurementRecord>& activeLog,
                            const std::vector<store::MeasurementRecord>& otherLog, float heightCm,
                            const std::string& selectedDay, int activeSlot) {
    DayViewModel m;

    const float h = heightCm / 100.0f;
    const float h2 = h * h;
    const float standard = 22.0f * h2;
    // Height 0 (a fresh profile) would make every BMI and obesity figure infinite.
    const bool bmiUsable = heightCm > 0 && std::isfinite(h2) && h2 > 0 && standard > 0;

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
                row.previousArrow = arrowOf(text::shownValue(previous, 1));
                row.cells[4] = Cell::text(arrowText(row.previousArrow));
                row.cells[5] = kgCell(first);
                row.firstArrow = arrowOf(text::shownValue(first, 1));
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
                m.mcrMain.series1.push_back(text::floatText(r.weight));
                m.mcrMain.series2.push_back(text::floatText(r.bodyFat));

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
            m.mcrMain.hasData = true;
            m.mcrMain.left = enclosingRange(text::intFloor(maxWeight + 0.9),
                                            text::intFloor(minWeight), maxWeight, 0);
            m.mcrMain.right =
                enclosingRange(text::intFloor(maxFat + 0.9), text::intFloor(minFat), maxFat, 0);
        }

        const store::MeasurementRecord& shown = lastDayRow ? *lastDayRow : activeLog.back();
        m.previousValues = valuesOf(shown);
        m.shownDate = lastDayRow ? selectedDay : activeLog.back().date;
        m.currentWeight = m.previousValues.weight;
        const float wc = m.currentWeight;

        m.bmi = views::showCurrentBmi(wc, heightCm, m.recordCount);

        const auto d0 = text::parseDate(m.firstRecordDate);
        const auto shownDay = text::parseDate(m.shownDate);
        if (d0 && shownDay) {
            m.lblDspNissuu = text::formatDate(*d0, "yy/mm/dd") + " → " +
                             std::to_string(text::daysBetween(*d0, *shownDay)) + "日経過";
        }
        m.lblDspTai = kg(w0) + " → " + kg(std::fabs(wc - w0)) + trendWord(w0 - wc);
        if (bmiUsable) {
            m.currentBmi = wc / h2;
            m.currentObesity = (wc - standard) / standard;
            const float bc = m.currentBmi;
            const float oc = m.currentObesity;
            m.lblDspBmi = formatNumber(b0, "0.0") + " → " +
                          formatNumber(std::fabs(bc - b0), "0.0") + trendWord(b0 - bc);
            m.lblDspHiman = formatNumber(o0, "0.0%") + " → " +
                            formatNumber(std::fabs(oc - o0), "0.0%") + trendWord(o0 - oc);
        }

        if (!m.weightRows.empty()) {
            switch (m.weightRows.back().firstArrow) {
                case Arrow::Up:
                    m.face = DayFace::Sulky;
                    break;
                case Arrow::Same:
                    m.face = DayFace::Smiling;
                    break;
                case Arrow::Down:
                    m.face = DayFace::Laughing;
                    break;
            }
        }
        fillCompositionCharts(m.compositionRows, m);
    }

    const int activeCount = static_cast<int>(m.weightRows.size());
    const int otherCount = static_cast<int>(
        std::count_if(otherLog.begin(), otherLog.end(),
                      [&](const store::MeasurementRecord& r) { return r.date == selectedDay; }));
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
    const bool activeIsSlot2 = activeSlot == 2;
    m.dayCounts[activeIsSlot2 ? 1 : 0] = active;
    m.dayCounts[activeIsSlot2 ? 0 : 1] = other;
    return m;
}

}  // namespace pairly::entry
