#include "gui/widgets/elided_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "gui/widgets/elided_text.h"

namespace pairly::gui::widgets {

namespace {
constexpr int kMarkWidth = 3;
}  // namespace

ElidedButton::ElidedButton(int maximumCaptionWidth, QWidget* parent)
    : ChoiceButton(QString(), parent), maximumCaptionWidth_(maximumCaptionWidth) {}

void ElidedButton::setCaption(const QString& caption) {
    caption_ = caption;
    setToolTip(widgets::boundedText(caption, widgets::kTipTextChars));
    elide();
    updateGeometry();
}

int ElidedButton::padding() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QSize bare(0, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, bare, this).width();
}

QSize ElidedButton::sizeHint() const {
    // From the whole caption, not the elided text shown, so that eliding never feeds back
    // into the room the layout gives.
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = caption_;
    const int text = widgets::boundedWidth(fontMetrics(), caption_, maximumCaptionWidth_);
    const QSize contents(text, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
}

void ElidedButton::resizeEvent(QResizeEvent* event) {
    ChoiceButton::resizeEvent(event);
    elide();
}

void ElidedButton::setMark(const QColor& colour) {
    mark_ = colour;
    QFont bold = font();
    bold.setBold(colour.isValid());
    setFont(bold);
    elide();
    updateGeometry();
    update();
}

void ElidedButton::paintEvent(QPaintEvent* event) {
    ChoiceButton::paintEvent(event);
    if (!mark_.isValid()) return;
    // Drawn over the style's face, so the face keeps its colour and its look.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(mark_, kMarkWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kMarkWidth / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 3, 3);
}

void ElidedButton::elide() {
    const int room = std::min(width() - padding(), maximumCaptionWidth_);
    setText(widgets::elideToRoom(fontMetrics(), caption_, room));
}

}  // namespace pairly::gui::widgets
