// The situation list reader: any bytes, and a round trip of the entries read.
#include <cstdint>

#include "core/store/situation_list.h"
#include "fuzz_folder.h"
#include "support/folder_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    const auto& f = fuzz::folder();
    fuzz::writeOnly("状況リスト.txt", data, size);
    fuzz::roundTrip(
        "状況リスト.txt", [&] { return store::loadSituationList(f); },
        [&](const auto& entries) { return pairly::testing::rewriteSituationList(f, entries); },
        "situation list");
    return 0;
}
