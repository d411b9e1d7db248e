// Import of the predecessor program's data on CP932 files written by the tests.
#include "core/exchange/predecessor_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::exchange {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Names = std::vector<std::string>;

// Answers from a queue (empty = cancel once it runs out) and a record of every box.
class ScriptedPrompter : public ImportPrompter {
public:
    explicit ScriptedPrompter(std::deque<std::string> answers = {})
        : answers_(std::move(answers)) {}
    std::string ask(const std::string& prompt, const std::string& title) override {
        asked.push_back(title + "|" + prompt);
        if (answers_.empty()) return "";
        std::string a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void warn(const std::string& text, const std::string& title) override {
        warned.push_back(title + "|" + text);
    }
    void inform(const std::string& text, const std::string& title) override {
        informed.push_back(title + "|" + text);
    }
    // Yes unless a No is queued.
    bool confirm(const std::string& text, const std::string& title) override {
        confirmed.push_back(title + "|" + text);
        if (yesNo.empty()) return true;
        const bool yes = yesNo.front();
        yesNo.pop_front();
        return yes;
    }
    Names asked, warned, informed, confirmed;
    std::deque<bool> yesNo;

private:
    std::deque<std::string> answers_;
};

// Body fat (or basal metabolism for the second edition) first, then the rest in order.
const std::deque<std::string> kSixAnswers = {"25.5", "1350.5", "9", "44.8", "4", "2.7"};
const std::deque<std::string> kFiveAnswers = {"1351.5", "9", "44.8", "4", "2.7"};

// A current-format line, as the program writes it.
std::string line(const std::string& date, const std::string& situation, const std::string& values,
                 const std::string& comment = "", const std::string& reserved = "") {
    return "\"" + date + "\",\"" + situation + "\"," + values + ",\"" + comment + "\",\"" +
           reserved + "\"\r\n";
}

const std::string kWeightOnly =
    "\"2003/01/05\",\"起床後\",62.4\r\n"
    "\"2003/01/06\",\"夕食後\",62\r\n"
    "\"2003/01/06\",\"入浴後\",61.85\r\n";
// First edition: old fields 4, 5 and 6 are texts.
const std::string kFirstEdition =
    "\"2004/03/01\",\"朝食前\",60.5,\"晴れ, 快調\",\"x\",\"予備\"\r\n"
    "\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n";
// Second edition: old field 5 is the body fat, a bare number.
const std::string kSecondEditionFirst = "\"2005/07/10\",\"起床後\",58.3,\"メモ\",22.5,\"r\"\r\n";
const std::string kSecondEdition =
    kSecondEditionFirst + "\"2005/07/11\",\"起床後\",58.1,\"\",22.4,\"\"\r\n";

TEST(PredecessorImport, TellsTheLayoutByTheFirstLine) {
    struct Case {
        std::string content;
        store::LogLayout expected;
    } cases[] = {
        {"", store::LogLayout::Unknown},
        {"\r\n", store::LogLayout::Unknown},
        {"\"2026/12/01\",\"a\",60", store::LogLayout::Unknown},
        {line("2026/12/01", "a", "60,20,1400,8,45,5,2.8"), store::LogLayout::Current},
        // A start record with 0 in basal metabolism and muscle mass is still current data.
        {line("2026/12/01", "スタート", "60,20,0,0,0,0,0"), store::LogLayout::Current},
        {line("2026/12/01", "a,b", "60,20,0,0,0,0,0", "c,d"), store::LogLayout::Current},
        {"\"2004/03/01\",\"朝食前\",60.5,\"\",\"\",\"\"\r\n", store::LogLayout::FirstEdition},
        {kFirstEdition, store::LogLayout::FirstEdition},
        // One record or many: the second record's date is never taken for a field.
        {"\"2005/07/10\",\"起床後\",58.3,\"\",22.5,\"\"\r\n", store::LogLayout::SecondEdition},
        {kSecondEdition + kSecondEdition, store::LogLayout::SecondEdition},
        {"\"2005/07/10\",\"起床後\",58.3,\"\", 22.5 ,\"\"", store::LogLayout::SecondEdition},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store::logLayoutOfFirstLine(c.content), c.expected) << c.content;
}

TEST(PredecessorImport, CurrentMissingEmptyOrShortLogsAskNothing) {
    const char* logs[] = {nullptr, "", "\"2026/12/01\",\"a\"\r\n",
                          "\"2026/12/01\",\"スタート\",60,20,0,0,0,0,0,\"\",\"\"\r\n"};
    for (const char* log : logs) {
        TempFolder folder;
        if (log) folder.writeCp932("データ1.txt", log);
        const Names before = folder.fileNames();
        ScriptedPrompter prompter({"1", "2", "3", "4", "5", "6"});
        runPredecessorImport(folder.path(), prompter);
        EXPECT_TRUE(prompter.asked.empty()) << (log ? log : "(none)");
        EXPECT_EQ(folder.fileNames(), before);
        if (log) {
            EXPECT_EQ(folder.readCp932("データ1.txt"), log);
        }
    }
}

// A log that is there but cannot be read may be old data: the check says that it could not
// look, asks nothing, changes nothing, and looks again at the next start. A folder in its
// place is no file at all: start-up names it once, so the check says nothing of it.
TEST(PredecessorImport, ALogThatCannotBeReadIsToldNotSkipped) {
    const struct {
        const char* what;
        std::function<void(const TempFolder&)> lay;
        long failingRead;
    } cases[] = {
        {"a folder in its place",
         [](const TempFolder& f) { std::filesystem::create_directory(f.path() / "データ1.txt"); },
         0},
        {"a read error", [](const TempFolder& f) { f.writeCp932("データ1.txt", kFirstEdition); },
         1},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        c.lay(folder);
        const Names before = folder.fileNames();
        ScriptedPrompter prompter(kSixAnswers);
        {
            auto fail = c.failingRead ? InjectFaults::always({disk::fileops::Op::Read})
                                      : InjectFaults::once(1000000);
            runPredecessorImport(folder.path(), prompter);
        }
        EXPECT_TRUE(prompter.asked.empty()) << c.what;
        if (!c.failingRead) {
            EXPECT_TRUE(prompter.warned.empty()) << c.what;
            EXPECT_EQ(folder.fileNames(), before) << c.what;
            continue;
        }
        ASSERT_EQ(prompter.warned.size(), 1u) << c.what;
        EXPECT_EQ(prompter.warned[0],
                  "読み込みエラー|データ1.txt を読み込めませんでした。\n"
                  "以前のプログラムのデータかどうかを確かめられなかったため、次回の起動時にもう一度"
                  "確かめます。\n"
                  "読み込めた分だけを表示しています。ファイルとディスクの状態を確認してください。");
        EXPECT_EQ(folder.fileNames(), before) << c.what;
    }
}

TEST(PredecessorImport, WeightOnlyFileBecomesPartnerOnesLog) {
    TempFolder folder;
    folder.writeCp932("連続体重.txt", kWeightOnly);
    const std::string sourceBytes = folder.readBytes("連続体重.txt");
    ScriptedPrompter prompter(kSixAnswers);
    runPredecessorImport(folder.path(), prompter);

    ASSERT_EQ(prompter.asked.size(), 6u);
    EXPECT_EQ(prompter.asked[0],
              "データ変換および体脂肪率確認|連続体重.txtを検出しました。\n\n"
              "変換する場合は現在の体脂肪率を入力してください。");
    EXPECT_EQ(prompter.asked[1], "基礎代謝量確認|現在の基礎代謝量を入力してください。");
    EXPECT_EQ(prompter.asked[2], "内臓脂肪レベル確認|現在の内臓脂肪レベルを入力してください。");
    EXPECT_EQ(prompter.asked[3], "筋肉量確認|現在の筋肉量を入力してください。");
    EXPECT_EQ(prompter.asked[4], "筋肉スコア確認|現在の筋肉スコアを入力してください。");
    EXPECT_EQ(prompter.asked[5], "骨量確認|現在の骨量を入力してください。");
    // 1350.5 rounds to the even 1350; comment and reserved field are empty.
    const std::string values = "25.5,1350,9,44.8,4,2.7";
    EXPECT_EQ(folder.readCp932("データ1.txt"), line("2003/01/05", "起床後", "62.4," + values) +
                                                   line("2003/01/06", "夕食後", "62," + values) +
                                                   line("2003/01/06", "入浴後", "61.85," + values));
    EXPECT_EQ(folder.readBytes("連続体重bak.txt"), sourceBytes);
    EXPECT_EQ(folder.fileNames(), (Names{"データ1.txt", "連続体重bak.txt"}));
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_TRUE(prompter.warned.empty());

    // The next start finds nothing to import.
    ScriptedPrompter again(kSixAnswers);
    runPredecessorImport(folder.path(), again);
    EXPECT_TRUE(again.asked.empty());
}

TEST(PredecessorImport, WeightOnlyImportKeepsTheLogItReplaces) {
    TempFolder folder;
    folder.writeCp932("連続体重.txt", kWeightOnly);
    folder.writeCp932("データ1.TXT", line("2026/12/01", "起床後", "60,20,1400,8,45,5,2.8"));
    folder.writeCp932("データbak.txt", kFirstEdition);  // from an earlier import: kept
    folder.writeCp932("連続体重bak.txt", "\"2002/01/01\",\"a\",70\r\n");
    const std::string logBytes = folder.readBytes("データ1.TXT");
    ScriptedPrompter prompter(kSixAnswers);
    EXPECT_EQ(importWeightOnlyFile(folder.path(), prompter), ImportResult::Converted);
    EXPECT_EQ(folder.fileNames(), (Names{"データ1.TXT", "データbak.txt", "データbak2.txt",
                                         "連続体重bak.txt", "連続体重bak2.txt"}));
    EXPECT_EQ(folder.readBytes("データbak2.txt"), logBytes);
    // The box names the name the log is kept under.
    EXPECT_EQ(
        prompter.confirmed,
        Names{"データ変換確認|データ1.txt の記録（1件）を連続体重.txtのデータで置き換えます。\n"
              "それまでのデータは データbak2.txt に残します。\nよろしいですか？"});
    EXPECT_EQ(folder.readCp932("データbak.txt"), kFirstEdition);
    EXPECT_EQ(folder.readCp932("連続体重bak2.txt"), kWeightOnly);
    EXPECT_EQ(folder.readCp932("データ1.TXT").substr(0, 14), "\"2003/01/05\",\"");
}

// Before the weight-only file replaces a log that holds weighings, a Yes/No box asks; No
// declines like a cancelled question: nothing changes, and the next start asks again.
TEST(PredecessorImport, AYesNoBoxBeforeTheWeightOnlyFileReplacesWeighings) {
    const std::string two = line("2026/12/01", "a", "60,20,1400,8,45,5,2.8") +
                            line("2026/12/02", "b", "60,20,1400,8,45,5,2.8");
    const struct {
        const char* name;
        std::optional<std::string> log;
        int held;  // the count the box names; 0: no box
        bool yes;
    } cases[] = {
        {"no log", std::nullopt, 0, false},
        {"an empty log", "", 0, false},
        {"blank lines", "\r\n  \r\n", 0, false},
        {"two weighings, Yes", two, 2, true},
        {"two weighings, No", two, 2, false},
        {"a damaged line counts", two + "\"2026/12/03\",\"x\"\r\n\r\n", 3, true},
        {"a log in the old layout", kFirstEdition, 2, false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeCp932("連続体重.txt", kWeightOnly);
        if (c.log) folder.writeCp932("データ1.txt", *c.log);
        std::map<std::string, std::string> before;
        for (const auto& name : folder.fileNames()) before[name] = folder.readBytes(name);
        ScriptedPrompter prompter(kSixAnswers);
        prompter.yesNo = {c.yes};
        const ImportResult result = importWeightOnlyFile(folder.path(), prompter);
        EXPECT_EQ(prompter.asked.size(), 6u) << c.name;  // the values first, then the box
        if (c.held == 0) {
            EXPECT_TRUE(prompter.confirmed.empty()) << c.name;
        } else {
            ASSERT_EQ(prompter.confirmed.size(), 1u) << c.name;
            EXPECT_EQ(prompter.confirmed[0],
                      "データ変換確認|データ1.txt の記録（" + std::to_string(c.held) +
                          "件）を連続体重.txtのデータで置き換えます。\n"
                          "それまでのデータは データbak.txt に残します。\nよろしいですか？")
                << c.name;
        }
        std::map<std::string, std::string> after;
        for (const auto& name : folder.fileNames()) after[name] = folder.readBytes(name);
        if (c.held > 0 && !c.yes) {
            EXPECT_EQ(result, ImportResult::Declined) << c.name;
            EXPECT_EQ(after, before) << c.name;
            EXPECT_TRUE(prompter.informed.empty()) << c.name;
            ScriptedPrompter again(kSixAnswers);
            again.yesNo = {true};
            EXPECT_EQ(importWeightOnlyFile(folder.path(), again), ImportResult::Converted)
                << c.name;
            EXPECT_EQ(again.confirmed.size(), 1u) << c.name;
            continue;
        }
        EXPECT_EQ(result, ImportResult::Converted) << c.name;
        EXPECT_EQ(folder.readCp932("データ1.txt").substr(0, 14), "\"2003/01/05\",\"") << c.name;
        if (c.log && !c.log->empty()) {
            EXPECT_EQ(after.at("データbak.txt"), before.at("データ1.txt")) << c.name;
        }
    }
}

// Old data of as many records as a log holds is converted; one more is refused with the
// limit named, every file as it was, for the weight-only file and the first edition.
TEST(PredecessorImport, AsManyRecordsAsALogHoldsAndNoMore) {
    struct Case {
        const char* file;
        const char* oldLine;
        int records;
        bool converted;
    } cases[] = {
        {"連続体重.txt", "\"2003/01/05\",\"起床後\",62.4\r\n", store::kMaxRecords, true},
        {"連続体重.txt", "\"2003/01/05\",\"起床後\",62.4\r\n", store::kMaxRecords + 1, false},
        {"データ1.txt", "\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n", store::kMaxRecords,
         true},
        {"データ1.txt", "\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n", store::kMaxRecords + 1,
         false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        std::string old;
        for (int i = 0; i < c.records; ++i) old += c.oldLine;
        folder.writeCp932(c.file, old);
        const std::string oldBytes = folder.readBytes(c.file);
        ScriptedPrompter prompter(kSixAnswers);
        runPredecessorImport(folder.path(), prompter);
        const std::string what = std::string(c.file) + " " + std::to_string(c.records);
        if (c.converted) {
            EXPECT_TRUE(prompter.warned.empty()) << what;
            const auto log = disk::fromCp932(folder.readBytes("データ1.txt"));
            EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c.records) << what;
        } else {
            ASSERT_EQ(prompter.warned.size(), 1u) << what;
            EXPECT_NE(prompter.warned[0].find("32766"), std::string::npos) << what;
            EXPECT_EQ(folder.fileNames(), Names{c.file}) << what;
            EXPECT_EQ(folder.readBytes(c.file), oldBytes) << what;
        }
    }
}

TEST(PredecessorImport, FirstEditionConvertedAndKeptAsBackup) {
    TempFolder folder;
    // The first record's bytes written out, as the old program left them.
    const std::string oldBytes =
        "\"2004/03/01\",\"\x92\xa9\x90\x48\x91\x4f\",60.5,\"\x90\xb0\x82\xea, \x89\xf5\x92\xb2\","
        "\"x\",\"\x97\x5c\x94\xf5\"\r\n" +
        *disk::toCp932("\"2004/03/02\",\"夕食後\",60.1,\"\",\"\",\"\"\r\n");
    ASSERT_EQ(disk::fromCp932(oldBytes), kFirstEdition);
    folder.writeBytes("データ1.txt", oldBytes);
    ScriptedPrompter prompter(kSixAnswers);
    runPredecessorImport(folder.path(), prompter);

    ASSERT_EQ(prompter.asked.size(), 6u);
    EXPECT_EQ(prompter.asked[0],
              "データ変換および体脂肪率確認|ルンルン☆ログのデータを検出しました。\n\n"
              "変換する場合は現在の体脂肪率を入力してください。");
    const std::string values = "25.5,1350,9,44.8,4,2.7";
    // Old field 4 is the comment, old field 6 the reserved field; field 5 is dropped.
    EXPECT_EQ(folder.readCp932("データ1.txt"),
              line("2004/03/01", "朝食前", "60.5," + values, "晴れ, 快調", "予備") +
                  line("2004/03/02", "夕食後", "60.1," + values));
    EXPECT_EQ(folder.readBytes("データbak.txt"), oldBytes);
    EXPECT_EQ(folder.fileNames(), (Names{"データ1.txt", "データbak.txt"}));
}

TEST(PredecessorImport, SecondEditionKeepsItsBodyFat) {
    for (const std::string& old : {kSecondEditionFirst, kSecondEdition}) {
        TempFolder folder;
        folder.writeCp932("データ1.txt", old);
        ScriptedPrompter prompter(kFiveAnswers);
        runPredecessorImport(folder.path(), prompter);
        ASSERT_EQ(prompter.asked.size(), 5u) << old;
        EXPECT_EQ(prompter.asked[0],
                  "基礎代謝量確認|ルンルン☆ログ+のデータを検出しました。\n\n"
                  "変換する場合は現在の基礎代謝量を入力してください。");
        EXPECT_EQ(prompter.asked[1], "内臓脂肪レベル確認|現在の内臓脂肪レベルを入力してください。");
        const std::string first =
            line("2005/07/10", "起床後", "58.3,22.5,1352,9,44.8,4,2.7", "メモ", "r");
        EXPECT_EQ(folder.readCp932("データ1.txt"),
                  old.size() == kSecondEdition.size()
                      ? first + line("2005/07/11", "起床後", "58.1,22.4,1352,9,44.8,4,2.7")
                      : first);
        EXPECT_EQ(folder.readCp932("データbak.txt"), old);
    }
}

TEST(PredecessorImport, CancelledAnswersChangeNothing) {
    struct Case {
        const char* file;
        std::string content;
        std::deque<std::string> answers;  // runs out at the question to cancel
    } cases[] = {
        {"連続体重.txt", kWeightOnly, {}},
        {"連続体重.txt", kWeightOnly, {"25", "1400"}},
        {"データ1.txt", kFirstEdition, {"25", "1400"}},
        {"データ1.txt", kSecondEdition, {"1400", "9", "44", "4"}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        folder.writeCp932(c.file, c.content);
        folder.writeCp932("データ2.txt", line("2026/12/01", "a", "70,20,1600,10,55,8,3.1"));
        std::map<std::string, std::string> before;
        for (const auto& name : folder.fileNames()) before[name] = folder.readBytes(name);
        ScriptedPrompter prompter(c.answers);
        runPredecessorImport(folder.path(), prompter);
        EXPECT_EQ(prompter.asked.size(), c.answers.size() + 1) << c.file;
        std::map<std::string, std::string> after;
        for (const auto& name : folder.fileNames()) after[name] = folder.readBytes(name);
        EXPECT_EQ(after, before) << c.file;
    }
}

TEST(PredecessorImport, AnswersThatAreNoNumbersAreAskedAgain) {
    struct Case {
        ImportMeasure measure;
        std::string answer;
        const char* problem;  // nullptr: taken
    } cases[] = {
        {ImportMeasure::BodyFat, "abc", "数値を半角数字で入力してください。"},
        {ImportMeasure::BodyFat, "２５", "数値を半角数字で入力してください。"},
        {ImportMeasure::BodyFat, "-", "数値を半角数字で入力してください。"},
        {ImportMeasure::BodyFat, " 25.5%", nullptr},
        {ImportMeasure::BodyFat, ".5", nullptr},
        {ImportMeasure::BoneMass, "1" + std::string(60, '0'), "数値が大きすぎます。"},
        {ImportMeasure::BasalMetabolism, "32767", nullptr},
        {ImportMeasure::BasalMetabolism, "32767.5", "-32768～32767 の整数を入力してください。"},
        {ImportMeasure::VisceralFat, "-32769", "-32768～32767 の整数を入力してください。"},
        {ImportMeasure::MuscleScore, "-32768", nullptr},
    };
    for (const Case& c : cases) {
        const auto problem = answerProblem(c.measure, c.answer);
        EXPECT_EQ(problem.value_or("taken"), c.problem ? c.problem : "taken") << c.answer;
    }

    TempFolder folder;
    folder.writeCp932("連続体重.txt", kWeightOnly);
    ScriptedPrompter prompter({"たくさん", "25.5", "1350", "9", "44.8", "70000", "4", "2.7"});
    runPredecessorImport(folder.path(), prompter);
    EXPECT_EQ(prompter.asked.size(), 8u);
    EXPECT_EQ(prompter.warned,
              (Names{"データ変換および体脂肪率確認|数値を半角数字で入力してください。",
                     "筋肉スコア確認|-32768～32767 の整数を入力してください。"}));
    EXPECT_EQ(folder.readCp932("データ1.txt")
                  .rfind(line("2003/01/05", "起床後", "62.4,25.5,1350,9,44.8,4,2.7"), 0),
              0u);
}

// Every write step of an import failing in turn: the log and the old data are each
// complete as they were or as converted, a backup exists only next to a converted log,
// and no temporary file is left.
TEST(PredecessorImport, FailedStepsLeaveEveryFileOldOrNew) {
    struct Case {
        const char* file;
        std::string content;
        std::deque<std::string> answers;
    } cases[] = {
        {"連続体重.txt", kWeightOnly, kSixAnswers},
        {"データ1.txt", kFirstEdition, kSixAnswers},
        {"データ1.txt", kSecondEdition, kFiveAnswers},
    };
    for (const Case& c : cases) {
        const auto lay = [&c](const TempFolder& folder) {
            folder.writeCp932(c.file, c.content);
            if (std::string(c.file) != "データ1.txt")
                folder.writeCp932("データ1.txt", line("2026/12/01", "a", "60,20,1,2,3,4,5"));
        };
        std::map<std::string, std::string> before, after;
        {
            TempFolder folder;
            lay(folder);
            for (const auto& name : folder.fileNames()) before[name] = folder.readBytes(name);
            ScriptedPrompter prompter(c.answers);
            runPredecessorImport(folder.path(), prompter);
            for (const auto& name : folder.fileNames()) after[name] = folder.readBytes(name);
            ASSERT_NE(after, before);
        }
        for (long n = 1;; ++n) {
            TempFolder folder;
            lay(folder);
            ScriptedPrompter prompter(c.answers);
            long seen;
            {
                auto faults = InjectFaults::once(n);
                runPredecessorImport(folder.path(), prompter);
                seen = faults.seen();
            }
            std::map<std::string, std::string> now;
            for (const auto& name : folder.fileNames()) now[name] = folder.readBytes(name);
            if (seen < n) {
                EXPECT_EQ(now, after);
                break;
            }
            // Every fault is told: a failure with every file old (a failed read before the
            // questions asks nothing), or the conversion made with a word that the disk did
            // not confirm it (or that a later check could not read the log).
            EXPECT_FALSE(prompter.warned.empty()) << c.file << " fault " << n << " went untold";
            if (now != after) {
                EXPECT_EQ(now, before) << c.file << " fault " << n;
                EXPECT_TRUE(prompter.informed.empty()) << c.file << " fault " << n;
                EXPECT_EQ(prompter.warned.size(), 1u) << n;
            }
        }
    }
}

}  // namespace
}  // namespace pairly::exchange
