// The partner profile reader: any bytes, and a round trip of what was read.
#include <cstdint>

#include "core/store/partner_profile.h"
#include "fuzz_folder.h"
#include "support/folder_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    const auto& f = fuzz::folder();
    fuzz::writeOnly("ﾌﾟﾗｲﾍﾞｰﾄ1.txt", data, size);
    (void)store::windowTitle(store::loadProfile(f, 1));
    fuzz::roundTrip(
        "ﾌﾟﾗｲﾍﾞｰﾄ1.txt", [&] { return store::loadProfile(f, 1); },
        [&](const store::PartnerProfile& p) { return pairly::testing::saveProfile(f, 1, p); },
        "profile");
    return 0;
}
