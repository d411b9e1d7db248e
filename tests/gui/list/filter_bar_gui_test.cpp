// The list screen's filter bar on its own: its controls, what a click tells, which
// buttons show pressed, and the period texts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "gui/list/filter_bar.h"

namespace pairly::gui::list {
namespace {

bool pressed(const FilterBar& bar, const char* name) {
    auto* button = bar.findChild<QPushButton*>(name);
    return button && button->palette().color(QPalette::Button) == FilterBar::kPressedColour;
}

TEST(FilterBarTest, ControlsKeepTheirNamesKindsAndCaptions) {
    FilterBar bar;
    struct Case {
        const char* name;
        const char* caption;
    } buttons[] = {{"cmdKikan1", "前日"},   {"cmdKikan8", "３日"},   {"cmdKikan2", "１週間"},
                   {"cmdKikan3", "２週間"}, {"cmdKikan4", "１ヶ月"}, {"cmdKikan5", "３ヶ月"},
                   {"cmdKikan6", "半年"},   {"cmdKikan7", "１年"},   {"cmdAllDay", "全部"},
                   {"cmdKikanF", "任意"},   {"cmdWeek_0", "日"},     {"cmdWeek_1", "月"},
                   {"cmdWeek_6", "土"},     {"cmdAllWeek", "全部"}};
    for (const Case& c : buttons) {
        auto* button = bar.findChild<QPushButton*>(c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption)) << c.name;
    }
    for (const char* name : {"cboStdate", "cboEddate"}) {
        auto* combo = bar.findChild<QComboBox*>(name);
        ASSERT_NE(combo, nullptr) << name;
        EXPECT_TRUE(combo->isEditable()) << name;
    }
    ASSERT_NE(bar.findChild<QLabel*>("lblKikan"), nullptr);
    EXPECT_EQ(bar.findChild<QGroupBox*>("fraKikan")->title(), QStringLiteral("期間"));
    EXPECT_EQ(bar.findChild<QGroupBox*>("fraWeek")->title(), QStringLiteral("曜日"));
}

TEST(FilterBarTest, ClicksTellWhichFilter) {
    FilterBar bar;
    std::vector<int> periods, weekdays;
    QObject::connect(&bar, &FilterBar::periodClicked, [&](int i) { periods.push_back(i); });
    QObject::connect(&bar, &FilterBar::weekdayClicked, [&](int w) { weekdays.push_back(w); });
    const struct {
        const char* name;
        std::vector<int>* told;
        int value;
    } cases[] = {{"cmdKikan1", &periods, 0},
                 {"cmdKikan8", &periods, 1},
                 {"cmdAllDay", &periods, 8},
                 {"cmdKikanF", &periods, 9},
                 {"cmdWeek_0", &weekdays, 0},
                 {"cmdWeek_6", &weekdays, 6},
                 {"cmdAllWeek", &weekdays, pairly::list::kAllWeekdays}};
    for (const auto& c : cases) {
        bar.findChild<QPushButton*>(c.name)->click();
        ASSERT_EQ(c.told->size(), 1u) << c.name;
        EXPECT_EQ(c.told->back(), c.value) << c.name;
        c.told->clear();
    }
    // A click alone presses nothing: the screen presses once its list is built.
    EXPECT_FALSE(pressed(bar, "cmdKikan1"));
    EXPECT_FALSE(pressed(bar, "cmdWeek_0"));
}

TEST(FilterBarTest, OneWeekdayAndOnePeriodShowPressed) {
    FilterBar bar;
    bar.showAll();
    EXPECT_TRUE(pressed(bar, "cmdAllDay"));
    EXPECT_TRUE(pressed(bar, "cmdAllWeek"));
    EXPECT_EQ(bar.selectedWeekday(), pairly::list::kAllWeekdays);

    bar.chooseWeekday(3);
    EXPECT_EQ(bar.selectedWeekday(), 3);
    EXPECT_FALSE(pressed(bar, "cmdAllWeek"));
    bar.pressWeekday(3);
    EXPECT_TRUE(pressed(bar, "cmdWeek_3"));
    bar.chooseWeekday(5);
    bar.pressWeekday(5);
    EXPECT_FALSE(pressed(bar, "cmdWeek_3"));
    EXPECT_TRUE(pressed(bar, "cmdWeek_5"));
    // A weekday that is none is refused and changes nothing.
    for (int bad : {-1, 7, 98}) {
        bar.chooseWeekday(bad);
        bar.pressWeekday(bad);
        EXPECT_EQ(bar.selectedWeekday(), 5) << bad;
        EXPECT_TRUE(pressed(bar, "cmdWeek_5")) << bad;
    }

    bar.releasePeriods();
    EXPECT_FALSE(pressed(bar, "cmdAllDay"));
    bar.pressPeriod(2);
    bar.pressPeriod(10);  // beyond the buttons: nothing
    EXPECT_TRUE(pressed(bar, "cmdKikan2"));
    bar.showAll();
    EXPECT_FALSE(pressed(bar, "cmdKikan2"));
    EXPECT_FALSE(pressed(bar, "cmdWeek_5"));
    EXPECT_TRUE(pressed(bar, "cmdAllDay"));
    EXPECT_EQ(bar.selectedWeekday(), pairly::list::kAllWeekdays);
}

TEST(FilterBarTest, PeriodTextsAndDates) {
    FilterBar bar;
    auto* start = bar.findChild<QComboBox*>("cboStdate");
    auto* end = bar.findChild<QComboBox*>("cboEddate");
    const std::vector<pairly::list::Text> dates = {"2026/12/01", "2026/12/05", "2026/12/07"};
    bar.setPeriodDates(dates);
    EXPECT_EQ(start->count(), 3);
    EXPECT_EQ(end->count(), 3);
    EXPECT_EQ(bar.periodTexts(), (pairly::list::PeriodTexts{"2026/12/01", "2026/12/07"}));

    bar.setPeriodTexts({"2026/11/30", "2026/12/07"});
    EXPECT_EQ(start->currentText(), QStringLiteral("2026/11/30"));
    // A typed text is a bound as typed, even one that is not a date.
    end->setEditText(QStringLiteral("明日"));
    EXPECT_EQ(bar.periodTexts(), (pairly::list::PeriodTexts{"2026/11/30", "明日"}));
    EXPECT_EQ(end->count(), 3);

    bar.setPeriodDates({});
    EXPECT_EQ(start->count(), 0);
    EXPECT_EQ(bar.periodTexts(), (pairly::list::PeriodTexts{"", ""}));
}

}  // namespace
}  // namespace pairly::gui::list
