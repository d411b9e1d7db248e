#pragma once
// A button of an exclusive choice (a QButtonGroup) whose choice shows elsewhere: in a
// colour, or in the screen it opens. Checked or not, it keeps the face of a plain button.
#include <QPushButton>

namespace pairly::gui::widgets {

class ChoiceButton : public QPushButton {
public:
    explicit ChoiceButton(const QString& caption = QString(), QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pairly::gui::widgets
