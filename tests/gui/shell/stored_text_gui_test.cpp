// Texts typed with characters that CP932 stores as other ones (〜 − ‖ ¥ …), through the
// real window: every field and list shows what the file will give back, and every later
// step that compares with the file finds it there.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "core/disk/codec.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

std::string cp932(const std::string& utf8) { return disk::toCp932(utf8).value(); }

QStringList lastItems(const ShellFixture& f) {
    QStringList last;
    for (const char* name : {"lstAct", "lstAct2", "lstKoumoku"}) {
        auto* list = f.find<QListWidget>(name);
        last << (list->count() > 0 ? list->item(list->count() - 1)->text() : QString());
    }
    return last;
}

TEST(StoredTextGui, CommentTypedWithAWaveDashIsSavedAgainAndAgain) {
    ShellFixture f;
    writeDiary(f);
    f.start();
    f.click("cmdMemo");
    gui::widgets::Grid& grid = *f.find<gui::widgets::Grid>("msgMemoList");
    auto* txtMemo = f.find<QLineEdit>("txtMemo");

    clickGridRow(grid, 3);
    txtMemo->insert(qs("夜朝"));
    txtMemo->setCursorPosition(1);
    txtMemo->insert(qs("〜"));  // what the input method types for a wave dash
    EXPECT_EQ(txtMemo->text(), qs("夜～朝"));
    EXPECT_EQ(txtMemo->cursorPosition(), 2);
    pressEnter(txtMemo);
    EXPECT_EQ(grid.text(3, 7), qs("夜～朝"));

    // Clicked and saved again: the table holds what the file holds, so nothing differs.
    clickGridRow(grid, 3);
    EXPECT_EQ(txtMemo->text(), qs("夜～朝"));
    txtMemo->end(false);
    txtMemo->insert(qs("−1kg"));
    pressEnter(txtMemo);
    clickGridRow(grid, 2);
    txtMemo->insert(qs("‖"));
    f.click("cmdMemoHozon");

    EXPECT_TRUE(f.dialogs.shown.empty());
    const std::string expected =
        diaryLine("2026/12/01", "起床後", "61.5,26,1380,9,44.8,4,2.7") +
        diaryLine("2026/12/04", "朝食前", "61,25.5,1390,9,45,4,2.7", "∥") +
        diaryLine("2026/12/06", "夕食後", "60.3,25,1400,8,45.3,5,2.8", "夜～朝－1kg");
    EXPECT_EQ(f.folder.readBytes("データ1.txt"), cp932(expected));
    EXPECT_EQ(grid.text(3, 7), qs("夜～朝－1kg"));
    EXPECT_EQ(grid.text(2, 7), qs("∥"));
}

TEST(StoredTextGui, MemoWithAYenSignReadsBackAsWritten) {
    ShellFixture f;
    writeDiary(f);
    f.start();
    f.click("cmdMemo");
    auto* box = f.find<QPlainTextEdit>("txtKizuki");
    box->selectAll();
    box->insertPlainText(qs("外食¥1500\n次は自炊"));
    QTextCursor caret = box->textCursor();
    caret.setPosition(3);
    box->setTextCursor(caret);
    const std::string before = f.folder.readBytes("気付きメモ.txt");

    // The write fails: the old file, a message, and the box ready for another try.
    {
        auto faults = InjectFaults::always();
        f.click("cmdKizukiHozon");
    }
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, qs("保存エラー"));
    EXPECT_EQ(f.folder.readBytes("気付きメモ.txt"), before);
    EXPECT_EQ(box->toPlainText(), qs("外食￥1500\n次は自炊"));
    EXPECT_EQ(box->textCursor().position(), 3);
    EXPECT_TRUE(box->document()->isModified());

    f.click("cmdKizukiHozon");
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].title, qs("保存終了"));
    // ￥ is 0x81 0x8F, never the "\" that ¥ would read back as.
    EXPECT_EQ(f.folder.readBytes("気付きメモ.txt"),
              "\x8A\x4F\x90\x48\x81\x8F"
              "1500\r\n" +
                  cp932("次は自炊") + "\r\n");
    EXPECT_FALSE(box->document()->isModified());

    // The next start shows the memo as the screen showed it.
    gui::widgets::ScriptedDialogs dialogs;
    gui::shell::MainWindow again(f.folder.path(), dialogs, f.clock);
    again.startUp();
    EXPECT_EQ(again.findChild<QPlainTextEdit*>("txtKizuki")->toPlainText(),
              qs("外食￥1500\n次は自炊"));
}

TEST(StoredTextGui, TypedSituationsAreListedStoredAndRenamedAsTheFilesHoldThem) {
    ShellFixture f;
    writeDiary(f);
    f.start();
    const std::string list = f.folder.readBytes("状況リスト.txt");

    // A free situation, added to the list.
    f.dialogs.inputs = {qs("朝〜昼")};
    f.dialogs.answers = {gui::widgets::Answer::Yes};
    f.click("cmdFree");
    EXPECT_EQ(f.find<QLabel>("lblHozonJyou")->toolTip(), qs("状況：朝～昼"));
    EXPECT_EQ(lastItems(f), QStringList(3, qs("朝～昼")));
    EXPECT_EQ(f.folder.readBytes("状況リスト.txt"), list + cp932("\"朝～昼\"\r\n"));
    f.click("cmdTaiHozon");
    EXPECT_EQ(f.folder.readBytes("データ1.txt"),
              cp932(diaryLog1() + diaryLine("2026/12/07", "朝～昼", "60.3,25,1400,8,45.3,5,2.8")));

    // One added on the settings screen.
    f.click("cmdSettei");
    f.dialogs.inputs = {qs("体重‖体脂肪")};
    f.click("cmdNew2");
    EXPECT_EQ(lastItems(f), QStringList(3, qs("体重∥体脂肪")));

    // The list screen's filter finds the weighing by the text as typed.
    f.click("cmdTaijyu");
    auto* key = f.find<QLineEdit>("txtKey");
    key->insert(qs("〜"));
    EXPECT_EQ(key->text(), qs("～"));
    pressEnter(key);
    gui::widgets::Grid& table = *f.find<gui::widgets::Grid>("msgBunseki");
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.text(1, 3), qs("朝～昼"));

    // Renamed later: the entry and the weighing are found in the files and renamed.
    f.click("cmdSettei");
    auto* lstKoumoku = f.find<QListWidget>("lstKoumoku");
    clickEntry(lstKoumoku, 3);
    auto* txtChg = f.find<QLineEdit>("txtChg");
    txtChg->insert(qs("昼〜夜"));
    EXPECT_EQ(txtChg->text(), qs("昼～夜"));
    f.dialogs.shown.clear();
    f.click("cmdChg");
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[0].text,
              qs("『朝～昼』 を 『昼～夜』 に変更します。よろしいですか？"));
    EXPECT_EQ(f.dialogs.shown[1].text, qs("コメントを入れ替えました。"));
    EXPECT_EQ(f.folder.readBytes("データ1.txt"),
              cp932(diaryLog1() + diaryLine("2026/12/07", "昼～夜", "60.3,25,1400,8,45.3,5,2.8")));
    EXPECT_EQ(f.folder.readCp932("状況リスト.txt"),
              "\"起床後\"\r\n\"朝食前\"\r\n\"夕食後\"\r\n\"昼～夜\"\r\n\"体重∥体脂肪\"\r\n");
    EXPECT_EQ(lstKoumoku->item(3)->text(), qs("昼～夜"));
}

TEST(StoredTextGui, NicknamesAndTheStartSituationAsTheFilesHoldThem) {
    ShellFixture f;
    writeDiary(f);
    gui::shell::MainWindow& w = f.start();
    f.click("cmdSettei");

    auto* name = f.find<QLineEdit>("txtPriData");
    name->selectAll();
    name->insert(qs("まさ−ゆき"));
    EXPECT_EQ(name->text(), qs("まさ－ゆき"));
    f.click("cmdPHozon1");
    EXPECT_EQ(f.folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"),
              cp932("\"氏名\",\"まさ－ゆき\"\r\n\"身長\",158.5\r\n\"目標体重\",50\r\n"));
    EXPECT_EQ(w.windowTitle(), qs(" まさ－ゆき のデータ"));

    f.click("cmdNew1");
    const struct {
        const char* field;
        const char* typed;
        const char* shown;
    } fields[] = {
        {"txtPriData1", "ゆ—き¢", "ゆ―き￠"},
        {"txtSincyou1", "160", "160"},
        {"txtMokuTai1", "50", "50"},
        {"txtNowTai", "55", "55"},
        {"txtNowShi", "25", "25"},
        {"txtNowTaisya", "1200", "1200"},
        {"txtNowNaizo", "5", "5"},
        {"txtNowKinr", "38", "38"},
        {"txtNowKins", "3", "3"},
        {"txtNowKotu", "2.2", "2.2"},
        {"txtNowJyou", "はじめの〜一歩", "はじめの～一歩"},
    };
    for (const auto& c : fields) {
        auto* field = f.find<QLineEdit>(c.field);
        field->selectAll();
        field->insert(qs(c.typed));
        EXPECT_EQ(field->text(), qs(c.shown)) << c.field;
    }
    f.click("cmdStHozon");
    EXPECT_EQ(f.folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"),
              cp932("\"氏名\",\"ゆ―き￠\"\r\n\"身長\",160\r\n\"目標体重\",50\r\n"));
    EXPECT_EQ(f.folder.readBytes("データ1.txt"),
              cp932(diaryLine("2026/12/07", "はじめの～一歩", "55,25,1200,5,38,3,2.2")));
    EXPECT_EQ(f.find<QLineEdit>("txtNowJyou")->text(), qs("はじめの～一歩"));
}

}  // namespace
}  // namespace pairly::testing
