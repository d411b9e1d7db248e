#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "core/comparison/comparison.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"
#include "gui/common/app_context.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/grid.h"
#include "support/temp_folder.h"

namespace pairly::gui::comparison {
namespace {

namespace fs = std::filesystem;

std::string line(const char* date, const char* weight) {
    return std::string("\"") + date + "\",\"朝食前\"," + weight +
           ",22.5,1300,8,40.1,90,2.6,\"\",\"\"\r\n";
}

// Partner 1 weighs in on 2026/11/01..03 (twice on the 2nd), partner 2 starts on the 4th.
void writeShortLogs(const testing::TempFolder& folder) {
    folder.writeCp932("データ1.txt", line("2026/11/01", "70") + line("2026/11/02", "69.4") +
                                         line("2026/11/02", "69.8") + line("2026/11/03", "69.2"));
    folder.writeCp932("データ2.txt", line("2026/11/04", "55") + line("2026/11/05", "54.6"));
}

class ComparisonScreenTest : public ::testing::Test {
protected:
    ComparisonScreenTest() : ctx(folder.path(), dialogs, clock) {
        ctx.setProfile(1, {"たくや", 170.0f, 68.0f});
        ctx.setProfile(2, {"みさき", 155.0f, 49.0f});
        ctx.helpTourFlag = 1;
    }

    void open() {
        screen = std::make_unique<ComparisonScreen>(ctx);
        screen->resize(1280, 700);
        screen->prepareForStartup();
        screen->resetDailyAverageTable();
        screen->refreshComparisonScreen();
        screen->show();
        QApplication::processEvents();
    }

    template <class T>
    T* find(const QString& name) {
        T* w = screen->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString label(const QString& name) { return find<QLabel>(name)->text(); }
    bool shown(const QString& name) { return !find<QWidget>(name)->isHidden(); }
    gui::widgets::Chart& chart(const char* name) { return *find<gui::widgets::Chart>(name); }
    gui::widgets::Grid& grid() { return *find<gui::widgets::Grid>("msgAvgtai"); }
    void click(const char* name) { find<QRadioButton>(name)->click(); }

    testing::TempFolder folder;
    gui::widgets::ScriptedDialogs dialogs;
    gui::widgets::FixedClock clock{text::Date{2026, 12, 7}, 8 * 3600};
    gui::common::AppContext ctx;
    std::unique_ptr<ComparisonScreen> screen;
};

TEST_F(ComparisonScreenTest, ShowsStatisticsMarksAndShares) {
    writeShortLogs(folder);
    open();
    const struct {
        const char* name;
        const char* text;
    } labels[] = {
        {"lblD1_0", "たくや"},
        {"lblD2_0", "みさき"},
        {"lblD1_1", "4 回  ( 66.7% )"},
        {"lblD2_1", "2 回  ( 33.3% )"},
        {"lblD1_2", "26/11/01 → 2日"},
        {"lblD2_2", "26/11/04 → 1日"},
        {"lblD1_3", "1.33 回 / 日"},
        {"lblD2_3", "1.00 回 / 日"},
        {"lblD1_4", "69.2Kg ( -0.8Kg )"},
        {"lblD2_4", "54.6Kg ( -0.4Kg )"},
        {"lblD1_5", "69.2Kg ( -0.8Kg )"},
        {"lblD2_5", "54.6Kg ( -0.4Kg )"},
        {"lblD1_6", "68.0Kgまで ( 1.2Kg )"},
        {"lblD2_6", "49.0Kgまで ( 5.6Kg )"},
        {"lblItem_6", "目標までの残"},
        // 0.8 of 70 against 0.4 of 55.
        {"lblD1_7", "1.1% 減"},
        {"lblD2_7", "0.7% 減"},
        {"lblItem_7", "減量率（スタート比）"},
    };
    for (const auto& l : labels) EXPECT_EQ(label(l.name), QString::fromUtf8(l.text)) << l.name;

    // Partner 1 wins every row here; partner 2's marks are hidden.
    EXPECT_FALSE(find<QLabel>("lblItem_7")->toolTip().isEmpty());
    for (int i = 1; i <= 7; ++i) {
        EXPECT_TRUE(shown(QString("imgD1_%1").arg(i))) << i;
        EXPECT_FALSE(shown(QString("imgD2_%1").arg(i))) << i;
        EXPECT_FALSE(find<QLabel>(QString("imgD1_%1").arg(i))->pixmap().isNull());
    }

    // Partner 1's bar covers two thirds of the reference bar.
    auto* reference = find<QFrame>("shpBar2");
    auto* first = find<QFrame>("shpBar1");
    ASSERT_GT(reference->width(), 100);
    EXPECT_NEAR(first->width(), reference->width() * 2 / 3.0, 1.0);
    EXPECT_EQ(first->parentWidget(), reference);

    // A tie after partner 2 catches up: both row-1 marks come back on refresh.
    folder.writeCp932("データ2.txt", line("2026/11/04", "55") + line("2026/11/05", "54.6") +
                                         line("2026/11/05", "54.4") + line("2026/11/06", "54"));
    screen->refreshComparisonScreen();
    EXPECT_EQ(label("lblD2_1"), QString::fromUtf8("4 回  ( 50.0% )"));
    EXPECT_TRUE(shown("imgD1_1"));
    EXPECT_TRUE(shown("imgD2_1"));
    EXPECT_EQ(first->width(), reference->width() / 2);
    // 1.0 of 55 is now the larger share: the lighter partner wins the fair row.
    EXPECT_EQ(label("lblD2_7"), QString::fromUtf8("1.8% 減"));
    EXPECT_FALSE(shown("imgD1_7"));
    EXPECT_TRUE(shown("imgD2_7"));
}

TEST_F(ComparisonScreenTest, DailyAverageListLayoutAndScroll) {
    writeShortLogs(folder);
    open();
    gui::widgets::Grid& g = grid();
    const struct {
        const char* header;
        int twips;
        gui::widgets::Align align;
    } columns[] = {{"日数", 660, gui::widgets::Align::Right},
                   {"日付", 1150, gui::widgets::Align::Center},
                   {"体重１", 700, gui::widgets::Align::Right},
                   {"体重２", 700, gui::widgets::Align::Right}};
    ASSERT_EQ(g.columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.headerText(c), QString::fromUtf8(columns[c].header));
        EXPECT_NEAR(g.columnWidthTwips(c), columns[c].twips, 15) << c;
        EXPECT_EQ(g.columnAlignment(c), columns[c].align) << c;
        EXPECT_EQ(g.headerAlignment(c), gui::widgets::Align::Center) << c;
    }
    const char* expected[][4] = {{"1", "26/11/01", "70.0", ""},
                                 {"2", "26/11/02", "69.6", ""},
                                 {"3", "26/11/03", "69.2", ""},
                                 {"4", "26/11/04", "", "55.0"},
                                 {"5", "26/11/05", "", "54.6"}};
    ASSERT_EQ(g.rowCount(), 5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(g.text(r + 1, c), QString::fromUtf8(expected[r][c])) << r << "," << c;
    EXPECT_EQ(g.topVisibleRow(), 1);  // 6 rows with the header: not scrolled

    // Seven days (8 rows with the header) stay at the top; eight days open on the last one,
    // at the bottom of a full view.
    folder.writeCp932("データ2.txt", line("2026/11/04", "55") + line("2026/11/07", "54.6"));
    screen->resetDailyAverageTable();
    screen->refreshComparisonScreen();
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(g.topVisibleRow(), 1);
    folder.writeCp932("データ2.txt", line("2026/11/04", "55") + line("2026/11/08", "54.6"));
    screen->resetDailyAverageTable();
    screen->refreshComparisonScreen();
    EXPECT_EQ(g.rowCount(), 8);
    EXPECT_EQ(g.bottomVisibleRow(), 8);
    EXPECT_GT(g.verticalScrollBar()->value(), 0);
    EXPECT_EQ(g.text(8, 3), "54.6");
}

TEST_F(ComparisonScreenTest, GraphOptionsSwitchViewsAndValues) {
    writeShortLogs(folder);
    open();
    gui::widgets::Chart& separate = chart("mcrAvgtai");
    gui::widgets::Chart& same = chart("mcrAvgtai2");

    // Start state: separate axes, automatic lower bound, real values.
    EXPECT_TRUE(find<QRadioButton>("optGra2")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optG3")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optG1")->isChecked());
    EXPECT_TRUE(shown("mcrAvgtai"));
    EXPECT_FALSE(shown("mcrAvgtai2"));
    EXPECT_FALSE(shown("fraDgr"));
    EXPECT_TRUE(shown("fraDgr2"));
    EXPECT_EQ(find<QRadioButton>("optG4")->text(), QString::fromUtf8("下限目標"));

    ASSERT_EQ(separate.pointCount(), 5);
    // (69.4 + 69.8) / 2 in single precision is 69.60001.
    const QStringList series1 = {"70", "69.60001", "69.2", "69.2", "69.2"};
    const QStringList series2 = {"", "", "", "55", "54.6"};
    for (int p = 1; p <= 5; ++p) {
        EXPECT_EQ(separate.value(1, p), series1[p - 1]) << p;
        EXPECT_EQ(separate.value(2, p), series2[p - 1]) << p;
    }
    EXPECT_EQ(separate.seriesAxis(2), gui::widgets::Axis::Right);
    EXPECT_EQ(separate.axisMinimum(gui::widgets::Axis::Left), 69);
    EXPECT_EQ(separate.axisMaximum(gui::widgets::Axis::Left), 70);
    EXPECT_EQ(separate.axisMinimum(gui::widgets::Axis::Right), 54);
    EXPECT_EQ(separate.axisMaximum(gui::widgets::Axis::Right), 55);
    EXPECT_TRUE(separate.segments(2).size() == 1 && separate.segments(2)[0].size() == 2);

    // Target lower bounds and back.
    click("optG4");
    EXPECT_EQ(separate.axisMinimum(gui::widgets::Axis::Left), 68);
    EXPECT_EQ(separate.axisMinimum(gui::widgets::Axis::Right), 49);
    EXPECT_EQ(separate.axisMaximum(gui::widgets::Axis::Left), 70);
    click("optG3");
    EXPECT_EQ(separate.axisMinimum(gui::widgets::Axis::Left), 69);
    EXPECT_TRUE(dialogs.shown.empty());

    // Same-axis view with real values, then the overlay.
    click("optGra1");
    EXPECT_FALSE(shown("mcrAvgtai"));
    EXPECT_TRUE(shown("mcrAvgtai2"));
    EXPECT_TRUE(shown("fraDgr"));
    EXPECT_FALSE(shown("fraDgr2"));
    EXPECT_EQ(same.value(2, 4), "55");
    EXPECT_EQ(same.axisMinimum(gui::widgets::Axis::Left), 54);
    EXPECT_EQ(same.axisMaximum(gui::widgets::Axis::Left), 70);
    EXPECT_EQ(same.seriesAxis(2), gui::widgets::Axis::Left);

    click("optG2");  // first common day is day 4: 69.2 against 55, partner 2 lifted by 14.2
    EXPECT_NEAR(text::leadingNumber(same.value(2, 4).toStdString()), 69.2, 1e-4);
    EXPECT_NEAR(text::leadingNumber(same.value(2, 5).toStdString()), 68.8, 1e-4);
    EXPECT_EQ(same.value(2, 1), "");
    EXPECT_EQ(same.value(1, 1), "70");
    EXPECT_EQ(same.axisMinimum(gui::widgets::Axis::Left), 69);  // 70 − max(1, 1)
    EXPECT_EQ(same.axisMaximum(gui::widgets::Axis::Left), 70);

    click("optG1");
    EXPECT_EQ(same.value(2, 4), "55");
    EXPECT_EQ(same.axisMinimum(gui::widgets::Axis::Left), 54);

    // A refresh brings back real values while the overlay option stays selected; selecting
    // it again overlays again.
    click("optG2");
    screen->refreshComparisonScreen();
    EXPECT_TRUE(find<QRadioButton>("optG2")->isChecked());
    EXPECT_EQ(same.value(2, 4), "55");
    click("optG2");
    EXPECT_NEAR(text::leadingNumber(same.value(2, 4).toStdString()), 69.2, 1e-4);

    click("optGra2");
    EXPECT_TRUE(shown("mcrAvgtai"));
    EXPECT_FALSE(shown("fraDgr"));
}

// The percent view: each partner from their own first day, on the same points as the other
// views; the weight-only options are put away and come back with the views they belong to.
TEST_F(ComparisonScreenTest, PercentViewShowsTheChangeFromEachStart) {
    writeShortLogs(folder);
    open();
    gui::widgets::Chart& percent = chart("mcrAvgHi");
    EXPECT_FALSE(shown("mcrAvgHi"));
    EXPECT_EQ(find<QRadioButton>("optGra3")->text(), QString::fromUtf8("スタート比（%）で表示"));

    click("optGra3");
    EXPECT_TRUE(shown("mcrAvgHi"));
    for (const char* hidden : {"mcrAvgtai", "mcrAvgtai2", "fraDgr", "fraDgr2"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    EXPECT_TRUE(find<QLabel>("lblAvgtaiLegend")->text().contains(QString::fromUtf8("（%）")));
    ASSERT_EQ(percent.pointCount(), chart("mcrAvgtai").pointCount());
    const double none = std::nan("");
    // Day averages 70, 69.60001, 69.2 (kept on) and 55, 54.6 from day 4.
    const double expected1[] = {0, (69.60001 - 70) / 70 * 100, -0.8 / 70 * 100, -0.8 / 70 * 100,
                                -0.8 / 70 * 100};
    const double expected2[] = {none, none, none, 0, -0.4 / 55 * 100};
    for (int p = 1; p <= 5; ++p) {
        EXPECT_NEAR(text::leadingNumber(percent.value(1, p).toStdString()), expected1[p - 1], 1e-4)
            << p;
        if (std::isnan(expected2[p - 1])) {
            EXPECT_EQ(percent.value(2, p), "") << p;
        } else {
            EXPECT_NEAR(text::leadingNumber(percent.value(2, p).toStdString()), expected2[p - 1],
                        1e-4)
                << p;
        }
    }
    EXPECT_EQ(percent.seriesAxis(2), gui::widgets::Axis::Left);
    EXPECT_EQ(percent.axisMinimum(gui::widgets::Axis::Left), -2);
    EXPECT_EQ(percent.axisMaximum(gui::widgets::Axis::Left), 0);
    EXPECT_TRUE(percent.referenceLines().empty());  // targets are weights, not shares

    // A refresh keeps the view and gives it the new figures.
    folder.writeCp932("データ2.txt", line("2026/11/04", "50") + line("2026/11/05", "45"));
    ctx.noteDataChanged(2);
    screen->refreshComparisonScreen();
    EXPECT_TRUE(shown("mcrAvgHi"));
    EXPECT_EQ(percent.value(2, 5), "-10");
    EXPECT_EQ(percent.axisMinimum(gui::widgets::Axis::Left), -10);

    click("optGra1");
    EXPECT_FALSE(shown("mcrAvgHi"));
    EXPECT_TRUE(shown("mcrAvgtai2"));
    EXPECT_TRUE(shown("fraDgr"));
    click("optGra3");
    click("optGra2");
    EXPECT_FALSE(shown("mcrAvgHi"));
    EXPECT_TRUE(shown("mcrAvgtai"));
    EXPECT_TRUE(shown("fraDgr2"));

    // Start-up brings the separate axes back.
    click("optGra3");
    screen->prepareForStartup();
    EXPECT_FALSE(shown("mcrAvgHi"));
    EXPECT_TRUE(find<QRadioButton>("optGra2")->isChecked());
}

// Each target is a dashed line on its partner's axis, not a series; none while one line is
// lifted onto the other.
TEST_F(ComparisonScreenTest, TargetsAreReferenceLinesOnTheirAxes) {
    writeShortLogs(folder);
    using L = gui::widgets::Axis;
    struct Line {
        L axis;
        double value;
        QColor colour;
    };
    const QColor c1(40, 110, 220), c2(225, 60, 110);
    auto lines = [](const gui::widgets::Chart& c) {
        std::vector<Line> out;
        for (const auto& r : c.referenceLines()) out.push_back({r.axis, r.value, r.colour});
        return out;
    };
    auto same = [](const std::vector<Line>& a, const std::vector<Line>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].axis != b[i].axis || a[i].value != b[i].value || a[i].colour != b[i].colour)
                return false;
        return true;
    };
    const struct {
        float target2;
        const char* option;  // clicked before looking; nullptr = a refresh
        const char* chart;
        std::vector<Line> expected;
    } steps[] = {
        {49.0f, "optGra2", "mcrAvgtai", {{L::Left, 68, c1}, {L::Right, 49, c2}}},
        {49.0f, "optG4", "mcrAvgtai", {{L::Left, 68, c1}, {L::Right, 49, c2}}},
        {49.0f, "optGra1", "mcrAvgtai2", {{L::Left, 68, c1}, {L::Left, 49, c2}}},
        {49.0f, "optG2", "mcrAvgtai2", {}},
        {49.0f, nullptr, "mcrAvgtai2", {{L::Left, 68, c1}, {L::Left, 49, c2}}},
        {0.0f, nullptr, "mcrAvgtai", {{L::Left, 68, c1}}},
        {0.0f, nullptr, "mcrAvgtai2", {{L::Left, 68, c1}}},
    };
    open();
    const QStringList before = {chart("mcrAvgtai").value(1, 2), chart("mcrAvgtai").value(2, 5)};
    for (const auto& step : steps) {
        ctx.setProfile(2, {"みさき", 155.0f, step.target2});
        if (step.option)
            click(step.option);
        else
            screen->refreshComparisonScreen();
        EXPECT_TRUE(same(lines(chart(step.chart)), step.expected))
            << (step.option ? step.option : "refresh") << " " << step.chart;
    }
    EXPECT_EQ(chart("mcrAvgtai").value(1, 2), before[0]);
    EXPECT_EQ(chart("mcrAvgtai").value(2, 5), before[1]);
    EXPECT_FALSE(chart("mcrAvgtai").isSeriesVisible(4));
}

TEST_F(ComparisonScreenTest, HelpTourTextsOnlyWithTheTourOn) {
    writeShortLogs(folder);
    open();
    click("optGra1");
    click("optGra2");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, QString::fromUtf8("ヘルプツアー"));
    EXPECT_EQ(dialogs.shown[0].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(
        dialogs.shown[0].text,
        QString::fromUtf8("二人の平均体重データを同一の軸でグラフ表示します。\n\n"
                          "実際のデータをそのままにグラフ表示するモードと\n"
                          "体重の重い方に軽い方を重ねた形でグラフ表示するモードがあります。\n\n"
                          "グラフを重ねるモードにすると純粋にお互いの体重の増減推移を比較す"
                          "ることができます。\n"));
    EXPECT_EQ(dialogs.shown[1].text,
              QString::fromUtf8("登録者それぞれの平均体重データを別々の軸でグラフ表示します。\n"
                                "登録者１が左の軸、登録者２が右の軸になります。\n\n"
                                "Ｙ軸の下限値を最低体重（平均値）から自動的に設定するモードと\n"
                                "目標値として登録した値を下限値にするモードがあります。\n\n"));

    ctx.helpTourFlag = 0;
    click("optGra1");
    click("optGra2");
    click("optG4");
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(ComparisonScreenTest, MissingLogsGiveAnEmptyScreen) {
    open();  // no log files at all
    EXPECT_EQ(label("lblD1_0"), QString::fromUtf8("たくや"));
    EXPECT_EQ(label("lblD1_4"), QString::fromUtf8("—"));
    EXPECT_FALSE(shown("imgD1_1"));
    EXPECT_FALSE(shown("imgD2_6"));
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(chart("mcrAvgtai").pointCount(), 0);
    EXPECT_EQ(find<QFrame>("shpBar1")->width(), 0);
    click("optGra1");
    click("optG2");
    EXPECT_EQ(chart("mcrAvgtai2").pointCount(), 0);

    // Partner 2's log empty: partner 1 alone, without a right axis.
    folder.writeCp932("データ1.txt", line("2026/11/01", "70") + line("2026/11/03", "69"));
    folder.writeCp932("データ2.txt", "");
    screen->refreshComparisonScreen();
    EXPECT_EQ(label("lblD2_1"), QString::fromUtf8("0 回  ( 0.0% )"));
    EXPECT_EQ(label("lblD2_5"), QString::fromUtf8("—"));
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(chart("mcrAvgtai").value(1, 2), "70");
    EXPECT_FALSE(chart("mcrAvgtai").isAxisVisible(gui::widgets::Axis::Right));
    EXPECT_EQ(chart("mcrAvgtai2").axisMinimum(gui::widgets::Axis::Left), 69);
}

// Partner 1 loses 0.1 kg a day over 2026/11/01..14 (twice on the 2nd), partner 2 0.05 kg
// a day swinging 0.2 kg up and down, or weighs only on the last three days.
TEST_F(ComparisonScreenTest, CoupleGoalAndThisWeekOfBoth) {
    clock.set({2026, 11, 14}, 8 * 3600);  // a Saturday
    ctx.setProfile(1, {"たくや", 170.0f, 70.05f});
    ctx.setProfile(2, {"みさき", 155.0f, 70.0f});
    std::string log1, swinging, late;
    for (int d = 0; d < 14; ++d) {
        const std::string date = text::formatDate(text::addDays({2026, 11, 1}, d));
        const double w1 = d == 0 ? 80 : d == 1 ? 78.5 : 79.1 - 0.1 * d;
        log1 += line(date.c_str(), text::doubleText(w1).c_str()) +
                (d == 1 ? line(date.c_str(), "79.5") : "");
        const std::string w2 = text::doubleText(80 - 0.05 * d + (d % 2 ? 0.2 : -0.2));
        swinging += line(date.c_str(), w2.c_str());
        if (d >= 11) late += line(date.c_str(), w2.c_str());
    }
    const std::string both = "ふたりそろって目標に届く見込み：";
    const struct {
        std::string log2, goal, week;
    } cases[] = {
        {swinging, both + "2027/06/23頃。たくやさんが先に到達しそうです",
         "2026/11/08～11/14 7/7日 −0.8kg 7/7日 −0.3kg ふたりで4日以上測った週：2週連続"},
        {late, both + "みさきさんはデータ不足（この2週間の測定が4日未満）",
         "2026/11/08～11/14 7/7日 −0.8kg 3/7日 — ふたりで4日以上測った週：0週連続"},
    };
    for (const auto& c : cases) {
        folder.writeCp932("データ1.txt", log1);
        folder.writeCp932("データ2.txt", c.log2);
        open();
        EXPECT_EQ(label("lblFutari").toStdString(), c.goal);
        EXPECT_EQ(find<QGroupBox>("fraShukan")->title(), QString::fromUtf8("今週のふたり"));
        QStringList week;
        for (const char* name : {"lblShukanWeek", "lblShukanDays_1", "lblShukanChange_1",
                                 "lblShukanDays_2", "lblShukanChange_2", "lblShukanRenzoku"})
            week << label(name);
        EXPECT_EQ(week.join(' ').toStdString(), c.week);
        EXPECT_EQ(label("lblShukanName_2"), QString::fromUtf8("みさき"));
    }
}

// Renders the screen with the demo folder (or a generated one) for a look at the layout;
// the picture goes to $PAIRLY_SHOT_DIR when set.
TEST_F(ComparisonScreenTest, RendersWithDemoData) {
    const fs::path demo = fs::path(PAIRLY_DEMO_DIR);
    const bool haveDemo = fs::exists(demo / "データ1.txt") && fs::exists(demo / "データ2.txt");
    if (haveDemo) {
        for (const char* name : {"データ1.txt", "データ2.txt"})
            fs::copy_file(demo / name, folder.path() / name, fs::copy_options::overwrite_existing);
    } else {
        std::string log1, log2;
        for (int d = 0; d < 40; ++d) {
            const std::string date = text::formatDate(text::addDays({2026, 10, 1}, d));
            log1 += line(date.c_str(), text::floatText(75.0f - d * 0.1f).c_str());
            if (d >= 3 && d % 5 != 0)
                log2 += line(date.c_str(), text::floatText(58.0f - d * 0.05f).c_str());
        }
        folder.writeCp932("データ1.txt", log1);
        folder.writeCp932("データ2.txt", log2);
    }
    // The program's own font for Japanese text, as main() sets it.
    const QFont appFont = QApplication::font();
    QFont japanese(QStringLiteral("Noto Sans CJK JP"));
    japanese.setPointSizeF(appFont.pointSizeF());
    QApplication::setFont(japanese);
    open();
    ASSERT_GT(grid().rowCount(), 8);
    EXPECT_EQ(grid().bottomVisibleRow(), grid().rowCount());
    // Every figure fits its label.
    for (int i = 0; i <= 6; ++i) {
        for (const char* prefix : {"lblD1_%1", "lblD2_%1"}) {
            auto* l = find<QLabel>(QString(prefix).arg(i));
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->contentsRect().width())
                << l->objectName().toStdString();
        }
    }
    const QPixmap shot = screen->grab();
    EXPECT_FALSE(shot.isNull());
    if (const QByteArray dir = qgetenv("PAIRLY_SHOT_DIR"); !dir.isEmpty()) {
        shot.save(QString::fromLocal8Bit(dir) + "/comparison.png");
        click("optGra1");
        click("optG2");
        QApplication::processEvents();  // the chart redraws on the next event-loop turn
        screen->grab().save(QString::fromLocal8Bit(dir) + "/comparison_same.png");
    }
    QApplication::setFont(appFont);
}

}  // namespace
}  // namespace pairly::gui::comparison
