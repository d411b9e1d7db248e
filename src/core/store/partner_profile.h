#pragma once
// The partner profile: "ﾌﾟﾗｲﾍﾞｰﾄ1.txt" / "ﾌﾟﾗｲﾍﾞｰﾄ2.txt", three label/value lines.
#include <filesystem>
#include <optional>
#include <string>

#include "core/disk/data_folder.h"

namespace pairly::store {

struct PartnerProfile {
    std::string nickname;
    float heightCm = 0;
    float targetWeightKg = 0;
    bool operator==(const PartnerProfile&) const = default;
};

std::string profileFileName(int slot);

// A missing or short file gives the values read so far and defaults for the rest.
PartnerProfile loadProfile(const std::filesystem::path& folder, int slot);
// The same with how the read went: on a failure the values are what could be read, to
// show but not to be taken for the partner's own.
struct LoadedProfile {
    PartnerProfile profile;
    disk::ReadStatus status = disk::ReadStatus::Missing;
    disk::FileStamp stamp;  // of the bytes the values came from
    bool failed() const { return disk::isReadFailure(status); }
};
LoadedProfile readProfile(const std::filesystem::path& folder, int slot);
// The file's CP932 bytes; nullopt when the nickname cannot be stored.
std::optional<std::string> profileFileBytes(const PartnerProfile& profile);
// Rewrites the profile, only while the file still holds what `shown` was read from.
[[nodiscard]] disk::WriteResult saveProfile(const std::filesystem::path& folder, int slot,
                                            const PartnerProfile& profile,
                                            const disk::FileStamp& shown);

// " <nickname> のデータ", or " ペアリー☆ログ" when the nickname is empty.
std::string windowTitle(const PartnerProfile& profile);
// The partner's name on its button and on the comparison: the nickname, or "パートナー１" /
// "パートナー２" while it is empty, so that there is always something to press.
std::string partnerCaption(const PartnerProfile& profile, int slot);

}  // namespace pairly::store
