#include "store/data_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "store/codec.h"
#include "store/file_ops.h"

namespace pairly::store {

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

// The bytes after the last LF of the file (empty when it ends with LF). CP932 trail
// bytes never take the values of CR, LF or '"', so bytes can be scanned directly.
bool readTornTail(int fd, off_t size, std::string& tail) {
    tail.clear();
    constexpr off_t kChunk = 4096;
    off_t end = size;
    while (end > 0) {
        const off_t start = end > kChunk ? end - kChunk : 0;
        std::string chunk(static_cast<std::size_t>(end - start), '\0');
        if (fileops::pread(fd, chunk.data(), chunk.size(), start) !=
            static_cast<ssize_t>(chunk.size()))
            return false;
        const std::size_t lf = chunk.rfind('\n');
        if (lf != std::string::npos) {
            tail.insert(0, chunk.substr(lf + 1));
            return true;
        }
        tail.insert(0, chunk);
        end = start;
    }
    return true;
}

}  // namespace

fs::path resolveFile(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    if (fs::exists(folder / std::string(name), ec)) return folder / std::string(name);
    // Several spellings may exist on a case-sensitive disk; take the first by name so
    // every operation picks the same one.
    std::string best;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalIgnoringLatinCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    if (!best.empty()) return folder / best;
    return folder / withLowerExtension(name);
}

bool fileExists(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    return fs::is_regular_file(resolveFile(folder, name), ec);
}

FileBytes readFileBytes(const fs::path& folder, std::string_view name) {
    FileBytes result;
    const fs::path path = resolveFile(folder, name);
    const int fd = fileops::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string bytes;
    if (ok) {
        // Read straight into the text: the size is known, a file that grows meanwhile is
        // read to its end all the same.
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t used = 0;
        while (true) {
            if (used == bytes.size()) bytes.resize(bytes.size() * 2);
            const ssize_t n = fileops::read(fd, bytes.data() + used, bytes.size() - used);
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            used += static_cast<std::size_t>(n);
        }
        bytes.resize(used);
    }
    ok = fileops::close(fd) == 0 && ok;
    result.status = ok ? ReadStatus::Ok : ReadStatus::Failed;
    result.bytes = std::move(bytes);
    return result;
}

FileText readFile(const fs::path& folder, std::string_view name) {
    FileBytes file = readFileBytes(folder, name);
    FileText result;
    result.status = file.status;
    result.text = fromCp932(file.bytes);
    return result;
}

std::optional<std::string> readTextFile(const fs::path& folder, std::string_view name) {
    FileText file = readFile(folder, name);
    if (file.status != ReadStatus::Ok) return std::nullopt;
    return std::move(file.text);
}

bool safeRewrite(const fs::path& folder, std::string_view name, std::string_view utf8Content,
                 std::string_view tempName) {
    const std::optional<std::string> bytes = toCp932(utf8Content);
    if (!bytes) return false;
    const fs::path target = resolveFile(folder, name);
    const std::string defaultTemp = target.filename().string() + ".tmp";
    const fs::path temp = resolveFile(folder, tempName.empty() ? defaultTemp : tempName);
    if (temp == target) return false;

    const int fd = fileops::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = fileops::writeAll(fd, bytes->data(), bytes->size());
    ok = ok && fileops::fsync(fd) == 0;
    ok = (fileops::close(fd) == 0) && ok;
    // The old file stays in place until the complete new one takes its name.
    ok = ok && fileops::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        // Plain unlink: cleaning up must not itself be made to fail.
        ::unlink(temp.c_str());
        return false;
    }
    fileops::syncFolder(folder.c_str());
    return true;
}

bool appendText(const fs::path& folder, std::string_view name, std::string_view utf8Line) {
    const std::optional<std::string> bytes = toCp932(utf8Line);
    if (!bytes) return false;
    const fs::path path = resolveFile(folder, name);
    std::error_code ec;
    const bool existed = fs::exists(path, ec);

    const int fd = fileops::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fileops::close(fd);
        return false;
    }
    const off_t oldSize = st.st_size;

    // A torn last line is ended first so the new line never merges with it; a quote
    // left open by the tear is closed, or it would swallow the new line.
    const char* prefix = "";
    if (oldSize > 0) {
        std::string tail;
        if (!readTornTail(fd, oldSize, tail)) {
            fileops::close(fd);
            return false;
        }
        if (!tail.empty() && tail.back() == '\r') {
            prefix = "\n";
        } else if (!tail.empty()) {
            const bool openQuote = std::count(tail.begin(), tail.end(), '"') % 2 != 0;
            prefix = openQuote ? "\"\r\n" : "\r\n";
        }
    }
    std::string data(prefix);
    data += *bytes;

    bool ok = fileops::writeAll(fd, data.data(), data.size());
    ok = ok && fileops::fsync(fd) == 0;
    if (!ok) {
        // Take back a partial line so the file ends as it did before.
        if (::ftruncate(fd, oldSize) == 0) ::fsync(fd);
    }
    ok = (fileops::close(fd) == 0) && ok;
    if (!ok && !existed && oldSize == 0) ::unlink(path.c_str());
    if (ok && !existed) fileops::syncFolder(folder.c_str());
    return ok;
}

}  // namespace pairly::store
