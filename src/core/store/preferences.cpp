#include "core/store/preferences.h"

#include <optional>
#include <vector>

#include "core/disk/codec.h"
#include "core/disk/data_folder.h"
#include "core/disk/fields.h"
#include "core/text/numbers.h"

namespace pairly::store {

namespace {

constexpr const char* kSettingsFile = "設定.txt";
constexpr const char* kStepsFile = "体重計刻み.txt";
constexpr const char* kMovingAverageFile = "移動平均.TXT";
constexpr const char* kAutoTimeFile = "自動時間.TXT";
constexpr const char* kAutoSituationFile = "状況自動.txt";
constexpr const char* kMarkerFile = "マーカー.TXT";

// Print-form files hold one item per line, written as it is; they are read by line so
// that a typed text with a comma stays on its own line instead of becoming two values.
// A line written in quotes (by another writer) loses its quotes.
std::vector<std::string> printFormItems(const std::string& content) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(pos, end - pos);
        const std::size_t first = line.find_first_not_of(" \t");
        const std::size_t last = line.find_last_not_of(" \t");
        line = first == std::string::npos ? "" : line.substr(first, last - first + 1);
        if (!line.empty() && line.front() == '"') {
            const std::size_t close = line.find('"', 1);
            line = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            // Blanks inside the quotes go too, as they would without them.
            const std::size_t from = line.find_first_not_of(" \t");
            const std::size_t to = line.find_last_not_of(" \t");
            line = from == std::string::npos ? "" : line.substr(from, to - from + 1);
        }
        items.push_back(line);
        pos = end;
        if (pos < content.size() && content[pos] == '\r') ++pos;
        if (pos < content.size() && content[pos] == '\n') ++pos;
    }
    return items;
}

std::optional<std::string> printFormItem(const std::filesystem::path& folder, const char* name,
                                         std::size_t index) {
    const auto content = disk::readTextFile(folder, name);
    if (!content) return std::nullopt;
    const auto items = printFormItems(*content);
    if (index >= items.size() || items[index].empty()) return std::nullopt;
    return items[index];
}

std::optional<std::string> writeFormField(const std::filesystem::path& folder, const char* name,
                                          int index) {
    const auto content = disk::readTextFile(folder, name);
    if (!content) return std::nullopt;
    disk::FieldReader reader(*content);
    std::optional<std::string> field;
    for (int i = 0; i <= index; ++i) {
        field = reader.next();
        if (!field) return std::nullopt;
    }
    return field;
}

// Print-form texts cannot hold a line break; a quote would be taken for one on reading.
bool isPrintableItem(const std::string& text) { return disk::isStorableText(text); }

}  // namespace

int readHelpTourFlag(const std::filesystem::path& folder) {
    const auto flag = writeFormField(folder, kSettingsFile, 1);
    return flag ? disk::fieldInt16(*flag) : 1;
}

disk::WriteStatus writeHelpTourFlag(const std::filesystem::path& folder, int flag) {
    return disk::rewriteText(folder, kSettingsFile,
                             disk::writeLine({disk::quoted("ヘルプツアー"), std::to_string(flag)}));
}

namespace {

ScaleSteps stepsFrom(const std::string& content) {
    ScaleSteps steps;
    const auto items = printFormItems(content);
    if (items.size() > 0 && !items[0].empty()) steps.weightStep = items[0];
    if (items.size() > 1 && !items[1].empty()) steps.bodyFatStep = items[1];
    return steps;
}

}  // namespace

LoadedScaleSteps loadScaleSteps(const std::filesystem::path& folder) {
    const disk::FileText file = disk::readFile(folder, kStepsFile);
    LoadedScaleSteps loaded;
    loaded.status = file.status;
    loaded.stamp = file.stamp;
    if (file.status == disk::ReadStatus::Ok) loaded.steps = stepsFrom(file.text);
    return loaded;
}

ScaleSteps readScaleSteps(const std::filesystem::path& folder) {
    return loadScaleSteps(folder).steps;
}

namespace {

std::string stepsText(const ScaleSteps& steps) {
    return disk::printFormText(steps.weightStep) + disk::printFormText(steps.bodyFatStep);
}

}  // namespace

bool writeScaleSteps(const std::filesystem::path& folder, const ScaleSteps& steps) {
    if (!isPrintableItem(steps.weightStep) || !isPrintableItem(steps.bodyFatStep)) return false;
    return disk::safeRewrite(folder, kStepsFile, stepsText(steps));
}

ScaleStepUpdate updateScaleStep(const std::filesystem::path& folder, ScaleStepKind kind,
                                const std::string& step, const disk::FileStamp& shown) {
    ScaleStepUpdate update;
    LoadedScaleSteps file = loadScaleSteps(folder);
    if (disk::isReadFailure(file.status)) {
        update.status = file.status == disk::ReadStatus::Unusable ? disk::WriteStatus::Unusable
                                                                  : disk::WriteStatus::ReadFailed;
        return update;
    }
    update.steps = file.steps;
    update.stamp = file.stamp;
    if (!disk::stillHolds(shown, file.stamp)) {
        update.status = disk::WriteStatus::Stale;
        return update;
    }
    ScaleSteps next = file.steps;
    (kind == ScaleStepKind::Weight ? next.weightStep : next.bodyFatStep) = step;
    const std::optional<std::string> bytes =
        isPrintableItem(step) ? disk::toCp932(stepsText(next)) : std::nullopt;
    if (!bytes) {
        update.status = disk::WriteStatus::Refused;
        return update;
    }
    const disk::WriteResult written = rewriteIfUnchanged(folder, kStepsFile, *bytes, shown);
    update.status = written.status;
    if (written.written()) {
        update.steps = next;
        update.stamp = written.stamp;
    } else if (written.status == disk::WriteStatus::Stale) {
        // Changed between the read and the write: what it holds now.
        file = loadScaleSteps(folder);
        update.steps = file.steps;
        update.stamp = file.stamp;
    }
    return update;
}

std::string readMovingAverage(const std::filesystem::path& folder) {
    return printFormItem(folder, kMovingAverageFile, 0).value_or("10");
}

disk::WriteStatus writeMovingAverage(const std::filesystem::path& folder,
                                     const std::string& count) {
    if (!isPrintableItem(count)) return disk::WriteStatus::Refused;
    return disk::rewriteText(folder, kMovingAverageFile, disk::printFormText(count));
}

int readAutoTime(const std::filesystem::path& folder) {
    const auto value = printFormItem(folder, kAutoTimeFile, 0);
    // The file holds a check box value; anything but 0 means checked.
    return value && text::leadingNumber(*value) != 0 ? 1 : 0;
}

disk::WriteStatus writeAutoTime(const std::filesystem::path& folder, int value) {
    return disk::rewriteText(folder, kAutoTimeFile, disk::printFormNumber(std::to_string(value)));
}

int readAutoSituation(const std::filesystem::path& folder) {
    const auto value = printFormItem(folder, kAutoSituationFile, 0);
    return value && text::leadingNumber(*value) != 0 ? 1 : 0;
}

disk::WriteStatus writeAutoSituation(const std::filesystem::path& folder, int value) {
    return disk::rewriteText(folder, kAutoSituationFile,
                             disk::printFormNumber(std::to_string(value)));
}

int readMarkerMode(const std::filesystem::path& folder) {
    const auto field = writeFormField(folder, kMarkerFile, 0);
    if (!field) return 0;
    const int mode = disk::fieldInt16(*field);
    return mode >= 0 && mode <= 2 ? mode : 0;
}

disk::WriteStatus writeMarkerMode(const std::filesystem::path& folder, int mode) {
    return disk::rewriteText(folder, kMarkerFile, disk::writeLine({std::to_string(mode)}));
}

}  // namespace pairly::store
