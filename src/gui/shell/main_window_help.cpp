// The help tour's boxes and the help document's window.
#include "core/store/preferences.h"
#include "gui/common/write_notice.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/help_viewer.h"

namespace pairly::gui::shell {

void MainWindow::DSP_HELP() { common::showHelpTour(ctx_, QString::fromStdString(helpText_)); }

void MainWindow::explain(const std::string& text) {
    setHelpText(text);
    DSP_HELP();
}

void MainWindow::onHelpTourToggled(bool checked) {
    if (ctx_.startupInProgress) return;
    if (checked) {
        ctx_.dialogs.inform(QString::fromUtf8(pairly::shell::kHelpTourOnText),
                            QString::fromUtf8(pairly::shell::kHelpTourOnTitle));
        ctx_.helpTourFlag = 1;
    } else {
        ctx_.dialogs.inform(QString::fromUtf8(pairly::shell::kHelpTourOffText),
                            QString::fromUtf8(pairly::shell::kHelpTourOffTitle));
        ctx_.helpTourFlag = 0;
    }
    const disk::WriteStatus status = store::writeHelpTourFlag(ctx_.dataFolder, ctx_.helpTourFlag);
    if (!common::written(ctx_, status, "設定.txt") &&
        !common::tellBlocked(ctx_, status, "設定.txt")) {
        ctx_.dialogs.warn(QStringLiteral("設定.txt に書き込めませんでした。\n"
                                         "この設定は次回の起動時には元に戻ります。"),
                          QString::fromUtf8(pairly::shell::kHelpTourTitle));
    }
}

void MainWindow::openHelp() {
    if (!helpViewer_) helpViewer_ = new widgets::HelpViewer(this);
    helpViewer_->showNormal();
    helpViewer_->raise();
    helpViewer_->activateWindow();
}

widgets::HelpViewer* MainWindow::helpViewer() const { return helpViewer_.data(); }

void MainWindow::closeHelpWindows() {
    if (helpViewer_) helpViewer_->close();
}

}  // namespace pairly::gui::shell
