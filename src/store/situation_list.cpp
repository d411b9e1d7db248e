#include "store/situation_list.h"

#include "store/data_folder.h"
#include "store/fields.h"
#include "store/measurement_log.h"

namespace pairly::store {

namespace {

constexpr const char* kListFile = "状況リスト.txt";

std::vector<std::string> readEntries(const std::filesystem::path& folder) {
    std::vector<std::string> entries;
    const auto content = readTextFile(folder, kListFile);
    if (!content) return entries;
    FieldReader reader(*content);
    while (auto field = reader.next()) {
        // A blank line is no situation.
        if (!field->empty()) entries.push_back(std::move(*field));
    }
    return entries;
}

// The list is written bare, but an entry that a bare line would split or trim is
// quoted so that it reads back as the one entry it is.
std::string entryLine(const std::string& entry) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool needsQuotes = entry.find(',') != std::string::npos ||
                             (!entry.empty() && (blank(entry.front()) || blank(entry.back())));
    return needsQuotes ? writeLine({quoted(entry)}) : printFormText(entry);
}

}  // namespace

const std::vector<std::string>& defaultSituations() {
    static const std::vector<std::string> list = {"起床後", "朝食前", "朝食後", "昼食前",
                                                  "昼食後", "夕食前", "夕食後", "入浴前",
                                                  "入浴後", "就寝前", "運動後"};
    return list;
}

std::vector<std::string> loadSituationList(const std::filesystem::path& folder) {
    return readEntries(folder);
}

bool ensureSituationList(const std::filesystem::path& folder) {
    if (fileExists(folder, kListFile)) return true;
    return rewriteSituationList(folder, defaultSituations());
}

bool appendSituationBare(const std::filesystem::path& folder, const std::string& entry) {
    if (!isStorableText(entry)) return false;
    return appendText(folder, kListFile, entryLine(entry));
}

bool appendSituationQuoted(const std::filesystem::path& folder, const std::string& entry) {
    if (!isStorableText(entry)) return false;
    return appendText(folder, kListFile, writeLine({quoted(entry)}));
}

bool rewriteSituationList(const std::filesystem::path& folder,
                          const std::vector<std::string>& entries) {
    std::string content;
    for (const auto& e : entries) {
        if (!isStorableText(e)) return false;
        content += entryLine(e);
    }
    return safeRewrite(folder, kListFile, content);
}

bool renameSituation(const std::filesystem::path& folder, int slot, const std::string& oldText,
                     const std::string& newText) {
    // Both new contents are built and checked before either file changes.
    if (!isStorableText(newText)) return false;
    // Only what was read completely may be written back.
    if (readFile(folder, kListFile).failed()) return false;
    std::string listContent;
    for (const auto& entry : readEntries(folder))
        listContent += writeLine({quoted(entry == oldText ? newText : entry)});
    if (!hasCp932Form(listContent)) return false;

    const std::string logName = logFileName(slot);
    const FileText logFile = readFile(folder, logName);
    if (logFile.failed()) return false;
    if (logFile.status == ReadStatus::Ok) {
        auto records = parseRecords(logFile.text);
        for (auto& r : records) {
            if (r.situation == oldText) r.situation = newText;
            if (!isStorableRecord(r)) return false;
        }
        if (!safeRewrite(folder, logName, recordsText(records), "データＣＨＧ.txt")) return false;
    }
    return safeRewrite(folder, kListFile, listContent, "状況リストＣＨＧ.txt");
}

}  // namespace pairly::store
