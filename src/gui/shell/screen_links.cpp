#include "gui/shell/screen_links.h"

#include "gui/entry/input_screen.h"
#include "gui/settings/settings_screen.h"

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
}

}  // namespace pairly::shell
