#include "entry/entry_logic.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "store/fields.h"
#include "text/dates.h"
#include "text/numbers.h"

namespace pairly::entry {

namespace {

// Full-width forms that a Japanese input method produces for a number, as ASCII.
std::string asciiNumberText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const auto third = static_cast<unsigned char>(text[i + 2]);
            if (third >= 0x90 && third <= 0x99) {  // ０..９
                out.push_back(static_cast<char>('0' + (third - 0x90)));
                i += 3;
                continue;
            }
            if (third == 0x8E || third == 0x8D || third == 0x8B) {  // ． － ＋
                out.push_back(third == 0x8E ? '.' : third == 0x8D ? '-' : '+');
                i += 3;
                continue;
            }
        }
        if (c == 0xE3 && text.compare(i, 3, "\xE3\x80\x80") == 0) {  // ideographic space
            out.push_back(' ');
            i += 3;
            continue;
        }
        out.push_back(text[i]);
        ++i;
    }
    return out;
}

struct FieldInfo {
    const char* name;  // as named in messages
    bool isInteger;
};

constexpr std::array<FieldInfo, kFieldCount> kFieldInfo = {{
    {"体重", false},
    {"体脂肪率", false},
    {"基礎代謝", true},
    {"内臓脂肪", true},
    {"筋肉量", false},
    {"筋肉スコア", true},
    {"骨量", false},
}};

// The leading number of a field; full-width digits typed with the input method count
// as digits, so "６０．５" is 60.5 and not 0.
double fieldNumber(const std::string& text) { return text::leadingNumber(asciiNumberText(text)); }

float floatValue(const std::string& text) {
    const double v = fieldNumber(text);
    // validateSave has made sure the value fits.
    return static_cast<float>(v);
}

std::int16_t intValue(const std::string& text) { return text::toInt16Clamped(fieldNumber(text)); }

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
    std::string s = asciiNumberText(stepText);
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const auto last = s.find_last_not_of(" \t");
    s = s.substr(first, last - first + 1);
    if (!s.empty() && s.front() == '+') s.erase(s.begin());
    // from_chars would take "+-1" apart from the sign rule above; a sign must lead.
    if (s.empty() || s.front() == '+') return std::nullopt;
    double value = 0;
    const char* end = s.data() + s.size();
    const auto res = std::from_chars(s.data(), end, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string stepValue(const std::string& fieldText, const std::string& stepText, bool up) {
    const auto step = parseStep(stepText);
    if (!step) return fieldText;
    const double current = fieldNumber(fieldText);
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
    if (request.fieldTexts[static_cast<int>(Field::Weight)].empty())
        return SaveMessage{"体重が入力されていません", "体重未入力"};
    if (request.fieldTexts[static_cast<int>(Field::BodyFat)].empty())
        return SaveMessage{"体脂肪率が入力されていません", "体脂肪率未入力"};
    // A quote or a line break would break the line format of the log.
    if (!store::isStorableText(request.situation))
        return SaveMessage{"行動に使用できない文字（\" または改行）が含まれています",
                           "行動入力エラー"};
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldInfo& info = kFieldInfo[static_cast<std::size_t>(i)];
        const double value = fieldNumber(request.fieldTexts[static_cast<std::size_t>(i)]);
        if (info.isInteger) {
            if (!text::toInt16(value))
                return SaveMessage{std::string(info.name) + "の値が範囲外です（-32768～32767）",
                                   "入力範囲外"};
        } else if (!(std::fabs(value) <= std::numeric_limits<float>::max())) {
            return SaveMessage{std::string(info.name) + "の値が大きすぎます", "入力範囲外"};
        }
    }
    if (!text::parseDate(request.selectedDay))
        return SaveMessage{"日付が正しくありません", "日付エラー"};
    return std::nullopt;
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
    r.weight = floatValue(t[static_cast<int>(Field::Weight)]);
    r.bodyFat = floatValue(t[static_cast<int>(Field::BodyFat)]);
    r.basalMetabolism = intValue(t[static_cast<int>(Field::BasalMetabolism)]);
    r.visceralFat = intValue(t[static_cast<int>(Field::VisceralFat)]);
    r.muscleMass = floatValue(t[static_cast<int>(Field::MuscleMass)]);
    r.muscleScore = intValue(t[static_cast<int>(Field::MuscleScore)]);
    r.boneMass = floatValue(t[static_cast<int>(Field::BoneMass)]);
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
    store::WriteStatus status = store::WriteStatus::Ok;
    if (outcome.plan->mode == WriteMode::Insert) {
        status = store::insertRecordInDateOrder(folder, slot, outcome.plan->record);
    } else if (!store::appendRecord(folder, slot, outcome.plan->record)) {
        status = store::WriteStatus::WriteFailed;
    }
    switch (status) {
        case store::WriteStatus::Ok:
            outcome.saved = true;
            break;
        case store::WriteStatus::ReadFailed:
            outcome.message = readFailed;
            break;
        case store::WriteStatus::Refused:
            outcome.message = SaveMessage{
                "データファイルに読み取れない文字が含まれているため、保存を中止しました。\n"
                "データは変更されていません。",
                "保存エラー"};
            break;
        case store::WriteStatus::WriteFailed:
            outcome.message = SaveMessage{
                "データの保存に失敗しました。\nディスクの空き容量と書き込みの権限を確認してください"
                "。",
                "保存エラー"};
            break;
    }
    return outcome;
}

}  // namespace pairly::entry
