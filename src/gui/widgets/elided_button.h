#pragma once
// A push button whose caption may be longer than the room it gets: the caption is elided
// ("とても長い…") to the button's width and shown whole in the tooltip. The button asks
// for room for the caption up to a maximum width, never more. It is one of an exclusive
// choice (the partner buttons).
#include "gui/widgets/choice_button.h"

namespace pairly::gui::widgets {

class ElidedButton : public ChoiceButton {
public:
    ElidedButton(int maximumCaptionWidth, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The style's room around the caption.
    int padding() const;
    void elide();

    int maximumCaptionWidth_;
    QString caption_;
};

}  // namespace pairly::gui::widgets
