#pragma once
// Each partner's colour, the same on every screen that draws both of them or one of them.
#include <QColor>

namespace pairly::gui::common {

inline QColor partnerColour(int slot) {
    return slot == 1 ? QColor(40, 110, 220) : QColor(225, 60, 110);
}

}  // namespace pairly::gui::common
