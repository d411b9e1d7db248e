// The change of several files: its intent file, written and read back (torn ones known as
// such), what a start does with each state a crash can leave, and which temporary files a
// start removes.
#include "core/disk/change_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/disk/codec.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::disk {
namespace {

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using Files = std::map<std::string, std::string>;

Files snapshot(const TempFolder& folder) {
    Files files;
    for (const auto& name : folder.fileNames()) files[name] = folder.readBytes(name);
    return files;
}

const std::string kOldLog = "\"2026/12/01\",\"朝食前\",60,20,1,2,3,4,5,\"\",\"\"\r\n";
const std::string kNewLog = "\"2026/12/01\",\"朝ごはん前\",60,20,1,2,3,4,5,\"\",\"\"\r\n";
const std::string kOldList = "朝食前\r\n";
const std::string kNewList = "\"朝ごはん前\"\r\n";

// A rename of a situation: the log and the list, each through its temporary file.
Intent renameIntent() {
    return Intent{
        "状況の変更（朝食前 → 朝ごはん前）",
        false,
        {{IntentStep::Kind::Replace, "データＣＨＧ.txt", "データ1.txt", FileStamp::of(kNewLog)},
         {IntentStep::Kind::Replace, "状況リストＣＨＧ.txt", "状況リスト.txt",
          FileStamp::of(kNewList)}}};
}

void writeIntent(const TempFolder& folder, const Intent& intent) {
    const auto bytes = intentFileBytes(intent);
    ASSERT_TRUE(bytes);
    folder.writeBytes(kIntentFile, *bytes);
}

TEST(IntentFile, ReadsBackAsWrittenAndATornOneIsKnown) {
    const Intent intent{
        "連続体重.txtのデータ変換",
        false,
        {{IntentStep::Kind::Move, "連続体重.txt", "連続体重bak.txt",
          FileStamp::of("\"2026/11/05\",\"起床後\",62.4\r\n")},
         {IntentStep::Kind::Replace, "データ変換.txt", "データ1.txt", FileStamp::of(kNewLog)},
         {IntentStep::Kind::Remove, "", "データbak.txt.new", FileStamp::of("")}}};
    const auto bytes = intentFileBytes(intent);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(parseIntentFile(*bytes), intent);
    const Intent undo{"新規スタート（一人目の登録）", true, {}};
    EXPECT_EQ(parseIntentFile(*intentFileBytes(undo)), undo);
    // CP932 text in the write form, one step a line.
    const std::string text = fromCp932(*bytes);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "\"書き換え途中\",\"連続体重.txtのデータ変換\",\"完了させる\"");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);

    // Cut short anywhere, it is no intent file: its renames had not begun.
    for (std::size_t n = 0; n < bytes->size(); ++n)
        EXPECT_EQ(parseIntentFile(bytes->substr(0, n)), std::nullopt) << n;
    // One byte changed, a line more, or bytes after the end: no intent file either.
    for (std::size_t i = 0; i < bytes->size(); i += 7) {
        std::string changed = *bytes;
        changed[i] = static_cast<char>(changed[i] ^ 0x01);
        EXPECT_EQ(parseIntentFile(changed), std::nullopt) << i;
    }
    EXPECT_EQ(parseIntentFile(*bytes + "x"), std::nullopt);
    EXPECT_EQ(parseIntentFile(*bytes + "\r\n"), std::nullopt);
    // The change a torn file was for, when its first line is whole.
    EXPECT_EQ(changeNamedIn(bytes->substr(0, 80)), "連続体重.txtのデータ変換");
    EXPECT_EQ(changeNamedIn(bytes->substr(0, 20)), "");
    EXPECT_EQ(changeNamedIn("\"他のファイル\",\"x\"\r\n"), "");
}

// Each state a crash (or a failure half way) can leave, and what a start makes of it.
TEST(FinishInterruptedChange, EveryStateEndsAllOldOrAllNew) {
    const Files oldFiles = {{"データ1.txt", kOldLog}, {"状況リスト.txt", kOldList}};
    const Files newFiles = {{"データ1.txt", kNewLog}, {"状況リスト.txt", kNewList}};
    using R = Recovery::Result;
    std::string torn = *intentFileBytes(renameIntent());
    torn.resize(torn.size() - 12);
    Intent undo = renameIntent();
    undo.undo = true;
    undo.steps = {
        {IntentStep::Kind::Replace, "データ1.txt.old", "データ1.txt", FileStamp::of(kOldLog)},
        {IntentStep::Kind::Remove, "", "状況リストＣＨＧ.txt", FileStamp::of(kNewList)}};
    const struct {
        const char* what;
        Files files;         // besides the intent file
        std::string intent;  // its bytes
        R result;
        Files after;
    } cases[] = {
        {"written, no rename yet",
         {{"データ1.txt", kOldLog},
          {"状況リスト.txt", kOldList},
          {"データＣＨＧ.txt", kNewLog},
          {"状況リストＣＨＧ.txt", kNewList}},
         *intentFileBytes(renameIntent()),
         R::Completed,
         newFiles},
        {"the log renamed",
         {{"データ1.txt", kNewLog},
          {"状況リスト.txt", kOldList},
          {"状況リストＣＨＧ.txt", kNewList}},
         *intentFileBytes(renameIntent()),
         R::Completed,
         newFiles},
        {"both renamed, the intent file left", newFiles, *intentFileBytes(renameIntent()),
         R::Completed, newFiles},
        {"a torn intent file",
         {{"データ1.txt", kOldLog},
          {"状況リスト.txt", kOldList},
          {"データＣＨＧ.txt", kNewLog},
          {"状況リストＣＨＧ.txt", kNewList}},
         torn,
         R::NotBegun,
         oldFiles},
        {"dropped before its renames, its temporary files gone", oldFiles,
         *intentFileBytes(renameIntent()), R::NotBegun, oldFiles},
        {"being taken back",
         {{"データ1.txt", kNewLog},
          {"状況リスト.txt", kOldList},
          {"データ1.txt.old", kOldLog},
          {"状況リストＣＨＧ.txt", kNewList}},
         *intentFileBytes(undo),
         R::Undone,
         oldFiles},
        {"taken back, the intent file left", oldFiles, *intentFileBytes(undo), R::Undone, oldFiles},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        for (const auto& [name, bytes] : c.files) folder.writeBytes(name, bytes);
        folder.writeBytes(kIntentFile, c.intent);
        const auto recovery = finishInterruptedChange(folder.path());
        ASSERT_TRUE(recovery) << c.what;
        EXPECT_EQ(recovery->result, c.result) << c.what;
        EXPECT_EQ(recovery->change, "状況の変更（朝食前 → 朝ごはん前）") << c.what;
        EXPECT_EQ(snapshot(folder), c.after) << c.what;
    }
    // Nothing to do: no message.
    TempFolder clean;
    clean.writeBytes("データ1.txt", kOldLog);
    EXPECT_EQ(finishInterruptedChange(clean.path()), std::nullopt);
}

// Where a step was made by half (one file new, its partner neither new nor waiting), or
// the intent file cannot be read, nothing is touched and the start says so.
TEST(FinishInterruptedChange, WhatCannotBeFinishedIsLeftAsItIs) {
    TempFolder folder;
    const Files files = {{"データ1.txt", kNewLog}, {"状況リスト.txt", "他の窓の一覧\r\n"}};
    for (const auto& [name, bytes] : files) folder.writeBytes(name, bytes);
    writeIntent(folder, renameIntent());
    const Files before = snapshot(folder);
    auto recovery = finishInterruptedChange(folder.path());
    ASSERT_TRUE(recovery);
    EXPECT_EQ(recovery->result, Recovery::Result::Failed);
    EXPECT_EQ(snapshot(folder), before);

    {
        auto fail = InjectFaults::always({fileops::Op::Read});
        recovery = finishInterruptedChange(folder.path());
    }
    ASSERT_TRUE(recovery);
    EXPECT_EQ(recovery->result, Recovery::Result::Failed);
    EXPECT_EQ(snapshot(folder), before);
}

TEST(FinishInterruptedChange, EachResultHasItsMessage) {
    using R = Recovery::Result;
    const struct {
        Recovery recovery;
        const char* title;
        bool warning;
        const char* says;
    } cases[] = {
        {{R::Completed, "新規スタート（一人目の登録）"},
         "データ復旧",
         false,
         "前回、「新規スタート（一人目の登録）」の途中でプログラムが終わっていました。\n"
         "残っていた書き換えを済ませて、変更を完了しました。"},
        {{R::Undone, "状況の変更（朝 → 夜）"}, "データ復旧", false, "取り消しを済ませました。"},
        {{R::NotBegun, ""}, "データ復旧", false, "前回、ファイルの変更の途中で"},
        {{R::Failed, "x"}, "データ復旧エラー", true, "書き換え途中.txt"},
    };
    for (const auto& c : cases) {
        const RecoveryNotice notice = recoveryNotice(c.recovery);
        EXPECT_EQ(notice.title, c.title);
        EXPECT_EQ(notice.warning, c.warning);
        EXPECT_NE(notice.text.find(c.says), std::string::npos) << notice.text;
    }
}

TEST(ChangeFiles, RefusesFilesChangedSinceTheyWereReadAndFinishesALeftOverChangeFirst) {
    TempFolder folder;
    folder.writeBytes("データ1.txt", kOldLog);
    folder.writeBytes("状況リスト.txt", kOldList);
    const FileBytes log = readFileBytes(folder.path(), "データ1.txt");
    FileBytes list = readFileBytes(folder.path(), "状況リスト.txt");
    const auto steps = [&] {
        return std::vector<FileStep>{
            FileStep::replace("データ1.txt", kNewLog, "データＣＨＧ.txt", log),
            FileStep::replace("状況リスト.txt", kNewList, "状況リストＣＨＧ.txt", list)};
    };
    // Another window wrote the list in between.
    folder.writeBytes("状況リスト.txt", "散歩後\r\n");
    ChangeOutcome outcome = changeFiles(folder.path(), "状況の変更", steps());
    EXPECT_EQ(outcome.status, WriteStatus::Stale);
    EXPECT_EQ(outcome.file, "状況リスト.txt");
    EXPECT_EQ(snapshot(folder),
              (Files{{"データ1.txt", kOldLog}, {"状況リスト.txt", "散歩後\r\n"}}));

    // A change left half way goes first; a torn one (a start has not seen it yet) stops
    // any other.
    folder.writeBytes("状況リスト.txt", kOldList);
    list = readFileBytes(folder.path(), "状況リスト.txt");
    std::string torn = *intentFileBytes(renameIntent());
    folder.writeBytes(kIntentFile, torn.substr(0, 30));
    outcome = changeFiles(folder.path(), "状況の変更", steps());
    EXPECT_EQ(outcome.status, WriteStatus::WriteFailed);
    EXPECT_EQ(outcome.pending, PendingChange::Completion);
    writeIntent(folder, Intent{"前の変更", false, {}});
    outcome = changeFiles(folder.path(), "状況の変更", steps());
    EXPECT_EQ(outcome.status, WriteStatus::Ok);
    EXPECT_EQ(snapshot(folder), (Files{{"データ1.txt", kNewLog}, {"状況リスト.txt", kNewList}}));
}

TEST(LeftoverTemporaries, OnlyTheProgramsOwnNamesAreRemoved) {
    const struct {
        const char* name;
        bool temporary;
    } dataFolder[] = {
        {"データ1.txt.tmp", true},
        {"データ1.TXT.tmp", true},
        {"ﾌﾟﾗｲﾍﾞｰﾄ2.txt.new", true},
        {"状況リスト.txt.old", true},
        {"マーカー.TXT.tmp", true},
        {"書き換え途中.txt.tmp", true},
        {"データコピー.txt", true},
        {"データＣＨＧ.txt", true},
        {"状況リストＣＨＧ.txt", true},
        {"データ変換.txt", true},
        {"データbak.txt.new", true},
        {"連続体重bak3.txt.new", true},
        {"データ1.txt", false},
        {"データbak.txt", false},
        {"連続体重.txt", false},
        {"データ3.txt.tmp", false},
        {"メモ.txt.tmp", false},
        {"データ1.txt.tmp.txt", false},
        {"データ1.txt.bak", false},
        {".tmp", false},
        {"データ1_20261207_070509.txt.tmp", false},  // a backup's name, in the data folder
        {"書き換え途中.txt", false},
        {"データコピー.txt.txt", false},
    };
    for (const auto& c : dataFolder) EXPECT_EQ(isProgramTemporary(c.name), c.temporary) << c.name;
    const struct {
        const char* name;
        bool temporary;
    } backups[] = {
        {"データ1_20261207_070509.txt.tmp", true},
        {"ﾌﾟﾗｲﾍﾞｰﾄ2_20270131_235959_2.txt.tmp", true},
        {"データ2_修復前.txt.tmp", true},
        {"データ1_修復前_3.TXT.tmp", true},
        {"データ1_20261207_070509.txt", false},
        {"データ1_2026127_070509.txt.tmp", false},
        {"メモ_20261207_070509.txt.tmp", false},
        {"データ1.txt.tmp", false},
        {"データ1_20261207_070509.txt.tmp.tmp", false},
        {"大事なファイル.tmp", false},
    };
    for (const auto& c : backups) EXPECT_EQ(isBackupTemporary(c.name), c.temporary) << c.name;

    TempFolder folder;
    std::filesystem::create_directory(folder.path() / kBackupFolder);
    for (const auto& c : dataFolder) folder.writeBytes(c.name, "x");
    for (const auto& c : backups) folder.writeBytes(std::string(kBackupFolder) + "/" + c.name, "x");
    // A folder with a temporary file's name is no file to remove.
    std::filesystem::create_directory(folder.path() / "気付きメモ.txt.tmp");
    const auto removed = removeLeftoverTemporaries(folder.path());
    for (const auto& c : dataFolder) EXPECT_EQ(folder.exists(c.name), !c.temporary) << c.name;
    for (const auto& c : backups)
        EXPECT_EQ(folder.exists(std::string(kBackupFolder) + "/" + c.name), !c.temporary) << c.name;
    EXPECT_TRUE(folder.exists("気付きメモ.txt.tmp"));
    EXPECT_EQ(removed.size(), 16u);
}

}  // namespace
}  // namespace pairly::disk
