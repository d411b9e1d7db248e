#pragma once
// The five one-value preference files. A missing or empty file gives the default.
#include <filesystem>
#include <string>

#include "store/data_folder.h"

namespace pairly::store {

struct ScaleSteps {
    std::string weightStep = "0.1";
    std::string bodyFatStep = "0.1";
};

// "設定.txt": "ヘルプツアー",flag (write form). Default 1 (on).
int readHelpTourFlag(const std::filesystem::path& folder);
[[nodiscard]] bool writeHelpTourFlag(const std::filesystem::path& folder, int flag);

// "体重計刻み.txt": two texts, print form.
ScaleSteps readScaleSteps(const std::filesystem::path& folder);
[[nodiscard]] bool writeScaleSteps(const std::filesystem::path& folder, const ScaleSteps& steps);
// Rewrites one of the two steps and keeps the other as the file holds it; refuses
// (ReadFailed, nothing written) when the file exists but cannot be read. Otherwise `steps`
// is the pair in force afterwards (as read when the write failed).
struct ScaleStepUpdate {
    WriteStatus status = WriteStatus::Ok;
    ScaleSteps steps;
};
enum class ScaleStepKind { Weight, BodyFat };
ScaleStepUpdate updateScaleStep(const std::filesystem::path& folder, ScaleStepKind kind,
                                const std::string& step);

// "移動平均.TXT": one text, print form. Default "10".
std::string readMovingAverage(const std::filesystem::path& folder);
[[nodiscard]] bool writeMovingAverage(const std::filesystem::path& folder,
                                      const std::string& count);

// "自動時間.TXT": one number, print form (" 1 "). Default 0.
int readAutoTime(const std::filesystem::path& folder);
[[nodiscard]] bool writeAutoTime(const std::filesystem::path& folder, int value);

// "マーカー.TXT": one number, write form. Default 0.
int readMarkerMode(const std::filesystem::path& folder);
[[nodiscard]] bool writeMarkerMode(const std::filesystem::path& folder, int mode);

}  // namespace pairly::store
