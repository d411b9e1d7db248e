#pragma once
// Geometry checks of a shown widget tree, for any screen: siblings that overlap,
// children cut off by their parent, captions that do not fit their control, grid texts
// wider than their column. Each problem is one readable line naming the widgets.
#include <QStringList>

#include "gui/widgets/overlay.h"

class QWidget;

namespace pairly::testing {

// A widget marked with gui::widgets::markAsOverlay lies over its siblings on purpose: while it is
// shown, it and its siblings are not compared with each other.
using gui::widgets::kOverlayProperty;

// Walks the visible widgets under `root` (root included). Qt's compound controls (scroll
// areas, grids, charts, calendars, combo and spin boxes) are checked as a whole, not
// inside. An empty list means the layout is sound.
QStringList layoutProblems(const QWidget* root);

}  // namespace pairly::testing
