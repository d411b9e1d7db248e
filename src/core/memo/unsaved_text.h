#pragma once
// Text typed on the one-line diary screen and not saved yet, asked about before the
// program ends.
#include <optional>
#include <string>

namespace pairly::memo {

struct UnsavedText {
    bool memo = false;        // the notes memo differs from what was loaded or last saved
    bool comment = false;     // the comment box differs from the comment of its row
    bool correction = false;  // the open correction panel differs from its weighing
};

// The question asked when the program ends with unsaved text, naming what is unsaved and
// ending in "保存しますか？"; nullopt when nothing is unsaved. Title kUnsavedTextTitle,
// buttons Yes, No and Cancel.
std::optional<std::string> unsavedTextQuestion(const UnsavedText& unsaved);
inline constexpr char kUnsavedTextTitle[] = "終了確認";

}  // namespace pairly::memo
