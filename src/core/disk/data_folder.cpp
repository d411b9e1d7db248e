#include "core/disk/data_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/disk/codec.h"
#include "core/disk/fields.h"
#include "core/disk/file_ops.h"
#include "core/disk/folder_lock.h"

namespace pairly::disk {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringLatinCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// The name with its extension in lower case: the spelling used for new files.
std::string withLowerExtension(std::string_view name) {
    std::string out(name);
    const std::size_t dot = out.rfind('.');
    if (dot == std::string::npos) return out;
    for (std::size_t i = dot + 1; i < out.size(); ++i) out[i] = lowerAscii(out[i]);
    return out;
}

// The whole content of an open file, read from the start.
bool readAll(int fd, off_t size, std::string& bytes) {
    bytes.assign(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            fileops::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// What must come before a new line so that it starts a line of its own: nothing after a
// line end, the missing LF after a CR, a line end after a last line without one, and a
// closing quote first when the file ends inside a quoted field (a line torn by a crash),
// which would otherwise swallow the new line. CP932 trail bytes never take the values of
// the separators or the quote, so the bytes are scanned as they are.
const char* mendPrefix(std::string_view bytes) {
    if (bytes.empty()) return "";
    FieldReader reader(bytes);
    bool open = false;
    while (reader.next()) open = reader.lastFieldUnterminated();
    if (open) return "\"\r\n";
    if (bytes.back() == '\n') return "";
    if (bytes.back() == '\r') return "\n";
    return "\r\n";
}

// Sets `certain` to false when the folder could not be looked at, so that a file that
// seems missing may exist under another spelling.
fs::path resolve(const fs::path& folder, std::string_view name, bool& certain) {
    certain = true;
    std::error_code ec;
    const fs::path exact = folder / std::string(name);
    if (fs::exists(exact, ec)) return exact;
    if (ec) {
        certain = false;
        return exact;
    }
    // Several spellings may exist on a case-sensitive disk; take the first by name so
    // every operation picks the same one.
    std::string best;
    fs::directory_iterator it(folder, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalIgnoringLatinCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    if (!best.empty()) return folder / best;
    if (ec) {
        certain = false;
        return exact;
    }
    return folder / withLowerExtension(name);
}

}  // namespace

std::uint64_t hashBytes(std::string_view bytes) { return XXH64(bytes.data(), bytes.size(), 0); }

fs::path resolveFile(const fs::path& folder, std::string_view name) {
    bool certain = true;
    return resolve(folder, name, certain);
}

bool fileExists(const fs::path& folder, std::string_view name) {
    struct stat st {};
    return ::lstat(resolveFile(folder, name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

FileProblem fileProblemOf(const fs::path& folder, std::string_view name) {
    struct stat st {};
    if (::lstat(resolveFile(folder, name).c_str(), &st) != 0) return FileProblem::None;
    if (S_ISLNK(st.st_mode)) return FileProblem::Link;
    if (!S_ISREG(st.st_mode)) return FileProblem::NotRegular;
    // Never read, so never replaced either: what it holds is not known.
    return static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes ? FileProblem::TooLarge
                                                                  : FileProblem::None;
}

std::string fileProblemText(std::string_view name, FileProblem problem, std::size_t line) {
    std::string text(name);
    switch (problem) {
        case FileProblem::Link:
            return text + " はリンクなので使いません。";
        case FileProblem::NotRegular:
            return text + " は普通のファイルではありません。";
        case FileProblem::TooLarge:
            return text + " は大きすぎるため読み込みません（64MiBまで）。";
        case FileProblem::LineTooLong:
            return text + " の " + std::to_string(line) +
                   " 行目が長すぎるため読み込みません（1行 64KiBまで）。";
        case FileProblem::None:
            break;
    }
    return text;
}

FileBytes readFileBytes(const fs::path& folder, std::string_view name, const ReadLimits& limits) {
    FileBytes result;
    bool certain = true;
    const fs::path path = resolve(folder, name, certain);
    const auto unusable = [&result](FileProblem problem) {
        result.status = ReadStatus::Unusable;
        result.problem = problem;
        result.bytes.clear();
        return std::move(result);
    };
    // Never through a link, and never waiting for a writer: a FIFO opens at once.
    const int fd = fileops::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ELOOP) return unusable(FileProblem::Link);
        if (errno == ENXIO) return unusable(FileProblem::NotRegular);  // a socket
        // Missing only when the folder says so too: another spelling may exist.
        result.status = errno == ENOENT && certain ? ReadStatus::Missing : ReadStatus::Failed;
        if (result.status == ReadStatus::Missing) result.stamp = FileStamp::missing();
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fileops::close(fd);
        result.status = ReadStatus::Failed;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        fileops::close(fd);
        return unusable(FileProblem::NotRegular);
    }
    // A size told beyond the bound needs no reading to be refused.
    if (static_cast<std::uint64_t>(st.st_size) > limits.maxBytes) {
        fileops::close(fd);
        return unusable(FileProblem::TooLarge);
    }
    // Read to the end, whatever size the file reports (files under /proc report none), but
    // never more than the bound: one byte past it tells the file is too large.
    std::string bytes;
    const std::size_t cap = limits.maxBytes + 1;
    bytes.resize(std::min(cap, static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1));
    std::size_t used = 0, lineStart = 0, lines = 1;
    FileProblem problem = FileProblem::None;
    bool ok = true;
    while (true) {
        if (used == bytes.size()) {
            if (bytes.size() >= cap) {
                problem = FileProblem::TooLarge;
                break;
            }
            bytes.resize(std::min(cap, bytes.size() * 2));
        }
        const ssize_t n = fileops::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        const std::size_t end = used + static_cast<std::size_t>(n);
        if (limits.maxLineBytes > 0) {
            // Each line that ended in this read, and the one still open at its end.
            std::size_t i = used;
            for (; i < end; ++i) {
                if (bytes[i] != '\n') continue;
                if (i - lineStart > limits.maxLineBytes) break;
                ++lines;
                lineStart = i + 1;
            }
            if (i - lineStart > limits.maxLineBytes) {
                problem = FileProblem::LineTooLong;
                result.longLine = lines;
                break;
            }
        }
        used = end;
    }
    ok = fileops::close(fd) == 0 && ok;
    if (problem != FileProblem::None) return unusable(problem);
    bytes.resize(used);
    result.status = ok ? ReadStatus::Ok : ReadStatus::Failed;
    if (ok) result.stamp = FileStamp::of(bytes);
    result.bytes = std::move(bytes);
    return result;
}

FileText readFile(const fs::path& folder, std::string_view name) {
    FileBytes file = readFileBytes(folder, name);
    FileText result;
    result.status = file.status;
    result.text = fromCp932(file.bytes);
    result.stamp = file.stamp;
    result.problem = file.problem;
    return result;
}

std::optional<std::string> readTextFile(const fs::path& folder, std::string_view name) {
    FileText file = readFile(folder, name);
    if (file.status != ReadStatus::Ok) return std::nullopt;
    return std::move(file.text);
}

WriteStatus rewriteFile(const fs::path& folder, std::string_view name, std::string_view bytes,
                        std::string_view tempName, const FileStamp* expected) {
    const fs::path target = resolveFile(folder, name);
    const std::string defaultTemp = target.filename().string() + ".tmp";
    const fs::path temp = resolveFile(folder, tempName.empty() ? defaultTemp : tempName);
    if (temp == target) return WriteStatus::WriteFailed;
    // A rename over a link would put a plain file in its place.
    if (fileProblemOf(folder, target.filename().string()) != FileProblem::None)
        return WriteStatus::Unusable;
    if (!writeWholeFile(folder, temp.filename().string(), bytes)) return WriteStatus::WriteFailed;
    // Checked as late as can be, so that another window's change has the least time to
    // slip in between.
    if (expected) {
        const FileBytes now = readFileBytes(folder, target.filename().string());
        const WriteStatus refusal = now.status == ReadStatus::Unusable  ? WriteStatus::Unusable
                                    : now.failed()                      ? WriteStatus::ReadFailed
                                    : !stillHolds(*expected, now.stamp) ? WriteStatus::Stale
                                                                        : WriteStatus::Ok;
        if (refusal != WriteStatus::Ok) {
            ::unlink(temp.c_str());
            return refusal;
        }
    }
    // The old file stays in place until the complete new one takes its name.
    if (fileops::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return WriteStatus::WriteFailed;
    }
    return fileops::syncFolder(folder.c_str()) == 0 ? WriteStatus::Ok : WriteStatus::Unsynced;
}

WriteStatus rewriteUnderLock(const fs::path& folder, std::string_view name, std::string_view bytes,
                             std::string_view tempName) {
    const FolderLock lock(folder);
    if (!lock.held()) return lock.failure();
    return rewriteFile(folder, name, bytes, tempName);
}

WriteResult rewriteIfUnchanged(const fs::path& folder, std::string_view name,
                               std::string_view bytes, const FileStamp& shown,
                               std::string_view tempName) {
    WriteResult result;
    const FolderLock lock(folder);
    if (!lock.held()) return {lock.failure(), {}};
    result.status = rewriteFile(folder, name, bytes, tempName, &shown);
    if (result.written()) result.stamp = FileStamp::of(bytes);
    return result;
}

WriteStatus rewriteText(const fs::path& folder, std::string_view name, std::string_view utf8Content,
                        std::string_view tempName) {
    const std::optional<std::string> bytes = toCp932(utf8Content);
    if (!bytes) return WriteStatus::Refused;
    return rewriteUnderLock(folder, name, *bytes, tempName);
}

bool safeRewrite(const fs::path& folder, std::string_view name, std::string_view utf8Content,
                 std::string_view tempName) {
    return rewriteText(folder, name, utf8Content, tempName) == WriteStatus::Ok;
}

bool writeWholeFile(const fs::path& folder, std::string_view name, std::string_view bytes) {
    const fs::path path = folder / std::string(name);
    // A leftover of a crash, or a link someone put there: gone, so that the file is new.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return false;
    const int fd = fileops::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644);
    if (fd < 0) return false;
    bool ok = fileops::writeAll(fd, bytes.data(), bytes.size());
    ok = ok && fileops::fsync(fd) == 0;
    ok = (fileops::close(fd) == 0) && ok;
    // Plain unlink: cleaning up must not itself be made to fail.
    if (!ok) ::unlink(path.c_str());
    return ok;
}

void removeFile(const fs::path& folder, std::string_view name) {
    ::unlink((folder / std::string(name)).c_str());
}

std::string freeFileName(const fs::path& dir, std::string_view name) {
    const std::string whole(name);
    const std::size_t dot = whole.rfind('.');
    const std::string stem = whole.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : whole.substr(dot);
    std::string candidate = whole;
    for (int n = 2; fileExists(dir, candidate); ++n)
        candidate = stem + "_" + std::to_string(n) + ext;
    return candidate;
}

std::optional<std::string> keepInBackupFolder(const fs::path& folder, std::string_view name,
                                              std::string_view bytes) {
    const fs::path dir = folder / kBackupFolder;
    std::error_code ec;
    // Never into a linked folder: what it leads to is not the program's.
    if (fs::is_symlink(dir, ec)) return std::nullopt;
    const bool existed = fs::is_directory(dir, ec);
    if (fileops::mkdir(dir.c_str()) != 0 || !fs::is_directory(dir, ec)) return std::nullopt;
    // A new folder is only there for good once the data folder says so.
    if (!existed && fileops::syncFolder(folder.c_str()) != 0) return std::nullopt;
    const std::string free = freeFileName(dir, name);
    // A copy the disk could not confirm is no copy to rely on.
    if (rewriteFile(dir, free, bytes) != WriteStatus::Ok) return std::nullopt;
    return free;
}

WriteStatus appendText(const fs::path& folder, std::string_view name, std::string_view utf8Line,
                       AppendStamps* stamps, const FileStamp* expected) {
    const std::optional<std::string> bytes = toCp932(utf8Line);
    if (!bytes) return WriteStatus::Refused;
    const FolderLock lock(folder);
    if (!lock.held()) return lock.failure();
    const fs::path path = resolveFile(folder, name);
    struct stat before {};
    const bool existed = ::lstat(path.c_str(), &before) == 0;

    const int fd =
        fileops::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0)
        return errno == ELOOP || errno == ENXIO ? WriteStatus::Unusable : WriteStatus::WriteFailed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool regular = S_ISREG(st.st_mode);
        fileops::close(fd);
        return regular ? WriteStatus::WriteFailed : WriteStatus::Unusable;
    }
    const off_t oldSize = st.st_size;
    if (static_cast<std::uint64_t>(oldSize) > kMaxFileBytes) {
        fileops::close(fd);
        return WriteStatus::Unusable;
    }

    std::string old;
    if (!readAll(fd, oldSize, old)) {
        fileops::close(fd);
        return WriteStatus::WriteFailed;
    }
    const FileStamp was = existed ? FileStamp::of(old) : FileStamp::missing();
    if (expected && !stillHolds(*expected, was)) {
        fileops::close(fd);
        if (!existed && oldSize == 0) ::unlink(path.c_str());
        return WriteStatus::Stale;
    }
    const char* prefix = mendPrefix(old);
    std::string data(prefix);
    data += *bytes;

    bool ok = fileops::writeAll(fd, data.data(), data.size());
    ok = ok && fileops::fsync(fd) == 0;
    if (!ok) {
        // Take back a partial line so the file ends as it did before.
        if (::ftruncate(fd, oldSize) == 0) ::fsync(fd);
    }
    if (fileops::close(fd) != 0 && ok) {
        // Reported as failed, so it must not stay: a retry would store the line twice.
        ok = false;
        const int again = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
        if (again >= 0) {
            if (::ftruncate(again, oldSize) == 0) ::fsync(again);
            ::close(again);
        }
    }
    // A file the append made is there for good only once its folder is synced; one that
    // the disk cannot confirm goes again, so that the failure leaves the folder as it was.
    if (ok && !existed && fileops::syncFolder(folder.c_str()) != 0) ok = false;
    if (!ok && !existed && oldSize == 0) ::unlink(path.c_str());
    if (ok && stamps) {
        stamps->before = was;
        stamps->after = FileStamp::of(old + data);
    }
    return ok ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

}  // namespace pairly::disk
