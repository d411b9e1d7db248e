#include "core/exchange/csv_import.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <unordered_set>

#include "core/disk/codec.h"
#include "core/disk/fields.h"
#include "core/disk/folder_lock.h"
#include "core/exchange/csv_export.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

namespace pairly::exchange {

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

using disk::isUtf8;

std::vector<std::string> headerFields(std::string_view text) {
    const std::vector<CsvRow> rows = csvRows(text.substr(0, text.find_first_of("\r\n")));
    std::vector<std::string> names;
    if (rows.empty()) return names;
    for (const std::string& f : rows[0].fields) names.push_back(trimmed(f));
    return names;
}

// A header name as it is compared with the words a plain CSV may use: Latin letters in
// lower case, without blanks, full-width brackets as ASCII ("Weight (kg)" -> "weight(kg)").
std::string headerKey(std::string_view name) {
    std::string key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const std::string_view rest = name.substr(i);
        if (rest.starts_with("（") || rest.starts_with("）")) {
            key += rest.starts_with("（") ? '(' : ')';
            i += std::string_view("（").size() - 1;
        } else if (c != ' ' && c != '\t') {
            key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return key;
}

// Column positions by header name.
struct Columns {
    std::map<std::string, std::size_t, std::less<>> at;
    explicit Columns(const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) at.emplace(names[i], i);
    }
    bool has(std::string_view name) const { return at.find(name) != at.end(); }
    // The first column whose name is one of `words` (compared by headerKey), "" when none.
    std::string named(std::initializer_list<std::string_view> words) const {
        std::string found;
        std::size_t first = SIZE_MAX;
        for (const auto& [name, index] : at)
            for (const std::string_view w : words)
                if (headerKey(name) == w && index < first) found = name, first = index;
        return found;
    }
    // The field of that column, as it is; "" when the column or the field is missing.
    std::string raw(const CsvRow& row, std::string_view name) const {
        const auto it = at.find(name);
        if (it == at.end() || it->second >= row.fields.size()) return "";
        return row.fields[it->second];
    }
    std::string field(const CsvRow& row, std::string_view name) const {
        return trimmed(raw(row, name));
    }
};

// A run of one to `most` digits.
std::optional<int> number(std::string_view s, std::size_t most = 4) {
    if (s.empty() || s.size() > most) return std::nullopt;
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// The parts of "a<sep>b<sep>c".
std::vector<std::string_view> parts(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    for (std::size_t at; (at = s.find(sep)) != std::string_view::npos; s.remove_prefix(at + 1))
        out.push_back(s.substr(0, at));
    out.push_back(s);
    return out;
}

// A day and perhaps a time of day (seconds since midnight, -1 when none).
struct DateTime {
    std::string date;
    int seconds = -1;
};

// A day an imported row may have: a real day from kFirstImportDay to today.
std::optional<std::string> importDay(int year, int month, int day, const text::Date& today) {
    const text::Date date{year, month, day};
    if (!text::isValidDate(date) || date < kFirstImportDay || today < date) return std::nullopt;
    return text::formatDate(date);
}

// "H:MM" or "H:MM:SS" as seconds since midnight.
std::optional<int> timeOfDay(std::string_view s) {
    const auto p = parts(s, ':');
    if (p.size() < 2 || p.size() > 3) return std::nullopt;
    const auto h = number(p[0], 2), m = p[1].size() == 2 ? number(p[1]) : std::nullopt;
    const auto sec = p.size() == 3 ? (p[2].size() == 2 ? number(p[2]) : std::nullopt) : 0;
    if (!h || !m || !sec || *h > 23 || *m > 59 || *sec > 59) return std::nullopt;
    return *h * 3600 + *m * 60 + *sec;
}

// "yyyy/m/d" or "yyyy-m-d" (month and day with or without their zero), perhaps followed
// by a blank or "T" and a time of day.
std::optional<DateTime> dayAndTime(std::string_view s, const text::Date& today) {
    const std::size_t cut = s.find_first_of(" T");
    DateTime out;
    if (cut != std::string_view::npos) {
        const auto time = timeOfDay(trimmed(s.substr(cut + 1)));
        if (!time) return std::nullopt;
        out.seconds = *time;
    }
    const std::string_view day = s.substr(0, cut);
    const auto p = parts(day, day.size() > 4 && day[4] == '-' ? '-' : '/');
    if (p.size() != 3 || p[0].size() != 4) return std::nullopt;
    const auto y = number(p[0]), m = number(p[1], 2), d = number(p[2], 2);
    if (!y || !m || !d) return std::nullopt;
    const auto date = importDay(*y, *m, *d, today);
    if (!date) return std::nullopt;
    out.date = *date;
    return out;
}

// "dd.MM.yyyy HH:mm" (seconds allowed).
std::optional<DateTime> openScaleDateTime(std::string_view s, const text::Date& today) {
    if (s.size() < 16 || s[2] != '.' || s[5] != '.' || s[10] != ' ') return std::nullopt;
    const auto d = number(s.substr(0, 2)), m = number(s.substr(3, 2)), y = number(s.substr(6, 4));
    const auto time = s.size() <= 19 ? timeOfDay(s.substr(11)) : std::nullopt;
    if (!d || !m || !y || !time || s[13] != ':') return std::nullopt;
    const auto date = importDay(*y, *m, *d, today);
    if (!date) return std::nullopt;
    return DateTime{*date, *time};
}

// The seven measures from their texts in record order, each by the entry screen's rule
// for it; a blank text is 0 but for the weight, which must be given.
using MeasureTexts = std::array<std::string, store::kReadingCount>;
bool readMeasures(const MeasureTexts& texts, store::MeasurementRecord& r) {
    if (disk::isBlankText(texts[0])) return false;
    std::array<double, store::kReadingCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const disk::TypedNumber n = disk::readTypedNumber(texts[i], store::kMeasureRules[i].kind);
        if (!n.ok()) return false;
        values[i] = n.value;
    }
    r.readings() = store::readingsOf(values);
    return true;
}

// Every field of the row is UTF-8 (after a byte-order mark, a stray byte spoils only
// its row).
bool isUtf8Row(const CsvRow& row) {
    return !row.unclosed && std::all_of(row.fields.begin(), row.fields.end(),
                                        [](const std::string& f) { return isUtf8(f); });
}

// Another program's comment, made storable: quotes and line breaks would break the log's
// line, and a character without a CP932 form cannot be written at all.
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
        else if (!disk::hasKeptByte(ch) && disk::hasCp932Form(ch))
            out += ch;
        else
            out += "?";
    }
    return trimmed(out);
}

void take(ImportRead& read, const CsvRow& row, bool ok, store::MeasurementRecord&& r) {
    if (ok)
        read.rows.push_back(std::move(r));
    else
        read.badLines.push_back(row.lineNumber);
}

void readOwnCsv(const std::vector<CsvRow>& rows, const Columns& c, const text::Date& today,
                ImportRead& read) {
    static constexpr const char* kMeasureColumns[store::kReadingCount] = {
        "weight",     "bodyFat",     "basalMetabolism", "visceralFat",
        "muscleMass", "muscleScore", "boneMass"};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        const std::string who = c.field(row, "partner");
        store::MeasurementRecord r;
        MeasureTexts texts;
        for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = c.field(row, kMeasureColumns[k]);
        const auto when = dayAndTime(withoutFormulaGuard(c.field(row, "date")), today);
        r.situation = withoutFormulaGuard(c.raw(row, "situation"));
        r.comment = withoutFormulaGuard(c.raw(row, "comment"));
        const bool ok = (who == "1" || who == "2") && isUtf8Row(row) && when &&
                        readMeasures(texts, r) && disk::isStorableText(r.situation) &&
                        disk::isStorableText(r.comment);
        if (ok) {
            r.date = when->date;
            read.rowPartners.push_back(who[0] - '0');
        }
        take(read, row, ok, std::move(r));
    }
}

void readOpenScale(const std::vector<CsvRow>& rows, const Columns& c, const text::Date& today,
                   ImportRead& read) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        store::MeasurementRecord r;
        const auto when = openScaleDateTime(c.field(row, "dateTime"), today);
        const MeasureTexts texts = {
            c.field(row, "weight"), c.field(row, "fat"), "", c.field(row, "visceralFat"), "", "",
            c.field(row, "bone")};
        // A share of the weight, in the range of a body fat.
        const disk::TypedNumber muscle =
            disk::readTypedNumber(c.field(row, "muscle"), disk::NumberKind::BodyFat);
        const bool ok = isUtf8Row(row) && when && readMeasures(texts, r) && muscle.ok();
        if (ok) {
            r.date = when->date;
            r.situation = kImportSituation;
            r.muscleMass = static_cast<float>(
                text::round1(static_cast<double>(r.weight) * muscle.value / 100.0));
            r.comment = storableComment(c.field(row, "comment"));
            if (r.comment.empty()) r.comment = text::longTimeText(when->seconds);
        }
        take(read, row, ok, std::move(r));
    }
}

void readPlainCsv(const std::vector<CsvRow>& rows, const std::string& dateColumn,
                  const std::string& weightColumn, const Columns& c, const text::Date& today,
                  ImportRead& read) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        store::MeasurementRecord r;
        const auto when = dayAndTime(c.field(row, dateColumn), today);
        const bool ok = isUtf8Row(row) && when &&
                        readMeasures({c.field(row, weightColumn), "", "", "", "", "", ""}, r);
        if (ok) {
            r.date = when->date;
            r.situation = kImportSituation;
            if (when->seconds >= 0) r.comment = text::longTimeText(when->seconds);
        }
        take(read, row, ok, std::move(r));
    }
}

// A log: its records, each checked like a row of a CSV (its line found again by walking
// the lines as the log's reader does); lines that are no records are left out.
void readLog(const std::string& text, const text::Date& today, ImportRead& read) {
    std::vector<store::MeasurementRecord> records = store::parseRecords(text);
    for (const store::LogScan::Line& line : store::scanLog(text).damaged)
        read.ignoredLines.push_back(line.lineNumber);
    std::array<std::string_view, 11> f;
    std::size_t lineNumber = 0, next = 0, ignored = 0;
    for (std::size_t pos = 0; pos < text.size() && next < records.size();) {
        ++lineNumber;
        const disk::LineFields line = disk::readLineFields(text, pos, f.data(), f.size());
        pos = line.next;
        if (line.count == 0) continue;
        if (ignored < read.ignoredLines.size() && read.ignoredLines[ignored] == lineNumber) {
            ++ignored;
            continue;
        }
        store::MeasurementRecord& r = records[next++];
        MeasureTexts texts;
        for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = f[k + 2];
        const auto when = dayAndTime(r.date, today);
        const bool ok = when && readMeasures(texts, r) && isUtf8(r.situation) &&
                        isUtf8(r.comment) && isUtf8(r.reserved) && store::isStorableRecord(r);
        if (ok) r.date = when->date;
        if (ok)
            read.rows.push_back(std::move(r));
        else
            read.badLines.push_back(lineNumber);
    }
}

}  // namespace

ImportRead readImportBytes(std::string_view bytes, const text::Date& today, int partner) {
    ImportRead read;
    read.status = disk::ReadStatus::Ok;
    // After a byte-order mark the file is UTF-8 and a row with other bytes is a bad row;
    // without one, the whole file decides (a spreadsheet on a Japanese PC saves Shift-JIS).
    std::string text;
    if (bytes.starts_with(kUtf8Bom)) {
        text = bytes.substr(3);
    } else if (isUtf8(bytes)) {
        text = bytes;
    } else {
        text = disk::fromCp932(bytes);
        if (disk::hasKeptByte(text)) {
            read.unknownEncoding = true;
            return read;
        }
    }
    const std::vector<std::string> header = headerFields(text);
    const Columns columns(header);
    const std::string dateColumn = columns.named({"日付", "date"});
    const std::string weightColumn = columns.named({"体重", "体重(kg)", "weight", "weight(kg)"});
    if (header == headerFields(kCsvHeader)) {
        read.format = ImportFormat::OwnCsv;
        readOwnCsv(csvRows(text), columns, today, read);
    } else if (columns.has("dateTime") && columns.has("weight")) {
        read.format = ImportFormat::OpenScale;
        readOpenScale(csvRows(text), columns, today, read);
    } else if (!dateColumn.empty() && !weightColumn.empty()) {
        read.format = ImportFormat::PlainCsv;
        readPlainCsv(csvRows(text), dateColumn, weightColumn, columns, today, read);
    } else if (store::logLayoutOfFirstLine(text) == store::LogLayout::Current) {
        read.format = ImportFormat::Log;
        readLog(text, today, read);
    }
    return partner == 0 ? read : forPartner(std::move(read), partner);
}

ImportRead readImport(const std::filesystem::path& file, const text::Date& today, int partner) {
    namespace fs = std::filesystem;
    // The path is resolved once, as the user chose it (their Downloads folder may be a
    // link); the file found is then opened without following anything further.
    std::error_code ec;
    fs::path path = fs::canonical(file, ec);
    if (ec) {
        const fs::path dir = file.parent_path().empty() ? fs::path(".") : file.parent_path();
        path = fs::canonical(dir, ec) / file.filename();
        if (ec) path = dir / file.filename();
    }
    const disk::FileBytes got =
        disk::readFileBytes(path.parent_path(), path.filename().string(),
                            disk::ReadLimits{disk::kMaxFileBytes, disk::kMaxImportLineBytes});
    ImportRead read;
    if (got.status == disk::ReadStatus::Ok) read = readImportBytes(got.bytes, today, partner);
    read.status = got.status;
    read.problem = got.problem;
    read.longLine = got.longLine;
    read.name = file.filename().string();
    return read;
}

ImportRead forPartner(ImportRead read, int partner) {
    if (read.rowPartners.empty()) return read;
    std::vector<store::MeasurementRecord> mine;
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        if (read.rowPartners[i] == partner)
            mine.push_back(std::move(read.rows[i]));
        else
            ++read.otherPartnerRows;
    }
    read.rows = std::move(mine);
    read.rowPartners.assign(read.rows.size(), partner);
    return read;
}

std::string importProblemText(const ImportRead& read) {
    if (read.status == disk::ReadStatus::Missing) return "ファイルが見つかりません。";
    if (read.status == disk::ReadStatus::Unusable)
        return disk::fileProblemText(read.name.empty() ? "ファイル" : read.name, read.problem,
                                     read.longLine);
    if (read.status == disk::ReadStatus::Failed) return "ファイルを読み込めませんでした。";
    if (read.unknownEncoding)
        return "文字コードがUTF-8でもシフトJIS（CP932）でもないため、読み込めません。";
    if (read.format == ImportFormat::Unknown)
        return "読み込める形式のファイルではありません。\n日付（日付 か date）と体重（体重 か "
               "weight）の列があるCSV、ペアリー☆ログやopenScaleのCSV、測定データのファイルを"
               "読み込めます。";
    if (!read.badLines.empty()) {
        constexpr std::size_t kNamed = 10;
        std::string list;
        for (std::size_t i = 0; i < read.badLines.size() && i < kNamed; ++i)
            list += (i > 0 ? "、" : "") + std::to_string(read.badLines[i]);
        return "日付や体重などが読み取れないか範囲外の行が " +
               std::to_string(read.badLines.size()) + " 行あるため、読み込みを中止しました（" +
               list + " 行目" + (read.badLines.size() > kNamed ? "ほか" : "") +
               "）。\n日付は1900/01/01から今日まで、数値は入力画面と同じ範囲で読み込めます。"
               "\nデータは変更されていません。";
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
    explicit RowKey(const store::MeasurementRecord& r) {
        const auto bits = std::bit_cast<std::uint32_t>(r.weight);
        key = r.date + '\0' + r.situation + '\0' + std::to_string(bits);
    }
};

}  // namespace

std::string mergeCountsText(const MergeResult& result, std::size_t otherPartnerRows) {
    std::string text = "取り込み " + std::to_string(result.taken) + " 件、スキップ " +
                       std::to_string(result.skipped) + " 件";
    if (otherPartnerRows > 0)
        text += "、もう一人の " + std::to_string(otherPartnerRows) + " 件は取り込みませんでした";
    return text;
}

store::LoadedLog mergedLog(const store::LoadedLog& log,
                           const std::vector<store::MeasurementRecord>& rows, MergeResult& counts) {
    std::unordered_set<std::string> seen;
    seen.reserve(log.records.size() + rows.size());
    for (const store::MeasurementRecord& r : log.records) seen.insert(RowKey(r).key);
    std::vector<store::MeasurementRecord> fresh;
    for (const store::MeasurementRecord& r : rows) {
        if (seen.insert(RowKey(r).key).second)
            fresh.push_back(r);
        else
            ++counts.skipped;
    }
    counts.taken = fresh.size();
    std::stable_sort(fresh.begin(), fresh.end(),
                     [](const store::MeasurementRecord& a, const store::MeasurementRecord& b) {
                         return a.date < b.date;
                     });
    // Each new row goes before the first record of a later date, as a single insertion
    // would place it; the log's own records keep their order.
    store::LoadedLog out;
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
    for (store::DamagedLine& line : out.damaged)
        line.before = newIndex[std::min(line.before, log.records.size())];
    return out;
}

MergeResult mergeImport(const std::filesystem::path& folder, int slot,
                        const std::vector<store::MeasurementRecord>& rows,
                        const disk::FileStamp& stamp) {
    MergeResult result;
    for (const store::MeasurementRecord& r : rows) {
        if (!isStorableRecord(r)) {
            result.status = disk::WriteStatus::Refused;
            return result;
        }
    }
    const std::string name = store::logFileName(slot);
    // From the read to the write, no other program changes the log.
    const disk::FolderLock lock(folder);
    if (!lock.held()) {
        result.status = lock.failure();
        return result;
    }
    const disk::FileBytes old = disk::readFileBytes(folder, name);
    if (old.failed()) {
        result.status = old.status == disk::ReadStatus::Unusable ? disk::WriteStatus::Unusable
                                                                 : disk::WriteStatus::ReadFailed;
        return result;
    }
    if (!disk::stillHolds(stamp, old.stamp)) {
        result.status = disk::WriteStatus::Stale;
        return result;
    }
    if (store::isOldLayoutLog(slot, old.bytes)) {
        result.status = disk::WriteStatus::OldLayout;
        return result;
    }
    store::LoadedLog log = store::parseLog(old.bytes);
    log.status = old.status;
    log.stamp = old.stamp;
    store::LoadedLog merged = mergedLog(log, rows, result);
    if (result.taken == 0) return result;
    if (merged.records.size() > static_cast<std::size_t>(store::kMaxRecords)) {
        result.status = disk::WriteStatus::Refused;
        result.tooMany = true;
        return result;
    }
    if (old.status == disk::ReadStatus::Ok && !old.bytes.empty()) {
        const std::string copy = "データ" + std::to_string(slot) + "_インポート前.txt";
        const std::optional<std::string> kept = disk::keepInBackupFolder(folder, copy, old.bytes);
        if (!kept) {
            result.status = disk::WriteStatus::WriteFailed;
            return result;
        }
        result.backupName = *kept;
    }
    const disk::WriteResult written = store::writeBackLog(folder, slot, merged);
    result.status = written.status;
    result.stamp = written.stamp;
    return result;
}

}  // namespace pairly::exchange
