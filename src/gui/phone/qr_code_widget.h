#pragma once
// A QR code of a link (libqrencode), drawn black on white with its quiet zone, as large as
// the widget allows and crisp at any scale.
#include <QWidget>
#include <vector>

namespace pairly::gui::phone {

class QrCodeWidget : public QWidget {
    Q_OBJECT
public:
    explicit QrCodeWidget(QWidget* parent = nullptr);
    // An empty text shows an empty square.
    void setText(const QString& text);
    const QString& text() const { return text_; }
    // Modules per side (0 without a code).
    int modules() const { return size_; }
    bool dark(int x, int y) const { return dark_[static_cast<std::size_t>(y * size_ + x)]; }

    QSize sizeHint() const override { return {100, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    int size_ = 0;
    std::vector<bool> dark_;
};

}  // namespace pairly::gui::phone
