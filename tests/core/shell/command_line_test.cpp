#include "core/shell/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::shell {
namespace {

using Action = CommandLine::Action;
using pairly::testing::TempFolder;

TEST(CommandLine, EachArgumentListItsActionFolderExitStatusAndOutput) {
    enum class Out { None, Version, Usage };
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::optional<std::string> folder;
        int status;
        Out out;
        std::string refusalNames;  // a text the refusal line must contain
    };
    const Case cases[] = {
        {{}, Action::Window, std::nullopt, 0, Out::None, ""},
        {{"データ"}, Action::Window, "データ", 0, Out::None, ""},
        {{"-"}, Action::Window, "-", 0, Out::None, ""},
        {{"--", "--version"}, Action::Window, "--version", 0, Out::None, ""},
        {{"--version"}, Action::Version, std::nullopt, 0, Out::Version, ""},
        {{"folder", "--version"}, Action::Version, "folder", 0, Out::Version, ""},
        {{"--version", "--bogus"}, Action::Version, std::nullopt, 0, Out::Version, ""},
        {{"--help"}, Action::Help, std::nullopt, 0, Out::Usage, ""},
        {{"-h", "x", "y"}, Action::Help, std::nullopt, 0, Out::Usage, ""},
        {{"--bogus"}, Action::Refused, std::nullopt, 2, Out::None, "--bogus"},
        {{"--bogus=3"}, Action::Refused, std::nullopt, 2, Out::None, "--bogus"},
        {{"-x", "--version"}, Action::Refused, std::nullopt, 2, Out::None, "-x"},
        {{"--version=2"}, Action::Refused, std::nullopt, 2, Out::None, "--version"},
        {{"one", "two"}, Action::Refused, std::nullopt, 2, Out::None, "two"},
        {{"--", "one", "two"}, Action::Refused, std::nullopt, 2, Out::None, "two"},
        {{""}, Action::Refused, std::nullopt, 2, Out::None, "データフォルダー"},
        {{"--export-csv"}, Action::Refused, std::nullopt, 2, Out::None, "--export-csv"},
        {{"--export-csv="}, Action::Refused, std::nullopt, 2, Out::None, "--export-csv"},
        {{"--import-csv", "a.csv"}, Action::Refused, std::nullopt, 2, Out::None, "--partner"},
        {{"--import-csv", "a.csv", "--partner", "3"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "--partner"},
        {{"--partner", "1"}, Action::Refused, std::nullopt, 2, Out::None, "--import-csv"},
        {{"--export-csv", "a", "--import-csv", "b", "--partner=1"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "一つだけ"},
        {{"d", "--import-csv", "--partner", "2"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "--import-csv には読み込むファイル"},
        {{"--export-csv", "--", "a"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "--export-csv には書き出すファイル"},
        {{"--import-csv", "a", "--partner", "--partner", "1"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "--partner には 1 か 2 を"},
        {{"--import-csv", "a", "--partner=1", "--partner=2"},
         Action::Refused,
         std::nullopt,
         2,
         Out::None,
         "--partner は一つだけ"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments) shown += "[" + a + "]";
        SCOPED_TRACE(shown);
        const CommandLine command = parseCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action);
        if (c.action != Action::Refused) {
            EXPECT_EQ(command.folder, c.folder);
        }

        std::ostringstream out, err;
        EXPECT_EQ(answerWithoutWindow(command, out, err), c.status);
        switch (c.out) {
            case Out::None:
                EXPECT_EQ(out.str(), "");
                break;
            case Out::Version:
                EXPECT_EQ(out.str(), versionLine() + "\n");
                break;
            case Out::Usage:
                EXPECT_EQ(out.str(), usageText());
                break;
        }
        if (c.action == Action::Refused) {
            const std::string line = err.str();
            EXPECT_EQ(line.rfind("pairlylog: ", 0), 0u) << line;
            EXPECT_NE(line.find(c.refusalNames), std::string::npos) << line;
            // Exactly one line.
            EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
        } else {
            EXPECT_EQ(err.str(), "");
        }
    }
}

TEST(CommandLine, TheExportAndTheImportTakeTheirFileAndPartner) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string file;
        int partner;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {{"--export-csv", "out.csv"}, Action::ExportCsv, "out.csv", 0, std::nullopt},
        {{"diary", "--export-csv=/tmp/x.csv"}, Action::ExportCsv, "/tmp/x.csv", 0, "diary"},
        {{"--import-csv", "in.csv", "--partner", "2"},
         Action::ImportCsv,
         "in.csv",
         2,
         std::nullopt},
        {{"--partner=1", "--import-csv", "-", "d"}, Action::ImportCsv, "-", 1, "d"},
    };
    for (const Case& c : cases) {
        const CommandLine command = parseCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action) << c.arguments[0];
        EXPECT_EQ(command.file, c.file);
        EXPECT_EQ(command.partner, c.partner);
        EXPECT_EQ(command.folder, c.folder);
    }
}

TEST(CommandLine, ExportAndImportRunInTheDataFolderWithOneLineEach) {
    TempFolder current, home;
    const fs::path data = current.path() / "diary";
    const auto run = [&](std::vector<std::string> arguments, std::string& out, std::string& err) {
        std::ostringstream o, e;
        const int status =
            runFileCommand(parseCommandLine(arguments), current.path(), home.path(), o, e);
        out = o.str();
        err = e.str();
        return status;
    };
    std::string out, err;
    // No data folder: nothing is made.
    EXPECT_EQ(run({"--export-csv", "out.csv"}, out, err), 1);
    EXPECT_NE(err.find("PairlyLog"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(home.path() / "PairlyLog"));

    fs::create_directory(data);
    ASSERT_TRUE(
        pairly::testing::rewriteLog(data, 1,
                                    {{"2026/12/01", "朝食前", 60.5f, 20, 0, 0, 0, 0, 0, "a, b", ""},
                                     {"2026/12/02", "朝食前", 60.1f, 20, 0, 0, 0, 0, 0, "", ""}}));
    EXPECT_EQ(run({"diary", "--export-csv", "out.csv"}, out, err), 0);
    EXPECT_EQ(out, "2 件の測定を " + (current.path() / "out.csv").string() + " に書き出しました\n");
    EXPECT_EQ(err, "");
    EXPECT_TRUE(current.exists("out.csv"));

    // Into a partner without a profile and a log: nobody to take them.
    fs::create_directory(current.path() / "other");
    EXPECT_EQ(run({"other", "--import-csv", "out.csv", "--partner", "1"}, out, err), 1);
    EXPECT_NE(err.find("一人目がまだ登録されていません"), std::string::npos) << err;
    EXPECT_FALSE(current.exists("other/データ1.txt"));
    // Into a partner registered without weighings: partner 1's rows of the file.
    ASSERT_TRUE(pairly::testing::saveProfile(current.path() / "other", 1, {"はなこ", 158, 50}));
    EXPECT_EQ(run({"other", "--import-csv", "out.csv", "--partner", "1"}, out, err), 0);
    EXPECT_EQ(out, "取り込み 2 件、スキップ 0 件\n");
    EXPECT_EQ(current.readBytes("other/データ1.txt"), current.readBytes("diary/データ1.txt"));
    EXPECT_EQ(run({"diary", "--import-csv", "out.csv", "--partner", "1"}, out, err), 0);
    EXPECT_EQ(out, "取り込み 0 件、スキップ 2 件\n");
    // The file holds no row of partner 2.
    ASSERT_TRUE(pairly::testing::saveProfile(data, 2, {"たろう", 172, 65}));
    EXPECT_EQ(run({"diary", "--import-csv", "out.csv", "--partner", "2"}, out, err), 1);
    EXPECT_NE(err.find("もう一人の測定が 2 件"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(data / "データ2.txt"));

    // A bad row: its line is named, nothing changes.
    current.writeBytes("bad.csv", "dateTime,weight\n01.12.2026 07:00,60\n32.12.2026 07:00,61\n");
    const std::string before = disk::readFileBytes(data, "データ1.txt").bytes;
    EXPECT_EQ(run({"diary", "--import-csv", "bad.csv", "--partner", "1"}, out, err), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("3 行目"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_EQ(run({"diary", "--import-csv", "none.csv", "--partner", "1"}, out, err), 1);
    EXPECT_EQ(disk::readFileBytes(data, "データ1.txt").bytes, before);
    // An export to a folder that does not exist.
    EXPECT_EQ(run({"diary", "--export-csv", "no/such/out.csv"}, out, err), 1);
    EXPECT_EQ(err.rfind("pairlylog: ", 0), 0u) << err;
}

// A hostile file to import is refused with its reason, and the data folder stays as it was.
TEST(CommandLine, AHostileFileToImportIsRefusedWithItsReasonAndNothingChanges) {
    TempFolder current, diary;
    ASSERT_TRUE(pairly::testing::rewriteLog(
        diary.path(), 1, {{"2026/12/01", "朝食前", 60.5f, 20, 0, 0, 0, 0, 0, "", ""}}));
    const std::string log = diary.readBytes("データ1.txt");
    const auto names = diary.fileNames();
    const fs::path in = current.path() / "in.csv";
    const auto write = [&](std::string bytes) {
        return [&in, bytes] { std::ofstream(in, std::ios::binary) << bytes; };
    };
    const std::string head = "日付,体重\n2026-12-01,60\n";
    const struct {
        std::function<void()> make;
        const char* says;
    } cases[] = {
        {write(head + "2026-12-02,7O.1\n"), "（3 行目）"},
        {write(head + "2026-12-02,\x81 \n"), "文字コード"},
        {write(head + std::string(disk::kMaxImportLineBytes + 1, ',') + "\n"), "3 行目が長すぎる"},
        {[&] { write(head)(), fs::resize_file(in, disk::kMaxFileBytes + 1); }, "大きすぎる"},
        {[&] { ::mkfifo(in.c_str(), 0644); }, "普通のファイルではありません"},
    };
    alarm(60);  // a FIFO that blocks fails the test instead of hanging the suite
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        fs::remove_all(in);
        c.make();
        std::ostringstream out, err;
        const auto command =
            parseCommandLine({diary.path().string(), "--import-csv", "in.csv", "--partner", "1"});
        EXPECT_EQ(runFileCommand(command, current.path(), {}, out, err), 1);
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(diary.readBytes("データ1.txt"), log);
        EXPECT_EQ(diary.fileNames(), names);
    }
    alarm(0);
}

TEST(CommandLine, TheVersionLineAndTheUsageSayWhatTheyShould) {
    EXPECT_TRUE(
        std::regex_match(versionLine(), std::regex("ペアリー☆ログ [0-9]+\\.[0-9]+\\.[0-9]+")))
        << versionLine();
    const std::string usage = usageText();
    for (const char* part : {"pairlylog [フォルダー]", "~/PairlyLog", "--version", "--help",
                             "--export-csv", "--import-csv", "--partner"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(usage.back(), '\n');
}

TEST(CommandLine, TheDataFolderFromTheArgumentTheFilesOfTheCurrentFolderOrHome) {
    enum class Want { Current, HomeFolder, Given };
    struct Case {
        const char* what;
        std::vector<std::string> present;  // in the current folder; a trailing "/" is a folder
        std::optional<std::string> argument;
        Want want;
        std::string given;  // Given: the expected path below the current folder, or absolute
    };
    const Case cases[] = {
        {"an empty folder", {}, std::nullopt, Want::HomeFolder, ""},
        {"partner 1's log", {"データ1.txt"}, std::nullopt, Want::Current, ""},
        {"partner 2's log spelt in capitals", {"データ2.TXT"}, std::nullopt, Want::Current, ""},
        {"a profile", {"ﾌﾟﾗｲﾍﾞｰﾄ1.txt"}, std::nullopt, Want::Current, ""},
        {"the other profile", {"ﾌﾟﾗｲﾍﾞｰﾄ2.Txt"}, std::nullopt, Want::Current, ""},
        {"the situation list", {"状況リスト.txt"}, std::nullopt, Want::Current, ""},
        {"the memo", {"気付きメモ.TXT"}, std::nullopt, Want::Current, ""},
        {"settings alone are no diary",
         {"設定.txt", "体重計刻み.txt", "移動平均.txt"},
         std::nullopt,
         Want::HomeFolder,
         ""},
        {"names that only look alike",
         {"データ3.txt", "データ１.txt", "データ1.txt.bak"},
         std::nullopt,
         Want::HomeFolder,
         ""},
        {"a folder named like a log", {"データ1.txt/"}, std::nullopt, Want::HomeFolder, ""},
        {"an argument wins over the files", {"データ1.txt"}, "mine", Want::Given, "mine"},
        {"a nested relative argument", {}, "a/../b/c/", Want::Given, "b/c"},
        {"the current folder as argument", {}, ".", Want::Current, ""},
        {"an absolute argument", {}, "/srv/diary", Want::Given, "/srv/diary"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder current, home;
        for (const std::string& name : c.present) {
            if (name.back() == '/') {
                std::filesystem::create_directory(current.path() / name.substr(0, name.size() - 1));
            } else {
                current.writeBytes(name, "x");
            }
        }
        const fs::path chosen = chooseDataFolder(c.argument, current.path(), home.path());
        switch (c.want) {
            case Want::Current:
                EXPECT_EQ(chosen, current.path());
                break;
            case Want::HomeFolder:
                EXPECT_EQ(chosen, home.path() / "PairlyLog");
                break;
            case Want::Given:
                EXPECT_EQ(chosen, fs::path(c.given).is_absolute() ? fs::path(c.given)
                                                                  : current.path() / c.given);
                break;
        }
    }
}

TEST(CommandLine, AFolderIsChosenEvenWhenTheCurrentOrTheHomeFolderIsNotKnown) {
    TempFolder current;
    EXPECT_EQ(chooseDataFolder(std::nullopt, current.path(), {}), current.path());
    EXPECT_EQ(chooseDataFolder(std::nullopt, {}, "/home/u"), fs::path("/home/u/PairlyLog"));
    EXPECT_EQ(chooseDataFolder(std::nullopt, {}, {}), fs::path("."));
    EXPECT_EQ(chooseDataFolder("rel", {}, {}), fs::path("rel"));
}

TEST(CommandLine, TheHomeFolderFromHomeOrElseThePasswordDatabase) {
    const char* saved = std::getenv("HOME");
    const std::string savedHome = saved ? saved : "";
    unsetenv("HOME");
    const fs::path fromDatabase = homeFolder();
    EXPECT_FALSE(fromDatabase.empty());
    setenv("HOME", "", 1);
    EXPECT_EQ(homeFolder(), fromDatabase);
    setenv("HOME", "/somewhere/else", 1);
    EXPECT_EQ(homeFolder(), fs::path("/somewhere/else"));
    if (saved) {
        setenv("HOME", savedHome.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

TEST(CommandLine, TheDataFolderIsMadeWhenMissingAndAFileInItsPlaceIsTold) {
    TempFolder root;
    root.writeBytes("a-file", "x");
    struct Case {
        fs::path folder;
        bool made;
    };
    const Case cases[] = {
        {root.path() / "PairlyLog", true},
        {root.path() / "deep" / "er" / "PairlyLog", true},
        {root.path(), true},
        {root.path() / "a-file", false},
        {root.path() / "a-file" / "below", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.string());
        std::string problem;
        EXPECT_EQ(makeDataFolder(c.folder, problem), c.made);
        if (c.made) {
            EXPECT_TRUE(fs::is_directory(c.folder));
            EXPECT_EQ(problem, "");
        } else {
            EXPECT_EQ(problem.rfind("pairlylog: ", 0), 0u) << problem;
            EXPECT_NE(problem.find(c.folder.string()), std::string::npos) << problem;
            EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
        }
    }
    EXPECT_EQ(root.readBytes("a-file"), "x");
}

}  // namespace
}  // namespace pairly::shell
