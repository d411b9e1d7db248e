#include "fuzz_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace pairly::fuzz {

namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        // Memory-backed when there is one: every write ends in fsync.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string tmpl = (base / "pairly-fuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        path = tmpl;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

}  // namespace

const fs::path& folder() {
    static Folder f;
    return f.path;
}

void writeOnly(std::string_view name, const std::uint8_t* data, std::size_t size) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder(), ec)) fs::remove_all(entry.path(), ec);
    const fs::path path = folder() / std::string(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) std::abort();
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    ::close(fd);
}

std::string bytesOf(std::string_view name) {
    const fs::path path = folder() / std::string(name);
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return out;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return out;
}

void fail(const char* what) {
    std::fprintf(stderr, "round trip broken: %s\n", what);
    std::abort();
}

}  // namespace pairly::fuzz
