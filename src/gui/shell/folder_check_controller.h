#pragma once
// What a start-up looks at in the data folder before it reads anything: a change of two
// files that a crash stopped half way (finished now), temporary files a crash left behind
// (removed), and the conflict copies a file-sync tool made (named in one message).
#include "gui/common/app_context.h"

namespace pairly::gui::shell {

void checkDataFolder(common::AppContext& ctx);

}  // namespace pairly::gui::shell
