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

// The fields in entry order are the record's measures in record order.
static_assert(kFieldCount == disk::kMeasureCount);
using FieldInfo = disk::MeasureRule;
constexpr const auto& kFieldInfo = disk::kMeasureRules;

// validateSave has made sure that every field reads as a typed number in range.
double typedValue(const FieldTexts& texts, Field field) {
    const auto i = static_cast<std::size_t>(field);
    return disk::readTypedNumber(texts[i], kFieldInfo[i].kind).value;
}
float floatValue(const FieldTexts& texts, Field field) {
    return static_cast<float>(typedValue(texts, field));
}
std::int16_t intValue(const FieldTexts& texts, Field field) {
    return text::toInt16Clamped(typedValue(texts, field));
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

FieldTexts fillTexts(const PreviousValues& values) {
    return {
        text::floatText(values.weight),         text::floatText(values.bodyFat),
        std::to_string(values.basalMetabolism), std::to_string(values.visceralFat),
        text::floatText(values.muscleMass),     std::to_string(values.muscleScore),
        text::floatText(values.boneMass),
    };
}

int nextMarkerMode(int mode) {
    const int next = mode + 1;
    return next > 2 || next < 0 ? 0 : next;
}

std::optional<SaveMessage> validateSave(const SaveRequest& request) {
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
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldInfo& info = kFieldInfo[static_cast<std::size_t>(i)];
        if (auto refusal = checkTypedNumber(request.fieldTexts[static_cast<std::size_t>(i)],
                                            info.name, info.kind)) {
            refusal->field = static_cast<Field>(i);
            return refusal;
        }
    }
    if (!text::parseDate(request.selectedDay))
        return SaveMessage{"日付が正しくありません", "日付エラー"};
    return std::nullopt;
}

std::optional<SaveMessage> futureDayQuestion(const std::string& selectedDay,
                                             const std::string& today) {
    // "yyyy/mm/dd" texts order as their days.
    if (!text::parseDate(selectedDay) || selectedDay <= today) return std::nullopt;
    return SaveMessage{selectedDay + " は今日より後の日付です。\n\nこの日付で保存しますか？",
                       "日付確認"};
}

PlanResult planSave(const SaveRequest& request, int recordCount,
                    const std::optional<std::string>& lastRecordDate) {
    PlanResult result;
    if (auto refusal = validateSave(request)) {
        result.refusal = std::move(refusal);
        return result;
    }
    // Record numbers are 16-bit throughout; one more would overflow every counter.
    if (recordCount >= store::kMaxRecords) {
        result.refusal = SaveMessage{"データ件数が上限（32766件）に達しているため、保存できません",
                                     "保存件数超過"};
        return result;
    }
    const FieldTexts& t = request.fieldTexts;
    SavePlan plan;
    store::MeasurementRecord& r = plan.record;
    r.date = request.selectedDay;
    r.situation = request.situation;
    r.weight = floatValue(t, Field::Weight);
    r.bodyFat = floatValue(t, Field::BodyFat);
    r.basalMetabolism = intValue(t, Field::BasalMetabolism);
    r.visceralFat = intValue(t, Field::VisceralFat);
    r.muscleMass = floatValue(t, Field::MuscleMass);
    r.muscleScore = intValue(t, Field::MuscleScore);
    r.boneMass = floatValue(t, Field::BoneMass);
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
                            const SaveRequest& request) {
    SaveOutcome outcome;
    const SaveMessage readFailed{
        "データファイルを読み込めなかったため、保存を中止しました。\nデータは変更されていません。",
        "保存エラー"};
    const store::LoadedLog loaded = store::loadLog(folder, slot);
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
    const std::vector<store::MeasurementRecord>& log = loaded.records;
    std::optional<std::string> lastDate;
    if (!log.empty()) lastDate = log.back().date;
    PlanResult planned = planSave(request, static_cast<int>(log.size()), lastDate);
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
    const disk::WriteStatus status =
        outcome.plan->mode == WriteMode::Insert
            ? store::insertRecordInDateOrder(folder, slot, outcome.plan->record)
            : store::appendRecordWithStatus(folder, slot, outcome.plan->record);
    if (const auto notice = disk::blockedWriteNotice(folder, status, store::logFileName(slot))) {
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
            const disk::FileNotice notice = disk::unsyncedNotice(store::logFileName(slot));
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
        case disk::WriteStatus::Stale:  // appends and insertions read the log they change
            outcome.message = SaveMessage{
                "データの保存に失敗しました。\nディスクの空き容量と書き込みの権限を確認してください"
                "。",
                "保存エラー"};
            break;
    }
    return outcome;
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
