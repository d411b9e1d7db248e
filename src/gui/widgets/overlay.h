#pragma once
// A widget that lies over its siblings on purpose (a panel opened over a screen) says
// so, so that the layout checks of the screen tests do not count it as an overlap.
#include <QWidget>

namespace pairly::gui::widgets {

inline constexpr char kOverlayProperty[] = "pairlyOverlay";

inline void markAsOverlay(QWidget* widget) { widget->setProperty(kOverlayProperty, true); }

}  // namespace pairly::gui::widgets
