#pragma once
// One change of the data folder at a time, also between two programs (two windows, a window
// and the command line): every operation that reads a file, checks it and writes holds the
// folder's lock from the read to the last write. The lock is the kernel's (flock on a file
// that stays in the folder), so a program that crashes never leaves it held. A program
// waits for it a short while and then gives up with nothing written (WriteStatus::Busy).
// Within one program the lock may be taken again by an operation that already holds it.
#include <filesystem>
#include <string>
#include <string_view>

#include "core/disk/data_folder.h"

namespace pairly::disk {

// The lock file; never removed (removing it would let two programs lock two files).
inline constexpr char kLockFile[] = ".pairlylog.lock";
inline constexpr int kLockWaitMs = 3000;

class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return held_; }
    // Why it is not held: Busy (another program holds it) or WriteFailed (no lock file).
    WriteStatus failure() const { return failure_; }

    // How long a lock held elsewhere is waited for (kLockWaitMs unless changed).
    static void setWaitMs(int ms);

private:
    std::string key_;
    bool held_ = false;
    WriteStatus failure_ = WriteStatus::Ok;
};

// The message for WriteStatus::Busy.
std::string busyText();

}  // namespace pairly::disk
