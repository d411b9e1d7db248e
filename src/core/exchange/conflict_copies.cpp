#include "core/exchange/conflict_copies.h"

#include <algorithm>
#include <regex>
#include <system_error>

#include "core/disk/data_folder.h"

namespace pairly::exchange {

namespace {

bool sameIgnoringLatinCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// What a sync tool puts between a file's stem and its extension.
bool isConflictMark(const std::string& mark) {
    // Syncthing: ".sync-conflict-<date>-<time>-<first 7 characters of the device ID>".
    static const std::regex syncthing("\\.sync-conflict-[0-9]{8}-[0-9]{6}-[A-Z0-9]{7}");
    // Dropbox and alike: " (<who>'s conflicted copy <date>)", in English or Japanese.
    static const std::regex copy(" \\(.*([Cc]onflicted [Cc]opy|競合コピー|競合したコピー).*\\)");
    // OneDrive and alike: "-<PC name>", a Windows computer name (letters in capitals,
    // digits and hyphens, up to 15), perhaps numbered.
    static const std::regex pc("-(?=[A-Z0-9-]*[A-Z])[A-Z0-9][A-Z0-9-]{0,14}(-[0-9]{1,3})?");
    return std::regex_match(mark, syncthing) || std::regex_match(mark, copy) ||
           std::regex_match(mark, pc);
}

}  // namespace

std::vector<ConflictCopy> findConflictCopies(const std::vector<std::string>& names) {
    std::vector<ConflictCopy> copies;
    for (const std::string& name : names) {
        for (const char* file : disk::kDataFileNames) {
            const std::string_view original(file);
            const std::size_t dot = original.rfind('.');
            const std::string_view stem = original.substr(0, dot);
            const std::string_view ext = original.substr(dot);
            if (name.size() <= original.size() || name.compare(0, stem.size(), stem) != 0 ||
                !sameIgnoringLatinCase(std::string_view(name).substr(name.size() - ext.size()),
                                       ext))
                continue;
            const std::string mark =
                name.substr(stem.size(), name.size() - stem.size() - ext.size());
            if (isConflictMark(mark)) {
                copies.push_back({name, std::string(original)});
                break;
            }
        }
    }
    return copies;
}

std::vector<ConflictCopy> conflictCopiesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
        if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return findConflictCopies(names);
}

std::string conflictCopiesText(const std::vector<ConflictCopy>& copies) {
    std::string text =
        "データフォルダに、ファイル同期ソフトが作った競合コピーがあります。\n"
        "同じファイルが別のパソコンと同時に変更されたときに作られ、片方の変更はこのコピーにだけ"
        "残っています。\n\n";
    for (const ConflictCopy& c : copies)
        text += "・" + c.copy + "\n　（" + c.original + " の競合コピー）\n";
    text +=
        "\nこのプログラムが読み書きするのは元のファイルだけです。コピーの内容が必要なら、"
        "プログラムを終了してから元のファイルと見比べて書き写し、済んだらコピーを削除してくださ"
        "い。";
    return text;
}

}  // namespace pairly::exchange
