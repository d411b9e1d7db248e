// The input screen driven through its controls: picks, steppers, save, day view, markers.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <array>
#include <optional>

#include "core/disk/data_folder.h"
#include "core/disk/file_ops.h"
#include "gui/widgets/chart.h"
#include "gui/widgets/grid.h"
#include "gui_support/screens_fixture.h"

namespace pairly::testing {
namespace {

const char* const kSteppers[] = {"cmdUp",  "cmdDn",  "cmdUp1", "cmdDn1", "cmdUp2",
                                 "cmdDn2", "cmdUp3", "cmdDn3", "cmdUp4", "cmdDn4",
                                 "cmdUp5", "cmdDn5", "cmdUp6", "cmdDn6"};
const char* const kFields[] = {"txtTaiInp", "txtShiInp", "txtTaisya", "txtNaizo",
                               "txtKinr",   "txtKins",   "txtKotu"};

class InputScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeSituations("\"起床後\"\r\n\"朝食前\"\r\n夕食後\r\n");
        f.writeLog(1, logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                          logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8"));
        f.writeLog(2, logLine("2026/12/07", "起床後", "70,20,1600,10,55,8,3.1"));
    }
    QLineEdit* field(int i) const { return f.find<QLineEdit>(kFields[i]); }
    QStringList fieldTexts() const {
        QStringList texts;
        for (int i = 0; i < 7; ++i) texts << field(i)->text();
        return texts;
    }
    int enabledSteppers() const {
        int n = 0;
        for (const char* name : kSteppers) n += f.find<QPushButton>(name)->isEnabled();
        return n;
    }
    QListWidget* lstAct() const { return f.find<QListWidget>("lstAct"); }
    gui::widgets::Grid* grid(const char* name) const { return f.find<gui::widgets::Grid>(name); }
    QStringList row(const char* name, int r) const {
        QStringList cells;
        for (int c = 0; c < grid(name)->columnCount(); ++c) cells << grid(name)->text(r, c);
        return cells;
    }
    bool visible(const char* name) const { return !f.find<QWidget>(name)->isHidden(); }
    void selectDay(int y, int m, int d) const {
        auto* calendar = f.find<QCalendarWidget>("mtvmain");
        calendar->setSelectedDate(QDate(y, m, d));
        emit calendar->clicked(QDate(y, m, d));
    }

    ScreensFixture f;
};

TEST_F(InputScreenTest, OneWeighingFromPickToDayView) {
    f.build();
    EXPECT_EQ(enabledSteppers(), 0);
    // Today has no weighing yet: the no-data face and the last record's values.
    EXPECT_TRUE(visible("imgNashi"));
    EXPECT_EQ(grid("msgDayList")->rowCount(), 0);

    f.clickItem(lstAct(), 0);
    EXPECT_EQ(fieldTexts(), QStringList({"60.3", "25", "1400", "8", "45.3", "5", "2.8"}));
    EXPECT_EQ(enabledSteppers(), 14);
    f.click("cmdUp");
    f.click("cmdDn4");
    EXPECT_EQ(field(0)->text(), "60.4");
    EXPECT_EQ(field(4)->text(), "45.2");
    f.click("cmdTaiHozon");

    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.log(1), logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                            logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8") +
                            logLine("2026/12/07", "起床後", "60.4,25,1400,8,45.2,5,2.8"));
    ASSERT_EQ(grid("msgDayList")->rowCount(), 1);
    EXPECT_EQ(row("msgDayList", 1), QStringList({"1", qs("起床後"), "60.4Kg", "0.1Kg", qs("↑"),
                                                 "0.0Kg", qs("→"), "23.6", "7.2%", "25.0%"}));
    EXPECT_EQ(grid("msgDayList")->cellColor(1, 4), QColor(255, 192, 192));
    EXPECT_EQ(row("msgDayList2", 1), QStringList({"1", qs("起床後"), "60.4Kg", "25.0%", "1400kcal",
                                                  "8", "45.2Kg", "5", "2.8Kg"}));
    EXPECT_TRUE(visible("imgniko"));
    EXPECT_FALSE(visible("imgNashi"));
    // The panel is empty again and every weighing starts with a pick.
    EXPECT_EQ(fieldTexts(), QStringList(7, QString()));
    EXPECT_EQ(enabledSteppers(), 0);
    EXPECT_EQ(lstAct()->currentRow(), -1);

    // Both partners weighed once today.
    auto* count1 = f.input->dayCountWidget(1);
    auto* count2 = f.input->dayCountWidget(2);
    EXPECT_EQ(count1->findChild<QLabel*>("lblUser1")->text(), "1");
    EXPECT_EQ(count2->findChild<QLabel*>("lblUser2")->text(), "1");
    EXPECT_FALSE(count1->findChild<QLabel*>("imgKura1")->isHidden());
    EXPECT_TRUE(count1->findChild<QLabel*>("imgNon1")->isHidden());
    EXPECT_EQ(count1->findChild<QLabel*>("lblUser1")->palette().color(QPalette::Window),
              QColor(255, 255, 192));

    // A second press right after the save stops at the situation check.
    f.click("cmdTaiHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("行動が指定されていません"));
}

TEST_F(InputScreenTest, RefusalsComeInOrderAndWriteNothing) {
    f.build();
    const std::string before = f.log(1);
    f.click("cmdTaiHozon");  // nothing picked, nothing typed
    f.click("cmdJikan");
    field(0)->clear();
    field(1)->clear();
    f.click("cmdTaiHozon");
    field(0)->setText("59.9");
    f.click("cmdTaiHozon");
    field(1)->setText("24.5");
    field(2)->setText("40000");  // no 16-bit integer
    f.click("cmdTaiHozon");

    std::vector<std::pair<QString, QString>> shown;
    for (const auto& s : f.dialogs.shown) {
        EXPECT_EQ(s.icon, gui::widgets::Icon::Warning);
        shown.emplace_back(s.text, s.title);
    }
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], std::pair(qs("行動が指定されていません"), qs("行動未入力")));
    EXPECT_EQ(shown[1], std::pair(qs("体重が入力されていません"), qs("体重未入力")));
    EXPECT_EQ(shown[2], std::pair(qs("体脂肪率が入力されていません"), qs("体脂肪率未入力")));
    EXPECT_FALSE(shown[3].first.isEmpty());
    EXPECT_EQ(f.log(1), before);
    // A refused save keeps the panel as it was.
    EXPECT_EQ(field(0)->text(), "59.9");
    EXPECT_EQ(enabledSteppers(), 14);
}

TEST_F(InputScreenTest, PastDayIsInsertedWithoutTimeAndTodayAppendedWithIt) {
    f.build();
    f.click("chkJikan");
    ASSERT_TRUE(f.input->autoTime());

    selectDay(2026, 12, 3);
    EXPECT_EQ(f.partnerButtonFocused, 1);
    EXPECT_EQ(f.find<QLabel>("lblDspNissuu")->text(), qs("26/12/01 → 5日経過"));
    f.clickItem(lstAct(), 1);
    f.click("cmdTaiHozon");
    // The time of saving on today's record only.
    selectDay(2026, 12, 7);
    f.click("cmdJikan");
    f.click("cmdTaiHozon");

    EXPECT_EQ(f.log(1),
              logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                  logLine("2026/12/03", "朝食前", "60.3,25,1400,8,45.3,5,2.8") +
                  logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8") +
                  logLine("2026/12/07", "7:05:09", "60.3,25,1400,8,45.3,5,2.8", "7:05:09"));
    EXPECT_EQ(grid("msgDayList")->text(1, 1), "7:05:09");
}

TEST_F(InputScreenTest, FreeSituationPicks) {
    f.build();
    const std::string list = f.situations();
    auto* lstKoumoku = f.find<QListWidget>("lstKoumoku");

    // Cancelled: nothing at all.
    f.click("cmdFree");
    EXPECT_EQ(enabledSteppers(), 0);
    EXPECT_EQ(f.dialogs.shown.back().title, qs("状況フリー入力"));
    EXPECT_EQ(
        f.dialogs.shown.back().text,
        qs("状況リストに無い内容をフリーで入力できます。\n\n任意の言葉で内容を書き込んでください。"
           "\n\n体重は通常と同じように ↓↑ボタンで指定してください。\n"));

    // A quote cannot be stored: refused before anything changes.
    f.dialogs.inputs = {qs("\"散歩\"")};
    f.click("cmdFree");
    EXPECT_EQ(f.dialogs.shown.back().title, qs("入力エラー"));
    EXPECT_EQ(f.dialogs.shown.back().icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(enabledSteppers(), 0);

    // No: used for this weighing only.
    f.dialogs.inputs = {qs("散歩後")};
    f.dialogs.answers = {gui::widgets::Answer::No};
    f.click("cmdFree");
    EXPECT_EQ(f.dialogs.shown.back().text, qs("状況リストに追加しますか？\n\n"));
    EXPECT_EQ(f.dialogs.shown.back().title, qs("状況リスト登録の有無"));
    EXPECT_EQ(enabledSteppers(), 14);
    EXPECT_EQ(f.situations(), list);

    // Yes twice: the file and both lists hold it twice.
    f.dialogs.inputs = {qs("ジム後,サウナ"), qs("ジム後,サウナ")};
    f.click("cmdFree");
    f.click("cmdFree");
    EXPECT_EQ(f.situations(), list + "\"ジム後,サウナ\"\r\n\"ジム後,サウナ\"\r\n");
    const QStringList expected = {qs("起床後"), qs("朝食前"), qs("夕食後"), qs("ジム後,サウナ"),
                                  qs("ジム後,サウナ")};
    EXPECT_EQ(ScreensFixture::items(lstAct()), expected);
    EXPECT_EQ(ScreensFixture::items(lstKoumoku), expected);
    f.click("cmdTaiHozon");
    EXPECT_NE(f.log(1).find("\"ジム後,サウナ\",60.3"), std::string::npos);
}

TEST_F(InputScreenTest, FailedWritesChangeNothingAndSaySo) {
    f.build();
    const std::string log = f.log(1), list = f.situations();
    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Write});
        f.clickItem(lstAct(), 0);
        f.click("cmdTaiHozon");
        f.dialogs.inputs = {qs("散歩後")};
        f.click("cmdFree");  // answered Yes: the append fails too
    }

    EXPECT_EQ(f.log(1), log);
    EXPECT_EQ(f.situations(), list);
    EXPECT_EQ(lstAct()->count(), 3);
    ASSERT_EQ(f.dialogs.shown.size(), 4u);
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_EQ(f.dialogs.shown[3].title, qs("保存エラー"));
    // The weighing is still in the panel, ready for another try.
    EXPECT_EQ(field(0)->text(), "60.3");
    EXPECT_EQ(enabledSteppers(), 14);
}

TEST_F(InputScreenTest, NineWeighingsScrollTheLastRowToTheTop) {
    for (int n : {8, 9}) {
        std::string lines;
        for (int i = 0; i < n; ++i)
            lines += logLine("2026/12/07", "起床後", "60,25,1400,8,45.3,5,2.8");
        f.writeLog(1, lines);
        if (!f.input) f.build();
        f.input->refreshDayView();
        EXPECT_EQ(grid("msgDayList")->topVisibleRow(), n == 9 ? 9 : 1);
        EXPECT_EQ(grid("msgDayList2")->topVisibleRow(), n == 9 ? 9 : 1);
    }
}

TEST_F(InputScreenTest, AWeighingForADayAfterTodayIsConfirmedFirst) {
    const std::string before = f.log(1);
    f.build();
    const struct {
        int day;                                     // of December 2026; today is the 7th
        std::optional<gui::widgets::Answer> answer;  // none: not asked
        bool saved;
    } cases[] = {
        {7, {}, true}, {9, gui::widgets::Answer::No, false}, {9, gui::widgets::Answer::Yes, true}};
    std::string expected = before;
    for (const auto& c : cases) {
        selectDay(2026, 12, c.day);
        f.clickItem(lstAct(), 1);
        f.dialogs.shown.clear();
        if (c.answer) f.dialogs.answers.push_back(*c.answer);
        f.click("cmdTaiHozon");
        if (c.answer) {
            ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.day;
            EXPECT_EQ(f.dialogs.shown[0].text,
                      qs("2026/12/09 は今日より後の日付です。\n\nこの日付で保存しますか？"));
            EXPECT_EQ(f.dialogs.shown[0].title, qs("日付確認"));
            EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Question);
            EXPECT_EQ(f.dialogs.shown[0].buttons, gui::widgets::Buttons::YesNo);
        } else {
            EXPECT_TRUE(f.dialogs.shown.empty()) << c.day;
        }
        if (c.saved)
            expected +=
                logLine("2026/12/0" + std::to_string(c.day), "朝食前", "60.3,25,1400,8,45.3,5,2.8");
        EXPECT_EQ(f.log(1), expected) << c.day;
    }
    // A refusal asks nothing: the entry is checked before the day.
    selectDay(2026, 12, 9);
    f.clickItem(lstAct(), 1);
    field(0)->clear();
    f.dialogs.shown.clear();
    f.click("cmdTaiHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("体重未入力"));
}

// The log files opened while `act` runs.
template <class Act>
long opensDuring(Act act) {
    auto count = InjectFaults::once(1L << 40, {disk::fileops::Op::Open});
    act();
    return count.seen();
}

TEST_F(InputScreenTest, ACalendarClickReadsTheDayOnce) {
    f.build();
    auto* calendar = f.find<QCalendarWidget>("mtvmain");
    auto* view = calendar->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    // The cell of a day of the month shown, as the user clicks it.
    auto click = [view](int day) {
        for (int r = 0; r < view->model()->rowCount(); ++r)
            for (int c = 0; c < view->model()->columnCount(); ++c) {
                const QModelIndex i = view->model()->index(r, c);
                if (i.data().toString() != QString::number(day)) continue;
                const QPoint at = view->visualRect(i).center();
                mousePress(view->viewport(), at);
                mouseRelease(view->viewport(), at);
                QApplication::processEvents();  // the event loop between two clicks
                return;
            }
        FAIL() << "no cell for day " << day;
    };
    // Each reading reads both logs: two opens.
    EXPECT_EQ(opensDuring([&] { click(15); }), 2);
    EXPECT_EQ(f.input->selectedDay(), "2026/12/15");
    // Another click on the day shown reads it again (the files may have changed).
    EXPECT_EQ(opensDuring([&] { click(15); }), 2);
    EXPECT_EQ(opensDuring([&] { click(6); }), 2);
    EXPECT_EQ(grid("msgDayList")->rowCount(), 1);  // 2026/12/06's weighing
    // The keyboard moves the day too, read once.
    view->setFocus();
    EXPECT_EQ(opensDuring([&] { keyClick(view, Qt::Key_Left); }), 2);
    EXPECT_EQ(f.input->selectedDay(), "2026/12/05");
    QApplication::processEvents();
    EXPECT_EQ(opensDuring([&] { click(5); }), 2);
}

TEST_F(InputScreenTest, EnterWalksTheFieldsAndFocusSelectsTheText) {
    f.build();
    ASSERT_TRUE(activate(f.input.get()));
    f.clickItem(lstAct(), 0);
    ASSERT_TRUE(field(0)->hasFocus());
    EXPECT_EQ(field(0)->selectedText(), "60.3");
    for (int i = 1; i < 7; ++i) {
        keyClick(field(i - 1), Qt::Key_Return);
        ASSERT_TRUE(field(i)->hasFocus()) << i;
        EXPECT_EQ(field(i)->selectedText(), field(i)->text());
        EXPECT_EQ(field(i)->selectionStart(), 0);
        EXPECT_EQ(field(i)->cursorPosition(), 0);
    }
    keyClick(field(6), Qt::Key_Return);
    ASSERT_TRUE(f.find<QPushButton>("cmdTaiHozon")->hasFocus());
    // Enter on the save button, where the walk ends, saves.
    keyClick(f.find<QPushButton>("cmdTaiHozon"), Qt::Key_Return);
    EXPECT_EQ(f.log(1), logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                            logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8") +
                            logLine("2026/12/07", "起床後", "60.3,25,1400,8,45.3,5,2.8"));
    f.clickItem(lstAct(), 0);
    // An empty field keeps the focus.
    field(3)->setFocus();
    field(3)->clear();
    keyClick(field(3), Qt::Key_Return);
    EXPECT_TRUE(field(3)->hasFocus());
}

TEST_F(InputScreenTest, MarkerModeCyclesOnClicksAndIsWritten) {
    f.build();
    auto* chart = f.find<gui::widgets::Chart>("mcrMain");
    const gui::widgets::Marker expected[] = {
        gui::widgets::Marker::Circle, gui::widgets::Marker::Ball, gui::widgets::Marker::None};
    const char* file[] = {"1\r\n", "2\r\n", "0\r\n"};
    for (int i = 0; i < 3; ++i) {
        mousePress(chart->viewport(), QPoint(50, 50));
        EXPECT_EQ(f.fileStartingWith("マーカー"), file[i]);
        for (const char* name : {"mcrMain", "mcrMain2", "mcrMain3"})
            for (int s : {1, 2})
                EXPECT_EQ(f.find<gui::widgets::Chart>(name)->seriesMarker(s), expected[i]);
        EXPECT_EQ(f.find<gui::widgets::Chart>("mcrMain4")->seriesMarker(1), expected[i]);
    }
}

TEST_F(InputScreenTest, CaptionsSwitchViewsAndOptionsTheMainChart) {
    f.build();
    struct Case {
        const char* caption;
        const char* chart;
        const char* g1;
        const char* g2;
    };
    const Case cases[] = {{"lblNaizo", "mcrMain2", "基礎代謝", "内臓脂肪"},
                          {"lblKins", "mcrMain3", "筋肉量", "筋肉スコア"},
                          {"Label1", "mcrMain4", "骨量", ""},
                          {"lblShibou", "mcrMain", "", ""}};
    for (const Case& c : cases) {
        mouseClick(f.find<QLabel>(c.caption));
        EXPECT_TRUE(visible(c.chart)) << c.caption;
        EXPECT_EQ(visible("msgDayList2"), std::string(c.chart) != "mcrMain") << c.caption;
        EXPECT_EQ(f.find<QLabel>("lblG1")->text(), qs(c.g1));
        EXPECT_EQ(f.find<QLabel>("lblG2")->text(), qs(c.g2));
    }
    EXPECT_FALSE(visible("mcrMain2"));

    auto* chart = f.find<gui::widgets::Chart>("mcrMain");
    f.click("optShi");
    EXPECT_FALSE(chart->isSeriesVisible(1));
    EXPECT_TRUE(chart->isSeriesVisible(2));
    EXPECT_FALSE(chart->isAxisVisible(gui::widgets::Axis::Left));
    f.click("optKon");
    EXPECT_TRUE(chart->isSeriesVisible(1) && chart->isSeriesVisible(2));
}

// The main chart's legend names the lines shown, in their colours, with their axes when mixed.
TEST_F(InputScreenTest, MainChartLegendNamesTheLinesShown) {
    f.build();
    const struct {
        const char* option;
        QStringList has, hasNot;
    } cases[] = {
        {"optKon", {"#0040e0", "体重（左軸）", "#e00000", "体脂肪率（右軸）"}, {}},
        {"optTai", {"#0040e0", "体重"}, {"体脂肪率", "左軸"}},
        {"optShi", {"#e00000", "体脂肪率"}, {"体重", "右軸"}},
    };
    auto* legend = f.find<QLabel>("lblMainLegend");
    for (const auto& c : cases) {
        f.click(c.option);
        EXPECT_TRUE(visible("lblMainLegend")) << c.option;
        for (const QString& part : c.has) EXPECT_TRUE(legend->text().contains(part)) << c.option;
        for (const QString& part : c.hasNot)
            EXPECT_FALSE(legend->text().contains(part)) << c.option;
    }
    // Only with the main chart in view.
    mouseClick(f.find<QLabel>("lblNaizo"));
    EXPECT_FALSE(visible("lblMainLegend"));
    mouseClick(f.find<QLabel>("lblShibou"));
    EXPECT_TRUE(visible("lblMainLegend"));
}

// What a user types into each field: a number of the field's kind is stored, anything
// else is refused with a box naming the field, the focus on it and the log untouched.
TEST_F(InputScreenTest, TypedValuesAreStoredOrRefusedPerField) {
    f.build();
    ASSERT_TRUE(activate(f.input.get()));
    const std::string original = f.log(1);
    const char* names[7] = {"体重",   "体脂肪率",   "基礎代謝", "内臓脂肪",
                            "筋肉量", "筋肉スコア", "骨量"};
    const char* ranges[7] = {
        "0より大きく600以下の", "0～100の", "-32768～32767の", "-32768～32767の", "0～600の",
        "-32768～32767の",      "0～600の"};
    // Per field in entry order: the stored text, "N" refused as no number, "R" refused
    // as out of range, "E" refused as empty.
    struct Case {
        const char* typed;
        std::array<const char*, 7> expected;
    } cases[] = {
        {"abc", {"N", "N", "N", "N", "N", "N", "N"}},
        {"53,5", {"N", "N", "N", "N", "N", "N", "N"}},
        {"2\"8", {"N", "N", "N", "N", "N", "N", "N"}},
        {"-5", {"R", "R", "-5", "-5", "R", "-5", "R"}},
        {"0", {"R", "0", "0", "0", "0", "0", "0"}},
        {"600.1", {"R", "R", "600", "600", "R", "600", "R"}},
        {"99999999999999999999", {"R", "R", "R", "R", "R", "R", "R"}},
        {"１２３．４", {"123.4", "R", "123", "123", "123.4", "123", "123.4"}},
        {" 65.3 ", {"65.3", "65.3", "65", "65", "65.3", "65", "65.3"}},
        {"", {"E", "E", "0", "0", "0", "0", "0"}},
    };
    const char* kept[7] = {"60.3", "25", "1400", "8", "45.3", "5", "2.8"};
    for (const Case& c : cases) {
        for (int i = 0; i < 7; ++i) {
            const std::string what = std::string(c.typed) + " in " + kFields[i];
            f.dialogs.shown.clear();
            f.clickItem(lstAct(), 0);
            field(i)->setText(qs(c.typed));
            field((i + 1) % 7)->setFocus();
            f.click("cmdTaiHozon");
            const std::string expected = c.expected[i];
            if (expected == "N" || expected == "R" || expected == "E") {
                ASSERT_EQ(f.dialogs.shown.size(), 1u) << what;
                const auto& box = f.dialogs.shown[0];
                EXPECT_EQ(box.icon, gui::widgets::Icon::Warning) << what;
                if (expected == "E") {
                    EXPECT_EQ(box.title, qs(i == 0 ? "体重未入力" : "体脂肪率未入力")) << what;
                } else {
                    EXPECT_EQ(box.title, qs(names[i]) + qs("入力エラー")) << what;
                    // No number or out of range: the field and its range alike.
                    EXPECT_EQ(box.text, qs(names[i]) + qs("は") + qs(ranges[i]) +
                                            qs("数値で入力してください"))
                        << what;
                    EXPECT_TRUE(field(i)->hasFocus()) << what;
                }
                EXPECT_EQ(f.log(1), original) << what;
                EXPECT_EQ(field(i)->text(), qs(c.typed)) << what;  // still there to mend
                continue;
            }
            EXPECT_TRUE(f.dialogs.shown.empty()) << what;
            std::string values;
            for (int k = 0; k < 7; ++k)
                values += std::string(k ? "," : "") + (k == i ? expected : kept[k]);
            EXPECT_EQ(f.log(1), original + logLine("2026/12/07", "起床後", values)) << what;
            f.writeLog(1, original);
            f.input->refreshDayView();
        }
    }
}

TEST_F(InputScreenTest, TheChosenSituationShowsBesideTheSaveButton) {
    f.build();
    auto* label = f.find<QLabel>("lblHozonJyou");
    EXPECT_EQ(label->text(), qs("状況：未選択"));
    f.clickItem(lstAct(), 1);
    EXPECT_EQ(label->text(), qs("状況：朝食前"));
    f.click("cmdJikan");
    EXPECT_EQ(label->text(), qs("状況：7:05:09"));
    f.dialogs.inputs = {qs("散歩後")};
    f.dialogs.answers = {gui::widgets::Answer::No};
    f.click("cmdFree");
    EXPECT_EQ(label->text(), qs("状況：散歩後"));
    // A cancelled free pick keeps the one before.
    f.click("cmdFree");
    EXPECT_EQ(label->text(), qs("状況：散歩後"));
    // A long free situation is shortened to the room there is, and shown whole as a tip.
    const QString longText = QString(40, QChar(0x6B69));  // 歩 × 40
    f.dialogs.inputs = {longText};
    f.dialogs.answers = {gui::widgets::Answer::No};
    f.click("cmdFree");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_EQ(label->toolTip(), qs("状況：") + longText);
    // Saved: nothing chosen for the next weighing.
    f.click("cmdTaiHozon");
    EXPECT_EQ(label->text(), qs("状況：未選択"));
}

}  // namespace
}  // namespace pairly::testing
