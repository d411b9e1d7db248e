#include "core/store/record_edit.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/disk/codec.h"
#include "support/folder_layout.h"
#include "support/temp_folder.h"

namespace pairly::store {
namespace {

using pairly::testing::TempFolder;

MeasurementRecord rec(const std::string& date, const std::string& situation, float weight,
                      const std::string& comment = "", const std::string& reserved = "") {
    return {date, situation, weight, 22.5f, 1500, 9, 48.2f, 5, 2.9f, comment, reserved};
}

// A log of five records (names a..e) with a damaged line (D) after b, each line spelt by
// its name; an expected file is a list of names, "x" standing for the corrected record.
const std::map<std::string, MeasurementRecord> kLines = {
    {"a", rec("2026/12/01", "起床後", 70.0f, "7:00:00", "r")},
    {"b", rec("2026/12/02", "朝食前", 69.5f, "よく寝た")},
    {"c", rec("2026/12/02", "夕食後", 70.2f, "外食")},
    {"d", rec("2026/12/04", "朝食前", 69.1f)},
    {"e", rec("2026/12/06", "朝食前", 68.9f, "", "予備")},
};
const std::string kDamaged = "\"2026/12/03\",\"壊れた行\r\n";

std::string bytesOf(const std::string& names, const MeasurementRecord& x = {}) {
    std::string out;
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        if (name == "D")
            out += kDamaged;
        else
            out += recordLine(name == "x" ? x : kLines.at(name));
    }
    return *disk::toCp932(out);
}

TEST(RecordEdit, CorrectionsAndDeletionsKeepEveryOtherLineByteForByte) {
    struct Case {
        const char* what;
        bool remove;
        std::size_t index;
        MeasurementRecord values;  // a correction's date, situation and values
        const char* expected;      // the lines afterwards ("" when refused)
        MeasurementRecord x;       // the corrected record as written
        EditRefusal refusal;
        std::size_t newIndex;
    };
    const auto v = [](const std::string& date, const std::string& situation, float weight) {
        MeasurementRecord r = rec(date, situation, weight);
        r.comment = "typed comments are not taken";
        r.reserved = "nor reserved fields";
        return r;
    };
    const Case cases[] = {
        {"middle value", false, 2, v("2026/12/02", "夕食後", 71.0f), "a b D x d e",
         rec("2026/12/02", "夕食後", 71.0f, "外食"), EditRefusal::None, 2},
        {"last value", false, 4, v("2026/12/06", "就寝前", 68.0f), "a b D c d x",
         rec("2026/12/06", "就寝前", 68.0f, "", "予備"), EditRefusal::None, 4},
        {"date moves later, after the records of that day", false, 1,
         v("2026/12/04", "朝食前", 69.5f), "a D c d x e",
         rec("2026/12/04", "朝食前", 69.5f, "よく寝た"), EditRefusal::None, 3},
        {"date moves earlier", false, 3, v("2026/12/01", "朝食前", 69.1f), "a x b D c e",
         rec("2026/12/01", "朝食前", 69.1f), EditRefusal::None, 1},
        {"start record values", false, 0, v("2026/12/01", "起床後", 70.4f), "x b D c d e",
         rec("2026/12/01", "起床後", 70.4f, "7:00:00", "r"), EditRefusal::None, 0},
        {"start record after the next",
         false,
         0,
         v("2026/12/03", "起床後", 70.0f),
         "",
         {},
         EditRefusal::StartAfterNext,
         0},
        {"moved before the start",
         false,
         2,
         v("2026/11/30", "夕食後", 70.2f),
         "",
         {},
         EditRefusal::BeforeStart,
         0},
        {"not a day", false, 2, v("2026/02/30", "夕食後", 70.2f), "", {}, EditRefusal::BadDate, 0},
        {"situation with a quote",
         false,
         2,
         v("2026/12/02", "夕\"食", 70.2f),
         "",
         {},
         EditRefusal::BadText,
         0},
        {"no such record",
         false,
         5,
         v("2026/12/06", "朝食前", 1.0f),
         "",
         {},
         EditRefusal::NoSuchRecord,
         0},
        {"delete middle", true, 2, {}, "a b D d e", {}, EditRefusal::None, 2},
        {"delete last", true, 4, {}, "a b D c d", {}, EditRefusal::None, 4},
        {"delete before a damaged line", true, 1, {}, "a D c d e", {}, EditRefusal::None, 1},
        {"delete the start while others follow", true, 0, {}, "", {}, EditRefusal::StartRecord, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string before = bytesOf("a b D c d e");
        folder.writeBytes("データ1.txt", before);
        const LoadedLog log = loadLog(folder.path(), 1);
        const EditResult result = c.remove
                                      ? removeRecord(folder.path(), 1, log, c.index)
                                      : correctRecord(folder.path(), 1, log, c.index, c.values);
        EXPECT_EQ(result.refusal, c.refusal);
        if (c.refusal != EditRefusal::None) {
            EXPECT_EQ(result.status, disk::WriteStatus::Refused);
            EXPECT_FALSE(editRefusalText(c.refusal).empty());
            EXPECT_EQ(folder.readBytes("データ1.txt"), before);
            continue;
        }
        ASSERT_EQ(result.status, disk::WriteStatus::Ok);
        const std::string after = bytesOf(c.expected, c.x);
        EXPECT_EQ(folder.readBytes("データ1.txt"), after);
        EXPECT_EQ(result.stamp, disk::FileStamp::of(after));
        EXPECT_EQ(result.index, c.newIndex);
        // What the screen shows next is what a fresh read gives.
        const LoadedLog reread = loadLog(folder.path(), 1);
        EXPECT_EQ(result.log.records, reread.records);
        EXPECT_EQ(result.log.stamp, reread.stamp);
        // The log is kept as it was before its first rewrite with a damaged line.
        EXPECT_EQ(folder.readBytes("バックアップ/データ1_修復前.txt"), before);
    }
}

TEST(RecordEdit, TheOnlyRecordCanBeDeleted) {
    TempFolder folder;
    folder.writeBytes("データ2.txt", bytesOf("a"));
    const EditResult result = removeRecord(folder.path(), 2, loadLog(folder.path(), 2), 0);
    EXPECT_EQ(result.status, disk::WriteStatus::Ok);
    EXPECT_EQ(folder.readBytes("データ2.txt"), "");
}

TEST(RecordEdit, ALogChangedSinceItWasReadOrNotReadWholeIsNotWritten) {
    TempFolder folder;
    folder.writeBytes("データ1.txt", bytesOf("a b c"));
    const LoadedLog shown = loadLog(folder.path(), 1);
    // Another window adds a weighing meanwhile.
    ASSERT_TRUE(pairly::testing::appendRecord(folder.path(), 1, kLines.at("e")));
    const std::string changed = folder.readBytes("データ1.txt");
    EXPECT_EQ(removeRecord(folder.path(), 1, shown, 2).status, disk::WriteStatus::Stale);
    EXPECT_EQ(correctRecord(folder.path(), 1, shown, 1, kLines.at("d")).status,
              disk::WriteStatus::Stale);
    EXPECT_EQ(folder.readBytes("データ1.txt"), changed);

    LoadedLog failed = loadLog(folder.path(), 1);
    failed.status = disk::ReadStatus::Failed;
    EXPECT_EQ(removeRecord(folder.path(), 1, failed, 2).status, disk::WriteStatus::ReadFailed);
    LoadedLog made;  // a log made in code, with no stamp
    made.records = {kLines.at("a"), kLines.at("b")};
    EXPECT_EQ(removeRecord(folder.path(), 1, made, 1).status, disk::WriteStatus::Stale);
    EXPECT_EQ(folder.readBytes("データ1.txt"), changed);
}

TEST(RecordEdit, TypedTextsAreCheckedAsTheEntryScreenChecksThem) {
    const auto texts = [](std::string date, std::array<std::string, 7> values,
                          std::string situation = "朝食前") {
        return CorrectionTexts{std::move(date), std::move(situation), std::move(values)};
    };
    const std::array<std::string, 7> good = {"65.4", "22", "1500", "9", "48.2", "", "2.9"};
    struct Case {
        CorrectionTexts texts;
        std::string title;  // "" when the texts read
        int field;
    };
    const Case cases[] = {
        {texts("2026/12/07", good), "", -1},
        {texts("2026/1/5", {"６５．４", "22", "1500.5", "9", "", "", ""}), "", -1},
        {texts("2026/12/07", good, ""), "行動未入力", -1},
        {texts("2026/12/07", {" ", "22", "", "", "", "", ""}), "体重未入力", 0},
        {texts("2026/12/07", {"65", "", "", "", "", "", ""}), "体脂肪率未入力", 1},
        {texts("2026/12/07", good, "朝\"食"), "行動入力エラー", -1},
        {texts("2026/12/07", {"0", "22", "", "", "", "", ""}), "体重入力エラー", 0},
        {texts("2026/12/07", {"65", "101", "", "", "", "", ""}), "体脂肪率入力エラー", 1},
        {texts("2026/12/07", {"65", "22", "15OO", "", "", "", ""}), "基礎代謝入力エラー", 2},
        {texts("2026/12/07", {"65", "22", "", "", "", "", "-1"}), "骨量入力エラー", 6},
        {texts("2026/02/29", good), "日付エラー", -1},
        {texts("26/12/07", good), "日付エラー", -1},
        {texts("2026-12-07", good), "日付エラー", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.date + " " + c.texts.values[0] + " " + c.title);
        const CorrectionRead read = readCorrection(c.texts);
        if (c.title.empty()) {
            ASSERT_TRUE(read.values);
            EXPECT_FALSE(read.refusal);
            continue;
        }
        ASSERT_TRUE(read.refusal);
        EXPECT_FALSE(read.values);
        EXPECT_EQ(read.refusal->title, c.title);
        EXPECT_EQ(read.refusal->field, c.field);
    }
    const CorrectionRead first = readCorrection(cases[0].texts);
    EXPECT_EQ(*first.values, (MeasurementRecord{"2026/12/07", "朝食前", 65.4f, 22.0f, 1500, 9,
                                                48.2f, 0, 2.9f, "", ""}));
    const CorrectionRead second = readCorrection(cases[1].texts);
    EXPECT_EQ(second.values->date, "2026/01/05");
    EXPECT_EQ(second.values->weight, 65.4f);
    EXPECT_EQ(second.values->basalMetabolism, 1500);  // halves to even, as the entry screen
    EXPECT_EQ(deleteQuestion("みさき", kLines.at("b")),
              "みさきの 2026/12/02 朝食前 69.5kg の測定を削除しますか？");
}

}  // namespace
}  // namespace pairly::store
