// A save cut off at any point by a crash or a power cut leaves every file with its old or
// its new content, byte for byte; a disk that fills up during the write leaves the old one.
// A change of two files cut off at any point is finished, or found never begun, by the
// next start: its files end all old or all new, also when that start is cut off too.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/disk/change_set.h"
#include "core/disk/file_ops.h"
#include "core/exchange/predecessor_import.h"
#include "core/settings/new_start.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "core/store/preferences.h"
#include "core/store/situation_list.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;
using Files = std::map<std::string, std::string>;  // name -> bytes

MeasurementRecord rec(const std::string& date, const std::string& situation = "朝食前") {
    return MeasurementRecord{date, situation, 65.3f, 22.5f, 1500, 9, 48.2f, 5, 2.9f, "", ""};
}

struct Save {
    const char* name;
    std::function<bool(const std::filesystem::path&)> run;
};

// The folder every save starts from: two logs, the list, a profile and the steps.
void writeOldFolder(const TempFolder& folder) {
    std::vector<MeasurementRecord> log;
    for (int d = 1; d <= 28; ++d) {
        const std::string day = (d < 10 ? "2026/11/0" : "2026/11/") + std::to_string(d);
        log.push_back(rec(day, "起床後"));
        log.push_back(rec(day, "朝食前"));
    }
    ASSERT_TRUE(pairly::testing::rewriteLog(folder.path(), 1, log));
    ASSERT_TRUE(
        pairly::testing::rewriteSituationList(folder.path(), {"起床後", "朝食前", "夕食後"}));
    ASSERT_TRUE(pairly::testing::saveProfile(folder.path(), 1, {"はなこ", 158.5f, 50}));
    ASSERT_TRUE(writeScaleSteps(folder.path(), {"0.1", "0.2"}));
}

Files contents(const TempFolder& folder) {
    Files files;
    for (const auto& name : folder.fileNames()) files[name] = folder.readBytes(name);
    return files;
}

const std::vector<Save>& saves() {
    static const std::vector<Save> list = {
        {"append",
         [](const auto& f) { return pairly::testing::appendRecord(f, 1, rec("2026/12/01")); }},
        {"insert",
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/11/15", "夕食後")) ==
                    disk::WriteStatus::Ok;
         }},
        {"rewrite",
         [](const auto& f) {
             return pairly::testing::rewriteLog(f, 1, {rec("2026/12/07", "開始")});
         }},
        {"rename",
         [](const auto& f) {
             return renameSituation(f, 1, "朝食前", "朝ごはん前", loadSituations(f).stamp).ok();
         }},
        {"list order",
         [](const auto& f) {
             return pairly::testing::rewriteSituationList(f, {"夕食後", "起床後", "朝食前"});
         }},
        {"list add", [](const auto& f) { return appendSituationBare(f, "散歩後"); }},
        {"profile",
         [](const auto& f) {
             return pairly::testing::saveProfile(f, 1, {"はな", 158.0f, 49.5f});
         }},
        {"steps",
         [](const auto& f) {
             return writeScaleSteps(f, {"0.2", "0.5"});
         }},
    };
    return list;
}

// Runs the save in a child that ends itself at file operation `stopAt` (0: never) and
// reports whether the save ran to its end.
bool runInChild(const Save& save, const std::filesystem::path& folder, long stopAt) {
    const pid_t pid = fork();
    if (pid == 0) {
        disk::fileops::setFaultHook([stopAt](disk::fileops::Op, long n) {
            if (n == stopAt) _exit(3);
            return false;
        });
        _exit(save.run(folder) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 3;
}

TEST(Crash, EveryFileIsOldOrNewWhereverTheSaveStops) {
    for (const Save& save : saves()) {
        TempFolder expected;
        writeOldFolder(expected);
        const Files before = contents(expected);
        ASSERT_TRUE(save.run(expected.path())) << save.name;
        const Files after = contents(expected);

        bool completed = false;
        for (long stopAt = 1; !completed && stopAt < 100; ++stopAt) {
            TempFolder folder;
            writeOldFolder(folder);
            completed = runInChild(save, folder.path(), stopAt);
            for (const auto& [name, bytes] : contents(folder)) {
                const bool known = before.count(name) || after.count(name);
                if (!known) continue;  // a temporary file left by the crash
                const bool old = before.count(name) && before.at(name) == bytes;
                const bool fresh = after.count(name) && after.at(name) == bytes;
                EXPECT_TRUE(old || fresh)
                    << save.name << ": " << name << " torn when stopped at " << stopAt;
            }
            if (completed) {
                EXPECT_EQ(contents(folder), after) << save.name;
            }
        }
        EXPECT_TRUE(completed) << save.name;
    }
}

// A real write that fails late: the file size limit lets the first bytes through and then
// refuses the rest, which no mocked write can fake.
TEST(Crash, AFileSizeLimitHitDuringTheWriteKeepsTheOldFile) {
    for (const Save& save : saves()) {
        TempFolder expected;
        writeOldFolder(expected);
        const Files before = contents(expected);
        ASSERT_TRUE(save.run(expected.path())) << save.name;
        // Short of the largest file the save writes: its write gets part of the way and
        // then fails.
        std::size_t largest = 0;
        for (const auto& [name, bytes] : contents(expected))
            if (!before.count(name) || before.at(name) != bytes)
                largest = std::max(largest, bytes.size());
        ASSERT_GT(largest, 1u) << save.name;
        const std::size_t allowed = largest > 20 ? largest - 10 : largest / 2;

        TempFolder folder;
        writeOldFolder(folder);
        const pid_t pid = fork();
        if (pid == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlim_t limit = allowed;
            const rlimit lim{limit, limit};
            setrlimit(RLIMIT_FSIZE, &lim);
            _exit(save.run(folder.path()) ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << save.name;
        EXPECT_EQ(WEXITSTATUS(status), 1) << save.name << " reported success";
        EXPECT_EQ(contents(folder), before) << save.name;
    }
}

// ---------------------------------------------------------------------------------------
// Changes of two files

// The answers of an import, asked of nobody.
class Answers : public exchange::ImportPrompter {
public:
    std::string ask(const std::string&, const std::string&) override {
        if (answers_.empty()) return "";
        std::string a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void warn(const std::string&, const std::string&) override {}
    void inform(const std::string&, const std::string&) override {}
    bool confirm(const std::string&, const std::string&) override { return true; }

private:
    std::deque<std::string> answers_ = {"25.5", "1350", "9", "44.8", "4", "2.7"};
};

struct Change {
    const char* name;
    std::function<void(const TempFolder&)> lay;
    std::function<bool(const std::filesystem::path&)> run;  // true: the change was made
    long lastRename;  // the number of the rename that gives its last file its name
};

const std::vector<Change>& changes() {
    static const std::vector<Change> list = {
        {"new start", writeOldFolder,
         [](const auto& f) {
             const settings::NewStartTexts texts = {"はな", "160",  "52", "58.5", "27",      "1300",
                                                    "6",    "38.5", "3",  "2.4",  "スタート"};
             return settings::writeNewStart(f, 1, settings::planNewStart(texts, "2026/12/07"),
                                            {2026, 12, 7},
                                            25509) == settings::NewStartStatus::Written;
         },
         5},  // two copies into バックアップ/, the intent file, the profile, the log
        {"situation rename", writeOldFolder,
         [](const auto& f) {
             return renameSituation(f, 1, "朝食前", "朝ごはん前", loadSituations(f).stamp).ok();
         },
         3},
        {"import of a weight-only file",
         [](const TempFolder& folder) {
             writeOldFolder(folder);
             folder.writeCp932(
                 "連続体重.txt",
                 "\"2003/01/05\",\"起床後\",62.4\r\n\"2003/01/06\",\"夕食後\",62\r\n");
         },
         [](const auto& f) {
             Answers answers;
             return exchange::importWeightOnlyFile(f, answers) == exchange::ImportResult::Converted;
         },
         4},  // the intent file, 連続体重.txt kept, the log kept, the new log
        {"import of the first edition",
         [](const TempFolder& folder) {
             writeOldFolder(folder);
             folder.writeCp932("データ1.txt",
                               "\"2004/03/01\",\"朝食前\",60.5,\"晴れ, 快調\",\"x\",\"予備\"\r\n"
                               "\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n");
         },
         [](const auto& f) {
             Answers answers;
             return importPredecessorData(f, answers) == exchange::ImportResult::Converted;
         },
         3},
    };
    return list;
}

// The data folder's own files (not バックアップ/).
Files topFiles(const TempFolder& folder) {
    Files files;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
        if (e.is_regular_file())
            files[e.path().filename().string()] = folder.readBytes(e.path().filename().string());
    return files;
}

enum class Ended { Crashed, Made, Refused };

// Runs `work` in a child whose file operation `stopAt` ends it (0: never), with rename
// number `failRename` failing (0: none).
Ended runInChild(const std::function<bool()>& work, long stopAt, long failRename = 0) {
    const pid_t pid = fork();
    if (pid == 0) {
        long renames = 0;
        disk::fileops::setFaultHook([stopAt, failRename, &renames](disk::fileops::Op op, long n) {
            if (n == stopAt) _exit(3);
            return op == disk::fileops::Op::Rename && ++renames == failRename;
        });
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 3) return Ended::Crashed;
    return WEXITSTATUS(status) == 0 ? Ended::Made : Ended::Refused;
}

// What the next start leaves: the change's files all old or all new, no intent file, no
// temporary file, and in バックアップ/ only whole copies of old files.
void expectWhole(const TempFolder& folder, const Files& before, const Files& after,
                 const std::string& what) {
    const Files now = topFiles(folder);
    EXPECT_TRUE(now == before || now == after) << what;
    const std::filesystem::path backups = folder.path() / disk::kBackupFolder;
    if (!std::filesystem::exists(backups)) return;
    for (const auto& e : std::filesystem::directory_iterator(backups)) {
        const std::string bytes =
            folder.readBytes(std::string(disk::kBackupFolder) + "/" + e.path().filename().string());
        bool copy = false;
        for (const auto& [name, old] : before) copy = copy || old == bytes;
        EXPECT_TRUE(copy) << what << ": " << e.path().filename().string();
    }
}

TEST(Crash, AChangeOfTwoFilesEndsAllOldOrAllNewAtTheNextStart) {
    for (const Change& change : changes()) {
        Files before, after;
        {
            TempFolder folder;
            change.lay(folder);
            before = topFiles(folder);
            ASSERT_TRUE(change.run(folder.path())) << change.name;
            after = topFiles(folder);
            ASSERT_NE(after, before) << change.name;
        }
        bool completed = false;
        std::vector<long> withIntent;  // where the crash left the intent file
        for (long stopAt = 1; !completed && stopAt < 200; ++stopAt) {
            const std::string what =
                std::string(change.name) + " stopped at " + std::to_string(stopAt);
            TempFolder folder;
            change.lay(folder);
            completed =
                runInChild([&] { return change.run(folder.path()); }, stopAt) == Ended::Made;
            const bool intentLeft = folder.exists(disk::kIntentFile);
            const auto recovery = disk::finishInterruptedChange(folder.path());
            EXPECT_EQ(recovery.has_value(), intentLeft) << what;
            if (recovery) {
                EXPECT_NE(recovery->result, disk::Recovery::Result::Failed) << what;
                EXPECT_EQ(topFiles(folder),
                          recovery->result == disk::Recovery::Result::Completed ? after : before)
                    << what;
            }
            if (completed) {
                EXPECT_EQ(topFiles(folder), after) << what;
            }
            expectWhole(folder, before, after, what);
            if (intentLeft) withIntent.push_back(stopAt);
        }
        EXPECT_TRUE(completed) << change.name;
        ASSERT_FALSE(withIntent.empty()) << change.name;  // crashes between the renames
        // The start that finishes it is cut off too, at each of its steps: where no rename
        // was made yet, and where only the last one is missing.
        for (const long stopAt : {withIntent.front(), withIntent.back()}) {
            const std::string what =
                std::string(change.name) + " stopped at " + std::to_string(stopAt);
            for (long again = 1; again < 100; ++again) {
                TempFolder twice;
                change.lay(twice);
                runInChild([&] { return change.run(twice.path()); }, stopAt);
                const bool finished =
                    runInChild(
                        [&] { return disk::finishInterruptedChange(twice.path()).has_value(); },
                        again) != Ended::Crashed;
                disk::finishInterruptedChange(twice.path());
                expectWhole(twice, before, after, what + ", its start at " + std::to_string(again));
                EXPECT_FALSE(twice.exists(disk::kIntentFile)) << what;
                if (finished) break;
            }
        }
    }
}

// A rename that fails half way takes back the one made before it; cut off while doing so,
// the next start takes it back to the end.
TEST(Crash, TakingBackAChangeThatFailedHalfWayEndsAllOld) {
    for (const Change& change : changes()) {
        Files before, after;
        {
            TempFolder folder;
            change.lay(folder);
            ASSERT_TRUE(change.run(folder.path())) << change.name;
            after = topFiles(folder);
        }
        {
            TempFolder folder;
            change.lay(folder);
            before = topFiles(folder);
            // Every rename before the last file's goes through; that one fails, and the
            // files renamed before it are taken back.
            EXPECT_EQ(runInChild([&] { return change.run(folder.path()); }, 0, change.lastRename),
                      Ended::Refused)
                << change.name;
            EXPECT_EQ(topFiles(folder), before) << change.name;
            EXPECT_FALSE(folder.exists(disk::kIntentFile)) << change.name;
        }
        bool ended = false;
        int undoneAtStart = 0;
        for (long stopAt = 1; !ended && stopAt < 200; ++stopAt) {
            const std::string what =
                std::string(change.name) + " stopped at " + std::to_string(stopAt);
            TempFolder folder;
            change.lay(folder);
            ended = runInChild([&] { return change.run(folder.path()); }, stopAt,
                               change.lastRename) != Ended::Crashed;
            const auto recovery = disk::finishInterruptedChange(folder.path());
            if (recovery) {
                EXPECT_NE(recovery->result, disk::Recovery::Result::Failed) << what;
                if (recovery->result == disk::Recovery::Result::Undone) ++undoneAtStart;
            }
            // Cut off before the taking back was noted, the change is finished forwards;
            // otherwise every file is old.
            EXPECT_EQ(
                topFiles(folder),
                recovery && recovery->result == disk::Recovery::Result::Completed ? after : before)
                << what;
            EXPECT_FALSE(folder.exists(disk::kIntentFile)) << what;
        }
        EXPECT_TRUE(ended) << change.name;
        EXPECT_GT(undoneAtStart, 0) << change.name;
    }
}

}  // namespace
}  // namespace pairly::store
