#include "support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/disk/codec.h"
#include "core/disk/folder_lock.h"

namespace pairly::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string tmpl = (fs::temp_directory_path() / "pairly-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempFolder::writeBytes(std::string_view name, std::string_view bytes) const {
    std::ofstream out(path_ / std::string(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::writeCp932(std::string_view name, std::string_view utf8) const {
    auto bytes = disk::toCp932(utf8);
    if (!bytes) throw std::runtime_error("text has no CP932 form");
    writeBytes(name, *bytes);
}

std::string TempFolder::readBytes(std::string_view name) const {
    std::ifstream in(path_ / std::string(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempFolder::readCp932(std::string_view name) const {
    return disk::fromCp932(readBytes(name));
}

bool TempFolder::exists(std::string_view name) const {
    return fs::exists(path_ / std::string(name));
}

bool isDailyBackupPath(const std::string& relative) {
    static const std::string folder = "バックアップ/";
    if (relative.compare(0, folder.size(), folder) != 0) return false;
    const std::string rest = relative.substr(folder.size());
    if (rest.size() < 8) return false;
    for (std::size_t i = 0; i < 8; ++i)
        if (rest[i] < '0' || rest[i] > '9') return false;
    // The day's folder (yyyymmdd), its temporary name while it is filled, and what is in them.
    return rest.size() == 8 || rest[8] == '/' || rest.compare(8, 4, ".tmp") == 0;
}

std::vector<std::string> TempFolder::fileNames() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) {
        const std::string name = e.path().filename().string();
        // The lock file holds nothing; it is there once anything was written.
        if (name == disk::kLockFile) continue;
        // A backup folder that holds only the daily copies is not one of the tested files.
        if (name == "バックアップ" && e.is_directory()) {
            bool onlyDaily = true;
            for (const auto& inner : fs::directory_iterator(e.path()))
                onlyDaily =
                    onlyDaily && isDailyBackupPath(name + "/" + inner.path().filename().string());
            if (onlyDaily) continue;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pairly::testing
