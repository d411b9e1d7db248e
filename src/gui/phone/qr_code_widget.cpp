#include "gui/phone/qr_code_widget.h"

#include <qrencode.h>

#include <QPainter>
#include <cmath>

namespace pairly::gui::phone {

namespace {
// The white around the code; two modules keep whole-pixel modules large enough to read
// from a screen at the widget's size.
constexpr int kQuietModules = 2;
}  // namespace

QrCodeWidget::QrCodeWidget(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void QrCodeWidget::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    size_ = 0;
    dark_.clear();
    const QByteArray bytes = text.toUtf8();
    if (!bytes.isEmpty()) {
        // A screen does not smudge: level L keeps a link of this length at 29 modules.
        if (QRcode* code = QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_L)) {
            size_ = code->width;
            dark_.resize(static_cast<std::size_t>(size_ * size_));
            for (int i = 0; i < size_ * size_; ++i)
                dark_[static_cast<std::size_t>(i)] = code->data[i] & 1;
            QRcode_free(code);
        }
    }
    setAccessibleDescription(text);
    update();
}

void QrCodeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int side = std::min(width(), height());
    const QRect square((width() - side) / 2, (height() - side) / 2, side, side);
    p.fillRect(square, Qt::white);
    if (size_ == 0) {
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(square.adjusted(0, 0, -1, -1));
        return;
    }
    // Whole device pixels per module, so that no module blurs into its neighbour.
    const int total = size_ + 2 * kQuietModules;
    const qreal ratio = devicePixelRatioF();
    const qreal module = std::max<qreal>(1.0, std::floor(side * ratio / total)) / ratio;
    const qreal origin =
        std::floor(((side - module * total) / 2 + module * kQuietModules) * ratio) / ratio;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x)
            if (dark(x, y))
                p.drawRect(QRectF(square.left() + origin + x * module,
                                  square.top() + origin + y * module, module, module));
}

}  // namespace pairly::gui::phone
