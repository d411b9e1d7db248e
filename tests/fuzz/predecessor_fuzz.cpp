// The import of predecessor data: the first byte picks the old file (the weight-only file,
// or partner 1's log in an old layout), the rest is its content. Whatever it holds, the
// import never crashes; when it converts, the old bytes are kept whole in the backup and the
// new log reads as the converted records; when it does not, no file changes.
#include <cstdint>
#include <map>
#include <string>

#include "core/exchange/predecessor_import.h"
#include "core/store/measurement_log.h"
#include "fuzz_folder.h"
#include "support/folder_layout.h"

namespace {

// Answers every question with a number, the same each time.
class Answers : public pairly::exchange::ImportPrompter {
public:
    std::string ask(const std::string&, const std::string&) override { return "12"; }
    void warn(const std::string&, const std::string&) override {}
    void inform(const std::string&, const std::string&) override {}
    bool confirm(const std::string&, const std::string&) override { return true; }
};

std::map<std::string, std::string> files() {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(pairly::fuzz::folder()))
        out[e.path().filename().string()] = pairly::fuzz::bytesOf(e.path().filename().string());
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    if (size == 0) return 0;
    const bool weightOnly = data[0] % 2 == 0;
    const std::string name = weightOnly ? "連続体重.txt" : "データ1.txt";
    const std::string old(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::writeOnly(name, data + 1, size - 1);
    const auto before = files();

    Answers answers;
    exchange::runPredecessorImport(fuzz::folder(), answers);

    const auto after = files();
    if (after == before) return 0;
    // Converted: the old data is kept byte for byte under a backup name.
    bool kept = false;
    for (const auto& [file, bytes] : after)
        if (file != "データ1.txt" && bytes == old) kept = true;
    if (!kept) fuzz::fail("old data not kept whole");
    const store::LoadedLog log = store::loadLog(fuzz::folder(), 1);
    if (log.failed()) fuzz::fail("converted log unreadable");
    fuzz::roundTrip(
        "データ1.txt", [&] { return store::loadLog(fuzz::folder(), 1).records; },
        [&](const auto& records) {
            return pairly::testing::rewriteLog(fuzz::folder(), 1, records);
        },
        "converted log");
    return 0;
}
