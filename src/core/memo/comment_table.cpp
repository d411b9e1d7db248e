#include "core/memo/comment_table.h"

#include "core/disk/fields.h"
#include "core/disk/file_notices.h"
#include "core/store/notes_memo.h"
#include "core/text/numbers.h"

namespace pairly::memo {

namespace {

double differenceOf(const std::vector<store::MeasurementRecord>& records, std::size_t i) {
    const double previous = i == 0 ? 0.0 : double{records[i - 1].weight};
    return previous == 0 ? 0.0 : double{records[i].weight} - previous;
}

}  // namespace

WeightChange commentChange(const std::vector<store::MeasurementRecord>& records, std::size_t i) {
    if (i >= records.size()) return WeightChange::Same;
    const double difference = differenceOf(records, i);
    return difference > 0   ? WeightChange::Rise
           : difference < 0 ? WeightChange::Fall
                            : WeightChange::Same;
}

text::Cell commentCell(const std::vector<store::MeasurementRecord>& records, std::size_t i,
                       int col) {
    using text::Cell;
    if (i >= records.size()) return {};
    const store::MeasurementRecord& r = records[i];
    switch (col) {
        case 0:
            return Cell::integer(static_cast<long long>(i) + 1);
        case 1:
            return Cell::text(r.date);
        case 2:
            return Cell::text(r.situation);
        case 3:
            return Cell::shortest(r.weight);
        case 4:
            return Cell::number(differenceOf(records, i), "0.0");
        case 5:
            return Cell::text(changeArrow(commentChange(records, i)));
        case 6:
            return Cell::shortest(r.bodyFat);
        case 7:
            return Cell::text(r.comment);
        case 8:
            return Cell::integer(r.basalMetabolism);
        case 9:
            return Cell::integer(r.visceralFat);
        case 10:
            return Cell::shortest(r.muscleMass);
        case 11:
            return Cell::integer(r.muscleScore);
        case 12:
            return Cell::shortest(r.boneMass);
        default:
            return {};
    }
}

CommentRow commentRow(const std::vector<store::MeasurementRecord>& records, std::size_t i) {
    CommentRow row;
    if (i >= records.size()) return row;
    for (int c = 0; c < kCommentColumnCount; ++c)
        row.cells[static_cast<std::size_t>(c)] = commentCell(records, i, c);
    row.change = commentChange(records, i);
    return row;
}

std::vector<CommentRow> buildCommentTable(const std::vector<store::MeasurementRecord>& records) {
    std::vector<CommentRow> rows;
    rows.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) rows.push_back(commentRow(records, i));
    return rows;
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
    if (disk::hasFieldBreakingChar(comment))
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
                               const disk::FileStamp& shown, const std::string& comment) {
    CommentSaveOutcome outcome;
    if (auto refusal = checkComment(comment)) {
        outcome.message = std::move(refusal);
        return outcome;
    }
    const auto changedElsewhere = [slot] {
        const disk::FileNotice notice = disk::staleFileNotice(store::logFileName(slot), true);
        CommentSaveOutcome stale;
        stale.message = CommentMessage{notice.text, notice.title};
        stale.stale = true;
        return stale;
    };
    // The rewrite starts from the log as it is now, never from what the screen holds.
    store::LoadedLog log = store::loadLog(folder, slot);
    if (const auto notice = log.status == disk::ReadStatus::Unusable
                                ? disk::blockedWriteNotice(folder, disk::WriteStatus::Unusable,
                                                           store::logFileName(slot))
                                : std::nullopt) {
        outcome.message = CommentMessage{notice->text, notice->title};
        return outcome;
    }
    if (log.failed())
        return refused("データファイルを読み込めなかったため、一言日記を保存できませんでした。");
    if (log.oldLayout) return refused(store::oldLayoutRefusal());
    // Row numbers count the records alone, on the screen as here: damaged lines are kept
    // at their places by the rewrite.
    auto& records = log.records;
    if (!disk::stillHolds(shown, log.stamp) || row < 1 || row > static_cast<int>(records.size()))
        return changedElsewhere();
    if (records.size() > static_cast<std::size_t>(store::kMaxRecords))
        return refused("データ件数が上限（32766件）を超えているため、保存できませんでした。");
    for (const auto& r : records)
        if (!store::isStorableRecord(r))
            return refused(
                "データファイルに保存できない文字を含む行があるため、一言日記を保存できませんでした"
                "。");
    records[static_cast<std::size_t>(row - 1)].comment = comment;
    const disk::WriteResult written = store::writeBackLog(folder, slot, log);
    if (const auto notice =
            disk::blockedWriteNotice(folder, written.status, store::logFileName(slot))) {
        outcome.message = CommentMessage{notice->text, notice->title};
        return outcome;
    }
    switch (written.status) {
        case disk::WriteStatus::Ok:
            return {true, std::nullopt, false, written.stamp};
        case disk::WriteStatus::Unsynced: {
            const disk::FileNotice notice = disk::unsyncedNotice(store::logFileName(slot));
            return {true, CommentMessage{notice.text, notice.title}, false, written.stamp};
        }
        case disk::WriteStatus::Stale:
            return changedElsewhere();
        case disk::WriteStatus::OldLayout:
            return refused(store::oldLayoutRefusal());
        case disk::WriteStatus::ReadFailed:
            return refused(
                "データファイルを読み込めなかったため、一言日記を保存できませんでした。");
        default:
            break;
    }
    return refused(
        "一言日記の保存に失敗しました。\nディスクの空き容量と書き込みの権限を確認してくださ"
        "い。");
}

}  // namespace pairly::memo
