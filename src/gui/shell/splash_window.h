#pragma once
// The start-up picture, shown without a frame while the main window is prepared.
#include <QWidget>

namespace pairly::gui::shell {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pairly::gui::shell
