// What a weighing saved from a phone does on the desktop.
#include <QLabel>
#include <QTimer>

#include "gui/entry/input_screen.h"
#include "gui/phone/phone_service.h"
#include "gui/settings/settings_screen.h"
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
    // The save came in through a queued call: the screen follows once it is answered.
    QTimer::singleShot(0, this, &MainWindow::refreshAfterPhoneSave);
}

void MainWindow::refreshAfterPhoneSave() {
    pairly::shell::Screen shown;
    if (!visibleScreen(&shown)) return;
    const session::Session::Refresh refresh(ctx_.session);
    // What is being typed on the input screen stays; the screen is stale (the data
    // revision moved on) and is filled again when shown anew.
    if (inputScreen_->holdsTypedEntry()) {
        if (shown == pairly::shell::Screen::Input || shown == pairly::shell::Screen::Settings)
            return;
    } else {
        // The day counts beside the partner buttons are the input screen's.
        inputScreen_->refreshIfStale();
        if (shown == pairly::shell::Screen::Input) return;
    }
    MenuScreen& m = menu_[index(shown)];
    if (shown == pairly::shell::Screen::Settings)
        settingsScreen_->refreshForPartner();
    else if (m.refreshForPartner)
        m.refreshForPartner();
    else if (m.prepare)
        m.prepare();
}

}  // namespace pairly::gui::shell
