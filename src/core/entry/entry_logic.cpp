#include "core/entry/entry_logic.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "core/disk/fields.h"
#include "core/disk/file_notices.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::entry {

namespace {

// The fields in entry order are the record's readings in record order.
static_assert(kFieldCount == store::kReadingCount);
using FieldInfo = store::MeasureRule;
constexpr const auto& kFieldInfo = store::kMeasureRules;

// The first failure of the checks of checkEntry; `values` receives the fields' numbers.
std::optional<SaveMessage> firstFailure(const SaveRequest& request,
                                        std::array<double, store::kReadingCount>& values) {
    if (request.situation.empty()) return SaveMessage{"行動が指定されていません", "行動未入力"};
    // Blanks alone are no value either.
    if (disk::isBlankText(request.fieldTexts[static_cast<int>(Field::Weight)]))
        return SaveMessage{"体重が入力されていません", "体重未入力"};
    if (disk::isBlankText(request.fieldTexts[static_cast<int>(Field::BodyFat)]))
        return SaveMessage{"体脂肪率が入力されていません", "体脂肪率未入力"};
    // A quote or a line break would break the line format of the log.
    if (!disk::isStorableText(request.situation))
        return SaveMessage{"行動に使用できない文字（\" または改行）が含まれています",
                           "行動入力エラー"};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const FieldInfo& info = kFieldInfo[i];
        const disk::TypedNumber number = disk::readTypedNumber(request.fieldTexts[i], info.kind);
        if (!number.ok())
            return SaveMessage{disk::refusedNumberText(info.name, info.kind),
                               std::string(info.name) + "入力エラー", static_cast<Field>(i)};
        values[i] = number.value;
    }
    if (!text::parseDate(request.selectedDay))
        return SaveMessage{"日付が正しくありません", "日付エラー"};
    return std::nullopt;
}

}  // namespace

std::string stepTextFor(Field field, const std::string& weightStep,
                        const std::string& bodyFatStep) {
    switch (field) {
        case Field::Weight:
            return weightStep;
        case Field::BodyFat:
            return bodyFatStep;
        case Field::MuscleMass:
        case Field::BoneMass:
            return "0.1";
        case Field::BasalMetabolism:
        case Field::VisceralFat:
        case Field::MuscleScore:
            break;
    }
    return "1";
}

std::optional<double> parseStep(const std::string& stepText) {
    // A step file written before steps were checked may hold anything: a step that
    // could not be typed today (such as -0.5, which would turn ↑ into ↓) does nothing.
    if (disk::isBlankText(stepText)) return std::nullopt;
    const disk::TypedNumber step = disk::readTypedNumber(stepText, disk::NumberKind::Step);
    if (!step.ok()) return std::nullopt;
    return step.value;
}

std::optional<SaveMessage> checkTypedNumber(const std::string& text, const std::string& name,
                                            disk::NumberKind kind) {
    if (disk::readTypedNumber(text, kind).ok()) return std::nullopt;
    return SaveMessage{disk::refusedNumberText(name, kind), name + "入力エラー"};
}

std::string stepValue(const std::string& fieldText, const std::string& stepText, bool up) {
    const auto step = parseStep(stepText);
    if (!step) return fieldText;
    const double current = disk::readLeadingNumber(fieldText);
    const double next = up ? current + *step : current - *step;
    if (!std::isfinite(next)) return fieldText;
    return text::doubleText(next);
}

FieldTexts fillTexts(const store::Readings& values) { return store::readingTexts(values); }

int nextMarkerMode(int mode) {
    const int next = mode + 1;
    return next > 2 || next < 0 ? 0 : next;
}

CheckedEntry checkEntry(SaveRequest request) {
    CheckedEntry checked;
    checked.request = std::move(request);
    std::array<double, store::kReadingCount> values{};
    checked.refusal = firstFailure(checked.request, values);
    if (!checked.refusal) checked.readings = store::readingsOf(values);
    return checked;
}

std::optional<SaveMessage> futureDayQuestion(const std::string& selectedDay,
                                             const std::string& today) {
    // "yyyy/mm/dd" texts order as their days.
    if (!text::parseDate(selectedDay) || selectedDay <= today) return std::nullopt;
    return SaveMessage{selectedDay + " は今日より後の日付です。\n\nこの日付で保存しますか？",
                       "日付確認"};
}

PlanResult planSave(const CheckedEntry& entry, int recordCount,
                    const std::optional<std::string>& lastRecordDate) {
    PlanResult result;
    if (entry.refusal || !entry.readings) {
        result.refusal = entry.refusal;
        return result;
    }
    // Record numbers are 16-bit throughout; one more would overflow every counter.
    if (recordCount >= store::kMaxRecords) {
        result.refusal = SaveMessage{"データ件数が上限（32766件）に達しているため、保存できません",
                                     "保存件数超過"};
        return result;
    }
    const SaveRequest& request = entry.request;
    SavePlan plan;
    store::MeasurementRecord& r = plan.record;
    r.date = request.selectedDay;
    r.situation = request.situation;
    r.readings() = *entry.readings;
    if (lastRecordDate && *lastRecordDate > request.selectedDay) {
        plan.mode = WriteMode::Insert;  // the time of saving says nothing about a past day
    } else {
        plan.mode = WriteMode::Append;
        if (request.autoTime) r.comment = request.timeText;
    }
    result.plan = std::move(plan);
    return result;
}

SaveOutcome saveMeasurement(const std::filesystem::path& folder, int slot,
                            const CheckedEntry& entry) {
    SaveOutcome outcome;
    const SaveMessage readFailed{
        "データファイルを読み込めなかったため、保存を中止しました。\nデータは変更されていません。",
        "保存エラー"};
    // The one read of the save: the store adds the record from it.
    store::LogRead read = store::readLogForChange(folder, slot);
    const store::LoadedLog& loaded = read.log;
    if (loaded.status == disk::ReadStatus::Unusable) {
        const auto notice =
            disk::blockedWriteNotice(folder, disk::WriteStatus::Unusable, store::logFileName(slot));
        outcome.message = SaveMessage{notice->text, notice->title};
        return outcome;
    }
    const SaveMessage oldLayout{store::oldLayoutRefusal() + "\nデータは変更されていません。",
                                "保存エラー"};
    if (loaded.oldLayout) {
        outcome.message = oldLayout;
        return outcome;
    }
    std::optional<std::string> lastDate;
    if (!loaded.records.empty()) lastDate = loaded.records.back().date;
    PlanResult planned = planSave(entry, static_cast<int>(loaded.records.size()), lastDate);
    if (!planned.plan) {
        outcome.message = std::move(planned.refusal);
        return outcome;
    }
    // Without the whole log neither the place of the record (append or insert) nor the
    // record limit is known: a weighing of an earlier day would land out of order.
    if (loaded.failed()) {
        outcome.message = readFailed;
        return outcome;
    }
    outcome.plan = std::move(planned.plan);
    const disk::WriteStatus status = store::addRecord(folder, slot, read, outcome.plan->record);
    const std::string file = store::logFileName(slot);
    if (const auto notice = disk::blockedWriteNotice(folder, status, file)) {
        outcome.message = SaveMessage{notice->text, notice->title};
        return outcome;
    }
    switch (status) {
        case disk::WriteStatus::Ok:
            outcome.saved = true;
            break;
        case disk::WriteStatus::Unsynced: {
            // In the log, so saved; but the user must hear that the disk did not confirm it.
            outcome.saved = true;
            const disk::FileNotice notice = disk::unsyncedNotice(file);
            outcome.message = SaveMessage{notice.text, notice.title};
            break;
        }
        case disk::WriteStatus::Stale: {
            // Another window (or the other PC) changed the log since it was read.
            outcome.stale = true;
            const disk::FileNotice notice = disk::staleFileNotice(file);
            outcome.message = SaveMessage{notice.text, notice.title};
            break;
        }
        case disk::WriteStatus::ReadFailed:
            outcome.message = readFailed;
            break;
        case disk::WriteStatus::OldLayout:
            outcome.message = oldLayout;
            break;
        case disk::WriteStatus::Refused:
            outcome.message = SaveMessage{
                "データファイルに読み取れない文字が含まれているため、保存を中止しました。\n"
                "データは変更されていません。",
                "保存エラー"};
            break;
        case disk::WriteStatus::WriteFailed:
        case disk::WriteStatus::Busy:
        case disk::WriteStatus::Unusable:
            outcome.message = SaveMessage{
                "データの保存に失敗しました。\n" + std::string(disk::kWriteFailedAdvice) + "。",
                "保存エラー"};
            break;
    }
    if (outcome.saved) outcome.written = std::move(read.log);
    return outcome;
}

SaveOutcome saveMeasurement(const std::filesystem::path& folder, int slot,
                            const SaveRequest& request) {
    return saveMeasurement(folder, slot, checkEntry(request));
}

std::string savedLine(const std::string& nickname, const store::MeasurementRecord& record,
                      int secondsSinceMidnight) {
    const int minutes = secondsSinceMidnight / 60;
    const std::string minuteText = std::to_string(minutes % 60);
    return nickname + "：" + record.situation + " " + text::kg(record.weight) +
           " を保存しました（" + std::to_string(minutes / 60) + ":" +
           (minuteText.size() < 2 ? "0" : "") + minuteText + "）";
}

}  // namespace pairly::entry
