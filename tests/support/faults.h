#pragma once
// Makes the store's file operations fail while an object of this kind lives.
#include <memory>
#include <set>

#include "core/disk/file_ops.h"

namespace pairly::testing {

class InjectFaults {
public:
    using Op = disk::fileops::Op;
    // Every operation of the given kinds fails (all kinds when the set is empty).
    static InjectFaults always(std::set<Op> ops = {}) {
        return InjectFaults(1, true, std::move(ops));
    }
    // Only operation number n (counted over the chosen kinds) fails.
    static InjectFaults once(long n, std::set<Op> ops = {}) {
        return InjectFaults(n, false, std::move(ops));
    }
    // Operation number n and every later one fail.
    static InjectFaults from(long n, std::set<Op> ops = {}) {
        return InjectFaults(n, true, std::move(ops));
    }

    InjectFaults(InjectFaults&& other) noexcept
        : active_(other.active_),
          seen_(other.seen_),
          failed_(other.failed_),
          failedChanges_(other.failedChanges_) {
        other.active_ = false;
    }
    InjectFaults& operator=(InjectFaults&&) = delete;
    ~InjectFaults() {
        if (active_) disk::fileops::setFaultHook(nullptr);
    }
    // How many operations of the chosen kinds were asked for so far.
    long seen() const { return *seen_; }
    // How many of them were made to fail.
    long failed() const { return *failed_; }
    // How many of those were no open or read: a failed read may only have made
    // the program take its safe way (a backup copy made although one may exist).
    long failedChanges() const { return *failedChanges_; }

private:
    InjectFaults(long n, bool persistent, std::set<Op> ops)
        : seen_(std::make_shared<long>(0)),
          failed_(std::make_shared<long>(0)),
          failedChanges_(std::make_shared<long>(0)) {
        disk::fileops::setFaultHook([n, persistent, ops = std::move(ops), seen = seen_,
                                     failed = failed_, changes = failedChanges_](Op op, long) {
            if (!ops.empty() && !ops.count(op)) return false;
            const long k = ++*seen;
            const bool fail = persistent ? k >= n : k == n;
            if (fail) {
                ++*failed;
                if (op != Op::Open && op != Op::Read) ++*changes;
            }
            return fail;
        });
    }
    bool active_ = true;
    std::shared_ptr<long> seen_;
    std::shared_ptr<long> failed_;
    std::shared_ptr<long> failedChanges_;
};

}  // namespace pairly::testing
