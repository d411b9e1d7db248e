#include "core/store/partner_profile.h"

#include "core/store/codec.h"
#include "core/store/data_folder.h"
#include "core/store/fields.h"
#include "core/text/numbers.h"

namespace pairly::store {

std::string profileFileName(int slot) { return "ﾌﾟﾗｲﾍﾞｰﾄ" + std::to_string(slot) + ".txt"; }

namespace {

PartnerProfile profileFrom(const std::string& content) {
    PartnerProfile profile;
    // Values are taken by position; the labels are not looked at.
    FieldReader reader(content);
    if (!reader.next()) return profile;
    auto nickname = reader.next();
    if (!nickname) return profile;
    profile.nickname = *nickname;
    if (!reader.next()) return profile;
    auto height = reader.next();
    if (!height) return profile;
    profile.heightCm = fieldFloat(*height);
    if (!reader.next()) return profile;
    auto target = reader.next();
    if (!target) return profile;
    profile.targetWeightKg = fieldFloat(*target);
    return profile;
}

}  // namespace

LoadedProfile readProfile(const std::filesystem::path& folder, int slot) {
    const FileText file = readFile(folder, profileFileName(slot));
    return {profileFrom(file.text), file.status, file.stamp};
}

PartnerProfile loadProfile(const std::filesystem::path& folder, int slot) {
    return readProfile(folder, slot).profile;
}

std::optional<std::string> profileFileBytes(const PartnerProfile& profile) {
    if (!isStorableText(profile.nickname)) return std::nullopt;
    return toCp932(writeLine({quoted("氏名"), quoted(profile.nickname)}) +
                   writeLine({quoted("身長"), text::floatText(profile.heightCm)}) +
                   writeLine({quoted("目標体重"), text::floatText(profile.targetWeightKg)}));
}

WriteResult saveProfile(const std::filesystem::path& folder, int slot,
                        const PartnerProfile& profile, const FileStamp& shown) {
    const auto bytes = profileFileBytes(profile);
    if (!bytes) return {WriteStatus::Refused, {}};
    return rewriteIfUnchanged(folder, profileFileName(slot), *bytes, shown);
}

bool saveProfile(const std::filesystem::path& folder, int slot, const PartnerProfile& profile) {
    const auto bytes = profileFileBytes(profile);
    return bytes && rewriteUnderLock(folder, profileFileName(slot), *bytes) == WriteStatus::Ok;
}

std::string windowTitle(const PartnerProfile& profile) {
    if (profile.nickname.empty()) return " ペアリー☆ログ";
    return " " + profile.nickname + " のデータ";
}

std::string partnerCaption(const PartnerProfile& profile, int slot) {
    if (!profile.nickname.empty()) return profile.nickname;
    return slot == 2 ? "パートナー２" : "パートナー１";
}

}  // namespace pairly::store
