#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/text/dates.h"
#include "gui_support/trend_screens_fixture.h"

namespace pairly::testing {
namespace {

using gui::widgets::Axis;

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

std::string day(int offset, text::Date first = {2026, 11, 1}) {
    return text::formatDate(text::addDays(first, offset));
}

// A trend falling 0.1 kg a day from 80.0 over 2026/11/01..11/14: 80.0, then each day's
// mean 1 kg under the day before's trend (79.0, 78.9, ...). The second day is weighed
// twice (78.5 and 79.5, mean 79.0).
std::string straightLoss() {
    std::string log = weighing(day(0), "80") + weighing(day(1), "78.5") + weighing(day(1), "79.5");
    for (int d = 2; d < 14; ++d)
        log += weighing(day(d), QString::number(79.1 - 0.1 * d, 'f', 1).toStdString());
    return log;
}

// 70.0 and 60.0 on the first two days (trend low 69.0 on 11/02), then 75.0 daily until 11/24.
std::string lowThenRise() {
    std::string log = weighing(day(0), "70") + weighing(day(1), "60");
    for (int d = 2; d <= 23; ++d) log += weighing(day(d), "75");
    return log;
}

// 2026/11/01..11/14, one weighing a day falling 0.05 kg a day from 80.0, swinging `swing`
// kg down and up on alternate days.
std::string swinging(double swing) {
    std::string log;
    for (int d = 0; d < 14; ++d)
        log += weighing(
            day(d),
            QString::number(80 - 0.05 * d + (d % 2 ? swing : -swing), 'f', 2).toStdString());
    return log;
}

std::string flat(int days, const char* weight) {
    std::string log;
    for (int d = 0; d < days; ++d) log += weighing(day(d), weight);
    return log;
}

TEST_F(TrendScreensTest, TrendLineIsOffAtFirstAndShowsEachWeighingsDayTrend) {
    writeLog(straightLoss());
    openTrend();
    gui::widgets::Chart& c = chart("mcrRentai");
    auto* check = find<QCheckBox>("chkTrend");
    EXPECT_EQ(check->text(), qs("トレンド線"));
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(c.isSeriesVisible(4));
    const QStringList weights = series("mcrRentai", 1);

    check->click();
    EXPECT_TRUE(c.isSeriesVisible(4));
    EXPECT_EQ(c.seriesAxis(4), Axis::Left);
    ASSERT_EQ(c.pointCount(), 15);
    // By hand: 80; both weighings of 11/02 get 80 + 0.1 (79 - 80); then 79.9 + 0.1 (78.9 - 79.9).
    const struct {
        int point;
        double trend;
    } points[] = {{1, 80.0}, {2, 79.9}, {3, 79.9}, {4, 79.8}, {15, 78.7}};
    for (const auto& p : points)
        EXPECT_NEAR(c.value(4, p.point).toDouble(), p.trend, 1e-4) << p.point;
    EXPECT_EQ(series("mcrRentai", 1), weights);
    EXPECT_EQ(c.seriesName(4), qs("トレンド"));

    // Only with the weight axis shown.
    find<QRadioButton>("optShi1")->click();
    EXPECT_FALSE(c.isSeriesVisible(4));
    find<QRadioButton>("optKon1")->click();
    EXPECT_TRUE(c.isSeriesVisible(4));
    check->click();
    EXPECT_FALSE(c.isSeriesVisible(4));
    EXPECT_FALSE(find<QLabel>("lblRentaiLegend")->text().contains(qs("トレンド線")));
    EXPECT_EQ(c.value(4, 1).toDouble(), 80.0);  // kept for the next toggle
}

TEST_F(TrendScreensTest, ForecastAndStallTexts) {
    const char* noData = "目標到達予定：データ不足（この2週間の測定が4日未満）";
    const text::Date risen{2026, 11, 24};
    const struct {
        std::string log;
        float target;
        const char* forecast;
        const char* stall;
        text::Date today{2026, 11, 14};
    } cases[] = {
        {straightLoss(), 70.05f,
         "目標到達予定：2027/01/22頃（あと約69日。早ければ 2027/01/13、遅ければ 2027/02/04）", ""},
        {straightLoss(), 70.05f, noData, "", {2026, 12, 7}},  // three weeks without weighing
        {straightLoss(), 79.0f, "目標体重を達成しています！", ""},
        {straightLoss(), 0.0f, "", ""},
        {lowThenRise(), 60.0f, "今のペースでは目標に近づいていません",
         "停滞中：トレンド最低値（2026/11/02）から22日", risen},
        {flat(3, "70"), 60.0f, noData, ""},
        {"", 60.0f, noData, ""},
    };
    for (const auto& c : cases) {
        writeLog(c.log);
        ctx.setProfile(1, {"", 0.0f, c.target});
        clock.set(c.today, 8 * 3600);
        openTrend();
        EXPECT_EQ(text("lblYosoku"), qs(c.forecast)) << c.target;
        EXPECT_EQ(text("lblTeitai"), qs(c.stall)) << c.target;
    }
}

TEST_F(TrendScreensTest, PartnerChangeUpdatesForecastTrendAndGoalLine) {
    clock.set({2026, 11, 14}, 8 * 3600);
    writeLog(straightLoss(), 1);
    writeLog(flat(10, "60"), 2);
    ctx.setProfile(1, {"", 0.0f, 79.0f});
    ctx.setProfile(2, {"", 0.0f, 60.5f});
    openTrend();
    find<QCheckBox>("chkTrend")->click();
    EXPECT_EQ(text("lblYosoku"), qs("目標体重を達成しています！"));
    ASSERT_EQ(chart("mcrRentai").referenceLines().size(), 1u);
    EXPECT_EQ(chart("mcrRentai").referenceLines()[0].colour, QColor(40, 110, 220));

    ctx.session.selectPartner(2);
    trend->refresh();
    gui::widgets::Chart& c = chart("mcrRentai");
    EXPECT_EQ(text("lblYosoku"), qs("目標体重を達成しています！"));
    ASSERT_EQ(c.pointCount(), 10);
    EXPECT_EQ(c.value(4, 10), "60");
    EXPECT_TRUE(c.isSeriesVisible(4));  // the check box stays as it is
    ASSERT_EQ(c.referenceLines().size(), 1u);
    EXPECT_EQ(c.referenceLines()[0].value, 60.5);
    EXPECT_EQ(c.referenceLines()[0].colour, QColor(225, 60, 110));

    ctx.setProfile(2, {"", 0.0f, 50.0f});
    trend->openTrendScreen();
    EXPECT_EQ(text("lblYosoku"), qs("今のペースでは目標に近づいていません"));
}

// The target is a line of its own: drawn within the axis or in goal mode, never data.
TEST_F(TrendScreensTest, GoalLineByTargetAndGoalMode) {
    writeLog(flat(3, "63") + weighing(day(3), "65.5"));  // weight axis 63..66
    const struct {
        float target;
        bool goalMode;
        bool line;
    } cases[] = {{64.0f, false, true}, {66.0f, false, true},  {61.0f, false, false},
                 {61.0f, true, true},  {70.0f, false, false}, {70.0f, true, true},
                 {0.0f, false, false}, {0.0f, true, false}};
    for (const auto& k : cases) {
        ctx.setProfile(1, {"", 0.0f, k.target});
        openTrend();
        if (trend->goalMode() != k.goalMode) find<QPushButton>("cmdMokuChk")->click();
        gui::widgets::Chart& c = chart("mcrRentai");
        EXPECT_EQ(c.referenceLines().size(), k.line ? 1u : 0u) << k.target << k.goalMode;
        if (k.line) {
            EXPECT_EQ(c.referenceLines()[0].value, k.target);
            EXPECT_EQ(c.referenceLines()[0].axis, Axis::Left);
        }
        EXPECT_EQ(series("mcrRentai", 1), (QStringList{"63", "63", "63", "65.5"}));
    }
}

// The fan runs from the last trend point to the target on the likely, early and late day,
// a day being as many points as weighings a day in the two weeks, cut at one year after
// today; only a dated forecast has one, and only what is drawn is in the legend.
TEST_F(TrendScreensTest, ForecastFanOnlyWithADateAndCutAtOneYear) {
    clock.set({2026, 11, 14}, 8 * 3600);
    const QString from1 = "15 78.70 → ", from2 = "14 79.65 → ";
    const struct {
        std::string log;
        float target;
        QStringList lines;  // likely, early, late: first and last point; none without a fan
    } cases[] = {
        {swinging(0.4), 70.0f, {}},  // no outlook
        {straightLoss(), 79.0f, {}},
        {lowThenRise(), 60.0f, {}},
        {flat(3, "70"), 60.0f, {}},
        {straightLoss(), 0.0f, {}},
        // 15 weighings in 14 days: 69, 60 and 82 days are 74, 64 and 88 points.
        {straightLoss(), 70.05f, {from1 + "89 70.05", from1 + "79 70.05", from1 + "103 70.05"}},
        // Late after 377 days: cut after 365, 365/377 of the way down from 79.648.
        {swinging(0.2), 70.0f, {from2 + "235 70.00", from2 + "170 70.00", from2 + "379 70.31"}},
    };
    auto at = [](QPointF p) {
        return QString::number(p.x()) + " " + QString::number(p.y(), 'f', 2);
    };
    for (const auto& c : cases) {
        writeLog(c.log);
        ctx.setProfile(1, {"", 0.0f, c.target});
        openTrend();
        gui::widgets::Chart& chart = this->chart("mcrRentai");
        EXPECT_EQ(text("lblRentaiLegend").contains(qs("目標到達の予測")), !c.lines.empty());
        QStringList lines;
        for (int k = 5; k <= 7; ++k) {
            EXPECT_EQ(chart.isSeriesVisible(k), !c.lines.empty()) << c.target;
            for (const auto& run : chart.segments(k))
                lines << at(run.front()) + " → " + at(run.back());
        }
        EXPECT_EQ(lines, c.lines) << c.target;
    }
    find<QRadioButton>("optShi1")->click();  // the last case's fan, without the weight axis
    EXPECT_FALSE(chart("mcrRentai").isSeriesVisible(5));
    EXPECT_FALSE(text("lblRentaiLegend").contains(qs("予測")));
}

// 起床後 starts every day; 夕食後 is 0.6..1.0 kg heavier on six days (median 0.8), 入浴後
// weighed on two days only.
TEST_F(TrendScreensTest, SituationCorrectionMovesOnlyTheDrawnWeightsAndIsRemembered) {
    clock.set({2026, 11, 6}, 8 * 3600);
    folder.writeCp932("状況リスト.txt", "起床後\r\n夕食後\r\n入浴後\r\n");
    auto at = [](int d, const std::string& situation, const char* weight) {
        std::string line = weighing(day(d), weight);
        return line.replace(line.find("起床後"), std::string("起床後").size(), situation);
    };
    const char* dinner[] = {"70.8", "70.6", "70.9", "70.8", "71", "70.7"};
    std::string log;
    for (int d = 0; d < 6; ++d)
        log += at(d, "起床後", "70") + at(d, "夕食後", dinner[d]) +
               (d < 2 ? at(d, "入浴後", "70.5") : "");
    writeLog(log);
    openTrend();
    const QString summary = text("lblNichis");
    auto* check = find<QCheckBox>("chkHosei");
    EXPECT_EQ(check->text(), qs("状況による差を補正する"));
    gui::widgets::Grid& table = grid("msgHosei");
    QStringList rows;
    for (int r = 1; r <= table.rowCount(); ++r) rows << table.text(r, 0) + "  " + table.text(r, 1);
    EXPECT_EQ(rows,
              (QStringList{qs("起床後  基準"), qs("夕食後  +0.8kg"), qs("入浴後  データ不足")}));

    const struct {
        bool on;
        QStringList firstDay;  // the first day's three weighings as drawn
        const char* file;
    } steps[] = {{false, {"70", "70.8", "70.5"}, "<missing>"},
                 {true, {"70", "70", "70.5"}, " 1 \r\n"},
                 {false, {"70", "70.8", "70.5"}, " 0 \r\n"}};
    for (const auto& step : steps) {
        if (check->isChecked() != step.on) check->click();
        EXPECT_EQ(series("mcrRentai", 1).mid(0, 3), step.firstDay) << step.on;
        EXPECT_EQ(folder.exists("状況補正.txt") ? folder.readBytes("状況補正.txt") : "<missing>",
                  step.file);
        EXPECT_EQ(text("lblNichis"), summary);  // stored weights, never moved
    }
    // A setting read anew (a restored backup) shows at the next rebuild.
    ctx.session.preferences().situationCorrection = true;
    trend->refresh();
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(series("mcrRentai", 1).mid(0, 3), (QStringList{"70", "70", "70.5"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace pairly::testing
