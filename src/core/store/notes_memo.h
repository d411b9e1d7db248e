#pragma once
// The free notes memo "気付きメモ.txt", one for both partners.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/disk/data_folder.h"

namespace pairly::store {

inline constexpr const char* kMemoFileName = "気付きメモ.txt";

// The memo as read. Line breaks are "\n"; a missing file is an empty memo (not a failure).
struct MemoText {
    std::string text;
    disk::ReadStatus status = disk::ReadStatus::Missing;
    disk::FileStamp stamp;  // of the bytes the text came from
    bool failed() const { return disk::isReadFailure(status); }
};

// The file's lines joined by "\n", without the one line end that closes the last line, so
// that a saved text reads back as it was typed, empty lines inside and at its end included.
// CR LF, a lone CR and a lone LF each end a line.
std::string memoFromFileText(std::string_view content);
// The text with CR LF line breaks, followed by one CR LF.
std::string memoFileText(std::string_view text);

MemoText loadMemo(const std::filesystem::path& folder);
// Rewrites the memo safely, only while the file still holds what `shown` was read from
// (Stale otherwise); Refused when a character has no CP932 form.
[[nodiscard]] disk::WriteResult saveMemo(const std::filesystem::path& folder, std::string_view text,
                                         const disk::FileStamp& shown);
// The same without the check (to lay out a folder): true when written and synced.
[[nodiscard]] bool saveMemo(const std::filesystem::path& folder, std::string_view text);

// The first character of the text that has no CP932 form, to name it in a refusal.
std::optional<std::string> firstCharWithoutCp932Form(std::string_view text);

}  // namespace pairly::store
