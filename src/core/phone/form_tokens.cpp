#include "core/phone/form_tokens.h"

#include "core/phone/secrets.h"

namespace pairly::phone {

std::optional<std::string> FormTokens::issue(int slot, const std::string& day, long long nowMs) {
    auto token = randomHex(kSecretBytes);
    if (!token) return std::nullopt;
    if (open_.size() >= kMaxOpen) open_.pop_front();
    open_.push_back({*token, slot, day, nowMs});
    return token;
}

const FormTokens::Entry* FormTokens::findOpen(const std::string& token) const {
    for (const Entry& e : open_)
        if (constantTimeEquals(e.token, token)) return &e;
    return nullptr;
}

TokenState FormTokens::check(const std::string& token, int slot, long long nowMs) const {
    if (const Entry* e = findOpen(token)) {
        if (e->slot != slot) return TokenState::OtherPartner;
        return nowMs - e->madeMs < kLifetimeMs ? TokenState::Valid : TokenState::Unknown;
    }
    for (const Entry& e : used_)
        if (constantTimeEquals(e.token, token))
            return e.slot == slot ? TokenState::Used : TokenState::OtherPartner;
    return TokenState::Unknown;
}

std::string FormTokens::dayOf(const std::string& token) const {
    const Entry* e = findOpen(token);
    return e ? e->day : std::string();
}

void FormTokens::useUp(const std::string& token) {
    for (auto it = open_.begin(); it != open_.end(); ++it) {
        if (!constantTimeEquals(it->token, token)) continue;
        if (used_.size() >= kMaxUsed) used_.pop_front();
        used_.push_back(*it);
        open_.erase(it);
        return;
    }
}

}  // namespace pairly::phone
