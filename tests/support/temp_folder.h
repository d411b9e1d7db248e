#pragma once
// A fresh data folder per test, removed afterwards, with raw byte access to its files.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::testing {

// Whether a path below the data folder lies in a daily backup (バックアップ/yyyymmdd/…).
bool isDailyBackupPath(const std::string& relative);

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // File names are UTF-8; contents are raw bytes.
    void writeBytes(std::string_view name, std::string_view bytes) const;
    // Encodes UTF-8 text to CP932 first.
    void writeCp932(std::string_view name, std::string_view utf8) const;
    std::string readBytes(std::string_view name) const;  // "" when missing
    std::string readCp932(std::string_view name) const;  // decoded to UTF-8
    bool exists(std::string_view name) const;
    // Names of all files in the folder, sorted; バックアップ is left out while it holds only
    // the daily copies of the data files, which tests of their own check, and so is the
    // folder's lock file.
    std::vector<std::string> fileNames() const;

private:
    std::filesystem::path path_;
};

}  // namespace pairly::testing
