#include "maintenance/settings_screen.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "entry/input_screen.h"
#include "entry/situation_lists_controller.h"
#include "maintenance/bmi_meter_group.h"
#include "maintenance/scale_step_group.h"
#include "maintenance/situation_list_group.h"
#include "store/preferences.h"

namespace pairly::maintenance {

SettingsScreen::SettingsScreen(ui::AppContext& ctx, entry::InputScreen& input, QWidget* parent)
    : QWidget(parent), ctx_(ctx), input_(input) {
    setObjectName("fraSettei");
    situationGroup_ = new SituationListGroup(ctx_, input_.situationLists(), this);
    stepGroup_ = new ScaleStepGroup(ctx_, this);
    bmiGroup_ = new BmiMeterGroup(ctx_, input_, this);
    chkJikan_ = new QCheckBox(QStringLiteral("一言日記に自動的に時間を記録"), this);
    chkJikan_->setObjectName("chkJikan");
    connect(chkJikan_, &QCheckBox::toggled, this, &SettingsScreen::autoTimeChanged);

    // The new-start panel lies inside this screen and opens over it.
    fraNew_ = new QWidget(this);
    fraNew_->setObjectName("fraNew");
    fraNew_->hide();

    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(stepGroup_);
    auto* switches = new QVBoxLayout;
    switches->addWidget(chkJikan_);
    switches->addStretch(1);
    top->addLayout(switches, 1);
    right->addLayout(top);
    right->addWidget(bmiGroup_);
    right->addStretch(1);
    auto* box = new QHBoxLayout(this);
    box->addWidget(situationGroup_, 2);
    box->addLayout(right, 5);

    connect(&input_, &entry::InputScreen::currentBmiShown, bmiGroup_,
            &BmiMeterGroup::showCurrentBmi);
    connect(&input_, &entry::InputScreen::bmiFormulaRefreshRequested, bmiGroup_, [this] {
        bmiGroup_->fillBmiFormulaLabels();
        bmiGroup_->refreshBmiSimulator(false);
    });
}

void SettingsScreen::prepareForStartup() { bmiGroup_->clearWeightLabel(); }

void SettingsScreen::loadSituationList() { input_.situationLists().loadSituationList(); }

void SettingsScreen::readPreferenceControls() {
    const bool on = store::readAutoTime(ctx_.dataFolder) != 0;
    if (chkJikan_->isChecked() != on)
        chkJikan_->setChecked(on);  // the change handler writes the file again
    input_.setAutoTime(chkJikan_->isChecked());
    stepGroup_->showSteps();
}

void SettingsScreen::autoTimeChanged(bool checked) {
    if (!store::writeAutoTime(ctx_.dataFolder, checked ? 1 : 0)) {
        ctx_.dialogs.warn(QStringLiteral("自動時間の設定を保存できませんでした。"),
                          QStringLiteral("保存エラー"));
        const QSignalBlocker block(chkJikan_);
        chkJikan_->setChecked(!checked);  // the box shows the setting still in force
        return;
    }
    input_.setAutoTime(checked);
}

void SettingsScreen::openSettings() { situationGroup_->disableEntryButtons(); }

void SettingsScreen::refreshForPartner() {
    situationGroup_->disableEntryButtons();
    input_.refreshDayView();
    input_.refreshBmi();
}

}  // namespace pairly::maintenance
