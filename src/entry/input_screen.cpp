#include "entry/input_screen.h"

namespace pairly::entry {

InputScreen::InputScreen(ui::AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName("fraMain");
    for (int i = 0; i < 2; ++i) dayCount_[i] = new QWidget(this);
}

void InputScreen::prepareForStartup() {}
void InputScreen::refreshDayView() {}
void InputScreen::refreshBmi() {}
void InputScreen::applyMarkerMode() {}
void InputScreen::disableSteppers() {}
void InputScreen::selectMixedOption() {}
void InputScreen::redrawMainChart() {}
QWidget* InputScreen::dayCountWidget(int slot) { return dayCount_[slot == 2 ? 1 : 0]; }

}  // namespace pairly::entry
