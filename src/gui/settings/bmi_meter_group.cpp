#include "gui/settings/bmi_meter_group.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/common/bmi_meter_widget.h"
#include "gui/widgets/back_colour.h"

namespace pairly::gui::settings {

namespace {
QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}  // namespace

QLabel* BmiMeterGroup::valueLabel(const QString& name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(64);
    return label;
}

BmiMeterGroup::BmiMeterGroup(common::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame =
        new QGroupBox(QStringLiteral("　ＢＭＩメーター (Body Mass Index)　と　肥満度　"), this);
    frame->setObjectName("fraBmi");
    frame->setToolTip(QStringLiteral("ＢＭＩと肥満度のシミュレーションができます"));
    outer->addWidget(frame);
    auto* box = new QVBoxLayout(frame);

    meter_ =
        new common::BmiMeterWidget(body::kSettingsMeterUnitTwips, "Shape2", "Image2", true, frame);
    box->addWidget(meter_, 0, Qt::AlignHCenter);

    scroll_ = new QScrollBar(Qt::Horizontal, frame);
    scroll_->setObjectName("HScroll1");
    scroll_->setRange(170, 320);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(10);
    scroll_->setFixedWidth(meter_->sizeHint().width());
    box->addWidget(scroll_, 0, Qt::AlignHCenter);
    connect(scroll_, &QScrollBar::valueChanged, this,
            [this] { refreshBmiSimulator(!settingBar_); });

    auto* judge = new QHBoxLayout;
    judge->addStretch(1);
    judge->addWidget(new QLabel(QStringLiteral("肥満指数判定"), frame));
    lblHyouka_ = valueLabel("lblHyouka");
    lblHyouka_->setMinimumWidth(150);
    judge->addWidget(lblHyouka_);
    judge->addStretch(1);
    box->addLayout(judge);

    // BMI = weight ÷ height².
    auto* bmi = new QGridLayout;
    bmiValue_ = valueLabel("lblBmiValue");
    weight_ = valueLabel("lblBmiWeight");
    height_ = valueLabel("lblBmiHeight");
    bmi->addWidget(caption(QStringLiteral("BMI(体格指数)"), frame), 0, 0);
    bmi->addWidget(caption(QStringLiteral("体重（Ｋｇ）"), frame), 0, 2);
    bmi->addWidget(caption(QStringLiteral("身長（ｍ）"), frame), 0, 4);
    bmi->addWidget(bmiValue_, 1, 0);
    bmi->addWidget(caption(QStringLiteral("＝"), frame), 1, 1);
    bmi->addWidget(weight_, 1, 2);
    bmi->addWidget(caption(QStringLiteral("÷"), frame), 1, 3);
    bmi->addWidget(height_, 1, 4);
    auto* square = new QLabel(QStringLiteral("2"), frame);
    square->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bmi->addWidget(square, 1, 5);
    bmi->addWidget(caption(QStringLiteral("適正　２２"), frame), 2, 0);
    bmi->setColumnStretch(6, 1);
    box->addLayout(bmi);

    // Obesity = (weight − standard) ÷ standard × 100.
    auto* obesity = new QGridLayout;
    lblTai_ = valueLabel("lblTai");
    lblHyojun_[0] = valueLabel("lblHyojun_0");
    lblHyojun_[1] = valueLabel("lblHyojun_1");
    lblHiman_ = valueLabel("lblHiman");
    obesity->addWidget(caption(QStringLiteral("肥満度（％）"), frame), 0, 0);
    obesity->addWidget(lblHiman_, 1, 0);
    obesity->addWidget(caption(QStringLiteral("＝"), frame), 1, 1);
    obesity->addWidget(caption(QStringLiteral("（"), frame), 1, 2);
    obesity->addWidget(lblTai_, 1, 3);
    obesity->addWidget(caption(QStringLiteral("－"), frame), 1, 4);
    obesity->addWidget(lblHyojun_[0], 1, 5);
    obesity->addWidget(caption(QStringLiteral("）"), frame), 1, 6);
    obesity->addWidget(caption(QStringLiteral("÷"), frame), 1, 7);
    obesity->addWidget(lblHyojun_[1], 1, 8);
    obesity->addWidget(caption(QStringLiteral("×１００"), frame), 1, 9);
    obesity->setColumnStretch(10, 1);
    box->addLayout(obesity);
}

void BmiMeterGroup::clearWeightLabel() { lblTai_->clear(); }

void BmiMeterGroup::showCurrentBmi(const body::CurrentBmi& bmi) {
    meter_->setPointerLeftTwips(bmi.settingsPointerLeftTwips);
    if (scroll_->value() != bmi.scrollValue) {
        settingBar_ = true;
        scroll_->setValue(bmi.scrollValue);  // runs refreshBmiSimulator(false)
        settingBar_ = false;
    }
    bmiValue_->setText(QString::fromStdString(bmi.bmiText));
}

void BmiMeterGroup::setDayFigures(std::optional<float> lastRecordWeight, int recordCount) {
    lastRecordWeight_ = lastRecordWeight;
    recordCount_ = recordCount;
    // A partner without weighings has no BMI to point at, and never the other partner's.
    meter_->pointer()->setVisible(recordCount > 0);
}

void BmiMeterGroup::fillBmiFormulaLabels() {
    const auto labels = body::fillBmiFormulaLabels(lastRecordWeight_, ctx_.profile().heightCm);
    if (!labels) return;
    weight_->setText(QString::fromStdString(labels->weightText));
    height_->setText(QString::fromStdString(labels->heightText));
}

void BmiMeterGroup::refreshBmiSimulator(bool fromUser) {
    body::BmiSimulatorInput in;
    in.scrollValue = scroll_->value();
    in.fromUser = fromUser;
    in.heightCm = ctx_.profile().heightCm;
    in.recordCount = recordCount_;
    in.weightLabelText = weight_->text().toStdString();
    const auto sim = body::refreshBmiSimulator(in);
    if (!sim) return;
    if (sim->weightText) weight_->setText(QString::fromStdString(*sim->weightText));
    bmiValue_->setText(QString::fromStdString(sim->bmiText));
    meter_->setPointerLeftTwips(sim->settingsPointerLeftTwips);
    lblHyouka_->setText(QString::fromStdString(sim->category.text));
    widgets::setBackColour(lblHyouka_, widgets::toQColor(sim->category.colour));
    lblHyojun_[0]->setText(QString::fromStdString(sim->standardWeightText));
    lblHyojun_[1]->setText(QString::fromStdString(sim->standardWeightText));
    lblTai_->setText(QString::fromStdString(sim->shownWeightText));
    lblHiman_->setText(QString::fromStdString(sim->obesityText));
}

}  // namespace pairly::gui::settings
