#pragma once
// A one-line label whose text may be longer than the room it gets: shown cut to the
// label's width ("とても長い…") and whole (up to a bound) in the tooltip while cut. The label asks
// for room for its text up to a maximum width, never more, and takes less when the layout has less.
#include <QLabel>

namespace pairly::gui::widgets {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(int maximumTextWidth, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Width around the text: margins, padding and frame.
    int extraWidth() const;
    void elide();

    int maximumTextWidth_;
    QString caption_;
};

}  // namespace pairly::gui::widgets
