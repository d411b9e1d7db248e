#include "store/situation_list.h"

#include "store/codec.h"
#include "store/data_folder.h"
#include "store/fields.h"
#include "store/measurement_log.h"

namespace pairly::store {

namespace {

constexpr const char* kListFile = "状況リスト.txt";

std::vector<std::string> parseEntries(const std::string& content) {
    std::vector<std::string> entries;
    FieldReader reader(content);
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

LoadedSituations loadSituations(const std::filesystem::path& folder) {
    const FileText file = readFile(folder, kListFile);
    return {parseEntries(file.text), file.status};
}

std::vector<std::string> loadSituationList(const std::filesystem::path& folder) {
    return loadSituations(folder).entries;
}

bool ensureSituationList(const std::filesystem::path& folder) {
    // Only a file that is not there is a first run; one that cannot be read is kept.
    if (readFileBytes(folder, kListFile).status != ReadStatus::Missing) return true;
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

RenameOutcome renameSituation(const std::filesystem::path& folder, int slot,
                              const std::string& oldText, const std::string& newText) {
    RenameOutcome outcome;
    auto stop = [&outcome](WriteStatus status, std::string unreadFile = {}) {
        outcome.status = status;
        outcome.unreadFile = std::move(unreadFile);
        return outcome;
    };
    if (!isStorableText(newText)) return stop(WriteStatus::Refused);

    // Each file is read once: a second read could fail where the first did not, and only
    // what was read completely may be written back.
    const std::string logName = logFileName(slot);
    const FileBytes logFile = readFileBytes(folder, logName);
    if (logFile.failed()) return stop(WriteStatus::ReadFailed, logName);
    const FileText listFile = readFile(folder, kListFile);
    if (listFile.failed()) return stop(WriteStatus::ReadFailed, kListFile);

    // Both new contents, encoded, before either file changes.
    std::string listText;
    for (const auto& entry : parseEntries(listFile.text))
        listText += writeLine({quoted(entry == oldText ? newText : entry)});
    const std::optional<std::string> listBytes = toCp932(listText);
    if (!listBytes) return stop(WriteStatus::Refused);
    std::optional<std::string> logBytes;
    if (logFile.status == ReadStatus::Ok) {
        if (isOldLayoutLog(slot, logFile.bytes)) return stop(WriteStatus::OldLayout);
        LoadedLog log = parseLog(logFile.bytes);
        for (auto& r : log.records) {
            if (r.situation == oldText) r.situation = newText;
            if (!isStorableRecord(r)) return stop(WriteStatus::Refused);
        }
        logBytes = store::logBytes(log);
        if (!logBytes) return stop(WriteStatus::Refused);
    }

    constexpr const char* kLogTemp = "データＣＨＧ.txt";
    if (logBytes && !keepTornLogBeforeRewrite(folder, slot, logFile.bytes))
        return stop(WriteStatus::WriteFailed);
    if (logBytes && !safeRewriteBytes(folder, logName, *logBytes, kLogTemp))
        return stop(WriteStatus::WriteFailed);
    if (!safeRewriteBytes(folder, kListFile, *listBytes, "状況リストＣＨＧ.txt")) {
        // The list stays as it was, so the log goes back to the bytes it had.
        if (logBytes && !safeRewriteBytes(folder, logName, logFile.bytes, kLogTemp))
            outcome.logLeftRenamed = true;
        return stop(WriteStatus::WriteFailed);
    }
    return outcome;
}

}  // namespace pairly::store
