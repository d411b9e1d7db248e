#include "core/store/situation_list.h"

#include "core/store/codec.h"
#include "core/store/data_folder.h"
#include "core/store/fields.h"
#include "core/store/folder_lock.h"
#include "core/store/measurement_log.h"

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
    return {parseEntries(file.text), file.status, file.stamp};
}

std::vector<std::string> loadSituationList(const std::filesystem::path& folder) {
    return loadSituations(folder).entries;
}

namespace {

std::optional<std::string> listBytes(const std::vector<std::string>& entries) {
    std::string content;
    for (const auto& e : entries) {
        if (!isStorableText(e)) return std::nullopt;
        content += entryLine(e);
    }
    return toCp932(content);
}

}  // namespace

WriteStatus ensureSituationList(const std::filesystem::path& folder) {
    // Only a file that is not there is a first run; one that cannot be read is kept, and
    // so is one another window has just made.
    if (readFileBytes(folder, kListFile).status != ReadStatus::Missing) return WriteStatus::Ok;
    const WriteResult result =
        rewriteSituationList(folder, defaultSituations(), FileStamp::missing());
    switch (result.status) {
        case WriteStatus::Ok:
        case WriteStatus::Stale:
            return WriteStatus::Ok;
        case WriteStatus::Unsynced:
            return WriteStatus::Unsynced;
        default:
            return WriteStatus::WriteFailed;
    }
}

bool appendSituationBare(const std::filesystem::path& folder, const std::string& entry,
                         AppendStamps* stamps) {
    if (!isStorableText(entry)) return false;
    return appendText(folder, kListFile, entryLine(entry), stamps) == WriteStatus::Ok;
}

bool appendSituationQuoted(const std::filesystem::path& folder, const std::string& entry,
                           AppendStamps* stamps) {
    if (!isStorableText(entry)) return false;
    return appendText(folder, kListFile, writeLine({quoted(entry)}), stamps) == WriteStatus::Ok;
}

WriteResult rewriteSituationList(const std::filesystem::path& folder,
                                 const std::vector<std::string>& entries, const FileStamp& shown) {
    const auto bytes = listBytes(entries);
    if (!bytes) return {WriteStatus::Refused, {}};
    return rewriteIfUnchanged(folder, kListFile, *bytes, shown);
}

bool rewriteSituationList(const std::filesystem::path& folder,
                          const std::vector<std::string>& entries) {
    const auto bytes = listBytes(entries);
    return bytes && rewriteUnderLock(folder, kListFile, *bytes) == WriteStatus::Ok;
}

WriteResult clearSituationList(const std::filesystem::path& folder) {
    WriteResult result;
    result.status = rewriteUnderLock(folder, kListFile, "");
    if (result.written()) result.stamp = FileStamp::of("");
    return result;
}

RenameOutcome renameSituation(const std::filesystem::path& folder, int slot,
                              const std::string& oldText, const std::string& newText,
                              const FileStamp& shownList) {
    RenameOutcome outcome;
    auto stop = [&outcome](WriteStatus status, std::string unreadFile = {}) {
        outcome.status = status;
        outcome.unreadFile = std::move(unreadFile);
        return outcome;
    };
    if (!isStorableText(newText)) return stop(WriteStatus::Refused);
    const FolderLock lock(folder);
    if (!lock.held()) return stop(lock.failure());

    // Each file is read once: a second read could fail where the first did not, and only
    // what was read completely may be written back.
    const std::string logName = logFileName(slot);
    const FileBytes logFile = readFileBytes(folder, logName);
    const auto unreadable = [](const FileBytes& file) {
        return file.status == ReadStatus::Unusable ? WriteStatus::Unusable
                                                   : WriteStatus::ReadFailed;
    };
    if (logFile.failed()) return stop(unreadable(logFile), logName);
    const FileBytes listFile = readFileBytes(folder, kListFile);
    if (listFile.failed()) return stop(unreadable(listFile), kListFile);
    // The entry picked is one of the list the screen shows: not of another list.
    if (!stillHolds(shownList, listFile.stamp)) return stop(WriteStatus::Stale, kListFile);

    // Both new contents, encoded, before either file changes.
    std::string listText;
    for (const auto& entry : parseEntries(fromCp932(listFile.bytes)))
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

    if (logBytes && !keepTornLogBeforeRewrite(folder, slot, logFile.bytes))
        return stop(WriteStatus::WriteFailed);
    const auto name = [&folder](const std::string& file) {
        return resolveFile(folder, file).filename().string();
    };
    std::vector<FileStep> steps;
    if (logBytes)
        steps.push_back(FileStep::replace(name(logName), *logBytes, "データＣＨＧ.txt", logFile));
    steps.push_back(
        FileStep::replace(name(kListFile), *listBytes, "状況リストＣＨＧ.txt", listFile));
    const ChangeOutcome changed =
        changeFiles(folder, "状況の変更（" + oldText + " → " + newText + "）", steps);
    outcome.pending = changed.pending;
    if (isWritten(changed.status)) outcome.listStamp = FileStamp::of(*listBytes);
    return stop(changed.status, changed.file);
}

}  // namespace pairly::store
