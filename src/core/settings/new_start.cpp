#include "core/settings/new_start.h"

#include <cstdio>
#include <system_error>

#include "core/disk/change_set.h"
#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/disk/file_notices.h"
#include "core/disk/file_ops.h"
#include "core/disk/folder_lock.h"
#include "core/store/measurement_log.h"
#include "core/text/numbers.h"

namespace pairly::settings {

namespace {

namespace fs = std::filesystem;

struct FieldRule {
    const char* emptyText;
    const char* emptyTitle;
    std::optional<disk::NumberKind> kind;  // none for the two texts
    const char* name;                      // the field's name in a refusal
};

const std::array<FieldRule, kNewStartFieldCount> kRules = {{
    {"ニックネームが入力されていません", "ニックネーム未入力", std::nullopt, "ニックネーム"},
    {"身長が入力されていません", "身長未入力", disk::NumberKind::Positive, "身長"},
    {"目標体重が入力されていません", "目標体重未入力", disk::NumberKind::Weight, "目標体重"},
    {"現在の体重が入力されていません", "現体重未入力", disk::NumberKind::Weight, "現在の体重"},
    {"現在の体脂肪率が入力されていません", "現体脂肪率未入力", disk::NumberKind::BodyFat,
     "現在の体脂肪率"},
    {"現在の基礎代謝量が入力されていません", "現基礎代謝量未入力", disk::NumberKind::Int16,
     "現在の基礎代謝量"},
    {"現在の内臓脂肪レベルが入力されていません", "現内臓脂肪レベル未入力", disk::NumberKind::Int16,
     "現在の内臓脂肪レベル"},
    {"現在の筋肉量が入力されていません", "現筋肉量未入力", disk::NumberKind::Mass, "現在の筋肉量"},
    // The muscle score shares the muscle mass's title.
    {"現在の筋肉スコアが入力されていません", "現筋肉量未入力", disk::NumberKind::Int16,
     "現在の筋肉スコア"},
    {"現在の骨量が入力されていません", "現骨量未入力", disk::NumberKind::Mass, "現在の骨量"},
    {"初回の状況が入力されていません", "初回状況（コメント）未入力", std::nullopt, "初期状況"},
}};

double typedValue(const std::string& text, disk::NumberKind kind) {
    return disk::readTypedNumber(text, kind).value;
}

std::string twoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

}  // namespace

Notice refusedNumber(const std::string& name, disk::NumberKind kind, int field) {
    return Notice{disk::refusedNumberText(name, kind), name + "入力エラー", NoticeIcon::Warning,
                  field};
}

std::optional<Notice> validateNewStart(const NewStartTexts& texts) {
    for (int i = 0; i < kNewStartFieldCount; ++i) {
        const FieldRule& rule = kRules[static_cast<std::size_t>(i)];
        const std::string& text = texts[static_cast<std::size_t>(i)];
        if (disk::isBlankText(text))
            return Notice{rule.emptyText, rule.emptyTitle, NoticeIcon::Information, i};
        if (rule.kind) {
            if (!disk::readTypedNumber(text, *rule.kind).ok())
                return refusedNumber(rule.name, *rule.kind, i);
        } else if (!disk::isStorableText(text)) {
            return Notice{std::string(rule.name) +
                              "に「\"」（ダブルクォーテーション）・改行・保存できない文字は"
                              "使えません。\n\n入力し直してください。",
                          "入力エラー", NoticeIcon::Warning, i};
        }
    }
    return std::nullopt;
}

NewStartPlan planNewStart(const NewStartTexts& t, const std::string& today) {
    NewStartPlan plan;
    plan.profile.nickname = t[kNickname];
    plan.profile.heightCm = static_cast<float>(typedValue(t[kHeight], disk::NumberKind::Positive));
    plan.profile.targetWeightKg =
        static_cast<float>(typedValue(t[kTargetWeight], disk::NumberKind::Weight));
    const std::pair<NewStartField, disk::NumberKind> numbers[] = {
        {kWeight, disk::NumberKind::Weight},         {kBodyFat, disk::NumberKind::BodyFat},
        {kBasalMetabolism, disk::NumberKind::Int16}, {kVisceralFat, disk::NumberKind::Int16},
        {kMuscleMass, disk::NumberKind::Mass},       {kMuscleScore, disk::NumberKind::Int16},
        {kBoneMass, disk::NumberKind::Mass},
    };
    std::vector<std::string> fields = {disk::quoted(today), disk::quoted(t[kStartSituation])};
    for (const auto& [field, kind] : numbers)
        fields.push_back(text::doubleText(typedValue(t[field], kind)));
    fields.push_back(disk::quoted(""));
    fields.push_back(disk::quoted(""));
    plan.logContent = disk::writeLine(fields);
    return plan;
}

std::string backupName(const std::string& fileName, const text::Date& day, int secondsOfDay) {
    const std::size_t dot = fileName.rfind('.');
    const std::string stem = fileName.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : fileName.substr(dot);
    return stem + "_" + std::to_string(day.year) + twoDigits(day.month) + twoDigits(day.day) + "_" +
           twoDigits(secondsOfDay / 3600) + twoDigits(secondsOfDay / 60 % 60) +
           twoDigits(secondsOfDay % 60) + ext;
}

NewStartStatus writeNewStart(const fs::path& folder, int slot, const NewStartPlan& plan,
                             const text::Date& day, int secondsOfDay) {
    const std::string names[2] = {store::profileFileName(slot), store::logFileName(slot)};
    // The copies and the change, with no other program in between.
    const disk::FolderLock lock(folder);
    if (!lock.held())
        return lock.failure() == disk::WriteStatus::Busy ? NewStartStatus::Busy
                                                         : NewStartStatus::WriteFailed;
    disk::FileBytes old[2];
    for (int i = 0; i < 2; ++i) {
        old[i] = disk::readFileBytes(folder, names[i]);
        if (old[i].status == disk::ReadStatus::Unusable) return NewStartStatus::Unusable;
        if (old[i].failed()) return NewStartStatus::ReadFailed;
    }

    // Years of weighings go after one question: keep them before anything is replaced.
    for (int i = 0; i < 2; ++i) {
        if (old[i].status != disk::ReadStatus::Ok) continue;
        if (!disk::keepInBackupFolder(folder, backupName(names[i], day, secondsOfDay),
                                      old[i].bytes))
            return NewStartStatus::BackupFailed;
    }

    const auto profileBytes = store::profileFileBytes(plan.profile);
    const auto logBytes = disk::toCp932(plan.logContent);
    if (!profileBytes || !logBytes) return NewStartStatus::WriteFailed;
    std::vector<disk::FileStep> steps;
    for (int i = 0; i < 2; ++i) {
        const std::string target = disk::resolveFile(folder, names[i]).filename().string();
        steps.push_back(disk::FileStep::replace(target, i == 0 ? *profileBytes : *logBytes,
                                                target + ".new", old[i]));
    }
    const disk::ChangeOutcome changed = disk::changeFiles(
        folder, slot == 1 ? "新規スタート（一人目の登録）" : "新規スタート（二人目の登録）", steps);
    switch (changed.status) {
        case disk::WriteStatus::Ok:
            return NewStartStatus::Written;
        case disk::WriteStatus::Unsynced:
            return NewStartStatus::WrittenUnsynced;
        case disk::WriteStatus::Stale:
            return NewStartStatus::Changed;
        case disk::WriteStatus::ReadFailed:
            return NewStartStatus::ReadFailed;
        case disk::WriteStatus::Busy:
            return NewStartStatus::Busy;
        case disk::WriteStatus::Unusable:
            return NewStartStatus::Unusable;
        default:
            break;
    }
    switch (changed.pending) {
        case disk::PendingChange::Completion:
            return NewStartStatus::HalfWritten;
        case disk::PendingChange::Undo:
            return NewStartStatus::HalfUndone;
        case disk::PendingChange::None:
            break;
    }
    return NewStartStatus::WriteFailed;
}

Notice newStartFailure(NewStartStatus status, int slot) {
    std::string text;
    switch (status) {
        case NewStartStatus::Written:
            break;
        case NewStartStatus::ReadFailed:
            text =
                "今のデータファイルを読み込めなかったため、登録を中止しました。\n"
                "データは変更されていません。";
            break;
        case NewStartStatus::BackupFailed:
            text =
                "今のデータを「バックアップ」フォルダに保存できなかったため、登録を中止しまし"
                "た。\nデータは変更されていません。\n" +
                std::string(disk::kWriteFailedAdvice) + "。";
            break;
        case NewStartStatus::WriteFailed:
            text =
                "データを保存できなかったため、登録を中止しました。\n"
                "データは変更されていません。\n" +
                std::string(disk::kWriteFailedAdvice) + "。";
            break;
        case NewStartStatus::Changed:
            text =
                "登録の途中で、プライベートデータかデータファイルが別のウィンドウか別のパソコンで"
                "変更されたため、登録を中止しました。\nデータは変更されていません。";
            break;
        case NewStartStatus::HalfWritten:
        case NewStartStatus::HalfUndone:
            text = std::string(
                       "データの保存が途中で止まりました。\n"
                       "ディスクの空き容量と書き込みの権限を確認してから、プログラムを起動し直"
                       "してください。\n次回の起動時に、") +
                   (status == NewStartStatus::HalfWritten ? "残りの保存を済ませます。"
                                                          : "登録する前のデータに戻します。") +
                   "\n元のデータは「バックアップ」フォルダにもあります。";
            break;
        case NewStartStatus::Busy:
            text = disk::busyText();
            break;
        case NewStartStatus::Unusable:
            text = store::profileFileName(slot) + " か " + store::logFileName(slot) +
                   " がリンクか普通のファイルではないため、使いません。\n"
                   "登録を中止しました。データは変更されていません。";
            break;
        case NewStartStatus::WrittenUnsynced: {
            const disk::FileNotice notice = disk::unsyncedNotice(store::profileFileName(slot) +
                                                                 " と " + store::logFileName(slot));
            return Notice{notice.text, notice.title, NoticeIcon::Warning, -1};
        }
    }
    return Notice{text, "保存エラー", NoticeIcon::Warning, -1};
}

bool isFirstRun(const fs::path& folder) {
    for (int slot = 1; slot <= 2; ++slot) {
        if (disk::fileExists(folder, store::profileFileName(slot)) ||
            disk::fileExists(folder, store::logFileName(slot)))
            return false;
    }
    return true;
}

}  // namespace pairly::settings
