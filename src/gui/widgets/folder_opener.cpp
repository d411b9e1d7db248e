#include "gui/widgets/folder_opener.h"

#include <QDesktopServices>

namespace pairly::gui::widgets {

FolderOpener& folderOpener() {
    static FolderOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

}  // namespace pairly::gui::widgets
