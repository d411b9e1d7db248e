#pragma once
// A Notice of the maintenance logic as the program's message box.
#include "core/settings/new_start.h"
#include "gui/common/app_context.h"

namespace pairly::maintenance {

inline void showNotice(ui::AppContext& ctx, const Notice& notice) {
    ctx.dialogs.message(
        QString::fromStdString(notice.text), QString::fromStdString(notice.title),
        notice.icon == NoticeIcon::Warning ? ui::Icon::Warning : ui::Icon::Information);
}

}  // namespace pairly::maintenance
