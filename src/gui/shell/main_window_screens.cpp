// The one place per screen: its panel, the menu's preparation and the refresh after a
// change of partner.
#include <QStackedWidget>

#include "gui/calendar/calendar_screen.h"
#include "gui/common/situation_lists_controller.h"
#include "gui/comparison/comparison_screen.h"
#include "gui/entry/input_screen.h"
#include "gui/list/measurement_list_screen.h"
#include "gui/memo/memo_screen.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/main_window.h"
#include "gui/trend/analysis_screen.h"
#include "gui/trend/trend_screen.h"

namespace pairly::gui::shell {

void MainWindow::buildMenuScreens() {
    MenuScreen& input = menu_[index(pairly::shell::Screen::Input)];
    input.panel = inputScreen_;
    // Kept between visits, so that what was typed stays; filled again only when the partner
    // or the data changed since.
    input.prepare = [this] { inputScreen_->refreshIfStale(); };
    input.refreshForPartner = [this] {
        inputScreen_->refreshDayView();
        inputScreen_->refreshBmi();
    };

    MenuScreen& list = menu_[index(pairly::shell::Screen::List)];
    auto* listScreen = new list::MeasurementListScreen(ctx_, screens_);
    inputScreen_->situationLists().registerList(listScreen->situationList());
    list.panel = listScreen;
    list.prepare = [listScreen] { listScreen->openMeasurementList(); };
    list.refreshForPartner = [listScreen] { listScreen->refreshForPartner(); };

    MenuScreen& comparison = menu_[index(pairly::shell::Screen::Comparison)];
    comparison.panel = comparisonScreen_;
    comparison.prepare = [this] {
        comparisonScreen_->resetDailyAverageTable();
        comparisonScreen_->refreshComparisonScreen();
    };
    // Shows both partners: a change of partner leaves it as it is.
    comparison.refreshForPartner = nullptr;

    MenuScreen& analysis = menu_[index(pairly::shell::Screen::Analysis)];
    analysis.panel = analysisScreen_;
    analysis.prepare = [this] { analysisScreen_->openAnalysisScreen(); };
    analysis.refreshForPartner = [this] { analysisScreen_->openAnalysisScreen(); };

    MenuScreen& calendar = menu_[index(pairly::shell::Screen::Calendar)];
    auto* calendarScreen = new calendar::CalendarScreen(ctx_, screens_);
    calendar.panel = calendarScreen;
    calendar.prepare = [calendarScreen] { calendarScreen->openCalendar(); };
    calendar.refreshForPartner = [calendarScreen] { calendarScreen->openCalendar(); };
    // A double click on a day opens the input screen on that date.
    connect(calendarScreen, &calendar::CalendarScreen::inputDateRequested, this,
            [this](const text::Date& day) {
                const session::Session::Refresh refresh(ctx_.session);
                inputScreen_->showDay(day);
                hideAllScreens();
                showScreen(pairly::shell::Screen::Input);
            });

    MenuScreen& memo = menu_[index(pairly::shell::Screen::Memo)];
    memo.panel = memoScreen_;
    memo.prepare = [this] { memoScreen_->fillCommentTable(); };
    memo.refreshForPartner = [this] { memoScreen_->fillCommentTable(); };

    MenuScreen& trend = menu_[index(pairly::shell::Screen::Trend)];
    trend.panel = trendScreen_;
    trend.prepare = [this] { trendScreen_->openTrendScreen(); };
    trend.refreshForPartner = [this] { trendScreen_->refreshForPartner(); };

    MenuScreen& settings = menu_[index(pairly::shell::Screen::Settings)];
    settings.panel = settingsScreen_;
    // The meter shows the input screen's figures: they must be the selected partner's.
    settings.prepare = [this] {
        settingsScreen_->openSettings();
        inputScreen_->refreshIfStale();
    };
    settings.refreshForPartner = [this] {
        settingsScreen_->refreshForPartner();
        inputScreen_->refreshDayView();
        inputScreen_->refreshBmi();
    };
}

}  // namespace pairly::gui::shell
