#include "core/store/record_edit.h"

#include <utility>

#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::store {

namespace {

EditResult refused(EditRefusal why) {
    EditResult result;
    result.status = disk::WriteStatus::Refused;
    result.refusal = why;
    return result;
}

// The log's state must allow a rewrite at all: read whole and in the current layout.
std::optional<disk::WriteStatus> unwritable(const LoadedLog& log) {
    if (log.failed()) return disk::WriteStatus::ReadFailed;
    if (log.oldLayout) return disk::WriteStatus::OldLayout;
    return std::nullopt;
}

// Digits only, at least one.
std::optional<int> digits(std::string_view text, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "2026/1/5" or "2026/01/05" as "2026/01/05"; nullopt when it is no real day.
std::optional<std::string> typedDate(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const std::size_t a = text.find('/');
    const std::size_t b = a == std::string_view::npos ? a : text.find('/', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    const auto year = digits(text.substr(0, a), 4);
    const auto month = digits(text.substr(a + 1, b - a - 1), 2);
    const auto day = digits(text.substr(b + 1), 2);
    if (!year || !month || !day || text.substr(0, a).size() != 4) return std::nullopt;
    const text::Date date{*year, *month, *day};
    if (!text::isValidDate(date)) return std::nullopt;
    return text::formatDate(date);
}

void moveDamagedAfterErase(LoadedLog& log, std::size_t erased) {
    for (DamagedLine& line : log.damaged)
        if (line.before > erased) --line.before;
}

void moveDamagedAfterInsert(LoadedLog& log, std::size_t inserted) {
    for (DamagedLine& line : log.damaged)
        if (line.before > inserted) ++line.before;
}

EditResult write(const std::filesystem::path& folder, int slot, EditResult planned,
                 const disk::FileStamp& stamp) {
    if (planned.refusal != EditRefusal::None) return planned;
    planned.log.stamp = stamp;
    // A log made in code has no stamp; an edit always comes from a log that was read.
    if (stamp.state == disk::FileStamp::State::Unknown) {
        planned.status = disk::WriteStatus::Stale;
        return planned;
    }
    const disk::WriteResult written = writeBackLog(folder, slot, planned.log);
    planned.status = written.status;
    if (written.written()) {
        planned.stamp = written.stamp;
        planned.log.stamp = written.stamp;
    }
    return planned;
}

}  // namespace

EditResult correctedLog(const LoadedLog& log, std::size_t index, const MeasurementRecord& values) {
    if (const auto status = unwritable(log)) {
        EditResult result;
        result.status = *status;
        return result;
    }
    if (index >= log.records.size()) return refused(EditRefusal::NoSuchRecord);
    if (!text::parseDate(values.date)) return refused(EditRefusal::BadDate);
    if (!disk::isStorableText(values.situation)) return refused(EditRefusal::BadText);
    if (index == 0 && log.records.size() > 1 && values.date > log.records[1].date)
        return refused(EditRefusal::StartAfterNext);
    if (index > 0 && values.date < log.records[0].date) return refused(EditRefusal::BeforeStart);

    EditResult result;
    result.log = log;
    std::vector<MeasurementRecord>& records = result.log.records;
    MeasurementRecord record = values;
    record.comment = records[index].comment;
    record.reserved = records[index].reserved;
    if (record.date == records[index].date || index == 0) {
        records[index] = std::move(record);
        result.index = index;
        return result;
    }
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
    moveDamagedAfterErase(result.log, index);
    const std::size_t at = insertionIndex(records, record.date);
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    moveDamagedAfterInsert(result.log, at);
    result.index = at;
    return result;
}

EditResult reducedLog(const LoadedLog& log, std::size_t index) {
    if (const auto status = unwritable(log)) {
        EditResult result;
        result.status = *status;
        return result;
    }
    if (index >= log.records.size()) return refused(EditRefusal::NoSuchRecord);
    // The first record is the start every comparison counts from.
    if (index == 0 && log.records.size() > 1) return refused(EditRefusal::StartRecord);
    EditResult result;
    result.log = log;
    result.log.records.erase(result.log.records.begin() + static_cast<std::ptrdiff_t>(index));
    moveDamagedAfterErase(result.log, index);
    result.index = index;
    return result;
}

EditResult correctRecord(const std::filesystem::path& folder, int slot, const LoadedLog& log,
                         std::size_t index, const MeasurementRecord& values) {
    EditResult planned = correctedLog(log, index, values);
    if (planned.status != disk::WriteStatus::Ok) return planned;
    return write(folder, slot, std::move(planned), log.stamp);
}

EditResult removeRecord(const std::filesystem::path& folder, int slot, const LoadedLog& log,
                        std::size_t index) {
    EditResult planned = reducedLog(log, index);
    if (planned.status != disk::WriteStatus::Ok) return planned;
    return write(folder, slot, std::move(planned), log.stamp);
}

CorrectionRead readCorrection(const CorrectionTexts& t) {
    const auto& kValues = kMeasureRules;
    CorrectionRead read;
    const auto refuse = [&](std::string text, std::string title, int field = -1) {
        read.refusal = CorrectionMessage{std::move(text), std::move(title), field};
        return read;
    };
    if (disk::isBlankText(t.situation)) return refuse("行動が指定されていません", "行動未入力");
    if (disk::isBlankText(t.values[0])) return refuse("体重が入力されていません", "体重未入力", 0);
    if (disk::isBlankText(t.values[1]))
        return refuse("体脂肪率が入力されていません", "体脂肪率未入力", 1);
    if (!disk::isStorableText(t.situation))
        return refuse("行動に使用できない文字（\" または改行）が含まれています", "行動入力エラー");
    std::array<double, kReadingCount> numbers{};
    for (std::size_t i = 0; i < kReadingCount; ++i) {
        const disk::TypedNumber n = readTypedNumber(t.values[i], kValues[i].kind);
        if (!n.ok())
            return refuse(disk::refusedNumberText(kValues[i].name, kValues[i].kind),
                          std::string(kValues[i].name) + "入力エラー", static_cast<int>(i));
        numbers[i] = n.value;
    }
    const std::optional<std::string> date = typedDate(t.date);
    if (!date) return refuse("日付が正しくありません", "日付エラー");
    MeasurementRecord r;
    r.date = *date;
    r.situation = t.situation;
    r.readings() = readingsOf(numbers);
    read.values = std::move(r);
    return read;
}

std::string deleteQuestion(const std::string& nickname, const MeasurementRecord& r) {
    return nickname + "の " + r.date + " " + r.situation + " " + text::floatText(r.weight) +
           "kg の測定を削除しますか？";
}

std::string editRefusalText(EditRefusal refusal) {
    switch (refusal) {
        case EditRefusal::None:
            return "";
        case EditRefusal::NoSuchRecord:
            return "選んだ測定が見つかりません。画面を更新してから、もう一度選んでください。";
        case EditRefusal::StartRecord:
            return "最初の測定（スタートの記録）は、ほかの測定があるあいだは削除できません。";
        case EditRefusal::StartAfterNext:
            return "最初の測定（スタートの記録）の日付は、次の測定の日付より後にできません。";
        case EditRefusal::BeforeStart:
            return "最初の測定（スタートの記録）の日付より前の日付にはできません。";
        case EditRefusal::BadDate:
            return "日付が正しくありません";
        case EditRefusal::BadText:
            return "行動に使用できない文字（\" または改行）が含まれています";
    }
    return "";
}

}  // namespace pairly::store
