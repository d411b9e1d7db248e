#pragma once
// The core's column alignment as a grid takes it.
#include "core/base/align.h"
#include "gui/widgets/grid.h"

namespace pairly::gui::widgets {

inline Align toUi(pairly::base::Align a) {
    switch (a) {
        case pairly::base::Align::Left:
            return Align::Left;
        case pairly::base::Align::Centre:
            return Align::Center;
        case pairly::base::Align::Right:
            break;
    }
    return Align::Right;
}

}  // namespace pairly::gui::widgets
