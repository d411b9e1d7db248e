#include "gui/widgets/choice_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace pairly::gui::widgets {

ChoiceButton::ChoiceButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setCheckable(true);
}

void ChoiceButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style would draw a checked button pressed in.
    option.state &= ~QStyle::State_On;
    painter.drawControl(QStyle::CE_PushButton, option);
}

}  // namespace pairly::gui::widgets
