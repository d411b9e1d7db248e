#pragma once
// The calendar screen fraCale: every weighed day of the selected partner painted by its
// change, the day counters and the verdict of good against bad days.
#include <array>

#include "core/calendar/calendar.h"
#include "core/text/dates.h"
#include "gui/common/app_context.h"
#include "gui/common/screen.h"

class QLabel;
class QPushButton;

namespace pairly::gui::widgets {
class Grid;
}  // namespace pairly::gui::widgets

namespace pairly::gui::calendar {

class CalendarScreen : public common::Screen {
    Q_OBJECT
public:
    explicit CalendarScreen(common::AppContext& ctx, QWidget* parent = nullptr);

    // What the menu button and a change of partner do before the screen is shown:
    // detailed mode, then the grid rebuilt from the log.
    void openCalendar();
    // cmdSel1_0 (0, detailed) and cmdSel1_1 (1, simple): the button paint and the colours
    // of the days already shown. cmdSel1_2 (2, from the previous day) classes the days
    // anew, each by its first weighing against the previous weighing day's first, and
    // paints them as the detailed mode does.
    void setCalendarMode(int index);
    // The grid back to its header row, with headers, widths and alignments.
    void prepareCalendarGrid();
    // Reads the selected partner's log, paints the days and fills the counters.
    void buildCalendar();
    // A double click on a day: asks for the input screen on that date. The header row, the
    // month column and a day the month does not have name no date and are ignored.
    void jumpToInputDate(int row, int col);

    pairly::calendar::CalendarMode mode() const { return mode_; }
    pairly::calendar::DayBasis dayBasis() const { return basis_; }
    // The figures last shown.
    const pairly::calendar::CalendarModel& model() const { return model_; }

signals:
    // The main window shows the input screen on this day.
    void inputDateRequested(const pairly::text::Date& day);

protected:
    void fill() override { openCalendar(); }

private:
    void applyModeButtons();
    void fillGrid();
    void fillCounters();

    common::AppContext& ctx_;
    widgets::Grid* msgList2_ = nullptr;
    std::array<QPushButton*, 3> cmdSel1_{};
    std::array<QLabel*, pairly::calendar::kLegendCount> legend_{};
    QLabel* lblGenT_ = nullptr;
    QLabel* lblZouT_ = nullptr;
    QLabel* lblHugou_ = nullptr;
    QLabel* imgWara2_ = nullptr;
    QLabel* imgNiko2_ = nullptr;
    QLabel* imgKana2_ = nullptr;
    pairly::calendar::CalendarMode mode_ = pairly::calendar::CalendarMode::Detailed;
    pairly::calendar::DayBasis basis_ = pairly::calendar::DayBasis::WithinDay;
    pairly::calendar::CalendarModel model_;
    // The newest month stays in view while the user has not scrolled away from it.
    bool keepNewestInView_ = true;
};

}  // namespace pairly::gui::calendar
