#include <gtest/gtest.h>

#include "core/phone/form_tokens.h"
#include "core/phone/guard.h"

namespace pairly::phone {
namespace {

TEST(PhoneGuard, WrongSecretsSlowDownThenLockOut) {
    // Ten within a minute from A (the tenth at 9 ms); B's nine and then one a minute later.
    const int delays[] = {0, 0, 0, 250, 500, 750, 1000, 1250, 1500, 1750};
    Guard guard;
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(guard.lockedOut("A", i)) << i;
        EXPECT_EQ(guard.recordFailure("A", i), delays[i]) << i;
        if (i < 9) {
            EXPECT_EQ(guard.recordFailure("B", i), delays[i]) << i;
        }
    }
    const struct {
        const char* address;
        long long ms;
        bool locked;
    } checks[] = {{"A", 10, true}, {"B", 10, false}, {"A", 600'008, true}, {"A", 600'009, false}};
    for (const auto& c : checks) EXPECT_EQ(guard.lockedOut(c.address, c.ms), c.locked) << c.ms;
    // B's tries up to 60'004 - 60'000 have left the window: five in it now.
    EXPECT_EQ(guard.recordFailure("B", 60'004), 500);
    EXPECT_FALSE(guard.lockedOut("B", 60'005));
}

TEST(PhoneTokens, OneTimeAndPerPartner) {
    FormTokens tokens;
    const std::string t2 = *tokens.issue(2, "2026/12/07", 0);
    const std::string t1 = *tokens.issue(1, "2026/12/07", 0);
    EXPECT_NE(t1, t2);
    const struct {
        const char* what;
        std::string token;
        int slot;
        long long ms;
        TokenState expected;
    } before[] = {{"own", t2, 2, 1000, TokenState::Valid},
                  {"other partner's", t1, 2, 1000, TokenState::OtherPartner},
                  {"unknown", "0123456789abcdef0123456789abcdef", 2, 0, TokenState::Unknown},
                  {"empty", "", 2, 0, TokenState::Unknown},
                  {"expired", t2, 2, FormTokens::kLifetimeMs, TokenState::Unknown}};
    for (const auto& c : before)
        EXPECT_EQ(tokens.check(c.token, c.slot, c.ms), c.expected) << c.what;
    EXPECT_EQ(tokens.dayOf(t2), "2026/12/07");
    tokens.useUp(t2);
    EXPECT_EQ(tokens.check(t2, 2, 1000), TokenState::Used);
    EXPECT_EQ(tokens.check(t2, 1, 1000), TokenState::OtherPartner);
    EXPECT_EQ(tokens.check(t1, 1, 1000), TokenState::Valid);
    // Old open forms give way to new ones; their posts are then treated as unknown.
    for (std::size_t i = 0; i < FormTokens::kMaxOpen; ++i) (void)tokens.issue(2, "2026/12/07", 0);
    EXPECT_EQ(tokens.check(t1, 1, 1000), TokenState::Unknown);
    EXPECT_EQ(tokens.check(t2, 2, 1000), TokenState::Used);
}

}  // namespace
}  // namespace pairly::phone
