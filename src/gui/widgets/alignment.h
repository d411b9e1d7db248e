#pragma once
// The core's column alignment as a grid takes it.
#include "core/base/align.h"
#include "gui/widgets/grid.h"

namespace pairly::ui {

inline Align toUi(pairly::Align a) {
    switch (a) {
        case pairly::Align::Left:
            return Align::Left;
        case pairly::Align::Centre:
            return Align::Center;
        case pairly::Align::Right:
            break;
    }
    return Align::Right;
}

}  // namespace pairly::ui
