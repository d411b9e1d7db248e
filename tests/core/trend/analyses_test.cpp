#include "core/trend/analyses.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "core/text/dates.h"

namespace pairly::trend {
namespace {

using Row = std::array<std::string, 4>;
using Rows = GridRows;

// One weighing a day from 2026/01/01, or on the given days.
WeightSeries seriesOf(const std::vector<float>& weights, const std::vector<int>& days = {}) {
    std::vector<store::MeasurementRecord> log;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        store::MeasurementRecord r;
        const int day = i < days.size() ? days[i] : static_cast<int>(i);
        r.date = text::formatDate(text::addDays({2026, 1, 1}, day));
        r.weight = weights[i];
        log.push_back(r);
    }
    return buildWeightSeries(log);
}

std::vector<std::string> column(const Rows& rows, std::size_t c) {
    std::vector<std::string> out;
    for (const Row& r : rows) out.push_back(r[c]);
    return out;
}

TEST(TimeSeries, DifferencesRoundedWithTheirSigns) {
    const WeightSeries s = seriesOf({65.0f, 65.0f, 65.4f, 65.1f, 65.06f, 64.0f});
    const TimeSeries previous = buildTimeSeries(s, Reference::Previous);
    EXPECT_EQ(previous.differenceHeader, "前回差");
    EXPECT_EQ(previous.rows[0], (Row{"1回目", "2026/01/01", "65.0Kg", "±0.0Kg"}));
    EXPECT_EQ(previous.rows[5], (Row{"6回目", "2026/01/06", "64.0Kg", "-1.1Kg"}));
    // 0, +0.4, -0.3, -0.04 rounds to 0.0, -1.06 rounds to -1.1.
    EXPECT_EQ(column(previous.rows, 3), (std::vector<std::string>{"±0.0Kg", "±0.0Kg", "+0.4Kg",
                                                                  "-0.3Kg", "±0.0Kg", "-1.1Kg"}));

    const TimeSeries first = buildTimeSeries(s, Reference::First);
    EXPECT_EQ(first.differenceHeader, "初回差");
    EXPECT_EQ(column(first.rows, 3), (std::vector<std::string>{"±0.0Kg", "±0.0Kg", "+0.4Kg",
                                                               "+0.1Kg", "+0.1Kg", "-1.0Kg"}));

    EXPECT_TRUE(buildTimeSeries(seriesOf({}), Reference::First).rows.empty());
}

TEST(Milestones, RowsPerHalfKiloAndTheSummary) {
    // 70.0 → lowest 68.9 on day 20: total 1.1, two milestones.
    const WeightSeries s =
        seriesOf({70.0f, 69.6f, 69.4f, 69.5f, 68.9f, 69.2f}, {0, 3, 7, 9, 20, 31});
    const Milestones m = buildMilestones(s);
    ASSERT_EQ(m.rows.size(), 2u);
    EXPECT_EQ(m.rows[0], (Row{"0.5Kg減", "2026/01/08", "7日後", "7日後"}));
    EXPECT_EQ(m.rows[1], (Row{"1.0Kg減", "2026/01/21", "20日後", "13日後"}));
    // From the lowest day (day 20) to the last weighing (day 31).
    EXPECT_EQ(m.summary, "最高　1.1Kg減を達成してから　11日経過");

    // 0.98 kg lost rounds to 1.0: two rows, but 1.0 kg is not reached.
    const Milestones almost = buildMilestones(seriesOf({70.0f, 69.02f}));
    ASSERT_EQ(almost.rows.size(), 2u);
    EXPECT_EQ(almost.rows[0][0], "0.5Kg減");
    EXPECT_EQ(almost.rows[1], Row{});
    EXPECT_EQ(almost.summary, "最高　1.0Kg減を達成してから　0日経過");

    // One weighing reaches two milestones: same date, the second 0日後.
    const Milestones jump = buildMilestones(seriesOf({70.0f, 68.9f}, {0, 5}));
    ASSERT_EQ(jump.rows.size(), 2u);
    EXPECT_EQ(jump.rows[0], (Row{"0.5Kg減", "2026/01/06", "5日後", "5日後"}));
    EXPECT_EQ(jump.rows[1], (Row{"1.0Kg減", "2026/01/06", "5日後", "0日後"}));

    // A single weighing or no loss: no rows and no summary.
    for (const WeightSeries& none :
         {seriesOf({70.0f}), seriesOf({70.0f, 71.0f, 70.3f}), seriesOf({})}) {
        const Milestones n = buildMilestones(none);
        EXPECT_TRUE(n.rows.empty());
        EXPECT_FALSE(n.summary.has_value());
    }
}

TEST(Milestones, MoreThanFiftyOneMilestones) {
    // 40 kg lost: 80 milestones, past the 25.5 kg of a fixed table.
    std::vector<float> w;
    for (int i = 0; i <= 80; ++i) w.push_back(120.0f - 0.5f * static_cast<float>(i));
    const Milestones m = buildMilestones(seriesOf(w));
    ASSERT_EQ(m.rows.size(), 80u);
    EXPECT_EQ(m.rows[50], (Row{"25.5Kg減", "2026/02/21", "51日後", "1日後"}));
    EXPECT_EQ(m.rows[51][0], "26.0Kg減");
    EXPECT_EQ(m.rows[79], (Row{"40.0Kg減", "2026/03/22", "80日後", "1日後"}));
    EXPECT_EQ(m.summary, "最高　40.0Kg減を達成してから　0日経過");
}

TEST(AverageTrend, ChangesInGramsAndTheStreak) {
    const AverageTrend a = buildAverageTrend(seriesOf({65.0f, 65.0f, 64.7f}));
    EXPECT_EQ(a.rows[0], (Row{"1回目", "65.0Kg", "65.000Kg", "0g"}));
    EXPECT_EQ(a.rows[1], (Row{"2回目", "65.0Kg", "65.000Kg", "±0g"}));
    EXPECT_EQ(a.rows[2], (Row{"3回目", "64.7Kg", "64.900Kg", "-100g"}));
    EXPECT_EQ(a.streak, 2);
    EXPECT_EQ(a.summary, "連続ﾏｲﾅｽ記録 2回達成！");
    // The streak counts weighings, not days: four on two days make a streak of three.
    const AverageTrend sameDay =
        buildAverageTrend(seriesOf({66.0f, 65.0f, 64.8f, 64.5f}, {0, 0, 0, 1}));
    EXPECT_EQ(sameDay.summary, "連続ﾏｲﾅｽ記録 3回達成！");

    // A weighing that raises the mean ends the streak.
    const AverageTrend up = buildAverageTrend(seriesOf({65.0f, 65.0f, 64.7f, 66.0f}));
    EXPECT_EQ(up.rows[3][3], "+275g");
    EXPECT_EQ(up.streak, 0);
    EXPECT_EQ(up.summary, "平均を上回ってしまいました...");

    const AverageTrend one = buildAverageTrend(seriesOf({65.0f}));
    EXPECT_EQ(one.rows[0][3], "0g");
    EXPECT_EQ(one.summary, "平均を上回ってしまいました...");

    EXPECT_TRUE(buildAverageTrend(seriesOf({})).summary.empty());
}

TEST(BandRanking, BandsCountsAndLabels) {
    // 64.5 .. 66.2 with 1.0 kg bands: 64, 65, 66 hold weighings, 67 ends the list.
    const BandRanking one =
        buildBandRanking(seriesOf({64.5f, 65.0f, 65.9f, 66.2f, 65.5f, 64.9f}), BandWidth::OneKilo);
    EXPECT_EQ(one.title, "    体重推移累積番付 < 1.0Kg刻み >");
    ASSERT_EQ(one.rows.size(), 3u);
    EXPECT_EQ(one.rows[0], (Row{"1位", "65.0～65.9Kg", "3回", ""}));
    EXPECT_EQ(one.rows[1], (Row{"2位", "64.0～64.9Kg", "2回", "1回"}));
    EXPECT_EQ(one.rows[2], (Row{"3位", "66.0～66.9Kg", "1回", "1回"}));

    // With 0.5 kg bands 65.4 and 65.5 fall apart.
    const BandRanking half = buildBandRanking(seriesOf({65.4f, 65.5f, 65.5f}), BandWidth::HalfKilo);
    EXPECT_EQ(half.title, "    体重推移累積番付 < 0.5Kg刻み >");
    ASSERT_EQ(half.rows.size(), 2u);
    EXPECT_EQ(half.rows[0], (Row{"1位", "65.5～65.9Kg", "2回", ""}));
    EXPECT_EQ(half.rows[1], (Row{"2位", "65.0～65.4Kg", "1回", "1回"}));
}

TEST(BandRanking, EveryWeighingLandsInABand) {
    // 65.99 lies between 65.9 and 66.0: it belongs to the 65 band, so the counts add up.
    for (BandWidth width : {BandWidth::OneKilo, BandWidth::HalfKilo}) {
        const std::vector<float> w = {65.99f, 65.95f, 65.49f, 64.0f, 66.999f, 65.0f};
        const BandRanking b = buildBandRanking(seriesOf(w), width);
        int total = 0;
        for (const Row& r : b.rows) total += std::stoi(r[2]);
        EXPECT_EQ(total, static_cast<int>(w.size()));
    }
    const BandRanking b = buildBandRanking(seriesOf({65.99f, 65.2f}), BandWidth::OneKilo);
    ASSERT_EQ(b.rows.size(), 1u);
    EXPECT_EQ(b.rows[0][2], "2回");
}

TEST(BandRanking, TheExchangeSortOrder) {
    // Counts 1, 2, 1, 3 from the 64 band up. The exchanges give 67, 65, 66, 64; a stable
    // sort by count would put 64 before 66.
    const std::vector<float> w = {64.2f, 65.1f, 65.3f, 66.4f, 67.0f, 67.5f, 67.9f};
    const BandRanking b = buildBandRanking(seriesOf(w), BandWidth::OneKilo);
    EXPECT_EQ(column(b.rows, 1), (std::vector<std::string>{"67.0～67.9Kg", "65.0～65.9Kg",
                                                           "66.0～66.9Kg", "64.0～64.9Kg"}));
    EXPECT_EQ(column(b.rows, 3), (std::vector<std::string>{"", "1回", "1回", "0回"}));
}

// The ranking leaves the empty bands out before sorting; the exchanges must order the
// others exactly as they would with the empty bands in their places.
TEST(BandRanking, EmptyBandsDoNotChangeTheExchangeOrder) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        const int n = 1 + static_cast<int>(random() % 12);
        std::vector<Band> all;
        for (int j = 0; j < n; ++j)
            all.push_back({static_cast<float>(j), static_cast<int>(random() % 4)});
        std::vector<Band> counted;
        for (const Band& b : all)
            if (b.count > 0) counted.push_back(b);

        exchangeSortBands(all);
        exchangeSortBands(counted);
        all.resize(counted.size());
        ASSERT_EQ(all, counted) << "trial " << trial;
    }
}

TEST(Analyses, DamagedWeightsNeverBreakTheGrids) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const std::vector<float>& w : {std::vector<float>{inf, 60.0f},
                                        {60.0f, inf},
                                        {nan, 60.0f},
                                        {1e30f, 60.0f},
                                        {-5.0f, 60.0f},
                                        {0.0f, 0.0f},
                                        {2000.0f, 1000.0f}}) {
        const WeightSeries s = seriesOf(w);
        EXPECT_EQ(buildTimeSeries(s, Reference::First).rows.size(), w.size());
        EXPECT_LE(buildMilestones(s).rows.size(), static_cast<std::size_t>(store::kMaxRecords));
        EXPECT_EQ(buildAverageTrend(s).rows.size(), w.size());
        for (BandWidth width : {BandWidth::OneKilo, BandWidth::HalfKilo}) {
            int total = 0;
            for (const Row& r : buildBandRanking(s, width).rows) total += std::stoi(r[2]);
            EXPECT_LE(total, static_cast<int>(w.size()));
        }
    }
}

}  // namespace
}  // namespace pairly::trend
