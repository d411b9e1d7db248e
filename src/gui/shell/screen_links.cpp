#include "gui/shell/screen_links.h"

#include "gui/entry/input_screen.h"
#include "gui/settings/settings_screen.h"
#include "gui/shell/main_window.h"

namespace pairly::shell {

void linkSettingsToInput(entry::InputScreen& input, maintenance::SettingsScreen& settings) {
    QObject::connect(&input, &entry::InputScreen::dayFiguresShown, &settings,
                     &maintenance::SettingsScreen::setDayFigures);
    QObject::connect(&input, &entry::InputScreen::currentBmiShown, &settings,
                     &maintenance::SettingsScreen::showCurrentBmi);
    QObject::connect(&input, &entry::InputScreen::bmiFormulaRefreshRequested, &settings,
                     &maintenance::SettingsScreen::refreshBmiFormula);
    QObject::connect(&settings, &maintenance::SettingsScreen::profileSaved, &input,
                     &entry::InputScreen::refreshIfStale);
    // Imported records show in the day counts and the meter at once.
    QObject::connect(&settings, &maintenance::SettingsScreen::logsChanged, &input,
                     &entry::InputScreen::refreshIfStale);
}

void linkSettingsToWindow(MainWindow& window, maintenance::SettingsScreen& settings) {
    QObject::connect(&settings, &maintenance::SettingsScreen::dataFilesReplaced, &window,
                     &MainWindow::reloadDataFiles);
}

}  // namespace pairly::shell
