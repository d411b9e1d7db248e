#include "core/settings/new_start.h"

#include <gtest/gtest.h>

#include <set>

#include "core/disk/change_set.h"
#include "core/disk/file_ops.h"
#include "core/settings/profile_edit.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace pairly::settings {

void PrintTo(const Notice& n, std::ostream* os) {
    *os << n.title << ": " << n.text << " (icon " << int(n.icon) << ", field " << n.field << ")";
}

namespace {

const NewStartTexts kFull = {"はなこ", "158.5", "50", "55.2", "28.5",        "1200",
                             "7",      "36.1",  "-2", "2.4",  "はじめの一歩"};

NewStartTexts with(int field, const std::string& text) {
    NewStartTexts t = kFull;
    t[static_cast<std::size_t>(field)] = text;
    return t;
}

TEST(NewStart, EachFieldEmptyOrBadGivesItsMessage) {
    const struct {
        const char* text;
        const char* title;
    } empties[kNewStartFieldCount] = {
        {"ニックネームが入力されていません", "ニックネーム未入力"},
        {"身長が入力されていません", "身長未入力"},
        {"目標体重が入力されていません", "目標体重未入力"},
        {"現在の体重が入力されていません", "現体重未入力"},
        {"現在の体脂肪率が入力されていません", "現体脂肪率未入力"},
        {"現在の基礎代謝量が入力されていません", "現基礎代謝量未入力"},
        {"現在の内臓脂肪レベルが入力されていません", "現内臓脂肪レベル未入力"},
        {"現在の筋肉量が入力されていません", "現筋肉量未入力"},
        {"現在の筋肉スコアが入力されていません", "現筋肉量未入力"},
        {"現在の骨量が入力されていません", "現骨量未入力"},
        {"初回の状況が入力されていません", "初回状況（コメント）未入力"},
    };
    for (int i = 0; i < kNewStartFieldCount; ++i) {
        for (const char* blank : {"", " ", "\xE3\x80\x80"})
            EXPECT_EQ(validateNewStart(with(i, blank)),
                      (Notice{empties[i].text, empties[i].title, NoticeIcon::Information, i}))
                << i;
    }
    // All empty: the first field's message only.
    EXPECT_EQ(validateNewStart(NewStartTexts{})->title, "ニックネーム未入力");

    // Numbers that are not numbers of their kind: the field and its range, warning icon.
    const struct {
        int field;
        const char* text;
        const char* message;
        const char* title;
    } bad[] = {
        {kHeight, "abc", "身長は0より大きい数値で入力してください", "身長入力エラー"},
        {kHeight, "0", "身長は0より大きい数値で入力してください", "身長入力エラー"},
        {kHeight, "-170", "身長は0より大きい数値で入力してください", "身長入力エラー"},
        {kTargetWeight, "60kg", "目標体重は0より大きく600以下の数値で入力してください",
         "目標体重入力エラー"},
        {kTargetWeight, "601", "目標体重は0より大きく600以下の数値で入力してください",
         "目標体重入力エラー"},
        {kWeight, "53,5", "現在の体重は0より大きく600以下の数値で入力してください",
         "現在の体重入力エラー"},
        {kWeight, "0", "現在の体重は0より大きく600以下の数値で入力してください",
         "現在の体重入力エラー"},
        {kBodyFat, "100.5", "現在の体脂肪率は0～100の数値で入力してください",
         "現在の体脂肪率入力エラー"},
        {kBasalMetabolism, "40000", "現在の基礎代謝量は-32768～32767の数値で入力してください",
         "現在の基礎代謝量入力エラー"},
        {kVisceralFat, "1e3", "現在の内臓脂肪レベルは-32768～32767の数値で入力してください",
         "現在の内臓脂肪レベル入力エラー"},
        {kMuscleMass, "-1", "現在の筋肉量は0～600の数値で入力してください",
         "現在の筋肉量入力エラー"},
        {kMuscleScore, "32767.5", "現在の筋肉スコアは-32768～32767の数値で入力してください",
         "現在の筋肉スコア入力エラー"},
        {kBoneMass, "2\"8", "現在の骨量は0～600の数値で入力してください", "現在の骨量入力エラー"},
    };
    for (const auto& b : bad)
        EXPECT_EQ(validateNewStart(with(b.field, b.text)),
                  (Notice{b.message, b.title, NoticeIcon::Warning, b.field}))
            << b.text;
    // Texts that could not be stored.
    for (int field : {int(kNickname), int(kStartSituation)}) {
        for (const char* text : {"はな\"こ", "😀"}) {
            const auto n = validateNewStart(with(field, text));
            ASSERT_TRUE(n) << text;
            EXPECT_EQ(n->title, "入力エラー");
            EXPECT_EQ(n->icon, NoticeIcon::Warning);
            EXPECT_EQ(n->field, field);
        }
    }
    // What may be typed: full-width digits, blanks around, negative muscle score, commas
    // in a nickname, a fraction in an integer field.
    for (const auto& t : {kFull, with(kHeight, " １５８．５ "), with(kMuscleScore, "-4"),
                          with(kNickname, "はな,こ"), with(kBasalMetabolism, "1350.5")})
        EXPECT_EQ(validateNewStart(t), std::nullopt);
}

TEST(NewStart, PlanKeepsTheTypedValues) {
    NewStartTexts t = kFull;
    t[kWeight] = "65.30";
    t[kBasalMetabolism] = "1350";
    t[kVisceralFat] = "7.5";  // a fraction stays in the file; readers round it
    t[kMuscleMass] = "３６．１";
    t[kMuscleScore] = "+2";
    t[kStartSituation] = "ダイエット開始";
    const NewStartPlan plan = planNewStart(t, "2026/12/07");
    EXPECT_EQ(plan.profile, (store::PartnerProfile{"はなこ", 158.5f, 50.0f}));
    EXPECT_EQ(plan.logContent,
              "\"2026/12/07\",\"ダイエット開始\",65.3,28.5,1350,7.5,36.1,2,2.4,\"\",\"\"\r\n");
}

TEST(NewStart, BackupNamesCarryDateAndTime) {
    EXPECT_EQ(backupName("データ1.txt", {2026, 12, 7}, 7 * 3600 + 5 * 60 + 9),
              "データ1_20261207_070509.txt");
    EXPECT_EQ(backupName("ﾌﾟﾗｲﾍﾞｰﾄ2.txt", {2027, 1, 31}, 23 * 3600 + 59 * 60 + 59),
              "ﾌﾟﾗｲﾍﾞｰﾄ2_20270131_235959.txt");
}

// The old bytes exactly, including bytes that are no CP932 text and a torn last line.
const std::string kOldLog =
    "\"2026/01/01\",\"\x8b\x4e\",60,20,1,2,3,4,5,\"\xff\xfe\",\"\"\r\n\"2026";
const std::string kOldProfile = "\"\x8e\x81\x96\xbc\",\"old\"\r\n\"\x90\x67\x92\xb7\",170\r\n";

class NewStartWrite : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeBytes("データ1.TXT", kOldLog);
        folder.writeBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", kOldProfile);
        folder.writeBytes("データ2.txt", "partner 2\r\n");
    }
    NewStartStatus write(int slot = 1) {
        return writeNewStart(folder.path(), slot, planNewStart(kFull, "2026/12/07"), {2026, 12, 7},
                             7 * 3600 + 5 * 60 + 9);
    }
    const std::string newProfile = "\"氏名\",\"はなこ\"\r\n\"身長\",158.5\r\n\"目標体重\",50\r\n";
    const std::string newLog =
        "\"2026/12/07\",\"はじめの一歩\",55.2,28.5,1200,7,36.1,-2,2.4,\"\",\"\"\r\n";
    testing::TempFolder folder;
};

TEST_F(NewStartWrite, OldFilesAreCopiedByteForByteBeforeBeingReplaced) {
    EXPECT_EQ(write(), NewStartStatus::Written);
    // Replaced under the spelling they had.
    EXPECT_EQ(folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), newProfile);
    EXPECT_EQ(folder.readCp932("データ1.TXT"), newLog);
    EXPECT_EQ(folder.readBytes("データ2.txt"), "partner 2\r\n");
    EXPECT_EQ(folder.readBytes("バックアップ/データ1_20261207_070509.txt"), kOldLog);
    EXPECT_EQ(folder.readBytes("バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_070509.txt"), kOldProfile);

    // Again within the same second: a second copy beside the first, none overwritten.
    EXPECT_EQ(write(), NewStartStatus::Written);
    EXPECT_EQ(folder.readBytes("バックアップ/データ1_20261207_070509.txt"), kOldLog);
    EXPECT_EQ(folder.readCp932("バックアップ/データ1_20261207_070509_2.txt"), newLog);
    EXPECT_EQ(folder.readCp932("バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_070509_2.txt"), newProfile);

    // Nothing to keep for a partner without files: no copies.
    testing::TempFolder empty;
    EXPECT_EQ(writeNewStart(empty.path(), 2, planNewStart(kFull, "2026/12/07"), {2026, 12, 7}, 0),
              NewStartStatus::Written);
    EXPECT_EQ(empty.fileNames(), (std::vector<std::string>{"データ2.txt", "ﾌﾟﾗｲﾍﾞｰﾄ2.txt"}));
}

// Every file operation failing in turn, once and from then on: the profile and the log
// are both old (a failure told) or both new (told when the disk did not confirm it); a
// change stopped half way says so, and the next start makes both new or both old. The
// backups that exist are exact copies, and no temporary file is left. Every step matters:
// no fault goes untold.
TEST_F(NewStartWrite, AnyFailingOperationLeavesOldOrNewFiles) {
    long total = 0;
    {
        auto count = testing::InjectFaults::once(1000000);
        EXPECT_EQ(write(), NewStartStatus::Written);
        total = count.seen();
    }
    ASSERT_GT(total, 10);
    std::set<NewStartStatus> seen;
    for (bool persistent : {false, true}) {
        for (long n = 1; n <= total; ++n) {
            SetUp();
            std::filesystem::remove_all(folder.path() / "バックアップ");
            for (const auto& name : folder.fileNames())
                if (name != "データ1.TXT" && name != "ﾌﾟﾗｲﾍﾞｰﾄ1.txt" && name != "データ2.txt")
                    std::filesystem::remove(folder.path() / name);
            NewStartStatus status;
            {
                auto fail =
                    persistent ? testing::InjectFaults::from(n) : testing::InjectFaults::once(n);
                status = write();
            }
            const std::string what = (persistent ? "from " : "once ") + std::to_string(n);
            EXPECT_NE(status, NewStartStatus::Written) << what << ": a fault went untold";
            if (status == NewStartStatus::HalfWritten || status == NewStartStatus::HalfUndone) {
                EXPECT_TRUE(folder.exists(disk::kIntentFile)) << what;
                // The next start, on a disk that works again.
                const auto recovery = disk::finishInterruptedChange(folder.path());
                ASSERT_TRUE(recovery) << what;
                EXPECT_EQ(recovery->result, status == NewStartStatus::HalfWritten
                                                ? disk::Recovery::Result::Completed
                                                : disk::Recovery::Result::Undone)
                    << what;
            }
            const std::string profile = folder.readCp932("ﾌﾟﾗｲﾍﾞｰﾄ1.txt");
            const std::string log = folder.readCp932("データ1.TXT");
            if (status == NewStartStatus::WrittenUnsynced ||
                status == NewStartStatus::HalfWritten) {
                EXPECT_EQ(profile, newProfile) << what;
                EXPECT_EQ(log, newLog) << what;
            } else {
                EXPECT_EQ(folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), kOldProfile) << what;
                EXPECT_EQ(folder.readBytes("データ1.TXT"), kOldLog) << what;
            }
            EXPECT_FALSE(newStartFailure(status).text.empty()) << what;
            // No temporary file, no intent file.
            const std::set<std::string> allowed = {"データ1.TXT", "データ2.txt", "バックアップ",
                                                   "ﾌﾟﾗｲﾍﾞｰﾄ1.txt"};
            for (const auto& name : folder.fileNames())
                EXPECT_TRUE(allowed.count(name)) << what << ": " << name;
            for (const char* copy : {"バックアップ/データ1_20261207_070509.txt",
                                     "バックアップ/ﾌﾟﾗｲﾍﾞｰﾄ1_20261207_070509.txt"}) {
                if (folder.exists(copy)) {
                    EXPECT_EQ(folder.readBytes(copy),
                              std::string(copy).find("データ") != std::string::npos ? kOldLog
                                                                                    : kOldProfile)
                        << what;
                }
            }
            seen.insert(status);
        }
    }
    // Every way out was taken.
    EXPECT_EQ(seen,
              (std::set<NewStartStatus>{NewStartStatus::WrittenUnsynced, NewStartStatus::ReadFailed,
                                        NewStartStatus::BackupFailed, NewStartStatus::WriteFailed,
                                        NewStartStatus::HalfWritten}));
}

TEST_F(NewStartWrite, UnreadableOldFileStopsBeforeAnythingIsWritten) {
    {
        auto fail = testing::InjectFaults::always({disk::fileops::Op::Read});
        EXPECT_EQ(write(), NewStartStatus::ReadFailed);
    }
    EXPECT_EQ(folder.readBytes("データ1.TXT"), kOldLog);
    EXPECT_EQ(folder.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ1.txt"), kOldProfile);
    EXPECT_FALSE(folder.exists("バックアップ"));
    // A file where the backup folder should be: no copy, nothing replaced.
    folder.writeBytes("バックアップ", "x");
    EXPECT_EQ(write(), NewStartStatus::BackupFailed);
    EXPECT_EQ(folder.readBytes("データ1.TXT"), kOldLog);
}

TEST(NewStart, FirstRunIsAFolderWithoutProfilesAndLogs) {
    const struct {
        const char* file;
        bool firstRun;
    } cases[] = {{nullptr, true},         {"状況リスト.txt", true}, {"設定.txt", true},
                 {"データ1.txt", false},  {"データ2.TXT", false},   {"ﾌﾟﾗｲﾍﾞｰﾄ1.txt", false},
                 {"ﾌﾟﾗｲﾍﾞｰﾄ2.TXT", false}};
    for (const auto& c : cases) {
        testing::TempFolder folder;
        if (c.file) folder.writeBytes(c.file, "");
        EXPECT_EQ(isFirstRun(folder.path()), c.firstRun) << (c.file ? c.file : "empty");
    }
}

TEST(ProfileEdit, ChecksAndTexts) {
    const struct {
        ProfileTexts texts;
        std::optional<Notice> expected;
    } cases[] = {
        {{"はなこ", "158.5", "50"}, std::nullopt},
        {{"", "158.5", "50"}, std::nullopt},  // a nickname may be empty
        {{"はなこ", "", ""},
         Notice{"身長が入力されていません", "身長未入力", NoticeIcon::Information, 1}},
        {{"はなこ", "158.5", " "},
         Notice{"目標体重が入力されていません", "目標体重未入力", NoticeIcon::Information, 2}},
        // Refused values name the field and its range; emptiness has its own message.
        {{"はなこ", "abc", "50"},
         Notice{"身長は0より大きい数値で入力してください", "身長入力エラー", NoticeIcon::Warning,
                1}},
        {{"はなこ", "0", "50"},
         Notice{"身長は0より大きい数値で入力してください", "身長入力エラー", NoticeIcon::Warning,
                1}},
        {{"はなこ", "158.5", "-50"},
         Notice{"目標体重は0より大きく600以下の数値で入力してください", "目標体重入力エラー",
                NoticeIcon::Warning, 2}},
        {{"はなこ", "158.5", "9999"},
         Notice{"目標体重は0より大きく600以下の数値で入力してください", "目標体重入力エラー",
                NoticeIcon::Warning, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(validateProfileEdit(c.texts), c.expected)
            << c.texts.height << "/" << c.texts.target;
    EXPECT_EQ(validateProfileEdit({"は\"な", "158.5", "50"})->field, 0);

    EXPECT_EQ(profileFrom({"はなこ", "１６８．５", " 65 "}),
              (store::PartnerProfile{"はなこ", 168.5f, 65.0f}));
    const ProfileTexts shown = profileTexts({"はなこ", 168.5f, 65.0f});
    EXPECT_EQ(shown.height, "168.5");
    EXPECT_EQ(shown.target, "65");
    EXPECT_EQ(profileTexts({}).height, "");
}

}  // namespace
}  // namespace pairly::settings
