#pragma once
// A Notice of the maintenance logic as the program's message box.
#include "core/settings/new_start.h"
#include "gui/common/app_context.h"

namespace pairly::gui::settings {

inline void showNotice(common::AppContext& ctx, const pairly::settings::Notice& notice) {
    ctx.dialogs.message(QString::fromStdString(notice.text), QString::fromStdString(notice.title),
                        notice.icon == pairly::settings::NoticeIcon::Warning
                            ? widgets::Icon::Warning
                            : widgets::Icon::Information);
}

}  // namespace pairly::gui::settings
