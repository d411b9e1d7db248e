#include "core/entry/day_view.h"

#include <gtest/gtest.h>

namespace pairly::entry {
namespace {

using store::MeasurementRecord;

MeasurementRecord rec(const std::string& date, float weight, float fat = 25.0f,
                      const std::string& situation = "朝") {
    MeasurementRecord r;
    r.date = date;
    r.situation = situation;
    r.weight = weight;
    r.bodyFat = fat;
    r.basalMetabolism = 1500;
    r.visceralFat = 9;
    r.muscleMass = 45.2f;
    r.muscleScore = 95;
    r.boneMass = 2.6f;
    return r;
}

std::vector<std::string> column(const DayViewModel& m, int col) {
    std::vector<std::string> out;
    for (const auto& row : m.weightRows)
        out.push_back(row.cells[static_cast<std::size_t>(col)].formatted());
    return out;
}

template <std::size_t N>
std::vector<std::string> texts(const std::array<text::Cell, N>& cells) {
    std::vector<std::string> out;
    for (const text::Cell& cell : cells) out.push_back(cell.formatted());
    return out;
}

const base::Rgb kRed{255, 192, 192}, kYellow{255, 255, 192}, kGreen{192, 255, 192};

TEST(DayView, ThreeWeighingsAfterADayEndingHigher) {
    std::vector<MeasurementRecord> log = {
        rec("2026/11/01", 62.0f, 28.0f), rec("2026/12/06", 60.5f),
        rec("2026/12/06", 60.3f),        rec("2026/12/07", 60.0f, 24.6f, "起床時"),
        rec("2026/12/07", 59.8f, 24.5f), rec("2026/12/07", 60.1f, 24.9f, "夕食後")};
    const DayViewModel m = computeDayView(log, {}, 170.0f, "2026/12/07", 1);

    ASSERT_EQ(m.weightRows.size(), 3u);
    EXPECT_EQ(column(m, 0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column(m, 1), (std::vector<std::string>{"起床時", "朝", "夕食後"}));
    EXPECT_EQ(column(m, 2), (std::vector<std::string>{"60.0Kg", "59.8Kg", "60.1Kg"}));
    EXPECT_EQ(column(m, 3), (std::vector<std::string>{"-0.3Kg", "-0.2Kg", "0.3Kg"}));
    EXPECT_EQ(column(m, 4), (std::vector<std::string>{"↓", "↓", "↑"}));
    EXPECT_EQ(column(m, 5), (std::vector<std::string>{"0.0Kg", "-0.2Kg", "0.1Kg"}));
    EXPECT_EQ(column(m, 6), (std::vector<std::string>{"→", "↓", "↑"}));
    // 60.0 / 1.7² = 20.76; (60 - 63.58) / 63.58 = -5.6 %.
    EXPECT_EQ(column(m, 7), (std::vector<std::string>{"20.8", "20.7", "20.8"}));
    EXPECT_EQ(column(m, 8), (std::vector<std::string>{"-5.6%", "-5.9%", "-5.5%"}));
    EXPECT_EQ(column(m, 9), (std::vector<std::string>{"24.6%", "24.5%", "24.9%"}));
    EXPECT_EQ(m.weightRows[0].previousColour(), kGreen);
    EXPECT_EQ(m.weightRows[2].previousColour(), kRed);
    EXPECT_EQ(m.weightRows[0].firstColour(), kYellow);
    EXPECT_EQ(m.face, DayFace::Sulky);

    ASSERT_EQ(m.compositionRows.size(), 3u);
    EXPECT_EQ(texts(m.compositionRows[1].cells),
              (std::vector<std::string>{"2", "朝", "59.8Kg", "24.5%", "1500kcal", "9", "45.2Kg",
                                        "95", "2.6Kg"}));

    EXPECT_EQ(m.previousValues, log.back().readings());
    EXPECT_EQ(m.shownDate, "2026/12/07");
    EXPECT_EQ(m.recordCount, 6);
    EXPECT_EQ(m.lastDate(), "2026/12/07");
    EXPECT_EQ(m.firstRecordDate, "2026/11/01");
    EXPECT_EQ(m.daysText, "26/11/01 → 36日経過");
    EXPECT_EQ(m.weightChangeText, "62.0Kg → 1.9Kg 減");
    EXPECT_EQ(m.bmiText, "21.5 → 0.7 減");
    EXPECT_EQ(m.obesityText, "-2.5% → 3.0% 減");
    EXPECT_FALSE(m.scrollToLastRow);

    // Weight axis: 60.1f lies just below 60.1, so Int(max + 0.9) alone would be 60 and
    // cut the last point off; the axis must still enclose it.
    EXPECT_EQ(m.weightChart.series1, (chart::Series{60, 59.8, 60.1}));
    EXPECT_EQ(m.weightChart.left.minimum, 59);
    EXPECT_EQ(m.weightChart.left.maximum, 61);
    EXPECT_EQ(m.weightChart.right.minimum, 24);
    EXPECT_EQ(m.weightChart.right.maximum, 25);
    ASSERT_TRUE(m.bmi.has_value());
    EXPECT_EQ(m.bmi->bmiText, "20.8");
}

TEST(DayView, FaceFollowsTheRoundedChangeSinceTheDaysFirstWeighing) {
    struct Case {
        float first, last;
        DayFace face;
    } cases[] = {{60.0f, 60.04f, DayFace::Smiling},
                 {60.0f, 59.96f, DayFace::Smiling},
                 {60.0f, 60.06f, DayFace::Sulky},
                 {60.0f, 59.5f, DayFace::Laughing}};
    for (const Case& c : cases) {
        std::vector<MeasurementRecord> log = {rec("2026/12/01", 61.0f), rec("2026/12/07", c.first),
                                              rec("2026/12/07", c.last)};
        const DayViewModel m = computeDayView(log, {}, 160.0f, "2026/12/07", 1);
        EXPECT_EQ(m.face, c.face) << c.last;
    }
}

TEST(DayView, PastDayComparesWithTheRecordReadBeforeIt) {
    std::vector<MeasurementRecord> log = {rec("2026/11/01", 62.0f), rec("2026/11/05", 61.0f),
                                          rec("2026/11/07", 60.5f), rec("2026/11/07", 60.2f),
                                          rec("2026/11/09", 59.9f)};
    const DayViewModel m = computeDayView(log, {}, 170.0f, "2026/11/07", 1);
    EXPECT_EQ(column(m, 3), (std::vector<std::string>{"-0.5Kg", "-0.3Kg"}));
    EXPECT_EQ(column(m, 5), (std::vector<std::string>{"0.0Kg", "-0.3Kg"}));
    EXPECT_EQ(m.previousValues.weight, 60.2f);
    EXPECT_EQ(m.shownDate, "2026/11/07");
    EXPECT_EQ(m.daysText, "26/11/01 → 6日経過");
    EXPECT_EQ(m.lastRecord->weight, 59.9f);  // L stays the log's last record
    EXPECT_EQ(m.face, DayFace::Laughing);
}

TEST(DayView, FirstWeighingOfTheLogComparesWithItself) {
    std::vector<MeasurementRecord> log = {rec("2026/11/01", 62.0f), rec("2026/11/02", 61.0f)};
    const DayViewModel m = computeDayView(log, {}, 170.0f, "2026/11/01", 1);
    ASSERT_EQ(m.weightRows.size(), 1u);
    EXPECT_EQ(m.weightRows[0].cells[3].formatted(), "0.0Kg");
    EXPECT_EQ(m.weightRows[0].cells[4].formatted(), "→");
    EXPECT_EQ(m.weightRows[0].cells[5].formatted(), "0.0Kg");
    EXPECT_EQ(m.weightRows[0].cells[6].formatted(), "→");
    EXPECT_EQ(m.weightChangeText, "62.0Kg → 0.0Kg 同");
    EXPECT_EQ(m.daysText, "26/11/01 → 0日経過");
    EXPECT_EQ(m.face, DayFace::Smiling);

    // A weight gained since the start reads " 増".
    std::vector<MeasurementRecord> gained = {rec("2026/11/01", 62.0f), rec("2026/11/02", 62.4f)};
    EXPECT_EQ(computeDayView(gained, {}, 170.0f, "2026/11/02", 1).weightChangeText,
              "62.0Kg → 0.4Kg 増");
}

TEST(DayView, GridsScrollFromNineWeighings) {
    for (int count : {8, 9}) {
        std::vector<MeasurementRecord> log = {rec("2026/12/01", 61.0f)};
        for (int i = 0; i < count; ++i) log.push_back(rec("2026/12/07", 60.0f + 0.1f * i));
        const DayViewModel m = computeDayView(log, {}, 170.0f, "2026/12/07", 1);
        EXPECT_EQ(m.weightRows.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(m.compositionRows.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(m.scrollToLastRow, count == 9) << count;
        EXPECT_EQ(m.dayCounts[0].pictureIndex, 3);
    }
}

TEST(DayView, DayWithoutWeighingsShowsTheLastRecord) {
    std::vector<MeasurementRecord> log = {rec("2026/11/01", 62.0f), rec("2026/12/03", 60.7f)};
    std::vector<MeasurementRecord> other = {rec("2026/12/05", 55.0f)};
    const DayViewModel m = computeDayView(log, other, 170.0f, "2026/12/05", 1);
    EXPECT_TRUE(m.weightRows.empty());
    EXPECT_TRUE(m.compositionRows.empty());
    EXPECT_EQ(m.face, DayFace::NoData);
    EXPECT_EQ(m.previousValues, log.back().readings());
    EXPECT_EQ(m.shownDate, "2026/12/03");
    EXPECT_EQ(m.daysText, "26/11/01 → 32日経過");
    EXPECT_EQ(m.weightChangeText, "62.0Kg → 1.3Kg 減");
    for (const DayChart* c : {&m.weightChart, &m.metabolismChart, &m.muscleChart, &m.boneChart}) {
        EXPECT_FALSE(c->hasData);
        EXPECT_TRUE(c->series1.empty());
        EXPECT_LT(c->left.minimum, c->left.maximum);
    }
    EXPECT_EQ(m.dayCounts[0].count, 0);
    EXPECT_EQ(m.dayCounts[0].pictureIndex, 0);
    EXPECT_EQ(m.dayCounts[0].colour, kRed);
    EXPECT_EQ(m.dayCounts[1].text, "1");
    EXPECT_EQ(m.dayCounts[1].pictureIndex, 1);
    EXPECT_EQ(m.dayCounts[1].colour, kGreen);
}

TEST(DayView, DayCountsGoToTheLabelsOfTheirSlots) {
    std::vector<MeasurementRecord> two = {rec("2026/12/01", 61.0f), rec("2026/12/07", 60.0f),
                                          rec("2026/12/07", 60.1f)};
    DayViewModel m = computeDayView(two, two, 170.0f, "2026/12/07", 1);
    for (const DayCount& c : m.dayCounts) {
        EXPECT_EQ(c.text, "2");
        EXPECT_EQ(c.pictureIndex, 2);
        EXPECT_EQ(c.colour, kYellow);
    }
    // Active partner 2 with three weighings against partner 1 with two.
    std::vector<MeasurementRecord> three = two;
    three.push_back(rec("2026/12/07", 60.2f));
    m = computeDayView(three, two, 170.0f, "2026/12/07", 2);
    EXPECT_EQ(m.dayCounts[1].count, 3);
    EXPECT_EQ(m.dayCounts[1].pictureIndex, 3);
    EXPECT_EQ(m.dayCounts[1].colour, kGreen);
    EXPECT_EQ(m.dayCounts[0].count, 2);
    EXPECT_EQ(m.dayCounts[0].colour, kRed);
}

TEST(DayView, CompositionChartAxes) {
    auto withValues = [](std::int16_t metabolism, float muscle, float bone) {
        MeasurementRecord r = rec("2026/12/07", 60.0f);
        r.basalMetabolism = metabolism;
        r.muscleMass = muscle;
        r.boneMass = bone;
        return r;
    };
    std::vector<MeasurementRecord> log = {rec("2026/12/01", 61.0f), withValues(1480, 52.3f, 2.5f),
                                          withValues(1520, 53.0f, 2.7f)};
    DayViewModel m = computeDayView(log, {}, 170.0f, "2026/12/07", 1);
    EXPECT_EQ(m.metabolismChart.left, (AxisRange{1470, 1530, 10}));
    EXPECT_EQ(m.metabolismChart.series1, (chart::Series{1480, 1520}));
    EXPECT_EQ(m.metabolismChart.series2, (chart::Series{9, 9}));
    EXPECT_EQ(m.metabolismChart.right, (AxisRange{8, 10, 0}));
    EXPECT_EQ(m.muscleChart.left, (AxisRange{52, 53, 10}));
    EXPECT_EQ(m.muscleChart.series1, (chart::Series{52.3, 53}));
    EXPECT_EQ(m.muscleChart.right, (AxisRange{94, 96, 0}));
    EXPECT_NEAR(m.boneChart.left.minimum, 2.4, 1e-6);
    EXPECT_NEAR(m.boneChart.left.maximum, 2.8, 1e-6);
    EXPECT_EQ(m.boneChart.left.majorDivisions, 4);
    EXPECT_TRUE(m.boneChart.series2.empty());

    // A single whole value would give an empty range (52..52): it is widened.
    log = {rec("2026/12/01", 61.0f), withValues(1500, 52.0f, 2.6f)};
    m = computeDayView(log, {}, 170.0f, "2026/12/07", 1);
    EXPECT_EQ(m.metabolismChart.left, (AxisRange{1490, 1510, 10}));
    EXPECT_EQ(m.muscleChart.left, (AxisRange{52, 53, 10}));
    EXPECT_EQ(m.boneChart.left.majorDivisions, 2);
    EXPECT_EQ(m.weightChart.left.minimum, 60);
    EXPECT_EQ(m.weightChart.left.maximum, 61);
}

TEST(DayView, EmptyLogGivesAnEmptyConsistentModel) {
    std::vector<MeasurementRecord> other = {rec("2026/12/07", 55.0f)};
    const DayViewModel m = computeDayView({}, other, 170.0f, "2026/12/07", 1);
    EXPECT_FALSE(m.hasRecords);
    EXPECT_EQ(m.recordCount, 0);
    EXPECT_FALSE(m.lastRecord.has_value());
    EXPECT_EQ(m.firstRecordDate, "");
    EXPECT_EQ(m.previousValues, store::Readings{});
    EXPECT_EQ(m.face, DayFace::NoData);
    EXPECT_EQ(m.weightChangeText, "");
    EXPECT_FALSE(m.bmi.has_value());
    EXPECT_EQ(m.dayCounts[0].count, 0);
    EXPECT_EQ(m.dayCounts[1].count, 1);
}

TEST(DayView, HeightZeroLeavesBmiFiguresEmpty) {
    std::vector<MeasurementRecord> log = {rec("2026/11/01", 62.0f), rec("2026/12/07", 60.0f)};
    const DayViewModel m = computeDayView(log, {}, 0.0f, "2026/12/07", 1);
    ASSERT_EQ(m.weightRows.size(), 1u);
    EXPECT_EQ(m.weightRows[0].cells[7].formatted(), "");
    EXPECT_EQ(m.weightRows[0].cells[8].formatted(), "");
    EXPECT_EQ(m.weightRows[0].cells[3].formatted(), "-2.0Kg");
    EXPECT_EQ(m.bmiText, "");
    EXPECT_EQ(m.obesityText, "");
    EXPECT_EQ(m.weightChangeText, "62.0Kg → 2.0Kg 減");
    EXPECT_FALSE(m.bmi.has_value());
    EXPECT_EQ(m.currentBmi, 0.0f);
}

}  // namespace
}  // namespace pairly::entry
