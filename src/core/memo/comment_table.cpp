#include "core/memo/comment_table.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

#include "core/store/fields.h"
#include "core/store/file_notices.h"
#include "core/store/notes_memo.h"
#include "core/text/numbers.h"

namespace pairly::maintenance {

namespace {

// A long log repeats the same few hundred values: each is turned into text once.
class ValueTexts {
public:
    const std::string& shortest(float value) {
        auto [it, added] = floats_.try_emplace(std::bit_cast<std::uint32_t>(value));
        if (added) it->second = text::floatText(value);
        return it->second;
    }
    const std::string& oneDecimal(double value) {
        auto [it, added] = differences_.try_emplace(std::bit_cast<std::uint64_t>(value));
        if (added) it->second = text::formatNumber(value, "0.0");
        return it->second;
    }

private:
    std::unordered_map<std::uint32_t, std::string> floats_;
    std::unordered_map<std::uint64_t, std::string> differences_;
};

}  // namespace

namespace {

CommentRow rowOf(const std::vector<store::MeasurementRecord>& records, std::size_t i,
                 ValueTexts& texts) {
    const store::MeasurementRecord& r = records[i];
    const double previous = i == 0 ? 0.0 : double{records[i - 1].weight};
    const double difference = previous == 0 ? 0.0 : double{r.weight} - previous;
    CommentRow row;
    auto& c = row.cells;
    c[0] = std::to_string(i + 1);
    c[1] = r.date;
    c[2] = r.situation;
    c[3] = texts.shortest(r.weight);
    c[4] = texts.oneDecimal(difference);
    row.change = difference > 0   ? WeightChange::Rise
                 : difference < 0 ? WeightChange::Fall
                                  : WeightChange::Same;
    c[5] = changeArrow(row.change);
    c[6] = texts.shortest(r.bodyFat);
    c[7] = r.comment;
    c[8] = std::to_string(int{r.basalMetabolism});
    c[9] = std::to_string(int{r.visceralFat});
    c[10] = texts.shortest(r.muscleMass);
    c[11] = std::to_string(int{r.muscleScore});
    c[12] = texts.shortest(r.boneMass);
    return row;
}

}  // namespace

std::vector<CommentRow> buildCommentTable(const std::vector<store::MeasurementRecord>& records) {
    std::vector<CommentRow> rows;
    rows.reserve(records.size());
    ValueTexts texts;
    for (std::size_t i = 0; i < records.size(); ++i) rows.push_back(rowOf(records, i, texts));
    return rows;
}

CommentRow commentRow(const std::vector<store::MeasurementRecord>& records, std::size_t i) {
    if (i >= records.size()) return {};
    ValueTexts texts;
    return rowOf(records, i, texts);
}

const char* changeArrow(WeightChange change) {
    switch (change) {
        case WeightChange::Rise:
            return "↑";
        case WeightChange::Fall:
            return "↓";
        case WeightChange::Same:
            break;
    }
    return "→";
}

std::optional<CommentMessage> checkComment(const std::string& comment) {
    if (store::hasFieldBreakingChar(comment))
        return CommentMessage{
            "一言日記に「\"」（ダブルクォーテーション）や改行は使えません。\n\n"
            "入力し直してください。",
            "入力エラー"};
    if (auto bad = store::firstCharWithoutCp932Form(comment))
        return CommentMessage{"一言日記の「" + *bad +
                                  "」は保存できない文字です。\n\n"
                                  "別の文字で入力し直してください。",
                              "入力エラー"};
    return std::nullopt;
}

namespace {

CommentSaveOutcome refused(std::string reason) {
    CommentSaveOutcome outcome;
    outcome.message =
        CommentMessage{std::move(reason) + "\nデータは変更されていません。", "保存エラー"};
    return outcome;
}

}  // namespace

CommentSaveOutcome saveComment(const std::filesystem::path& folder, int slot, int row,
                               const store::FileStamp& shown, const std::string& comment) {
    CommentSaveOutcome outcome;
    if (auto refusal = checkComment(comment)) {
        outcome.message = std::move(refusal);
        return outcome;
    }
    const auto changedElsewhere = [slot] {
        const store::FileNotice notice = store::staleFileNotice(store::logFileName(slot), true);
        CommentSaveOutcome stale;
        stale.message = CommentMessage{notice.text, notice.title};
        stale.stale = true;
        return stale;
    };
    // The rewrite starts from the log as it is now, never from what the screen holds.
    store::LoadedLog log = store::loadLog(folder, slot);
    if (log.failed())
        return refused("データファイルを読み込めなかったため、一言日記を保存できませんでした。");
    if (log.oldLayout) return refused(store::oldLayoutRefusal());
    // Row numbers count the records alone, on the screen as here: damaged lines are kept
    // at their places by the rewrite.
    auto& records = log.records;
    if (!store::stillHolds(shown, log.stamp) || row < 1 || row > static_cast<int>(records.size()))
        return changedElsewhere();
    if (records.size() > static_cast<std::size_t>(store::kMaxRecords))
        return refused("データ件数が上限（32766件）を超えているため、保存できませんでした。");
    for (const auto& r : records)
        if (!store::isStorableRecord(r))
            return refused(
                "データファイルに保存できない文字を含む行があるため、一言日記を保存できませんでした"
                "。");
    records[static_cast<std::size_t>(row - 1)].comment = comment;
    const store::WriteResult written = store::writeBackLog(folder, slot, log);
    switch (written.status) {
        case store::WriteStatus::Ok:
            return {true, std::nullopt, false, written.stamp};
        case store::WriteStatus::Unsynced: {
            const store::FileNotice notice = store::unsyncedNotice(store::logFileName(slot));
            return {true, CommentMessage{notice.text, notice.title}, false, written.stamp};
        }
        case store::WriteStatus::Stale:
            return changedElsewhere();
        case store::WriteStatus::OldLayout:
            return refused(store::oldLayoutRefusal());
        case store::WriteStatus::ReadFailed:
            return refused(
                "データファイルを読み込めなかったため、一言日記を保存できませんでした。");
        default:
            break;
    }
    return refused(
        "一言日記の保存に失敗しました。\nディスクの空き容量と書き込みの権限を確認してくださ"
        "い。");
}

}  // namespace pairly::maintenance
