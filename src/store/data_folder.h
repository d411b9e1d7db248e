#pragma once
// The data folder: case-insensitive names, appends and the one safe whole-file rewrite.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::store {

namespace fs = std::filesystem;

// The existing file of this name ignoring the case of Latin letters; when none exists,
// the name spelt with a lower-case extension ("データ1.TXT" -> "データ1.txt").
fs::path resolveFile(const fs::path& folder, std::string_view name);
bool fileExists(const fs::path& folder, std::string_view name);

// Whole content decoded from CP932; nullopt when the file does not exist or cannot be read.
std::optional<std::string> readTextFile(const fs::path& folder, std::string_view name);

// Writes utf8Content (encoded to CP932) to tempName, checks every byte, fsyncs and closes
// it, renames it over `name` and fsyncs the folder. On any failure the temporary file is
// removed, the old file is untouched and false is returned; a content with no CP932 form
// is refused before anything is written. The old file is never deleted first. An empty
// tempName means `name` + ".tmp"; both names are resolved like every other name.
[[nodiscard]] bool safeRewrite(const fs::path& folder, std::string_view name,
                               std::string_view utf8Content, std::string_view tempName = "");

// Appends utf8Line (encoded, one write call, fsync). A torn last line (no final CR LF)
// is ended first so the new line never merges with it (a quote the tear left open is
// closed). On failure a partial line is cut off again and false is returned.
[[nodiscard]] bool appendText(const fs::path& folder, std::string_view name,
                              std::string_view utf8Line);

// Test hook: when set, every write of the rewrite and append paths goes through it; it
// returns how many bytes it lets through (fewer than asked simulates a failed write).
using WriteHook = std::function<long(int fd, const char* data, std::size_t size)>;
void setWriteHookForTests(WriteHook hook);

}  // namespace pairly::store
