#pragma once
// The one-line diary: the table of every weighing with its comment, and the comment save
// that rewrites the log with only that comment changed.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"
#include "core/text/cell.h"

namespace pairly::memo {

// Columns of msgMemoList: 0 number, 1 date, 2 situation, 3 weight, 4 difference,
// 5 arrow, 6 body fat, 7 comment, 8..12 the remaining measures (zero width).
inline constexpr int kCommentColumnCount = 13;
inline constexpr int kCommentColumn = 7;
inline constexpr int kArrowColumn = 5;
// Rows the table shows (header included).
inline constexpr int kCommentVisibleRows = 15;

enum class WeightChange { Rise, Same, Fall };

struct CommentRow {
    std::array<text::Cell, kCommentColumnCount> cells;
    WeightChange change = WeightChange::Same;
};

// One row per record, in file order. The difference is taken from the previous row's
// weight; while that weight is 0 (the first row) it is 0. Any non-zero difference gets
// its arrow, even one that shows as "0.0".
std::vector<CommentRow> buildCommentTable(const std::vector<store::MeasurementRecord>& records);
// Row i of that table alone (an empty row beyond the records).
CommentRow commentRow(const std::vector<store::MeasurementRecord>& records, std::size_t i);
// One cell of row i, made when it is drawn (missing beyond the records or columns), and
// the change its arrow shows.
text::Cell commentCell(const std::vector<store::MeasurementRecord>& records, std::size_t i,
                       int col);
WeightChange commentChange(const std::vector<store::MeasurementRecord>& records, std::size_t i);

const char* changeArrow(WeightChange change);

struct CommentMessage {
    std::string text, title;
    bool operator==(const CommentMessage&) const = default;
};

// The refusal of a comment that cannot be stored in the log, or nullopt.
std::optional<CommentMessage> checkComment(const std::string& comment);

struct CommentSaveOutcome {
    bool saved = false;
    // Set when not saved; when saved, the word that the disk did not confirm the write.
    std::optional<CommentMessage> message;
    // The log changed since the table was filled: the screen reads it again.
    bool stale = false;
    disk::FileStamp stamp;  // when saved: the log's new stamp
};

// Writes `comment` into record `row` (1..) of the slot's log and rewrites the log safely;
// every other value, `reserved` included, stays as read. Refuses, writing nothing, when
// the comment cannot be stored, when the log cannot be read whole, or when the log no
// longer holds the bytes the table was filled from (`shown`, its stamp).
CommentSaveOutcome saveComment(const std::filesystem::path& folder, int slot, int row,
                               const disk::FileStamp& shown, const std::string& comment);

}  // namespace pairly::memo
