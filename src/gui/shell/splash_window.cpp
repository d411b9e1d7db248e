#include "gui/shell/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "gui/widgets/icons.h"

namespace pairly::gui::shell {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(widgets::naturalSize(widgets::Picture::Splash));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    widgets::paintPicture(painter, QRectF(rect()), widgets::Picture::Splash);
}

}  // namespace pairly::gui::shell
