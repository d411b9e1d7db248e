#include "gui/shell/folder_check_controller.h"

#include "core/disk/change_set.h"
#include "core/disk/file_notices.h"
#include "core/exchange/conflict_copies.h"

namespace pairly::gui::shell {

void checkDataFolder(common::AppContext& ctx) {
    if (const auto recovery = disk::finishInterruptedChange(ctx.dataFolder)) {
        const disk::RecoveryNotice notice = disk::recoveryNotice(*recovery);
        ctx.dialogs.message(QString::fromStdString(notice.text),
                            QString::fromStdString(notice.title),
                            notice.warning ? widgets::Icon::Warning : widgets::Icon::Information,
                            widgets::Buttons::Ok);
    }
    if (const auto notice = disk::unusableFilesNotice(ctx.dataFolder))
        ctx.dialogs.message(QString::fromStdString(notice->text),
                            QString::fromStdString(notice->title), widgets::Icon::Warning,
                            widgets::Buttons::Ok);
    const auto copies = exchange::conflictCopiesIn(ctx.dataFolder);
    if (!copies.empty())
        ctx.dialogs.message(QString::fromStdString(exchange::conflictCopiesText(copies)),
                            QString::fromUtf8(exchange::kConflictCopiesTitle),
                            widgets::Icon::Warning, widgets::Buttons::Ok);
}

}  // namespace pairly::gui::shell
