// The first start of a day copies the data files into バックアップ/yyyymmdd; a copy that
// cannot be made is told once and the program starts all the same.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui_support/shell_fixture.h"

namespace pairly::testing {
namespace {

namespace fs = std::filesystem;

std::string logLine(const char* date, const char* weight) {
    return std::string("\"") + date + "\",\"起床後\"," + weight +
           ",22.5,1300,8,40.1,90,2.6,\"\",\"\"\r\n";
}

TEST(DailyBackupAtStart, OnceADayBeforeAnythingIsWrittenAndAFailureIsToldOnce) {
    ShellFixture f;
    f.writeCouple();
    f.folder.writeCp932("データ1.txt", logLine("2026/12/01", "70"));
    f.folder.writeBytes("状況補正.txt", " 1 \r\n");
    const std::string before = f.folder.readBytes("データ1.txt");

    f.start();
    const fs::path today = f.folder.path() / "バックアップ" / "20261207";
    ASSERT_TRUE(fs::is_directory(today));
    EXPECT_EQ(f.folder.readBytes("バックアップ/20261207/データ1.txt"), before);
    EXPECT_TRUE(fs::exists(today / "ﾌﾟﾗｲﾍﾞｰﾄ2.txt"));
    EXPECT_EQ(f.folder.readBytes("バックアップ/20261207/状況補正.txt"), " 1 \r\n");
    EXPECT_TRUE(f.dialogs.shown.empty());

    // A second start that day leaves the copy as it is.
    f.window.reset();
    f.folder.writeCp932("データ1.txt", logLine("2026/12/01", "70") + logLine("2026/12/07", "69"));
    f.start();
    EXPECT_EQ(f.folder.readBytes("バックアップ/20261207/データ1.txt"), before);

    // The next day, with the folder unwritable: one warning, and the window is up.
    f.window.reset();
    f.clock.set({2026, 12, 8}, 9 * 3600);
    {
        auto faults = InjectFaults::always({disk::fileops::Op::MakeFolder});
        f.start();
    }
    int warnings = 0;
    for (const auto& box : f.dialogs.shown)
        if (box.title == qs("バックアップ")) {
            ++warnings;
            EXPECT_EQ(box.icon, gui::widgets::Icon::Warning);
        }
    EXPECT_EQ(warnings, 1);
    EXPECT_FALSE(fs::exists(f.folder.path() / "バックアップ" / "20261208"));
    EXPECT_NE(f.find("cmdUser1"), nullptr);
}

}  // namespace
}  // namespace pairly::testing
