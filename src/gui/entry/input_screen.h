#pragma once
// The input screen fraMain: entry panel and day view of the selected partner.
#include <QPointer>
#include <optional>
#include <string>

#include "core/body/bmi.h"
#include "core/entry/day_view.h"
#include "core/entry/entry_logic.h"
#include "core/store/measurement_log.h"
#include "core/text/dates.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QCalendarWidget;
class QLabel;

namespace pairly::gui::common {
class BmiMeterWidget;
class SituationList;
}  // namespace pairly::gui::common

namespace pairly::gui::entry {

class DayCountWidget;
class DayViewPanel;
class EntryPanel;

class InputScreen : public common::Screen {
    Q_OBJECT
public:
    InputScreen(common::AppContext& ctx, common::SituationList& situations,
                QWidget* parent = nullptr);
    ~InputScreen() override;

    // Start-up preparation: clear lblG1/lblG2, mtvmain to today, grid headers.
    void prepareForStartup();
    void refreshDayView();
    // BMI and obesity labels and the meter.
    void refreshBmi();
    // Shown again: the day view and the BMI figures are filled anew when the selected
    // partner or the data changed since the day view was filled, and the steppers wait for
    // the next pick; otherwise the entry panel keeps what was typed.
    void refreshIfStale() override;
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
    // The current-BMI part of every refresh: the small meter and its category.
    void showCurrentBmi();
    // A pointer action on weightChart: the next marker mode, applied and written.
    void cycleMarkerMode();

    // chkJikan of the settings screen, kept in the session: the time of saving goes into
    // the comment.
    bool autoTime() const { return ctx_.session.preferences().autoTime; }

    // Results of the last refresh.
    const pairly::entry::DayViewModel& dayView() const { return model_; }
    int recordCount() const { return model_.recordCount; }
    const std::string& firstRecordDate() const { return model_.firstRecordDate; }
    std::optional<float> lastRecordWeight() const;
    std::string selectedDay() const;

protected:
    // A change of partner while shown: the day view and the BMI figures.
    void fill() override;
    // Any change of either partner's profile or log: the day counts show both partners.
    bool concerns(const session::Event& event) const override;
    // Shown, a changed profile leaves the day view as it is until the screen is shown anew.
    void followShown(const session::Event& event) override;
    // Hidden, the day counts beside the partner buttons still show: they follow a change of
    // the logs at once within a refresh, else on the next turn of the event loop.
    void followHidden(const session::Event& event) override;
    // What is being typed stays until it is saved or emptied.
    bool mayRefreshNow() const override { return !holdsTypedEntry(); }

private:
    void dateClicked();
    // The day view of the selected partner's log `active` (the other log is read); the
    // entry panel is emptied unless `clearEntry` is false.
    void showDayView(const store::LoadedLog& active, bool clearEntry);
    void renderDayCounts(const std::array<pairly::entry::DayCount, 2>& counts);
    // The day counts of a stale screen from the logs as they are now.
    void recountDay(const session::SharedLog& active, const session::SharedLog& other);
    // chkAutoSit on and today in view: the situation of the partner's habit is picked.
    void pickUsualSituation(const std::vector<store::MeasurementRecord>& records);
    void autoSituationToggled(bool on);
    // A partner never registered (a new start cancelled half-way) gets no weighing.
    bool partnerRegistered() const;

    common::AppContext& ctx_;
    EntryPanel* entry_ = nullptr;
    DayViewPanel* dayView_ = nullptr;
    QCalendarWidget* mtvmain_ = nullptr;
    common::BmiMeterWidget* meter_ = nullptr;
    QLabel* lblMHyouka_ = nullptr;
    // Adopted by the main window, which may delete them first.
    QPointer<DayCountWidget> dayCount_[2];
    pairly::entry::DayViewModel model_;
    bool settingDate_ = false;
    bool recountPending_ = false;
    // What the last automatic pick put in the panel: not typed by anyone while unchanged.
    std::optional<std::pair<QString, pairly::entry::FieldTexts>> autoPicked_;
    // The day a selection change of mtvmain has just read, until the event that made it ends.
    std::string refreshedBySelection_;
};

}  // namespace pairly::gui::entry
