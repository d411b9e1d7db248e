#include "gui/common/bmi_meter_widget.h"

#include <QLabel>
#include <cmath>

#include "core/body/bmi.h"
#include "gui/widgets/back_colour.h"
#include "gui/widgets/icons.h"

namespace pairly::gui::common {

namespace {
constexpr int kBandHeight = 14;
constexpr int kRulerHeight = 14;
}  // namespace

BmiMeterWidget::BmiMeterWidget(int unitTwips, const QString& shapePrefix,
                               const QString& pointerName, bool withRuler, QWidget* parent)
    : QWidget(parent), unitTwips_(unitTwips), withRuler_(withRuler) {
    const auto& bands = body::meterBands();
    for (int i = 0; i < 5; ++i) {
        auto* band = new QWidget(this);
        band->setObjectName(shapePrefix + "_" + QString::number(i));
        widgets::setBackColour(band, widgets::toQColor(bands[i].colour));
        bands_[i] = band;
    }
    if (withRuler_) {
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        for (int v = 17; v <= 32; ++v) {
            auto* mark = new QLabel(QString::number(v), this);
            mark->setFont(small);
            mark->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            ruler_.append(mark);
        }
    }
    pointer_ = new QLabel(this);
    pointer_->setObjectName(pointerName);
    pointer_->setPixmap(widgets::pixmap(widgets::Picture::MeterPointerUp, QSize(32, 32)));
    pointer_->setScaledContents(true);
    pointer_->setAttribute(Qt::WA_TranslucentBackground);
    setPointerLeftTwips(body::pointerLeftTwips(22.0f, unitTwips_));
}

int BmiMeterWidget::px(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
}

// The pointer may hang half its width over either end of the bands.
QSize BmiMeterWidget::sizeHint() const {
    const int margin = px(body::kPointerWidthTwips / 2.0);
    const int height = kBandHeight + (withRuler_ ? kRulerHeight : 0) + px(body::kPointerWidthTwips);
    return {px(body::meterWidthTwips(unitTwips_)) + 2 * margin, height};
}

void BmiMeterWidget::setPointerLeftTwips(double twips) {
    pointerTwips_ = twips;
    placeChildren();
}

void BmiMeterWidget::resizeEvent(QResizeEvent*) { placeChildren(); }

void BmiMeterWidget::placeChildren() {
    const int meterWidth = px(body::meterWidthTwips(unitTwips_));
    const int left = (width() - meterWidth) / 2;
    for (int i = 0; i < 5; ++i) {
        const int x0 = left + px(body::bandLeftTwips(i, unitTwips_));
        const int x1 =
            left + px(body::bandLeftTwips(i, unitTwips_) + body::bandWidthTwips(i, unitTwips_));
        bands_[i]->setGeometry(x0, 0, x1 - x0, kBandHeight);
    }
    int y = kBandHeight;
    if (withRuler_) {
        const double unit = unitTwips_;
        for (int i = 0; i < ruler_.size(); ++i) {
            const int centre = left + px(i * unit);
            // The end marks keep within the meter; their numbers stay centred enough.
            const QRect mark(centre - px(unit) / 2, y, px(unit), kRulerHeight);
            ruler_[i]->setGeometry(mark.intersected(rect()));
        }
        y += kRulerHeight;
    }
    const int size = px(body::kPointerWidthTwips);
    pointer_->setGeometry(left + px(pointerTwips_), y, size, size);
}

}  // namespace pairly::gui::common
