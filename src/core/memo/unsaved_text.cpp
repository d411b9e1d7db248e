#include "core/memo/unsaved_text.h"

namespace pairly::maintenance {

std::optional<std::string> unsavedTextQuestion(const UnsavedText& unsaved) {
    if (!unsaved.memo && !unsaved.comment) return std::nullopt;
    const std::string what = unsaved.memo && unsaved.comment ? "気付きメモと一言日記"
                             : unsaved.memo                  ? "気付きメモ"
                                                             : "一言日記";
    return what + "の変更が保存されていません。\n\n保存しますか？";
}

}  // namespace pairly::maintenance
