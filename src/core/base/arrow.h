#pragma once
// The sign of a change, and the colour set that marks change on every screen.
#include <string>

#include "core/base/colour.h"

namespace pairly::base {

enum class Arrow { Up, Same, Down };
std::string arrowText(Arrow arrow);  // "↑", "→", "↓"
Rgb arrowColour(Arrow arrow);        // (255,192,192), (255,255,192), (192,255,192)
// The sign of a value.
inline Arrow arrowOf(double value) {
    return value > 0 ? Arrow::Up : value < 0 ? Arrow::Down : Arrow::Same;
}

}  // namespace pairly::base
