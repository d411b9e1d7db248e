#pragma once
// The measurement log of one partner: "データ1.txt" / "データ2.txt".
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/data_folder.h"

namespace pairly::store {

struct MeasurementRecord {
    std::string date;  // "yyyy/mm/dd"
    std::string situation;
    float weight = 0;
    float bodyFat = 0;
    std::int16_t basalMetabolism = 0;
    std::int16_t visceralFat = 0;
    float muscleMass = 0;
    std::int16_t muscleScore = 0;
    float boneMass = 0;
    std::string comment;
    std::string reserved;
    bool operator==(const MeasurementRecord&) const = default;
};

// A log holds at most this many records (counters are 16-bit).
constexpr int kMaxRecords = 32766;

std::string logFileName(int slot);  // "データ1.txt" / "データ2.txt"

// One line of the write form, with CR LF.
std::string recordLine(const MeasurementRecord& record);
// Records from decoded file content; empty lines between records are skipped. A record cut
// short at the end (a line torn by a crash) is dropped.
std::vector<MeasurementRecord> parseRecords(const std::string& content);
// The same from the file's CP932 bytes: parseRecords(fromCp932(bytes)), without decoding
// the ASCII fields.
std::vector<MeasurementRecord> parseCp932Records(std::string_view bytes);

// The shape of a log's content (raw CP932 bytes or decoded text alike: the separators and
// the quote are never part of a multi-byte character): how many whole records it holds,
// and where the fields that make no whole record begin (the content's size when none).
struct RecordScan {
    std::size_t records = 0;
    std::size_t wholeEnd = 0;
    bool leftover = false;
};
RecordScan scanRecords(std::string_view content);

// All the lines of the records, in order.
std::string recordsText(const std::vector<MeasurementRecord>& records);
// Every text field can be written (see isStorableText); writers refuse a record that fails.
bool isStorableRecord(const MeasurementRecord& record);
// Position at which insertRecordInDateOrder places a record of this date: before the
// first record whose date is later (text comparison), else at the end.
std::size_t insertionIndex(const std::vector<MeasurementRecord>& records, const std::string& date);

// A log as read: the records that could be read, and whether the file could be read at
// all. A missing log is an empty list and not a failure (a first run); on a failure the
// records are what was read before it, to show but never to write back.
struct LoadedLog {
    std::vector<MeasurementRecord> records;
    ReadStatus status = ReadStatus::Missing;
    FileStamp stamp;  // of the bytes the records came from
    bool failed() const { return status == ReadStatus::Failed; }
};
LoadedLog loadLog(const std::filesystem::path& folder, int slot);
std::optional<std::string> lastRecordDate(const std::filesystem::path& folder, int slot);

// The writers below refuse (return false, file unchanged) when the log would exceed
// kMaxRecords, when a text field is not storable, when the log cannot be read whole, or
// when the write fails. Fields after the last whole record (a torn last line) are not
// written back: the log as it was is first kept as バックアップ/データN_修復前.txt (a
// numbered name when taken), and when that copy fails nothing is written.
[[nodiscard]] bool appendRecord(const std::filesystem::path& folder, int slot,
                                const MeasurementRecord& record);
// The same, telling a refusal (Refused: the record limit or a text that cannot be stored;
// ReadFailed: the log could not be read whole) from a failed write (Unsynced: the record
// is in the log, but the disk did not confirm it).
[[nodiscard]] WriteStatus appendRecordWithStatus(const std::filesystem::path& folder, int slot,
                                                 const MeasurementRecord& record);
// Rewrites the log (through "データコピー.txt") with the record placed before the first
// record of a later day, or at the end when there is none. Refuses (ReadFailed) when the
// old log cannot be read completely, so that no weighing is ever lost, and (Refused) when
// a text has no CP932 form.
[[nodiscard]] WriteStatus insertRecordInDateOrder(const std::filesystem::path& folder, int slot,
                                                  const MeasurementRecord& record);
[[nodiscard]] bool rewriteLog(const std::filesystem::path& folder, int slot,
                              const std::vector<MeasurementRecord>& records);
// The same for records a screen made from the log it read: only while the log still holds
// what `shown` was read from (Stale otherwise, nothing written).
[[nodiscard]] WriteResult rewriteLog(const std::filesystem::path& folder, int slot,
                                     const std::vector<MeasurementRecord>& records,
                                     const FileStamp& shown);
// For a writer that replaces the log from bytes it has read (oldBytes): keeps the log in
// バックアップ/ when the rewrite would drop a torn last line. False when the copy failed.
[[nodiscard]] bool keepTornLogBeforeRewrite(const std::filesystem::path& folder, int slot,
                                            std::string_view oldBytes);

}  // namespace pairly::store
