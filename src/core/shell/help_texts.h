#pragma once
// Texts of the help tour: the explanation box of each menu screen, the boxes shown at
// start-up and the on/off messages of the help-tour check box. UTF-8, "\n" line breaks.
#include <array>
#include <string>

namespace pairly::shell {

// The eight menu screens, in the order of the menu row.
enum class Screen { Input, List, Comparison, Analysis, Calendar, Memo, Trend, Settings };
inline constexpr int kScreenCount = 8;

// The explanation box of a screen, shown after switching to it while the tour is on.
const std::string& screenHelpText(Screen screen);

// The three boxes shown one after another at the end of start-up while the tour is on.
const std::array<std::string, 3>& startupHelpTexts();

// Title of every explanation box.
inline constexpr const char* kHelpTourTitle = "ヘルプツアー";

inline constexpr const char* kHelpTourOnText = "ヘルプツアー機能をオンにします。";
inline constexpr const char* kHelpTourOnTitle = "ヘルプツアーＯＮ";
inline constexpr const char* kHelpTourOffText = "ヘルプツアー機能をオフにします。";
inline constexpr const char* kHelpTourOffTitle = "ヘルプツアーＯＦＦ";

// Hint of the check box in the top row.
inline constexpr const char* kHelpTourToolTip = "ヘルプツアーのＯｎ／Ｏｆｆです";

}  // namespace pairly::shell
