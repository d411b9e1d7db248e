#pragma once
// A data folder for the fuzz targets: made once per process, one file written per input.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pairly::fuzz {

const std::filesystem::path& folder();
// Replaces the folder's content by one file holding these bytes.
void writeOnly(std::string_view name, const std::uint8_t* data, std::size_t size);
// The bytes of a file of the folder ("" when missing).
std::string bytesOf(std::string_view name);
// Stops the run with a message: a round trip that does not hold is a finding.
[[noreturn]] void fail(const char* what);

// The round trip every reader must pass: what was read, written and read again is written
// again byte for byte and reads as the same values. (The first write may normalise: a
// float keeps at most 7 significant digits, as the file format has it.)
template <class Read, class Write>
void roundTrip(std::string_view file, Read read, Write write, const char* what) {
    const auto first = read();
    if (!write(first)) return;  // the writer refuses what it cannot store
    const std::string once = bytesOf(file);
    const auto second = read();
    if (!write(second)) fail(what);
    if (bytesOf(file) != once) fail(what);
    if (!(read() == second)) fail(what);
}

}  // namespace pairly::fuzz
