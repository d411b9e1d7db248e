#include "core/memo/comment_table.h"

#include <gtest/gtest.h>

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::memo {
namespace {

std::vector<std::string> texts(const CommentRow& row) {
    std::vector<std::string> out;
    for (const text::Cell& cell : row.cells) out.push_back(cell.formatted());
    return out;
}

using pairly::testing::InjectFaults;
using pairly::testing::TempFolder;
using store::MeasurementRecord;

MeasurementRecord rec(const char* date, float weight, const char* comment = "") {
    return {date, "朝食前", weight, 22.5f, 1400, 8, 45.3f, 5, 2.8f, comment, ""};
}

TEST(CommentTable, DifferencesAndArrowsFollowTheUnroundedDifference) {
    const std::vector<MeasurementRecord> log = {
        rec("2026/12/01", 65.3f), rec("2026/12/01", 65.32f), rec("2026/12/02", 65.32f),
        rec("2026/12/02", 65.1f), rec("2026/12/03", 65.08f), rec("2026/12/03", 66.0f),
        rec("2026/12/04", 0.0f),  rec("2026/12/04", 64.0f),
    };
    const struct {
        const char* difference;
        WeightChange change;
        const char* arrow;
    } expected[] = {
        {"0.0", WeightChange::Same, "→"},  // the first row
        {"0.0", WeightChange::Rise, "↑"},  // shows 0.0 but rose
        {"0.0", WeightChange::Same, "→"},  // identical weights
        {"-0.2", WeightChange::Fall, "↓"},
        {"0.0", WeightChange::Fall, "↓"},
        {"0.9", WeightChange::Rise, "↑"},
        {"-66.0", WeightChange::Fall, "↓"},  // a weight of 0 is a weight like any other…
        {"0.0", WeightChange::Same, "→"},    // …but the row after it counts from nothing
    };
    const auto rows = buildCommentTable(log);
    ASSERT_EQ(rows.size(), log.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].cells[4].formatted(), expected[i].difference) << "row " << i + 1;
        EXPECT_EQ(rows[i].change, expected[i].change) << "row " << i + 1;
        EXPECT_EQ(rows[i].cells[5].formatted(), expected[i].arrow) << "row " << i + 1;
        EXPECT_EQ(rows[i].cells[0].formatted(), std::to_string(i + 1));
    }
}

TEST(CommentTable, EveryValueInItsColumnInShortestForm) {
    const std::vector<MeasurementRecord> log = {
        {"2026/12/07", "夕食後", 65.0f, 22.25f, 1523, -1, 48.2f, 95, 3.0f, "7:05:09, 反省", "旧"}};
    const auto rows = buildCommentTable(log);
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<std::string> cells = {"1",     "2026/12/07",    "夕食後", "65", "0.0",  "→",
                                            "22.25", "7:05:09, 反省", "1523",   "-1", "48.2", "95",
                                            "3"};
    EXPECT_EQ(texts(rows[0]), cells);
    EXPECT_TRUE(buildCommentTable({}).empty());
}

// A log as the program writes it, with a reserved field from an import and a comment
// that holds commas.
const std::string kLog =
    "\"2026/12/05\",\"起床後\",65.3,22.5,1400,8,45.3,5,2.8,\"\",\"旧データ\"\r\n"
    "\"2026/12/06\",\"夕食後\",65.32,22.4,1401,8,45.3,5,2.8,\"7:05:09\",\"\"\r\n"
    "\"2026/12/07\",\"入浴後\",64.9,22,1399,7,45.25,6,2.85,\"a, b\",\"x\"\r\n";

disk::FileStamp shownStamp(const TempFolder& folder) {
    return store::loadLog(folder.path(), 1).stamp;
}

// The screen asks for single rows as it draws them: each is the row of the whole table.
TEST(CommentTable, SingleRowsAreTheRowsOfTheWholeTable) {
    const std::vector<MeasurementRecord> records = {
        rec("2026/12/01", 0),      rec("2026/12/01", 61.5f, "a"), rec("2026/12/02", 61.5f),
        rec("2026/12/03", 60.75f), rec("2026/12/04", 0),          rec("2026/12/05", 62)};
    const auto table = buildCommentTable(records);
    ASSERT_EQ(table.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const CommentRow row = commentRow(records, i);
        EXPECT_EQ(texts(row), texts(table[i])) << i;
        for (int c = 0; c < kCommentColumnCount; ++c)
            EXPECT_EQ(commentCell(records, i, c).formatted(), texts(row)[std::size_t(c)]) << i;
        EXPECT_EQ(commentChange(records, i), row.change) << i;
        EXPECT_EQ(row.change, table[i].change) << i;
    }
    EXPECT_EQ(commentRow(records, records.size()).cells[0].formatted(), "");
    EXPECT_EQ(commentRow({}, 0).cells[1].formatted(), "");
    EXPECT_TRUE(commentCell(records, 0, kCommentColumnCount).isMissing());
}

TEST(CommentSave, ChangesOnlyTheCommentOfThatRecord) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kLog);
    // The time written on saving is replaced like any other comment.
    auto outcome = saveComment(folder.path(), 1, 2, shownStamp(folder), "飲み会, 反省");
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.message, std::nullopt);
    std::string expected = kLog;
    expected.replace(expected.find("\"7:05:09\""), 9, "\"飲み会, 反省\"");
    EXPECT_EQ(folder.readCp932("データ1.txt"), expected);
    // The screen goes on from the log it has just written.
    EXPECT_EQ(outcome.stamp, shownStamp(folder));

    // Emptying a comment, on the record whose reserved field is kept as read.
    outcome = saveComment(folder.path(), 1, 3, outcome.stamp, "");
    EXPECT_TRUE(outcome.saved);
    expected.replace(expected.find("\"a, b\""), 6, "\"\"");
    EXPECT_EQ(folder.readCp932("データ1.txt"), expected);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
}

TEST(CommentSave, RefusalsWriteNothing) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kLog);
    const disk::FileStamp shown = shownStamp(folder);
    // The log as another window left it: one weight changed.
    std::string other = kLog;
    other.replace(other.find("65.3,"), 5, "65.4,");
    const disk::FileStamp changed = disk::FileStamp::of(*disk::toCp932(other));
    const struct {
        int row;
        disk::FileStamp shown;
        std::string comment;
        const char* title;
        const char* says;
        bool stale;
    } cases[] = {
        {1, shown, "\"quoted\"", "入力エラー", "ダブルクォーテーション", false},
        {1, shown, "ケーキ🍰", "入力エラー", "「🍰」は保存できない文字です", false},
        // The log changed since the table was filled.
        {1, changed, "ok", "保存中止", "別のウィンドウか別のパソコンで変更", true},
        {1, disk::FileStamp::missing(), "ok", "保存中止", "別のウィンドウ", true},
        // A table filled from a read that failed.
        {1, disk::FileStamp{}, "ok", "保存中止", "別のウィンドウ", true},
        {4, shown, "ok", "保存中止", "別のウィンドウ", true},  // no such record
        {0, shown, "ok", "保存中止", "別のウィンドウ", true},
    };
    for (const auto& c : cases) {
        const auto outcome = saveComment(folder.path(), 1, c.row, c.shown, c.comment);
        EXPECT_FALSE(outcome.saved) << c.comment;
        EXPECT_EQ(outcome.stale, c.stale) << c.comment;
        ASSERT_TRUE(outcome.message) << c.comment;
        EXPECT_EQ(outcome.message->title, c.title) << c.comment;
        EXPECT_NE(outcome.message->text.find(c.says), std::string::npos) << outcome.message->text;
        EXPECT_EQ(folder.readCp932("データ1.txt"), kLog);
    }

    // Bytes that are no CP932 are kept as they were: only the comment changes.
    const std::string broken = "\"2026/12/05\",\"\x85\x40\",65,22,1400,8,45,5,2.8,\"\",\"\"\r\n";
    folder.writeBytes("データ2.txt", broken);
    const auto outcome =
        saveComment(folder.path(), 2, 1, store::loadLog(folder.path(), 2).stamp, "ok");
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(folder.readBytes("データ2.txt"),
              "\"2026/12/05\",\"\x85\x40\",65,22,1400,8,45,5,2.8,\"ok\",\"\"\r\n");
}

// Lines that are no records (a hand edit) sit before, between and after the records: the
// table has a row per record, and row n's save changes record n and nothing else.
const std::string kDamagedFirst = "\"2026/12/04\",\"朝食前\",65\r\n";
const std::string kDamagedBetween = "\"2026/12/06\",\"夕食後\",65.3,x,1,2,3,4,5,\"\",\"\",\"\"\r\n";
const std::string kDamagedLast = "メモ: 12/08 は量り忘れ\r\n";
std::string damagedLog(const std::string& comment2 = "7:05:09",
                       const std::string& comment3 = "a, b") {
    return kDamagedFirst +
           "\"2026/12/05\",\"起床後\",65.3,22.5,1400,8,45.3,5,2.8,\"\",\"旧データ\"\r\n" +
           kDamagedBetween + kDamagedBetween +
           "\"2026/12/06\",\"夕食後\",65.32,22.4,1401,8,45.3,5,2.8,\"" + comment2 + "\",\"\"\r\n" +
           "\"2026/12/07\",\"入浴後\",64.9,22,1399,7,45.25,6,2.85,\"" + comment3 + "\",\"x\"\r\n" +
           kDamagedLast;
}

TEST(CommentSave, RowsAddressTheirRecordsWithDamagedLinesBetween) {
    const struct {
        int row;
        std::string after;
    } cases[] = {
        {2, damagedLog("飲み会")},
        {3, damagedLog("7:05:09", "飲み会")},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeCp932("データ1.txt", damagedLog());
        const store::LoadedLog shown = store::loadLog(folder.path(), 1);
        const auto rows = buildCommentTable(shown.records);
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[1].cells[0].formatted(), "2");
        EXPECT_EQ(rows[1].cells[7].formatted(), "7:05:09");
        EXPECT_EQ(rows[2].cells[1].formatted(), "2026/12/07");
        EXPECT_EQ(rows[2].cells[4].formatted(),
                  "-0.4");  // from the record before, not a damaged line

        const auto outcome = saveComment(folder.path(), 1, c.row, shown.stamp, "飲み会");
        ASSERT_TRUE(outcome.saved) << c.row;
        EXPECT_EQ(folder.readCp932("データ1.txt"), c.after) << c.row;
        EXPECT_EQ(folder.readCp932("バックアップ/データ1_修復前.txt"), damagedLog()) << c.row;

        // The next comment: the damaged lines are in the copy already.
        const auto again = saveComment(folder.path(), 1, 1, outcome.stamp, "朝");
        ASSERT_TRUE(again.saved);
        EXPECT_FALSE(folder.exists("バックアップ/データ1_修復前_2.txt"));
        const store::LoadedLog now = store::loadLog(folder.path(), 1);
        EXPECT_EQ(now.records[0].comment, "朝");
        EXPECT_EQ(now.records[0].reserved, "旧データ");
    }
}

// Each step failing in turn: the old log with a failure told, or the new one with no word
// or with the word that the disk did not confirm it; never a failure that goes untold.
TEST(CommentSave, EveryFailingStepLeavesTheOldOrTheNewLog) {
    TempFolder folder;
    folder.writeCp932("データ1.txt", kLog);
    const disk::FileStamp shown = shownStamp(folder);
    std::string after = kLog;
    after.replace(after.find("\"a, b\""), 6, "\"new\"");
    long steps = 0;
    {
        auto count = InjectFaults::from(1000000);
        ASSERT_TRUE(saveComment(folder.path(), 1, 3, shown, "new").saved);
        steps = count.seen();
    }
    ASSERT_GT(steps, 5);
    int failures = 0, unconfirmed = 0;
    for (long n = 1; n <= steps; ++n) {
        folder.writeCp932("データ1.txt", kLog);
        CommentSaveOutcome outcome;
        {
            auto fail = InjectFaults::once(n);
            outcome = saveComment(folder.path(), 1, 3, shown, "new");
        }
        EXPECT_EQ(folder.readCp932("データ1.txt"), outcome.saved ? after : kLog) << "step " << n;
        EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"}) << "step " << n;
        ASSERT_TRUE(outcome.message) << "step " << n << " failed without a word";
        if (outcome.saved) {
            ++unconfirmed;
            EXPECT_EQ(outcome.message->title, "書き込み確認エラー") << "step " << n;
        } else {
            ++failures;
            EXPECT_EQ(outcome.message->title, "保存エラー") << "step " << n;
        }
    }
    EXPECT_GE(failures, 5);     // open, read, write, fsync, close, rename
    EXPECT_EQ(unconfirmed, 1);  // the folder's fsync after the rename
    // A read that fails is reported as such.
    auto fail = InjectFaults::always({disk::fileops::Op::Read});
    const auto outcome = saveComment(folder.path(), 1, 3, shown, "new");
    ASSERT_TRUE(outcome.message);
    EXPECT_NE(outcome.message->text.find("読み込めなかった"), std::string::npos);
}

}  // namespace
}  // namespace pairly::memo
