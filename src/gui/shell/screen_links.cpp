#include "gui/shell/screen_links.h"

#include "gui/entry/input_screen.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/main_window.h"

namespace pairly::gui::shell {

void linkSettingsToInput(entry::InputScreen& input, settings::SettingsScreen& settings) {
    QObject::connect(&input, &entry::InputScreen::dayFiguresShown, &settings,
                     &settings::SettingsScreen::setDayFigures);
    QObject::connect(&input, &entry::InputScreen::currentBmiShown, &settings,
                     &settings::SettingsScreen::showCurrentBmi);
    QObject::connect(&input, &entry::InputScreen::bmiFormulaRefreshRequested, &settings,
                     &settings::SettingsScreen::refreshBmiFormula);
    QObject::connect(&settings, &settings::SettingsScreen::profileSaved, &input,
                     &entry::InputScreen::refreshIfStale);
    // Imported records show in the day counts and the meter at once.
    QObject::connect(&settings, &settings::SettingsScreen::logsChanged, &input,
                     &entry::InputScreen::refreshIfStale);
}

void linkSettingsToWindow(MainWindow& window, settings::SettingsScreen& settings) {
    QObject::connect(&settings, &settings::SettingsScreen::dataFilesReplaced, &window,
                     &MainWindow::reloadDataFiles);
}

}  // namespace pairly::gui::shell
