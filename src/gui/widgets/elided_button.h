#pragma once
// A push button whose caption may be longer than the room it gets: the caption is elided
// ("とても長い…") to the button's width and shown whole in the tooltip. The button asks
// for room for the caption up to a maximum width, never more. It is one of an exclusive
// choice (the partner buttons).
#include <QColor>

#include "gui/widgets/choice_button.h"

namespace pairly::gui::widgets {

class ElidedButton : public ChoiceButton {
public:
    ElidedButton(int maximumCaptionWidth, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    QSize sizeHint() const override;

    // The mark of the chosen one: a bold caption inside a frame of `colour`; an invalid
    // colour gives the plain button back.
    void setMark(const QColor& colour);
    const QColor& mark() const { return mark_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The style's room around the caption.
    int padding() const;
    void elide();

    int maximumCaptionWidth_;
    QString caption_;
    QColor mark_;
};

}  // namespace pairly::gui::widgets
