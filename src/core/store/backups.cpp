#include "core/store/backups.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "core/disk/file_notices.h"
#include "core/disk/file_ops.h"
#include "core/disk/folder_lock.h"
#include "core/store/measurement_log.h"

namespace pairly::store {

namespace fs = std::filesystem;

namespace {

std::string dayName(const text::Date& d) {
    char out[16];
    std::snprintf(out, sizeof out, "%04d%02d%02d", d.year, d.month, d.day);
    return out;
}

bool isDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The day a backup folder's name starts with.
std::optional<text::Date> dayOf(std::string_view name) {
    if (name.size() < 8 || !isDigits(name.substr(0, 8))) return std::nullopt;
    if (name.size() > 8 && name[8] != '_') return std::nullopt;
    const auto n = [&](std::size_t at, std::size_t len) {
        int v = 0;
        for (const char c : name.substr(at, len)) v = v * 10 + (c - '0');
        return v;
    };
    const text::Date date{n(0, 4), n(4, 2), n(6, 2)};
    if (!text::isValidDate(date)) return std::nullopt;
    return date;
}

bool isLink(const fs::path& path) {
    std::error_code ec;
    return fs::is_symlink(path, ec);
}

// The real folders in `dir`; a link to a folder is not one of them, nor is anything in a
// `dir` that is itself a link.
std::vector<std::string> subfolders(const fs::path& dir) {
    std::vector<std::string> names;
    if (isLink(dir)) return names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_directory(kind) && !it->is_symlink(kind))
            names.push_back(it->path().filename().string());
    }
    return names;
}

// Removes what the program puts into a folder of バックアップ/ (its data files, as regular
// files), then the folder when nothing else is left in it. Nothing through a link.
void removeOwnFolder(const fs::path& dir) {
    if (isLink(dir)) return;
    for (const char* name : disk::kDataFileNames) {
        struct stat st {};
        const fs::path file = dir / name;
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(file.c_str());
    }
    ::rmdir(dir.c_str());
}

// Makes `dir` (its parent exists); a new folder is there for good once its parent says so.
// A link in its place is not used.
bool makeFolder(const fs::path& dir) {
    std::error_code ec;
    if (isLink(dir)) return false;
    const bool existed = fs::is_directory(dir, ec);
    if (disk::fileops::mkdir(dir.c_str()) != 0 || !fs::is_directory(dir, ec)) return false;
    return existed || disk::fileops::syncFolder(dir.parent_path().c_str()) == 0;
}

// Copies every data file `folder` holds into `target` (made when missing). False when a
// file could not be read or written.
bool copyDataFiles(const fs::path& folder, const fs::path& target, std::string* failedFile) {
    if (!makeFolder(target)) return false;
    for (const char* name : disk::kDataFileNames) {
        const disk::FileBytes file = disk::readFileBytes(folder, name);
        // A link or a FIFO under a data file's name is not the program's: it stays out.
        if (file.status == disk::ReadStatus::Missing || file.status == disk::ReadStatus::Unusable) {
            disk::removeFile(target, name);  // left by an earlier attempt
            continue;
        }
        if (file.failed() || disk::rewriteFile(target, name, file.bytes) != disk::WriteStatus::Ok) {
            if (failedFile) *failedFile = name;
            return false;
        }
    }
    return true;
}

// `name`, or `name` with "_2", "_3" … : one nothing in `dir` is called yet.
std::string freeFolderName(const fs::path& dir, const std::string& name) {
    std::string candidate = name;
    std::error_code ec;
    for (int n = 2; n < 10000 && (fs::exists(dir / candidate, ec) || ec); ++n)
        candidate = name + "_" + std::to_string(n);
    return candidate;
}

bool holdsLog(const fs::path& folder) {
    return disk::fileExists(folder, logFileName(1)) || disk::fileExists(folder, logFileName(2));
}

}  // namespace

DailyBackup makeDailyBackup(const fs::path& folder, const text::Date& today) {
    DailyBackup result;
    result.folderName = dayName(today);
    const fs::path dir = folder / disk::kBackupFolder;
    std::error_code ec;
    // Another program is changing the folder: its own start made today's copy, or the next
    // start will.
    const disk::FolderLock lock(folder);
    if (!lock.held()) {
        result.status = BackupStatus::AlreadyMade;
        return result;
    }
    if (isLink(dir)) {
        result.status = BackupStatus::Failed;
        return result;
    }
    if (fs::is_directory(dir / result.folderName, ec)) {
        result.status = BackupStatus::AlreadyMade;
        return result;
    }
    if (!holdsLog(folder)) {
        result.status = BackupStatus::NoData;
        return result;
    }
    const fs::path temp = dir / (result.folderName + ".tmp");
    if (!makeFolder(dir)) {
        result.status = BackupStatus::Failed;
        return result;
    }
    if (!copyDataFiles(folder, temp, nullptr) ||
        disk::fileops::rename(temp.c_str(), (dir / result.folderName).c_str()) != 0 ||
        disk::fileops::syncFolder(dir.c_str()) != 0) {
        // What the copy made goes again; a folder of that name was never the user's.
        removeOwnFolder(temp);
        removeOwnFolder(dir / result.folderName);
        result.status = BackupStatus::Failed;
        return result;
    }
    result.status = BackupStatus::Made;

    std::vector<std::string> daily;
    for (std::string& name : subfolders(dir))
        if (name.size() == 8 && dayOf(name)) daily.push_back(std::move(name));
    std::sort(daily.begin(), daily.end(), std::greater<>());
    for (std::size_t i = kDailyBackupsKept; i < daily.size(); ++i) {
        removeOwnFolder(dir / daily[i]);
        if (!fs::exists(fs::symlink_status(dir / daily[i], ec))) result.removed.push_back(daily[i]);
    }
    return result;
}

std::string dailyBackupFailureText() {
    return "今日のバックアップを「バックアップ」フォルダに作れませんでした。\n"
           "データはそのまま使えます。" +
           std::string(disk::kWriteFailedAdvice) + "。";
}

std::vector<BackupEntry> listBackups(const fs::path& folder) {
    std::vector<BackupEntry> entries;
    const fs::path dir = folder / disk::kBackupFolder;
    for (const std::string& name : subfolders(dir)) {
        const auto day = dayOf(name);
        if (!day) continue;
        BackupEntry entry{name, *day, {0, 0}, name.size() == 8};
        for (const int slot : {1, 2}) {
            const disk::FileBytes log = disk::readFileBytes(dir / name, logFileName(slot));
            if (log.failed())
                entry.weighings[slot - 1] = -1;
            else
                entry.weighings[slot - 1] = static_cast<int>(scanLog(log.bytes).records);
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return a.name > b.name; });
    return entries;
}

std::string backupCaption(const BackupEntry& e) {
    const auto count = [](int n) {
        return n < 0 ? std::string("読めません") : std::to_string(n) + "件";
    };
    std::string caption = text::formatDate(e.date);
    if (!e.daily) caption += "（戻す前）";
    return caption + "　一人目 " + count(e.weighings[0]) + "　二人目 " + count(e.weighings[1]);
}

namespace {
std::string weighingCount(int n) {
    return n < 0 ? std::string("読めません") : std::to_string(n) + "件";
}
}  // namespace

std::array<int, 2> currentWeighings(const fs::path& folder) {
    std::array<int, 2> counts{};
    for (const int slot : {1, 2}) {
        const disk::FileBytes log = disk::readFileBytes(folder, logFileName(slot));
        counts[std::size_t(slot - 1)] =
            log.failed() ? -1 : static_cast<int>(scanLog(log.bytes).records);
    }
    return counts;
}

std::string restoreQuestion(const BackupEntry& entry, const std::array<int, 2>& now,
                            const std::array<std::string, 2>& names) {
    std::string text = "データを次のバックアップの状態に戻しますか？\n" +
                       text::formatDate(entry.date) + (entry.daily ? "" : "（戻す前）") + "\n";
    for (std::size_t i = 0; i < 2; ++i)
        text += "\n" + names[i] + "：バックアップ " + weighingCount(entry.weighings[i]) + "（今 " +
                weighingCount(now[i]) + "）";
    return text + "\n\n今のデータは先にバックアップに残します。";
}

std::string restoreResultText(const BackupEntry& entry, const std::string& keptIn) {
    const std::string day = text::formatDate(entry.date);
    if (keptIn.empty())
        return day + " のバックアップは今のデータと同じでした。\nデータは変更していません。";
    return day + " のバックアップに戻しました。\n戻す前のデータはバックアップ/" + keptIn +
           " にあります。";
}

RestoreResult restoreBackup(const fs::path& folder, const std::string& name,
                            const text::Date& today) {
    RestoreResult result;
    const fs::path source = folder / disk::kBackupFolder / name;
    std::error_code ec;
    const disk::FolderLock lock(folder);
    if (!lock.held()) {
        result.status = lock.failure();
        return result;
    }
    if (!dayOf(name) || isLink(folder / disk::kBackupFolder) || isLink(source) ||
        !fs::is_directory(source, ec)) {
        result.status = disk::WriteStatus::ReadFailed;
        result.file = name;
        return result;
    }
    std::vector<disk::FileStep> steps;
    for (const char* file : disk::kDataFileNames) {
        const disk::FileBytes saved = disk::readFileBytes(source, file);
        if (saved.status == disk::ReadStatus::Missing) continue;
        const disk::FileBytes current = disk::readFileBytes(folder, file);
        if (saved.failed() || current.failed()) {
            // A data file that is a link or no regular file is never replaced.
            result.status = current.status == disk::ReadStatus::Unusable
                                ? disk::WriteStatus::Unusable
                                : disk::WriteStatus::ReadFailed;
            result.file = file;
            return result;
        }
        if (current.status == disk::ReadStatus::Ok && current.bytes == saved.bytes) continue;
        const std::string target = disk::resolveFile(folder, file).filename().string();
        steps.push_back(current.status == disk::ReadStatus::Ok
                            ? disk::FileStep::replace(target, saved.bytes, target + ".new", current)
                            : disk::FileStep::create(target, saved.bytes, target + ".new"));
    }
    if (steps.empty()) return result;

    // The files as they are now, so that the restore itself can be taken back.
    const fs::path dir = folder / disk::kBackupFolder;
    result.keptIn = freeFolderName(dir, dayName(today) + "_戻す前");
    // Whole or not there, as a daily folder.
    const fs::path temp = dir / (result.keptIn + ".tmp");
    if (!makeFolder(dir) || !copyDataFiles(folder, temp, &result.file) ||
        disk::fileops::rename(temp.c_str(), (dir / result.keptIn).c_str()) != 0 ||
        disk::fileops::syncFolder(dir.c_str()) != 0) {
        removeOwnFolder(temp);
        result.status = disk::WriteStatus::WriteFailed;
        return result;
    }
    const disk::ChangeOutcome changed = changeFiles(folder, "バックアップから戻す", steps);
    result.status = changed.status;
    result.pending = changed.pending;
    if (!changed.file.empty()) result.file = changed.file;
    return result;
}

}  // namespace pairly::store
