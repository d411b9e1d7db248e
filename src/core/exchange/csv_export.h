#pragma once
// Both partners' weighings as one CSV file for spreadsheets and other programs: UTF-8 with
// a byte-order mark, CR LF line ends, a field quoted only when it holds a comma, a quote
// or a line break (quotes doubled). The header line names the columns; partner 1's
// records in log order come first, then partner 2's; the date as yyyy-mm-dd, the values
// in the log's text forms. The reserved field stays in the log.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"

namespace pairly::exchange {

inline constexpr char kCsvHeader[] =
    "partner,nickname,date,situation,weight,bodyFat,basalMetabolism,visceralFat,muscleMass,"
    "muscleScore,boneMass,comment";
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// One field: as it is, or quoted with its quotes doubled when it must be.
std::string csvField(std::string_view text);

// A spreadsheet runs a cell that begins with "=", "+", "-", "@", a tab or a carriage
// return as a formula. A text field (nickname, date, situation, comment) that begins with
// one of them, after any apostrophes, is exported with one more apostrophe in front, which
// a spreadsheet shows as text; the program's own import takes that one apostrophe off
// again. Both ways are unambiguous: "=1" <-> "'=1", "'=1" <-> "''=1", and "'a" stays "'a".
std::string withFormulaGuard(std::string_view text);
std::string withoutFormulaGuard(std::string_view text);

struct CsvPartner {
    std::string nickname;
    std::vector<store::MeasurementRecord> records;
};
// The whole file, byte-order mark included.
std::string csvBytes(const CsvPartner& first, const CsvPartner& second);

struct ExportResult {
    // ReadFailed: a log or a profile could not be read whole (the file names it);
    // OldLayout: partner 1's log waits for its conversion; Refused: the target is a file
    // the program reads or writes in the data folder, or lies in バックアップ/ (`file`
    // names it); Unusable: the target is a link or no regular file (`problem`), which is
    // neither written through nor replaced; WriteFailed/Unsynced: the write.
    disk::WriteStatus status = disk::WriteStatus::Ok;
    std::size_t weighings = 0;     // records written
    std::size_t damagedLines = 0;  // lines of the logs that are no records, left out
    std::string file;              // the file that could not be read, or that is refused
    disk::FileProblem problem = disk::FileProblem::None;
    bool written() const { return disk::isWritten(status); }
};
// Reads both partners of `folder` and writes the file `target` through the safe rewrite
// (its folder must exist; a regular file there is replaced).
[[nodiscard]] ExportResult exportCsv(const std::filesystem::path& folder,
                                     const std::filesystem::path& target);

// The program's own file that `target` would overwrite ("データ1.txt", "書き換え途中.txt",
// "バックアップ/20261207/データ1.txt", …), found by the folder the path resolves to and
// the name ignoring the case of Latin letters; "" when it is none of them.
std::string programFileAt(const std::filesystem::path& folder, const std::filesystem::path& target);

// Why an export to `shownName` was refused (Refused or Unusable), for a message.
std::string exportRefusalText(const std::string& shownName, const ExportResult& result);

}  // namespace pairly::exchange
