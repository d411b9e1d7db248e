#include "core/store/partner_profile.h"

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/text/numbers.h"

namespace pairly::store {

std::string profileFileName(int slot) { return "ﾌﾟﾗｲﾍﾞｰﾄ" + std::to_string(slot) + ".txt"; }

namespace {

PartnerProfile profileFrom(const std::string& content) {
    PartnerProfile profile;
    // Values are taken by position; the labels are not looked at.
    disk::FieldReader reader(content);
    if (!reader.next()) return profile;
    auto nickname = reader.next();
    if (!nickname) return profile;
    profile.nickname = *nickname;
    if (!reader.next()) return profile;
    auto height = reader.next();
    if (!height) return profile;
    profile.heightCm = disk::fieldFloat(*height);
    if (!reader.next()) return profile;
    auto target = reader.next();
    if (!target) return profile;
    profile.targetWeightKg = disk::fieldFloat(*target);
    return profile;
}

}  // namespace

LoadedProfile readProfile(const std::filesystem::path& folder, int slot) {
    const disk::FileText file = disk::readFile(folder, profileFileName(slot));
    return {profileFrom(file.text), file.status, file.stamp};
}

PartnerProfile loadProfile(const std::filesystem::path& folder, int slot) {
    return readProfile(folder, slot).profile;
}

std::optional<std::string> profileFileBytes(const PartnerProfile& profile) {
    if (!disk::isStorableText(profile.nickname)) return std::nullopt;
    return disk::toCp932(
        disk::writeLine({disk::quoted("氏名"), disk::quoted(profile.nickname)}) +
        disk::writeLine({disk::quoted("身長"), text::floatText(profile.heightCm)}) +
        disk::writeLine({disk::quoted("目標体重"), text::floatText(profile.targetWeightKg)}));
}

disk::WriteResult saveProfile(const std::filesystem::path& folder, int slot,
                              const PartnerProfile& profile, const disk::FileStamp& shown) {
    const auto bytes = profileFileBytes(profile);
    if (!bytes) return {disk::WriteStatus::Refused, {}};
    return disk::rewriteIfUnchanged(folder, profileFileName(slot), *bytes, shown);
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
