#pragma once
// The one-value preference files. A missing or empty file gives the default.
#include <filesystem>
#include <string>

#include "core/disk/data_folder.h"

namespace pairly::store {

struct ScaleSteps {
    std::string weightStep = "0.1";
    std::string bodyFatStep = "0.1";
};

// The one-value files are written from the value a control holds now, whatever the file
// held before: they are not checked against what was read.

// "設定.txt": "ヘルプツアー",flag (write form). Default 1 (on).
int readHelpTourFlag(const std::filesystem::path& folder);
[[nodiscard]] disk::WriteStatus writeHelpTourFlag(const std::filesystem::path& folder, int flag);

// "体重計刻み.txt": two texts, print form.
ScaleSteps readScaleSteps(const std::filesystem::path& folder);
// The same with the stamp of the bytes read (defaults when missing or failed).
struct LoadedScaleSteps {
    ScaleSteps steps;
    disk::ReadStatus status = disk::ReadStatus::Missing;
    disk::FileStamp stamp;
};
LoadedScaleSteps loadScaleSteps(const std::filesystem::path& folder);
// Without any check (to lay out a folder): true when written and synced.
[[nodiscard]] bool writeScaleSteps(const std::filesystem::path& folder, const ScaleSteps& steps);
// Rewrites one of the two steps and keeps the other, while the file still holds what
// `shown` was read from. Refuses, writing nothing, when the file cannot be read
// (ReadFailed) or holds other bytes (Stale). `steps` and `stamp` are the pair in force
// afterwards and its file: the new pair when written, else what the file holds (what
// the screen showed when it could not be read).
struct ScaleStepUpdate {
    disk::WriteStatus status = disk::WriteStatus::Ok;
    ScaleSteps steps;
    disk::FileStamp stamp;
};
enum class ScaleStepKind { Weight, BodyFat };
ScaleStepUpdate updateScaleStep(const std::filesystem::path& folder, ScaleStepKind kind,
                                const std::string& step, const disk::FileStamp& shown);

// "移動平均.TXT": one text, print form. Default "10".
std::string readMovingAverage(const std::filesystem::path& folder);
[[nodiscard]] disk::WriteStatus writeMovingAverage(const std::filesystem::path& folder,
                                                   const std::string& count);

// "自動時間.TXT": one number, print form (" 1 "). Default 0.
int readAutoTime(const std::filesystem::path& folder);
[[nodiscard]] disk::WriteStatus writeAutoTime(const std::filesystem::path& folder, int value);

// "状況自動.txt": one number, print form (" 1 "), chkAutoSit. Default 0.
int readAutoSituation(const std::filesystem::path& folder);
[[nodiscard]] disk::WriteStatus writeAutoSituation(const std::filesystem::path& folder, int value);

// "マーカー.TXT": one number, write form. Default 0.
int readMarkerMode(const std::filesystem::path& folder);
[[nodiscard]] disk::WriteStatus writeMarkerMode(const std::filesystem::path& folder, int mode);

}  // namespace pairly::store
