#pragma once
// The data folder: case-insensitive names, appends and the one safe whole-file rewrite.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pairly::disk {

namespace fs = std::filesystem;

// The existing file of this name ignoring the case of Latin letters; when none exists,
// the name spelt with a lower-case extension ("データ1.TXT" -> "データ1.txt"). When the
// folder cannot be looked at, the name as given, so that opening it reports the error.
fs::path resolveFile(const fs::path& folder, std::string_view name);
// Something other than a folder has the name: a file, or a link or anything else that the
// program will not use.
bool fileExists(const fs::path& folder, std::string_view name);

// How a read went: a file that does not exist is a first run (Missing, empty text); any
// other error of open, read or close is Failed, and the text then holds what could be
// read, if anything. A name that is not to be read at all (a link, a FIFO, a file past the
// size bound: see FileProblem) is Unusable and gives no text; it is never written either.
enum class ReadStatus { Ok, Missing, Failed, Unusable };
// Failed or Unusable: not to be written back from what was read.
inline bool isReadFailure(ReadStatus status) {
    return status == ReadStatus::Failed || status == ReadStatus::Unusable;
}

// Why a name is Unusable. A symbolic link may lead anywhere (a synchronised folder can bring
// one from another machine), so the program never reads or writes through one; a FIFO or a
// device would block or never end; a size is bounded by the bytes actually read, since
// some files report none.
enum class FileProblem { None, Link, NotRegular, TooLarge, LineTooLong };
// The most bytes read of one file: a data file, or a file brought in from outside.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
// The longest line of a file brought in from outside.
inline constexpr std::size_t kMaxImportLineBytes = std::size_t{64} << 10;
struct ReadLimits {
    std::size_t maxBytes = kMaxFileBytes;
    std::size_t maxLineBytes = 0;  // 0: lines are not bounded
};
// "データ1.txt はリンクなので使いません。" and the like; `line` names the line too long.
std::string fileProblemText(std::string_view name, FileProblem problem, std::size_t line = 0);

// A 64-bit hash of the bytes (XXH64 of the xxHash library, seed 0): two contents that differ
// give different hashes but for a chance of one in 2^64.
std::uint64_t hashBytes(std::string_view bytes);

// Which bytes a file held when it was read: their size and hash, or that the file did not
// exist. A screen keeps the stamp of what it shows, and a change that rewrites the file from
// that data passes it back, so that a file changed meanwhile by another window (or by the
// other PC of a synchronised folder) is not overwritten. A read that failed gives an
// unknown stamp, which no file matches.
struct FileStamp {
    enum class State : std::uint8_t { Unknown, Missing, Present };
    State state = State::Unknown;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    static FileStamp of(std::string_view bytes) {
        return {State::Present, bytes.size(), hashBytes(bytes)};
    }
    static FileStamp missing() { return {State::Missing, 0, 0}; }
    bool operator==(const FileStamp&) const = default;
};
// The file (stamped `now`) still holds what `shown` was read from.
inline bool stillHolds(const FileStamp& shown, const FileStamp& now) {
    return shown.state != FileStamp::State::Unknown && shown == now;
}

struct FileText {
    ReadStatus status = ReadStatus::Missing;
    std::string text;  // decoded from CP932
    FileStamp stamp;
    FileProblem problem = FileProblem::None;
    bool failed() const { return isReadFailure(status); }
};

// The same as raw bytes, for an operation that may have to put them back exactly
// (decoding and encoding again does not give every CP932 byte sequence back).
struct FileBytes {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    FileStamp stamp;
    FileProblem problem = FileProblem::None;  // when Unusable
    std::size_t longLine = 0;                 // LineTooLong: its number (1, 2, …)
    bool failed() const { return isReadFailure(status); }
};

// What became of a write. Refused: the new content cannot be stored (nothing written).
// ReadFailed: an operation that rewrites a file from its old content could not read that
// content, and wrote nothing. WriteFailed: the write failed and the file is as it was.
// Stale: the file no longer holds the bytes the data came from (changed in another window
// or on another PC); nothing written. Unsynced: the new content is in place, but the disk
// refused to confirm it (a failed fsync of the folder), so a power cut may still lose it:
// a failure to tell, with the change made. OldLayout: partner 1's log is still in the
// predecessor's layout, which is converted at start-up and never written before (nothing
// written). Busy: another program held the data folder's lock for longer than the wait
// (nothing written). Unusable: the file is a link or no regular file (nothing written).
enum class WriteStatus {
    Ok,
    Refused,
    ReadFailed,
    WriteFailed,
    Stale,
    Unsynced,
    OldLayout,
    Busy,
    Unusable
};
// The new content is in place (Ok or Unsynced).
inline bool isWritten(WriteStatus status) {
    return status == WriteStatus::Ok || status == WriteStatus::Unsynced;
}

// A write with the stamp of what the file holds afterwards, for the screen's next change.
struct WriteResult {
    WriteStatus status = WriteStatus::Ok;
    FileStamp stamp;  // when written
    bool written() const { return isWritten(status); }
};

// Whole content decoded from CP932. Never throws. The name is opened without following a
// link and without waiting (a FIFO never blocks), and only a regular file is read, at most
// limits.maxBytes of it.
FileText readFile(const fs::path& folder, std::string_view name);
FileBytes readFileBytes(const fs::path& folder, std::string_view name,
                        const ReadLimits& limits = {});
// Why `name` in `folder` is not to be used (a link, no regular file, a size past the
// bound), without reading it; None when it is a usable regular file or missing.
FileProblem fileProblemOf(const fs::path& folder, std::string_view name);
// The content when it could be read completely; nullopt when missing or failed.
std::optional<std::string> readTextFile(const fs::path& folder, std::string_view name);

// Writes `bytes` to tempName, checks every byte, fsyncs and closes it, renames it over
// `name` and fsyncs the folder. Before the rename, when `expected` is given, the file must
// still hold the bytes of that stamp (Stale otherwise; ReadFailed when it cannot be read).
// On any failure before the rename the temporary file is removed and the old file is
// untouched; a failed fsync of the folder after it gives Unsynced. The old file is never
// deleted first. An empty tempName means `name` + ".tmp"; both names are resolved like
// every other name. A target that is a link or no regular file is not replaced
// (Unusable). The caller holds the folder's lock where the folder is a data folder.
[[nodiscard]] WriteStatus rewriteFile(const fs::path& folder, std::string_view name,
                                      std::string_view bytes, std::string_view tempName = "",
                                      const FileStamp* expected = nullptr);
// rewriteFile under the folder's lock.
[[nodiscard]] WriteStatus rewriteUnderLock(const fs::path& folder, std::string_view name,
                                           std::string_view bytes, std::string_view tempName = "");
// rewriteFile, under the folder's lock, only while the file still holds what `shown` was read from,
// with the stamp of the new content.
[[nodiscard]] WriteResult rewriteIfUnchanged(const fs::path& folder, std::string_view name,
                                             std::string_view bytes, const FileStamp& shown,
                                             std::string_view tempName = "");
// rewriteFile of utf8Content encoded to CP932 (Refused when it has no CP932 form).
[[nodiscard]] WriteStatus rewriteText(const fs::path& folder, std::string_view name,
                                      std::string_view utf8Content, std::string_view tempName = "");
// For writers that only need to know that all went well (tools and tests that lay out a
// folder): true when rewriteFile gave Ok.
[[nodiscard]] bool safeRewrite(const fs::path& folder, std::string_view name,
                               std::string_view utf8Content, std::string_view tempName = "");

// Writes bytes as the whole new file `name` (every byte checked, fsync, close); on a failure
// the file is removed again. For a file that takes another one's name afterwards. Whatever
// has the name already (a leftover, a link) is removed first, and the file is created anew,
// so that no existing file is ever opened for writing.
[[nodiscard]] bool writeWholeFile(const fs::path& folder, std::string_view name,
                                  std::string_view bytes);
// Clean-up after a failed operation. Not through the fault seam: undoing a step must not
// itself be made to fail.
void removeFile(const fs::path& folder, std::string_view name);

// Every file the program keeps in the data folder, spelt as it makes them.
inline constexpr const char* kDataFileNames[] = {
    "データ1.txt",    "データ2.txt",    "ﾌﾟﾗｲﾍﾞｰﾄ1.txt", "ﾌﾟﾗｲﾍﾞｰﾄ2.txt",
    "状況リスト.txt", "気付きメモ.txt", "設定.txt",      "体重計刻み.txt",
    "移動平均.txt",   "自動時間.txt",   "マーカー.txt",  "状況自動.txt",
};

// The one subfolder of the data folder, where copies of replaced or mended files are kept.
// The program never removes anything from it.
inline constexpr char kBackupFolder[] = "バックアップ";
// `name`, or the name with "_2", "_3" … before its extension: one no file in `dir` has.
std::string freeFileName(const fs::path& dir, std::string_view name);
// Copies `bytes` into バックアップ/ (made when missing) under a free name made from
// `name`; the name it took, or nullopt when the copy could not be made whole.
std::optional<std::string> keepInBackupFolder(const fs::path& folder, std::string_view name,
                                              std::string_view bytes);

// The file's stamp before an append and after it.
struct AppendStamps {
    FileStamp before, after;
};
// Appends utf8Line (encoded, one write call, fsync) under the folder's lock. A torn last
// line (no final CR LF) is ended first so the new line never merges with it (a quote the
// tear left open is closed). On failure a partial line is cut off again (a file the append
// made is removed). Refused when the line has no CP932 form; Unusable for a link or no
// regular file. With `stamps`, they are filled in on success. With `expected`, the file
// must still hold the bytes of that stamp when it is opened to append (Stale otherwise,
// nothing written).
[[nodiscard]] WriteStatus appendText(const fs::path& folder, std::string_view name,
                                     std::string_view utf8Line, AppendStamps* stamps = nullptr,
                                     const FileStamp* expected = nullptr);

}  // namespace pairly::disk
