#pragma once
// What a screen tells after a write that did not simply go through: a file changed by
// another window since it was read, and a change the disk would not confirm.
#include <QClipboard>
#include <QGuiApplication>
#include <string>

#include "core/disk/data_folder.h"
#include "core/disk/file_notices.h"
#include "gui/common/app_context.h"

namespace pairly::gui::common {

inline void warnStale(AppContext& ctx, const std::string& fileName, bool textKept = false) {
    const disk::FileNotice notice = disk::staleFileNotice(fileName, textKept);
    ctx.dialogs.warn(QString::fromStdString(notice.text), QString::fromStdString(notice.title));
}

// True when the new content is in place; one that the disk did not confirm is told here.
inline bool written(AppContext& ctx, disk::WriteStatus status, const std::string& fileName) {
    if (status == disk::WriteStatus::Unsynced) {
        const disk::FileNotice notice = disk::unsyncedNotice(fileName);
        ctx.dialogs.warn(QString::fromStdString(notice.text), QString::fromStdString(notice.title));
    }
    return disk::isWritten(status);
}

// Tells a write that another program's lock or a link stopped (nothing written); false for
// any other status, which the caller tells in its own words.
inline bool tellBlocked(AppContext& ctx, disk::WriteStatus status, const std::string& fileName) {
    const auto notice = disk::blockedWriteNotice(ctx.dataFolder, status, fileName);
    if (!notice) return false;
    ctx.dialogs.warn(QString::fromStdString(notice->text), QString::fromStdString(notice->title));
    return true;
}

// A setting of a check box written to its own file: true when it is in place; otherwise the
// failure is told (in `failureText` unless a lock or a link stopped it) and the caller puts
// the box back to the setting still in force.
inline bool settingWritten(AppContext& ctx, disk::WriteStatus status, const std::string& fileName,
                           const QString& failureText) {
    if (written(ctx, status, fileName)) return true;
    if (!tellBlocked(ctx, status, fileName))
        ctx.dialogs.warn(failureText, QStringLiteral("保存エラー"));
    return false;
}

// The advice closing a message about a failed write, with its full stop.
inline QString writeFailedAdvice() {
    return QString::fromUtf8(disk::kWriteFailedAdvice.data(),
                             static_cast<qsizetype>(disk::kWriteFailedAdvice.size())) +
           QStringLiteral("。");
}

// Text typed but not saved, kept where the user can paste it back.
inline void keepOnClipboard(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

}  // namespace pairly::gui::common
