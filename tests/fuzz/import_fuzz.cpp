// The import reader: any bytes read without a crash, as either partner. Rows that can be
// merged are storable records of real days; merged into an empty log they are all taken
// (but for repeats) in date order, and the log written from them reads back as written.
// Rows of real days with a weight go through the CSV export and back as the log has them.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"
#include "core/text/dates.h"
#include "fuzz_folder.h"

namespace {

using namespace pairly;
const text::Date kToday{2026, 12, 7};

void check(std::string_view bytes, int partner) {
    const exchange::ImportRead read = exchange::readImportBytes(bytes, kToday, partner);
    if (read.usable() != exchange::importProblemText(read).empty())
        fuzz::fail("a problem text does not match the read");
    if (!read.usable()) return;
    bool exportable = true;
    for (const store::MeasurementRecord& r : read.rows) {
        if (!store::isStorableRecord(r)) fuzz::fail("an unstorable row");
        const bool realDay = text::parseDate(r.date).has_value();
        if (read.format != exchange::ImportFormat::Log && (!realDay || !(r.weight > 0)))
            fuzz::fail("a CSV row without a day or a weight");
        if (!realDay || !(r.weight > 0) || !std::isfinite(r.weight)) exportable = false;
    }
    exchange::MergeResult counts;
    const store::LoadedLog merged = exchange::mergedLog({}, read.rows, counts);
    if (counts.taken + counts.skipped != read.rows.size() || merged.records.size() != counts.taken)
        fuzz::fail("rows lost in the merge");
    for (std::size_t i = 1; i < merged.records.size(); ++i)
        if (merged.records[i].date < merged.records[i - 1].date)
            fuzz::fail("merged out of date order");
    // The first write may round a float to the seven digits the format keeps; after it,
    // what is written reads back as it is.
    const auto once = store::logBytes(merged);
    if (!once) fuzz::fail("merged rows cannot be written");
    const store::LoadedLog written = store::parseLog(*once);
    if (written.records.size() != merged.records.size() || !written.damaged.empty() ||
        store::logBytes(written) != once)
        fuzz::fail("the merged log does not read back");

    if (!exportable) return;
    exchange::CsvPartner partner1{"", written.records};
    for (store::MeasurementRecord& r : partner1.records) r.reserved.clear();
    const exchange::ImportRead back =
        exchange::readImportBytes(exchange::csvBytes(partner1, {}), kToday, 1);
    if (!(back.rows == partner1.records)) fuzz::fail("an export does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(bytes, 1);
    check(bytes, 2);
    return 0;
}
