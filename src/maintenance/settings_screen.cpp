#include "maintenance/settings_screen.h"

#include "entry/input_screen.h"

namespace pairly::maintenance {

SettingsScreen::SettingsScreen(ui::AppContext& ctx, entry::InputScreen& input, QWidget* parent)
    : QWidget(parent), ctx_(ctx), input_(input) {
    setObjectName("fraSettei");
    auto* fraNew = new QWidget(this);
    fraNew->setObjectName("fraNew");
    fraNew->hide();
}

void SettingsScreen::prepareForStartup() {}
void SettingsScreen::loadSituationList() {}
void SettingsScreen::readPreferenceControls() {}
void SettingsScreen::openSettings() {}
void SettingsScreen::refreshForPartner() {}

}  // namespace pairly::maintenance
