#pragma once
// Weighings brought in from a file, in two steps for the screen: readImport tells what a
// file holds (rows, or the lines that do not read), mergeImport puts the rows into a
// partner's log in date order. Four kinds of file are known by their content:
//   - this program's CSV export (rows of both partners, each with its partner),
//   - the CSV export of openScale (columns by header name, in any order; dateTime as
//     dd.MM.yyyy HH:mm, muscle as a percentage of the weight),
//   - a plain CSV with a date column and a weight column (日付/date, 体重/weight),
//   - a measurement log of this program (a backup, a conflict copy): records as they are.
// Rows of openScale and of a plain CSV get the situation "インポート" and, when they carry
// a time of day and no comment, that time as the automatic time writes it.
//
// A file from outside is hostile until read: it is read only when it is a regular file,
// at most kMaxFileBytes with lines of at most kMaxImportLineBytes. Its encoding is UTF-8
// when it starts with a byte-order mark, else UTF-8 when all of it is, else CP932 when
// all of it is; a file that is neither is refused. Every value of a row is read by the
// entry screen's rule for its measure (kMeasureRules), and its day lies between
// kFirstImportDay and today: a row that fails is a bad row, and one bad row refuses the
// whole file.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"

namespace pairly::exchange {

enum class ImportFormat { Unknown, OwnCsv, OpenScale, PlainCsv, Log };

inline constexpr char kImportSituation[] = "インポート";
// No weighing of an imported row lies before this day.
inline constexpr text::Date kFirstImportDay{1900, 1, 1};

struct ImportRead {
    disk::ReadStatus status = disk::ReadStatus::Missing;  // of the file itself
    disk::FileProblem problem = disk::FileProblem::None;  // Unusable: why
    std::size_t longLine = 0;                             // LineTooLong: its number
    std::string name;                                     // the file's name, for the messages
    bool unknownEncoding = false;                         // neither UTF-8 nor CP932
    ImportFormat format = ImportFormat::Unknown;
    std::vector<store::MeasurementRecord> rows;  // in file order
    // The program's CSV: the partner (1 or 2) of each row; empty for other files.
    std::vector<int> rowPartners;
    // Lines (1, 2, … as an editor counts them) of rows whose date, weight or another value
    // does not read or lies out of range, or whose text cannot be stored: while there is
    // one, nothing is merged.
    std::vector<std::size_t> badLines;
    // Lines of a log that are no records (as the program never shows them): left out.
    std::vector<std::size_t> ignoredLines;
    std::size_t otherPartnerRows = 0;  // after forPartner: the other partner's rows
    // Rows can be merged.
    bool usable() const {
        return status == disk::ReadStatus::Ok && !unknownEncoding &&
               format != ImportFormat::Unknown && badLines.empty() && !rows.empty();
    }
};
// `today` bounds the days of the rows; a partner of 1 or 2 keeps that partner's rows
// (forPartner), 0 keeps every row.
ImportRead readImportBytes(std::string_view bytes, const text::Date& today, int partner = 0);
// The file as the user chose it: the path is resolved once (a folder reached through a
// link is fine), and the file itself is then opened without following a link and
// without waiting (a FIFO, a device or a folder is refused at once).
ImportRead readImport(const std::filesystem::path& file, const text::Date& today, int partner = 0);
// The rows for one partner's log: of the program's CSV, that partner's rows, the others
// counted in otherPartnerRows; of any other file, all of them.
ImportRead forPartner(ImportRead read, int partner);
// Why a read is not usable, for a message box or standard error ("" when it is usable).
std::string importProblemText(const ImportRead& read);

struct MergeResult {
    // Ok with taken == 0: nothing new, nothing written. Stale: the log changed since
    // `stamp`. Refused: the log would exceed kMaxRecords (tooMany) or a row's text cannot
    // be stored. WriteFailed: the copy in バックアップ/ or the rewrite failed, the log is as
    // it was.
    disk::WriteStatus status = disk::WriteStatus::Ok;
    std::size_t taken = 0;
    std::size_t skipped = 0;  // rows equal in date, situation and weight to one before
    bool tooMany = false;
    std::string backupName;  // the old log's copy in バックアップ/, when one was made
    disk::FileStamp stamp;   // of the new log, when written
    bool written() const { return disk::isWritten(status); }
};
// Merges the rows into the log of `slot`, which must still hold the bytes of `stamp`
// (what the screen read; FileStamp::missing() for a log that did not exist). A row equal
// in date, situation and weight to a record of the log or to an earlier row is skipped;
// the others go after the log's records of their date, in their order. The old log is
// copied to バックアップ/ first, then written through the safe rewrite.
[[nodiscard]] MergeResult mergeImport(const std::filesystem::path& folder, int slot,
                                      const std::vector<store::MeasurementRecord>& rows,
                                      const disk::FileStamp& stamp);
// "取り込み 3 件、スキップ 1 件": what a merge did, followed by "、もう一人の 2 件は取り込み
// ませんでした" when the file held rows of the other partner.
std::string mergeCountsText(const MergeResult& result, std::size_t otherPartnerRows = 0);
// The log with the rows merged, without a write (the counts of MergeResult filled in).
store::LoadedLog mergedLog(const store::LoadedLog& log,
                           const std::vector<store::MeasurementRecord>& rows, MergeResult& counts);

// The rows of a CSV text (RFC 4180): each with the line it starts on. A quoted field may
// hold commas, doubled quotes and line breaks; `unclosed` marks a row whose last quote
// never closes.
struct CsvRow {
    std::size_t lineNumber = 0;
    std::vector<std::string> fields;
    bool unclosed = false;
};
std::vector<CsvRow> csvRows(std::string_view text);

}  // namespace pairly::exchange
