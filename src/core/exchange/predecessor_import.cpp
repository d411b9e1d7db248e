#include "core/exchange/predecessor_import.h"

#include <array>
#include <cmath>
#include <limits>
#include <system_error>

#include "core/disk/change_set.h"
#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/disk/file_notices.h"
#include "core/text/numbers.h"

namespace pairly::exchange {

namespace {

// The converted log is complete under this name before it takes the log's name.
constexpr const char* kConvertedTemp = "データ変換.txt";
constexpr const char* kTitleError = "データ変換エラー";

bool isIntegerMeasure(ImportMeasure m) {
    return m == ImportMeasure::BasalMetabolism || m == ImportMeasure::VisceralFat ||
           m == ImportMeasure::MuscleScore;
}

void setAnswer(store::Readings& answers, ImportMeasure measure, const std::string& text) {
    store::setReading(answers, static_cast<std::size_t>(measure), text::leadingNumber(text));
}

// The backup name, or a numbered one when it is taken: a backup never replaces another.
// A name whose state cannot be looked at counts as taken; empty when none is free.
std::string freeBackupName(const std::filesystem::path& folder, std::string_view stem) {
    for (int n = 1; n < 1000; ++n) {
        const std::string name = std::string(stem) + (n > 1 ? std::to_string(n) : "") + ".txt";
        std::error_code ec;
        const bool taken = std::filesystem::exists(disk::resolveFile(folder, name), ec) || ec;
        if (!taken) return name;
    }
    return {};
}

// The lines of a log that hold anything: one weighing each, whatever their layout.
std::size_t linesHeld(std::string_view bytes) {
    std::size_t held = 0;
    bool blank = true;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            held += blank ? 0 : 1;
            blank = true;
        } else if (c != ' ' && c != '\t') {
            blank = false;
        }
    }
    return held + (blank ? 0 : 1);
}

std::string replaceQuestion(std::size_t held, const std::string& backup) {
    return "データ1.txt の記録（" + std::to_string(held) +
           "件）を連続体重.txtのデータで置き換えます。\nそれまでのデータは " +
           (backup.empty() ? "データbak.txt" : backup) + " に残します。\nよろしいですか？";
}

std::string backupNote(const std::string& name) {
    return "変換前のデータは " + name + " に残してあります。";
}

// The converted content, or nullopt after telling the user why it cannot be stored.
std::optional<std::string> convertedBytes(const std::vector<store::MeasurementRecord>& records,
                                          ImportPrompter& prompter) {
    if (records.size() > static_cast<std::size_t>(store::kMaxRecords)) {
        prompter.warn(
            "変換するデータが上限（32766件）を超えるため、データ変換を中止しました。\n\n"
            "ファイルは変更されていません。",
            kTitleError);
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    bool storable = true;
    for (const auto& r : records) storable = storable && store::isStorableRecord(r);
    if (storable) bytes = disk::toCp932(store::recordsText(records));
    if (!bytes) {
        prompter.warn(
            "変換できない文字が含まれているため、データ変換を中止しました。\n\n"
            "ファイルは変更されていません。",
            kTitleError);
    }
    return bytes;
}

void tellWriteFailed(ImportPrompter& prompter) {
    prompter.warn("変換したデータを保存できなかったため、データ変換を中止しました。\n" +
                      std::string(disk::kWriteFailedAdvice) +
                      "。\n\nファイルは変更されていません。",
                  kTitleError);
}

void tellUnread(ImportPrompter& prompter, const std::string& name) {
    prompter.warn(name +
                      " を読み込めなかったため、データ変換を中止しました。\n\n"
                      "ファイルは変更されていません。",
                  kTitleError);
}

// What became of the change of files that carries out a conversion; `done` is the note
// of a conversion made.
ImportResult tellChange(const disk::ChangeOutcome& changed, const std::string& done,
                        ImportPrompter& prompter) {
    switch (changed.status) {
        case disk::WriteStatus::Ok:
        case disk::WriteStatus::Unsynced:
            prompter.inform(done, "データ変換完了");
            if (changed.status == disk::WriteStatus::Unsynced) {
                const disk::FileNotice n = disk::unsyncedNotice(store::logFileName(1));
                prompter.warn(n.text, n.title);
            }
            return ImportResult::Converted;
        case disk::WriteStatus::Stale:
            prompter.warn(changed.file +
                              " が変換の途中で別のウィンドウか別のパソコンで変更されたため、"
                              "データ変換を中止しました。\n\n"
                              "ファイルは変更されていません。次回の起動時にもう一度確かめます。",
                          kTitleError);
            return ImportResult::Failed;
        case disk::WriteStatus::ReadFailed:
            tellUnread(prompter, changed.file);
            return ImportResult::Failed;
        default:
            break;
    }
    if (changed.pending == disk::PendingChange::None) {
        tellWriteFailed(prompter);
    } else {
        prompter.warn(
            std::string("変換したデータの保存が途中で止まりました。\n"
                        "ディスクの空き容量と書き込みの権限を確認してから、プログラムを"
                        "起動し直してください。\n次回の起動時に、") +
                (changed.pending == disk::PendingChange::Undo ? "変換する前のデータに戻します。"
                                                              : "残りの保存を済ませます。"),
            kTitleError);
    }
    return ImportResult::Failed;
}

// Converts partner 1's six-field log of the given edition.
ImportResult convertPredecessorLog(const std::filesystem::path& folder, ImportSource source,
                                   const disk::FileBytes& log, ImportPrompter& prompter) {
    const auto answers = askImportAnswers(source, prompter);
    if (!answers) return ImportResult::Declined;
    const auto bytes =
        convertedBytes(convertOldRecords(disk::fromCp932(log.bytes), source, *answers), prompter);
    if (!bytes) return ImportResult::Failed;

    const std::string logName =
        disk::resolveFile(folder, store::logFileName(1)).filename().string();
    const std::string backup = freeBackupName(folder, "データbak");
    if (backup.empty()) {
        tellWriteFailed(prompter);
        return ImportResult::Failed;
    }
    // The old log kept under its backup name and the new one in its place, as one change.
    const disk::ChangeOutcome changed =
        disk::changeFiles(folder,
                          source == ImportSource::FirstEdition ? "ルンルン☆ログのデータ変換"
                                                               : "ルンルン☆ログ+のデータ変換",
                          {disk::FileStep::create(backup, log.bytes, backup + ".new"),
                           disk::FileStep::replace(logName, *bytes, kConvertedTemp, log)});
    return tellChange(changed, "データを変換しました。\n" + backupNote(backup), prompter);
}

// Partner 1's log when it could be read whole; nullopt otherwise, after saying so when it
// is there but could not be read (the check is made again at the next start).
std::optional<disk::FileBytes> partnerOneLog(const std::filesystem::path& folder,
                                             ImportPrompter& prompter) {
    disk::FileBytes log = disk::readFileBytes(folder, store::logFileName(1));
    // A link or no regular file was named at start-up already, and is never converted.
    if (log.failed() && log.status != disk::ReadStatus::Unusable) {
        const disk::FileNotice notice = disk::partlyReadNotice(
            store::logFileName(1),
            "以前のプログラムのデータかどうかを確かめられなかったため、次回の起動時にもう一度確かめ"
            "ます。\n");
        prompter.warnLogUnread(notice.text, notice.title);
    }
    if (log.status != disk::ReadStatus::Ok) return std::nullopt;
    return log;
}

}  // namespace

std::vector<ImportQuestion> importQuestions(ImportSource source) {
    const std::string convert = "\n\n変換する場合は現在の";
    std::vector<ImportQuestion> questions;
    switch (source) {
        case ImportSource::WeightOnlyFile:
            questions.push_back(
                {"連続体重.txtを検出しました。" + convert + "体脂肪率を入力してください。",
                 "データ変換および体脂肪率確認", ImportMeasure::BodyFat});
            break;
        case ImportSource::FirstEdition:
            questions.push_back(
                {"ルンルン☆ログのデータを検出しました。" + convert + "体脂肪率を入力してください。",
                 "データ変換および体脂肪率確認", ImportMeasure::BodyFat});
            break;
        case ImportSource::SecondEdition:
            questions.push_back({"ルンルン☆ログ+のデータを検出しました。" + convert +
                                     "基礎代謝量を入力してください。",
                                 "基礎代謝量確認", ImportMeasure::BasalMetabolism});
            break;
    }
    if (source != ImportSource::SecondEdition)
        questions.push_back({"現在の基礎代謝量を入力してください。", "基礎代謝量確認",
                             ImportMeasure::BasalMetabolism});
    questions.push_back({"現在の内臓脂肪レベルを入力してください。", "内臓脂肪レベル確認",
                         ImportMeasure::VisceralFat});
    questions.push_back(
        {"現在の筋肉量を入力してください。", "筋肉量確認", ImportMeasure::MuscleMass});
    questions.push_back(
        {"現在の筋肉スコアを入力してください。", "筋肉スコア確認", ImportMeasure::MuscleScore});
    questions.push_back({"現在の骨量を入力してください。", "骨量確認", ImportMeasure::BoneMass});
    return questions;
}

std::optional<std::string> answerProblem(ImportMeasure measure, const std::string& answer) {
    if (!text::hasLeadingNumber(answer)) return "数値を半角数字で入力してください。";
    const double value = text::leadingNumber(answer);
    if (isIntegerMeasure(measure)) {
        if (!text::toInt16(value)) return "-32768～32767 の整数を入力してください。";
    } else if (!(std::fabs(value) <= std::numeric_limits<float>::max())) {
        return "数値が大きすぎます。";
    }
    return std::nullopt;
}

std::optional<store::Readings> askImportAnswers(ImportSource source, ImportPrompter& prompter) {
    store::Readings answers;
    for (const ImportQuestion& q : importQuestions(source)) {
        while (true) {
            const std::string answer = prompter.ask(q.prompt, q.title);
            if (answer.empty()) return std::nullopt;
            const auto problem = answerProblem(q.measure, answer);
            if (!problem) {
                setAnswer(answers, q.measure, answer);
                break;
            }
            prompter.warn(*problem, q.title);
        }
    }
    return answers;
}

std::vector<store::MeasurementRecord> convertOldRecords(std::string_view content,
                                                        ImportSource source,
                                                        const store::Readings& answers) {
    const std::size_t width = source == ImportSource::WeightOnlyFile ? 3 : 6;
    std::vector<store::MeasurementRecord> records;
    disk::FieldReader reader(content);
    std::array<std::string, 6> f;
    while (true) {
        std::size_t n = 0;
        bool torn = false;
        for (; n < width; ++n) {
            auto field = reader.next();
            if (!field) break;
            f[n] = std::move(*field);
            torn = reader.lastFieldUnterminated();
        }
        if (n < width || torn) break;
        store::MeasurementRecord r;
        r.date = f[0];
        r.situation = f[1];
        r.readings() = answers;
        r.weight = disk::fieldFloat(f[2]);
        if (source == ImportSource::SecondEdition) r.bodyFat = disk::fieldFloat(f[4]);
        if (source != ImportSource::WeightOnlyFile) {
            r.comment = f[3];
            r.reserved = f[5];
        }
        records.push_back(std::move(r));
    }
    return records;
}

ImportResult importWeightOnlyFile(const std::filesystem::path& folder, ImportPrompter& prompter) {
    const disk::FileBytes source = disk::readFileBytes(folder, kWeightOnlyFile);
    if (source.status == disk::ReadStatus::Missing) return ImportResult::NothingFound;
    if (source.failed()) {
        tellUnread(prompter, kWeightOnlyFile);
        return ImportResult::Failed;
    }
    // The log this replaces is kept too, so it must be read whole before anything is asked.
    const disk::FileBytes log = disk::readFileBytes(folder, store::logFileName(1));
    if (log.failed()) {
        tellUnread(prompter, store::logFileName(1));
        return ImportResult::Failed;
    }
    const auto answers = askImportAnswers(ImportSource::WeightOnlyFile, prompter);
    if (!answers) return ImportResult::Declined;
    const auto bytes = convertedBytes(
        convertOldRecords(disk::fromCp932(source.bytes), ImportSource::WeightOnlyFile, *answers),
        prompter);
    if (!bytes) return ImportResult::Failed;
    // The weighings partner 1's log holds are replaced: the user says so first.
    if (const std::size_t held = linesHeld(log.bytes);
        held > 0 && !prompter.confirm(replaceQuestion(held, freeBackupName(folder, "データbak")),
                                      "データ変換確認"))
        return ImportResult::Declined;

    const std::string sourceName = disk::resolveFile(folder, kWeightOnlyFile).filename().string();
    const std::string logName =
        disk::resolveFile(folder, store::logFileName(1)).filename().string();
    const std::string sourceBackup = freeBackupName(folder, "連続体重bak");
    const bool keepLog = !log.bytes.empty();
    const std::string logBackup = keepLog ? freeBackupName(folder, "データbak") : "";

    if (sourceBackup.empty() || (keepLog && logBackup.empty())) {
        tellWriteFailed(prompter);
        return ImportResult::Failed;
    }
    // Everything old is kept under its backup name, and the new log takes the log's name,
    // as one change: all of it is made, or none.
    std::vector<disk::FileStep> steps = {
        disk::FileStep::move(sourceName, sourceBackup, source.bytes)};
    if (keepLog) steps.push_back(disk::FileStep::create(logBackup, log.bytes, logBackup + ".new"));
    steps.push_back(disk::FileStep::replace(logName, *bytes, kConvertedTemp, log));
    std::string note = "連続体重.txtのデータを変換しました。\n" + backupNote(sourceBackup);
    if (keepLog) note += "\nそれまでの " + logName + " は " + logBackup + " に残してあります。";
    return tellChange(disk::changeFiles(folder, "連続体重.txtのデータ変換", steps), note, prompter);
}

ImportResult importPredecessorData(const std::filesystem::path& folder, ImportPrompter& prompter) {
    const auto log = partnerOneLog(folder, prompter);
    if (!log) return ImportResult::NothingFound;
    switch (store::logLayoutOfFirstLine(disk::fromCp932(log->bytes))) {
        case store::LogLayout::FirstEdition:
            return convertPredecessorLog(folder, ImportSource::FirstEdition, *log, prompter);
        case store::LogLayout::SecondEdition:
            return importPredecessorPlusData(folder, prompter);
        case store::LogLayout::Current:
        case store::LogLayout::Unknown:
            break;
    }
    return ImportResult::NothingFound;
}

ImportResult importPredecessorPlusData(const std::filesystem::path& folder,
                                       ImportPrompter& prompter) {
    const auto log = partnerOneLog(folder, prompter);
    if (!log ||
        store::logLayoutOfFirstLine(disk::fromCp932(log->bytes)) != store::LogLayout::SecondEdition)
        return ImportResult::NothingFound;
    return convertPredecessorLog(folder, ImportSource::SecondEdition, *log, prompter);
}

void runPredecessorImport(const std::filesystem::path& folder, ImportPrompter& prompter) {
    importWeightOnlyFile(folder, prompter);
    importPredecessorData(folder, prompter);
}

}  // namespace pairly::exchange
