#include "core/phone/guard.h"

#include <algorithm>

namespace pairly::phone {

bool Guard::lockedOut(const std::string& address, long long nowMs) {
    const auto it = records_.find(address);
    return it != records_.end() && it->second.lockedUntil > nowMs;
}

int Guard::recordFailure(const std::string& address, long long nowMs) {
    if (records_.size() >= kMaxAddresses && !records_.count(address)) forgetOld(nowMs);
    if (records_.size() >= kMaxAddresses) records_.erase(records_.begin());
    Record& r = records_[address];
    while (!r.failures.empty() && r.failures.front() <= nowMs - kWindowMs) r.failures.pop_front();
    r.failures.push_back(nowMs);
    const int count = static_cast<int>(r.failures.size());
    if (count >= kFailuresToLock) {
        r.lockedUntil = nowMs + kLockMs;
        r.failures.clear();
    }
    return std::clamp((count - kFreeFailures) * kDelayStepMs, 0, kMaxDelayMs);
}

void Guard::forgetOld(long long nowMs) {
    for (auto it = records_.begin(); it != records_.end();) {
        const Record& r = it->second;
        const bool quiet = r.lockedUntil <= nowMs &&
                           (r.failures.empty() || r.failures.back() <= nowMs - kWindowMs);
        it = quiet ? records_.erase(it) : std::next(it);
    }
}

}  // namespace pairly::phone
