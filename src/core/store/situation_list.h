#pragma once
// The shared situation list "状況リスト.txt".
#include <filesystem>
#include <string>
#include <vector>

#include "core/disk/change_set.h"
#include "core/disk/data_folder.h"
#include "core/store/measurement_log.h"

namespace pairly::store {

// The list written on a first run.
const std::vector<std::string>& defaultSituations();

// The entries as read. On a failed read they are what could be read, to show but never to
// write back: an operation that rewrites the list from them must refuse.
struct LoadedSituations {
    std::vector<std::string> entries;
    disk::ReadStatus status = disk::ReadStatus::Missing;
    disk::FileStamp stamp;  // of the bytes the entries came from
    bool failed() const { return disk::isReadFailure(status); }
};
LoadedSituations loadSituations(const std::filesystem::path& folder);
std::vector<std::string> loadSituationList(const std::filesystem::path& folder);

// Writes the default list when the file does not exist (not when it exists but cannot be
// read, nor when another window made it meanwhile): Ok, Unsynced or WriteFailed.
[[nodiscard]] disk::WriteStatus ensureSituationList(const std::filesystem::path& folder);
// Appends one entry. With `stamps`, the list's stamp before and after (on success).
[[nodiscard]] bool appendSituationBare(const std::filesystem::path& folder,
                                       const std::string& entry,
                                       disk::AppendStamps* stamps = nullptr);
[[nodiscard]] bool appendSituationQuoted(const std::filesystem::path& folder,
                                         const std::string& entry,
                                         disk::AppendStamps* stamps = nullptr);
// Whole list, one bare line each (an empty list gives an empty file), only while the file
// still holds what `shown` was read from (Stale otherwise).
[[nodiscard]] disk::WriteResult rewriteSituationList(const std::filesystem::path& folder,
                                                     const std::vector<std::string>& entries,
                                                     const disk::FileStamp& shown);
// The file's CP932 bytes; nullopt when an entry cannot be stored.
std::optional<std::string> situationListBytes(const std::vector<std::string>& entries);
// An empty list, whatever the file held: Ok, Unsynced or WriteFailed.
[[nodiscard]] disk::WriteResult clearSituationList(const std::filesystem::path& folder);

struct RenameOutcome {
    disk::WriteStatus status = disk::WriteStatus::Ok;
    // ReadFailed or Stale: the file that could not be read, or that changed.
    std::string unreadFile;
    // WriteFailed half way, when the renamed file could not be taken back: the next start
    // completes the change (or takes it back).
    disk::PendingChange pending = disk::PendingChange::None;
    disk::FileStamp listStamp;  // when written: the list's new stamp
    bool ok() const { return status == disk::WriteStatus::Ok; }
};
// Replaces oldText by newText in the slot's log (through "データＣＨＧ.txt") and in the
// list (through "状況リストＣＨＧ.txt", entries quoted), as one change of two files: both
// end renamed or both as they were, also after a crash (see change_set.h). Refused
// (Stale) when the list no longer holds what `shownList` was read from. A log that does not
// exist stays so.
[[nodiscard]] RenameOutcome renameSituation(const std::filesystem::path& folder, int slot,
                                            const std::string& oldText, const std::string& newText,
                                            const disk::FileStamp& shownList);

}  // namespace pairly::store
