#pragma once
// The messages every screen gives about a write that did not simply go through: a file that
// another window (or the other PC of a synchronised folder) changed since it was read, and
// a change the disk would not confirm.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/disk/data_folder.h"

namespace pairly::disk {

struct FileNotice {
    std::string text, title;
    bool operator==(const FileNotice&) const = default;
};

// What every message about a failed write advises (its full stop is the caller's).
inline constexpr std::string_view kWriteFailedAdvice =
    "ディスクの空き容量と書き込みの権限を確認してください";

// A file read only in part: the screens show what was read. `why` adds a sentence of the
// caller's after the first line.
FileNotice partlyReadNotice(std::string_view fileName, std::string_view why = {});

// Nothing was written and the screen reads the file again. `textKept`: the text that was
// being typed has been put on the clipboard, so that it is not lost with the reread.
FileNotice staleFileNotice(std::string_view fileName, bool textKept = false);
// The change is in the file, but a failed fsync leaves it open whether it survives a power
// cut.
FileNotice unsyncedNotice(std::string_view fileName);
// Nothing was written because another program held the data folder (Busy) or because the
// file is a link or no regular file (Unusable, named with its reason); nullopt for any
// other status.
// The data files (and バックアップ/ with what is in it) that the program will not use: links,
// names that are no regular file, files past the size bound. One notice for start-up, or
// nullopt when every one is usable.
std::optional<FileNotice> unusableFilesNotice(const std::filesystem::path& folder);
std::optional<FileNotice> blockedWriteNotice(const std::filesystem::path& folder,
                                             WriteStatus status, std::string_view fileName);

}  // namespace pairly::disk
