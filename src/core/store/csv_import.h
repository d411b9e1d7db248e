#pragma once
// Weighings brought in from a file, in two steps for the screen: readImport tells what a
// file holds (rows, or the lines that do not read), mergeImport puts the rows into a
// partner's log in date order. Three kinds of file are known by their content:
//   - this program's CSV export (the rows of the chosen partner),
//   - the CSV export of openScale (columns by header name, in any order; dateTime as
//     dd.MM.yyyy HH:mm, muscle as a percentage of the weight); its rows get the situation
//     "インポート" and, when their comment is empty, the time of day as the automatic time
//     writes it,
//   - a measurement log of this program (a backup, a conflict copy): records as they are.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/data_folder.h"
#include "core/store/measurement_log.h"

namespace pairly::store {

enum class ImportFormat { Unknown, OwnCsv, OpenScale, Log };

inline constexpr char kImportSituation[] = "インポート";

struct ImportRead {
    ReadStatus status = ReadStatus::Missing;  // of the file itself
    ImportFormat format = ImportFormat::Unknown;
    std::vector<MeasurementRecord> rows;  // in file order
    // Lines (1, 2, … as an editor counts them) of rows whose date, weight or another value
    // does not read, or whose text cannot be stored: while there is one, nothing is merged.
    std::vector<std::size_t> badLines;
    // Lines of a log that are no records (as the program never shows them): left out.
    std::vector<std::size_t> ignoredLines;
    std::size_t otherPartnerRows = 0;  // rows of the other partner in the program's CSV
    // Rows can be merged.
    bool usable() const {
        return status == ReadStatus::Ok && format != ImportFormat::Unknown && badLines.empty() &&
               !rows.empty();
    }
};
ImportRead readImportBytes(std::string_view bytes, int partner);
ImportRead readImport(const std::filesystem::path& file, int partner);
// Why a read is not usable, for a message box or standard error ("" when it is usable).
std::string importProblemText(const ImportRead& read);

struct MergeResult {
    // Ok with taken == 0: nothing new, nothing written. Stale: the log changed since
    // `stamp`. Refused: the log would exceed kMaxRecords (tooMany) or a row's text cannot
    // be stored. WriteFailed: the copy in バックアップ/ or the rewrite failed, the log is as
    // it was.
    WriteStatus status = WriteStatus::Ok;
    std::size_t taken = 0;
    std::size_t skipped = 0;  // rows equal in date, situation and weight to one before
    bool tooMany = false;
    std::string backupName;  // the old log's copy in バックアップ/, when one was made
    FileStamp stamp;         // of the new log, when written
    bool written() const { return isWritten(status); }
};
// Merges the rows into the log of `slot`, which must still hold the bytes of `stamp`
// (what the screen read; FileStamp::missing() for a log that did not exist). A row equal
// in date, situation and weight to a record of the log or to an earlier row is skipped;
// the others go after the log's records of their date, in their order. The old log is
// copied to バックアップ/ first, then written through the safe rewrite.
[[nodiscard]] MergeResult mergeImport(const std::filesystem::path& folder, int slot,
                                      const std::vector<MeasurementRecord>& rows,
                                      const FileStamp& stamp);
// "取り込み 3 件、スキップ 1 件": what a merge did.
std::string mergeCountsText(const MergeResult& result);
// The log with the rows merged, without a write (the counts of MergeResult filled in).
LoadedLog mergedLog(const LoadedLog& log, const std::vector<MeasurementRecord>& rows,
                    MergeResult& counts);

// The rows of a CSV text (RFC 4180): each with the line it starts on. A quoted field may
// hold commas, doubled quotes and line breaks; `unclosed` marks a row whose last quote
// never closes.
struct CsvRow {
    std::size_t lineNumber = 0;
    std::vector<std::string> fields;
    bool unclosed = false;
};
std::vector<CsvRow> csvRows(std::string_view text);

}  // namespace pairly::store
