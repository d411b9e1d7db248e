#pragma once
// The one link between two screens, made by the window that holds both: the settings
// screen's meter shows the figures of the input screen's day view.
namespace pairly::gui::entry {
class InputScreen;
}  // namespace pairly::gui::entry
namespace pairly::gui::settings {
class SettingsScreen;
}  // namespace pairly::gui::settings

namespace pairly::gui::shell {

class MainWindow;

// Every refresh of the input screen reaches the meter; a saved profile (a new height)
// refreshes the input screen when it has gone stale, and with it the meter.
void linkSettingsToInput(entry::InputScreen& input, settings::SettingsScreen& settings);
// A restore from a backup reloads the whole window.
void linkSettingsToWindow(MainWindow& window, settings::SettingsScreen& settings);

}  // namespace pairly::gui::shell
