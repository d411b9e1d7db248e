// The measurement log reader: any bytes load without a crash, what was read survives a
// rewrite, and an append after any content reads back as the last record.
#include <cstdint>

#include "fuzz_folder.h"
#include "store/measurement_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    const auto& f = fuzz::folder();
    fuzz::writeOnly("データ1.txt", data, size);
    if (store::loadLog(f, 1).failed()) fuzz::fail("a readable file reads as failed");
    fuzz::roundTrip(
        "データ1.txt", [&] { return store::loadLog(f, 1).records; },
        [&](const auto& records) { return store::rewriteLog(f, 1, records); }, "log records");

    fuzz::writeOnly("データ1.txt", data, size);
    const auto before = store::loadLog(f, 1).records;
    const store::MeasurementRecord extra{"2026/12/07", "起床後", 65.3f, 22.5f, 1450, 8,
                                         48.1f,        -2,       2.9f,  "",    ""};
    if (store::appendRecord(f, 1, extra)) {
        const auto after = store::loadLog(f, 1).records;
        if (after.size() != before.size() + 1 || after.back() != extra)
            fuzz::fail("appended record lost");
        for (std::size_t i = 0; i < before.size(); ++i)
            if (after[i] != before[i]) fuzz::fail("append changed an earlier record");
    } else if (before.size() < store::kMaxRecords) {
        fuzz::fail("append refused");
    }
    return 0;
}
