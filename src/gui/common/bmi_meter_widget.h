#pragma once
// A BMI meter: five coloured bands from BMI 17 to 32 and a pointer picture under them,
// placed in twips like the rest of the program's geometry. Used by the input screen
// (Shape1_0..4, Image1) and the settings screen (Shape2_0..4, Image2, with a ruler).
#include <QWidget>

class QLabel;

namespace pairly::gui::common {

class BmiMeterWidget : public QWidget {
    Q_OBJECT
public:
    // unitTwips: length of one BMI unit; shapePrefix "Shape1" names the bands Shape1_0..4.
    BmiMeterWidget(int unitTwips, const QString& shapePrefix, const QString& pointerName,
                   bool withRuler, QWidget* parent = nullptr);

    // Left edge of the pointer, in twips from the meter's left end (BMI 17).
    void setPointerLeftTwips(double twips);
    double pointerLeftTwips() const { return pointerTwips_; }
    QLabel* pointer() const { return pointer_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int px(double twips) const;
    void placeChildren();

    int unitTwips_;
    bool withRuler_;
    double pointerTwips_ = 0;
    QWidget* bands_[5] = {};
    QList<QLabel*> ruler_;
    QLabel* pointer_ = nullptr;
};

}  // namespace pairly::gui::common
