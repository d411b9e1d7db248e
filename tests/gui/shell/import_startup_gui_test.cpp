// The import of predecessor data as start-up runs it: input boxes before the screens are
// filled, so that the converted log is what they show.
#include <gtest/gtest.h>

#include "gui/widgets/grid.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

TEST(ShellImport, WeightOnlyFileIsAskedForAndShownAfterConversion) {
    ShellFixture f;
    f.writeCouple();
    f.folder.writeCp932("連続体重.txt", "\"2026/12/06\",\"起床後\",62.4\r\n");
    f.dialogs.inputs = {qs("二十五"), qs("25"), qs("1350"), qs("9"),
                        qs("44.8"),   qs("4"),  qs("2.7")};
    f.start();

    QStringList titles;
    for (const auto& box : f.dialogs.shown) titles << box.title + (box.isInput ? "?" : "");
    EXPECT_EQ(titles,
              QStringList({qs("データ変換および体脂肪率確認?"), qs("データ変換および体脂肪率確認"),
                           qs("データ変換および体脂肪率確認?"), qs("基礎代謝量確認?"),
                           qs("内臓脂肪レベル確認?"), qs("筋肉量確認?"), qs("筋肉スコア確認?"),
                           qs("骨量確認?"), qs("データ変換完了")}));
    EXPECT_EQ(f.dialogs.shown[1].icon, gui::widgets::Icon::Warning);
    EXPECT_EQ(f.folder.readCp932("データ1.txt"),
              "\"2026/12/06\",\"起床後\",62.4,25,1350,9,44.8,4,2.7,\"\",\"\"\r\n");
    EXPECT_TRUE(f.folder.exists("連続体重bak.txt"));
    EXPECT_FALSE(f.folder.exists("連続体重.txt"));
    EXPECT_TRUE(f.window->isVisible());
}

TEST(ShellImport, DeclinedImportChangesNothingAndStartsAsUsual) {
    ShellFixture f;
    f.writeCouple();
    const std::string old = "\"2004/03/01\",\"朝食前\",60.5,\"\",\"\",\"\"\r\n";
    f.folder.writeCp932("データ1.txt", old);
    f.dialogs.inputs = {qs("25"), qs("1350")};  // the third question is cancelled
    const auto names = f.folder.fileNames();
    f.start();

    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[0].text, qs("ルンルン☆ログのデータを検出しました。\n\n変換する場合は"
                                          "現在の体脂肪率を入力してください。"));
    EXPECT_EQ(f.dialogs.shown[2].title, qs("内臓脂肪レベル確認"));
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), old);
    EXPECT_EQ(f.folder.fileNames(), names);
    EXPECT_FALSE(f.find<QWidget>("fraAvgTai")->isHidden());
}

// The weight-only file would replace weighings partner 1 already has: a Yes/No box asks
// after the values; No leaves every file as it was and the next start asks again.
TEST(ShellImport, ReplacingWeighingsIsAskedFirst) {
    ShellFixture f;
    f.writeCouple();
    const std::string log =
        "\"2026/12/01\",\"起床後\",61.5,26,1380,9,44.8,4,2.7,\"\",\"\"\r\n"
        "\"2026/12/04\",\"朝食前\",61,25.5,1390,9,45,4,2.7,\"\",\"\"\r\n";
    f.folder.writeCp932("データ1.txt", log);
    f.folder.writeCp932("連続体重.txt", "\"2026/11/06\",\"起床後\",62.4\r\n");
    const auto names = f.folder.fileNames();
    const auto answer = [&f] {
        f.dialogs.inputs = {qs("25"), qs("1350"), qs("9"), qs("44.8"), qs("4"), qs("2.7")};
    };
    answer();
    f.dialogs.answers = {gui::widgets::Answer::No};
    f.start();

    ASSERT_EQ(f.dialogs.shown.size(), 7u);
    const auto& box = f.dialogs.shown[6];
    EXPECT_EQ(box.title, qs("データ変換確認"));
    EXPECT_EQ(box.text, qs("データ1.txt の記録（2件）を連続体重.txtのデータで置き換えます。\n"
                           "それまでのデータは データbak.txt に残します。\nよろしいですか？"));
    EXPECT_EQ(box.icon, gui::widgets::Icon::Question);
    EXPECT_EQ(box.buttons, gui::widgets::Buttons::YesNo);
    EXPECT_EQ(f.folder.fileNames(), names);
    EXPECT_EQ(f.folder.readCp932("データ1.txt"), log);

    f.window.reset();
    f.dialogs.shown.clear();
    answer();
    f.dialogs.answers = {gui::widgets::Answer::Yes};
    f.start();
    ASSERT_EQ(f.dialogs.shown.size(), 8u);
    EXPECT_EQ(f.dialogs.shown[6].title, qs("データ変換確認"));
    EXPECT_EQ(f.dialogs.shown[7].title, qs("データ変換完了"));
    EXPECT_EQ(f.folder.readCp932("データ1.txt"),
              "\"2026/11/06\",\"起床後\",62.4,25,1350,9,44.8,4,2.7,\"\",\"\"\r\n");
    EXPECT_EQ(f.folder.readCp932("データbak.txt"), log);
}

}  // namespace
}  // namespace pairly::testing
