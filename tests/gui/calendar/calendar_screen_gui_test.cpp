// The calendar screen on its own and inside the main window: painted days, counters,
// display modes, the double click to the input screen and partner changes.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/text/dates.h"
#include "gui/calendar/calendar_screen.h"
#include "gui/common/app_context.h"
#include "gui/widgets/clock.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::gui::calendar {
namespace {

using testing::qs;

std::string line(const char* date, const char* weight) {
    return std::string("\"") + date + "\",\"起床後\"," + weight +
           ",22.5,1300,8,40.1,90,2.6,\"\",\"\"\r\n";
}

const QColor kGreen(192, 255, 192), kRed(255, 192, 192), kYellow(255, 255, 192),
    kPurple(192, 192, 255), kWhite(255, 255, 255), kPressed(255, 224, 192);

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

QColor backColour(QWidget* w) { return w->palette().color(QPalette::Window); }

// A press, release and double click in the middle of a data cell.
void doubleClickCell(gui::widgets::Grid* g, int row, int col) {
    const QPoint pos(g->columnViewportPosition(col) + g->columnWidth(col) / 2,
                     g->rowViewportPosition(row - 1) + g->rowHeight(row - 1) / 2);
    QWidget* vp = g->viewport();
    const QPointF global = vp->mapToGlobal(QPointF(pos));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pos), global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &event);
    }
}

class CalendarScreenTest : public ::testing::Test {
protected:
    CalendarScreenTest() : ctx(folder.path(), dialogs, clock) {
        QObject::connect(&screen, &CalendarScreen::inputDateRequested,
                         [this](const text::Date& d) { requested.push_back(d); });
        screen.resize(1280, 700);
    }

    void open() {
        screen.openCalendar();
        screen.show();
        QApplication::processEvents();
    }

    template <class T = QWidget>
    T* find(const char* name) {
        T* w = screen.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    bool shown(const char* name) { return !find(name)->isHidden(); }
    gui::widgets::Grid* grid() { return find<gui::widgets::Grid>("msgList2"); }

    testing::TempFolder folder;
    gui::widgets::ScriptedDialogs dialogs;
    gui::widgets::FixedClock clock{text::Date{2026, 12, 7}, 8 * 3600};
    gui::common::AppContext ctx;
    CalendarScreen screen{ctx};
    std::vector<text::Date> requested;
};

// 15 October no change (the middle weighing does not count), no November, 1 December
// 99.8 → 100.2 up, 3 December down, and the newest day a single weighing.
void writeFourDays(const testing::TempFolder& folder) {
    folder.writeCp932("データ1.txt", line("2026/10/15", "65.4") + line("2026/10/15", "64.8") +
                                         line("2026/10/15", "65.4") + line("2026/12/01", "99.8") +
                                         line("2026/12/01", "100.2") + line("2026/12/03", "65.4") +
                                         line("2026/12/03", "65.2") + line("2026/12/05", "66"));
}

TEST_F(CalendarScreenTest, PaintsEachDayAndFillsTheCounters) {
    writeFourDays(folder);
    open();
    gui::widgets::Grid* g = grid();

    ASSERT_EQ(g->columnCount(), 32);
    EXPECT_EQ(g->headerText(0), qs("年月"));
    EXPECT_NEAR(g->columnWidthTwips(0), 1315, 15);
    EXPECT_EQ(g->columnAlignment(0), gui::widgets::Align::Center);
    for (int c = 1; c <= 31; ++c) {
        EXPECT_EQ(g->headerText(c), QString::number(c));
        EXPECT_NEAR(g->columnWidthTwips(c), 305, 15) << c;
        EXPECT_EQ(g->headerAlignment(c), gui::widgets::Align::Center);
    }

    ASSERT_EQ(g->rowCount(), 2);
    EXPECT_EQ(g->text(1, 0), qs("2026年10月"));
    EXPECT_EQ(g->text(2, 0), qs("2026年12月"));
    const struct {
        int row, col;
        QColor colour;  // invalid: not painted
    } cells[] = {{1, 15, kYellow},  {2, 1, kRed},      {2, 3, kGreen},   {2, 5, kPurple},
                 {1, 14, QColor()}, {1, 16, QColor()}, {2, 2, QColor()}, {2, 7, QColor()}};
    for (const auto& c : cells) {
        EXPECT_EQ(g->cellColor(c.row, c.col), c.colour) << c.row << "," << c.col;
        EXPECT_EQ(g->text(c.row, c.col), QString());
    }

    const struct {
        const char* name;
        const char* text;
        QColor colour;
    } legend[] = {{"lblDn_c", "体重減  1日", kGreen},
                  {"lblUp_c", "体重増  1日", kRed},
                  {"lblSm_c", "増減無し  1日", kYellow},
                  {"lblOne_c", "１回だけ計測  1日", kPurple},
                  // 15 October to today is 54 days, 4 of them measured.
                  {"lblNon_c", "未計測  50日", kWhite}};
    for (const auto& l : legend) {
        EXPECT_EQ(label(l.name), qs(l.text));
        EXPECT_EQ(backColour(find(l.name)), l.colour) << l.name;
    }
    // Two good days against two bad ones.
    EXPECT_EQ(label("lblGenT"), qs("2日"));
    EXPECT_EQ(label("lblZouT"), qs("2日"));
    EXPECT_EQ(label("lblHugou"), "=");
    EXPECT_TRUE(shown("imgNiko2"));
    EXPECT_FALSE(shown("imgWara2"));
    EXPECT_FALSE(shown("imgKana2"));

    EXPECT_EQ(find<QPushButton>("cmdSel1_0")->text(), qs("詳細表示"));
    EXPECT_EQ(find<QPushButton>("cmdSel1_1")->text(), qs("簡易表示"));
    EXPECT_EQ(find<QPushButton>("cmdSel1_0")->palette().color(QPalette::Button), kPressed);
    EXPECT_EQ(find<QPushButton>("cmdSel1_1")->palette().color(QPalette::Button), buttonFace());
    EXPECT_TRUE(dialogs.shown.empty());

    // One more decrease day tips the verdict.
    folder.writeCp932("データ1.txt", folder.readCp932("データ1.txt") + line("2026/12/06", "66") +
                                         line("2026/12/06", "65.8"));
    screen.openCalendar();
    EXPECT_EQ(label("lblHugou"), ">");
    EXPECT_TRUE(shown("imgWara2"));
    EXPECT_FALSE(shown("imgNiko2"));
    EXPECT_FALSE(shown("imgKana2"));
}

TEST_F(CalendarScreenTest, SimpleModeRepaintsTheDaysButNotTheLegend) {
    writeFourDays(folder);
    open();
    find<QPushButton>("cmdSel1_1")->click();
    gui::widgets::Grid* g = grid();
    EXPECT_EQ(screen.mode(), pairly::calendar::CalendarMode::Simple);
    EXPECT_EQ(g->cellColor(1, 15), kGreen);  // no change
    EXPECT_EQ(g->cellColor(2, 1), kRed);
    EXPECT_EQ(g->cellColor(2, 3), kGreen);
    EXPECT_EQ(g->cellColor(2, 5), kRed);  // once
    EXPECT_EQ(backColour(find("lblSm_c")), kYellow);
    EXPECT_EQ(backColour(find("lblOne_c")), kPurple);
    EXPECT_EQ(label("lblSm_c"), qs("増減無し  1日"));
    EXPECT_EQ(label("lblOne_c"), qs("１回だけ計測  1日"));
    EXPECT_EQ(find<QPushButton>("cmdSel1_1")->palette().color(QPalette::Button), kPressed);
    EXPECT_EQ(find<QPushButton>("cmdSel1_0")->palette().color(QPalette::Button), buttonFace());

    find<QPushButton>("cmdSel1_0")->click();
    EXPECT_EQ(g->cellColor(2, 5), kPurple);
    find<QPushButton>("cmdSel1_1")->click();
    // Opening again starts in detailed mode.
    screen.openCalendar();
    EXPECT_EQ(screen.mode(), pairly::calendar::CalendarMode::Detailed);
    EXPECT_EQ(g->cellColor(1, 15), kYellow);
    EXPECT_EQ(find<QPushButton>("cmdSel1_0")->palette().color(QPalette::Button), kPressed);
}

TEST_F(CalendarScreenTest, DoubleClickNamesTheCellsDateOrNothing) {
    folder.writeCp932("データ1.txt", line("2026/04/10", "60") + line("2026/12/01", "59"));
    open();
    gui::widgets::Grid* g = grid();
    ASSERT_EQ(g->rowCount(), 2);

    doubleClickCell(g, 2, 1);      // a day with a record
    doubleClickCell(g, 1, 30);     // a day without one still names a date
    doubleClickCell(g, 1, 31);     // 31 April does not exist
    doubleClickCell(g, 1, 0);      // the month column
    screen.jumpToInputDate(0, 5);  // the header row
    screen.jumpToInputDate(3, 5);  // past the last row
    EXPECT_EQ(requested, (std::vector<text::Date>{{2026, 12, 1}, {2026, 4, 30}}));
}

TEST_F(CalendarScreenTest, BadDatesAreSkippedAndAnUnreadableLogIsReported) {
    folder.writeCp932("データ1.txt", line("2026/12/45", "70") + line("2026/1/05", "70") +
                                         line("2026/12/02", "60") + line("12/03/2026", "70") +
                                         line("2026/12/02", "59.5"));
    open();
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(grid()->cellColor(1, 2), kGreen);
    EXPECT_EQ(label("lblDn_c"), qs("体重減  1日"));
    EXPECT_EQ(label("lblNon_c"), qs("未計測  5日"));

    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Read});
        screen.openCalendar();
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(label("lblNon_c"), qs("未計測  0日"));
    EXPECT_EQ(label("lblHugou"), "=");

    // No log at all: an empty calendar and no box.
    std::filesystem::remove(folder.path() / "データ1.txt");
    screen.openCalendar();
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(CalendarScreenTest, ALongDiaryOpensOnItsNewestMonth) {
    std::string log;
    for (int month = 0; month < 48; ++month) {
        const text::Date d{2023 + month / 12, month % 12 + 1, 10};
        log += line(text::formatDate(d).c_str(), "60");
    }
    folder.writeCp932("データ1.txt", log);
    open();
    gui::widgets::Grid* g = grid();
    ASSERT_EQ(g->rowCount(), 48);
    EXPECT_GT(g->topVisibleRow(), 1);
    const int last = g->rowCount() - 1;
    EXPECT_LE(g->rowViewportPosition(last) + g->rowHeight(last), g->viewport()->height());
    EXPECT_GE(g->rowViewportPosition(last), 0);
}

// ---------------------------------------------------------------------------------------
// Inside the main window.

using testing::ShellFixture;

TEST(CalendarInWindow, MenuButtonWhileShownKeepsTheModeAndPartnerChangeRebuilds) {
    ShellFixture f;
    f.writeCouple(0);
    // Partner 1 started in August; partner 2 on 1 December and skipped the 4th.
    f.folder.writeCp932("データ1.txt", line("2026/08/01", "70") + line("2026/12/07", "69"));
    f.folder.writeCp932("データ2.txt", line("2026/12/01", "55") + line("2026/12/02", "55") +
                                           line("2026/12/03", "55") + line("2026/12/05", "55") +
                                           line("2026/12/06", "55") + line("2026/12/07", "54.9") +
                                           line("2026/12/07", "54.5"));
    f.start();
    f.click("cmdCale");
    auto* g = f.find<gui::widgets::Grid>("msgList2");
    EXPECT_EQ(g->rowCount(), 2);
    EXPECT_EQ(f.find<QLabel>("lblNon_c")->text(), qs("未計測  127日"));

    f.click("cmdSel1_1");
    f.click("cmdCale");  // already shown: nothing changes
    EXPECT_EQ(f.buttonColour("cmdSel1_1"), QColor(255, 224, 192));
    EXPECT_EQ(g->cellColor(2, 7), kRed);

    // The count starts at partner 2's own first day, whatever the input screen last showed.
    f.click("cmdUser2");
    EXPECT_FALSE(f.find<QWidget>("fraCale")->isHidden());
    EXPECT_EQ(f.buttonColour("cmdSel1_0"), QColor(255, 224, 192));
    ASSERT_EQ(g->rowCount(), 1);
    EXPECT_EQ(g->cellColor(1, 1), kPurple);
    EXPECT_EQ(g->cellColor(1, 7), kGreen);
    EXPECT_EQ(g->cellColor(1, 4), QColor());
    EXPECT_EQ(f.find<QLabel>("lblNon_c")->text(), qs("未計測  1日"));
    EXPECT_EQ(f.find<QLabel>("lblGenT")->text(), qs("1日"));
    EXPECT_EQ(f.find<QLabel>("lblZouT")->text(), qs("5日"));
    EXPECT_EQ(f.find<QLabel>("lblHugou")->text(), "<");
    EXPECT_FALSE(f.find<QLabel>("imgKana2")->isHidden());
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(CalendarInWindow, DoubleClickOpensTheInputScreenOnThatDay) {
    ShellFixture f;
    f.writeCouple(1);
    f.folder.writeCp932("データ1.txt", line("2026/11/20", "70") + line("2026/11/28", "69.6") +
                                           line("2026/11/28", "69.4") + line("2026/12/07", "69"));
    f.start();
    f.click("cmdCale");
    f.dialogs.shown.clear();
    auto* g = f.find<gui::widgets::Grid>("msgList2");
    ASSERT_EQ(g->text(1, 0), qs("2026年11月"));

    doubleClickCell(g, 1, 28);
    EXPECT_FALSE(f.find<QWidget>("fraMain")->isHidden());
    EXPECT_TRUE(f.find<QWidget>("fraCale")->isHidden());
    EXPECT_EQ(f.find<QCalendarWidget>("mtvmain")->selectedDate(), QDate(2026, 11, 28));
    auto* day = f.find<gui::widgets::Grid>("msgDayList");
    ASSERT_EQ(day->rowCount(), 2);
    EXPECT_EQ(day->text(2, 2), "69.4Kg");
    // The jump explains nothing, even with the tour on.
    EXPECT_TRUE(f.dialogs.shown.empty());

    // A click on the month column leaves the calendar where it is.
    f.click("cmdCale");
    f.dialogs.shown.clear();
    doubleClickCell(g, 1, 0);
    EXPECT_FALSE(f.find<QWidget>("fraCale")->isHidden());
    EXPECT_EQ(f.find<QCalendarWidget>("mtvmain")->selectedDate(), QDate(2026, 11, 28));
}

}  // namespace
}  // namespace pairly::gui::calendar

namespace pairly::gui::calendar {
namespace {

// 前日比: each day's first weighing against the previous weighing day's first, painted as
// the detailed mode paints, with counters and face from those classes.
TEST_F(CalendarScreenTest, FromThePreviousDayClassesEachDayAgainstTheDayBefore) {
    writeFourDays(folder);  // first weighings 65.4, 99.8, 65.4, 66
    open();
    gui::widgets::Grid* g = grid();
    find<QPushButton>("cmdSel1_1")->click();
    find<QPushButton>("cmdSel1_2")->click();
    EXPECT_EQ(find<QPushButton>("cmdSel1_2")->text(), qs("前日比"));
    EXPECT_EQ(screen.dayBasis(), pairly::calendar::DayBasis::FromPreviousDay);
    const struct {
        int row, day;
        QColor colour;
    } cells[] = {{1, 15, kPurple},  // the first day of the log
                 {2, 1, kRed},      // 99.8 after 65.4
                 {2, 3, kGreen},    // 65.4 after 99.8
                 {2, 5, kRed}};     // 66 after 65.4
    for (const auto& c : cells)
        EXPECT_EQ(g->cellColor(c.row, c.day), c.colour) << c.row << "/" << c.day;
    EXPECT_EQ(label("lblGenT"), qs("1日"));
    EXPECT_EQ(label("lblZouT"), qs("3日"));
    EXPECT_EQ(label("lblHugou"), qs("<"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(find<QPushButton>(QString("cmdSel1_%1").arg(i).toLatin1().constData())
                      ->palette()
                      .color(QPalette::Button),
                  i == 2 ? kPressed : buttonFace())
            << i;

    // Back to the detailed mode: the day's own weighings again.
    find<QPushButton>("cmdSel1_0")->click();
    EXPECT_EQ(screen.dayBasis(), pairly::calendar::DayBasis::WithinDay);
    EXPECT_EQ(g->cellColor(1, 15), kYellow);
    EXPECT_EQ(g->cellColor(2, 3), kGreen);
    EXPECT_EQ(g->cellColor(2, 5), kPurple);
    EXPECT_EQ(label("lblGenT"), qs("2日"));

    // Not kept: opening again starts with the detailed mode.
    find<QPushButton>("cmdSel1_2")->click();
    screen.openCalendar();
    EXPECT_EQ(screen.dayBasis(), pairly::calendar::DayBasis::WithinDay);
    EXPECT_EQ(g->cellColor(1, 15), kYellow);
}

}  // namespace
}  // namespace pairly::gui::calendar
