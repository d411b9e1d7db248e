#include "store/measurement_log.h"

#include <algorithm>
#include <array>

#include "store/codec.h"
#include "store/data_folder.h"
#include "store/fields.h"
#include "text/numbers.h"

namespace pairly::store {

namespace {

constexpr int kFieldsPerRecord = 11;

// The text of a field as UTF-8. A log read from disk is parsed from its CP932 bytes: the
// separators (quote, comma, CR, LF, blank) are ASCII bytes that are never part of a
// double-byte character, so the fields are found in the bytes, and only fields that are
// not ASCII are decoded. This gives the same records as decoding the whole file first.
struct Utf8Text {
    std::string_view operator()(std::string_view field) const { return field; }
};
struct Cp932Text {
    Cp932Decoder decoder;
    std::string_view operator()(std::string_view field) { return decoder.decode(field); }
};

template <class Text>
MeasurementRecord recordFromFields(const std::array<std::string_view, kFieldsPerRecord>& f,
                                   Text& text) {
    // Each decoded view is used before the next field is decoded.
    MeasurementRecord r;
    r.date = text(f[0]);
    r.situation = text(f[1]);
    r.weight = fieldFloat(text(f[2]));
    r.bodyFat = fieldFloat(text(f[3]));
    r.basalMetabolism = fieldInt16(text(f[4]));
    r.visceralFat = fieldInt16(text(f[5]));
    r.muscleMass = fieldFloat(text(f[6]));
    r.muscleScore = fieldInt16(text(f[7]));
    r.boneMass = fieldFloat(text(f[8]));
    r.comment = text(f[9]);
    r.reserved = text(f[10]);
    return r;
}

// Reads the fields of the next record; false at a record cut short by the end of the file,
// or whose last quote never closed (a line torn by a crash).
bool nextRecord(FieldReader& reader, std::array<std::string_view, kFieldsPerRecord>& fields,
                int& read) {
    bool torn = false;
    for (read = 0; read < kFieldsPerRecord; ++read) {
        auto field = reader.nextView();
        if (!field) break;
        fields[static_cast<std::size_t>(read)] = *field;
        torn = reader.lastFieldUnterminated();
    }
    return read == kFieldsPerRecord && !torn;
}

template <class Text>
std::vector<MeasurementRecord> parseFields(std::string_view content, Text& text) {
    std::vector<MeasurementRecord> records;
    // One line a record: room for them all at once, so a long log is never moved while
    // it is read.
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    records.reserve(std::min<std::size_t>(lines + 1, kMaxRecords + 1));
    FieldReader reader(content);
    std::array<std::string_view, kFieldsPerRecord> fields;
    int read = 0;
    while (true) {
        reader.skipEmptyLines();
        if (!nextRecord(reader, fields, read)) break;
        records.push_back(recordFromFields(fields, text));
    }
    return records;
}

}  // namespace

std::string logFileName(int slot) { return "データ" + std::to_string(slot) + ".txt"; }

std::string recordLine(const MeasurementRecord& r) {
    return writeLine({quoted(r.date), quoted(r.situation), text::floatText(r.weight),
                      text::floatText(r.bodyFat), std::to_string(int{r.basalMetabolism}),
                      std::to_string(int{r.visceralFat}), text::floatText(r.muscleMass),
                      std::to_string(int{r.muscleScore}), text::floatText(r.boneMass),
                      quoted(r.comment), quoted(r.reserved)});
}

std::string recordsText(const std::vector<MeasurementRecord>& records) {
    std::string out;
    out.reserve(records.size() * 80);
    for (const auto& r : records) out += recordLine(r);
    return out;
}

bool isStorableRecord(const MeasurementRecord& r) {
    return isStorableText(r.date) && isStorableText(r.situation) && isStorableText(r.comment) &&
           isStorableText(r.reserved);
}

std::vector<MeasurementRecord> parseRecords(const std::string& content) {
    Utf8Text text;
    return parseFields(content, text);
}

std::vector<MeasurementRecord> parseCp932Records(std::string_view bytes) {
    Cp932Text text;
    return parseFields(bytes, text);
}

RecordScan scanRecords(std::string_view content) {
    RecordScan scan;
    FieldReader reader(content);
    std::array<std::string_view, kFieldsPerRecord> fields;
    int read = 0;
    while (true) {
        reader.skipEmptyLines();
        scan.wholeEnd = reader.position();
        if (!nextRecord(reader, fields, read)) break;
        ++scan.records;
    }
    scan.leftover = read > 0;
    if (!scan.leftover) scan.wholeEnd = content.size();
    return scan;
}

std::size_t insertionIndex(const std::vector<MeasurementRecord>& records, const std::string& date) {
    auto it = std::find_if(records.begin(), records.end(),
                           [&](const MeasurementRecord& r) { return r.date > date; });
    return static_cast<std::size_t>(it - records.begin());
}

LoadedLog loadLog(const std::filesystem::path& folder, int slot) {
    const FileBytes file = readFileBytes(folder, logFileName(slot));
    LoadedLog log;
    log.status = file.status;
    log.stamp = file.stamp;
    log.records = parseCp932Records(file.bytes);
    return log;
}

std::optional<std::string> lastRecordDate(const std::filesystem::path& folder, int slot) {
    const auto log = loadLog(folder, slot);
    if (log.records.empty()) return std::nullopt;
    return log.records.back().date;
}

namespace {

// Fields after the last whole record (a line torn by a crash, or one cut short by hand)
// make no record that any screen shows, and a rewrite cannot keep them in the log without
// putting later records out of step. They are somebody's bytes all the same: before a
// write drops them, the log as it was is kept whole in バックアップ/. False when that copy
// cannot be made (then nothing may be written).
bool keepTornLog(const std::filesystem::path& folder, int slot, std::string_view bytes,
                 const RecordScan& scan) {
    if (!scan.leftover) return true;
    return keepInBackupFolder(folder, "データ" + std::to_string(slot) + "_修復前.txt", bytes)
        .has_value();
}

}  // namespace

WriteStatus appendRecordWithStatus(const std::filesystem::path& folder, int slot,
                                   const MeasurementRecord& record) {
    if (!isStorableRecord(record)) return WriteStatus::Refused;
    const std::string name = logFileName(slot);
    const FileBytes file = readFileBytes(folder, name);
    // Without the whole log neither the record limit nor a torn last line can be seen,
    // and fields of a torn line would take the new line's fields as their own.
    if (file.failed()) return WriteStatus::ReadFailed;
    const RecordScan scan = scanRecords(file.bytes);
    if (scan.records >= static_cast<std::size_t>(kMaxRecords)) return WriteStatus::Refused;
    const std::optional<std::string> line = toCp932(recordLine(record));
    if (!line) return WriteStatus::Refused;
    if (scan.leftover) {
        // The new line must start a record of its own: the log is written anew with every
        // byte of its whole records and the new line after them.
        if (!keepTornLog(folder, slot, file.bytes, scan)) return WriteStatus::WriteFailed;
        return rewriteFile(folder, name, file.bytes.substr(0, scan.wholeEnd) + *line);
    }
    return appendText(folder, name, recordLine(record)) ? WriteStatus::Ok
                                                        : WriteStatus::WriteFailed;
}

bool appendRecord(const std::filesystem::path& folder, int slot, const MeasurementRecord& record) {
    return appendRecordWithStatus(folder, slot, record) == WriteStatus::Ok;
}

WriteStatus insertRecordInDateOrder(const std::filesystem::path& folder, int slot,
                                    const MeasurementRecord& record) {
    if (!isStorableRecord(record)) return WriteStatus::Refused;
    const FileBytes file = readFileBytes(folder, logFileName(slot));
    if (file.failed()) return WriteStatus::ReadFailed;
    std::vector<MeasurementRecord> records = parseRecords(fromCp932(file.bytes));
    if (records.size() >= static_cast<std::size_t>(kMaxRecords)) return WriteStatus::Refused;
    const std::size_t at = insertionIndex(records, record.date);
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), record);
    // Told apart from a failed write: a text with no CP932 form is refused.
    const std::optional<std::string> bytes = toCp932(recordsText(records));
    if (!bytes) return WriteStatus::Refused;
    if (!keepTornLog(folder, slot, file.bytes, scanRecords(file.bytes)))
        return WriteStatus::WriteFailed;
    return rewriteFile(folder, logFileName(slot), *bytes, "データコピー.txt");
}

namespace {

WriteResult rewriteLogChecked(const std::filesystem::path& folder, int slot,
                              const std::vector<MeasurementRecord>& records,
                              const FileStamp* shown) {
    WriteResult refused{WriteStatus::Refused, {}};
    if (records.size() > static_cast<std::size_t>(kMaxRecords)) return refused;
    for (const auto& r : records)
        if (!isStorableRecord(r)) return refused;
    const std::optional<std::string> bytes = toCp932(recordsText(records));
    if (!bytes) return refused;
    // What is replaced must have been read whole, to know what the rewrite would drop.
    const FileBytes old = readFileBytes(folder, logFileName(slot));
    if (old.failed()) return {WriteStatus::ReadFailed, {}};
    if (shown && !stillHolds(*shown, old.stamp)) return {WriteStatus::Stale, {}};
    if (!keepTornLog(folder, slot, old.bytes, scanRecords(old.bytes)))
        return {WriteStatus::WriteFailed, {}};
    WriteResult result;
    result.status = rewriteFile(folder, logFileName(slot), *bytes, "", shown);
    if (result.written()) result.stamp = FileStamp::of(*bytes);
    return result;
}

}  // namespace

bool rewriteLog(const std::filesystem::path& folder, int slot,
                const std::vector<MeasurementRecord>& records) {
    return rewriteLogChecked(folder, slot, records, nullptr).status == WriteStatus::Ok;
}

WriteResult rewriteLog(const std::filesystem::path& folder, int slot,
                       const std::vector<MeasurementRecord>& records, const FileStamp& shown) {
    return rewriteLogChecked(folder, slot, records, &shown);
}

bool keepTornLogBeforeRewrite(const std::filesystem::path& folder, int slot,
                              std::string_view oldBytes) {
    return keepTornLog(folder, slot, oldBytes, scanRecords(oldBytes));
}

}  // namespace pairly::store
