// The five preference files: the first byte picks the file, the rest is its content. What
// is read stays in range and survives a round trip.
#include <cstdint>

#include "core/store/preferences.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairly;
    if (size == 0) return 0;
    static const char* names[] = {"設定.txt", "体重計刻み.txt", "移動平均.txt", "自動時間.txt",
                                  "マーカー.txt"};
    const int which = data[0] % 5;
    const char* name = names[which];
    fuzz::writeOnly(name, data + 1, size - 1);
    const auto& f = fuzz::folder();
    switch (which) {
        case 0:
            fuzz::roundTrip(
                name, [&] { return store::readHelpTourFlag(f); },
                [&](int v) { return store::writeHelpTourFlag(f, v) == disk::WriteStatus::Ok; },
                "help tour flag");
            break;
        case 1:
            fuzz::roundTrip(
                name,
                [&] {
                    const store::ScaleSteps s = store::readScaleSteps(f);
                    return std::pair(s.weightStep, s.bodyFatStep);
                },
                [&](const auto& s) {
                    return store::writeScaleSteps(f, {s.first, s.second});
                },
                "scale steps");
            break;
        case 2:
            fuzz::roundTrip(
                name, [&] { return store::readMovingAverage(f); },
                [&](const std::string& v) {
                    return store::writeMovingAverage(f, v) == disk::WriteStatus::Ok;
                },
                "moving average");
            break;
        case 3:
            if (const int v = store::readAutoTime(f); v != 0 && v != 1) fuzz::fail("auto time");
            fuzz::roundTrip(
                name, [&] { return store::readAutoTime(f); },
                [&](int v) { return store::writeAutoTime(f, v) == disk::WriteStatus::Ok; },
                "auto time");
            break;
        default:
            if (const int v = store::readMarkerMode(f); v < 0 || v > 2) fuzz::fail("marker mode");
            fuzz::roundTrip(
                name, [&] { return store::readMarkerMode(f); },
                [&](int v) { return store::writeMarkerMode(f, v) == disk::WriteStatus::Ok; },
                "marker mode");
            break;
    }
    return 0;
}
