#include "core/disk/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace pairly::disk {

namespace {

struct Held {
    int fd = -1;
    int depth = 0;
};

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}
std::map<std::string, Held>& registry() {
    static std::map<std::string, Held> held;
    return held;
}
int& waitMs() {
    static int ms = kLockWaitMs;
    return ms;
}

// The lock file, opened without following a link; -1 when it cannot be.
int openLockFile(const std::filesystem::path& folder) {
    const std::string path = (folder / kLockFile).string();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder)
    : key_(folder.lexically_normal().string()) {
    {
        const std::lock_guard guard(registryMutex());
        const auto it = registry().find(key_);
        if (it != registry().end()) {
            ++it->second.depth;
            held_ = true;
            return;
        }
    }
    const int fd = openLockFile(folder);
    if (fd < 0) {
        failure_ = WriteStatus::WriteFailed;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs());
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            failure_ = errno == EWOULDBLOCK ? WriteStatus::Busy : WriteStatus::WriteFailed;
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::lock_guard guard(registryMutex());
    registry()[key_] = Held{fd, 1};
    held_ = true;
}

FolderLock::~FolderLock() {
    if (!held_) return;
    const std::lock_guard guard(registryMutex());
    const auto it = registry().find(key_);
    if (it == registry().end() || --it->second.depth > 0) return;
    // Closing the file releases the kernel's lock.
    ::close(it->second.fd);
    registry().erase(it);
}

void FolderLock::setWaitMs(int ms) { waitMs() = ms; }

std::string busyText() {
    return "別のウィンドウが保存中です。少し待ってから、もう一度操作してください。\n"
           "データは変更されていません。";
}

}  // namespace pairly::disk
