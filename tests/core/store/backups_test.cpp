#include "core/store/backups.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "core/disk/codec.h"
#include "core/disk/folder_lock.h"
#include "core/store/measurement_log.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

namespace fs = std::filesystem;
using pairly::testing::TempFolder;
using Files = std::map<std::string, std::string>;

MeasurementRecord rec(const std::string& date, float weight) {
    return {date, "朝食前", weight, 0, 0, 0, 0, 0, 0, "", ""};
}

// Every regular file of a folder (not its subfolders).
Files filesIn(const fs::path& dir) {
    Files files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        if (!e.is_regular_file() || e.path().filename() == disk::kLockFile) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

std::vector<std::string> foldersIn(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void layDiary(const TempFolder& folder) {
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1,
                                            {rec("2026/12/01", 60), rec("2026/12/02", 61)}));
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/01", 70)}));
    folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "\"ニックネーム\",\"はなこ\"\r\n");
    folder.writeBytes("気付きメモ.txt", "memo\r\n");
    folder.writeBytes("設定.txt", " 1 \r\n");
    folder.writeBytes("体重計刻み.txt", "0.2\r\n0.5\r\n");
    folder.writeBytes("ほかのファイル.txt", "not ours");
}

TEST(DailyBackup, CopiesTheDataFilesOnceADayAndKeepsTheFourteenNewest) {
    TempFolder folder;
    EXPECT_EQ(makeDailyBackup(folder.path(), {2026, 11, 20}).status, BackupStatus::NoData);
    EXPECT_FALSE(folder.exists("バックアップ"));
    layDiary(folder);
    // Backups of other kinds are never removed by the rotation.
    fs::create_directories(folder.path() / "バックアップ" / "20261101_戻す前");
    folder.writeBytes("バックアップ/データ1_修復前.txt", "old");
    folder.writeBytes("バックアップ/データ1_20261101_070000.txt", "older");

    Files data = filesIn(folder.path());
    data.erase("ほかのファイル.txt");
    for (int day = 1; day <= 15; ++day) {
        const text::Date today{2026, 12, day};
        const DailyBackup made = makeDailyBackup(folder.path(), today);
        ASSERT_EQ(made.status, BackupStatus::Made) << day;
        EXPECT_EQ(made.folderName, text::formatDate(today, "yyyy") + "12" + (day < 10 ? "0" : "") +
                                       std::to_string(day));
        EXPECT_EQ(made.removed,
                  day == 15 ? std::vector<std::string>{"20261201"} : std::vector<std::string>{});
        EXPECT_EQ(makeDailyBackup(folder.path(), today).status, BackupStatus::AlreadyMade);
    }
    const fs::path dir = folder.path() / "バックアップ";
    const std::vector<std::string> folders = foldersIn(dir);
    ASSERT_EQ(folders.size(), 15u);
    EXPECT_EQ(folders.front(), "20261101_戻す前");
    EXPECT_EQ(folders[1], "20261202");
    EXPECT_EQ(folders.back(), "20261215");
    EXPECT_EQ(filesIn(dir / "20261215"), data);
    EXPECT_EQ(filesIn(dir).size(), 2u);

    const std::vector<BackupEntry> list = listBackups(folder.path());
    ASSERT_EQ(list.size(), 15u);
    EXPECT_EQ(list[0].name, "20261215");
    EXPECT_EQ(list[0].weighings, (std::array<int, 2>{2, 1}));
    EXPECT_TRUE(list[0].daily);
    EXPECT_EQ(backupCaption(list[0]), "2026/12/15　一人目 2件　二人目 1件");
    EXPECT_EQ(list.back().name, "20261101_戻す前");
    EXPECT_EQ(list.back().weighings, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(backupCaption(list.back()), "2026/11/01（戻す前）　一人目 0件　二人目 0件");
}

TEST(DailyBackup, AFailedCopyLeavesNoFolderOfTheDayAndTellsIt) {
    TempFolder folder;
    layDiary(folder);
    {
        // A file that cannot be read whole.
        const auto faults = pairly::testing::InjectFaults::once(2, {disk::fileops::Op::Read});
        const DailyBackup made = makeDailyBackup(folder.path(), {2026, 12, 8});
        EXPECT_EQ(made.status, BackupStatus::Failed);
    }
    EXPECT_FALSE(fs::exists(folder.path() / "バックアップ" / "20261208"));
    EXPECT_FALSE(dailyBackupFailureText().empty());
    // Once the files read, the next start makes the backup.
    EXPECT_EQ(makeDailyBackup(folder.path(), {2026, 12, 8}).status, BackupStatus::Made);
    EXPECT_EQ(listBackups(folder.path()).size(), 1u);
}

TEST(Restore, PutsTheBackupBackAfterKeepingTheCurrentFiles) {
    TempFolder folder;
    layDiary(folder);
    ASSERT_EQ(makeDailyBackup(folder.path(), {2026, 12, 7}).status, BackupStatus::Made);
    Files backedUp = filesIn(folder.path());
    // A day later: a weighing added, the memo changed, a profile of partner 2 made.
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, rec("2026/12/08", 60.5f)));
    folder.writeBytes("気付きメモ.txt", "new memo\r\n");
    folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ2.txt", "\"ニックネーム\",\"たろう\"\r\n");
    const Files changed = filesIn(folder.path());

    const RestoreResult restored = restoreBackup(folder.path(), "20261207", {2026, 12, 8});
    ASSERT_EQ(restored.status, disk::WriteStatus::Ok);
    EXPECT_EQ(restored.keptIn, "20261208_戻す前");
    // The backup had no profile of partner 2: that file stays.
    backedUp["ﾌﾟﾗｲﾍﾞｰﾄ2.txt"] = changed.at("ﾌﾟﾗｲﾍﾞｰﾄ2.txt");
    EXPECT_EQ(filesIn(folder.path()), backedUp);
    Files kept = changed;
    kept.erase("ほかのファイル.txt");
    EXPECT_EQ(filesIn(folder.path() / "バックアップ" / "20261208_戻す前"), kept);

    // The restore can itself be taken back.
    const RestoreResult back = restoreBackup(folder.path(), "20261208_戻す前", {2026, 12, 8});
    ASSERT_EQ(back.status, disk::WriteStatus::Ok);
    EXPECT_EQ(back.keptIn, "20261208_戻す前_2");
    EXPECT_EQ(filesIn(folder.path()), changed);

    EXPECT_EQ(restoreBackup(folder.path(), "20261299", {2026, 12, 8}).status,
              disk::WriteStatus::ReadFailed);
    EXPECT_EQ(restoreBackup(folder.path(), "../..", {2026, 12, 8}).status,
              disk::WriteStatus::ReadFailed);
    EXPECT_EQ(filesIn(folder.path()), changed);
}

}  // namespace
}  // namespace pairly::store
