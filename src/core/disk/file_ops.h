#pragma once
// Every system call the store makes on the data folder goes through here, so that a test
// can make any one of them fail (or stop the process) at a chosen point.
#include <sys/types.h>

#include <functional>

namespace pairly::disk::fileops {

enum class Op { Open, Read, Write, Fsync, Close, Rename, Remove, FolderSync, MakeFolder };

// Asked before each operation with its kind and its number (1, 2, … since the hook was
// set). Returning true makes the operation fail with EIO; a failing Write first writes
// half of its bytes, as a full disk does. The hook may also end the process.
using FaultHook = std::function<bool(Op op, long number)>;
void setFaultHook(FaultHook hook);
// Operations counted since the hook was last set (counted with or without a hook).
long operationCount();

int open(const char* path, int flags, mode_t mode = 0);
ssize_t read(int fd, void* buffer, size_t size);
ssize_t pread(int fd, void* buffer, size_t size, off_t offset);
// Writes all bytes, retrying short writes and EINTR; false on any failure.
bool writeAll(int fd, const char* data, size_t size);
int fsync(int fd);
int close(int fd);
int rename(const char* from, const char* to);
int unlink(const char* path);
// Creates a folder; one that exists already is not an error.
int mkdir(const char* path, mode_t mode = 0755);
// fsync of the folder itself, so that a rename survives a power cut: 0, or -1 with errno
// when the disk failed. A file system that cannot sync a folder at all (EINVAL and the
// like) is not a failure.
int syncFolder(const char* folder);

}  // namespace pairly::disk::fileops
