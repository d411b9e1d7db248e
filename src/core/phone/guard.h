#pragma once
// Wrong secrets from one address: answered more slowly after a few, and refused for a
// while after many (10 within a minute lock the address out for 10 minutes), so that a
// guest's device cannot try its way to a key.
#include <cstddef>
#include <deque>
#include <map>
#include <string>

namespace pairly::phone {

class Guard {
public:
    static constexpr int kFailuresToLock = 10;
    static constexpr long long kWindowMs = 60'000;
    static constexpr long long kLockMs = 10 * 60'000;
    // The wrong tries answered at once; each later one waits a little longer.
    static constexpr int kFreeFailures = 3;
    static constexpr int kDelayStepMs = 250;
    static constexpr int kMaxDelayMs = 2000;
    // Addresses remembered at most (a home network has far fewer).
    static constexpr std::size_t kMaxAddresses = 1024;

    // A locked-out address gets nothing, not even with the right secret.
    bool lockedOut(const std::string& address, long long nowMs);
    // Counts a wrong secret; the milliseconds to wait before answering it.
    int recordFailure(const std::string& address, long long nowMs);

private:
    struct Record {
        std::deque<long long> failures;  // within the window
        long long lockedUntil = 0;
    };
    void forgetOld(long long nowMs);

    std::map<std::string, Record> records_;
};

}  // namespace pairly::phone
