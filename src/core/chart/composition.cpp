#include "core/chart/composition.h"

#include <algorithm>
#include <cmath>

#include "core/chart/ticks.h"
#include "core/text/numbers.h"

namespace pairly::chart {

CompositionBuilder::CompositionBuilder(CompositionStyle style, std::size_t expected)
    : style_(style) {
    for (Series* s : {&charts_.metabolism.series1, &charts_.metabolism.series2,
                      &charts_.muscle.series1, &charts_.muscle.series2, &charts_.bone.series1})
        s->reserve(expected);
}

void CompositionBuilder::add(const store::Readings& r) {
    // The grids show masses to 0.1 kg; the trend screen the stored figures as written.
    const double muscleShown =
        style_.gridFigures ? text::shownTenths(r.muscleMass) : text::shortestDecimal(r.muscleMass);
    const double boneShown =
        style_.gridFigures ? text::shownTenths(r.boneMass) : text::shortestDecimal(r.boneMass);
    const float muscle = style_.gridFigures ? static_cast<float>(muscleShown) : r.muscleMass;
    const float bone = style_.gridFigures ? static_cast<float>(boneShown) : r.boneMass;
    charts_.metabolism.series1.push_back(r.basalMetabolism);
    charts_.metabolism.series2.push_back(r.visceralFat);
    charts_.muscle.series1.push_back(muscleShown);
    charts_.muscle.series2.push_back(r.muscleScore);
    charts_.bone.series1.push_back(boneShown);

    largestMetabolism_ = std::max<int>(largestMetabolism_, r.basalMetabolism);
    smallestMetabolism_ = std::min<int>(smallestMetabolism_, r.basalMetabolism);
    largestVisceral_ = std::max<int>(largestVisceral_, r.visceralFat);
    smallestVisceral_ = std::min<int>(smallestVisceral_, r.visceralFat);
    largestScore_ = std::max<int>(largestScore_, r.muscleScore);
    smallestScore_ = std::min<int>(smallestScore_, r.muscleScore);
    if (muscle > largestMuscle_) largestMuscle_ = muscle;
    if (muscle < smallestMuscle_) smallestMuscle_ = muscle;
    if (bone > largestBone_) largestBone_ = bone;
    if (bone < smallestBone_) smallestBone_ = bone;
}

CompositionCharts CompositionBuilder::finish() {
    CompositionChart& metabolism = charts_.metabolism;
    CompositionChart& muscle = charts_.muscle;
    CompositionChart& bone = charts_.bone;
    if (metabolism.series1.empty()) return std::move(charts_);
    metabolism.hasData = muscle.hasData = bone.hasData = true;

    // Whole tens around the values, in 32 bits: 32,767 kcal gives 32,770.
    metabolism.left = {(std::floor(smallestMetabolism_ * 0.1) - 1) * 10,
                       (std::floor(largestMetabolism_ * 0.1) + 1) * 10, 10};
    const double muscleMinimum = std::floor(smallestMuscle_);
    muscle.left = style_.gridFigures
                      ? enclosingRange(muscleMinimum, largestMuscle_, 0.99f, 10)
                      : AxisRange{muscleMinimum, upperLimit(largestMuscle_, 0.99f), 10};
    metabolism.right = {smallestVisceral_ - 1.0, largestVisceral_ + 1.0, 0};
    muscle.right = {smallestScore_ - 1.0, largestScore_ + 1.0, 0};
    if (!style_.gridFigures) {
        metabolism.right.majorDivisions = wholeUnitDivisions(metabolism.right);
        muscle.right.majorDivisions = wholeUnitDivisions(muscle.right);
    }

    // Not whole numbers: one major division per 0.1 kg; a count no chart takes (bone masses
    // far apart) is left to the chart.
    bone.left = {static_cast<double>(smallestBone_) - 0.1, static_cast<double>(largestBone_) + 0.1};
    const double divisions = text::roundHalfEven((bone.left.maximum - bone.left.minimum) * 10);
    bone.left.majorDivisions =
        divisions >= 1 && divisions <= 1000 ? static_cast<int>(divisions) : 0;
    bone.right = {};
    return std::move(charts_);
}

}  // namespace pairly::chart
