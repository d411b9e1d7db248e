#include "gui/shell/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "gui/widgets/icons.h"

namespace pairly::shell {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(ui::naturalSize(ui::Picture::Splash));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    ui::paintPicture(painter, QRectF(rect()), ui::Picture::Splash);
}

}  // namespace pairly::shell
