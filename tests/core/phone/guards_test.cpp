#include <gtest/gtest.h>

#include "core/phone/form_tokens.h"
#include "core/phone/guard.h"

namespace pairly::phone {
namespace {

TEST(PhoneGuard, WrongSecretsSlowDownThenLockOut) {
    enum Step { Fail, Check };
    const struct {
        Step step;
        const char* address;
        long long ms;
        int delayOrLocked;  // Fail: the delay; Check: 1 when locked out
    } steps[] = {
        {Fail, "A", 0, 0},        {Fail, "A", 1, 0},       {Fail, "A", 2, 0},
        {Fail, "A", 3, 250},      {Fail, "A", 4, 500},     {Fail, "A", 5, 750},
        {Fail, "A", 6, 1000},     {Fail, "A", 7, 1250},    {Check, "A", 8, 0},
        {Fail, "A", 9, 1500},     {Check, "A", 10, 0},     {Fail, "A", 11, 1750},  // 10th
        {Check, "A", 12, 1},      {Check, "B", 12, 0},     {Check, "A", 600'010, 1},
        {Check, "A", 600'011, 0},
        // Nine within a minute, the tenth a minute later: no lock-out.
        {Fail, "B", 0, 0},        {Fail, "B", 1, 0},       {Fail, "B", 2, 0},
        {Fail, "B", 3, 250},      {Fail, "B", 4, 500},     {Fail, "B", 5, 750},
        {Fail, "B", 6, 1000},     {Fail, "B", 7, 1250},    {Fail, "B", 8, 1500},
        {Fail, "B", 60'003, 750}, {Check, "B", 60'004, 0},
    };
    Guard guard;
    for (const auto& s : steps) {
        if (s.step == Fail)
            EXPECT_EQ(guard.recordFailure(s.address, s.ms), s.delayOrLocked) << s.address << s.ms;
        else
            EXPECT_EQ(guard.lockedOut(s.address, s.ms), s.delayOrLocked == 1) << s.address << s.ms;
    }
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
    } before[] = {
        {"own", t2, 2, 1000, TokenState::Valid},
        {"other partner's", t1, 2, 1000, TokenState::OtherPartner},
        {"unknown", "0123456789abcdef0123456789abcdef", 2, 0, TokenState::Unknown},
        {"empty", "", 2, 0, TokenState::Unknown},
        {"expired", t2, 2, FormTokens::kLifetimeMs, TokenState::Unknown},
    };
    for (const auto& c : before) EXPECT_EQ(tokens.check(c.token, c.slot, c.ms), c.expected) << c.what;
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
