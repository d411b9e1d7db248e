#pragma once
// The input screen fraMain: entry panel and day view of the selected partner.
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>

#include "core/body/bmi.h"
#include "core/entry/day_view.h"
#include "core/text/dates.h"
#include "gui/common/app_context.h"

class QCalendarWidget;
class QLabel;

namespace pairly::gui::common {
class BmiMeterWidget;
class SituationListsController;
}  // namespace pairly::gui::common

namespace pairly::gui::entry {

class DayCountWidget;
class DayViewPanel;
class EntryPanel;

class InputScreen : public QWidget {
    Q_OBJECT
public:
    explicit InputScreen(common::AppContext& ctx, QWidget* parent = nullptr);
    ~InputScreen() override;

    // Start-up preparation: clear lblG1/lblG2, mtvmain to today, grid headers.
    void prepareForStartup();
    void refreshDayView();
    // BMI and obesity labels, formula labels and the meter.
    void refreshBmi();
    // Shown again: the day view and the BMI figures are filled anew when the selected
    // partner or the data changed since the day view was filled; otherwise the entry
    // panel keeps what was typed.
    void refreshIfStale();
    // The entry panel holds a situation or field texts not yet saved.
    bool holdsTypedEntry() const;
    // Applies ctx.markerMode to the seven series of the small charts.
    void applyMarkerMode();
    void disableSteppers();
    void selectMixedOption();
    void redrawMainChart();
    // lblUser<slot> with its four pictures; the main window puts it beside cmdUser<slot>.
    QWidget* dayCountWidget(int slot);

    // The handler of cmdTaiHozon.
    void saveMeasurement();
    // The calendar screen's jump: select the day in mtvmain and refresh.
    void showDay(const text::Date& day);
    // The current-BMI part of every refresh: the small meter here, then currentBmiShown.
    void showCurrentBmi();
    // A pointer action on mcrMain: the next marker mode, applied and written.
    void cycleMarkerMode();

    // chkJikan of the settings screen, kept in the session: the time of saving goes into
    // the comment.
    bool autoTime() const { return ctx_.session.preferences().autoTime; }

    // lstAct, lstKoumoku and lstAct2 kept in step.
    common::SituationListsController& situationLists() { return *lists_; }

    // Results of the last refresh.
    const pairly::entry::DayViewModel& dayView() const { return model_; }
    int recordCount() const { return model_.recordCount; }
    const std::string& firstRecordDate() const { return model_.firstRecordDate; }
    std::optional<float> lastRecordWeight() const;
    std::string selectedDay() const;

signals:
    // The settings meter follows the current BMI.
    void currentBmiShown(const pairly::body::CurrentBmi& bmi);
    // Every refresh of the day view: the figures the settings meter's formula works from.
    void dayFiguresShown(std::optional<float> lastRecordWeight, int recordCount);
    // Start-up and partner change: the settings meter fills its formula and simulator.
    void bmiFormulaRefreshRequested();

private:
    void dateClicked();
    // The day view of the selected partner's log `active` (the other log is read); the
    // entry panel is emptied unless `clearEntry` is false.
    void showDayView(const store::LoadedLog& active, bool clearEntry);

    common::AppContext& ctx_;
    common::SituationListsController* lists_ = nullptr;
    EntryPanel* entry_ = nullptr;
    DayViewPanel* dayView_ = nullptr;
    QCalendarWidget* mtvmain_ = nullptr;
    common::BmiMeterWidget* meter_ = nullptr;
    QLabel* lblMHyouka_ = nullptr;
    // Adopted by the main window, which may delete them first.
    QPointer<DayCountWidget> dayCount_[2];
    pairly::entry::DayViewModel model_;
    // The partner and the data revision the day view was filled for.
    int filledSlot_ = 0;
    unsigned filledRevision_ = 0;
    bool settingDate_ = false;
    // The day a selection change of mtvmain has just read, until the event that made it ends.
    std::string refreshedBySelection_;
};

}  // namespace pairly::gui::entry
