#pragma once
// Daily copies of the data files in バックアップ/yyyymmdd/, and putting one back.
//
// The first start of a day copies the two logs, the two profiles, the memo, the situation
// list and the preference files byte for byte into バックアップ/yyyymmdd/ (through
// "yyyymmdd.tmp", which takes its name once every file is in it, so that a folder of that
// name is always whole). Of the folders named yyyymmdd the 14 newest are kept; nothing
// else in バックアップ/ is ever removed.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/disk/change_set.h"
#include "core/disk/data_folder.h"
#include "core/text/dates.h"

namespace pairly::store {

inline constexpr int kDailyBackupsKept = 14;

enum class BackupStatus {
    Made,         // today's copy was made
    AlreadyMade,  // there was one of today
    NoData,       // the folder holds no log: nothing to keep
    Failed,       // a file could not be read or written; tell once and go on
};
struct DailyBackup {
    BackupStatus status = BackupStatus::Failed;
    std::string folderName;            // "20261208"
    std::vector<std::string> removed;  // old daily folders removed by the rotation
};
[[nodiscard]] DailyBackup makeDailyBackup(const std::filesystem::path& folder,
                                          const text::Date& today);
// The message for a failed daily backup (shown once, the program goes on).
std::string dailyBackupFailureText();
inline constexpr char kBackupTitle[] = "バックアップ";

// A folder of バックアップ/ whose name starts with a day (yyyymmdd, also the copies made
// before a restore, "yyyymmdd_戻す前").
struct BackupEntry {
    std::string name;
    text::Date date;
    std::array<int, 2> weighings{};  // records of each partner's log; -1: unreadable
    bool daily = false;              // a daily folder (yyyymmdd)
};
// Newest first.
std::vector<BackupEntry> listBackups(const std::filesystem::path& folder);
// "2026/12/08　一人目 120件　二人目 98件" for the list.
std::string backupCaption(const BackupEntry& entry);

// The weighings of each partner's log in the data folder now (-1: unreadable).
std::array<int, 2> currentWeighings(const std::filesystem::path& folder);
// The question before a restore: the backup's day and, per partner, its weighings in the
// backup against today's ("はなこ：バックアップ 120件（今 125件）").
std::string restoreQuestion(const BackupEntry& entry, const std::array<int, 2>& now,
                            const std::array<std::string, 2>& names);
// The message after a restore: where the files as they were are kept, or that nothing
// changed when the backup held what the data folder holds (`keptIn` empty).
std::string restoreResultText(const BackupEntry& entry, const std::string& keptIn);

struct RestoreResult {
    // Ok/Unsynced: the backup's files are in place. ReadFailed: a file (named) could not
    // be read; WriteFailed: the copy of the current files or the change failed. With
    // `pending`, the next start finishes (or undoes) the change.
    disk::WriteStatus status = disk::WriteStatus::Ok;
    disk::PendingChange pending = disk::PendingChange::None;
    std::string file;
    std::string keptIn;  // the folder of バックアップ/ holding the files as they were
    bool written() const { return disk::isWritten(status); }
};
// Copies the files of the backup `name` over the data files, all of them or none: first
// the current files are copied to バックアップ/yyyymmdd_戻す前 (today's day), then all are
// replaced in one change. A data file the backup does not hold stays as it is.
[[nodiscard]] RestoreResult restoreBackup(const std::filesystem::path& folder,
                                          const std::string& name, const text::Date& today);

}  // namespace pairly::store
