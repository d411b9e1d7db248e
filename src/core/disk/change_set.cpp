#include "core/disk/change_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <regex>
#include <system_error>

#include "core/disk/codec.h"
#include "core/disk/fields.h"
#include "core/disk/file_ops.h"
#include "core/disk/folder_lock.h"

namespace pairly::disk {

namespace fs = std::filesystem;

namespace {

constexpr char kHeader[] = "書き換え途中";
constexpr char kForward[] = "完了させる";
constexpr char kBackward[] = "元に戻す";
constexpr char kReplaceWord[] = "置き換え";
constexpr char kMoveWord[] = "移動";
constexpr char kRemoveWord[] = "削除";
constexpr char kEndWord[] = "終わり";
// The old bytes of a file, written again before they take its name back.
constexpr char kUndoSuffix[] = ".old";

std::string hex(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

std::optional<std::uint64_t> number(std::string_view s, int base) {
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

fs::path at(const fs::path& folder, const std::string& name) { return folder / name; }

// A name that is there (or whose state cannot be told: a rename will find out).
bool present(const fs::path& folder, const std::string& name) {
    struct stat st {};
    return ::lstat(at(folder, name).c_str(), &st) == 0 || errno != ENOENT;
}

bool holds(const fs::path& folder, const std::string& name, const FileStamp& stamp) {
    const FileBytes now = readFileBytes(folder, name);
    return !now.failed() && stillHolds(stamp, now.stamp);
}

// Once every step is made, the intent file goes (a clean-up, like every removal of a file
// the program made for itself: should it stay or come back, a start finds every step
// done). Unsynced when the disk did not confirm the steps.
WriteStatus forgetIntent(const fs::path& folder) {
    const bool synced = fileops::syncFolder(folder.c_str()) == 0;
    removeFile(folder, kIntentFile);
    return synced ? WriteStatus::Ok : WriteStatus::Unsynced;
}

// Every step still to do, done; the intent file then goes. WriteFailed when a step can be
// neither done nor found done (the intent file then stays); Unsynced when the disk did not
// confirm the steps.
WriteStatus carryOut(const fs::path& folder, const Intent& intent) {
    for (const IntentStep& s : intent.steps) {
        if (s.kind == IntentStep::Kind::Remove) {
            // Only the bytes the change made: anything else under the name is not its own.
            if (holds(folder, s.to, s.stamp) && fileops::unlink(at(folder, s.to).c_str()) != 0)
                return WriteStatus::WriteFailed;
            continue;
        }
        if (present(folder, s.from)) {
            if (fileops::rename(at(folder, s.from).c_str(), at(folder, s.to).c_str()) == 0)
                continue;
            // Another start of the program may have made this very step meanwhile.
            if (!present(folder, s.from) && holds(folder, s.to, s.stamp)) continue;
            return WriteStatus::WriteFailed;
        }
        if (!holds(folder, s.to, s.stamp)) return WriteStatus::WriteFailed;
    }
    return forgetIntent(folder);
}

// The intent file of a change that failed before its renames: gone, without going through
// the fault seam, as every clean-up. Should it come back after a power cut, its sources
// are gone too, and a start finds that the change never began.
void dropIntent(const fs::path& folder) { removeFile(folder, kIntentFile); }

// An intent file left by a change that stopped half way is finished before another change
// begins, so that two changes never mix; what is pending when it cannot be.
std::optional<PendingChange> finishLeftOver(const fs::path& folder) {
    const FileBytes file = readFileBytes(folder, kIntentFile);
    if (file.status == ReadStatus::Missing) return std::nullopt;
    if (file.failed()) return PendingChange::None;  // cannot tell: refused all the same
    const auto intent = parseIntentFile(file.bytes);
    if (!intent) return PendingChange::Completion;
    if (carryOut(folder, *intent) == WriteStatus::Ok) return std::nullopt;
    return intent->undo ? PendingChange::Undo : PendingChange::Completion;
}

// A rename failed at step k: the steps before it are taken back through an intent file of
// their own, which replaces the change's in one rename.
ChangeOutcome takeBack(const fs::path& folder, const Intent& forward,
                       const std::vector<FileStep>& steps, std::size_t k) {
    ChangeOutcome out;
    out.status = WriteStatus::WriteFailed;
    if (k == 0) {
        // Nothing renamed yet: as if the change had never begun.
        dropIntent(folder);
        for (const FileStep& s : steps)
            if (s.from.empty()) removeFile(folder, s.temp);
        return out;
    }
    Intent back{forward.change, true, {}};
    std::vector<std::string> written;
    bool ok = true;
    for (std::size_t i = 0; i < k && ok; ++i) {
        const FileStep& s = steps[i];
        if (!s.from.empty()) {
            back.steps.push_back(
                {IntentStep::Kind::Move, s.target, s.from, forward.steps[i].stamp});
        } else if (s.expected.state == FileStamp::State::Missing) {
            back.steps.push_back({IntentStep::Kind::Remove, "", s.target, FileStamp::of(s.bytes)});
        } else {
            const std::string temp = s.target + kUndoSuffix;
            ok = writeWholeFile(folder, temp, s.oldBytes);
            if (ok) written.push_back(temp);
            back.steps.push_back(
                {IntentStep::Kind::Replace, temp, s.target, FileStamp::of(s.oldBytes)});
        }
    }
    for (std::size_t i = k; i < steps.size(); ++i)
        if (steps[i].from.empty())
            back.steps.push_back(
                {IntentStep::Kind::Remove, "", steps[i].temp, FileStamp::of(steps[i].bytes)});
    ok = ok && fileops::syncFolder(folder.c_str()) == 0;
    const auto bytes = ok ? intentFileBytes(back) : std::nullopt;
    if (!bytes || !isWritten(rewriteFile(folder, kIntentFile, *bytes))) {
        // The change's own intent file is still there: the next start completes it.
        for (const auto& t : written) removeFile(folder, t);
        out.pending = PendingChange::Completion;
        return out;
    }
    if (carryOut(folder, back) == WriteStatus::WriteFailed) out.pending = PendingChange::Undo;
    return out;
}

std::vector<std::string> fieldsOfLine(std::string_view line) {
    std::vector<std::string> fields;
    FieldReader reader(line);
    while (auto f = reader.next()) fields.push_back(std::move(*f));
    return fields;
}

std::string stampFields(const FileStamp& stamp) {
    return "," + std::to_string(stamp.size) + "," + quoted(hex(stamp.hash));
}

std::optional<FileStamp> stampFrom(const std::string& size, const std::string& hash) {
    const auto s = number(size, 10);
    const auto h = hash.size() == 16 ? number(hash, 16) : std::nullopt;
    if (!s || !h) return std::nullopt;
    return FileStamp{FileStamp::State::Present, *s, *h};
}

// The lines of CP932 bytes, each without its CR LF; the last one empty when the bytes end
// with a line end.
std::vector<std::string_view> linesOf(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            return lines;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
}

bool equalIgnoringLatinCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool endsWithIgnoringCase(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() &&
           equalIgnoringLatinCase(name.substr(name.size() - suffix.size()), suffix);
}

}  // namespace

bool isProgramFileName(std::string_view name) {
    if (equalIgnoringLatinCase(name, kIntentFile)) return true;
    for (const char* n : kDataFileNames)
        if (equalIgnoringLatinCase(name, n)) return true;
    // The backups of an import, numbered when the name is taken ("データbak2.txt").
    static const std::regex kept("(データbak|連続体重bak)[0-9]*\\.[tT][xX][tT]");
    return std::regex_match(name.begin(), name.end(), kept);
}

FileStep FileStep::replace(std::string target, std::string bytes, std::string temp,
                           const FileBytes& old) {
    FileStep s;
    s.target = std::move(target);
    s.bytes = std::move(bytes);
    s.temp = std::move(temp);
    s.expected = old.stamp;
    s.oldBytes = old.bytes;
    return s;
}

FileStep FileStep::create(std::string target, std::string bytes, std::string temp) {
    FileBytes none;
    none.stamp = FileStamp::missing();
    return replace(std::move(target), std::move(bytes), std::move(temp), none);
}

FileStep FileStep::move(std::string from, std::string to, std::string_view fromBytes) {
    FileStep s;
    s.from = std::move(from);
    s.target = std::move(to);
    s.expected = FileStamp::missing();
    s.bytes = std::string(fromBytes);  // only its stamp is used: what the moved file holds
    return s;
}

std::optional<std::string> intentFileBytes(const Intent& intent) {
    std::string text = writeLine(
        {quoted(kHeader), quoted(intent.change), quoted(intent.undo ? kBackward : kForward)});
    for (const IntentStep& s : intent.steps) {
        switch (s.kind) {
            case IntentStep::Kind::Replace:
            case IntentStep::Kind::Move: {
                const char* word = s.kind == IntentStep::Kind::Move ? kMoveWord : kReplaceWord;
                text += quoted(word) + "," + quoted(s.from) + "," + quoted(s.to) +
                        stampFields(s.stamp) + "\r\n";
                break;
            }
            case IntentStep::Kind::Remove:
                text += quoted(kRemoveWord) + "," + quoted(s.to) + stampFields(s.stamp) + "\r\n";
                break;
        }
    }
    auto bytes = toCp932(text);
    if (!bytes) return std::nullopt;
    const auto end = toCp932(writeLine({quoted(kEndWord), std::to_string(intent.steps.size() + 1),
                                        quoted(hex(hashBytes(*bytes)))}));
    if (!end) return std::nullopt;
    return *bytes + *end;
}

std::optional<Intent> parseIntentFile(std::string_view bytes) {
    const std::vector<std::string_view> lines = linesOf(bytes);
    // Whole: the end line, then nothing but its line end.
    if (lines.size() < 3 || !lines.back().empty()) return std::nullopt;
    const std::string_view endLine = lines[lines.size() - 2];
    const auto end = fieldsOfLine(fromCp932(endLine));
    const std::size_t before = static_cast<std::size_t>(endLine.data() - bytes.data());
    if (end.size() != 3 || end[0] != kEndWord || end[2].size() != 16 ||
        number(end[1], 10) != lines.size() - 2 ||
        number(end[2], 16) != hashBytes(bytes.substr(0, before)))
        return std::nullopt;

    Intent intent;
    const auto header = fieldsOfLine(fromCp932(lines[0]));
    if (header.size() != 3 || header[0] != kHeader ||
        (header[2] != kForward && header[2] != kBackward))
        return std::nullopt;
    intent.change = header[1];
    intent.undo = header[2] == kBackward;
    for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
        const auto f = fieldsOfLine(fromCp932(lines[i]));
        IntentStep step;
        std::optional<FileStamp> stamp;
        if (f.size() == 5 && (f[0] == kReplaceWord || f[0] == kMoveWord)) {
            step.kind = f[0] == kMoveWord ? IntentStep::Kind::Move : IntentStep::Kind::Replace;
            step.from = f[1];
            step.to = f[2];
            stamp = stampFrom(f[3], f[4]);
        } else if (f.size() == 4 && f[0] == kRemoveWord) {
            step.kind = IntentStep::Kind::Remove;
            step.to = f[1];
            stamp = stampFrom(f[2], f[3]);
        }
        if (!stamp) return std::nullopt;
        step.stamp = *stamp;
        intent.steps.push_back(std::move(step));
    }
    return intent;
}

std::string changeNamedIn(std::string_view tornBytes) {
    const std::size_t end = tornBytes.find("\r\n");
    if (end == std::string_view::npos) return {};
    const auto header = fieldsOfLine(fromCp932(tornBytes.substr(0, end)));
    if (header.size() < 2 || header[0] != kHeader) return {};
    return header[1];
}

ChangeOutcome changeFiles(const fs::path& folder, std::string_view change,
                          const std::vector<FileStep>& steps) {
    ChangeOutcome out;
    const FolderLock lock(folder);
    if (!lock.held()) {
        out.status = lock.failure();
        return out;
    }
    // A rename over a link would put a plain file in its place.
    for (const FileStep& s : steps) {
        if (fileProblemOf(folder, s.target) != FileProblem::None) {
            out.status = WriteStatus::Unusable;
            out.file = s.target;
            return out;
        }
    }
    if (const auto pending = finishLeftOver(folder)) {
        out.status = WriteStatus::WriteFailed;
        out.pending = *pending;
        return out;
    }
    std::vector<std::string> written;
    const auto fail = [&](WriteStatus status, std::string file = {}) {
        for (const auto& t : written) removeFile(folder, t);
        out.status = status;
        out.file = std::move(file);
        return out;
    };
    Intent intent{std::string(change), false, {}};
    for (const FileStep& s : steps) {
        if (!s.from.empty()) {
            intent.steps.push_back(
                {IntentStep::Kind::Move, s.from, s.target, FileStamp::of(s.bytes)});
            continue;
        }
        if (!writeWholeFile(folder, s.temp, s.bytes)) return fail(WriteStatus::WriteFailed);
        written.push_back(s.temp);
        intent.steps.push_back(
            {IntentStep::Kind::Replace, s.temp, s.target, FileStamp::of(s.bytes)});
    }
    // Every file still as the operation read it: another window may have changed one.
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const FileStep& s = steps[i];
        for (const auto& [name, stamp] :
             {std::pair{s.target, s.expected}, std::pair{s.from, intent.steps[i].stamp}}) {
            if (name.empty()) continue;
            const FileBytes now = readFileBytes(folder, name);
            if (now.status == ReadStatus::Unusable) return fail(WriteStatus::Unusable, name);
            if (now.failed()) return fail(WriteStatus::ReadFailed, name);
            if (!stillHolds(stamp, now.stamp)) return fail(WriteStatus::Stale, name);
        }
    }
    // The temporary files are on disk for good before the intent file names them.
    if (fileops::syncFolder(folder.c_str()) != 0) return fail(WriteStatus::WriteFailed);
    const auto bytes = intentFileBytes(intent);
    if (!bytes) return fail(WriteStatus::Refused);
    const WriteStatus noted = rewriteFile(folder, kIntentFile, *bytes);
    if (noted != WriteStatus::Ok) {
        // An intent file the disk did not confirm is not relied on.
        if (noted == WriteStatus::Unsynced) dropIntent(folder);
        return fail(WriteStatus::WriteFailed);
    }
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const std::string& source = intent.steps[k].from;
        if (fileops::rename(at(folder, source).c_str(), at(folder, steps[k].target).c_str()) != 0)
            return takeBack(folder, intent, steps, k);
    }
    out.status = forgetIntent(folder);
    return out;
}

std::optional<Recovery> finishInterruptedChange(const fs::path& folder) {
    std::optional<Recovery> recovery;
    // While another program holds the lock, the intent file and the temporary files are its
    // change in progress: nothing of them is touched.
    const FolderLock lock(folder);
    if (!lock.held()) return recovery;
    const FileBytes file = readFileBytes(folder, kIntentFile);
    if (file.failed()) return Recovery{Recovery::Result::Failed, ""};
    if (file.status == ReadStatus::Ok) {
        Recovery r;
        const auto intent = parseIntentFile(file.bytes);
        if (!intent) {
            // The renames begin only once the intent file is whole on disk: nothing of the
            // change was made. Its new files are temporary files, removed below.
            r.change = changeNamedIn(file.bytes);
            r.result = fileops::unlink(resolveFile(folder, kIntentFile).c_str()) == 0
                           ? Recovery::Result::NotBegun
                           : Recovery::Result::Failed;
        } else {
            r.change = intent->change;
            int done = 0, broken = 0;
            for (const IntentStep& s : intent->steps) {
                if (s.kind == IntentStep::Kind::Remove || present(folder, s.from)) continue;
                ++(holds(folder, s.to, s.stamp) ? done : broken);
            }
            if (broken > 0 && done == 0) {
                // Dropped before its first rename, with only its intent file left behind.
                r.result = fileops::unlink(resolveFile(folder, kIntentFile).c_str()) == 0
                               ? Recovery::Result::NotBegun
                               : Recovery::Result::Failed;
            } else if (broken > 0 || carryOut(folder, *intent) == WriteStatus::WriteFailed) {
                r.result = Recovery::Result::Failed;
            } else {
                r.result = intent->undo ? Recovery::Result::Undone : Recovery::Result::Completed;
            }
        }
        recovery = r;
        if (r.result == Recovery::Result::Failed) return recovery;  // its files are needed
    }
    removeLeftoverTemporaries(folder);
    return recovery;
}

RecoveryNotice recoveryNotice(const Recovery& r) {
    const std::string what = r.change.empty() ? "ファイルの変更" : "「" + r.change + "」";
    switch (r.result) {
        case Recovery::Result::Completed:
            return {"前回、" + what +
                        "の途中でプログラムが終わっていました。\n"
                        "残っていた書き換えを済ませて、変更を完了しました。",
                    "データ復旧", false};
        case Recovery::Result::Undone:
            return {"前回、" + what +
                        "を取り消す途中でプログラムが終わっていました。\n"
                        "取り消しを済ませました。データは変更する前のままです。",
                    "データ復旧", false};
        case Recovery::Result::NotBegun:
            return {"前回、" + what +
                        "の途中でプログラムが終わっていました。\n"
                        "ファイルの書き換えはまだ始まっていなかったため、データは変更する前のまま"
                        "です。\n必要なら、もう一度操作してください。",
                    "データ復旧", false};
        case Recovery::Result::Failed:
            break;
    }
    return {"前回、" + what +
                "の途中でプログラムが終わっていましたが、残りの書き換えを済ませることができませ"
                "んでした。\n残りの手順はデータフォルダの " +
                std::string(kIntentFile) +
                " に書かれています。\nディスクの状態を確認してから、もう一度起動してください。",
            "データ復旧エラー", true};
}

bool isProgramTemporary(std::string_view name) {
    for (const char* temp :
         {"データコピー.txt", "データＣＨＧ.txt", "状況リストＣＨＧ.txt", "データ変換.txt"})
        if (equalIgnoringLatinCase(name, temp)) return true;
    for (const char* suffix : {".tmp", ".new", kUndoSuffix})
        if (endsWithIgnoringCase(name, suffix) &&
            isProgramFileName(name.substr(0, name.size() - std::string_view(suffix).size())))
            return true;
    return false;
}

bool isBackupTemporary(std::string_view name) {
    // The copies of a new start ("データ1_20261207_070509.txt", "_2" when taken) and of a
    // mended log ("データ1_修復前.txt") and of a log before an import
    // ("データ1_インポート前.txt"), each written through "<name>.tmp".
    static const std::regex temp(
        "(データ|ﾌﾟﾗｲﾍﾞｰﾄ)[0-9]+_([0-9]{8}_[0-9]{6}|修復前|インポート前)(_[0-9]+)?\\.[tT][xX][tT]"
        "\\.tmp");
    return std::regex_match(name.begin(), name.end(), temp);
}

std::vector<std::string> removeLeftoverTemporaries(const fs::path& folder) {
    std::vector<std::string> removed;
    const FolderLock lock(folder);
    if (!lock.held()) return removed;
    const auto sweep = [&removed](const fs::path& dir, bool (*isTemporary)(std::string_view),
                                  const std::string& prefix) {
        std::error_code ec;
        // A linked folder leads out of the data folder: nothing in it is the program's.
        if (fs::is_symlink(dir, ec)) return;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code kind;
            if (!isTemporary(name) || !it->is_regular_file(kind) || it->is_symlink(kind)) continue;
            if (::unlink(it->path().c_str()) == 0) removed.push_back(prefix + name);
        }
    };
    sweep(folder, isProgramTemporary, "");
    sweep(folder / kBackupFolder, isBackupTemporary, std::string(kBackupFolder) + "/");
    return removed;
}

}  // namespace pairly::disk
