#pragma once
// The large BMI meter of the settings screen with its simulator: HScroll1 picks a BMI and
// the formula labels show the weight, standard weight and obesity degree that go with it.
#include <QWidget>
#include <optional>

#include "core/body/bmi.h"
#include "gui/common/app_context.h"

class QLabel;
class QScrollBar;

namespace pairly::gui::common {
class BmiMeterWidget;
}  // namespace pairly::gui::common

namespace pairly::gui::settings {

class BmiMeterGroup : public QWidget {
    Q_OBJECT
public:
    explicit BmiMeterGroup(common::AppContext& ctx, QWidget* parent = nullptr);

    // The settings-meter part of showCurrentBmi: pointer, bar, BMI value label.
    void showCurrentBmi(const body::CurrentBmi& bmi);
    // The last weighing's weight and the number of weighings, as the input screen's last
    // refresh found them.
    void setDayFigures(std::optional<float> lastRecordWeight, int recordCount);
    void fillBmiFormulaLabels();
    void refreshBmiSimulator(bool fromUser);
    // Start-up clears the weight label lblTai.
    void clearWeightLabel();

private:
    QLabel* valueLabel(const QString& name);

    common::AppContext& ctx_;
    std::optional<float> lastRecordWeight_;
    int recordCount_ = 0;
    common::BmiMeterWidget* meter_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QLabel* lblHyouka_ = nullptr;
    QLabel* bmiValue_ = nullptr;
    QLabel* weight_ = nullptr;
    QLabel* height_ = nullptr;
    QLabel* lblTai_ = nullptr;
    QLabel* lblHyojun_[2] = {};
    QLabel* lblHiman_ = nullptr;
    bool settingBar_ = false;
};

}  // namespace pairly::gui::settings
