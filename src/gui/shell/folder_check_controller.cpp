#include "gui/shell/folder_check_controller.h"

#include "core/store/change_set.h"
#include "core/store/conflict_copies.h"
#include "core/store/file_notices.h"

namespace pairly::shell {

void checkDataFolder(ui::AppContext& ctx) {
    if (const auto recovery = store::finishInterruptedChange(ctx.dataFolder)) {
        const store::RecoveryNotice notice = store::recoveryNotice(*recovery);
        ctx.dialogs.message(
            QString::fromStdString(notice.text), QString::fromStdString(notice.title),
            notice.warning ? ui::Icon::Warning : ui::Icon::Information, ui::Buttons::Ok);
    }
    if (const auto notice = store::unusableFilesNotice(ctx.dataFolder))
        ctx.dialogs.message(QString::fromStdString(notice->text),
                            QString::fromStdString(notice->title), ui::Icon::Warning,
                            ui::Buttons::Ok);
    const auto copies = store::conflictCopiesIn(ctx.dataFolder);
    if (!copies.empty())
        ctx.dialogs.message(QString::fromStdString(store::conflictCopiesText(copies)),
                            QString::fromUtf8(store::kConflictCopiesTitle), ui::Icon::Warning,
                            ui::Buttons::Ok);
}

}  // namespace pairly::shell
