#pragma once
// The data folder: case-insensitive names, appends and the one safe whole-file rewrite.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::store {

namespace fs = std::filesystem;

// The existing file of this name ignoring the case of Latin letters; when none exists,
// the name spelt with a lower-case extension ("データ1.TXT" -> "データ1.txt").
fs::path resolveFile(const fs::path& folder, std::string_view name);
bool fileExists(const fs::path& folder, std::string_view name);

// How a read went: a file that does not exist is a first run (Missing, empty text); any
// other error of open, read or close, or a name that is not a regular file, is Failed,
// and the text then holds what could be read, if anything.
enum class ReadStatus { Ok, Missing, Failed };

struct FileText {
    ReadStatus status = ReadStatus::Missing;
    std::string text;  // decoded from CP932
    bool failed() const { return status == ReadStatus::Failed; }
};

// The same as raw bytes, for an operation that may have to put them back exactly
// (decoding and encoding again does not give every CP932 byte sequence back).
struct FileBytes {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    bool failed() const { return status == ReadStatus::Failed; }
};

// Whole content decoded from CP932. Never throws.
FileText readFile(const fs::path& folder, std::string_view name);
FileBytes readFileBytes(const fs::path& folder, std::string_view name);
// The content when it could be read completely; nullopt when missing or failed.
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

}  // namespace pairly::store
