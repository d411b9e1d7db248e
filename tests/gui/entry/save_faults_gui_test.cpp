// Saving a weighing while the log cannot be read: the save stops with a message, the log
// keeps every byte, and the weighing stays in the panel for another try.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>

#include "core/disk/file_notices.h"
#include "gui/widgets/grid.h"
#include "gui_support/screens_fixture.h"

namespace pairly::testing {
namespace {

using Op = disk::fileops::Op;

const std::string kLog = logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                         logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8");
const QString kReadFailed = QString::fromUtf8(
    "データファイルを読み込めなかったため、保存を中止しました。\nデータは変更されていません。");

class SaveFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeSituations("\"起床後\"\r\n\"朝食前\"\r\n");
        f.writeLog(1, kLog);
        f.build();
    }
    void selectDay(int y, int m, int d) const {
        auto* calendar = f.find<QCalendarWidget>("mtvmain");
        calendar->setSelectedDate(QDate(y, m, d));
        emit calendar->clicked(QDate(y, m, d));
    }
    void pickAndSave(const std::set<Op>& ops, long n) {
        f.clickItem(f.find<QListWidget>("lstAct"), 1);
        f.dialogs.shown.clear();
        auto fail = InjectFaults::once(n, ops);
        f.click("cmdTaiHozon");
    }

    ScreensFixture f;
};

TEST_F(SaveFaultsTest, EarlierDayIsNotInsertedFromAnIncompleteRead) {
    // The save reads the log once, and once more just before the new log takes its place
    // (to see that no one changed it): a failure in either stops it.
    struct Case {
        Op op;
        long n;
    } cases[] = {{Op::Open, 1}, {Op::Read, 1}, {Op::Read, 2}, {Op::Close, 1},
                 {Op::Open, 3}, {Op::Read, 3}, {Op::Read, 4}, {Op::Close, 3}};
    selectDay(2026, 12, 3);
    for (const Case& c : cases) {
        pickAndSave({c.op}, c.n);
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << int(c.op) << " #" << c.n;
        EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_EQ(f.dialogs.shown[0].text, kReadFailed);
        EXPECT_EQ(f.log(1), kLog);
        EXPECT_EQ(f.folder.fileNames().size(), 2u);  // no copy left behind
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), "60.3");
    }
    // Once the log reads again, the same weighing goes in its place.
    pickAndSave({Op::Open}, 99);
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.log(1), logLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
                            logLine("2026/12/03", "朝食前", "60.3,25,1400,8,45.3,5,2.8") +
                            logLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8"));
}

TEST_F(SaveFaultsTest, TodaysWeighingNeedsTheWholeLogToo) {
    // Without the log the last day is unknown, so an append could land out of order; and
    // the append must see a torn last line, or its fields would take the new line's as
    // their own.
    for (const Op op : {Op::Open, Op::Read}) {
        pickAndSave({op}, 1);
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << int(op);
        EXPECT_EQ(f.dialogs.shown[0].text, kReadFailed);
        EXPECT_EQ(f.log(1), kLog);
    }
    pickAndSave({Op::Open}, 99);
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.log(1), kLog + logLine("2026/12/07", "朝食前", "60.3,25,1400,8,45.3,5,2.8"));
}

TEST_F(SaveFaultsTest, ALogChangedAfterTheSavesReadIsLeftAsItIs) {
    // Another program writes the log after the save read it (at the save's next open):
    // the save stops with the stale notice, shows the log as it is now and keeps the entry.
    struct Case {
        int day;
        const char* line;  // the other program's weighing, on the selected day
    } cases[] = {{7, "2026/12/07"}, {3, "2026/12/03"}};
    const disk::FileNotice stale = disk::staleFileNotice("データ1.txt");
    for (const Case& c : cases) {
        const std::string changed = kLog + logLine(c.line, "夕食後", "59,24,1400,8,45,5,2.8");
        f.writeLog(1, kLog);
        selectDay(2026, 12, c.day);
        f.clickItem(f.find<QListWidget>("lstAct"), 1);
        f.dialogs.shown.clear();
        disk::fileops::setFaultHook([&, opens = 0](Op op, long) mutable {
            if (op == Op::Open && ++opens == 2) f.writeLog(1, changed);
            return false;
        });
        f.click("cmdTaiHozon");
        disk::fileops::setFaultHook(nullptr);
        ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.line;
        EXPECT_EQ(f.dialogs.shown[0].title, QString::fromStdString(stale.title));
        EXPECT_EQ(f.dialogs.shown[0].text, QString::fromStdString(stale.text));
        EXPECT_EQ(f.log(1), changed) << c.line;
        EXPECT_EQ(f.folder.fileNames().size(), 2u) << c.line;  // no copy left behind
        EXPECT_EQ(f.find<gui::widgets::Grid>("msgDayList")->rowCount(), 1) << c.line;
        EXPECT_EQ(f.find<QLineEdit>("txtTaiInp")->text(), "60.3") << c.line;
    }
}

}  // namespace
}  // namespace pairly::testing
