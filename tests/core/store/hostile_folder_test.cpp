// What the data folder holds is not always what the program put there: links, FIFOs, huge
// files, and a second program writing at the same time. None of them costs a weighing, and
// nothing is ever written outside the folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <string>

#include "core/disk/file_notices.h"
#include "core/disk/folder_lock.h"
#include "core/exchange/csv_import.h"
#include "core/store/backups.h"
#include "core/store/measurement_log.h"
#include "core/store/notes_memo.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "support/faults.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

namespace fs = std::filesystem;
using pairly::testing::TempFolder;

MeasurementRecord rec(const std::string& date, const std::string& comment = "") {
    return {date, "朝食前", 60.5f, 22, 1400, 5, 40, 3, 2.5f, comment, ""};
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each kind of name that is not a plain data file, and what every reader and writer of
// データ2.txt, ﾌﾟﾗｲﾍﾞｰﾄ2.txt and 気付きメモ.txt makes of it: nothing read, nothing written,
// the thing itself and anything it leads to as before, and start-up naming it.
TEST(HostileFolder, LinksFifosAndHugeFilesAreNeitherReadNorWritten) {
    struct Case {
        const char* kind;
        std::function<void(const TempFolder&, const fs::path& victim, const std::string&)> make;
        disk::FileProblem problem;
        const char* words;
    };
    const Case cases[] = {
        {"link",
         [](const TempFolder& f, const fs::path& victim, const std::string& name) {
             fs::create_symlink(victim, f.path() / name);
         },
         disk::FileProblem::Link, "はリンクなので使いません"},
        {"dangling link",
         [](const TempFolder& f, const fs::path& victim, const std::string& name) {
             fs::create_symlink(victim.string() + ".none", f.path() / name);
         },
         disk::FileProblem::Link, "はリンクなので使いません"},
        {"fifo",
         [](const TempFolder& f, const fs::path&, const std::string& name) {
             ::mkfifo((f.path() / name).c_str(), 0644);
         },
         disk::FileProblem::NotRegular, "は普通のファイルではありません"},
        {"folder",
         [](const TempFolder& f, const fs::path&, const std::string& name) {
             fs::create_directory(f.path() / name);
         },
         disk::FileProblem::NotRegular, "は普通のファイルではありません"},
        {"huge",
         [](const TempFolder& f, const fs::path&, const std::string& name) {
             f.writeBytes(name, "\"2026/12/01\",\"朝食前\",60,0,0,0,0,0,0,\"\",\"\"\r\n");
             fs::resize_file(f.path() / name, disk::kMaxFileBytes + 1);  // sparse: fast
         },
         disk::FileProblem::TooLarge, "は大きすぎるため読み込みません"},
    };
    alarm(60);  // a FIFO that blocks fails the test instead of hanging the suite
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        TempFolder folder, elsewhere;
        const fs::path victim = elsewhere.path() / "victim.txt";
        elsewhere.writeBytes("victim.txt",
                             "\"2026/12/01\",\"朝食前\",70,0,0,0,0,0,0,\"\",\"\"\r\n");
        for (const std::string name : {"データ2.txt", "ﾌﾟﾗｲﾍﾞｰﾄ2.txt", "気付きメモ.txt"})
            c.make(folder, victim, name);
        const std::string before = bytesOf(victim);

        const disk::FileBytes read = disk::readFileBytes(folder.path(), "データ2.txt");
        EXPECT_EQ(read.status, disk::ReadStatus::Unusable);
        EXPECT_EQ(read.problem, c.problem);
        EXPECT_TRUE(loadLog(folder.path(), 2).records.empty());
        EXPECT_TRUE(readProfile(folder.path(), 2).failed());

        EXPECT_EQ(appendRecordWithStatus(folder.path(), 2, rec("2026/12/08")),
                  disk::WriteStatus::Unusable);
        EXPECT_EQ(insertRecordInDateOrder(folder.path(), 2, rec("2026/11/01")),
                  disk::WriteStatus::Unusable);
        EXPECT_FALSE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/08")}));
        const disk::FileStamp missing = disk::FileStamp::missing();
        EXPECT_EQ(exchange::mergeImport(folder.path(), 2, {rec("2026/12/08")}, missing).status,
                  disk::WriteStatus::Unusable);
        EXPECT_FALSE(pairly::testing::saveProfile(folder.path(), 2, {"たろう", 170, 65}));
        EXPECT_FALSE(saveMemo(folder.path(), "メモ"));

        EXPECT_EQ(bytesOf(victim), before);
        const auto status = fs::symlink_status(folder.path() / "データ2.txt");
        EXPECT_EQ(fs::is_symlink(status), c.problem == disk::FileProblem::Link);
        EXPECT_FALSE(fs::exists(folder.path() / "バックアップ"));

        const auto notice = disk::unusableFilesNotice(folder.path());
        ASSERT_TRUE(notice);
        EXPECT_NE(notice->text.find(std::string("データ2.txt ") + c.words), std::string::npos);
        EXPECT_NE(notice->text.find(std::string("気付きメモ.txt ") + c.words), std::string::npos);
        const auto refusal =
            disk::blockedWriteNotice(folder.path(), disk::WriteStatus::Unusable, "データ2.txt");
        EXPECT_NE(refusal->text.find(c.words), std::string::npos);
    }
    alarm(0);
}

// A link at a temporary name is removed, not followed: the log gets its new content and the
// file the link led to keeps its bytes.
TEST(HostileFolder, ALinkAtATemporaryNameIsNeverWrittenThrough) {
    for (const std::string temp : {"データ2.txt.tmp", "データコピー.txt", "データ2.txt.new"}) {
        SCOPED_TRACE(temp);
        TempFolder folder, elsewhere;
        elsewhere.writeBytes("victim", "precious");
        ASSERT_TRUE(
            pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/12/01"), rec("2026/12/05")}));
        fs::create_symlink(elsewhere.path() / "victim", folder.path() / temp);
        ASSERT_EQ(insertRecordInDateOrder(folder.path(), 2, rec("2026/12/03")),
                  disk::WriteStatus::Ok);
        ASSERT_TRUE(
            pairly::testing::rewriteLog(folder.path(), 2, loadLog(folder.path(), 2).records));
        EXPECT_EQ(elsewhere.readBytes("victim"), "precious");
        EXPECT_FALSE(fs::is_symlink(folder.path() / "データ2.txt"));
        EXPECT_EQ(loadLog(folder.path(), 2).records.size(), 3u);
    }
}

// Pruning removes the program's own copies only: never through a link, never a file it did
// not write, and a day folder holding something of the user's stays with that.
TEST(HostileFolder, PruningTouchesOnlyTheProgramsOwnCopies) {
    TempFolder folder, elsewhere;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, {rec("2026/12/01")}));
    for (int day = 1; day <= 20; ++day) {
        const std::string name = "202611" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        fs::create_directories(elsewhere.path() / name);
        elsewhere.writeBytes(name + "/データ1.txt", "the user's own");
    }
    // バックアップ itself a link: nothing read, written or removed there.
    fs::create_symlink(elsewhere.path(), folder.path() / "バックアップ");
    EXPECT_EQ(makeDailyBackup(folder.path(), {2026, 12, 8}).status, BackupStatus::Failed);
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), {}), 20);
    EXPECT_TRUE(listBackups(folder.path()).empty());
    EXPECT_NE(disk::unusableFilesNotice(folder.path())
                  ->text.find("バックアップ はリンクなので使いません"),
              std::string::npos);

    // A real バックアップ: an old day folder with a file of the user's keeps that file, a
    // day folder that is a link is left alone, plain old copies go.
    fs::remove(folder.path() / "バックアップ");
    for (int day = 1; day <= 15; ++day)
        fs::create_directories(folder.path() / "バックアップ" /
                               ("202611" + std::string(day < 10 ? "0" : "") + std::to_string(day)));
    folder.writeBytes("バックアップ/20261101/データ1.txt", "old copy");
    folder.writeBytes("バックアップ/20261101/写真.jpg", "the user's");
    folder.writeBytes("バックアップ/20261102/データ1.txt", "old copy");
    fs::create_symlink(elsewhere.path() / "20261101", folder.path() / "バックアップ" / "20261031");
    const DailyBackup made = makeDailyBackup(folder.path(), {2026, 12, 8});
    ASSERT_EQ(made.status, BackupStatus::Made);
    EXPECT_EQ(made.removed, (std::vector<std::string>{"20261102"}));
    EXPECT_EQ(folder.readBytes("バックアップ/20261101/写真.jpg"), "the user's");
    EXPECT_FALSE(folder.exists("バックアップ/20261101/データ1.txt"));
    EXPECT_EQ(elsewhere.readBytes("20261101/データ1.txt"), "the user's own");
    EXPECT_TRUE(fs::is_symlink(folder.path() / "バックアップ" / "20261031"));

    // A copy that fails half way leaves neither the day's folder nor its temporary one.
    auto faults = pairly::testing::InjectFaults::once(1, {disk::fileops::Op::Write});
    EXPECT_EQ(makeDailyBackup(folder.path(), {2026, 12, 9}).status, BackupStatus::Failed);
    EXPECT_FALSE(fs::exists(folder.path() / "バックアップ" / "20261209.tmp"));
    EXPECT_FALSE(fs::exists(folder.path() / "バックアップ" / "20261209"));
}

// Two programs writing one log at once: every change either of them reports as made is in
// the log afterwards, exactly once; a program that finds the lock held too long writes
// nothing and says so.
TEST(HostileFolder, TwoProgramsWritingOneLogLoseNoReportedChange) {
    TempFolder folder;
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 2, {rec("2026/11/01", "start")}));
    constexpr int kRounds = 120;
    int pipes[3][2];
    pid_t children[3];
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(::pipe(pipes[c]), 0);
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] > 0) {
            ::close(pipes[c][1]);
            continue;
        }
        ::close(pipes[c][0]);
        for (int i = 0; i < kRounds; ++i) {
            const std::string tag = std::to_string(c) + "-" + std::to_string(i);
            bool ok = false;
            if (c == 2) {
                // A starting program: its clean-up must never sweep away another's change.
                disk::finishInterruptedChange(folder.path());
                continue;
            }
            switch (i % 3) {
                case 0:
                    ok =
                        isWritten(appendRecordWithStatus(folder.path(), 2, rec("2026/12/08", tag)));
                    break;
                case 1:
                    ok = isWritten(
                        insertRecordInDateOrder(folder.path(), 2, rec("2026/11/15", tag)));
                    break;
                default: {
                    // Rows equal in date, situation and weight are skipped: each its own weight.
                    MeasurementRecord row = rec("2026/11/20", tag);
                    row.weight = static_cast<float>(50 + c * 20 + i * 0.1);
                    const disk::FileStamp stamp = loadLog(folder.path(), 2).stamp;
                    const exchange::MergeResult merged =
                        exchange::mergeImport(folder.path(), 2, {row}, stamp);
                    ok = merged.written() && merged.taken == 1;
                }
            }
            const std::string line = (ok ? tag : std::string("-")) + "\n";
            if (::write(pipes[c][1], line.data(), line.size()) < 0) _exit(2);
        }
        _exit(0);
    }
    std::set<std::string> reported;
    int attempts = 0;
    for (int c = 0; c < 2; ++c) {
        std::string out;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipes[c][0], buffer, sizeof buffer)) > 0;)
            out.append(buffer, n);
        for (std::size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos;
             at = end + 1) {
            ++attempts;
            if (out.compare(at, end - at, "-") != 0) reported.insert(out.substr(at, end - at));
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const LoadedLog log = loadLog(folder.path(), 2);
    std::multiset<std::string> found;
    for (const MeasurementRecord& r : log.records) found.insert(r.comment);
    for (const std::string& tag : reported) EXPECT_EQ(found.count(tag), 1u) << tag;
    EXPECT_EQ(log.records.size(), reported.size() + 1);
    EXPECT_TRUE(log.damaged.empty());
    EXPECT_EQ(attempts, 2 * kRounds);
    std::cout << "race: " << attempts << " changes tried, " << reported.size() << " reported made, "
              << log.records.size() - 1 << " found in the log\n";

    // The lock held elsewhere past the wait: nothing written, Busy.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const disk::FolderLock lock(folder.path());
        (void)!::write(ready[1], "x", 1);
        ::sleep(2);
        _exit(0);
    }
    char x;
    ASSERT_EQ(::read(ready[0], &x, 1), 1);
    disk::FolderLock::setWaitMs(100);
    const std::string bytes = folder.readBytes("データ2.txt");
    EXPECT_EQ(appendRecordWithStatus(folder.path(), 2, rec("2026/12/09")), disk::WriteStatus::Busy);
    EXPECT_EQ(folder.readBytes("データ2.txt"), bytes);
    disk::FolderLock::setWaitMs(disk::kLockWaitMs);
    ::waitpid(holder, nullptr, 0);
}

}  // namespace
}  // namespace pairly::store
