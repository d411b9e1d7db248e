#pragma once
// The program's font: Japanese glyphs from one family keep captions evenly sized. The
// window, the screen renders and the layout tests all measure text in it.
namespace pairly::gui::widgets {

// Sets Noto Sans CJK JP at the platform's size as the application font when installed.
void applyProgramFont();

}  // namespace pairly::gui::widgets
