#include <QRadioButton>
#include <QScrollBar>

#include "gui_support/trend_screens_fixture.h"

namespace pairly::testing {
namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList rowOf(const gui::widgets::Grid& g, int row) {
    QStringList out;
    for (int c = 0; c < g.columnCount(); ++c) out << g.text(row, c);
    return out;
}

QStringList utf8List(std::initializer_list<const char*> cells) {
    QStringList out;
    for (const char* c : cells) out << QString::fromUtf8(c);
    return out;
}

const std::string kFiveWeighings = weighing("2026/01/01", "70") + weighing("2026/01/05", "69.4") +
                                   weighing("2026/01/06", "69.8") + weighing("2026/01/10", "68.9") +
                                   weighing("2026/01/15", "69.3");

TEST_F(TrendScreensTest, AnalysisGridsLayout) {
    build();
    const struct {
        const char* grid;
        const char* headers[4];
        int twips[4];
    } grids[] = {{"msgB1", {"回数", "日付", "体重", "初回差"}, {1085, 1500, 1150, 1100}},
                 {"msgB2", {"区切り", "日付", "達成", "経過"}, {1085, 1500, 1150, 1100}},
                 {"msgB3", {"日数", "体重", "平均体重", "差"}, {1085, 1150, 1500, 1100}},
                 {"msgB4", {"順位", "体重範囲", "累積", "差"}, {1085, 2000, 880, 870}}};
    for (const auto& g : grids) {
        gui::widgets::Grid& grid = this->grid(g.grid);
        ASSERT_EQ(grid.columnCount(), 4) << g.grid;
        EXPECT_EQ(grid.rowCount(), 0) << g.grid;
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(grid.headerText(c), qs(g.headers[c])) << g.grid << c;
            EXPECT_NEAR(grid.columnWidthTwips(c), g.twips[c], 15) << g.grid << c;
            EXPECT_EQ(grid.columnAlignment(c), gui::widgets::Align::Right) << g.grid << c;
            EXPECT_EQ(grid.headerAlignment(c), gui::widgets::Align::Center) << g.grid << c;
        }
        EXPECT_DOUBLE_EQ(grid.fontPointSize(), 11);
    }
    EXPECT_TRUE(find<QRadioButton>("Option1_0")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("Option2_0")->isChecked());
    EXPECT_EQ(text("fraB1"), qs("    時系列体重データ"));
    EXPECT_EQ(text("fraB4"), qs("    体重推移累積番付 < 1.0Kg刻み >"));
}

TEST_F(TrendScreensTest, AnalysesOfTheSelectedPartner) {
    writeLog(kFiveWeighings);
    openAnalysis();

    gui::widgets::Grid& series = grid("msgB1");
    EXPECT_EQ(series.headerText(3), qs("前回差"));
    ASSERT_EQ(series.rowCount(), 5);
    EXPECT_EQ(rowOf(series, 1), utf8List({"1回目", "2026/01/01", "70.0Kg", "±0.0Kg"}));
    EXPECT_EQ(rowOf(series, 2), utf8List({"2回目", "2026/01/05", "69.4Kg", "-0.6Kg"}));
    EXPECT_EQ(rowOf(series, 3), utf8List({"3回目", "2026/01/06", "69.8Kg", "+0.4Kg"}));

    gui::widgets::Grid& milestones = grid("msgB2");
    ASSERT_EQ(milestones.rowCount(), 2);
    EXPECT_EQ(rowOf(milestones, 1), utf8List({"0.5Kg減", "2026/01/05", "4日後", "4日後"}));
    EXPECT_EQ(rowOf(milestones, 2), utf8List({"1.0Kg減", "2026/01/10", "9日後", "5日後"}));
    EXPECT_EQ(text("Label5_0"), qs("最高　1.1Kg減を達成してから　5日経過"));

    gui::widgets::Grid& average = grid("msgB3");
    ASSERT_EQ(average.rowCount(), 5);
    EXPECT_EQ(rowOf(average, 2), utf8List({"2回目", "69.4Kg", "69.700Kg", "-300g"}));
    EXPECT_EQ(text("Label5_1"), qs("連続ﾏｲﾅｽ記録 2回達成！"));

    gui::widgets::Grid& bands = grid("msgB4");
    ASSERT_EQ(bands.rowCount(), 3);
    EXPECT_EQ(rowOf(bands, 1), utf8List({"1位", "69.0～69.9Kg", "3回", ""}));
    EXPECT_EQ(rowOf(bands, 2), utf8List({"2位", "68.0～68.9Kg", "1回", "2回"}));
    EXPECT_EQ(rowOf(bands, 3), utf8List({"3位", "70.0～70.9Kg", "1回", "0回"}));

    // Each option refills its own grid.
    find<QRadioButton>("Option1_1")->click();
    EXPECT_EQ(series.headerText(3), qs("初回差"));
    EXPECT_EQ(series.text(3, 3), qs("-0.2Kg"));
    find<QRadioButton>("Option2_1")->click();
    EXPECT_EQ(text("fraB4"), qs("    体重推移累積番付 < 0.5Kg刻み >"));
    ASSERT_EQ(bands.rowCount(), 4);
    EXPECT_EQ(rowOf(bands, 1), utf8List({"1位", "69.0～69.4Kg", "2回", ""}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TrendScreensTest, AnalysisScrollRulesAndAnEmptyLog) {
    // Seven data rows fit each grid; a longer one opens on its newest rows.
    const struct {
        int weighings;
        bool series, milestones, average;  // had to scroll to show its last row
    } cases[] = {
        // 10 weighings, 0.5 kg less each: 10, 9 and 10 rows.
        {10, true, true, true},
        // 7 weighings: 7, 6 and 7 rows fit.
        {7, false, false, false},
        // 8 weighings: the milestones alone still fit.
        {8, true, false, true},
    };
    for (const auto& c : cases) {
        std::string lines;
        for (int i = 0; i < c.weighings; ++i) {
            lines += weighing("2026/01/" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1),
                              std::to_string(70 - 0.5 * i));
        }
        writeLog(lines);
        analysis.reset();
        trend.reset();
        openAnalysis();
        const std::pair<const char*, bool> grids[] = {
            {"msgB1", c.series}, {"msgB2", c.milestones}, {"msgB3", c.average}};
        for (const auto& [name, scrolled] : grids) {
            gui::widgets::Grid& g = grid(name);
            // The newest row always shows; a grid that scrolled is full down to it.
            EXPECT_EQ(g.bottomVisibleRow(), g.rowCount()) << name << " " << c.weighings;
            EXPECT_EQ(g.verticalScrollBar()->value() > 0, scrolled) << name << " " << c.weighings;
        }
    }

    // The other partner has no log yet: empty grids, no summaries, no box.
    ctx.session.selectPartner(2);
    openAnalysis();
    for (const char* g : {"msgB1", "msgB2", "msgB3", "msgB4"})
        EXPECT_EQ(grid(g).rowCount(), 0) << g;
    EXPECT_EQ(text("Label5_0"), "");
    EXPECT_EQ(text("Label5_1"), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace pairly::testing
