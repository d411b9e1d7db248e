#pragma once
// The settings screen fraSettei (with the new-start panel fraNew inside it).
#include <string>

#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QCheckBox;

namespace pairly::gui::common {
class SituationList;
}  // namespace pairly::gui::common
namespace pairly::gui::phone {
class PhoneGroup;
}  // namespace pairly::gui::phone

namespace pairly::gui::settings {

class BmiMeterGroup;
class DataExchangeGroup;
class NewStartPanel;
class ProfileGroup;
class ScaleStepGroup;
class SituationListGroup;

class SettingsScreen : public common::Screen {
    Q_OBJECT
public:
    // `situations` is the stored list that lstKoumoku shows and edits.
    SettingsScreen(common::AppContext& ctx, common::SituationList& situations,
                   QWidget* parent = nullptr);

    // Start-up: clear the meter's weight label lblTai.
    void prepareForStartup();
    // Fills the stored situation list from its file, and so every list that shows it.
    void loadSituationList();
    // Start-up: chkJikan from the automatic-time file, the step options from ctx.steps.
    void readPreferenceControls();
    // Profile fields, situation-list buttons disabled.
    void openSettings();
    // The menu's steps: openSettings, and the meter brought up to date with the data.
    void open() override;

    // The meter on the selected partner's log and height for the day being entered, as
    // at start-up and after a change of partner: the current BMI, the formula labels and
    // the simulator.
    void refreshBmiMeter();

    // cmdNew1: opens the new-start panel over this screen.
    void openNewStart();

    SituationListGroup& situationListGroup() { return *situationGroup_; }
    ProfileGroup& profileGroup() { return *profileGroup_; }
    NewStartPanel& newStartPanel() { return *fraNew_; }
    BmiMeterGroup& bmiMeterGroup() { return *bmiGroup_; }
    ScaleStepGroup& scaleStepGroup() { return *stepGroup_; }
    DataExchangeGroup& dataExchangeGroup() { return *exchangeGroup_; }
    // fraPhone, which the main window's phone service runs.
    gui::phone::PhoneGroup* phoneGroup() { return phoneGroup_; }

signals:
    // The new start replaced this partner's files; it is now the selected partner.
    void partnerEntered(int slot);
    // The new start is complete: the program ends.
    void newStartFinished();
    // A backup replaced the data files: profiles, preferences and every screen read again.
    void dataFilesReplaced();

protected:
    // A change of partner while shown: openSettings and the whole meter.
    void fill() override;
    void followShown(const session::Event& event) override;
    void followHidden(const session::Event& event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a change of the data does to the meter: the current BMI follows it, the
    // formula's weight and the simulation stay (after a save, as after a click on a day).
    void showCurrentBmi();
    void autoTimeChanged(bool checked);
    void placeNewStartPanel();

    common::AppContext& ctx_;
    common::SituationList& situations_;
    SituationListGroup* situationGroup_ = nullptr;
    ScaleStepGroup* stepGroup_ = nullptr;
    BmiMeterGroup* bmiGroup_ = nullptr;
    DataExchangeGroup* exchangeGroup_ = nullptr;
    QCheckBox* chkJikan_ = nullptr;
    ProfileGroup* profileGroup_ = nullptr;
    NewStartPanel* fraNew_ = nullptr;
    gui::phone::PhoneGroup* phoneGroup_ = nullptr;
    QWidget* rightColumn_ = nullptr;
    // What the meter waits for while the screen is hidden: the whole meter (a change of
    // partner or profile), or the current BMI (a change of the data or of the day).
    bool meterDue_ = false;
    bool currentBmiDue_ = false;
    std::string meterDay_;
};

}  // namespace pairly::gui::settings
