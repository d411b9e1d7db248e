// Logs that are not what the program writes, through the real window: damaged lines named
// once at start-up and kept by every change, and partner 1's log left in the predecessor's
// layout, which no screen shows and no save writes.
#include <gtest/gtest.h>

#include "core/disk/codec.h"
#include "core/store/measurement_log.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

const std::string kShort = "\"2026/12/02\",\"朝食前\",61,25.5,1390,9,45,4,2.7,\"\"\r\n";
const std::string kLong = "\"2026/12/05\",\"夕食後\",60.3,25,1400,8,45.3,5,2.8,\"a\",b,\"\"\r\n";

std::string damagedLog(const std::string& comment = "") {
    return diaryLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") + kShort +
           diaryLine("2026/12/04", "朝食前", "61,25.5,1390,9,45,4,2.7", comment) + kLong +
           diaryLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8");
}

TEST(ShellLogLines, DamagedLinesAreNamedOnceAndKeptByAComment) {
    ShellFixture f;
    writeDiary(f);
    f.folder.writeCp932("データ1.txt", damagedLog());
    f.start();

    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    const auto& box = f.dialogs.shown[0];
    EXPECT_EQ(box.title, qs("データ確認"));
    EXPECT_EQ(box.icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(box.text, qs("次の行は記録として読み取れないため、画面には表示していません。\n"
                           "データ1.txt：2、4 行目\n\n"
                           "これらの行は変更せず、そのままの位置に残します。"));

    // The table's rows are the records; row 2 is the weighing of 12/04.
    f.click("cmdMemo");
    auto& grid = *f.find<gui::widgets::Grid>("msgMemoList");
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.text(2, 1), "2026/12/04");
    EXPECT_EQ(grid.text(3, 4), "-0.7");
    clickGridRow(grid, 2);
    typeInto(f, "txtMemo", "よく歩いた");
    f.click("cmdMemoHozon");
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), damagedLog("よく歩いた"));
    EXPECT_EQ(f.folder.readCp932("バックアップ/データ1_修復前.txt"), damagedLog());
    EXPECT_EQ(grid.text(2, 7), qs("よく歩いた"));
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

// Declining the conversion of partner 1's old log: the screens show no records of it, and
// every save to it is refused with the reason, the files as they were.
TEST(ShellLogLines, AnOldLayoutLogShowsNothingAndTakesNoSave) {
    ShellFixture f;
    writeDiary(f);
    const std::string old =
        "\"2026/11/01\",\"朝食前\",60.5,\"晴れ\",\"x\",\"予備\"\r\n"
        "\"2026/11/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n";
    f.folder.writeCp932("データ1.txt", old);
    const FolderFiles before = folderFiles(f.folder);
    f.start();  // the first question is cancelled
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_TRUE(f.dialogs.shown[0].isInput);

    f.click("cmdMemo");
    EXPECT_EQ(f.find<gui::widgets::Grid>("msgMemoList")->rowCount(), 0);

    const QString refusal = QString::fromStdString(store::oldLayoutRefusal());
    f.click("cmdMain");
    clickEntry(f.find<QListWidget>("lstAct"), 1);
    typeInto(f, "txtTaiInp", "60.2");
    typeInto(f, "txtShiInp", "25");
    f.dialogs.shown.clear();
    f.click("cmdTaiHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_EQ(f.dialogs.shown[0].text, refusal + qs("\nデータは変更されていません。"));

    f.click("cmdSettei");
    clickEntry(f.find<QListWidget>("lstKoumoku"), 1);
    typeInto(f, "txtChg", "朝ごはん前");
    f.dialogs.shown.clear();
    f.click("cmdChg");
    ASSERT_FALSE(f.dialogs.shown.empty());
    EXPECT_EQ(f.dialogs.shown.back().text, refusal + qs("\n\nファイルは変更されていません。"));
    EXPECT_EQ(folderFiles(f.folder), before);
}

}  // namespace
}  // namespace pairly::testing
