#pragma once

namespace pairly::shell {

// The eight menu screens, in the order of the menu row.
enum class Screen { Input, List, Comparison, Analysis, Calendar, Memo, Trend, Settings };
inline constexpr int kScreenCount = 8;

}  // namespace pairly::shell
