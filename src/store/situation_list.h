#pragma once
// The shared situation list "状況リスト.txt".
#include <filesystem>
#include <string>
#include <vector>

#include "store/data_folder.h"
#include "store/measurement_log.h"

namespace pairly::store {

// The list written on a first run.
const std::vector<std::string>& defaultSituations();

// The entries as read. On a failed read they are what could be read, to show but never to
// write back: an operation that rewrites the list from them must refuse.
struct LoadedSituations {
    std::vector<std::string> entries;
    ReadStatus status = ReadStatus::Missing;
    bool failed() const { return status == ReadStatus::Failed; }
};
LoadedSituations loadSituations(const std::filesystem::path& folder);
std::vector<std::string> loadSituationList(const std::filesystem::path& folder);

// Writes the default list when the file does not exist (not when it exists but cannot be
// read); returns false only on a write error.
[[nodiscard]] bool ensureSituationList(const std::filesystem::path& folder);
[[nodiscard]] bool appendSituationBare(const std::filesystem::path& folder,
                                       const std::string& entry);
[[nodiscard]] bool appendSituationQuoted(const std::filesystem::path& folder,
                                         const std::string& entry);
// Whole list, one bare line each (an empty list gives an empty file).
[[nodiscard]] bool rewriteSituationList(const std::filesystem::path& folder,
                                        const std::vector<std::string>& entries);

struct RenameOutcome {
    WriteStatus status = WriteStatus::Ok;
    // ReadFailed: the file that could not be read.
    std::string unreadFile;
    // WriteFailed after the log was already renamed, and putting its old bytes back
    // failed too: the log is renamed and the list is not.
    bool logLeftRenamed = false;
    bool ok() const { return status == WriteStatus::Ok; }
};
// Replaces oldText by newText in the slot's log (through "データＣＨＧ.txt") and in the
// list (through "状況リストＣＨＧ.txt", entries quoted). Both files end renamed, or both
// as they were: both new contents are made before either file changes, and when the list
// cannot be written after the log was, the log's old bytes are put back. A log that
// does not exist stays so.
[[nodiscard]] RenameOutcome renameSituation(const std::filesystem::path& folder, int slot,
                                            const std::string& oldText, const std::string& newText);

}  // namespace pairly::store
