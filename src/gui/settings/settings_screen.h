#pragma once
// The settings screen fraSettei (with the new-start panel fraNew inside it).
#include <QWidget>
#include <optional>

#include "core/body/bmi.h"
#include "gui/common/app_context.h"

class QCheckBox;

namespace pairly::gui::common {
class SituationListsController;
}  // namespace pairly::gui::common

namespace pairly::gui::common {}  // namespace pairly::gui::common
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

class SettingsScreen : public QWidget {
    Q_OBJECT
public:
    // `lists` keeps this screen's situation lists in step with the other screens'.
    SettingsScreen(common::AppContext& ctx, common::SituationListsController& lists,
                   QWidget* parent = nullptr);

    // Start-up: clear the meter's weight label lblTai.
    void prepareForStartup();
    // Fills lstAct, lstKoumoku (and later lstAct2) from the situation list file.
    void loadSituationList();
    // Start-up: chkJikan from the automatic-time file, the step options from ctx.steps.
    void readPreferenceControls();
    // Menu steps: profile fields, situation-list buttons disabled.
    void openSettings();
    // Partner change while shown.
    void refreshForPartner();

    // The meter follows the input screen's refreshes (see linkSettingsToInput).
    void showCurrentBmi(const body::CurrentBmi& bmi);
    void setDayFigures(std::optional<float> lastRecordWeight, int recordCount);
    // The formula labels and the simulator, from the figures last set.
    void refreshBmiFormula();

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
    // The selected partner's profile was saved: its button caption and the window title
    // follow it.
    void profileSaved();
    // The new start replaced this partner's files; it is now the selected partner.
    void partnerEntered(int slot);
    // The new start is complete: the program ends.
    void newStartFinished();
    // An import added records to a log: the screens show them.
    void logsChanged();
    // A backup replaced the data files: profiles, preferences and every screen read again.
    void dataFilesReplaced();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void autoTimeChanged(bool checked);
    void placeNewStartPanel();

    common::AppContext& ctx_;
    common::SituationListsController& lists_;
    SituationListGroup* situationGroup_ = nullptr;
    ScaleStepGroup* stepGroup_ = nullptr;
    BmiMeterGroup* bmiGroup_ = nullptr;
    DataExchangeGroup* exchangeGroup_ = nullptr;
    QCheckBox* chkJikan_ = nullptr;
    ProfileGroup* profileGroup_ = nullptr;
    NewStartPanel* fraNew_ = nullptr;
    gui::phone::PhoneGroup* phoneGroup_ = nullptr;
    QWidget* rightColumn_ = nullptr;
};

}  // namespace pairly::gui::settings
