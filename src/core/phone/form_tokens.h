#pragma once
// One-time form tokens: each form the page hands out carries one, bound to the partner
// and the day it was made for. A save uses it up, so that a form sent twice (a reload, a
// double tap, a retry after a lost answer) writes one weighing.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace pairly::phone {

enum class TokenState {
    Valid,         // may save
    OtherPartner,  // made for the other partner's page
    Used,          // its weighing is saved already
    Unknown,       // never made here, expired, or dropped for newer ones
};

class FormTokens {
public:
    static constexpr long long kLifetimeMs = 12 * 3600 * 1000LL;
    // Open forms remembered per program run, and used tokens remembered to recognise a
    // repeated post.
    static constexpr std::size_t kMaxOpen = 64;
    static constexpr std::size_t kMaxUsed = 64;

    // A new token for `slot`'s form made on `day` ("yyyy/mm/dd"); nullopt when the random
    // source fails.
    std::optional<std::string> issue(int slot, const std::string& day, long long nowMs);
    TokenState check(const std::string& token, int slot, long long nowMs) const;
    // The day the open form was made for ("" when the token is not open).
    std::string dayOf(const std::string& token) const;
    // The weighing of this form is written: the token cannot save again.
    void useUp(const std::string& token);

private:
    struct Entry {
        std::string token;
        int slot = 0;
        std::string day;
        long long madeMs = 0;
    };
    const Entry* findOpen(const std::string& token) const;

    std::deque<Entry> open_;
    std::deque<Entry> used_;
};

}  // namespace pairly::phone
