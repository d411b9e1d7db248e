#pragma once
// A change of two or more files that ends all new or all old, also when the program is
// killed or the power fails half way: every new file is first written completely under a
// temporary name, then the intent file "書き換え途中.txt" names the renames still to do,
// then the files take their names and the intent file goes. A start-up that finds the
// intent file carries it out to the end before anything is read.
//
// The intent file is CP932 text in the write form, one step a line, closed by a line with
// the count of the lines before it and a hash of their bytes, so that a torn intent file
// is known as one (its renames had not begun: it is dropped with the new files):
//   "書き換え途中","新規スタート（一人目の登録）","完了させる"
//   "置き換え","データ1.txt.new","データ1.txt",64,"3f1c…"    temporary file -> its name
//   "移動","連続体重.txt","連続体重bak.txt",42,"9a07…"       a file kept under a new name
//   "削除","データ1.txt.new",64,"3f1c…"                      removed if it holds these bytes
//   "終わり",3,"5be0…"
// The size and hash after a step are the bytes the file holds once the step is done, so a
// step whose source is gone is known as done only when its target holds them.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/disk/data_folder.h"

namespace pairly::disk {

inline constexpr char kIntentFile[] = "書き換え途中.txt";

// One file of a change.
struct FileStep {
    std::string target;  // the name the file has at the end (spelt as on disk)
    // A replacement: the new content, written to `temp` first.
    std::string bytes;
    std::string temp;
    // A move (when not empty): this existing file takes the name `target`.
    std::string from;
    // What the target held when the operation read it (Missing when it did not exist):
    // another content by the time of the renames refuses the change (Stale). For a
    // replacement of an existing file, its bytes, put back should the change fail half way.
    FileStamp expected;
    std::string oldBytes;

    // The target gets `bytes` through `temp`; `old` is the target as the operation read it.
    static FileStep replace(std::string target, std::string bytes, std::string temp,
                            const FileBytes& old);
    // A file that does not exist yet.
    static FileStep create(std::string target, std::string bytes, std::string temp);
    // The file `from`, whose bytes were read as `fromBytes`, is kept as `to` (a free name).
    static FileStep move(std::string from, std::string to, std::string_view fromBytes);
};

// What the next start will do with a change that stopped half way.
enum class PendingChange { None, Completion, Undo };

struct ChangeOutcome {
    // Ok or Unsynced (all new); Stale, ReadFailed, WriteFailed (all old, unless pending).
    WriteStatus status = WriteStatus::Ok;
    std::string file;  // Stale or ReadFailed: the file
    // WriteFailed after the renames had begun and could not all be taken back: the intent
    // file stays, and the next start finishes the change (or its undoing).
    PendingChange pending = PendingChange::None;
};

// Makes the change named `change` (the words the start-up message uses for it). A rename
// that fails half way takes the renamed files back to their old bytes. While an intent
// file of another change is still there, nothing is done (WriteFailed, pending).
ChangeOutcome changeFiles(const std::filesystem::path& folder, std::string_view change,
                          const std::vector<FileStep>& steps);

// The intent file, read and written.
struct IntentStep {
    enum class Kind { Replace, Move, Remove };
    Kind kind = Kind::Replace;
    std::string from;  // Replace and Move: the source
    std::string to;    // Replace and Move: the name it takes; Remove: the file removed
    FileStamp stamp;   // the bytes `to` holds once the step is done (Remove: before it)
    bool operator==(const IntentStep&) const = default;
};
struct Intent {
    std::string change;
    bool undo = false;  // takes a change back to the old files
    std::vector<IntentStep> steps;
    bool operator==(const Intent&) const = default;
};
// nullopt when a name or the change has no CP932 form.
std::optional<std::string> intentFileBytes(const Intent& intent);
// nullopt when the bytes are no whole intent file (torn, or not one at all).
std::optional<Intent> parseIntentFile(std::string_view bytes);
// The change named by a torn intent file's first line, when that line is whole.
std::string changeNamedIn(std::string_view tornBytes);

// What a start-up did with an intent file it found.
struct Recovery {
    enum class Result {
        Completed,  // the remaining renames were made: every file is new
        Undone,     // a change being taken back was taken back: every file is old
        NotBegun,   // the renames had not begun (a torn intent file): every file is old
        Failed,     // the steps could not be carried out; the intent file stays
    };
    Result result = Result::Completed;
    std::string change;  // empty when the intent file did not say
};
// Carries out an intent file, when there is one; then, when none is left, removes the
// temporary files a crash may have left (isProgramTemporary in the data folder,
// isBackupTemporary in バックアップ/).
std::optional<Recovery> finishInterruptedChange(const std::filesystem::path& folder);

struct RecoveryNotice {
    std::string text, title;
    bool warning = false;
};
RecoveryNotice recoveryNotice(const Recovery& recovery);

// A name the program gives a file of its own in the data folder: a data file, the intent
// file, the copies an import of predecessor data keeps ("データbak.txt", "連続体重bak2.txt").
bool isProgramFileName(std::string_view name);
// The program's own temporary names, and nothing else: a name the program writes before it
// takes the name of one of its files ("データ1.txt.tmp", "データコピー.txt", …).
bool isProgramTemporary(std::string_view name);
// The same for the copies kept in バックアップ/ ("データ1_20261207_070509.txt.tmp").
bool isBackupTemporary(std::string_view name);
// Removes such files left by a crash; the names removed ("バックアップ/…" for that folder).
std::vector<std::string> removeLeftoverTemporaries(const std::filesystem::path& folder);

}  // namespace pairly::disk
