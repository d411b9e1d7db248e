#include "core/store/notes_memo.h"

#include <algorithm>

#include "core/disk/codec.h"
#include "core/disk/fields.h"

namespace pairly::store {

namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string memoFromFileText(std::string_view content) {
    std::string text;
    text.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r') {
            if (i + 1 < content.size() && content[i + 1] == '\n') ++i;
            text += '\n';
        } else {
            text += c;
        }
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

std::string memoFileText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            // A CR LF pair (or a lone CR) in the text is one line break.
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    out += "\r\n";
    return out;
}

MemoText loadMemo(const std::filesystem::path& folder) {
    disk::FileText file = disk::readFile(folder, kMemoFileName);
    MemoText memo;
    memo.status = file.status;
    memo.text = memoFromFileText(file.text);
    memo.stamp = file.stamp;
    return memo;
}

disk::WriteResult saveMemo(const std::filesystem::path& folder, std::string_view text,
                           const disk::FileStamp& shown) {
    const std::optional<std::string> bytes = disk::toCp932(memoFileText(text));
    if (!bytes) return {disk::WriteStatus::Refused, {}};
    return disk::rewriteIfUnchanged(folder, kMemoFileName, *bytes, shown);
}

bool saveMemo(const std::filesystem::path& folder, std::string_view text) {
    return disk::safeRewrite(folder, kMemoFileName, memoFileText(text));
}

std::optional<std::string> firstCharWithoutCp932Form(std::string_view text) {
    if (disk::hasCp932Form(text)) return std::nullopt;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view ch = text.substr(i, n);
        if (!disk::toCp932(ch)) return std::string(ch);
        i += n;
    }
    // Every character has a form, but a kept byte pairs with its neighbour: name it.
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        if (disk::hasKeptByte(text.substr(i, n))) return std::string(text.substr(i, n));
        i += n;
    }
    return std::nullopt;
}

}  // namespace pairly::store
