#include "core/entry/entry_logic.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace pairly::entry {

void PrintTo(const SaveMessage& m, std::ostream* os) {
    *os << m.title << ": " << m.text << " (field " << (m.field ? static_cast<int>(*m.field) : -1)
        << ")";
}

namespace {

TEST(EntryLogic, StepValueArithmetic) {
    struct Case {
        const char* field;
        const char* step;
        bool up;
        const char* expected;
    } cases[] = {
        {"60.2", "0.1", true, "60.3"},
        {"52.3", "0.1", true, "52.4"},
        {"", "0.2", true, "0.2"},
        {"0", "1", false, "-1"},
        {"0", "0.5", false, "-0.5"},
        {"60.25", "0.5", true, "60.75"},  // no snapping to the step grid
        {"0.1", "0.1", false, "0"},
        {"abc", "1", true, "1"},            // non-numeric text counts as 0
        {" 6 0.5kg", "0.1", true, "60.6"},  // blanks ignored, the rest dropped
        {"1350", "1", true, "1351"},
        {"-0.3", "0.2", true, "-0.1"},
        {"60.2", "０．２", true, "60.4"},  // full-width step as typed in the free field
        {"60.2", " 0.5 ", false, "59.7"},
        {"６０．２", "0.1", true, "60.3"},  // full-width field text
        // A step that is not a number leaves the field alone.
        {"60.2", "abc", true, "60.2"},
        {"60.2", "", true, "60.2"},
        {"60.2", "0.1x", false, "60.2"},
        {"", "?", true, ""},
        // Only a positive step up to 10 steps: -0.5 would turn ↑ into ↓.
        {"60.2", "-0.5", true, "60.2"},
        {"60.2", "0", true, "60.2"},
        {"60.2", "10.5", true, "60.2"},
        {"60.2", "10", false, "50.2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stepValue(c.field, c.step, c.up), c.expected)
            << c.field << (c.up ? " + " : " - ") << c.step;
}

TEST(EntryLogic, StepTextsAndFill) {
    EXPECT_EQ(stepTextFor(Field::Weight, "0.2", "0.5"), "0.2");
    EXPECT_EQ(stepTextFor(Field::BodyFat, "0.2", "0.5"), "0.5");
    EXPECT_EQ(stepTextFor(Field::MuscleMass, "0.2", "0.5"), "0.1");
    EXPECT_EQ(stepTextFor(Field::BoneMass, "0.2", "0.5"), "0.1");
    EXPECT_EQ(stepTextFor(Field::VisceralFat, "0.2", "0.5"), "1");

    store::Readings v{65.0f, 23.4f, 1350, -2, 52.3f, 95, 2.8f};
    EXPECT_EQ(fillTexts(v), (FieldTexts{"65", "23.4", "1350", "-2", "52.3", "95", "2.8"}));
    EXPECT_EQ(fillTexts(store::Readings{}), (FieldTexts{"0", "0", "0", "0", "0", "0", "0"}));

    EXPECT_EQ(nextMarkerMode(0), 1);
    EXPECT_EQ(nextMarkerMode(1), 2);
    EXPECT_EQ(nextMarkerMode(2), 0);
}

SaveRequest request(const std::string& situation, FieldTexts texts,
                    const std::string& day = "2026/12/07") {
    SaveRequest r;
    r.situation = situation;
    r.fieldTexts = std::move(texts);
    r.selectedDay = day;
    r.autoTime = true;
    r.timeText = "7:05:09";
    return r;
}

TEST(EntryLogic, ValidationOrderAndMessages) {
    const FieldTexts full{"60.1", "24.5", "1350", "9", "45.2", "95", "2.6"};
    struct Case {
        SaveRequest req;
        std::optional<SaveMessage> expected;
    } cases[] = {
        {request("", {"", "", "", "", "", "", ""}),
         SaveMessage{"行動が指定されていません", "行動未入力"}},
        {request("朝", {"", "24.5"}), SaveMessage{"体重が入力されていません", "体重未入力"}},
        {request("朝", {"60.1", ""}),
         SaveMessage{"体脂肪率が入力されていません", "体脂肪率未入力"}},
        {request("朝\"食", full),
         SaveMessage{"行動に使用できない文字（\" または改行）が含まれています", "行動入力エラー"}},
        {request("朝\n", full),
         SaveMessage{"行動に使用できない文字（\" または改行）が含まれています", "行動入力エラー"}},
        {request("朝", {"60.1", "24.5", "32768"}),
         SaveMessage{"基礎代謝は-32768～32767の数値で入力してください", "基礎代謝入力エラー",
                     Field::BasalMetabolism}},
        {request("朝", {"60.1", "24.5", "1350", "-32769"}),
         SaveMessage{"内臓脂肪は-32768～32767の数値で入力してください", "内臓脂肪入力エラー",
                     Field::VisceralFat}},
        {request("朝", {"60.1", "24.5", "0", "0", "0", "32767.5"}),
         SaveMessage{"筋肉スコアは-32768～32767の数値で入力してください", "筋肉スコア入力エラー",
                     Field::MuscleScore}},
        {request("朝", {std::string(60, '9'), "24.5"}),
         SaveMessage{"体重は0より大きく600以下の数値で入力してください", "体重入力エラー",
                     Field::Weight}},
        // The first field in entry order that is not a number is named.
        {request("朝", {"60.1", "24.5", "1350", "9", "x", "y"}),
         SaveMessage{"筋肉量は0～600の数値で入力してください", "筋肉量入力エラー",
                     Field::MuscleMass}},
        {request("朝", {"60.1", "101"}), SaveMessage{"体脂肪率は0～100の数値で入力してください",
                                                     "体脂肪率入力エラー", Field::BodyFat}},
        {request("朝", {"60.1", "24.5", "", "", "", "", "-0.1"}),
         SaveMessage{"骨量は0～600の数値で入力してください", "骨量入力エラー", Field::BoneMass}},
        // Blanks alone are no weight.
        {request("朝", {"\xE3\x80\x80 ", "24.5"}),
         SaveMessage{"体重が入力されていません", "体重未入力"}},
        {request("朝", full, "2026/13/01"), SaveMessage{"日付が正しくありません", "日付エラー"}},
        // Only weight and body fat are required; the rest store 0.
        {request("朝", {"60.1", "24.5"}), std::nullopt},
        {request("朝", {"60.1", "24.5", "-32768", "32767", "", "32767.4", ""}), std::nullopt},
        {request("7:05:09", full), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkEntry(c.req).refusal, c.expected)
            << c.req.situation << " " << c.req.fieldTexts[0];
}

TEST(EntryLogic, OnlyADayAfterTodayIsQuestioned) {
    const struct {
        const char* day;
        const char* today;
        bool asked;
    } cases[] = {
        {"2026/12/08", "2026/12/07", true},  {"2027/01/01", "2026/12/31", true},
        {"2026/12/07", "2026/12/07", false}, {"2026/12/06", "2026/12/07", false},
        {"2025/12/31", "2026/01/01", false}, {"2026/13/01", "2026/12/07", false},
        {"", "2026/12/07", false},
    };
    for (const auto& c : cases) {
        const auto question = futureDayQuestion(c.day, c.today);
        ASSERT_EQ(question.has_value(), c.asked) << c.day << " " << c.today;
        if (!question) continue;
        EXPECT_EQ(question->title, "日付確認");
        EXPECT_EQ(question->text,
                  std::string(c.day) + " は今日より後の日付です。\n\nこの日付で保存しますか？");
    }
}

TEST(EntryLogic, PlanChoosesInsertOrAppendAndTheComment) {
    const FieldTexts texts{"60.1", "24.5", "1350.5", "9", "", "95", "2.6"};
    // A past day is inserted, without the time even when automatic time is on.
    PlanResult p = planSave(checkEntry(request("朝", texts, "2026/12/05")), 10, "2026/12/06");
    ASSERT_TRUE(p.plan);
    EXPECT_EQ(p.plan->mode, WriteMode::Insert);
    EXPECT_EQ(p.plan->record.comment, "");
    EXPECT_EQ(p.plan->record.basalMetabolism, 1350);
    EXPECT_EQ(p.plan->record.muscleMass, 0.0f);
    EXPECT_EQ(p.plan->record.weight, 60.1f);

    // Same day as the last record, or later: appended with the time.
    for (const char* last : {"2026/12/07", "2026/12/01"}) {
        p = planSave(checkEntry(request("朝", texts)), 10, std::string(last));
        ASSERT_TRUE(p.plan);
        EXPECT_EQ(p.plan->mode, WriteMode::Append);
        EXPECT_EQ(p.plan->record.comment, "7:05:09");
    }
    SaveRequest noTime = request("朝", texts);
    noTime.autoTime = false;
    p = planSave(checkEntry(noTime), 0, std::nullopt);
    ASSERT_TRUE(p.plan);
    EXPECT_EQ(p.plan->mode, WriteMode::Append);
    EXPECT_EQ(p.plan->record.comment, "");

    // A full log takes no more records.
    p = planSave(checkEntry(request("朝", texts)), store::kMaxRecords, "2026/12/07");
    EXPECT_FALSE(p.plan);
    ASSERT_TRUE(p.refusal);
    EXPECT_EQ(p.refusal->title, "保存件数超過");
    EXPECT_TRUE(
        planSave(checkEntry(request("朝", texts)), store::kMaxRecords - 1, "2026/12/07").plan);
}

TEST(EntryLogic, IntegerFieldsRoundHalfToEven) {
    struct Case {
        const char* text;
        std::int16_t expected;
    } cases[] = {{"1350.5", 1350},  {"1351.5", 1352}, {"１３５１．５", 1352},
                 {"1350.49", 1350}, {"-2.5", -2},     {"", 0}};
    for (const Case& c : cases) {
        const auto p = planSave(checkEntry(request("朝", {"60", "20", c.text, c.text, "", c.text})),
                                1, "2026/12/07");
        ASSERT_TRUE(p.plan) << c.text;
        EXPECT_EQ(p.plan->record.basalMetabolism, c.expected) << c.text;
        EXPECT_EQ(p.plan->record.visceralFat, c.expected) << c.text;
        EXPECT_EQ(p.plan->record.muscleScore, c.expected) << c.text;
    }
}

const char* const kLog =
    "\"2026/12/01\",\"開始\",62,28,1400,10,45,90,2.7,\"\",\"\"\r\n"
    "\"2026/12/06\",\"朝\",61.5,27.5,1380,10,45.1,91,2.7,\"\",\"\"\r\n"
    "\"2026/12/08\",\"朝\",61,27,1350,9,45.2,92,2.6,\"\",\"\"\r\n";

TEST(EntryLogic, SaveInsertsAPastDayWithoutTime) {
    testing::TempFolder folder;
    folder.writeCp932("データ1.txt", kLog);
    const SaveOutcome out = saveMeasurement(
        folder.path(), 1, request("夕食後", {"61.3", "27.2", "1351.5", "9", "", "92", "2.6"}));
    EXPECT_TRUE(out.saved);
    EXPECT_FALSE(out.message);
    EXPECT_EQ(folder.readCp932("データ1.txt"),
              "\"2026/12/01\",\"開始\",62,28,1400,10,45,90,2.7,\"\",\"\"\r\n"
              "\"2026/12/06\",\"朝\",61.5,27.5,1380,10,45.1,91,2.7,\"\",\"\"\r\n"
              "\"2026/12/07\",\"夕食後\",61.3,27.2,1352,9,0,92,2.6,\"\",\"\"\r\n"
              "\"2026/12/08\",\"朝\",61,27,1350,9,45.2,92,2.6,\"\",\"\"\r\n");
    EXPECT_FALSE(folder.exists("データコピー.txt"));
}

TEST(EntryLogic, SaveAppendsWithTheTimeOfSaving) {
    testing::TempFolder folder;
    folder.writeCp932("データ2.txt", kLog);
    const SaveOutcome out = saveMeasurement(
        folder.path(), 2,
        request("朝", {"60.9", "26.8", "1350.5", "9", "45.3", "92", "2.6"}, "2026/12/08"));
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(folder.readCp932("データ2.txt"),
              std::string(kLog) +
                  "\"2026/12/08\",\"朝\",60.9,26.8,1350,9,45.3,92,2.6,\"7:05:09\",\"\"\r\n");
    EXPECT_FALSE(folder.exists("データ1.txt"));
}

TEST(EntryLogic, RefusedSaveWritesNothing) {
    testing::TempFolder folder;
    folder.writeCp932("データ1.txt", kLog);
    const std::string before = folder.readBytes("データ1.txt");
    for (const SaveRequest& req :
         {request("朝", {"60.9", "26.8", "40000"}), request("", {"60.9", "26.8"}),
          request("朝\"", {"60.9", "26.8"})}) {
        const SaveOutcome out = saveMeasurement(folder.path(), 1, req);
        EXPECT_FALSE(out.saved);
        EXPECT_TRUE(out.message);
        EXPECT_FALSE(out.plan);
    }
    EXPECT_EQ(folder.readBytes("データ1.txt"), before);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"データ1.txt"});
}

TEST(EntryLogic, FailedWriteIsReportedNotSaved) {
    testing::TempFolder folder;
    // A folder where the log should be: the write cannot succeed.
    std::filesystem::create_directory(folder.path() / "データ1.txt");
    const SaveOutcome out = saveMeasurement(folder.path(), 1, request("朝", {"60.9", "26.8"}));
    EXPECT_FALSE(out.saved);
    ASSERT_TRUE(out.message);
    EXPECT_EQ(out.message->title, "保存中止");
    EXPECT_NE(out.message->text.find("データ1.txt は普通のファイルではありません"),
              std::string::npos);
}

}  // namespace
}  // namespace pairly::entry
