#include "gui/widgets/elided_label.h"

#include <QEvent>
#include <algorithm>

#include "gui/widgets/elided_text.h"

namespace pairly::gui::widgets {

ElidedLabel::ElidedLabel(int maximumTextWidth, QWidget* parent)
    : QLabel(parent), maximumTextWidth_(maximumTextWidth) {
    // A nickname such as "<b>" is a name, not markup.
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setCaption(const QString& caption) {
    caption_ = caption;
    elide();
    updateGeometry();
}

int ElidedLabel::extraWidth() const {
    const QMargins m = contentsMargins();
    return m.left() + m.right() + 2 * margin();
}

// From the whole caption, not the cut text shown, so that cutting never feeds back into
// the room the layout gives.
QSize ElidedLabel::sizeHint() const {
    const int text = boundedWidth(fontMetrics(), caption_, maximumTextWidth_);
    return {text + extraWidth(), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    const int text = std::min(fontMetrics().horizontalAdvance(QChar(0x2026)), maximumTextWidth_);
    return {text + extraWidth(), QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A style sheet or font set later changes the room and the width of the text.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) elide();
}

void ElidedLabel::elide() {
    // Until a layout has given the label its size, the room is the most it asks for.
    int room = maximumTextWidth_;
    if (testAttribute(Qt::WA_Resized)) room = std::min(room, contentsRect().width() - 2 * margin());
    const QString shown = elideToRoom(fontMetrics(), caption_, room);
    if (shown != text()) setText(shown);
    setToolTip(shown == caption_ ? QString() : boundedText(caption_, kTipTextChars));
}

}  // namespace pairly::gui::widgets
