// The notes memo: any bytes load, and what was read is saved and read back unchanged.
#include <cstdint>

#include "fuzz_folder.h"
#include "core/store/notes_memo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    const auto& f = fuzz::folder();
    fuzz::writeOnly(store::kMemoFileName, data, size);
    if (store::loadMemo(f).failed()) fuzz::fail("a readable memo reads as failed");
    fuzz::roundTrip(
        store::kMemoFileName, [&] { return store::loadMemo(f).text; },
        [&](const std::string& text) { return store::saveMemo(f, text); }, "memo");
    return 0;
}
