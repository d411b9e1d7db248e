#include "core/memo/unsaved_text.h"

#include <utility>

namespace pairly::memo {

std::optional<std::string> unsavedTextQuestion(const UnsavedText& unsaved) {
    std::string what;
    const std::pair<bool, const char*> parts[] = {{unsaved.memo, "気付きメモ"},
                                                  {unsaved.comment, "一言日記"},
                                                  {unsaved.correction, "測定値"}};
    for (const auto& [unsavedPart, name] : parts) {
        if (!unsavedPart) continue;
        if (!what.empty()) what += "と";
        what += name;
    }
    if (what.empty()) return std::nullopt;
    return what + "の変更が保存されていません。\n\n保存しますか？";
}

}  // namespace pairly::memo
