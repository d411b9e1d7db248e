// What a weighing saved from a phone does on the desktop.
#include <QLabel>
#include <QTimer>

#include "gui/shell/main_window.h"
#include "gui/widgets/overlay.h"

namespace pairly::gui::shell {

namespace {
constexpr int kPhoneWordMs = 8000;
}

void MainWindow::followPhoneSave(const QString& nickname, const QTime& time) {
    // A status line over the bottom edge for a few seconds: it takes no room from the
    // screens, which fill the window.
    if (!phoneWord_) {
        phoneWord_ = new QLabel(this);
        phoneWord_->setObjectName("lblPhoneStatus");
        phoneWord_->setStyleSheet(
            QStringLiteral("background: rgb(255, 255, 224); border: 1px solid rgb(160, 160, 160); "
                           "padding: 4px 10px"));
        widgets::markAsOverlay(phoneWord_);
        auto* timer = new QTimer(phoneWord_);
        timer->setSingleShot(true);
        timer->setInterval(kPhoneWordMs);
        connect(timer, &QTimer::timeout, phoneWord_, &QLabel::hide);
    }
    phoneWord_->setText(QStringLiteral("スマホから記録しました（%1 %2）")
                            .arg(nickname, time.toString(QStringLiteral("hh:mm"))));
    phoneWord_->adjustSize();
    phoneWord_->move(4, height() - phoneWord_->height() - 4);
    phoneWord_->raise();
    phoneWord_->show();
    phoneWord_->findChild<QTimer*>()->start();
}

}  // namespace pairly::gui::shell
