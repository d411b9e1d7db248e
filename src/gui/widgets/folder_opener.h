#pragma once
// Opening a folder in the desktop's file manager. Tests put a recorder in its place so
// that nothing opens.
#include <QUrl>
#include <functional>

namespace pairly::gui::widgets {

using FolderOpener = std::function<bool(const QUrl&)>;
// QDesktopServices::openUrl unless replaced.
FolderOpener& folderOpener();

}  // namespace pairly::gui::widgets
