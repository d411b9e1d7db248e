#pragma once
// The profile edit of the settings screen without the screen: the three fields checked
// and turned into the selected partner's profile.
#include <optional>
#include <string>

#include "core/settings/new_start.h"
#include "core/store/partner_profile.h"

namespace pairly::settings {

struct ProfileTexts {
    std::string nickname;  // txtPriData, may be empty
    std::string height;    // txtSincyou
    std::string target;    // txtMokuTai
};

// The fields of the profile frame, in the order of ProfileTexts.
enum ProfileField { kProfileNickname, kProfileHeight, kProfileTarget };

// Height, then target weight: empty gives "身長が入力されていません" / "身長未入力" (or the
// target's), information icon; a height that is not a number above 0, or a target that
// is not a weight above 0 and at most 600, is refused naming the field and its range
// (refusedNumber). Then a nickname that cannot be stored is refused.
std::optional<Notice> validateProfileEdit(const ProfileTexts& texts);

// texts must have passed validateProfileEdit.
store::PartnerProfile profileFrom(const ProfileTexts& texts);

// The fields as the screen shows a profile: the numbers as their shortest text (168.5,
// 65), a 0 left by a missing profile as an empty field.
ProfileTexts profileTexts(const store::PartnerProfile& profile);

}  // namespace pairly::settings
