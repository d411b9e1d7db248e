#include "core/store/csv_import.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_set>

#include "core/store/codec.h"
#include "core/store/csv_export.h"
#include "core/store/fields.h"
#include "core/store/folder_lock.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::store {

std::vector<CsvRow> csvRows(std::string_view text) {
    std::vector<CsvRow> rows;
    std::size_t line = 1;
    std::size_t pos = 0;
    const auto lineEnd = [&](std::size_t at) {  // length of a line end at `at`, 0 if none
        if (text[at] == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? 2u : 1u;
        return text[at] == '\n' ? 1u : 0u;
    };
    while (pos < text.size()) {
        CsvRow row;
        row.lineNumber = line;
        bool rowEnded = false;
        while (!rowEnded) {
            std::string field;
            if (pos < text.size() && text[pos] == '"') {
                ++pos;
                bool closed = false;
                while (pos < text.size()) {
                    const char c = text[pos];
                    if (c == '"') {
                        if (pos + 1 < text.size() && text[pos + 1] == '"') {
                            field += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (const std::size_t n = lineEnd(pos); n > 0) {
                        ++line;
                        field += text.substr(pos, n);
                        pos += n;
                        continue;
                    }
                    field += c;
                    ++pos;
                }
                if (!closed) row.unclosed = true;
            }
            // A bare field, or what follows a closing quote, runs to the separator.
            while (pos < text.size() && text[pos] != ',' && lineEnd(pos) == 0) field += text[pos++];
            row.fields.push_back(std::move(field));
            if (pos >= text.size()) {
                rowEnded = true;
            } else if (text[pos] == ',') {
                ++pos;
            } else {
                pos += lineEnd(pos);
                ++line;
                rowEnded = true;
            }
        }
        // A blank line is no row.
        if (row.fields.size() == 1 && row.fields[0].find_first_not_of(" \t") == std::string::npos &&
            !row.unclosed)
            continue;
        rows.push_back(std::move(row));
    }
    return rows;
}

namespace {

std::string trimmed(std::string_view s) {
    const std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos) return "";
    const std::size_t b = s.find_last_not_of(" \t");
    return std::string(s.substr(a, b - a + 1));
}

std::vector<std::string> headerFields(std::string_view text) {
    const std::vector<CsvRow> rows = csvRows(text.substr(0, text.find_first_of("\r\n")));
    std::vector<std::string> names;
    if (rows.empty()) return names;
    for (const std::string& f : rows[0].fields) names.push_back(trimmed(f));
    return names;
}

// Column positions by header name.
struct Columns {
    std::map<std::string, std::size_t, std::less<>> at;
    explicit Columns(const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) at.emplace(names[i], i);
    }
    bool has(std::string_view name) const { return at.find(name) != at.end(); }
    // The field of that column, "" when the column or the field is missing.
    std::string field(const CsvRow& row, std::string_view name) const {
        const auto it = at.find(name);
        if (it == at.end() || it->second >= row.fields.size()) return "";
        return trimmed(row.fields[it->second]);
    }
};

std::optional<int> number(std::string_view s) {
    if (s.empty() || s.size() > 4) return std::nullopt;
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<std::string> dateOf(int year, int month, int day) {
    const text::Date date{year, month, day};
    if (!text::isValidDate(date)) return std::nullopt;
    return text::formatDate(date);
}

// "yyyy-mm-dd" (or the log's "yyyy/mm/dd") as "yyyy/mm/dd".
std::optional<std::string> isoDate(std::string_view s) {
    if (s.size() != 10 || (s[4] != '-' && s[4] != '/') || s[7] != s[4]) return std::nullopt;
    const auto y = number(s.substr(0, 4)), m = number(s.substr(5, 2)), d = number(s.substr(8, 2));
    if (!y || !m || !d) return std::nullopt;
    return dateOf(*y, *m, *d);
}

// "dd.MM.yyyy HH:mm" (seconds allowed): the date and the seconds since midnight.
struct DateTime {
    std::string date;
    int seconds = 0;
};
std::optional<DateTime> openScaleDateTime(std::string_view s) {
    if (s.size() < 16 || s[2] != '.' || s[5] != '.' || s[10] != ' ' || s[13] != ':')
        return std::nullopt;
    const auto d = number(s.substr(0, 2)), m = number(s.substr(3, 2)), y = number(s.substr(6, 4)),
               h = number(s.substr(11, 2)), mi = number(s.substr(14, 2));
    std::optional<int> sec = 0;
    if (s.size() == 19 && s[16] == ':')
        sec = number(s.substr(17, 2));
    else if (s.size() != 16)
        return std::nullopt;
    if (!d || !m || !y || !h || !mi || !sec || *h > 23 || *mi > 59 || *sec > 59)
        return std::nullopt;
    const auto date = dateOf(*y, *m, *d);
    if (!date) return std::nullopt;
    return DateTime{*date, *h * 3600 + *mi * 60 + *sec};
}

// A value that must read when given; empty is 0.
bool readFloat(const std::string& field, float& out) {
    if (field.empty()) return (out = 0, true);
    const std::optional<float> v = fieldFloatInRange(field);
    if (!v || !text::hasLeadingNumber(field)) return false;
    out = *v;
    return true;
}
bool readInt16(const std::string& field, std::int16_t& out) {
    if (field.empty()) return (out = 0, true);
    const std::optional<std::int16_t> v = fieldInt16InRange(field);
    if (!v || !text::hasLeadingNumber(field)) return false;
    out = *v;
    return true;
}
// A weight must be there, and be one.
bool readWeight(const std::string& field, float& out) {
    return !field.empty() && readFloat(field, out) && out > 0;
}

// Another program's comment, made storable: quotes and line breaks would break the log's
// line, and a character without a CP932 form cannot be written at all (nor a byte kept
// from a file that was neither UTF-8 nor Shift-JIS, which may pair with its neighbour).
std::string storableComment(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::string_view ch = text.substr(i, n);
        i += n;
        if (ch == "\"")
            out += "”";
        else if (ch == "\r" || ch == "\n")
            out += (out.empty() || out.back() == ' ') ? "" : " ";
        else if (!hasKeptByte(ch) && hasCp932Form(ch))
            out += ch;
        else
            out += "?";
    }
    return trimmed(out);
}

void readOwnCsv(const std::vector<CsvRow>& rows, const Columns& c, int partner, ImportRead& read) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        const std::string who = c.field(row, "partner");
        if (who != "1" && who != "2") {
            read.badLines.push_back(row.lineNumber);
            continue;
        }
        if (who != std::to_string(partner)) {
            ++read.otherPartnerRows;
            continue;
        }
        MeasurementRecord r;
        const auto date = isoDate(c.field(row, "date"));
        r.situation =
            row.fields.size() > c.at.at("situation") ? row.fields[c.at.at("situation")] : "";
        r.comment = row.fields.size() > c.at.at("comment") ? row.fields[c.at.at("comment")] : "";
        const bool ok = !row.unclosed && date && readWeight(c.field(row, "weight"), r.weight) &&
                        readFloat(c.field(row, "bodyFat"), r.bodyFat) &&
                        readInt16(c.field(row, "basalMetabolism"), r.basalMetabolism) &&
                        readInt16(c.field(row, "visceralFat"), r.visceralFat) &&
                        readFloat(c.field(row, "muscleMass"), r.muscleMass) &&
                        readInt16(c.field(row, "muscleScore"), r.muscleScore) &&
                        readFloat(c.field(row, "boneMass"), r.boneMass) &&
                        isStorableText(r.situation) && isStorableText(r.comment);
        if (!ok) {
            read.badLines.push_back(row.lineNumber);
            continue;
        }
        r.date = *date;
        read.rows.push_back(std::move(r));
    }
}

void readOpenScale(const std::vector<CsvRow>& rows, const Columns& c, ImportRead& read) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        MeasurementRecord r;
        r.situation = kImportSituation;
        const auto when = openScaleDateTime(c.field(row, "dateTime"));
        float musclePercent = 0;
        const bool ok = !row.unclosed && when && readWeight(c.field(row, "weight"), r.weight) &&
                        readFloat(c.field(row, "fat"), r.bodyFat) &&
                        readFloat(c.field(row, "muscle"), musclePercent) &&
                        readInt16(c.field(row, "visceralFat"), r.visceralFat) &&
                        readFloat(c.field(row, "bone"), r.boneMass);
        if (!ok) {
            read.badLines.push_back(row.lineNumber);
            continue;
        }
        r.date = when->date;
        r.muscleMass =
            static_cast<float>(text::round1(static_cast<double>(r.weight) * musclePercent / 100.0));
        r.comment = storableComment(c.field(row, "comment"));
        if (r.comment.empty()) r.comment = text::longTimeText(when->seconds);
        read.rows.push_back(std::move(r));
    }
}

bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

}  // namespace

ImportRead readImportBytes(std::string_view bytes, int partner) {
    ImportRead read;
    read.status = ReadStatus::Ok;
    std::string_view text = bytes;
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(3);
    // A CSV saved again by a spreadsheet on a Japanese PC comes in Shift-JIS.
    std::string decoded;
    if (!isUtf8(text)) {
        decoded = fromCp932(text);
        text = decoded;
    }
    const std::vector<std::string> header = headerFields(text);
    const Columns columns(header);
    const bool own = header == headerFields(kCsvHeader);
    const bool openScale = !own && columns.has("dateTime") && columns.has("weight");
    if (own || openScale) {
        const std::vector<CsvRow> rows = csvRows(text);
        read.format = own ? ImportFormat::OwnCsv : ImportFormat::OpenScale;
        if (own)
            readOwnCsv(rows, columns, partner, read);
        else
            readOpenScale(rows, columns, read);
        return read;
    }
    if (logLayoutOfFirstLine(bytes) != LogLayout::Current) return read;
    LoadedLog log = parseLog(bytes);
    read.format = ImportFormat::Log;
    read.rows = std::move(log.records);
    for (const DamagedLine& line : log.damaged) read.ignoredLines.push_back(line.lineNumber);
    return read;
}

ImportRead readImport(const std::filesystem::path& file, int partner) {
    std::filesystem::path dir = file.parent_path();
    if (dir.empty()) dir = ".";
    const FileBytes got = readFileBytes(dir, file.filename().string());
    if (got.status != ReadStatus::Ok) {
        ImportRead read;
        read.status = got.status;
        return read;
    }
    return readImportBytes(got.bytes, partner);
}

std::string importProblemText(const ImportRead& read) {
    if (read.status == ReadStatus::Missing) return "ファイルが見つかりません。";
    if (read.status == ReadStatus::Failed) return "ファイルを読み込めませんでした。";
    if (read.format == ImportFormat::Unknown)
        return "読み込める形式のファイルではありません（ペアリー☆ログのCSV、openScaleのCSV、"
               "測定データのファイルを読み込めます）。";
    if (!read.badLines.empty()) {
        constexpr std::size_t kNamed = 10;
        std::string list;
        for (std::size_t i = 0; i < read.badLines.size() && i < kNamed; ++i)
            list += (i > 0 ? "、" : "") + std::to_string(read.badLines[i]);
        if (read.badLines.size() > kNamed)
            list += " ほか " + std::to_string(read.badLines.size() - kNamed) + " 行";
        return "日付や体重などが読み取れない行があるため、読み込みを中止しました（" + list +
               " 行目）。データは変更されていません。";
    }
    if (read.rows.empty() && read.otherPartnerRows > 0)
        return "このファイルには、選んだパートナーの測定がありません（もう一人の測定が " +
               std::to_string(read.otherPartnerRows) +
               " 件あります）。データは変更されていません。";
    if (read.rows.empty()) return "読み込める測定がありません。データは変更されていません。";
    return "";
}

namespace {

struct RowKey {
    std::string key;
    explicit RowKey(const MeasurementRecord& r) {
        const auto bits = std::bit_cast<std::uint32_t>(r.weight);
        key = r.date + '\0' + r.situation + '\0' + std::to_string(bits);
    }
};

}  // namespace

std::string mergeCountsText(const MergeResult& result) {
    return "取り込み " + std::to_string(result.taken) + " 件、スキップ " +
           std::to_string(result.skipped) + " 件";
}

LoadedLog mergedLog(const LoadedLog& log, const std::vector<MeasurementRecord>& rows,
                    MergeResult& counts) {
    std::unordered_set<std::string> seen;
    seen.reserve(log.records.size() + rows.size());
    for (const MeasurementRecord& r : log.records) seen.insert(RowKey(r).key);
    std::vector<MeasurementRecord> fresh;
    for (const MeasurementRecord& r : rows) {
        if (seen.insert(RowKey(r).key).second)
            fresh.push_back(r);
        else
            ++counts.skipped;
    }
    counts.taken = fresh.size();
    std::stable_sort(
        fresh.begin(), fresh.end(),
        [](const MeasurementRecord& a, const MeasurementRecord& b) { return a.date < b.date; });
    // Each new row goes before the first record of a later date, as a single insertion
    // would place it; the log's own records keep their order.
    LoadedLog out;
    out.status = log.status;
    out.stamp = log.stamp;
    out.records.reserve(log.records.size() + fresh.size());
    std::vector<std::size_t> newIndex(log.records.size() + 1);
    std::size_t next = 0;
    for (std::size_t i = 0; i < log.records.size(); ++i) {
        while (next < fresh.size() && fresh[next].date < log.records[i].date)
            out.records.push_back(fresh[next++]);
        newIndex[i] = out.records.size();
        out.records.push_back(log.records[i]);
    }
    while (next < fresh.size()) out.records.push_back(fresh[next++]);
    newIndex[log.records.size()] = out.records.size();
    out.damaged = log.damaged;
    for (DamagedLine& line : out.damaged)
        line.before = newIndex[std::min(line.before, log.records.size())];
    return out;
}

MergeResult mergeImport(const std::filesystem::path& folder, int slot,
                        const std::vector<MeasurementRecord>& rows, const FileStamp& stamp) {
    MergeResult result;
    for (const MeasurementRecord& r : rows) {
        if (!isStorableRecord(r)) {
            result.status = WriteStatus::Refused;
            return result;
        }
    }
    const std::string name = logFileName(slot);
    // From the read to the write, no other program changes the log.
    const FolderLock lock(folder);
    if (!lock.held()) {
        result.status = lock.failure();
        return result;
    }
    const FileBytes old = readFileBytes(folder, name);
    if (old.failed()) {
        result.status =
            old.status == ReadStatus::Unusable ? WriteStatus::Unusable : WriteStatus::ReadFailed;
        return result;
    }
    if (!stillHolds(stamp, old.stamp)) {
        result.status = WriteStatus::Stale;
        return result;
    }
    if (isOldLayoutLog(slot, old.bytes)) {
        result.status = WriteStatus::OldLayout;
        return result;
    }
    LoadedLog log = parseLog(old.bytes);
    log.status = old.status;
    log.stamp = old.stamp;
    LoadedLog merged = mergedLog(log, rows, result);
    if (result.taken == 0) return result;
    if (merged.records.size() > static_cast<std::size_t>(kMaxRecords)) {
        result.status = WriteStatus::Refused;
        result.tooMany = true;
        return result;
    }
    if (old.status == ReadStatus::Ok && !old.bytes.empty()) {
        const std::string copy = "データ" + std::to_string(slot) + "_インポート前.txt";
        const std::optional<std::string> kept = keepInBackupFolder(folder, copy, old.bytes);
        if (!kept) {
            result.status = WriteStatus::WriteFailed;
            return result;
        }
        result.backupName = *kept;
    }
    const WriteResult written = writeBackLog(folder, slot, merged);
    result.status = written.status;
    result.stamp = written.stamp;
    return result;
}

}  // namespace pairly::store
