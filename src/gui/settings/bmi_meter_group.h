#pragma once
// The large BMI meter of the settings screen with its simulator: HScroll1 picks a BMI and
// the formula labels show the weight, standard weight and obesity degree that go with it.
#include <QWidget>
#include <optional>

#include "gui/common/app_context.h"
#include "core/body/bmi.h"

class QLabel;
class QScrollBar;

namespace pairly::entry {
class BmiMeterWidget;
}  // namespace pairly::entry

namespace pairly::maintenance {

class BmiMeterGroup : public QWidget {
    Q_OBJECT
public:
    explicit BmiMeterGroup(ui::AppContext& ctx, QWidget* parent = nullptr);

    // The settings-meter part of showCurrentBmi: pointer, bar, BMI value label.
    void showCurrentBmi(const views::CurrentBmi& bmi);
    // The last weighing's weight and the number of weighings, as the input screen's last
    // refresh found them.
    void setDayFigures(std::optional<float> lastRecordWeight, int recordCount);
    void fillBmiFormulaLabels();
    void refreshBmiSimulator(bool fromUser);
    // Start-up clears the weight label lblTai.
    void clearWeightLabel();

private:
    QLabel* valueLabel(const QString& name);

    ui::AppContext& ctx_;
    std::optional<float> lastRecordWeight_;
    int recordCount_ = 0;
    entry::BmiMeterWidget* meter_ = nullptr;
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

}  // namespace pairly::maintenance
