#include "core/store/measurement_log.h"

#include <algorithm>
#include <array>

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/disk/folder_lock.h"

namespace pairly::store {

namespace {

constexpr std::size_t kFieldsPerRecord = 11;

// The text of a field as UTF-8. A log read from disk is parsed from its CP932 bytes: the
// separators (quote, comma, CR, LF, blank) are ASCII bytes that are never part of a
// double-byte character, so the fields are found in the bytes, and only fields that are
// not ASCII are decoded. This gives the same records as decoding the whole file first.
struct Utf8Text {
    std::string_view operator()(std::string_view field) const { return field; }
};
struct Cp932Text {
    disk::Cp932Decoder decoder;
    std::string_view operator()(std::string_view field) { return decoder.decode(field); }
};

using Fields = std::array<std::string_view, kFieldsPerRecord>;

// The seven readings of a line, false when one is not a number of its field's type.
template <class Text>
bool readReadings(const Fields& f, Text& text, Readings& n) {
    const auto real = [&](std::size_t i, float& out) {
        const std::optional<float> v = disk::fieldFloatInRange(text(f[i]));
        if (v) out = *v;
        return v.has_value();
    };
    const auto whole = [&](std::size_t i, std::int16_t& out) {
        const std::optional<std::int16_t> v = disk::fieldInt16InRange(text(f[i]));
        if (v) out = *v;
        return v.has_value();
    };
    return real(2, n.weight) && real(3, n.bodyFat) && whole(4, n.basalMetabolism) &&
           whole(5, n.visceralFat) && real(6, n.muscleMass) && whole(7, n.muscleScore) &&
           real(8, n.boneMass);
}

// A quoted text ends at its first quote; a bare one that holds a quote could not be
// written back as it reads, and would stop every rewrite of the log.
bool textsWritable(const Fields& f) {
    for (const std::size_t i : {0u, 1u, 9u, 10u})
        if (f[i].find('"') != std::string_view::npos) return false;
    return true;
}

template <class Text>
MeasurementRecord recordFromFields(const Fields& f, const Readings& n, Text& text) {
    // Each decoded view is used before the next field is decoded.
    MeasurementRecord r;
    r.date = text(f[0]);
    r.situation = text(f[1]);
    r.readings() = n;
    r.comment = text(f[9]);
    r.reserved = text(f[10]);
    return r;
}

// Reads the content one line at a time: onRecord(fields, readings) for each record,
// onDamaged(lineNumber, bytes) for each damaged line (its line end included). Returns
// where a torn last line starts, or the content's size.
template <class Text, class OnRecord, class OnDamaged>
std::size_t readLines(std::string_view content, Text& text, OnRecord&& onRecord,
                      OnDamaged&& onDamaged) {
    Fields fields;
    Readings readings;
    std::size_t lineNumber = 0;
    for (std::size_t pos = 0; pos < content.size();) {
        ++lineNumber;
        const std::size_t start = pos;
        const disk::LineFields line =
            disk::readLineFields(content, pos, fields.data(), kFieldsPerRecord);
        pos = line.next;
        if (line.count == 0) continue;  // a blank line
        // A crash leaves the front of a line, without its line end.
        if (!line.lineEnd && (line.count < kFieldsPerRecord || line.unclosed)) return start;
        if (line.count == kFieldsPerRecord && !line.unclosed && textsWritable(fields) &&
            readReadings(fields, text, readings)) {
            onRecord(fields, readings);
        } else {
            onDamaged(lineNumber, content.substr(start, pos - start));
        }
    }
    return content.size();
}

// The records and damaged lines; `torn` tells a torn last line.
template <class Text>
LoadedLog parseLines(std::string_view content, Text& text, bool* torn = nullptr) {
    LoadedLog log;
    auto& records = log.records;
    // One line a record: room for them all at once, so a long log is never moved while
    // it is read.
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    records.reserve(std::min<std::size_t>(lines + 1, kMaxRecords + 1));
    const std::size_t wholeEnd = readLines(
        content, text,
        [&](const Fields& f, const Readings& n) {
            records.push_back(recordFromFields(f, n, text));
        },
        [&](std::size_t lineNumber, std::string_view bytes) {
            log.damaged.push_back({records.size(), lineNumber, std::string(bytes)});
        });
    if (torn) *torn = wholeEnd < content.size();
    return log;
}

struct FirstLineField {
    std::string text;
    bool quoted = false;
};

// The fields of the first line: comma separated, a quoted field may hold commas.
std::vector<FirstLineField> firstLineFields(std::string_view content) {
    std::vector<FirstLineField> fields;
    const std::size_t end = content.find_first_of("\r\n");
    const std::string_view line = content.substr(0, end);
    if (line.find_first_not_of(" \t") == std::string_view::npos) return fields;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        FirstLineField field;
        if (pos < line.size() && line[pos] == '"') {
            field.quoted = true;
            const std::size_t close = line.find('"', pos + 1);
            field.text = std::string(line.substr(pos + 1, close == std::string_view::npos
                                                              ? std::string_view::npos
                                                              : close - pos - 1));
            pos = close == std::string_view::npos ? line.size() : close + 1;
        }
        const std::size_t comma = line.find(',', pos);
        if (!field.quoted) field.text = std::string(line.substr(pos, comma - pos));
        fields.push_back(std::move(field));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    return fields;
}

}  // namespace

std::string logFileName(int slot) { return "データ" + std::to_string(slot) + ".txt"; }

std::string recordLine(const MeasurementRecord& r) {
    std::vector<std::string> fields;
    fields.reserve(kFieldsPerRecord);
    fields.push_back(disk::quoted(r.date));
    fields.push_back(disk::quoted(r.situation));
    for (std::string& reading : readingTexts(r)) fields.push_back(std::move(reading));
    fields.push_back(disk::quoted(r.comment));
    fields.push_back(disk::quoted(r.reserved));
    return disk::writeLine(fields);
}

std::string recordsText(const std::vector<MeasurementRecord>& records) {
    std::string out;
    out.reserve(records.size() * 80);
    for (const auto& r : records) out += recordLine(r);
    return out;
}

bool isStorableRecord(const MeasurementRecord& r) {
    return disk::isStorableText(r.date) && disk::isStorableText(r.situation) &&
           disk::isStorableText(r.comment) && disk::isStorableText(r.reserved);
}

std::vector<MeasurementRecord> parseRecords(const std::string& content) {
    Utf8Text text;
    return parseLines(content, text).records;
}

std::vector<MeasurementRecord> parseCp932Records(std::string_view bytes) {
    Cp932Text text;
    return parseLines(bytes, text).records;
}

LoadedLog parseLog(std::string_view bytes) {
    Cp932Text text;
    return parseLines(bytes, text);
}

LogScan scanLog(std::string_view content) {
    LogScan scan;
    Cp932Text text;  // for the rare number written with full-width blanks
    scan.wholeEnd = readLines(
        content, text, [&](const Fields&, const Readings&) { ++scan.records; },
        [&](std::size_t lineNumber, std::string_view bytes) {
            scan.damaged.push_back({lineNumber, bytes});
        });
    scan.torn = scan.wholeEnd < content.size();
    return scan;
}

LogLayout logLayoutOfFirstLine(std::string_view content) {
    const auto fields = firstLineFields(content);
    if (fields.size() == 11) return LogLayout::Current;
    if (fields.size() == 6)
        return fields[4].quoted ? LogLayout::FirstEdition : LogLayout::SecondEdition;
    return LogLayout::Unknown;
}

bool isOldLayoutLog(int slot, std::string_view content) {
    if (slot != 1) return false;
    const LogLayout layout = logLayoutOfFirstLine(content);
    return layout == LogLayout::FirstEdition || layout == LogLayout::SecondEdition;
}

namespace {

bool endsWithLineEnd(std::string_view bytes) {
    return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

}  // namespace

std::optional<std::string> logBytes(const LoadedLog& log) {
    if (log.damaged.empty()) return disk::toCp932(recordsText(log.records));
    std::string out;
    std::size_t next = 0;
    // Only a damaged last line may lack its line end; whatever follows it starts a line.
    const auto add = [&out](std::string_view bytes) {
        if (bytes.empty()) return;
        if (!out.empty() && !endsWithLineEnd(out)) out += "\r\n";
        out += bytes;
    };
    const auto addRecords = [&](std::size_t upTo) {
        std::string text;
        for (; next < upTo; ++next) text += recordLine(log.records[next]);
        const std::optional<std::string> bytes = disk::toCp932(text);
        if (bytes) add(*bytes);
        return bytes.has_value();
    };
    for (const DamagedLine& line : log.damaged) {
        if (!addRecords(std::max(next, std::min(line.before, log.records.size()))))
            return std::nullopt;
        add(line.bytes);
    }
    if (!addRecords(log.records.size())) return std::nullopt;
    // A damaged line of six fields that comes first once the lines before it are gone (a
    // blank line, a deleted weighing) would make the log read as predecessor data: a blank
    // line before it keeps the log in its own layout.
    const LogLayout layout = logLayoutOfFirstLine(out);
    if (layout == LogLayout::FirstEdition || layout == LogLayout::SecondEdition)
        out.insert(0, "\r\n");
    return out;
}

std::size_t insertionIndex(const std::vector<MeasurementRecord>& records, const std::string& date) {
    auto it = std::find_if(records.begin(), records.end(),
                           [&](const MeasurementRecord& r) { return r.date > date; });
    return static_cast<std::size_t>(it - records.begin());
}

LoadedLog loadLog(const std::filesystem::path& folder, int slot) {
    return logFromFile(slot, disk::readFileBytes(folder, logFileName(slot)));
}

LoadedLog logFromFile(int slot, const disk::FileBytes& file) {
    LoadedLog log;
    if (isOldLayoutLog(slot, file.bytes)) {
        log.oldLayout = true;
    } else {
        log = parseLog(file.bytes);
    }
    log.status = file.status;
    log.stamp = file.stamp;
    return log;
}

LogRead readLogForChange(const std::filesystem::path& folder, int slot) {
    LogRead read;
    read.file = disk::readFileBytes(folder, logFileName(slot));
    read.log = logFromFile(slot, read.file);
    return read;
}

std::optional<std::string> lastRecordDate(const std::filesystem::path& folder, int slot) {
    const auto log = loadLog(folder, slot);
    if (log.records.empty()) return std::nullopt;
    return log.records.back().date;
}

std::string oldLayoutRefusal() {
    return "データ1.txt が以前の形式（ルンルン☆ログ）のままのため、保存できません。\n"
           "先にデータを変換してください（次に起動したときに変換の確認が出ます）。";
}

std::optional<LogNotice> damagedLinesNotice(const std::vector<DamagedLinesOfFile>& files) {
    // A long list of numbers would not fit the box: the first few stand for the rest.
    constexpr std::size_t kNamed = 10;
    std::string list;
    for (const DamagedLinesOfFile& f : files) {
        if (f.lineNumbers.empty()) continue;
        list += f.file + "：";
        for (std::size_t i = 0; i < f.lineNumbers.size() && i < kNamed; ++i)
            list += (i > 0 ? "、" : "") + std::to_string(f.lineNumbers[i]);
        list += " 行目";
        if (f.lineNumbers.size() > kNamed)
            list += "ほか " + std::to_string(f.lineNumbers.size() - kNamed) + " 行";
        list += "\n";
    }
    if (list.empty()) return std::nullopt;
    return LogNotice{"次の行は記録として読み取れないため、画面には表示していません。\n" + list +
                         "\nこれらの行は変更せず、そのままの位置に残します。",
                     "データ確認"};
}

std::optional<LogNotice> damagedLinesNotice(const std::filesystem::path& folder) {
    std::vector<DamagedLinesOfFile> files;
    for (const int slot : {1, 2}) {
        const disk::FileBytes file = disk::readFileBytes(folder, logFileName(slot));
        // A log that cannot be read is told by the screens; an old layout by the import.
        if (file.status != disk::ReadStatus::Ok || isOldLayoutLog(slot, file.bytes)) continue;
        DamagedLinesOfFile lines{logFileName(slot), {}};
        for (const LogScan::Line& line : scanLog(file.bytes).damaged)
            lines.lineNumbers.push_back(line.lineNumber);
        files.push_back(std::move(lines));
    }
    return damagedLinesNotice(files);
}

namespace {

std::string repairCopyName(int slot) { return "データ" + std::to_string(slot) + "_修復前.txt"; }

// Whether `line` (without its line end) is a whole line of `content`.
bool holdsLine(std::string_view content, std::string_view line) {
    for (std::size_t at = content.find(line); at != std::string_view::npos;
         at = content.find(line, at + 1)) {
        const std::size_t after = at + line.size();
        const bool starts = at == 0 || content[at - 1] == '\n' || content[at - 1] == '\r';
        const bool ends =
            after == content.size() || content[after] == '\n' || content[after] == '\r';
        if (starts && ends) return true;
    }
    return false;
}

std::string_view withoutLineEnd(std::string_view bytes) {
    while (endsWithLineEnd(bytes)) bytes.remove_suffix(1);
    return bytes;
}

// Whether every damaged line is already in a copy kept in バックアップ/ before an earlier
// rewrite (データN_修復前.txt, データN_修復前_2.txt …), so that one copy is enough.
bool damagedLinesKept(const std::filesystem::path& folder, int slot,
                      std::vector<std::string_view> missing) {
    const std::filesystem::path dir = folder / disk::kBackupFolder;
    const std::string name = repairCopyName(slot);
    const std::string stem = name.substr(0, name.rfind('.'));
    for (int n = 1; !missing.empty() && n < 1000; ++n) {
        const disk::FileBytes copy =
            disk::readFileBytes(dir, n == 1 ? name : stem + "_" + std::to_string(n) + ".txt");
        // A copy that cannot be read holds nothing for sure: one more is made.
        if (copy.status != disk::ReadStatus::Ok) break;
        std::erase_if(missing, [&](std::string_view line) { return holdsLine(copy.bytes, line); });
    }
    return missing.empty();
}

// A rewrite drops the fields of a torn last line (a line torn by a crash, or cut short by
// hand): they make no record that any screen shows, and are somebody's bytes all the
// same. Damaged lines stay in the log, but what was meant by them is not known. So the
// log as it was is kept whole in バックアップ/ first. False when that copy cannot be made
// (then nothing may be written).
bool keepBeforeRewrite(const std::filesystem::path& folder, int slot, std::string_view bytes,
                       bool torn, std::vector<std::string_view> damagedLines) {
    for (std::string_view& line : damagedLines) line = withoutLineEnd(line);
    if (!torn && damagedLinesKept(folder, slot, std::move(damagedLines))) return true;
    return disk::keepInBackupFolder(folder, repairCopyName(slot), bytes).has_value();
}

bool keepBeforeRewrite(const std::filesystem::path& folder, int slot, std::string_view bytes,
                       const LogScan& scan) {
    std::vector<std::string_view> lines;
    for (const LogScan::Line& line : scan.damaged) lines.push_back(line.bytes);
    return keepBeforeRewrite(folder, slot, bytes, scan.torn, std::move(lines));
}

// The field stream of a log whose damaged line leaves a quote open: an append would close
// it first (see appendText), which would add a line to the log.
bool endsInsideQuote(std::string_view bytes) {
    disk::FieldReader reader(bytes);
    bool open = false;
    while (reader.nextView()) open = reader.lastFieldUnterminated();
    return open;
}

// A last line without its line end that reads as a record only because a comma at the
// very end of the content opens no field.
bool endsInRecordWithTrailingComma(std::string_view bytes, const LogScan& scan) {
    if (bytes.empty() || bytes.back() != ',') return false;
    return scanLog(std::string(bytes) + "\r\n").records != scan.records;
}

// Why a log read as `file` cannot take one more record (nullopt when it can): it is no
// file to use, it was not read whole (then neither the record limit nor a torn last line
// can be seen, and the fields of a torn line would take the new line's fields as their
// own), or it waits for its conversion.
std::optional<disk::WriteStatus> refusalToAdd(int slot, const disk::FileBytes& file,
                                              const LogScan& scan) {
    if (file.status == disk::ReadStatus::Unusable) return disk::WriteStatus::Unusable;
    if (file.failed()) return disk::WriteStatus::ReadFailed;
    if (isOldLayoutLog(slot, file.bytes)) return disk::WriteStatus::OldLayout;
    if (scan.records >= static_cast<std::size_t>(kMaxRecords)) return disk::WriteStatus::Refused;
    return std::nullopt;
}

// Appends the record's line to the log read as `file` (`scan`: its lines). With
// `expected`, only while the file still holds those bytes. `after`: the stamp of the log
// as written.
disk::WriteStatus appendLine(const std::filesystem::path& folder, int slot,
                             const disk::FileBytes& file, const LogScan& scan,
                             const MeasurementRecord& record, const disk::FileStamp* expected,
                             disk::FileStamp* after) {
    const std::string name = logFileName(slot);
    const std::optional<std::string> line = disk::toCp932(recordLine(record));
    if (!line) return disk::WriteStatus::Refused;
    std::optional<std::string> rewritten;
    if (scan.torn || (!scan.damaged.empty() && endsInsideQuote(file.bytes))) {
        // The new line must start a line of its own: the log is written anew with every
        // byte of its whole lines and the new line after them.
        rewritten = file.bytes.substr(0, scan.wholeEnd);
        if (!rewritten->empty() && !endsWithLineEnd(*rewritten)) *rewritten += "\r\n";
    } else if (endsInRecordWithTrailingComma(file.bytes, scan)) {
        // At the content's end a comma opens no field; before the new line's break it would
        // open a twelfth, and the last weighing would read as a damaged line. Without that
        // comma the line reads as it did.
        rewritten = file.bytes.substr(0, file.bytes.size() - 1) + "\r\n";
    }
    if (rewritten) {
        if (!keepBeforeRewrite(folder, slot, file.bytes, scan))
            return disk::WriteStatus::WriteFailed;
        *rewritten += *line;
        const disk::WriteStatus status = disk::rewriteFile(folder, name, *rewritten, "", expected);
        if (disk::isWritten(status)) *after = disk::FileStamp::of(*rewritten);
        return status;
    }
    disk::AppendStamps stamps;
    const disk::WriteStatus appended =
        disk::appendText(folder, name, recordLine(record), &stamps, expected);
    if (appended == disk::WriteStatus::Ok) *after = stamps.after;
    // Refused by appendText means no CP932 form, which was checked above: a failed write.
    return appended == disk::WriteStatus::Refused ? disk::WriteStatus::WriteFailed : appended;
}

// `log` with the record at `at`: a damaged line before the record that was there stays
// before the new one.
void placeRecord(LoadedLog& log, std::size_t at, const MeasurementRecord& record) {
    log.records.insert(log.records.begin() + static_cast<std::ptrdiff_t>(at), record);
    for (DamagedLine& line : log.damaged)
        if (line.before > at) ++line.before;
}
void unplaceRecord(LoadedLog& log, std::size_t at) {
    log.records.erase(log.records.begin() + static_cast<std::ptrdiff_t>(at));
    for (DamagedLine& line : log.damaged)
        if (line.before > at + 1) --line.before;
}

// Writes `log`, read as `file` and changed since, anew through "データコピー.txt".
disk::WriteStatus writeChangedLog(const std::filesystem::path& folder, int slot,
                                  const disk::FileBytes& file, const LogScan& scan,
                                  const LoadedLog& log, const disk::FileStamp* expected,
                                  disk::FileStamp* after) {
    // Told apart from a failed write: a text with no CP932 form is refused.
    const std::optional<std::string> bytes = logBytes(log);
    if (!bytes) return disk::WriteStatus::Refused;
    if (!keepBeforeRewrite(folder, slot, file.bytes, scan)) return disk::WriteStatus::WriteFailed;
    const disk::WriteStatus status =
        disk::rewriteFile(folder, logFileName(slot), *bytes, "データコピー.txt", expected);
    if (disk::isWritten(status)) *after = disk::FileStamp::of(*bytes);
    return status;
}

}  // namespace

disk::WriteStatus appendRecordWithStatus(const std::filesystem::path& folder, int slot,
                                         const MeasurementRecord& record) {
    if (!isStorableRecord(record)) return disk::WriteStatus::Refused;
    // From the read to the write, no other program changes the log.
    const disk::FolderLock lock(folder);
    if (!lock.held()) return lock.failure();
    const disk::FileBytes file = disk::readFileBytes(folder, logFileName(slot));
    const LogScan scan = scanLog(file.bytes);
    if (const auto refusal = refusalToAdd(slot, file, scan)) return *refusal;
    disk::FileStamp after;
    return appendLine(folder, slot, file, scan, record, nullptr, &after);
}

disk::WriteStatus addRecord(const std::filesystem::path& folder, int slot, LogRead& read,
                            const MeasurementRecord& record) {
    if (!isStorableRecord(record)) return disk::WriteStatus::Refused;
    const disk::FolderLock lock(folder);
    if (!lock.held()) return lock.failure();
    const LogScan scan = scanLog(read.file.bytes);
    if (const auto refusal = refusalToAdd(slot, read.file, scan)) return *refusal;
    LoadedLog& log = read.log;
    const bool append = log.records.empty() || log.records.back().date <= record.date;
    const std::size_t at = append ? log.records.size() : insertionIndex(log.records, record.date);
    placeRecord(log, at, record);
    disk::FileStamp after;
    const disk::WriteStatus status =
        append ? appendLine(folder, slot, read.file, scan, record, &read.file.stamp, &after)
               : writeChangedLog(folder, slot, read.file, scan, log, &read.file.stamp, &after);
    if (!disk::isWritten(status)) {
        unplaceRecord(log, at);
        return status;
    }
    log.status = disk::ReadStatus::Ok;
    log.stamp = after;
    read.file = {};
    return status;
}

disk::WriteStatus insertRecordInDateOrder(const std::filesystem::path& folder, int slot,
                                          const MeasurementRecord& record) {
    if (!isStorableRecord(record)) return disk::WriteStatus::Refused;
    const disk::FolderLock lock(folder);
    if (!lock.held()) return lock.failure();
    LogRead read = readLogForChange(folder, slot);
    const LogScan scan = scanLog(read.file.bytes);
    if (const auto refusal = refusalToAdd(slot, read.file, scan)) return *refusal;
    placeRecord(read.log, insertionIndex(read.log.records, record.date), record);
    disk::FileStamp after;
    return writeChangedLog(folder, slot, read.file, scan, read.log, nullptr, &after);
}

disk::WriteResult writeBackLog(const std::filesystem::path& folder, int slot,
                               const LoadedLog& log) {
    const disk::WriteResult refused{disk::WriteStatus::Refused, {}};
    if (log.failed()) return {disk::WriteStatus::ReadFailed, {}};
    if (log.records.size() > static_cast<std::size_t>(kMaxRecords)) return refused;
    for (const auto& r : log.records)
        if (!isStorableRecord(r)) return refused;
    const std::optional<std::string> bytes = logBytes(log);
    if (!bytes) return refused;
    const disk::FolderLock lock(folder);
    if (!lock.held()) return {lock.failure(), {}};
    // What is replaced must have been read whole, to know what the rewrite would drop.
    const disk::FileBytes old = disk::readFileBytes(folder, logFileName(slot));
    if (old.status == disk::ReadStatus::Unusable) return {disk::WriteStatus::Unusable, {}};
    if (old.failed()) return {disk::WriteStatus::ReadFailed, {}};
    // A log made in code carries no stamp: it replaces whatever the file holds.
    const disk::FileStamp* shown =
        log.stamp.state == disk::FileStamp::State::Unknown ? nullptr : &log.stamp;
    if (shown && !disk::stillHolds(*shown, old.stamp)) return {disk::WriteStatus::Stale, {}};
    if (isOldLayoutLog(slot, old.bytes)) return {disk::WriteStatus::OldLayout, {}};
    if (!keepBeforeRewrite(folder, slot, old.bytes, scanLog(old.bytes)))
        return {disk::WriteStatus::WriteFailed, {}};
    disk::WriteResult result;
    result.status = disk::rewriteFile(folder, logFileName(slot), *bytes, "", shown);
    if (result.written()) result.stamp = disk::FileStamp::of(*bytes);
    return result;
}

bool keepTornLogBeforeRewrite(const std::filesystem::path& folder, int slot,
                              std::string_view oldBytes) {
    return keepBeforeRewrite(folder, slot, oldBytes, scanLog(oldBytes));
}

}  // namespace pairly::store
