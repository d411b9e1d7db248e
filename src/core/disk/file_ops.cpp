#include "core/disk/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace pairly::disk::fileops {

namespace {

FaultHook& hook() {
    static FaultHook h;
    return h;
}

long& counter() {
    static long n = 0;
    return n;
}

// True when the operation is to fail; errno is then set.
bool faulted(Op op) {
    const long n = ++counter();
    if (hook() && hook()(op, n)) {
        errno = EIO;
        return true;
    }
    return false;
}

}  // namespace

void setFaultHook(FaultHook h) {
    hook() = std::move(h);
    counter() = 0;
}

long operationCount() { return counter(); }

int open(const char* path, int flags, mode_t mode) {
    if (faulted(Op::Open)) return -1;
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t read(int fd, void* buffer, size_t size) {
    if (faulted(Op::Read)) return -1;
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
    if (faulted(Op::Read)) return -1;
    ssize_t n;
    do {
        n = ::pread(fd, buffer, size, offset);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool writeAll(int fd, const char* data, size_t size) {
    if (faulted(Op::Write)) {
        // A full disk takes part of the data before it refuses the rest.
        const size_t part = size / 2;
        if (part > 0 && ::write(fd, data, part) < 0) return false;
        errno = ENOSPC;
        return false;
    }
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int fsync(int fd) {
    if (faulted(Op::Fsync)) return -1;
    return ::fsync(fd);
}

int close(int fd) {
    if (faulted(Op::Close)) {
        // The descriptor is released either way, as close(2) does.
        ::close(fd);
        errno = EIO;
        return -1;
    }
    return ::close(fd);
}

int rename(const char* from, const char* to) {
    if (faulted(Op::Rename)) return -1;
    return ::rename(from, to);
}

int unlink(const char* path) {
    if (faulted(Op::Remove)) return -1;
    return ::unlink(path);
}

int mkdir(const char* path, mode_t mode) {
    if (faulted(Op::MakeFolder)) return -1;
    if (::mkdir(path, mode) == 0 || errno == EEXIST) return 0;
    return -1;
}

int syncFolder(const char* folder) {
    if (faulted(Op::FolderSync)) return -1;
    // A folder that may not be opened cannot be synced; that says nothing of the disk.
    const int dfd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return errno == EIO ? -1 : 0;
    int rc = ::fsync(dfd);
    const int error = errno;
    ::close(dfd);
    if (rc != 0 && (error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == EROFS ||
                    error == EBADF))
        rc = 0;
    errno = rc == 0 ? 0 : error;
    return rc;
}

}  // namespace pairly::disk::fileops
