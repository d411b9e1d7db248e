#include "core/exchange/csv_export.h"

#include <optional>
#include <system_error>

#include "core/disk/change_set.h"
#include "core/disk/folder_lock.h"
#include "core/exchange/predecessor_import.h"
#include "core/store/partner_profile.h"

namespace pairly::exchange {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

namespace {

// Apostrophes, then the first character a spreadsheet reads as the start of a formula.
bool startsAsFormula(std::string_view text) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos &&
           std::string_view("=+-@\t\r").find(text[first]) != std::string_view::npos;
}

}  // namespace

std::string withFormulaGuard(std::string_view text) {
    return startsAsFormula(text) ? "'" + std::string(text) : std::string(text);
}

std::string withoutFormulaGuard(std::string_view text) {
    if (text.starts_with('\'') && startsAsFormula(text)) text.remove_prefix(1);
    return std::string(text);
}

namespace {

// A text field of the file.
std::string textField(std::string_view text) { return csvField(withFormulaGuard(text)); }

// "yyyy/mm/dd" as "yyyy-mm-dd"; a date of another form (a hand-edited log) as it is.
std::string csvDate(std::string date) {
    if (date.size() == 10 && date[4] == '/' && date[7] == '/') date[4] = date[7] = '-';
    return date;
}

void addRows(std::string& out, int partner, const CsvPartner& p) {
    const std::string front = std::to_string(partner) + "," + textField(p.nickname) + ",";
    for (const store::MeasurementRecord& r : p.records) {
        out += front;
        out += textField(csvDate(r.date)) + "," + textField(r.situation) + ",";
        for (const std::string& reading : store::readingTexts(r)) out += reading + ",";
        out += textField(r.comment) + "\r\n";
    }
}

}  // namespace

std::string csvBytes(const CsvPartner& first, const CsvPartner& second) {
    std::string out = kUtf8Bom;
    out.reserve((first.records.size() + second.records.size()) * 90 + 200);
    out += kCsvHeader;
    out += "\r\n";
    addRows(out, 1, first);
    addRows(out, 2, second);
    return out;
}

ExportResult exportCsv(const std::filesystem::path& folder, const std::filesystem::path& target) {
    ExportResult result;
    CsvPartner partners[2];
    for (const int slot : {1, 2}) {
        const store::LoadedLog log = store::loadLog(folder, slot);
        // Half a diary written as the whole of it would be a quiet loss.
        if (log.failed()) {
            result.status = disk::WriteStatus::ReadFailed;
            result.file = store::logFileName(slot);
            return result;
        }
        if (log.oldLayout) {
            result.status = disk::WriteStatus::OldLayout;
            result.file = store::logFileName(slot);
            return result;
        }
        const store::LoadedProfile profile = store::readProfile(folder, slot);
        if (profile.failed()) {
            result.status = disk::WriteStatus::ReadFailed;
            result.file = store::profileFileName(slot);
            return result;
        }
        partners[slot - 1] = {profile.profile.nickname, log.records};
        result.weighings += log.records.size();
        result.damagedLines += log.damaged.size();
    }
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    const std::string name = target.filename().string();
    // A name typed by mistake must never put a CSV file in the place of one of the
    // program's files, nor write through a link to wherever it leads.
    result.file = programFileAt(folder, target);
    result.problem = disk::fileProblemOf(dir, name);
    if (!result.file.empty() || result.problem != disk::FileProblem::None) {
        result.status =
            result.file.empty() ? disk::WriteStatus::Unusable : disk::WriteStatus::Refused;
        result.weighings = 0;
        return result;
    }
    const std::string bytes = csvBytes(partners[0], partners[1]);
    result.status = disk::rewriteFile(dir, name, bytes);
    if (!result.written()) result.weighings = 0;
    return result;
}

namespace {

namespace fs = std::filesystem;

std::string latinLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The folder a path leads to, every link and ".." resolved as far as it exists.
fs::path resolvedFolder(const fs::path& dir) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(dir, ec), ec);
    return ec ? dir.lexically_normal() : resolved;
}

// `dir` itself or a folder in it, and the path from `dir`.
std::optional<fs::path> within(const fs::path& path, const fs::path& dir) {
    const fs::path rel = path.lexically_relative(dir);
    if (rel.empty() || *rel.begin() == "..") return std::nullopt;
    return rel;
}

}  // namespace

std::string programFileAt(const fs::path& folder, const fs::path& target) {
    const fs::path dataFolder = resolvedFolder(folder);
    const fs::path dir = resolvedFolder(target.parent_path().empty() ? "." : target.parent_path());
    const std::string name = target.filename().string();
    const std::string backup = disk::kBackupFolder;
    // Everything in バックアップ/, also where a linked バックアップ/ leads.
    for (const fs::path& backups : {dataFolder / backup, resolvedFolder(folder / backup)}) {
        if (const auto rel = within(dir, backups))
            return (fs::path(backup) / *rel / name).lexically_normal().string();
    }
    if (dir != dataFolder) return "";
    const std::string key = latinLower(name);
    for (const std::string_view own : {std::string_view(disk::kLockFile),
                                       std::string_view(kWeightOnlyFile), std::string_view(backup)})
        if (key == latinLower(own)) return name;
    return disk::isProgramFileName(name) || disk::isProgramTemporary(name) ? name : "";
}

std::string exportRefusalText(const std::string& shownName, const ExportResult& result) {
    if (result.status == disk::WriteStatus::Unusable)
        return disk::fileProblemText(shownName, result.problem) + "\n別の名前を指定してください。";
    if (result.file.starts_with(disk::kBackupFolder))
        return shownName + " はペアリー☆ログのバックアップ（" + result.file +
               "）です。\n別の場所を指定してください。";
    return shownName + " はペアリー☆ログが使うファイル（" + result.file +
           "）です。\n別の名前を指定してください。";
}

}  // namespace pairly::exchange
