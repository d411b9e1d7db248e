// A save cut off at any point by a crash or a power cut leaves every file with its old or
// its new content, byte for byte; a disk that fills up during the write leaves the old one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "store/file_ops.h"
#include "store/measurement_log.h"
#include "store/partner_profile.h"
#include "store/preferences.h"
#include "store/situation_list.h"
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
    ASSERT_TRUE(rewriteLog(folder.path(), 1, log));
    ASSERT_TRUE(rewriteSituationList(folder.path(), {"起床後", "朝食前", "夕食後"}));
    ASSERT_TRUE(saveProfile(folder.path(), 1, {"はなこ", 158.5f, 50}));
    ASSERT_TRUE(writeScaleSteps(folder.path(), {"0.1", "0.2"}));
}

Files contents(const TempFolder& folder) {
    Files files;
    for (const auto& name : folder.fileNames()) files[name] = folder.readBytes(name);
    return files;
}

const std::vector<Save>& saves() {
    static const std::vector<Save> list = {
        {"append", [](const auto& f) { return appendRecord(f, 1, rec("2026/12/01")); }},
        {"insert",
         [](const auto& f) {
             return insertRecordInDateOrder(f, 1, rec("2026/11/15", "夕食後")) == WriteStatus::Ok;
         }},
        {"rewrite", [](const auto& f) { return rewriteLog(f, 1, {rec("2026/12/07", "開始")}); }},
        {"rename",
         [](const auto& f) { return renameSituation(f, 1, "朝食前", "朝ごはん前").ok(); }},
        {"list order",
         [](const auto& f) {
             return rewriteSituationList(f, {"夕食後", "起床後", "朝食前"});
         }},
        {"list add", [](const auto& f) { return appendSituationBare(f, "散歩後"); }},
        {"profile",
         [](const auto& f) {
             return saveProfile(f, 1, {"はな", 158.0f, 49.5f});
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
        fileops::setFaultHook([stopAt](fileops::Op, long n) {
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

}  // namespace
}  // namespace pairly::store
