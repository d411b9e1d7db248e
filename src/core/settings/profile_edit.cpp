#include "core/settings/profile_edit.h"

#include "core/disk/fields.h"
#include "core/text/numbers.h"

namespace pairly::settings {

std::optional<Notice> validateProfileEdit(const ProfileTexts& texts) {
    struct Check {
        const std::string& text;
        disk::NumberKind kind;
        const char* name;
        const char* message;
        const char* title;
        ProfileField field;
    };
    const Check checks[] = {
        {texts.height, disk::NumberKind::Positive, "身長", "身長が入力されていません", "身長未入力",
         kProfileHeight},
        {texts.target, disk::NumberKind::Weight, "目標体重", "目標体重が入力されていません",
         "目標体重未入力", kProfileTarget},
    };
    for (const Check& c : checks) {
        if (disk::isBlankText(c.text))
            return Notice{c.message, c.title, NoticeIcon::Information, c.field};
        if (!disk::readTypedNumber(c.text, c.kind).ok())
            return refusedNumber(c.name, c.kind, c.field);
    }
    if (!disk::isStorableText(texts.nickname))
        return Notice{
            "名前に「\"」（ダブルクォーテーション）・改行・保存できない文字は"
            "使えません。\n\n入力し直してください。",
            "入力エラー", NoticeIcon::Warning, kProfileNickname};
    return std::nullopt;
}

store::PartnerProfile profileFrom(const ProfileTexts& texts) {
    store::PartnerProfile profile;
    profile.nickname = texts.nickname;
    profile.heightCm =
        static_cast<float>(disk::readTypedNumber(texts.height, disk::NumberKind::Positive).value);
    profile.targetWeightKg =
        static_cast<float>(disk::readTypedNumber(texts.target, disk::NumberKind::Weight).value);
    return profile;
}

ProfileTexts profileTexts(const store::PartnerProfile& profile) {
    // 0 is what a missing profile reads as: an empty field asks for the value instead.
    auto number = [](float v) { return v == 0 ? std::string() : text::floatText(v); };
    return {profile.nickname, number(profile.heightCm), number(profile.targetWeightKg)};
}

}  // namespace pairly::settings
