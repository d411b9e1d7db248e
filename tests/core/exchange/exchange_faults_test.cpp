// Each writing operation of corrections, CSV export and import, daily backups and restore
// is run with each of its file operations failing in turn (once, and from then on): the
// data files end old or new as a whole, matching the status told, and nothing crashes.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>

#include "core/disk/codec.h"
#include "core/disk/folder_lock.h"
#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"
#include "core/store/backups.h"
#include "core/store/record_edit.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::exchange {
namespace {

namespace fs = std::filesystem;
using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Files = std::map<std::string, std::string>;

struct Outcome {
    disk::WriteStatus status = disk::WriteStatus::Ok;
    disk::PendingChange pending = disk::PendingChange::None;
    // An edit: the records the screen goes on showing.
    std::optional<std::vector<store::MeasurementRecord>> shown;
};
Outcome told(disk::WriteStatus status, disk::PendingChange pending = disk::PendingChange::None) {
    return {status, pending, std::nullopt};
}

// The regular files of a folder, not its subfolders.
Files filesIn(const fs::path& dir) {
    Files files;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (!e.is_regular_file() || e.path().filename() == disk::kLockFile) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

store::MeasurementRecord rec(const std::string& date, float weight,
                             const std::string& comment = "") {
    return {date, "朝食前", weight, 20, 1400, 5, 40, 3, 2.5f, comment, ""};
}

// The files of a diary, made once; laid out by plain writes, which are quick.
const Files& diaryFiles() {
    static const Files files = [] {
        TempFolder folder;
        EXPECT_TRUE(pairly::testing::rewriteLog(
            folder.path(), 1,
            {rec("2026/12/01", 60), rec("2026/12/02", 61), rec("2026/12/04", 62)}));
        EXPECT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/01", 70, "a, b")}));
        folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "\"ニックネーム\",\"はなこ\"\r\n");
        folder.writeBytes("気付きメモ.txt", "memo\r\n");
        return filesIn(folder.path());
    }();
    return files;
}

void layDiary(const TempFolder& folder) {
    for (const auto& [name, bytes] : diaryFiles()) folder.writeBytes(name, bytes);
}

// Runs `operation` on a fresh folder laid out by `lay` with file operation n failing, for
// n = 1, 2, … until no operation fails any more; `check` sees each folder afterwards.
void sweep(const std::function<void(const TempFolder&)>& lay,
           const std::function<Outcome(const TempFolder&)>& operation,
           const std::function<void(const TempFolder&, const Outcome&)>& check = {}) {
    Files before, after;
    {
        TempFolder folder;
        lay(folder);
        before = filesIn(folder.path());
        ASSERT_EQ(operation(folder).status, disk::WriteStatus::Ok);
        after = filesIn(folder.path());
    }
    for (const bool persistent : {false, true}) {
        for (long n = 1;; ++n) {
            SCOPED_TRACE((persistent ? "from operation " : "operation ") + std::to_string(n));
            TempFolder folder;
            lay(folder);
            Outcome outcome;
            long seen;
            {
                auto faults = persistent ? InjectFaults::from(n) : InjectFaults::once(n);
                outcome = operation(folder);
                seen = faults.seen();
            }
            if (check) check(folder, outcome);
            // What the screen goes on with is what the file holds.
            if (outcome.shown && disk::isWritten(outcome.status)) {
                EXPECT_EQ(*outcome.shown, store::loadLog(folder.path(), 1).records);
            }
            if (seen < n) {
                EXPECT_EQ(outcome.status, disk::WriteStatus::Ok);
                EXPECT_EQ(filesIn(folder.path()), after);
                break;
            }
            EXPECT_NE(outcome.status, disk::WriteStatus::Ok) << "a fault went untold";
            if (outcome.pending != disk::PendingChange::None) {
                // The next start finishes or undoes the change.
                const auto recovery = disk::finishInterruptedChange(folder.path());
                ASSERT_TRUE(recovery);
                EXPECT_EQ(filesIn(folder.path()),
                          outcome.pending == disk::PendingChange::Completion ? after : before);
                continue;
            }
            EXPECT_EQ(filesIn(folder.path()), disk::isWritten(outcome.status) ? after : before);
        }
    }
}

TEST(ExchangeFaults, CorrectionAndDeletionAreAllOrNothing) {
    for (const bool remove : {false, true}) {
        SCOPED_TRACE(remove ? "delete" : "correct");
        sweep(layDiary, [remove](const TempFolder& f) {
            const store::LoadedLog log = store::loadLog(f.path(), 1);
            const store::EditResult result =
                remove ? removeRecord(f.path(), 1, log, 1)
                       : correctRecord(f.path(), 1, log, 1, rec("2026/12/05", 60.8f));
            return Outcome{result.status, disk::PendingChange::None, result.log.records};
        });
    }
}

TEST(ExchangeFaults, ExportIsAllOrNothing) {
    const auto lay = [](const TempFolder& f) {
        layDiary(f);
        f.writeBytes("out.csv", "an older export");
    };
    sweep(lay, [](const TempFolder& f) {
        return told(exportCsv(f.path(), f.path() / "out.csv").status);
    });
}

TEST(ExchangeFaults, MergeIsAllOrNothingAndKeepsTheOldLogFirst) {
    const auto lay = [](const TempFolder& f) {
        layDiary(f);
        f.writeBytes(
            "import.txt",
            *disk::toCp932(store::recordsText({rec("2026/12/03", 61.5f), rec("2026/12/01", 60)})));
    };
    sweep(
        lay,
        [](const TempFolder& f) {
            const ImportRead read = readImport(f.path() / "import.txt", {2026, 12, 8}, 1);
            if (read.status != disk::ReadStatus::Ok) return told(disk::WriteStatus::ReadFailed);
            EXPECT_TRUE(read.usable());
            const store::LoadedLog log = store::loadLog(f.path(), 1);
            if (log.failed()) return told(disk::WriteStatus::ReadFailed);
            const MergeResult merged = mergeImport(f.path(), 1, read.rows, log.stamp);
            if (merged.written()) {
                EXPECT_EQ(merged.taken, 1u);
            }
            return told(merged.status);
        },
        [](const TempFolder& f, const Outcome& outcome) {
            // A log rewritten has its old bytes in バックアップ/.
            if (disk::isWritten(outcome.status)) {
                EXPECT_TRUE(fs::exists(f.path() / "バックアップ" / "データ1_インポート前.txt"));
            }
        });
}

TEST(ExchangeFaults, ADailyBackupIsWholeOrNotThere) {
    sweep(
        layDiary,
        [](const TempFolder& f) {
            const store::DailyBackup made = store::makeDailyBackup(f.path(), {2026, 12, 8});
            return told(made.status == store::BackupStatus::Made ? disk::WriteStatus::Ok
                                                                 : disk::WriteStatus::WriteFailed);
        },
        [](const TempFolder& f, const Outcome&) {
            const fs::path day = f.path() / "バックアップ" / "20261208";
            if (fs::exists(day)) {
                EXPECT_EQ(filesIn(day), filesIn(f.path()));
            }
        });
}

TEST(ExchangeFaults, ARestoreEndsAllOldOrAllNew) {
    const auto lay = [](const TempFolder& f) {
        fs::create_directories(f.path() / "バックアップ" / "20261207");
        for (const auto& [name, bytes] : diaryFiles()) {
            f.writeBytes("バックアップ/20261207/" + name, bytes);
            f.writeBytes(
                name,
                bytes + (name == "データ1.txt" ? store::recordLine(rec("2026/12/08", 60.5f)) : ""));
        }
        f.writeBytes("気付きメモ.txt", "new memo\r\n");
        f.writeBytes("設定.txt", " 1 \r\n");
    };
    sweep(lay, [](const TempFolder& f) {
        const store::RestoreResult restored =
            store::restoreBackup(f.path(), "20261207", {2026, 12, 8});
        return told(restored.status, restored.pending);
    });
}

}  // namespace
}  // namespace pairly::exchange
