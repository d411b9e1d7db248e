// Start-up with data files that cannot be read: the window comes up, each unreadable file
// is told once, and nothing is written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "gui/entry/input_screen.h"
#include "gui_support/shell_fixture.h"
#include "gui_support/window_actions.h"

namespace pairly::testing {
namespace {

namespace fs = std::filesystem;

// A data file that is a folder, a FIFO or a link: start-up neither blocks nor reads it,
// names it once, writes nothing through it, and a save to it is refused in the same words.
TEST(ShellStartUpFaults, FilesThatAreNoPlainFileAreNamedOnceAndNeverWritten) {
    struct Case {
        const char* file;
        enum Kind { Folder, Fifo, Link } kind;
        const char* words;
    } cases[] = {
        {"データ1.txt", Case::Folder, "データ1.txt は普通のファイルではありません。"},
        {"データ2.txt", Case::Link, "データ2.txt はリンクなので使いません。"},
        {"状況リスト.txt", Case::Folder, "状況リスト.txt は普通のファイルではありません。"},
        {"ﾌﾟﾗｲﾍﾞｰﾄ1.txt", Case::Link, "ﾌﾟﾗｲﾍﾞｰﾄ1.txt はリンクなので使いません。"},
        {"気付きメモ.txt", Case::Fifo, "気付きメモ.txt は普通のファイルではありません。"},
        {"体重計刻み.txt", Case::Fifo, "体重計刻み.txt は普通のファイルではありません。"},
    };
    alarm(120);  // a FIFO that blocks start-up fails instead of hanging the suite
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ShellFixture f;
        TempFolder elsewhere;
        f.writeCouple();
        f.folder.writeCp932("データ1.txt",
                            "\"2026/12/01\",\"起床後\",61.5,26,1380,9,44.8,4,2.7,\"\",\"\"\r\n");
        f.folder.writeCp932("データ2.txt",
                            "\"2026/12/01\",\"起床後\",70,20,1600,10,55,8,3.1,\"\",\"\"\r\n");
        const fs::path path = f.folder.path() / c.file;
        elsewhere.writeBytes("target", f.folder.readBytes(c.file));
        fs::remove(path);
        if (c.kind == Case::Folder) fs::create_directory(path);
        if (c.kind == Case::Fifo) ::mkfifo(path.c_str(), 0644);
        if (c.kind == Case::Link) fs::create_symlink(elsewhere.path() / "target", path);
        const std::string target = elsewhere.readBytes("target");
        const auto before = f.folder.fileNames();

        gui::shell::MainWindow& w = f.start();

        EXPECT_TRUE(w.isVisible());
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].title, qs("データファイルの確認"));
        EXPECT_EQ(f.dialogs.shown[0].icon, gui::widgets::Icon::Warning);
        EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(qs(c.words)))
            << f.dialogs.shown[0].text.toStdString();
        if (c.kind == Case::Link && std::string(c.file) == "データ2.txt") {
            // That partner's screens show nothing, and a save is refused in the same words.
            f.click("cmdUser2");
            f.click("cmdMain");
            clickEntry(f.find<QListWidget>("lstAct"), 0);
            typeInto(f, "txtTaiInp", "70.2");
            typeInto(f, "txtShiInp", "20");
            f.click("cmdTaiHozon");
            ASSERT_EQ(f.dialogs.shown.size(), 2u);
            EXPECT_TRUE(f.dialogs.shown[1].text.startsWith(qs(c.words)));
        }
        // The daily backup leaves it out; nothing else is written, nothing through it.
        auto after = f.folder.fileNames();
        after.erase(std::remove(after.begin(), after.end(), "バックアップ"), after.end());
        EXPECT_EQ(after, before);
        EXPECT_EQ(elsewhere.readBytes("target"), target);
        EXPECT_EQ(fs::is_symlink(path), c.kind == Case::Link);
    }
    alarm(0);
}

// Every setting switched on in files of other spellings and forms: start-up shows them and
// writes nothing, also on a disk that refuses every write.
TEST(ShellStartUpFaults, SettingsAreReadWithoutBeingWrittenBack) {
    for (bool writesFail : {false, true}) {
        ShellFixture f;
        f.writeCouple();
        f.folder.writeCp932("自動時間.TXT", "1\r\n");
        f.folder.writeCp932("マーカー.TXT", "2\r\n");
        f.folder.writeCp932("体重計刻み.txt", "0.2\r\n0.5\r\n");
        f.folder.writeCp932("移動平均.TXT", "5\r\n");
        std::map<std::string, std::string> before;
        for (const auto& name : f.folder.fileNames()) before[name] = f.folder.readBytes(name);
        long writes = 0;
        {
            auto faults = writesFail ? InjectFaults::always({disk::fileops::Op::Write})
                                     : InjectFaults::from(1000000, {disk::fileops::Op::Write});
            f.start();
            writes = faults.seen();
        }
        std::map<std::string, std::string> after;
        for (const auto& name : f.folder.fileNames()) after[name] = f.folder.readBytes(name);
        EXPECT_EQ(after, before) << writesFail;
        EXPECT_EQ(writes, 0) << writesFail;
        EXPECT_TRUE(f.dialogs.shown.empty()) << writesFail;
        EXPECT_TRUE(f.find<QCheckBox>("chkJikan")->isChecked()) << writesFail;
        EXPECT_TRUE(f.window->inputScreen()->autoTime()) << writesFail;
        EXPECT_EQ(f.window->context().markerMode, 2);
    }
}

}  // namespace
}  // namespace pairly::testing
