// The measurement log reader: any bytes load without a crash; what was read (the records
// and the damaged lines at their places) survives a rewrite, the damaged lines byte for
// byte; an append after any content reads back as the last record with nothing before it
// changed; partner 1's log in an old layout is never written.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/store/measurement_log.h"
#include "fuzz_folder.h"
#include "support/folder_layout.h"

namespace {

using namespace pairly;

// What a log holds, without the line numbers (blank lines go in a rewrite) and the line
// end of a damaged last line (which gets one when a line follows it).
struct Shape {
    std::vector<store::MeasurementRecord> records;
    std::vector<std::pair<std::size_t, std::string>> damaged;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const store::LoadedLog& log) {
    Shape shape{log.records, {}};
    for (const store::DamagedLine& line : log.damaged) {
        std::string bytes = line.bytes;
        while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
        shape.damaged.emplace_back(line.before, std::move(bytes));
    }
    return shape;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& f = fuzz::folder();
    const std::string content(reinterpret_cast<const char*>(data), size);
    fuzz::writeOnly("データ1.txt", data, size);
    const store::LoadedLog first = store::loadLog(f, 1);
    if (first.failed()) fuzz::fail("a readable file reads as failed");
    (void)store::damagedLinesNotice(f);
    const store::MeasurementRecord extra{"2026/12/07", "起床後", 65.3f, 22.5f, 1450, 8,
                                         48.1f,        -2,       2.9f,  "",    ""};

    if (first.oldLayout) {
        if (!first.records.empty()) fuzz::fail("an old layout read as records");
        if (pairly::testing::appendRecord(f, 1, extra) ||
            store::writeBackLog(f, 1, first).status != disk::WriteStatus::OldLayout)
            fuzz::fail("an old layout written");
        if (fuzz::bytesOf("データ1.txt") != content) fuzz::fail("an old layout changed");
        return 0;
    }
    const store::LogScan scan = store::scanLog(content);
    if (scan.records != first.records.size() || scan.damaged.size() != first.damaged.size())
        fuzz::fail("the scan and the reader disagree");

    // Written back unchanged, the log holds as many records and the same damaged lines at
    // their places (a record's float may lose digits beyond the seven the format keeps),
    // and a second rewrite changes no byte and no value.
    if (store::writeBackLog(f, 1, first).status == disk::WriteStatus::Ok) {
        const store::LoadedLog second = store::loadLog(f, 1);
        Shape normalised = shapeOf(first);
        normalised.records = second.records;
        if (second.records.size() != first.records.size() || !(shapeOf(second) == normalised))
            fuzz::fail("a rewrite changed the log");
        for (std::size_t i = 0; i < first.damaged.size(); ++i)
            if (second.damaged[i].bytes != first.damaged[i].bytes)
                fuzz::fail("a damaged line changed");
        const std::string once = fuzz::bytesOf("データ1.txt");
        if (store::writeBackLog(f, 1, second).status != disk::WriteStatus::Ok ||
            fuzz::bytesOf("データ1.txt") != once ||
            !(store::loadLog(f, 1).records == second.records))
            fuzz::fail("a second rewrite changed the log");
    }

    fuzz::writeOnly("データ1.txt", data, size);
    if (pairly::testing::appendRecord(f, 1, extra)) {
        Shape after = shapeOf(store::loadLog(f, 1));
        if (after.records.empty() || after.records.back() != extra)
            fuzz::fail("appended record lost");
        after.records.pop_back();
        if (!(after == shapeOf(first))) fuzz::fail("append changed an earlier line");
    } else if (first.records.size() < store::kMaxRecords) {
        fuzz::fail("append refused");
    }
    return 0;
}
