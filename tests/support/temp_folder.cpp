#include "support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/store/codec.h"

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
    auto bytes = store::toCp932(utf8);
    if (!bytes) throw std::runtime_error("text has no CP932 form");
    writeBytes(name, *bytes);
}

std::string TempFolder::readBytes(std::string_view name) const {
    std::ifstream in(path_ / std::string(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempFolder::readCp932(std::string_view name) const {
    return store::fromCp932(readBytes(name));
}

bool TempFolder::exists(std::string_view name) const {
    return fs::exists(path_ / std::string(name));
}

std::vector<std::string> TempFolder::fileNames() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pairly::testing
