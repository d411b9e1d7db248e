#pragma once
// The import of predecessor data at start-up, asked through the program's dialogs.
#include "gui/common/app_context.h"

namespace pairly::gui::shell {

// The three checks in their order: the weight-only file "連続体重.txt", then the first
// and second edition's data in partner 1's log.
void runPredecessorImport(common::AppContext& ctx);

}  // namespace pairly::gui::shell
