#include "core/store/csv_export.h"

#include "core/store/partner_profile.h"
#include "core/text/numbers.h"

namespace pairly::store {

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

// "yyyy/mm/dd" as "yyyy-mm-dd"; a date of another form (a hand-edited log) as it is.
std::string csvDate(std::string date) {
    if (date.size() == 10 && date[4] == '/' && date[7] == '/') date[4] = date[7] = '-';
    return date;
}

void addRows(std::string& out, int partner, const CsvPartner& p) {
    const std::string front = std::to_string(partner) + "," + csvField(p.nickname) + ",";
    for (const MeasurementRecord& r : p.records) {
        out += front;
        out += csvField(csvDate(r.date)) + "," + csvField(r.situation) + ",";
        out += text::floatText(r.weight) + "," + text::floatText(r.bodyFat) + ",";
        out += std::to_string(int{r.basalMetabolism}) + "," + std::to_string(int{r.visceralFat});
        out += "," + text::floatText(r.muscleMass) + "," + std::to_string(int{r.muscleScore});
        out += "," + text::floatText(r.boneMass) + "," + csvField(r.comment) + "\r\n";
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
        const LoadedLog log = loadLog(folder, slot);
        // Half a diary written as the whole of it would be a quiet loss.
        if (log.failed()) {
            result.status = WriteStatus::ReadFailed;
            result.file = logFileName(slot);
            return result;
        }
        if (log.oldLayout) {
            result.status = WriteStatus::OldLayout;
            result.file = logFileName(slot);
            return result;
        }
        const LoadedProfile profile = readProfile(folder, slot);
        if (profile.failed()) {
            result.status = WriteStatus::ReadFailed;
            result.file = profileFileName(slot);
            return result;
        }
        partners[slot - 1] = {profile.profile.nickname, log.records};
        result.weighings += log.records.size();
        result.damagedLines += log.damaged.size();
    }
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    // A name typed by mistake must never put a CSV file in the place of a diary file.
    const std::filesystem::path resolved = resolveFile(dir, target.filename().string());
    for (const char* name : kDataFileNames) {
        std::error_code ec;
        if (std::filesystem::equivalent(resolveFile(folder, name), resolved, ec) && !ec) {
            result.status = WriteStatus::Refused;
            result.file = name;
            result.weighings = 0;
            return result;
        }
    }
    const std::string bytes = csvBytes(partners[0], partners[1]);
    result.status = rewriteFile(dir, target.filename().string(), bytes);
    if (!result.written()) result.weighings = 0;
    return result;
}

}  // namespace pairly::store
