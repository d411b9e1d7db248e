// The measurement list screen in the main window: filters, pressed buttons, tables,
// charts, overlays and the refresh after a change of partner.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <string>
#include <vector>

#include "core/list/measurement_list.h"
#include "gui/list/measurement_list_screen.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

std::string rec(const std::string& date, const std::string& situation, const std::string& weight,
                const std::string& fat = "22.5") {
    return "\"" + date + "\",\"" + situation + "\"," + weight + "," + fat +
           ",1450,8,48.3,2,2.9,\"\",\"\"\r\n";
}

// Today is Monday 2026/12/07 (the fixture's clock).
std::string weekOfLog() {
    return rec("2026/11/30", "起床後", "61.0") +  // Monday, a week ago
           rec("2026/12/01", "夕食後", "60.5") + rec("2026/12/05", "夕食後ジム", "60.0") +
           rec("2026/12/06", "起床後", "60.2") + rec("2026/12/07", "朝食前", "60.1") +
           rec("2026/12/07", "夕食後", "60.6") +
           rec("2026/12/09", "起床後", "59.9");  // after today
}

class ListScreenTest : public ::testing::Test {
protected:
    void start(const std::string& log1, const std::string& log2 = "",
               const std::string& height1 = "158.5") {
        f.writeCouple();
        f.writeProfile(1, "はなこ", height1, "50");
        f.folder.writeCp932("状況リスト.txt", "\"起床後\"\r\n\"夕食後\"\r\n\"朝\"\r\n");
        f.folder.writeCp932("データ1.txt", log1);
        if (!log2.empty()) f.folder.writeCp932("データ2.txt", log2);
        f.start();
        f.click("cmdTaijyu");
    }

    gui::widgets::Grid& table(const char* name = "msgBunseki") {
        return *f.find<gui::widgets::Grid>(name);
    }
    gui::widgets::Chart& chart(const char* name = "mcrBunseki") {
        return *f.find<gui::widgets::Chart>(name);
    }
    QString text(const char* name) {
        if (auto* combo = f.find<QComboBox>(name)) return combo->currentText();
        if (auto* edit = f.find<QLineEdit>(name)) return edit->text();
        return f.find<QLabel>(name)->text();
    }
    std::vector<std::string> column(int c, const char* grid = "msgBunseki") {
        std::vector<std::string> out;
        for (int r = 1; r <= table(grid).rowCount(); ++r)
            out.push_back(table(grid).text(r, c).toStdString());
        return out;
    }
    bool pressed(const char* name) {
        return f.buttonColour(name) == gui::list::MeasurementListScreen::kPressedColour;
    }
    // Names of the filter buttons painted pressed, in screen order.
    std::vector<std::string> pressedButtons() {
        std::vector<std::string> out;
        for (const auto& b : list::kPeriodButtons)
            if (pressed(b.name)) out.push_back(b.name);
        for (int i = 0; i < 7; ++i) {
            const std::string name = "cmdWeek_" + std::to_string(i);
            if (pressed(name.c_str())) out.push_back(name);
        }
        for (const char* name : {"cmdAllWeek", "cmdAllact"})
            if (pressed(name)) out.push_back(name);
        return out;
    }
    void typePeriod(const char* start, const char* end) {
        f.find<QComboBox>("cboStdate")->setEditText(qs(start));
        f.find<QComboBox>("cboEddate")->setEditText(qs(end));
    }

    ShellFixture f;
};

using Texts = std::vector<std::string>;
const Texts kAllShown = {"cmdAllDay", "cmdAllWeek", "cmdAllact"};

TEST_F(ListScreenTest, OpensWithTheWholeLogAndEveryFilterAtAll) {
    start(weekOfLog());
    gui::widgets::Grid& g = table();
    ASSERT_EQ(g.columnCount(), list::kListColumns);
    for (int c = 0; c < list::kListColumns; ++c) {
        const list::ListColumn& col = list::kListTableColumns[static_cast<std::size_t>(c)];
        EXPECT_EQ(g.headerText(c), qs(col.header)) << c;
        EXPECT_NEAR(g.columnWidthTwips(c), col.twips, 15) << c;
        EXPECT_EQ(g.headerAlignment(c), gui::widgets::Align::Center) << c;
    }
    EXPECT_EQ(g.columnAlignment(3), gui::widgets::Align::Left);
    EXPECT_EQ(g.columnAlignment(6), gui::widgets::Align::Center);
    EXPECT_EQ(table("msgBunseki2").headerText(6), qs("基礎代謝"));

    EXPECT_EQ(column(1), (Texts{"26/11/30", "26/12/01", "26/12/05", "26/12/06", "26/12/07",
                                "26/12/07", "26/12/09"}));
    EXPECT_EQ(column(5),
              (Texts{"0.0Kg", "-0.5Kg", "-0.5Kg", "0.2Kg", "-0.1Kg", "0.5Kg", "-0.7Kg"}));
    EXPECT_EQ(g.text(3, 11), qs("22.5%"));
    EXPECT_EQ(g.text(1, 9), qs("24.3"));  // 61 kg at 1.585 m
    EXPECT_EQ(g.cellColor(1, 6), QColor(255, 255, 192));
    EXPECT_EQ(g.cellColor(2, 6), QColor(192, 255, 192));
    EXPECT_EQ(g.cellColor(4, 6), QColor(255, 192, 192));
    EXPECT_EQ(g.cellColor(4, 8), QColor(192, 255, 192));
    EXPECT_EQ(table("msgBunseki2").text(7, 6), qs("1450kcal"));

    EXPECT_EQ(chart().pointCount(), 7);
    EXPECT_EQ(chart().value(1, 7), qs("59.9"));
    EXPECT_EQ(chart().value(2, 1), qs("22.5"));
    EXPECT_EQ(text("cboStdate"), qs("2026/11/30"));
    EXPECT_EQ(text("cboEddate"), qs("2026/12/09"));
    EXPECT_EQ(f.find<QComboBox>("cboStdate")->count(), 6);  // distinct dates
    EXPECT_TRUE(f.find<QRadioButton>("optTai2")->isChecked());
    EXPECT_TRUE(chart().isSeriesVisible(1));
    EXPECT_FALSE(chart().isSeriesVisible(2));
    EXPECT_EQ(pressedButtons(), kAllShown);
    EXPECT_TRUE(f.dialogs.shown.empty());

    // Filters, then away and back: the list opens whole again.
    f.click("cmdKikan2");
    f.click("cmdWeek_1");
    f.find<QLineEdit>("txtKey")->setText(qs("朝"));
    f.click("cmdAvgtai");
    f.click("cmdTaijyu");
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(pressedButtons(), kAllShown);
    EXPECT_EQ(text("txtKey"), QString());
}

TEST_F(ListScreenTest, PeriodButtonsSetThePeriodAndPressOnlyThemselves) {
    start(weekOfLog());
    const struct {
        const char* button;
        const char* start;
        int rows;
    } cases[] = {
        {"cmdKikan1", "2026/12/06", 3},  // yesterday and today
        {"cmdKikan4", "2026/11/07", 6},  // a longer list after a shorter one
        {"cmdKikan8", "2026/12/05", 4}, {"cmdKikan2", "2026/11/30", 6},
        {"cmdAllDay", "2026/11/30", 6},  // never the weighing after today
        {"cmdKikan7", "2025/12/07", 6},
    };
    for (const auto& c : cases) {
        f.click(c.button);
        EXPECT_EQ(text("cboStdate"), qs(c.start)) << c.button;
        EXPECT_EQ(text("cboEddate"), qs("2026/12/07")) << c.button;
        EXPECT_EQ(table().rowCount(), c.rows) << c.button;
        EXPECT_EQ(chart().pointCount(), c.rows) << c.button;
        EXPECT_EQ(chart().value(1, c.rows), qs("60.6")) << c.button;
        EXPECT_EQ(pressedButtons(), (Texts{c.button, "cmdAllWeek", "cmdAllact"})) << c.button;
    }
    // Typed periods are compared as text and never fail.
    typePeriod("2026/12/06", "abc");
    f.click("cmdKikanF");
    EXPECT_EQ(column(1), (Texts{"26/12/06", "26/12/07", "26/12/07", "26/12/09"}));
    typePeriod("2026/13/45", "2026/12/31");
    f.click("cmdKikanF");
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_EQ(chart().pointCount(), 0);
    f.click("cmdKotu");
    EXPECT_EQ(chart("mcrBunseki4").pointCount(), 1);  // one empty point
    f.click("cmdTai1");
    EXPECT_EQ(pressedButtons(), (Texts{"cmdKikanF", "cmdAllWeek", "cmdAllact"}));
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST_F(ListScreenTest, WeekdaySituationListAndKeyCombine) {
    start(weekOfLog());
    f.click("cmdWeek_1");  // Monday
    EXPECT_EQ(column(1), (Texts{"26/11/30", "26/12/07", "26/12/07"}));
    EXPECT_EQ(column(5), (Texts{"0.0Kg", "-0.9Kg", "0.5Kg"}));  // against the listed Mondays
    EXPECT_EQ(f.window->findChild<gui::list::MeasurementListScreen*>()->selectedWeekday(), 1);

    QListWidget* list = f.find<QListWidget>("lstAct2");
    ASSERT_EQ(list->count(), 3);
    list->setCurrentRow(1);  // a click selects "夕食後"
    emit list->itemClicked(list->item(1));
    EXPECT_EQ(text("txtKey"), qs("夕食後"));
    EXPECT_EQ(column(3), (Texts{"夕食後"}));
    EXPECT_EQ(pressedButtons(), (Texts{"cmdAllDay", "cmdWeek_1"}));

    f.click("cmdAllWeek");
    EXPECT_EQ(column(3), (Texts{"夕食後", "夕食後ジム", "夕食後"}));

    // Entering the field starts a new text; Enter filters by it.
    auto* key = f.find<QLineEdit>("txtKey");
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(key, &focusIn);
    EXPECT_EQ(key->text(), QString());
    key->setText(qs("前"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(key, &enter);
    EXPECT_EQ(column(3), (Texts{"朝食前"}));

    f.click("cmdAllact");
    EXPECT_EQ(text("txtKey"), QString());
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(table().rowCount(), 7);  // the period opened with: first to last weighing
    EXPECT_EQ(pressedButtons(), kAllShown);
}

// A change of partner lists the new partner's whole history, and "全部" starts at that
// partner's first weighing, not at a date the input screen kept for the other partner.
TEST_F(ListScreenTest, PartnerChangeListsTheNewPartnersWholeHistory) {
    const std::string log2 = rec("2026/10/01", "起床後", "55.0") + rec("2026/11/02", "朝", "54.5") +
                             rec("2026/12/07", "朝", "54.0");
    start(rec("2026/11/20", "起床後", "70.0") + rec("2026/12/07", "朝", "69.0"), log2);
    f.click("cmdWeek_1");
    f.click("cmdKikan2");
    f.click("cmdUser2");
    EXPECT_EQ(column(1), (Texts{"26/10/01", "26/11/02", "26/12/07"}));
    EXPECT_EQ(pressedButtons(), kAllShown);
    EXPECT_EQ(text("cboStdate"), qs("2026/10/01"));
    f.click("cmdAllDay");
    EXPECT_EQ(text("cboStdate"), qs("2026/10/01"));
    EXPECT_EQ(table().rowCount(), 3);
}

TEST_F(ListScreenTest, OverlaysAndSeriesOptions) {
    start(weekOfLog());
    const struct {
        const char* button;
        const char* chart;  // shown on top
        const char* left;
        const char* right;
    } cases[] = {{"cmdTai2", "mcrBunseki2", "基礎代謝", "内臓脂肪"},
                 {"cmdKin", "mcrBunseki3", "筋肉量", "筋肉スコア"},
                 {"cmdKotu", "mcrBunseki4", "骨量", ""},
                 {"cmdTai1", "mcrBunseki", "", ""}};
    for (const auto& c : cases) {
        f.click(c.button);
        EXPECT_EQ(chart(c.chart).pointCount(), 7) << c.button;
        for (const char* name : {"mcrBunseki", "mcrBunseki2", "mcrBunseki3", "mcrBunseki4"})
            EXPECT_EQ(!chart(name).isHidden(), std::string(name) == c.chart) << c.button;
        const bool composition = std::string(c.button) != "cmdTai1";
        EXPECT_EQ(!table("msgBunseki2").isHidden(), composition) << c.button;
        EXPECT_EQ(!table("msgBunseki").isHidden(), !composition) << c.button;
        EXPECT_EQ(text("lblG21"), qs(c.left)) << c.button;
        EXPECT_EQ(text("lblG22"), qs(c.right)) << c.button;
    }
    const struct {
        const char* option;
        bool weight, bodyFat;
    } options[] = {{"optShi2", false, true}, {"optKon2", true, true}, {"optTai2", true, false}};
    for (const auto& o : options) {
        f.find<QRadioButton>(o.option)->click();
        EXPECT_EQ(chart().isSeriesVisible(1), o.weight) << o.option;
        EXPECT_EQ(chart().isSeriesVisible(2), o.bodyFat) << o.option;
    }
    // Reopening keeps the overlay but clears its captions and selects the weight option.
    f.find<QRadioButton>("optKon2")->click();
    f.click("cmdKin");
    f.click("cmdAvgtai");
    f.click("cmdTaijyu");
    EXPECT_FALSE(chart("mcrBunseki3").isHidden());
    EXPECT_EQ(text("lblG21"), QString());
    EXPECT_TRUE(f.find<QRadioButton>("optTai2")->isChecked());
}

TEST_F(ListScreenTest, LongListOpensAtItsEndAndTheMenuButtonLeavesItAlone) {
    std::string log;
    for (int d = 1; d <= 8; ++d) log += rec("2026/11/0" + std::to_string(d), "朝", "60");
    start(log);
    EXPECT_EQ(table().topVisibleRow(), 1);  // 9 rows with the header: no scrolling

    for (int d = 10; d <= 30; ++d) log += rec("2026/11/" + std::to_string(d), "朝", "60");
    f.folder.writeCp932("データ1.txt", log);
    f.click("cmdAvgtai");
    f.click("cmdTaijyu");
    QApplication::processEvents();
    QScrollBar* bar = table().verticalScrollBar();
    EXPECT_GT(table().topVisibleRow(), 1);
    EXPECT_EQ(bar->value(), bar->maximum());

    f.click("cmdKikan4");  // filtered lists open at their end too
    EXPECT_EQ(table().rowCount(), 23);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(bar->maximum() / 2);
    const int rows = table().rowCount();
    const int position = bar->value();
    f.click("cmdTaijyu");  // already shown: nothing happens
    EXPECT_EQ(table().rowCount(), rows);
    EXPECT_EQ(bar->value(), position);
    EXPECT_TRUE(pressed("cmdKikan4"));
}

TEST_F(ListScreenTest, EmptyLogUnreadableLogAndNoHeight) {
    start("", "", "0");
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_EQ(chart().pointCount(), 0);
    EXPECT_EQ(f.find<QComboBox>("cboStdate")->count(), 0);
    EXPECT_EQ(text("cboStdate"), QString());
    for (const char* button : {"cmdAllDay", "cmdWeek_3", "cmdKikanF", "cmdTai2"}) f.click(button);
    EXPECT_EQ(table("msgBunseki2").rowCount(), 0);
    EXPECT_TRUE(f.dialogs.shown.empty());

    // Height 0 (written again after start-up) leaves BMI and obesity empty.
    f.folder.writeCp932("データ1.txt", rec("2026/12/07", "朝", "60"));
    f.click("cmdAvgtai");
    f.click("cmdTaijyu");
    EXPECT_EQ(table().text(1, 9), QString());
    EXPECT_EQ(table().text(1, 10), QString());
    EXPECT_EQ(table().text(1, 4), qs("60.0Kg"));
    EXPECT_EQ(chart("mcrBunseki2").value(1, 1), qs("1450"));  // still on top, redrawn

    // A log that cannot be read: one warning per read, the screen keeps working and no
    // file changes.
    const std::string before = f.folder.readBytes("データ1.txt");
    f.dialogs.shown.clear();
    {
        auto faults = InjectFaults::always({disk::fileops::Op::Read});
        f.click("cmdWeek_1");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_EQ(f.folder.readBytes("データ1.txt"), before);
}

TEST_F(ListScreenTest, SituationListFollowsTheSettingsScreen) {
    start(weekOfLog());
    auto items = [](QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    };
    QListWidget* lstAct2 = f.find<QListWidget>("lstAct2");
    f.click("cmdSettei");
    f.dialogs.inputs.push_back(qs("運動前"));
    f.click("cmdNew2");
    EXPECT_EQ(items(lstAct2), items(f.find<QListWidget>("lstAct")));
    EXPECT_EQ(items(lstAct2).last(), qs("運動前"));
    f.click("cmdDel2");  // confirmed: the scripted box answers OK
    EXPECT_EQ(lstAct2->count(), 0);
}

}  // namespace
}  // namespace pairly::testing
