// Start-up with data files that cannot be read: the window comes up, each unreadable file
// is told once, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/shell_fixture.h"

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
        if (c.warning) {
            ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.file;
            EXPECT_EQ(f.dialogs.shown[0].title, qs("読み込みエラー"));
            EXPECT_EQ(f.dialogs.shown[0].icon, ui::Icon::Warning);
            EXPECT_TRUE(f.dialogs.shown[0].text.startsWith(qs(c.warning)))
                << f.dialogs.shown[0].text.toStdString();
        } else {
            EXPECT_TRUE(f.dialogs.shown.empty()) << c.file;
        }
        EXPECT_EQ(f.folder.fileNames(), before) << c.file;
        EXPECT_TRUE(std::filesystem::is_directory(f.folder.path() / c.file));
    }
}

}  // namespace
}  // namespace pairly::testing
