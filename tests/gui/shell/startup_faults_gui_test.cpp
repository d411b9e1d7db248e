// Start-up with data files that cannot be read: the window comes up, each unreadable file
// is told once, and nothing is written.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <filesystem>
#include <vector>
#include <map>

#include "gui/entry/input_screen.h"
#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

TEST(ShellStartUpFaults, UnreadableFilesAreToldOnceAndNothingIsWritten) {
    struct Case {
        const char* file;
        const char* warning;  // start of the one box's text
    } cases[] = {
        {"データ1.txt", "データ1.txt を読み込めませんでした。"},
        {"データ2.txt", "データ2.txt を読み込めませんでした。"},
        {"状況リスト.txt", "状況リスト.txt を読み込めませんでした。"},
        {"ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "ﾌﾟﾗｲﾍﾞｰﾄ1.txt を読み込めませんでした。"},
        {"体重計刻み.txt", nullptr},  // a preference falls back to its default silently
    };
    for (const Case& c : cases) {
        ShellFixture f;
        f.writeCouple();
        f.folder.writeCp932("データ1.txt",
                            "\"2026/12/01\",\"起床後\",61.5,26,1380,9,44.8,4,2.7,\"\",\"\"\r\n");
        f.folder.writeCp932("データ2.txt",
                            "\"2026/12/01\",\"起床後\",70,20,1600,10,55,8,3.1,\"\",\"\"\r\n");
        // A name that is not a file cannot be read, whatever the reader tries.
        std::filesystem::remove(f.folder.path() / c.file);
        std::filesystem::create_directory(f.folder.path() / c.file);
        const auto before = f.folder.fileNames();

        shell::MainWindow& w = f.start();

        EXPECT_TRUE(w.isVisible()) << c.file;
        EXPECT_FALSE(f.find<QWidget>("fraAvgTai")->isHidden()) << c.file;
        // The day's backup cannot copy a file it cannot read: one box says so.
        std::vector<ui::ScriptedDialogs::Shown> boxes;
        int backupBoxes = 0;
        for (const auto& box : f.dialogs.shown) {
            if (box.title == qs("バックアップ")) {
                ++backupBoxes;
                EXPECT_EQ(box.icon, ui::Icon::Warning);
            } else {
                boxes.push_back(box);
            }
        }
        EXPECT_EQ(backupBoxes, 1) << c.file;
        if (c.warning) {
            ASSERT_EQ(boxes.size(), 1u) << c.file;
            EXPECT_EQ(boxes[0].title, qs("読み込みエラー"));
            EXPECT_EQ(boxes[0].icon, ui::Icon::Warning);
            EXPECT_TRUE(boxes[0].text.startsWith(qs(c.warning))) << boxes[0].text.toStdString();
        } else {
            EXPECT_TRUE(boxes.empty()) << c.file;
        }
        EXPECT_EQ(f.folder.fileNames(), before) << c.file;
        EXPECT_TRUE(std::filesystem::is_directory(f.folder.path() / c.file));
    }
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
            auto faults = writesFail ? InjectFaults::always({store::fileops::Op::Write})
                                     : InjectFaults::from(1000000, {store::fileops::Op::Write});
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
