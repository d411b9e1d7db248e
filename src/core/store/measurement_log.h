#pragma once
// The measurement log of one partner: "データ1.txt" / "データ2.txt".
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/disk/data_folder.h"
#include "core/store/readings.h"

namespace pairly::store {

// When and in which situation a weighing was made: the first two fields of its record.
struct Occasion {
    std::string date;  // "yyyy/mm/dd"
    std::string situation;
    bool operator==(const Occasion&) const = default;
};

// One weighing. Its eleven fields come in file order (the occasion, the seven readings,
// the comment and the reserved text), so a record is written in braces as its line reads.
struct MeasurementRecord : Occasion, Readings {
    std::string comment;
    std::string reserved;
    const Readings& readings() const { return *this; }
    Readings& readings() { return *this; }
    bool operator==(const MeasurementRecord&) const = default;
};

// A log holds at most this many records (counters are 16-bit).
constexpr int kMaxRecords = 32766;

std::string logFileName(int slot);  // "データ1.txt" / "データ2.txt"

// One line of the write form, with CR LF.
std::string recordLine(const MeasurementRecord& record);

// A log is read one record per line. A line that is not a record of eleven fields of
// their types (a field too few or too many, a quote that does not close on the line, a
// number that is no number of its field's type, a bare text holding a quote) is a damaged
// line: never shown, and carried byte for byte at its place through every rewrite. Blank
// lines are skipped. A last line without a line end that holds no whole record (a line
// torn by a crash) is dropped, the log kept whole in バックアップ/ first.
struct DamagedLine {
    std::size_t before = 0;      // index of the record it precedes (records.size(): none)
    std::size_t lineNumber = 0;  // 1, 2, … counted as an editor counts the file's lines
    std::string bytes;           // the line as it is in the file, its line end included
};

// Records from decoded file content; damaged lines and a torn last line give none.
std::vector<MeasurementRecord> parseRecords(const std::string& content);
// The same from the file's CP932 bytes: parseRecords(fromCp932(bytes)), without decoding
// the ASCII fields.
std::vector<MeasurementRecord> parseCp932Records(std::string_view bytes);

// The lines of a log's content (raw CP932 bytes or decoded text alike: the separators and
// the quote are never part of a multi-byte character), without making records.
struct LogScan {
    struct Line {
        std::size_t lineNumber = 0;
        std::string_view bytes;  // line end included
    };
    std::size_t records = 0;    // whole records
    std::vector<Line> damaged;  // in file order
    bool torn = false;          // the last line is torn
    std::size_t wholeEnd = 0;   // where the torn last line starts (the content's size when none)
};
LogScan scanLog(std::string_view content);

// The layout of a log, told by its first line: eleven fields are the current format; six
// fields are predecessor data, the first edition when the fifth is a quoted text and the
// second edition when it is bare. Anything else (no line, other counts) is Unknown.
enum class LogLayout { Unknown, Current, FirstEdition, SecondEdition };
LogLayout logLayoutOfFirstLine(std::string_view content);
// Partner 1's log in a predecessor's layout waits for its conversion at start-up: it is
// read as holding no records and never written (a new start excepted, which replaces it).
bool isOldLayoutLog(int slot, std::string_view content);

// All the lines of the records, in order.
std::string recordsText(const std::vector<MeasurementRecord>& records);
// Every text field can be written (see isStorableText); writers refuse a record that fails.
bool isStorableRecord(const MeasurementRecord& record);
// Position at which insertRecordInDateOrder places a record of this date: before the
// first record whose date is later (text comparison), else at the end.
std::size_t insertionIndex(const std::vector<MeasurementRecord>& records, const std::string& date);

// A log as read: the records that could be read, the damaged lines between them, and
// whether the file could be read at all. A missing log is an empty list and not a failure
// (a first run); on a failure the records are what was read before it, to show but never
// to write back.
struct LoadedLog {
    std::vector<MeasurementRecord> records;
    std::vector<DamagedLine> damaged;  // in file order
    disk::ReadStatus status = disk::ReadStatus::Missing;
    bool oldLayout = false;  // see isOldLayoutLog: no records read
    disk::FileStamp stamp;   // of the bytes the records came from
    bool failed() const { return disk::isReadFailure(status); }
};
LoadedLog loadLog(const std::filesystem::path& folder, int slot);
// The same from the file as read.
LoadedLog logFromFile(int slot, const disk::FileBytes& file);
// A log read for a change: the log and the bytes it was read from, kept until the change
// is written, so that the change is made from this one read.
struct LogRead {
    disk::FileBytes file;
    LoadedLog log;
};
LogRead readLogForChange(const std::filesystem::path& folder, int slot);
// The records and damaged lines of a log's CP932 bytes (no layout check).
LoadedLog parseLog(std::string_view bytes);
// The bytes of a log: its records in the write form with its damaged lines as they were
// at their places. nullopt when a text has no CP932 form.
std::optional<std::string> logBytes(const LoadedLog& log);
std::optional<std::string> lastRecordDate(const std::filesystem::path& folder, int slot);

// The refusal of a save to a log in an old layout (without the closing sentence that
// says nothing was changed, which each screen words its own way).
std::string oldLayoutRefusal();

// The message start-up shows when a log holds damaged lines: the files and line numbers,
// and that the lines are kept unchanged. nullopt when there are none; a log in an old
// layout is left to the import.
struct LogNotice {
    std::string text;
    std::string title;
};
struct DamagedLinesOfFile {
    std::string file;
    std::vector<std::size_t> lineNumbers;
};
std::optional<LogNotice> damagedLinesNotice(const std::vector<DamagedLinesOfFile>& files);
std::optional<LogNotice> damagedLinesNotice(const std::filesystem::path& folder);

// The writers below refuse (file unchanged) when the log would exceed
// kMaxRecords, when a text field is not storable, when the log cannot be read whole, when
// it is in an old layout, or when the write fails. Damaged lines stay at their places.
// Before the first rewrite of a log with damaged lines, and before any that drops a torn
// last line, the log as it was is kept as バックアップ/データN_修復前.txt (a numbered name
// when taken); when that copy fails nothing is written.
// Appends the record, telling a refusal (Refused: the record limit or a text that cannot be stored;
// ReadFailed: the log could not be read whole; OldLayout) from a failed write (Unsynced:
// the record is in the log, but the disk did not confirm it).
[[nodiscard]] disk::WriteStatus appendRecordWithStatus(const std::filesystem::path& folder,
                                                       int slot, const MeasurementRecord& record);
// Adds a weighing to a log read by readLogForChange where its day belongs: appended when
// the log's last record is of the same day or an earlier one (or the log is empty), else
// placed as insertRecordInDateOrder places it. Written under the folder's lock, and only
// while the file still holds the bytes `read` came from (Stale otherwise, nothing written);
// refused as the writers above and below refuse. When written, `read.log` is the log as the
// file now holds it (the record in its place, the new stamp) and `read.file` is spent;
// otherwise `read` is as it was.
[[nodiscard]] disk::WriteStatus addRecord(const std::filesystem::path& folder, int slot,
                                          LogRead& read, const MeasurementRecord& record);
// Rewrites the log (through "データコピー.txt") with the record placed before the first
// record of a later day, or at the end when there is none; a damaged line before that
// record stays before the new one. Refuses (ReadFailed) when the old log cannot be read
// completely, so that no weighing is ever lost, and (Refused) when a text has no CP932
// form.
[[nodiscard]] disk::WriteStatus insertRecordInDateOrder(const std::filesystem::path& folder,
                                                        int slot, const MeasurementRecord& record);
// Writes a log read by loadLog back with its changed records, its damaged lines at their
// places, only while the file still holds the bytes it was read from (Stale otherwise,
// nothing written). A log that could not be read whole is never written back (ReadFailed).
[[nodiscard]] disk::WriteResult writeBackLog(const std::filesystem::path& folder, int slot,
                                             const LoadedLog& log);
// For a writer that replaces the log from bytes it has read (oldBytes): keeps the log in
// バックアップ/ when the rewrite would drop a torn last line, or when it holds damaged
// lines that no copy there holds yet. False when the copy failed.
[[nodiscard]] bool keepTornLogBeforeRewrite(const std::filesystem::path& folder, int slot,
                                            std::string_view oldBytes);

}  // namespace pairly::store
