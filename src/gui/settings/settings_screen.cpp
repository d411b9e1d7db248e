#include "gui/settings/settings_screen.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "core/entry/day_view.h"
#include "core/store/preferences.h"
#include "gui/common/situation_list.h"
#include "gui/common/write_notice.h"
#include "gui/phone/phone_group.h"
#include "gui/settings/bmi_meter_group.h"
#include "gui/settings/data_exchange_group.h"
#include "gui/settings/new_start_panel.h"
#include "gui/settings/profile_group.h"
#include "gui/settings/scale_step_group.h"
#include "gui/settings/situation_list_group.h"
#include "gui/widgets/overlay.h"

namespace pairly::gui::settings {

SettingsScreen::SettingsScreen(common::AppContext& ctx, common::SituationList& situations,
                               QWidget* parent)
    : Screen(ctx.session, WhenHidden::KeepContent, parent), ctx_(ctx), situations_(situations) {
    setObjectName("fraSettei");
    situationGroup_ = new SituationListGroup(ctx_, situations_, this);
    profileGroup_ = new ProfileGroup(ctx_, this);
    stepGroup_ = new ScaleStepGroup(ctx_, this);
    bmiGroup_ = new BmiMeterGroup(ctx_, this);
    exchangeGroup_ = new DataExchangeGroup(ctx_, this);
    chkJikan_ = new QCheckBox(QStringLiteral("一言日記に自動的に時間を記録"), this);
    chkJikan_->setObjectName("chkJikan");
    connect(chkJikan_, &QCheckBox::toggled, this, &SettingsScreen::autoTimeChanged);
    auto* cmdNew1 = new QPushButton(QStringLiteral("新規にスタートするとき"), this);
    cmdNew1->setObjectName("cmdNew1");
    cmdNew1->setToolTip(QStringLiteral("二人のデータを新しく登録し直します"));
    connect(cmdNew1, &QPushButton::clicked, this, &SettingsScreen::openNewStart);

    // Right column: the profile with the switches and the data exchange beside it, the
    // steps, the meter.
    rightColumn_ = new QWidget(this);
    auto* right = new QVBoxLayout(rightColumn_);
    right->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(profileGroup_);
    auto* switches = new QVBoxLayout;
    switches->addWidget(chkJikan_);
    switches->addWidget(exchangeGroup_, 0, Qt::AlignLeft);
    switches->addStretch(1);
    switches->addWidget(cmdNew1, 0, Qt::AlignLeft);
    top->addSpacing(12);
    top->addLayout(switches, 1);
    right->addLayout(top);
    right->addWidget(stepGroup_);
    right->addWidget(bmiGroup_);
    right->addStretch(1);
    auto* box = new QHBoxLayout(this);
    // Left column: the situation list over the phone page's group.
    phoneGroup_ = new gui::phone::PhoneGroup(this);
    auto* left = new QVBoxLayout;
    left->addWidget(situationGroup_, 1);
    left->addWidget(phoneGroup_);
    box->addLayout(left, 2);
    box->addWidget(rightColumn_, 5);

    // The new-start panel lies inside this screen, over the right column.
    fraNew_ = new NewStartPanel(ctx_, this);
    widgets::markAsOverlay(fraNew_);

    connect(fraNew_, &NewStartPanel::partnerEntered, this, [this](int slot) {
        profileGroup_->showProfile();
        emit partnerEntered(slot);
    });
    connect(fraNew_, &NewStartPanel::newStartFinished, this, &SettingsScreen::newStartFinished);
    // The changes made here are shown here: nothing is left to read again for them.
    connect(&situations_, &common::SituationList::situationRenamed, this, [this] { markFresh(); });
    connect(exchangeGroup_, &DataExchangeGroup::logsChanged, this, [this] {
        refreshBmiMeter();
        markFresh();
    });
    connect(exchangeGroup_, &DataExchangeGroup::dataFilesReplaced, this,
            &SettingsScreen::dataFilesReplaced);
}

void SettingsScreen::refreshBmiMeter() {
    showCurrentBmi();
    bmiGroup_->fillBmiFormulaLabels();
    bmiGroup_->refreshBmiSimulator(false);
    meterDue_ = false;
}

void SettingsScreen::showCurrentBmi() {
    const int slot = ctx_.currentSlot;
    const session::SharedLog log = common::loadLogForScreen(ctx_, slot);
    // The figures of the input screen's day view, from the same computation.
    const pairly::entry::DayViewModel day = pairly::entry::computeDayView(
        log->records, {}, ctx_.profile().heightCm, ctx_.session.entryDay(), slot);
    bmiGroup_->setDayFigures(
        day.lastRecord ? std::optional<float>(day.lastRecord->weight) : std::nullopt,
        day.recordCount);
    if (day.bmi) bmiGroup_->showCurrentBmi(*day.bmi);
    meterDay_ = ctx_.session.entryDay();
    currentBmiDue_ = false;
}

void SettingsScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeNewStartPanel();
}

// Over the right column, at its top, as tall as its fields need.
void SettingsScreen::placeNewStartPanel() {
    const QRect area = rightColumn_->geometry();
    const QSize want = fraNew_->sizeHint().expandedTo(fraNew_->minimumSizeHint());
    const int width = std::min(area.width(), std::max(want.width(), 420));
    const int height = std::min(this->height() - area.top(), want.height());
    fraNew_->setGeometry(area.left() + (area.width() - width) / 2, area.top(), width, height);
}

void SettingsScreen::openNewStart() {
    placeNewStartPanel();
    fraNew_->openNewStart();
}

void SettingsScreen::prepareForStartup() { bmiGroup_->clearWeightLabel(); }

void SettingsScreen::loadSituationList() { situations_.loadSituationList(); }

void SettingsScreen::readPreferenceControls() {
    const bool on = store::readAutoTime(ctx_.dataFolder) != 0;
    {
        // Showing what the file holds is no change: writing it back would be a start-up
        // write that can fail and turn the setting off.
        const QSignalBlocker block(chkJikan_);
        chkJikan_->setChecked(on);
    }
    ctx_.session.preferences().autoTime = on;
    stepGroup_->showSteps();
}

void SettingsScreen::autoTimeChanged(bool checked) {
    const disk::WriteStatus status = store::writeAutoTime(ctx_.dataFolder, checked ? 1 : 0);
    if (!common::settingWritten(ctx_, status, "自動時間.txt",
                                QStringLiteral("自動時間の設定を保存できませんでした。"))) {
        const QSignalBlocker block(chkJikan_);
        chkJikan_->setChecked(!checked);  // the box shows the setting still in force
        return;
    }
    ctx_.session.preferences().autoTime = checked;
}

void SettingsScreen::openSettings() {
    profileGroup_->showProfile();
    situationGroup_->disableEntryButtons();
}

void SettingsScreen::open() {
    openSettings();
    if (meterDue_)
        refreshBmiMeter();
    else if (currentBmiDue_ || meterDay_ != ctx_.session.entryDay())
        showCurrentBmi();
    markFresh();
}

void SettingsScreen::fill() {
    openSettings();
    refreshBmiMeter();
}

void SettingsScreen::followShown(const session::Event& event) {
    switch (event.what) {
        case session::Change::Partner:
            Screen::followShown(event);
            break;
        case session::Change::Profile:
            // A saved height shows in the meter at once; the fields keep what was typed.
            refreshBmiMeter();
            break;
        case session::Change::Log:
            // The current BMI at once, the rest once the change is done (unless it was
            // this screen's own).
            showCurrentBmi();
            Screen::followShown(event);
            break;
    }
}

void SettingsScreen::followHidden(const session::Event& event) {
    Screen::followHidden(event);
    if (event.what == session::Change::Log)
        currentBmiDue_ = true;
    else
        meterDue_ = true;
}

}  // namespace pairly::gui::settings
