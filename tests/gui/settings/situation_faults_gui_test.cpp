// The situation list editing of the settings screen when files cannot be read or written:
// every refusal says which, and leaves the files and the screen as they were.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "core/disk/change_set.h"
#include "gui/widgets/grid.h"
#include "gui_support/screens_fixture.h"

namespace pairly::testing {
namespace {

using Op = disk::fileops::Op;

class SituationFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeSituations("A\r\nB\r\nC\r\nD\r\n");
        f.writeLog(1, logLine("2026/12/07", "A", "60.1,25,1400,8,45.3,5,2.8"));
    }
    QListWidget* lstKoumoku() const { return f.find<QListWidget>("lstKoumoku"); }
    QListWidget* lstAct() const { return f.find<QListWidget>("lstAct"); }
    QStringList titles() const {
        QStringList out;
        for (const auto& box : f.dialogs.shown) out << box.title;
        return out;
    }

    ScreensFixture f;
};

// A list read that failed part-way shows what was read, but order and delete, which
// write the shown list back, refuse; delete all, which does not, goes ahead.
TEST_F(SituationFaultsTest, IncompleteListIsShownButNotWrittenBack) {
    f.build();
    {
        // The second read of the file (its end) fails: every entry came, yet the read is
        // not known to be complete.
        auto fail = InjectFaults::once(2, {Op::Read});
        f.settings->loadSituationList();
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("読み込みエラー"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
    EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(qs("状況リスト.txt を読み込めませんでした。")));
    EXPECT_EQ(ScreensFixture::items(lstKoumoku()), QStringList({"A", "B", "C", "D"}));
    f.dialogs.shown.clear();

    const QString refusal =
        qs("状況リスト.txt "
           "を読み込めなかったため、保存を中止しました。\n\nファイルは変更されていません。");
    ScreensFixture::drag(lstKoumoku(), 3, 0);
    f.click("cmdSort");
    ScreensFixture::clickItem(lstKoumoku(), 1);
    f.click("cmdDel");  // confirmed, then refused
    EXPECT_EQ(titles(), QStringList({qs("保存エラー"), qs("クリア確認"), qs("保存エラー")}));
    EXPECT_EQ(f.dialogs.shown[0].text, refusal);
    EXPECT_EQ(f.dialogs.shown[2].text, refusal);
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n");
    EXPECT_EQ(ScreensFixture::items(lstKoumoku()), QStringList({"D", "A", "B", "C"}));
    EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(f.find<QPushButton>("cmdSort")->palette().color(QPalette::Button),
              QColor(255, 224, 192));  // still unsaved
    f.dialogs.shown.clear();

    f.click("cmdDel2");
    EXPECT_EQ(f.situations(), "") << titles().join(QLatin1Char(',')).toStdString();
    f.dialogs.inputs = {qs("E"), qs("F")};
    f.click("cmdNew2");
    f.click("cmdNew2");
    ScreensFixture::drag(lstKoumoku(), 1, 0);
    f.click("cmdSort");  // the list is the file's again
    EXPECT_EQ(f.situations(), "F\r\nE\r\n");
    EXPECT_EQ(titles().count(qs("保存エラー")), 0);
}

// The rename reports what stopped it, and log and list end both renamed or both as
// they were.
TEST_F(SituationFaultsTest, RenameFailuresLeaveLogAndListAsTheyWere) {
    struct Case {
        const char* what;
        std::set<Op> ops;
        long n;
        bool fromN;
        const char* text;
    } cases[] = {
        {"log open",
         {Op::Open},
         1,
         false,
         "データ1.txt "
         "を読み込めなかったため、状況の変更を中止しました。\n\nファイルは変更されていま"
         "せん。"},
        {"list read",
         {Op::Read},
         3,
         false,
         "状況リスト.txt を読み込めなかったため、状況の変更を中止しました。\n\nファイルは変更されて"
         "いません。"},
        {"log close",
         {Op::Close},
         1,
         false,
         "データ1.txt "
         "を読み込めなかったため、状況の変更を中止しました。\n\nファイルは変更されていま"
         "せん。"},
        {"list rename (the log goes back)",
         {Op::Rename},
         2,
         false,
         "状況の変更を保存できませんでした。\nディスクの空き容量と書き込みの権限を確認してください"
         "。"
         "\n\nファイルは変更されていません。"},
        {"log write",
         {Op::Write},
         1,
         false,
         "状況の変更を保存できませんでした。\nディスクの空き容量と書き込みの権限を確認してください"
         "。"
         "\n\nファイルは変更されていません。"},
    };
    f.build();
    const std::string log = f.log(1), list = f.situations();
    f.find<QLineEdit>("txtChg")->setText(qs("朝"));
    for (const Case& c : cases) {
        f.dialogs.shown.clear();
        ScreensFixture::clickItem(lstKoumoku(), 0);
        {
            auto fail = c.fromN ? InjectFaults::from(c.n, c.ops) : InjectFaults::once(c.n, c.ops);
            f.click("cmdChg");
        }
        ASSERT_EQ(f.dialogs.shown.size(), 2u) << c.what;
        EXPECT_EQ(f.dialogs.shown[1].title, qs("保存エラー")) << c.what;
        EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning) << c.what;
        EXPECT_EQ(f.dialogs.shown[1].text, qs(c.text)) << c.what;
        EXPECT_EQ(f.log(1), log) << c.what;
        EXPECT_EQ(f.situations(), list) << c.what;
        EXPECT_EQ(f.folder.fileNames().size(), 2u) << c.what;
        EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"A", "B", "C", "D"})) << c.what;
    }
}

// When the list cannot take its name after the log did, and the log cannot be taken back
// either, the box says that the change stopped half way and the next start finishes it;
// the day view shows the log as it now is, and the next start makes the list new too.
TEST_F(SituationFaultsTest, RenameThatCannotBeUndoneSaysSo) {
    f.build();
    f.find<QLineEdit>("txtChg")->setText(qs("朝"));
    ScreensFixture::clickItem(lstKoumoku(), 0);
    {
        // The intent file's rename and the log's go through; the list's and every later
        // one fail.
        auto fail = InjectFaults::from(3, {Op::Rename});
        f.click("cmdChg");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].title, qs("保存エラー"));
    EXPECT_EQ(f.dialogs.shown[1].text,
              qs("状況の変更の保存が途中で止まりました。\n"
                 "ディスクの空き容量と書き込みの権限を確認してから、プログラムを起動し直してくだ"
                 "さい。\n次回の起動時に、残りの保存を済ませます。"));
    EXPECT_EQ(f.log(1), logLine("2026/12/07", "朝", "60.1,25,1400,8,45.3,5,2.8"));
    EXPECT_EQ(f.situations(), "A\r\nB\r\nC\r\nD\r\n");
    EXPECT_EQ(f.find<gui::widgets::Grid>("msgDayList")->text(1, 1), qs("朝"));
    EXPECT_EQ(ScreensFixture::items(lstAct()), QStringList({"A", "B", "C", "D"}));

    const auto recovery = disk::finishInterruptedChange(f.folder.path());
    ASSERT_TRUE(recovery);
    EXPECT_EQ(recovery->result, disk::Recovery::Result::Completed);
    EXPECT_EQ(f.situations(), "\"朝\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n");
    EXPECT_EQ(f.folder.fileNames(), (std::vector<std::string>{"データ1.txt", "状況リスト.txt"}));
}

// A step change keeps the other step as the file holds it, and refuses when the file
// cannot be read.
TEST_F(SituationFaultsTest, ScaleStepChangeRefusesAnUnreadableFile) {
    f.folder.writeBytes("体重計刻み.txt", "0.2\r\n0.5\r\n");
    f.build();
    const std::string before = f.folder.readBytes("体重計刻み.txt");
    {
        auto fail = InjectFaults::once(1, {Op::Open});
        f.click("optKizami_1");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_EQ(f.folder.readBytes("体重計刻み.txt"), before);
    EXPECT_EQ(f.ctx->steps.weightStep, "0.2");

    // Read by another start-up as defaults; the file's body-fat step is still kept.
    f.ctx->steps = {};
    f.click("optKizami_1");
    EXPECT_EQ(f.folder.readBytes("体重計刻み.txt"), "0.1\r\n0.5\r\n");
    EXPECT_EQ(f.ctx->steps.bodyFatStep, "0.5");
}

}  // namespace
}  // namespace pairly::testing
