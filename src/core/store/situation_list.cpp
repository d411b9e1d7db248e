#include "core/store/situation_list.h"

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/disk/folder_lock.h"
#include "core/store/measurement_log.h"

namespace pairly::store {

namespace {

constexpr const char* kListFile = "状況リスト.txt";

std::vector<std::string> parseEntries(const std::string& content) {
    std::vector<std::string> entries;
    disk::FieldReader reader(content);
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
    return needsQuotes ? disk::writeLine({disk::quoted(entry)}) : disk::printFormText(entry);
}

}  // namespace

const std::vector<std::string>& defaultSituations() {
    static const std::vector<std::string> list = {"起床後", "朝食前", "朝食後", "昼食前",
                                                  "昼食後", "夕食前", "夕食後", "入浴前",
                                                  "入浴後", "就寝前", "運動後"};
    return list;
}

LoadedSituations loadSituations(const std::filesystem::path& folder) {
    const disk::FileText file = disk::readFile(folder, kListFile);
    return {parseEntries(file.text), file.status, file.stamp};
}

std::vector<std::string> loadSituationList(const std::filesystem::path& folder) {
    return loadSituations(folder).entries;
}

std::optional<std::string> situationListBytes(const std::vector<std::string>& entries) {
    std::string content;
    for (const auto& e : entries) {
        if (!disk::isStorableText(e)) return std::nullopt;
        content += entryLine(e);
    }
    return disk::toCp932(content);
}

disk::WriteStatus ensureSituationList(const std::filesystem::path& folder) {
    // Only a file that is not there is a first run; one that cannot be read is kept, and
    // so is one another window has just made.
    if (disk::readFileBytes(folder, kListFile).status != disk::ReadStatus::Missing)
        return disk::WriteStatus::Ok;
    const disk::WriteResult result =
        rewriteSituationList(folder, defaultSituations(), disk::FileStamp::missing());
    switch (result.status) {
        case disk::WriteStatus::Ok:
        case disk::WriteStatus::Stale:
            return disk::WriteStatus::Ok;
        case disk::WriteStatus::Unsynced:
            return disk::WriteStatus::Unsynced;
        default:
            return disk::WriteStatus::WriteFailed;
    }
}

bool appendSituationBare(const std::filesystem::path& folder, const std::string& entry,
                         disk::AppendStamps* stamps) {
    if (!disk::isStorableText(entry)) return false;
    return disk::appendText(folder, kListFile, entryLine(entry), stamps) == disk::WriteStatus::Ok;
}

bool appendSituationQuoted(const std::filesystem::path& folder, const std::string& entry,
                           disk::AppendStamps* stamps) {
    if (!disk::isStorableText(entry)) return false;
    return disk::appendText(folder, kListFile, disk::writeLine({disk::quoted(entry)}), stamps) ==
           disk::WriteStatus::Ok;
}

disk::WriteResult rewriteSituationList(const std::filesystem::path& folder,
                                       const std::vector<std::string>& entries,
                                       const disk::FileStamp& shown) {
    const auto bytes = situationListBytes(entries);
    if (!bytes) return {disk::WriteStatus::Refused, {}};
    return disk::rewriteIfUnchanged(folder, kListFile, *bytes, shown);
}

disk::WriteResult clearSituationList(const std::filesystem::path& folder) {
    disk::WriteResult result;
    result.status = disk::rewriteUnderLock(folder, kListFile, "");
    if (result.written()) result.stamp = disk::FileStamp::of("");
    return result;
}

RenameOutcome renameSituation(const std::filesystem::path& folder, int slot,
                              const std::string& oldText, const std::string& newText,
                              const disk::FileStamp& shownList) {
    RenameOutcome outcome;
    auto stop = [&outcome](disk::WriteStatus status, std::string unreadFile = {}) {
        outcome.status = status;
        outcome.unreadFile = std::move(unreadFile);
        return outcome;
    };
    if (!disk::isStorableText(newText)) return stop(disk::WriteStatus::Refused);
    const disk::FolderLock lock(folder);
    if (!lock.held()) return stop(lock.failure());

    // Each file is read once: a second read could fail where the first did not, and only
    // what was read completely may be written back.
    const std::string logName = logFileName(slot);
    const disk::FileBytes logFile = disk::readFileBytes(folder, logName);
    const auto unreadable = [](const disk::FileBytes& file) {
        return file.status == disk::ReadStatus::Unusable ? disk::WriteStatus::Unusable
                                                         : disk::WriteStatus::ReadFailed;
    };
    if (logFile.failed()) return stop(unreadable(logFile), logName);
    const disk::FileBytes listFile = disk::readFileBytes(folder, kListFile);
    if (listFile.failed()) return stop(unreadable(listFile), kListFile);
    // The entry picked is one of the list the screen shows: not of another list.
    if (!disk::stillHolds(shownList, listFile.stamp))
        return stop(disk::WriteStatus::Stale, kListFile);

    // Both new contents, encoded, before either file changes.
    std::string listText;
    for (const auto& entry : parseEntries(disk::fromCp932(listFile.bytes)))
        listText += disk::writeLine({disk::quoted(entry == oldText ? newText : entry)});
    const std::optional<std::string> listBytes = disk::toCp932(listText);
    if (!listBytes) return stop(disk::WriteStatus::Refused);
    std::optional<std::string> logBytes;
    if (logFile.status == disk::ReadStatus::Ok) {
        if (isOldLayoutLog(slot, logFile.bytes)) return stop(disk::WriteStatus::OldLayout);
        LoadedLog log = parseLog(logFile.bytes);
        for (auto& r : log.records) {
            if (r.situation == oldText) r.situation = newText;
            if (!isStorableRecord(r)) return stop(disk::WriteStatus::Refused);
        }
        logBytes = store::logBytes(log);
        if (!logBytes) return stop(disk::WriteStatus::Refused);
    }

    if (logBytes && !keepTornLogBeforeRewrite(folder, slot, logFile.bytes))
        return stop(disk::WriteStatus::WriteFailed);
    const auto name = [&folder](const std::string& file) {
        return disk::resolveFile(folder, file).filename().string();
    };
    std::vector<disk::FileStep> steps;
    if (logBytes)
        steps.push_back(
            disk::FileStep::replace(name(logName), *logBytes, "データＣＨＧ.txt", logFile));
    steps.push_back(
        disk::FileStep::replace(name(kListFile), *listBytes, "状況リストＣＨＧ.txt", listFile));
    const disk::ChangeOutcome changed =
        changeFiles(folder, "状況の変更（" + oldText + " → " + newText + "）", steps);
    outcome.pending = changed.pending;
    if (disk::isWritten(changed.status)) outcome.listStamp = disk::FileStamp::of(*listBytes);
    return stop(changed.status, changed.file);
}

}  // namespace pairly::store
