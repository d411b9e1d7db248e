#pragma once
// What a screen tells after a write that did not simply go through: a file changed by
// another window since it was read, and a change the disk would not confirm.
#include <QClipboard>
#include <QGuiApplication>
#include <string>

#include "core/store/data_folder.h"
#include "core/store/file_notices.h"
#include "gui/common/app_context.h"

namespace pairly::ui {

inline void warnStale(AppContext& ctx, const std::string& fileName, bool textKept = false) {
    const store::FileNotice notice = store::staleFileNotice(fileName, textKept);
    ctx.dialogs.warn(QString::fromStdString(notice.text), QString::fromStdString(notice.title));
}

// True when the new content is in place; one that the disk did not confirm is told here.
inline bool written(AppContext& ctx, store::WriteStatus status, const std::string& fileName) {
    if (status == store::WriteStatus::Unsynced) {
        const store::FileNotice notice = store::unsyncedNotice(fileName);
        ctx.dialogs.warn(QString::fromStdString(notice.text), QString::fromStdString(notice.title));
    }
    return store::isWritten(status);
}

// Tells a write that another program's lock or a link stopped (nothing written); false for
// any other status, which the caller tells in its own words.
inline bool tellBlocked(AppContext& ctx, store::WriteStatus status, const std::string& fileName) {
    const auto notice = store::blockedWriteNotice(ctx.dataFolder, status, fileName);
    if (!notice) return false;
    ctx.dialogs.warn(QString::fromStdString(notice->text), QString::fromStdString(notice->title));
    return true;
}

// Text typed but not saved, kept where the user can paste it back.
inline void keepOnClipboard(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

}  // namespace pairly::ui
