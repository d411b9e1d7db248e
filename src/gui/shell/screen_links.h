#pragma once
// The one link between two screens, made by the window that holds both: the settings
// screen's meter shows the figures of the input screen's day view.
namespace pairly::entry {
class InputScreen;
}
namespace pairly::maintenance {
class SettingsScreen;
}

namespace pairly::shell {

class MainWindow;

// Every refresh of the input screen reaches the meter; a saved profile (a new height)
// refreshes the input screen when it has gone stale, and with it the meter.
void linkSettingsToInput(entry::InputScreen& input, maintenance::SettingsScreen& settings);
// A restore from a backup reloads the whole window.
void linkSettingsToWindow(MainWindow& window, maintenance::SettingsScreen& settings);

}  // namespace pairly::shell
