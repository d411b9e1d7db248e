// Two windows on one data folder (the program started twice, or on two PCs sharing a
// synchronised folder): a change that window A makes from what it read earlier never
// overwrites what window B saved since. A is told, nothing is written, and A shows the file
// as B left it. At start-up, a change of two files a crash stopped half way is finished,
// the program's leftover temporary files go, and the conflict copies of sync tools are
// named.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>
#include <functional>

#include "core/disk/change_set.h"
#include "core/disk/codec.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

// A window of its own on the fixture's folder.
struct OtherWindow {
    explicit OtherWindow(ShellFixture& f) : window(f.folder.path(), dialogs, f.clock) {
        window.startUp();
    }
    template <class T = QPushButton>
    T* find(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) { find(name)->click(); }
    void type(const char* field, const char* utf8) {
        find<QLineEdit>(field)->setText(QString::fromUtf8(utf8));
    }
    gui::widgets::ScriptedDialogs dialogs;
    gui::shell::MainWindow window;
};

struct Case {
    const char* id;
    const char* file;
    // Both windows on the screen (A is the fixture's).
    std::function<void(ShellFixture&, OtherWindow&)> open;
    // Window B changes the file.
    std::function<void(OtherWindow&)> changeInB;
    // Window A changes it from what it read before.
    std::function<void(ShellFixture&)> changeInA;
    // A shows what B saved.
    std::function<void(ShellFixture&)> expectShown;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.id; }

void typeMemo(QPlainTextEdit* memo, const char* utf8) {
    memo->selectAll();
    memo->insertPlainText(QString::fromUtf8(utf8));
}

const std::vector<Case>& cases() {
    static const std::vector<Case> list = {
        {"NotesMemo", "気付きメモ.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdMemo");
             b.click("cmdMemo");
         },
         [](OtherWindow& b) {
             typeMemo(b.find<QPlainTextEdit>("txtKizuki"), "Bのメモ");
             b.click("cmdKizukiHozon");
         },
         [](ShellFixture& a) {
             typeMemo(a.find<QPlainTextEdit>("txtKizuki"), "Aの古いメモ");
             a.click("cmdKizukiHozon");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<QPlainTextEdit>("txtKizuki")->toPlainText(), qs("Bのメモ"));
             // What A had typed is not lost.
             EXPECT_EQ(QGuiApplication::clipboard()->text(), qs("Aの古いメモ"));
         }},
        {"Comment", "データ1.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdMemo");
             b.click("cmdMemo");
         },
         [](OtherWindow& b) {
             clickGridRow(*b.find<gui::widgets::Grid>("msgMemoList"), 2);
             b.type("txtMemo", "Bの一言");
             b.click("cmdMemoHozon");
         },
         [](ShellFixture& a) {
             clickGridRow(*a.find<gui::widgets::Grid>("msgMemoList"), 3);
             typeInto(a, "txtMemo", "Aの一言");
             a.click("cmdMemoHozon");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<gui::widgets::Grid>("msgMemoList")->text(2, 7), qs("Bの一言"));
             EXPECT_EQ(QGuiApplication::clipboard()->text(), qs("Aの一言"));
         }},
        {"Profile", "ﾌﾟﾗｲﾍﾞｰﾄ1.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdSettei");
             b.click("cmdSettei");
         },
         [](OtherWindow& b) {
             b.type("txtPriData", "はなちゃん");
             b.click("cmdPHozon1");
         },
         [](ShellFixture& a) {
             typeInto(a, "txtMokuTai", "49");
             a.click("cmdPHozon1");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<QLineEdit>("txtPriData")->text(), qs("はなちゃん"));
             EXPECT_EQ(a.find<QLineEdit>("txtMokuTai")->text(), qs("50"));
             EXPECT_EQ(a.window->windowTitle(), qs(" はなちゃん のデータ"));
         }},
        {"ScaleSteps", "体重計刻み.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdSettei");
             b.click("cmdSettei");
         },
         [](OtherWindow& b) { b.find<QRadioButton>("optKizami_3")->click(); },
         [](ShellFixture& a) { a.find<QRadioButton>("optKizami1_3")->click(); },
         [](ShellFixture& a) {
             EXPECT_TRUE(a.find<QRadioButton>("optKizami_3")->isChecked());
             EXPECT_TRUE(a.find<QRadioButton>("optKizami1_2")->isChecked());
         }},
        {"SituationOrderAfterAnAddition", "状況リスト.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdSettei");
             b.click("cmdSettei");
         },
         [](OtherWindow& b) {
             b.dialogs.inputs = {qs("散歩後")};
             b.click("cmdNew2");
         },
         [](ShellFixture& a) {
             dragEntry(a.find<QListWidget>("lstKoumoku"), 2, 0);
             a.click("cmdSort");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<QListWidget>("lstKoumoku")->count(), 4);
             EXPECT_EQ(a.find<QListWidget>("lstAct")->item(3)->text(), qs("散歩後"));
         }},
        {"SituationDeleted", "状況リスト.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdSettei");
             b.click("cmdSettei");
         },
         [](OtherWindow& b) {
             clickEntry(b.find<QListWidget>("lstKoumoku"), 0);
             b.click("cmdDel");
         },
         [](ShellFixture& a) {
             clickEntry(a.find<QListWidget>("lstKoumoku"), 1);
             a.click("cmdDel");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<QListWidget>("lstKoumoku")->count(), 2);
             EXPECT_EQ(a.find<QListWidget>("lstKoumoku")->item(0)->text(), qs("朝食前"));
         }},
        {"SituationRenamed", "状況リスト.txt",
         [](ShellFixture& a, OtherWindow& b) {
             a.click("cmdSettei");
             b.click("cmdSettei");
         },
         [](OtherWindow& b) {
             clickEntry(b.find<QListWidget>("lstKoumoku"), 0);
             b.type("txtChg", "目覚め");
             b.click("cmdChg");
         },
         [](ShellFixture& a) {
             clickEntry(a.find<QListWidget>("lstKoumoku"), 0);
             typeInto(a, "txtChg", "起きてすぐ");
             a.click("cmdChg");
         },
         [](ShellFixture& a) {
             EXPECT_EQ(a.find<QListWidget>("lstKoumoku")->item(0)->text(), qs("目覚め"));
         }},
    };
    return list;
}

class TwoWindows : public ::testing::TestWithParam<Case> {};

TEST_P(TwoWindows, AChangeMadeFromAnOlderReadIsRefusedAndTheScreenReadsAgain) {
    const Case& c = GetParam();
    ShellFixture a;
    writeDiary(a);
    a.start();
    OtherWindow b(a);
    c.open(a, b);
    c.changeInB(b);
    for (const auto& box : b.dialogs.shown)  // B saved
        ASSERT_FALSE(box.icon == gui::widgets::Icon::Warning &&
                     box.buttons == gui::widgets::Buttons::Ok && !box.isInput)
            << box.text.toStdString();
    const FolderFiles fromB = folderFiles(a.folder);
    a.dialogs.shown.clear();

    c.changeInA(a);

    // Nothing A had is written; the box says what happened, and A shows B's file.
    EXPECT_EQ(folderFiles(a.folder), fromB);
    const auto& shown = a.dialogs.shown;
    ASSERT_FALSE(shown.empty());
    const auto& box = shown.back();
    EXPECT_EQ(box.title, qs("保存中止"));
    EXPECT_EQ(box.icon, gui::widgets::Icon::Warning);
    EXPECT_TRUE(box.text.startsWith(
        QString::fromStdString(std::string(c.file) +
                               " は、このウィンドウで読み込んだ後に、別のウィンドウか別のパソコン"
                               "で変更されていました。\n上書きしないよう、保存を中止しました。")))
        << box.text.toStdString();
    c.expectShown(a);

    // Having read it again, A's next change goes through.
    a.dialogs.shown.clear();
    c.changeInA(a);
    EXPECT_NE(folderFiles(a.folder), fromB);
    for (const auto& next : a.dialogs.shown)
        EXPECT_FALSE(next.icon == gui::widgets::Icon::Warning &&
                     next.buttons == gui::widgets::Buttons::Ok && !next.isInput)
            << next.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryChangeFromAScreen, TwoWindows, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.id);
                         });

TEST(StartUpChecks, AnInterruptedChangeIsFinishedBeforeAnythingIsRead) {
    ShellFixture f;
    writeDiary(f);
    // Killed between the renames of a situation rename: the log is renamed, the list not.
    const std::string newList = "\"目覚め\"\r\n\"朝食前\"\r\n\"夕食後\"\r\n";
    std::string newLog = diaryLog1();
    newLog.replace(newLog.find("起床後"), std::string("起床後").size(), "目覚め");
    f.folder.writeCp932("データ1.txt", newLog);
    f.folder.writeCp932("状況リストＣＨＧ.txt", newList);
    const disk::Intent intent{"状況の変更（起床後 → 目覚め）",
                              false,
                              {{disk::IntentStep::Kind::Replace, "データＣＨＧ.txt", "データ1.txt",
                                disk::FileStamp::of(*disk::toCp932(newLog))},
                               {disk::IntentStep::Kind::Replace, "状況リストＣＨＧ.txt",
                                "状況リスト.txt", disk::FileStamp::of(*disk::toCp932(newList))}}};
    f.folder.writeBytes(disk::kIntentFile, *disk::intentFileBytes(intent));
    // Temporary files a crash left; a user's own file beside them stays.
    f.folder.writeBytes("気付きメモ.txt.tmp", "x");
    std::filesystem::create_directory(f.folder.path() / "バックアップ");
    f.folder.writeBytes("バックアップ/データ1_20261207_070509.txt.tmp", "x");
    f.folder.writeBytes("大事.tmp", "x");

    f.start();

    ASSERT_FALSE(f.dialogs.shown.empty());
    EXPECT_EQ(f.dialogs.shown[0].title, qs("データ復旧"));
    EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Information);
    EXPECT_EQ(f.dialogs.shown[0].text,
              qs("前回、「状況の変更（起床後 → 目覚め）」の途中でプログラムが終わっていました。\n"
                 "残っていた書き換えを済ませて、変更を完了しました。"));
    EXPECT_EQ(f.folder.readCp932("状況リスト.txt"), newList);
    // The lists were read after it: they show the finished change.
    EXPECT_EQ(f.find<QListWidget>("lstAct")->item(0)->text(), qs("目覚め"));
    EXPECT_FALSE(f.folder.exists(disk::kIntentFile));
    EXPECT_FALSE(f.folder.exists("状況リストＣＨＧ.txt"));
    EXPECT_FALSE(f.folder.exists("気付きメモ.txt.tmp"));
    EXPECT_FALSE(f.folder.exists("バックアップ/データ1_20261207_070509.txt.tmp"));
    EXPECT_TRUE(f.folder.exists("大事.tmp"));
    // Said once: the next start has nothing to say.
    f.window.reset();
    f.dialogs.shown.clear();
    f.start();
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(StartUpChecks, ConflictCopiesAreNamedInOneMessage) {
    ShellFixture f;
    writeDiary(f);
    f.folder.writeBytes("データ1.sync-conflict-20261207-101010-ABCDEFG.txt", "x");
    f.folder.writeBytes("気付きメモ-DESKTOP-AB12.txt", "x");
    f.folder.writeBytes("データ1-old.txt", "x");
    f.start();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    const auto& box = f.dialogs.shown[0];
    EXPECT_EQ(box.title, qs("競合コピーの確認"));
    EXPECT_EQ(box.icon, gui::widgets::Icon::Warning);
    EXPECT_TRUE(box.text.contains(
        qs("・データ1.sync-conflict-20261207-101010-ABCDEFG.txt\n　（データ1.txt の競合コピー）")));
    EXPECT_TRUE(
        box.text.contains(qs("・気付きメモ-DESKTOP-AB12.txt\n　（気付きメモ.txt の競合コピー）")));
    EXPECT_FALSE(box.text.contains(qs("データ1-old.txt")));
    // Nothing is touched.
    EXPECT_TRUE(f.folder.exists("気付きメモ-DESKTOP-AB12.txt"));
}

}  // namespace
}  // namespace pairly::testing
