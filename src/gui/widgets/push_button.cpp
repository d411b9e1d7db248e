#include "gui/widgets/push_button.h"

#include <QFontMetrics>
#include <QPushButton>

namespace pairly::gui::widgets {

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void fitToCaption(QPushButton* button, const QString& caption, int margin) {
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(caption) + margin);
}

QPushButton* makeFittedButton(const QString& name, const QString& caption, QWidget* parent,
                              int margin) {
    QPushButton* button = makeButton(name, caption, parent);
    fitToCaption(button, caption, margin);
    return button;
}

}  // namespace pairly::gui::widgets
