// The real program with I/O errors injected from outside: strace makes the N-th open, read,
// fsync or rename of the data files fail with EIO while the main window starts and saves an
// earlier day's weighing, or renames a situation. For every N the program must keep
// running to its end, and the files must end as they were with a warning, or changed
// completely without one (a failed fsync of the folder after the change: changed, with the
// word that the disk did not confirm it). And the real program killed at every step of a
// change of two files: the next start ends the files all old or all new.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/disk/folder_lock.h"
#include "support/temp_folder.h"

extern char** environ;

namespace pairly::testing {
namespace {

struct Box {
    std::string icon, title, text;
};

struct DriverRun {
    int waitStatus = -1;
    std::vector<Box> boxes;
    std::string errors;  // what the program wrote to stderr
    bool exitedCleanly() const { return WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0; }
    bool shows(const std::string& title) const {
        for (const Box& b : boxes)
            if (b.title == title) return true;
        return false;
    }
    std::string describe() const {
        std::string out = "wait status " + std::to_string(waitStatus) + "; boxes:";
        for (const Box& b : boxes) out += " [" + b.icon + " " + b.title + ": " + b.text + "]";
        return out + "\nstderr:\n" + errors;
    }
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs argv with stdout into `outFile` and stderr into `errFile`; the wait status.
int spawn(const std::vector<std::string>& args, const std::string& outFile,
          const std::string& errFile) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The tracer holds the process, so the leak checker cannot stop it at exit.
    std::vector<std::string> env = {"ASAN_OPTIONS=detect_leaks=0", "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e) {
        const std::string var(*e);
        if (var.rfind("ASAN_OPTIONS=", 0) != 0 && var.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(var);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = -1;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::vector<Box> parseBoxes(const std::string& output) {
    std::vector<Box> boxes;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t a = line.find('\t');
        const std::size_t b = line.find('\t', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        boxes.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return boxes;
}

class InjectedFaults : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string out = scratch_.path() / "probe.txt";
        const int status = spawn({"strace", "-f", "-qq", "-o", "/dev/null", "true"}, out, out);
        // strace is one of the build's packages: its absence is a fault of the machine.
        ASSERT_NE(status, -1) << "strace is not installed";
        if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            GTEST_SKIP() << "strace cannot trace here (ptrace is not permitted)";
    }

    // The driver on `folder` under strace, tracing the given files; `inject` is empty or
    // an injection such as "read:error=EIO:when=3". With `traceFile` the traced calls are
    // written there.
    DriverRun drive(const TempFolder& folder, const std::string& mode,
                    const std::vector<std::string>& files, const std::string& inject,
                    const std::string& traceFile = "/dev/null",
                    const std::string& calls = "openat,read,fsync,rename") {
        // Only the traced calls stop the program (seccomp), which keeps each run short; but
        // strace then injects no signal, so a run that kills the program goes without.
        const bool kills = inject.find(":signal=") != std::string::npos;
        std::vector<std::string> args = {"strace", "-f", "-qq", "-o", traceFile};
        if (!kills) args.insert(args.begin() + 2, "--seccomp-bpf");
        for (const auto& f : files) {
            args.push_back("-P");
            args.push_back(f.empty() ? folder.path().string() : (folder.path() / f).string());
        }
        args.push_back("-e");
        args.push_back("trace=" + calls);
        if (!inject.empty()) {
            args.push_back("-e");
            args.push_back("inject=" + inject);
        }
        args.push_back(PAIRLY_FAULT_DRIVER);
        args.push_back(folder.path().string());
        args.push_back(mode);
        const std::string out = scratch_.path() / "boxes.txt";
        const std::string err = scratch_.path() / "stderr.txt";
        DriverRun run;
        run.waitStatus = spawn(args, out, err);
        run.boxes = parseBoxes(readAll(out));
        run.errors = readAll(err);
        return run;
    }

    // The program alone, started on the folder as it is: the boxes it showed.
    DriverRun startAgain(const TempFolder& folder) {
        const std::string out = scratch_.path() / "boxes.txt";
        const std::string err = scratch_.path() / "stderr.txt";
        DriverRun run;
        run.waitStatus = spawn({PAIRLY_FAULT_DRIVER, folder.path().string(), "start"}, out, err);
        run.boxes = parseBoxes(readAll(out));
        run.errors = readAll(err);
        return run;
    }

    // How many calls of each kind the operation makes on the traced files, unfaulted.
    std::vector<std::pair<std::string, int>> countCalls(
        const TempFolder& folder, const std::string& mode, const std::vector<std::string>& files,
        const std::vector<std::string>& kinds = {"openat", "read", "fsync", "rename"}) {
        const std::string trace = scratch_.path() / "trace.txt";
        std::string calls;
        for (const auto& k : kinds) calls += (calls.empty() ? "" : ",") + k;
        const DriverRun run = drive(folder, mode, files, "", trace, calls);
        EXPECT_TRUE(run.exitedCleanly()) << run.describe();
        std::vector<std::pair<std::string, int>> counts;
        for (const auto& k : kinds) counts.push_back({k, 0});
        std::istringstream lines(readAll(trace));
        std::string line;
        while (std::getline(lines, line)) {
            std::size_t start = line.find_first_not_of("0123456789 ");
            if (start == std::string::npos) continue;
            for (auto& [name, n] : counts)
                if (line.compare(start, name.size() + 1, name + "(") == 0) ++n;
        }
        return counts;
    }

    TempFolder scratch_;
};

// The couple's files: partner 1's log of three days, the tour switched off.
void writeDiary(const TempFolder& folder) {
    folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt",
                      "\"氏名\",\"はなこ\"\r\n\"身長\",158\r\n\"目標体重\",50\r\n");
    folder.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ2.txt",
                      "\"氏名\",\"たろう\"\r\n\"身長\",172\r\n\"目標体重\",65\r\n");
    folder.writeCp932("設定.txt", "\"ヘルプツアー\",0\r\n");
    folder.writeCp932("状況リスト.txt", "朝食前\r\n\"夕食後\"\r\n朝食前\r\n");
    folder.writeCp932("データ1.txt",
                      "\"2026/12/01\",\"朝食前\",61.5,26,1380,9,44.8,4,2.7,\"\",\"\"\r\n"
                      "\"2026/12/05\",\"夕食後\",61,25.5,1390,9,45,4,2.7,\"a,b\",\"\"\r\n"
                      "\"2026/12/06\",\"朝食前\",60.3,25,1400,8,45.3,5,2.8,\"\",\"\"\r\n");
    folder.writeCp932("データ2.txt",
                      "\"2026/12/07\",\"朝食前\",70,20,1600,10,55,8,3.1,\"\",\"\"\r\n");
}

using FolderFiles = std::map<std::string, std::string>;

// The data folder's own files (not バックアップ/).
FolderFiles topFiles(const TempFolder& folder) {
    FolderFiles files;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
        if (e.is_regular_file() && e.path().filename() != disk::kLockFile)
            files[e.path().filename().string()] = folder.readBytes(e.path().filename().string());
    return files;
}

TEST_F(InjectedFaults, EarlierDaySaveKeepsTheLogOrAddsTheWeighing) {
    const std::vector<std::string> traced = {"データ1.txt", "データコピー.txt"};
    TempFolder base;
    writeDiary(base);
    const std::string before = base.readCp932("データ1.txt");
    const auto names = base.fileNames();
    const auto counts = countCalls(base, "insert", traced);
    if (HasFailure()) return;
    // The new weighing sits between the first and the second day; its values are what the
    // panel held, which depends on what the day view could read.
    const std::size_t firstLine = before.find("\r\n") + 2;
    const auto isInsertion = [&](const std::string& log) {
        const std::string start = "\"2026/12/03\",\"朝食前\",";
        const std::size_t added = log.size() - before.size();
        return log.size() > before.size() && log.compare(0, firstLine, before, 0, firstLine) == 0 &&
               log.compare(firstLine, start.size(), start) == 0 &&
               log.find("\r\n", firstLine) + 2 == firstLine + added &&
               log.compare(firstLine + added, std::string::npos, before, firstLine) == 0;
    };
    ASSERT_TRUE(isInsertion(base.readCp932("データ1.txt"))) << base.readCp932("データ1.txt");

    int refused = 0;
    for (const auto& [call, count] : counts) {
        ASSERT_GT(count, 0) << call;
        for (int n = 1; n <= count; ++n) {
            TempFolder folder;
            writeDiary(folder);
            const DriverRun run =
                drive(folder, "insert", traced, call + ":error=EIO:when=" + std::to_string(n));
            const std::string where = call + " #" + std::to_string(n) + ": " + run.describe();
            ASSERT_TRUE(run.exitedCleanly()) << where;
            const std::string log = folder.readCp932("データ1.txt");
            if (log == before) {
                // Refused, or nothing to save: a day view that could not read the log
                // leaves the panel empty, and the save asks for a weight.
                if (run.shows("保存エラー"))
                    ++refused;
                else
                    EXPECT_TRUE(run.shows("読み込みエラー") && run.shows("体重入力エラー"))
                        << where;
            } else {
                EXPECT_TRUE(isInsertion(log)) << where << "\n" << log;
                EXPECT_FALSE(run.shows("保存エラー")) << where;
                // A failed fsync or rename is part of a write: never silent.
                if (call == "fsync" || call == "rename") {
                    EXPECT_TRUE(run.shows("書き込み確認エラー")) << where;
                }
            }
            for (const Box& b : run.boxes) EXPECT_EQ(b.icon, "warning") << where;
            EXPECT_EQ(folder.fileNames(), names) << where;
        }
    }
    EXPECT_GT(refused, 0);  // the save's own reads were reached
}

// The weekly report printed into a PDF (no printer here) whose opening or writing fails:
// told, no PDF left behind, and every data file as it was.
TEST_F(InjectedFaults, AReportPdfThatCannotBeWrittenIsToldAndLeavesNoFile) {
    const std::string pdf = "週の平均_20261207_090000.pdf";
    TempFolder base;
    writeDiary(base);
    const FolderFiles before = topFiles(base);
    const auto counts = countCalls(base, "report", {pdf}, {"openat", "write"});
    if (HasFailure()) return;
    ASSERT_TRUE(base.exists(pdf)) << "the report went to a printer";
    EXPECT_EQ(base.readBytes(pdf).substr(0, 5), "%PDF-");

    for (const auto& [call, count] : counts) {
        ASSERT_GT(count, 0) << call;
        for (int n = 1; n <= count; ++n) {
            TempFolder folder;
            writeDiary(folder);
            const DriverRun run =
                drive(folder, "report", {pdf}, call + ":error=EIO:when=" + std::to_string(n),
                      "/dev/null", "openat,write");
            const std::string where = call + " #" + std::to_string(n) + ": " + run.describe();
            ASSERT_TRUE(run.exitedCleanly()) << where;
            ASSERT_EQ(run.boxes.size(), 2u) << where;
            EXPECT_EQ(run.boxes[0].title, "印刷確認") << where;
            EXPECT_EQ(run.boxes[1].icon, "warning") << where;
            EXPECT_EQ(run.boxes[1].title, "印刷エラー") << where;
            EXPECT_NE(run.boxes[1].text.find("PDFファイルを作成できませんでした"),
                      std::string::npos)
                << where;
            EXPECT_FALSE(folder.exists(pdf)) << where;
            EXPECT_EQ(topFiles(folder), before) << where;
        }
    }
}

TEST_F(InjectedFaults, SituationRenameChangesLogAndListTogether) {
    const std::vector<std::string> traced = {"データ1.txt",      "状況リスト.txt",
                                             "データＣＨＧ.txt", "状況リストＣＨＧ.txt",
                                             "書き換え途中.txt", "書き換え途中.txt.tmp"};
    TempFolder base;
    writeDiary(base);
    const std::string logBefore = base.readCp932("データ1.txt");
    const std::string listBefore = base.readCp932("状況リスト.txt");
    const auto names = base.fileNames();
    const auto counts = countCalls(base, "rename", traced);
    if (HasFailure()) return;
    const std::string logAfter = base.readCp932("データ1.txt");
    const std::string listAfter = base.readCp932("状況リスト.txt");
    ASSERT_EQ(listAfter, "\"朝ごはん前\"\r\n\"夕食後\"\r\n\"朝ごはん前\"\r\n");
    ASSERT_NE(logAfter.find("\"2026/12/06\",\"朝ごはん前\""), std::string::npos) << logAfter;

    int refused = 0;
    for (const auto& [call, count] : counts) {
        for (int n = 1; n <= count; ++n) {
            TempFolder folder;
            writeDiary(folder);
            const DriverRun run =
                drive(folder, "rename", traced, call + ":error=EIO:when=" + std::to_string(n));
            const std::string where = call + " #" + std::to_string(n) + ": " + run.describe();
            ASSERT_TRUE(run.exitedCleanly()) << where;
            const std::string log = folder.readCp932("データ1.txt");
            const std::string list = folder.readCp932("状況リスト.txt");
            if (log == logBefore && list == listBefore) {
                // Refused, or not offered: a list that could not be read shows no entry.
                ++refused;
                EXPECT_TRUE(run.shows("保存エラー") || run.shows("読み込みエラー")) << where;
                EXPECT_FALSE(run.shows("コメント変更終了")) << where;
            } else {
                EXPECT_EQ(log, logAfter) << where;
                EXPECT_EQ(list, listAfter) << where;
                EXPECT_TRUE(run.shows("コメント変更終了")) << where;
                EXPECT_FALSE(run.shows("保存エラー")) << where;
                if (call == "fsync" || call == "rename") {
                    EXPECT_TRUE(run.shows("書き込み確認エラー")) << where;
                }
            }
            EXPECT_EQ(folder.fileNames(), names) << where;
        }
    }
    EXPECT_GT(refused, 0);
}

// A failed fsync of the data folder itself (after a rename, or before the renames of a
// change of two files): never silent. The files as they were with a failure, or changed
// with the word that the disk did not confirm it.
TEST_F(InjectedFaults, AFailedFsyncOfTheFolderIsAlwaysTold) {
    for (const char* mode : {"insert", "rename"}) {
        TempFolder base;
        writeDiary(base);
        const FolderFiles before = topFiles(base);
        // The folder itself is traced ("" names it): only its own fsyncs are calls on it.
        const std::vector<std::string> traced = {""};
        const auto counts = countCalls(base, mode, traced, {"fsync"});
        if (HasFailure()) return;
        const FolderFiles after = topFiles(base);
        ASSERT_NE(after, before) << mode;
        const int count = counts[0].second;
        ASSERT_GT(count, 0) << mode;
        int unconfirmed = 0;
        for (int n = 1; n <= count; ++n) {
            TempFolder folder;
            writeDiary(folder);
            const DriverRun run =
                drive(folder, mode, traced, "fsync:error=EIO:when=" + std::to_string(n),
                      "/dev/null", "fsync");
            const std::string where =
                std::string(mode) + " folder fsync #" + std::to_string(n) + ": " + run.describe();
            ASSERT_TRUE(run.exitedCleanly()) << where;
            const FolderFiles now = topFiles(folder);
            if (now == before) {
                EXPECT_TRUE(run.shows("保存エラー")) << where;
            } else {
                EXPECT_EQ(now, after) << where;
                // A failed fsync of the start's daily backup is told by the backup's box.
                EXPECT_TRUE(run.shows("書き込み確認エラー") || run.shows("バックアップ")) << where;
                EXPECT_FALSE(run.shows("保存エラー")) << where;
                unconfirmed += run.shows("書き込み確認エラー") ? 1 : 0;
            }
        }
        EXPECT_GT(unconfirmed, 0) << mode;
    }
}

struct KilledChange {
    const char* mode;
    std::function<void(const TempFolder&)> lay;
    std::vector<std::string> traced;  // every file the change writes or renames
};

// The real program killed at each write, fsync, rename and removal of the files of a change
// of two files; the next start finishes it (saying so) or finds it never begun:
// the data files end all old or all new, with no intent or temporary file left.
TEST_F(InjectedFaults, KilledAtAnyStepTheNextStartEndsTheChangeWhole) {
    const std::vector<std::string> intent = {"書き換え途中.txt", "書き換え途中.txt.tmp"};
    const auto with = [&intent](std::vector<std::string> files) {
        files.insert(files.end(), intent.begin(), intent.end());
        return files;
    };
    const KilledChange changes[] = {
        {"newstart", writeDiary,
         with({"ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "データ1.txt", "ﾌﾟﾗｲﾍﾞｰﾄ1.txt.new", "データ1.txt.new",
               "バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_090000.txt",
               "バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_090000.txt.tmp",
               "バックアップ/データ1_20261207_090000.txt",
               "バックアップ/データ1_20261207_090000.txt.tmp"})},
        {"rename", writeDiary,
         with({"データ1.txt", "状況リスト.txt", "データＣＨＧ.txt", "状況リストＣＨＧ.txt"})},
        {"import",
         [](const TempFolder& folder) {
             writeDiary(folder);
             folder.writeCp932(
                 "連続体重.txt",
                 "\"2026/11/05\",\"起床後\",62.4\r\n\"2026/11/06\",\"夕食後\",62\r\n");
         },
         with({"連続体重.txt", "連続体重bak.txt", "データ1.txt", "データ変換.txt", "データbak.txt",
               "データbak.txt.new"})},
    };
    // Killed before an open that makes a file is the state killed at the step before it;
    // killed before the write into it, the state after it.
    const std::vector<std::string> kinds = {"write", "fsync", "rename", "unlink"};
    for (const KilledChange& change : changes) {
        TempFolder base;
        change.lay(base);
        const FolderFiles before = topFiles(base);
        const auto counts = countCalls(base, change.mode, change.traced, kinds);
        if (HasFailure()) return;
        const FolderFiles after = topFiles(base);
        ASSERT_NE(after, before) << change.mode;
        int finished = 0;
        for (const auto& [call, count] : counts) {
            for (int n = 1; n <= count; ++n) {
                TempFolder folder;
                change.lay(folder);
                const DriverRun killed = drive(folder, change.mode, change.traced,
                                               call + ":signal=KILL:when=" + std::to_string(n),
                                               "/dev/null", "openat,write,fsync,rename,unlink");
                const std::string where =
                    std::string(change.mode) + " killed at " + call + " #" + std::to_string(n);
                const bool halfWay = folder.exists("書き換え途中.txt");
                const DriverRun next = startAgain(folder);
                ASSERT_TRUE(next.exitedCleanly()) << where << ": " << next.describe();
                const FolderFiles now = topFiles(folder);
                EXPECT_TRUE(now == before || now == after) << where << ": " << next.describe();
                EXPECT_EQ(next.shows("データ復旧"), halfWay) << where << ": " << next.describe();
                EXPECT_FALSE(next.shows("データ復旧エラー")) << where;
                if (halfWay) ++finished;
                // No temporary file left in バックアップ/ either.
                std::error_code ec;
                for (std::filesystem::directory_iterator it(folder.path() / "バックアップ", ec),
                     end;
                     !ec && it != end; it.increment(ec))
                    EXPECT_NE(it->path().extension(), ".tmp") << where;
            }
        }
        EXPECT_GT(finished, 0) << change.mode;  // killed between the renames
    }
}

}  // namespace
}  // namespace pairly::testing
