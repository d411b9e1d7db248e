#pragma once
// The data folder: case-insensitive names, appends and the one safe whole-file rewrite.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::store {

namespace fs = std::filesystem;

// The existing file of this name ignoring the case of Latin letters; when none exists,
// the name spelt with a lower-case extension ("データ1.TXT" -> "データ1.txt"). When the
// folder cannot be looked at, the name as given, so that opening it reports the error.
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

// What became of a write. Refused: the new content cannot be stored (nothing written).
// ReadFailed: an operation that rewrites a file from its old content could not read that
// content, and wrote nothing. WriteFailed: the write failed and the file is as it was.
// OldLayout: partner 1's log is still in the predecessor's layout, which is converted at
// start-up and never written before (nothing written).
enum class WriteStatus { Ok, Refused, ReadFailed, WriteFailed, OldLayout };

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
// The same with content that is already CP932 bytes.
[[nodiscard]] bool safeRewriteBytes(const fs::path& folder, std::string_view name,
                                    std::string_view bytes, std::string_view tempName = "");

// Writes bytes as the whole file `name` (every byte checked, fsync, close); on a failure
// the file is removed again. For a file that takes another one's name afterwards.
[[nodiscard]] bool writeWholeFile(const fs::path& folder, std::string_view name,
                                  std::string_view bytes);
// Gives the file `from` the name `to` (both spelt as on disk) and syncs the folder.
[[nodiscard]] bool renameFile(const fs::path& folder, std::string_view from, std::string_view to);
// Clean-up after a failed operation. Not through the fault seam: undoing a step must not
// itself be made to fail.
void removeFile(const fs::path& folder, std::string_view name);
void undoRename(const fs::path& folder, std::string_view from, std::string_view to);

// The one subfolder of the data folder, where copies of replaced or mended files are kept.
// The program never removes anything from it.
inline constexpr char kBackupFolder[] = "バックアップ";
// `name`, or the name with "_2", "_3" … before its extension: one no file in `dir` has.
std::string freeFileName(const fs::path& dir, std::string_view name);
// Copies `bytes` into バックアップ/ (made when missing) under a free name made from
// `name`; the name it took, or nullopt when the copy could not be made whole.
std::optional<std::string> keepInBackupFolder(const fs::path& folder, std::string_view name,
                                              std::string_view bytes);

// Appends utf8Line (encoded, one write call, fsync). A torn last line (no final CR LF)
// is ended first so the new line never merges with it (a quote the tear left open is
// closed). On failure a partial line is cut off again and false is returned.
[[nodiscard]] bool appendText(const fs::path& folder, std::string_view name,
                              std::string_view utf8Line);

}  // namespace pairly::store
